#pragma once

// The engine's API as this code sees it: linked directly into the module, or reached
// through the routine table the engine hands to a loadable extension.
#ifdef NIVRA_SQLITE_LOADABLE
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT3
#else
#include <sqlite3.h>
#endif
