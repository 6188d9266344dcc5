#pragma once

// The handler of the plug-in's menu command, registered with the host.

#include <cstdint>

#include "module/HostApi.h"

// Opens one more independent protocol window owned by `owner` and shows it. Always 0;
// if the window cannot be made nothing more happens.
int NIVRA_CALL OnMenuCommand(std::intptr_t owner);
