#include "check/road/RecordingHost.h"

#include <exception>

#include "check/road/RawRecord.h"

RecordingHost* RecordingHost::current_ = nullptr;

namespace {

constexpr char kMenuTopic[] = "MainMenu/CreateNewMenu";
constexpr char kUriTopic[] = "DB/GetConnectionUri";
constexpr char kExportTopic[] = "Export/ExportToOdt";
constexpr char kOpenFileTopic[] = "Main/OpenVantrelFile";

// Runs a host entry's work; nothing may be thrown back into the plug-in.
template <typename Work>
auto Guard(std::vector<std::string>& faults, const char* entry, Work work) -> decltype(work()) {
    try {
        return work();
    } catch (const std::exception& e) {
        faults.push_back(std::string(entry) + ": исключение " + e.what());
    } catch (...) {
        faults.push_back(std::string(entry) + ": исключение");
    }
    return {};
}

RecordingHost::Call MakeCall(const char* entry, std::string topic, std::uintptr_t first,
                             std::uintptr_t second = 0) {
    RecordingHost::Call call;
    call.entry = entry;
    call.topic = std::move(topic);
    call.first = first;
    call.second = second;
    return call;
}

}  // namespace

RecordingHost::RecordingHost(std::u16string databaseUri)
    : uri_(databaseUri.begin(), databaseUri.end()) {
    current_ = this;
    for (int i = 0; i < 3; ++i) table_[i] = reinterpret_cast<const void*>(&Reserved);
    table_[3] = reinterpret_cast<const void*>(&Subscribe);
    table_[4] = reinterpret_cast<const void*>(&Unsubscribe);
    table_[5] = reinterpret_cast<const void*>(&RegisterCommand);
    table_[6] = reinterpret_cast<const void*>(&UnregisterCommand);
    table_[7] = reinterpret_cast<const void*>(&Request);
    table_[8] = reinterpret_cast<const void*>(&HasHandler);
}

RecordingHost::~RecordingHost() {
    if (current_ == this) current_ = nullptr;
}

std::vector<RecordingHost::Call> RecordingHost::callsSince(std::size_t from) const {
    if (from >= calls_.size()) return {};
    return {calls_.begin() + static_cast<std::ptrdiff_t>(from), calls_.end()};
}

std::intptr_t __cdecl RecordingHost::Reserved() {
    if (current_)
        current_->faults_.push_back("модуль вызвал одну из трёх неиспользуемых функций хоста");
    return 0;
}

std::int32_t __cdecl RecordingHost::Subscribe(const char* topic, const void* callback) {
    RecordingHost& host = *current_;
    return Guard(host.faults_, "Subscribe", [&] {
        const std::int32_t handle = kFirstSubscription + host.subscriptions_++;
        host.calls_.push_back(
            MakeCall("Subscribe", RawNarrow(topic), reinterpret_cast<std::uintptr_t>(callback)));
        host.calls_.back().answer = handle;
        return handle;
    });
}

std::int32_t __cdecl RecordingHost::Unsubscribe(std::int32_t handle) {
    RecordingHost& host = *current_;
    return Guard(host.faults_, "Unsubscribe", [&] {
        host.calls_.push_back(MakeCall("Unsubscribe", "", static_cast<std::uintptr_t>(handle)));
        return 0;
    });
}

std::int32_t __cdecl RecordingHost::RegisterCommand(const char* topic, const void* handler) {
    RecordingHost& host = *current_;
    return Guard(host.faults_, "RegisterCommand", [&] {
        const std::int32_t handle = kFirstCommand + host.commands_++;
        host.calls_.push_back(MakeCall("RegisterCommand", RawNarrow(topic),
                                       reinterpret_cast<std::uintptr_t>(handler)));
        host.calls_.back().answer = handle;
        return handle;
    });
}

std::int32_t __cdecl RecordingHost::UnregisterCommand(std::int32_t handle) {
    RecordingHost& host = *current_;
    return Guard(host.faults_, "UnregisterCommand", [&] {
        host.calls_.push_back(
            MakeCall("UnregisterCommand", "", static_cast<std::uintptr_t>(handle)));
        return 0;
    });
}

std::intptr_t __cdecl RecordingHost::Request(const char* topic, std::intptr_t first,
                                             std::intptr_t second) {
    RecordingHost& host = *current_;
    return Guard(host.faults_, "Request", [&]() -> std::intptr_t {
        Call call = MakeCall("Request", RawNarrow(topic), static_cast<std::uintptr_t>(first),
                             static_cast<std::uintptr_t>(second));
        call.answer = host.answerRequest(call);
        host.calls_.push_back(call);
        return call.answer;
    });
}

std::int32_t __cdecl RecordingHost::HasHandler(const char* topic) {
    RecordingHost& host = *current_;
    return Guard(host.faults_, "HasHandler", [&] {
        const std::string name = RawNarrow(topic);
        const std::int32_t served = name == kMenuTopic || name == kUriTopic || name == kExportTopic;
        host.calls_.push_back(MakeCall("HasHandler", name, 0));
        host.calls_.back().answer = served;
        return served;
    });
}

std::intptr_t RecordingHost::answerRequest(Call& call) {
    const void* record = reinterpret_cast<const void*>(call.second);
    if (call.topic == kMenuTopic && record) {
        // Four 32-bit fields: size, wide path, reserved, narrow command topic.
        for (std::size_t i = 0; i < 4; ++i) call.record[i] = RawU32(record, 4 * i);
        call.text = RawWide(RawPointer(record, 4));
        call.narrow = RawNarrow(RawPointer(record, 12));
        return 1;
    }
    if (call.topic == kOpenFileTopic) {
        call.text = RawWide(record);
        return 0;
    }
    if (call.topic == kUriTopic) return reinterpret_cast<std::intptr_t>(uri_.c_str());
    if (call.topic == kExportTopic && record) {
        // Twelve bytes: 32-bit integer, one-byte boolean and padding, wide template name.
        for (std::size_t i = 0; i < 3; ++i) call.record[i] = RawU32(record, 4 * i);
        call.text = RawWide(RawPointer(record, 8));
        return exportHandler_ ? exportHandler_(reinterpret_cast<const void*>(call.first), record)
                              : 0;
    }
    return 0;
}
