#pragma once

// The host's main menu, built from the menu items the plug-in asked for: each path level
// but the last is a pop-up menu, the last level a command. Windows only.

#include <windows.h>

#include <string>
#include <vector>

#include "tests/host/MenuItem.h"

// Command id of menu item 0; item i has kFirstMenuCommand + i.
inline constexpr UINT kFirstMenuCommand = 40000;

// The levels of a menu path ("/" separates them; empty levels are dropped).
std::vector<std::wstring> SplitMenuPath(const std::wstring& path);

// A new menu bar holding the items; the caller owns it until a window takes it. Items with
// the same path share one entry, which fires the newest of them.
HMENU BuildMenuBar(const std::vector<MenuItem>& items);

// The command id of the entry at `path` in `menu`, found by its texts; 0 when there is none.
UINT FindMenuCommand(HMENU menu, const std::wstring& path);
