#pragma once

// Reading what windows and controls show, as UTF-16 text. Windows only.

#include <windows.h>

#include <string>
#include <vector>

namespace ControlText {

std::u16string ClassName(HWND window);
std::u16string WindowText(HWND window);

// The texts of a list box's items, in list order (an item that cannot be read is empty).
std::vector<std::u16string> ListBoxItems(HWND list);
// The indices of a multiple-selection list box's marked items, ascending.
std::vector<int> ListBoxMarks(HWND list);
// The cell texts of a report list view, row by row, every column.
std::vector<std::vector<std::u16string>> ListViewCells(HWND list);
// The column headers of a report list view, in column order.
std::vector<std::u16string> ListViewHeaders(HWND list);

}  // namespace ControlText
