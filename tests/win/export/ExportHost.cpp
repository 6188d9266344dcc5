#include "tests/win/export/ExportHost.h"

#include <windows.h>

#include "module/Module.h"

ExportHost& TheExportHost() {
    static ExportHost host;
    return host;
}

HINSTANCE ModuleInstance() {
    return GetModuleHandleW(nullptr);
}

const HostApi* Host() {
    return nullptr;
}

int HostHasHandler(const char*) {
    return 0;
}

std::intptr_t HostRequest(const char* topic, std::intptr_t first, std::intptr_t second) {
    ExportHost& host = TheExportHost();
    host.topics.emplace_back(topic);
    if (std::string(topic) == "Export/ExportToOdt") return host.exporter.serve(first, second);
    return 0;
}
