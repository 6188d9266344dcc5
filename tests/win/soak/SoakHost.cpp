#include "tests/win/soak/SoakHost.h"

#include <pugixml.hpp>

#include <cstring>
#include <cwchar>

namespace SoakHost {
namespace {

constexpr std::int32_t kSubscription = 1;
constexpr std::int32_t kCommand = 2;

HostNotification modulesLoaded = nullptr;
HostCommandHandler command = nullptr;
wchar_t location[MAX_PATH] = {};
int reports = 0;
int lastRows = 0;

std::int32_t NIVRA_CALL subscribe(const char* topic, HostNotification callback) {
    if (std::strcmp(topic, "System/ModulesLoaded") != 0) return 0;
    modulesLoaded = callback;
    return kSubscription;
}

std::int32_t NIVRA_CALL unsubscribe(std::int32_t handle) {
    if (handle == kSubscription) modulesLoaded = nullptr;
    return 0;
}

std::int32_t NIVRA_CALL registerCommand(const char*, HostCommandHandler handler) {
    command = handler;
    return kCommand;
}

std::int32_t NIVRA_CALL unregisterCommand(std::int32_t handle) {
    if (handle == kCommand) command = nullptr;
    return 0;
}

int rowsOf(std::intptr_t root) {
    int rows = 0;
    const auto& node = *reinterpret_cast<const pugi::xml_node*>(root);
    for (pugi::xml_node row : node.child(L"table1").children(L"row"))
        if (row.child(L"Result").child_value()[0] != 0) ++rows;
    return rows;
}

std::intptr_t NIVRA_CALL request(const char* topic, std::intptr_t first, std::intptr_t) {
    if (std::strcmp(topic, "DB/GetConnectionUri") == 0)
        return reinterpret_cast<std::intptr_t>(location);
    if (std::strcmp(topic, "Export/ExportToOdt") == 0) {
        ++reports;
        lastRows = rowsOf(first);
    }
    return 0;
}

std::int32_t NIVRA_CALL hasHandler(const char*) {
    return 0;
}

const HostApi kTable = {
    {nullptr, nullptr, nullptr}, subscribe, unsubscribe, registerCommand,
    unregisterCommand,           request,   hasHandler,
};

}  // namespace

const HostApi* Table(const wchar_t* path) {
    std::wcsncpy(location, path, MAX_PATH - 1);
    return &kTable;
}

bool PublishModulesLoaded() {
    if (!modulesLoaded) return false;
    modulesLoaded(0, 0);
    return true;
}

bool RunCommand(HWND owner) {
    if (!command) return false;
    command(reinterpret_cast<std::intptr_t>(owner));
    return true;
}

int Reports() {
    return reports;
}

int LastReportRows() {
    return lastRows;
}

}  // namespace SoakHost
