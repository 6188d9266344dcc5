#pragma once

// Setting the module-wide state that module/Module.h reads. Each value is set once by its
// owner (the entry point, Load) and never cleared.

#include <windows.h>

struct HostApi;

void SetModuleInstance(HINSTANCE instance) noexcept;
void SetHost(const HostApi* host) noexcept;
