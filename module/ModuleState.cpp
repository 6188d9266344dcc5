#include "module/ModuleState.h"

#include "module/HostApi.h"
#include "module/Module.h"

namespace {

// Written on the host's thread only (process attach, Load) and never cleared; the windows that
// use them are closed by Unload.
HINSTANCE moduleInstance = nullptr;
const HostApi* hostTable = nullptr;

}  // namespace

void SetModuleInstance(HINSTANCE instance) noexcept {
    moduleInstance = instance;
}

void SetHost(const HostApi* host) noexcept {
    hostTable = host;
}

HINSTANCE ModuleInstance() {
    return moduleInstance;
}

const HostApi* Host() {
    return hostTable;
}

int HostHasHandler(const char* topic) {
    const HostApi* host = Host();
    if (!host || !host->HasHandler) return 0;
    return host->HasHandler(topic);
}

std::intptr_t HostRequest(const char* topic, std::intptr_t first, std::intptr_t second) {
    const HostApi* host = Host();
    if (!host || !host->Request) return 0;
    return host->Request(topic, first, second);
}
