#pragma once

// The three functions nivra.dll exports, undecorated, and the pointer types a host resolves
// them into.

#include "module/HostApi.h"
#include "plugin/PluginInfo.h"

extern "C" {

// The identity record; no side effects, callable at any time, also before Load.
const PluginInfo* NIVRA_CALL GetPluginInfo();
// Takes the host's service table (valid until Unload) and subscribes to the modules-loaded
// notification. Always 0.
int NIVRA_CALL Load(const HostApi* host);
// Ends the subscription and the command registration, closes the windows still open and lets
// the database location go. Always 0.
int NIVRA_CALL Unload();

typedef const PluginInfo*(NIVRA_CALL* GetPluginInfoFunction)();
typedef int(NIVRA_CALL* LoadFunction)(const HostApi* host);
typedef int(NIVRA_CALL* UnloadFunction)();

}  // extern "C"
