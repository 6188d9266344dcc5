#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A host for the road: fills the nine-entry service table the way the 32-bit host lays it
// out (pointer-sized entries, the first three unused) and records every call the plug-in
// makes, reading the records it is handed at their raw offsets while the call lasts.
// One instance at a time: the table's entries carry no context pointer.
class RecordingHost {
public:
    // One service call as the host saw it.
    struct Call {
        std::string entry;  // "Subscribe", "Request", ...
        std::string topic;
        std::uintptr_t first = 0;   // callback or handler address, handle, or request argument
        std::uintptr_t second = 0;  // second request argument
        std::array<std::uint32_t, 4> record{};  // the first 16 bytes at `second`, when a record
        std::u16string text;                    // the wide string the record points to
        std::string narrow;                     // the narrow string the record points to
        std::intptr_t answer = 0;
    };

    // Answers "Export/ExportToOdt" while the tree and the request are alive; the default
    // answer is 0 (success).
    using ExportHandler =
        std::function<std::int32_t(const void* rootVariable, const void* request)>;

    explicit RecordingHost(std::u16string databaseUri);
    ~RecordingHost();
    RecordingHost(const RecordingHost&) = delete;
    RecordingHost& operator=(const RecordingHost&) = delete;

    // The table handed to Load.
    const void* table() const { return table_.data(); }
    void onExport(ExportHandler handler) { exportHandler_ = std::move(handler); }

    const std::vector<Call>& calls() const { return calls_; }
    // Calls recorded from index `from` on.
    std::vector<Call> callsSince(std::size_t from) const;
    // Faults seen inside the host's entries (an exception, a call through a reserved entry).
    const std::vector<std::string>& faults() const { return faults_; }

    static constexpr std::int32_t kFirstSubscription = 0x5100;
    static constexpr std::int32_t kFirstCommand = 0x7C00;

private:
    static RecordingHost* current_;

    static std::intptr_t __cdecl Reserved();
    static std::int32_t __cdecl Subscribe(const char* topic, const void* callback);
    static std::int32_t __cdecl Unsubscribe(std::int32_t handle);
    static std::int32_t __cdecl RegisterCommand(const char* topic, const void* handler);
    static std::int32_t __cdecl UnregisterCommand(std::int32_t handle);
    static std::intptr_t __cdecl Request(const char* topic, std::intptr_t first,
                                         std::intptr_t second);
    static std::int32_t __cdecl HasHandler(const char* topic);

    std::intptr_t answerRequest(Call& call);

    std::array<const void*, 9> table_{};
    std::wstring uri_;
    ExportHandler exportHandler_;
    std::vector<Call> calls_;
    std::vector<std::string> faults_;
    std::int32_t subscriptions_ = 0;
    std::int32_t commands_ = 0;
};
