#pragma once

// Module-wide state of the loaded plug-in and thin wrappers for the host's services,
// used by the windows and the report. Windows only.

#include <windows.h>

#include <cstdint>

struct HostApi;

// The module instance handle stored on process attach (dialog templates, icons, strings).
HINSTANCE ModuleInstance();
// The host's service table stored by Load, or nullptr before it.
const HostApi* Host();

// Nonzero when the host serves `topic`; 0 when it does not or no host is known.
int HostHasHandler(const char* topic);
// Sends a request to the host; returns its pointer-sized result, or 0 with no host.
std::intptr_t HostRequest(const char* topic, std::intptr_t first, std::intptr_t second);
