#pragma once

// Acting on dialogs as a user would, by window messages. Windows only.

#include <windows.h>

// Presses button `id` of `dialog` with a sent click: returns once the dialog has handled it,
// after any modal loop the click opens has ended.
void SendClick(HWND dialog, int id);
// Presses button `id` of `dialog` with a posted click, so that a modal loop it opens starts
// only after the caller has returned to its message loop.
void PostClick(HWND dialog, int id);

// Closes every enabled dialog and message box of this thread as Cancel (or OK, where there is
// no Cancel) would, by posted commands.
void CancelOpenDialogs();

// Dispatches every message already waiting in this thread's queue (posted commands).
void DispatchPending();
