#pragma once

// A table as the clipboard text that spreadsheets paste as rows and columns.

#include <string>
#include <vector>

// The cells of each line separated by a TAB, every line ended by CR LF, as spreadsheet
// programs themselves put a range on the clipboard.
std::u16string tabSeparatedText(const std::vector<std::vector<std::u16string>>& lines);
