#pragma once

// The smallest host the soak can drive the plug-in with: it keeps the one notification and
// the one command the plug-in registers, answers the database location, and reads the report
// tree it is handed without rendering it. It holds everything in fixed storage, so whatever
// the heap gains during a soak is the plug-in's or the system's, not the host's. Windows only.

#include <windows.h>

#include <cstdint>

#include "module/HostApi.h"

namespace SoakHost {

// The service table; the database location answered is `path` (copied, up to MAX_PATH).
const HostApi* Table(const wchar_t* path);

// "System/ModulesLoaded" as the host publishes it; false when nobody subscribed.
bool PublishModulesLoaded();
// The registered command run for `owner`; false when none is registered.
bool RunCommand(HWND owner);

// Reports received, and the rows of "table1" in the last one.
int Reports();
int LastReportRows();

}  // namespace SoakHost
