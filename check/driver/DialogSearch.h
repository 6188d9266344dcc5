#pragma once

// Finding the plug-in's windows the way a user sees them: the visible dialogs (class
// "#32770") of this thread, by owner, caption and kind. Windows only.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// The static control that holds a message box's text, by which a message box is told.
constexpr int kMessageBoxTextId = 0xFFFF;

// Which dialogs a search takes; every field left empty takes them all.
struct DialogQuery {
    // Owned by exactly this window (nullptr: unowned).
    std::optional<HWND> owner = std::nullopt;
    // Captioned exactly so.
    std::optional<std::u16string> caption = std::nullopt;
    // Message boxes only (true), or every other dialog only (false).
    std::optional<bool> messageBox = std::nullopt;
    // Enabled only: no modal window of its own is open over it.
    bool enabledOnly = false;
};

// The dialogs `query` takes, in the order the system lists them.
std::vector<HWND> FindDialogs(const DialogQuery& query);
// The first of them, or nullptr.
HWND FindDialog(const DialogQuery& query);

// The dialogs (message boxes left out) owned by `owner`.
std::vector<HWND> OwnedDialogs(HWND owner);
// The enabled dialog (no message box) owned by `owner`, or nullptr.
HWND FindOwnedDialog(HWND owner);
// A message box of this thread, or nullptr.
HWND FindMessageBox();
