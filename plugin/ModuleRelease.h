#pragma once

// What the module gives back when the host frees it (process detach by FreeLibrary), so that
// a host that loads and frees it again and again does not grow.

#include <windows.h>

// Closes the protocol windows of this thread, ends the database engine (its mutexes are
// critical sections the process would keep, pointing into the freed image), lets this thread
// leave the runtime's thread library as a thread that ends would, and frees the C++ runtime's
// emergency exception pool. Nothing of the module may run after it but static destructors.
void ReleaseModule(HINSTANCE module) noexcept;
