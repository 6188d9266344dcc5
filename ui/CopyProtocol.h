#pragma once

// Copying the protocol list out of the window: Ctrl+C, Ctrl+Insert and the list's context
// menu «Копировать». Windows only.

#include <windows.h>

// Puts the list's header line and rows on the clipboard as tab-separated Unicode text, each
// cell as the list shows it. With no rows nothing happens; a clipboard held by another
// program is told to the user in a warning owned by the window.
void CopyProtocol(HWND window);

// The list's key `key` pressed: Ctrl+C and Ctrl+Insert copy the protocol.
void CopyProtocolOnKey(HWND window, WORD key);

// The list's context menu at `position` (screen coordinates as WM_CONTEXTMENU gives them; -1,
// -1 from the keyboard places it at the selected row or the list's corner). Its one item
// «Копировать» is unavailable while the list has no rows.
void ShowProtocolMenu(HWND window, LPARAM position);
