#include "check/driver/ControlText.h"

#include <commctrl.h>

#include "text/WideText.h"

namespace ControlText {

namespace {

// Units per list view cell and column header, as the report reads them back.
constexpr int kCellUnits = 260;

std::u16string u16(const wchar_t* text, LRESULT length) {
    return length > 0 ? fromWide({text, static_cast<std::size_t>(length)}) : std::u16string();
}

HWND headerOf(HWND list) {
    return reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
}

}  // namespace

std::u16string ClassName(HWND window) {
    wchar_t name[256] = {};
    return u16(name, GetClassNameW(window, name, 256));
}

std::u16string WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    return u16(text.data(), GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
}

std::vector<std::u16string> ListBoxItems(HWND list) {
    std::vector<std::u16string> items;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        std::wstring text(static_cast<std::size_t>(length < 0 ? 0 : length) + 1, L'\0');
        const LRESULT got =
            length < 0 ? 0
                       : SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        items.push_back(u16(text.data(), got));
    }
    return items;
}

std::vector<int> ListBoxMarks(HWND list) {
    const LRESULT count = SendMessageW(list, LB_GETSELCOUNT, 0, 0);
    if (count <= 0) return {};
    std::vector<int> marks(static_cast<std::size_t>(count));
    const LRESULT got =
        SendMessageW(list, LB_GETSELITEMS, marks.size(), reinterpret_cast<LPARAM>(marks.data()));
    marks.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
    return marks;
}

std::vector<std::vector<std::u16string>> ListViewCells(HWND list) {
    const LRESULT columns = SendMessageW(headerOf(list), HDM_GETITEMCOUNT, 0, 0);
    const LRESULT rows = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
    std::vector<std::vector<std::u16string>> cells;
    for (LRESULT row = 0; row < rows; ++row) {
        std::vector<std::u16string> texts;
        for (LRESULT column = 0; column < columns; ++column) {
            wchar_t text[kCellUnits] = {};
            LVITEMW item{};
            item.iSubItem = static_cast<int>(column);
            item.pszText = text;
            item.cchTextMax = kCellUnits;
            texts.push_back(u16(
                text, SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item))));
        }
        cells.push_back(std::move(texts));
    }
    return cells;
}

std::vector<std::u16string> ListViewHeaders(HWND list) {
    const LRESULT columns = SendMessageW(headerOf(list), HDM_GETITEMCOUNT, 0, 0);
    std::vector<std::u16string> headers;
    for (LRESULT index = 0; index < columns; ++index) {
        wchar_t text[kCellUnits] = {};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = kCellUnits;
        SendMessageW(list, LVM_GETCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
        headers.push_back(u16(text, static_cast<LRESULT>(wcslen(text))));
    }
    return headers;
}

}  // namespace ControlText
