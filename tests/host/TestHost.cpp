#include "tests/host/TestHost.h"

#include <stdexcept>
#include <utility>

namespace {

constexpr const char* kMenuTopic = "MainMenu/CreateNewMenu";
constexpr const char* kConnectionUriTopic = "DB/GetConnectionUri";
constexpr const char* kOpenFileTopic = "Main/OpenVantrelFile";
constexpr const char* kExportTopic = "Export/ExportToOdt";

TestHost* current = nullptr;

std::string topicText(const char* topic) {
    return topic ? std::string(topic) : std::string("(null)");
}

}  // namespace

TestHost::TestHost(HostSetup setup)
    : api_(MakeHostApi()),
      databasePath_(std::move(setup.databasePath)),
      opensFiles_(setup.opensFiles),
      exporter_(std::move(setup.exportSettings)) {
    if (current) throw std::logic_error("one test host per process");
    current = this;
}

TestHost::~TestHost() {
    current = nullptr;
}

TestHost* TestHost::Current() noexcept {
    return current;
}

void TestHost::setDatabasePath(std::optional<std::wstring> path) {
    // The plug-in copies the answer at once, so the old string may go now.
    databasePath_ = std::move(path);
}

void TestHost::setExportFails(bool fails) {
    exporter_.settings().forcedResult = fails ? std::optional<std::int32_t>(-1) : std::nullopt;
}

int TestHost::publish(const std::string& topic, std::intptr_t first, std::intptr_t second) {
    return router_.publish(topic, first, second);
}

bool TestHost::runCommand(const std::string& topic, HWND owner) {
    return router_.runCommand(topic, reinterpret_cast<std::intptr_t>(owner));
}

bool TestHost::pickMenuItem(std::size_t index, HWND owner) {
    if (index >= menuItems_.size()) return false;
    // A copy: the command may ask for more menu items while it runs.
    const std::string topic = menuItems_[index].topic;
    return runCommand(topic, owner);
}

std::int32_t TestHost::subscribe(const char* topic, HostNotification callback) {
    const std::int32_t handle = router_.subscribe(topicText(topic), callback);
    journal_.push_back("Subscribe " + topicText(topic) + " = " + std::to_string(handle));
    return handle;
}

std::int32_t TestHost::unsubscribe(std::int32_t handle) {
    journal_.push_back("Unsubscribe " + std::to_string(handle));
    return router_.unsubscribe(handle) ? 0 : -1;
}

std::int32_t TestHost::registerCommand(const char* topic, HostCommandHandler handler) {
    const std::int32_t handle = router_.registerCommand(topicText(topic), handler);
    journal_.push_back("RegisterCommand " + topicText(topic) + " = " + std::to_string(handle));
    return handle;
}

std::int32_t TestHost::unregisterCommand(std::int32_t handle) {
    journal_.push_back("UnregisterCommand " + std::to_string(handle));
    return router_.unregisterCommand(handle) ? 0 : -1;
}

std::intptr_t TestHost::request(const char* topic, std::intptr_t first, std::intptr_t second) {
    const std::string name = topicText(topic);
    journal_.push_back("Request " + name);
    if (name == kMenuTopic) return addMenuItem(second);
    if (name == kConnectionUriTopic)
        return databasePath_ ? reinterpret_cast<std::intptr_t>(databasePath_->c_str()) : 0;
    if (name == kOpenFileTopic) return openFile(second);
    if (name == kExportTopic) return exporter_.serve(first, second);
    // Any other topic is a command, if someone registered it; `first` is the owner window.
    router_.runCommand(name, first);
    return 0;
}

std::int32_t TestHost::hasHandler(const char* topic) {
    const std::string name = topicText(topic);
    const bool served = name == kMenuTopic || name == kConnectionUriTopic || name == kExportTopic ||
                        (name == kOpenFileTopic && opensFiles_) || router_.hasCommand(name) ||
                        router_.hasSubscriber(name);
    journal_.push_back("HasHandler " + name + " = " + (served ? "1" : "0"));
    return served ? 1 : 0;
}

std::intptr_t TestHost::addMenuItem(std::intptr_t record) {
    const auto* request = reinterpret_cast<const MenuItemRequest*>(record);
    if (!request) return 0;
    MenuItem item;
    item.recordSize = request->size;
    if (request->path) item.path = request->path;
    if (request->topic) item.topic = request->topic;
    menuItems_.push_back(std::move(item));
    if (menuListener_) menuListener_();
    return static_cast<std::intptr_t>(menuItems_.size());
}

std::intptr_t TestHost::openFile(std::intptr_t name) {
    if (!opensFiles_) return 0;
    const auto* text = reinterpret_cast<const wchar_t*>(name);
    openedFiles_.emplace_back(text ? text : L"");
    return 0;
}
