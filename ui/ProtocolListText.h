#pragma once

// Reading back what the protocol list shows. Windows only.

#include <windows.h>

#include <optional>
#include <string>

// A header or cell is read back into 260 units, terminator included, so it keeps at most 259.
inline constexpr int kListTextCapacity = 260;

// The header of column `column`, or none past the last column.
std::optional<std::u16string> ListColumnHeader(HWND list, int column);
// The text of row `row` in column `column`.
std::u16string ListCellText(HWND list, int row, int column);
