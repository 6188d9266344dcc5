#pragma once

// Finding the plug-in's windows the way a user sees them: dialogs of this thread by their
// class and owner, and message boxes. Windows only.

#include <windows.h>

#include <string>
#include <vector>

// The visible dialogs (class "#32770", message boxes left out) owned by `owner`, in the
// order the system lists them.
std::vector<HWND> OwnedDialogs(HWND owner);

// The visible, enabled dialog owned by `owner` (enabled: no modal window of its own is open
// over it), or nullptr.
HWND FindOwnedDialog(HWND owner);

// A visible message box of this thread, or nullptr.
HWND FindMessageBox();

// What a message box shows.
struct MessageBoxText {
    std::wstring caption;
    std::wstring text;
    HWND owner = nullptr;
};
MessageBoxText ReadMessageBox(HWND box);

// Closes every visible, enabled dialog and message box of this thread as Cancel (or OK,
// where there is no Cancel) would, by posted commands.
void CancelOpenDialogs();
