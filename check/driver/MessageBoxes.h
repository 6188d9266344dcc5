#pragma once

// Reading and closing message boxes. Windows only.

#include <windows.h>

#include <string>
#include <vector>

#include "check/driver/DialogSearch.h"

// What a message box shows, and whose it is.
struct MessageBoxText {
    std::u16string caption;
    std::u16string text;
    HWND owner = nullptr;
    // Read while the box is open: its owner may end with it.
    HWND ownersOwner = nullptr;
};
MessageBoxText ReadMessageBox(HWND box);

// Ends every message box `query` takes as its OK button would, one after the other as they
// show (a sent command, so each box's own loop returns), and returns what they showed.
std::vector<MessageBoxText> CloseMessageBoxes(const DialogQuery& query = {.messageBox = true});
