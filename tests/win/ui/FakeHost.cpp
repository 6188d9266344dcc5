#include "tests/win/ui/FakeHost.h"

#include <windows.h>

#include "module/Module.h"

FakeHost& TheFakeHost() {
    static FakeHost host;
    return host;
}

HINSTANCE ModuleInstance() {
    return GetModuleHandleW(nullptr);
}

const HostApi* Host() {
    return nullptr;
}

int HostHasHandler(const char* topic) {
    FakeHost& host = TheFakeHost();
    host.handlerQueries.emplace_back(topic);
    return std::string(topic) == "Main/OpenVantrelFile" && host.opensFiles ? 1 : 0;
}

std::intptr_t HostRequest(const char* topic, std::intptr_t first, std::intptr_t second) {
    HostRequestRecord record{topic, first, {}};
    if (const auto* text = reinterpret_cast<const wchar_t*>(second))
        for (; *text; ++text) record.text.push_back(static_cast<char16_t>(*text));
    TheFakeHost().requests.push_back(record);
    return 0;
}
