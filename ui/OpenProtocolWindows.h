#pragma once

// The protocol windows open in this module. Their procedures live in the module's code, so
// they are closed before that code goes: by Unload, and when the library is freed without it.
// Windows only.

#include <windows.h>

// Notes a protocol window as open; false when there is no memory to note it, in which case
// the window must not stay.
bool TrackProtocolWindow(HWND window) noexcept;
// Forgets a protocol window as it is destroyed.
void ForgetProtocolWindow(HWND window) noexcept;

// Closes every protocol window still open, and with each the selection dialog and message
// boxes it owns, ending their modal loops. Windows of the calling thread are destroyed; a
// window of another thread is asked to close itself and waited for, unless `mayWait` is false
// (the loader lock is held), in which case it cannot be reached.
void CloseProtocolWindows(bool mayWait) noexcept;
