#pragma once

// Reading what windows and controls show. Windows only.

#include <windows.h>

#include <string>
#include <vector>

namespace ControlText {

std::wstring ClassName(HWND window);
std::wstring WindowText(HWND window);

// The texts of a list box's items, in list order.
std::vector<std::wstring> ListBoxTexts(HWND list);
// The indices of a multiple-selection list box's marked items, ascending.
std::vector<int> ListBoxMarks(HWND list);
// The cell texts of a report list view, row by row, every column.
std::vector<std::vector<std::wstring>> ListViewRows(HWND list);

// UTF-8 for files and terminals.
std::string Utf8(const std::wstring& text);

// The column headers of a report list view, in column order.
std::vector<std::wstring> ListViewHeaders(HWND list);

}  // namespace ControlText
