#include "tests/win/ui/WindowProbe.h"

#include <commctrl.h>

namespace {

std::u16string fromWide(const wchar_t* text, int length) {
    std::u16string result;
    for (int i = 0; i < length && text[i]; ++i) result.push_back(static_cast<char16_t>(text[i]));
    return result;
}

}  // namespace

std::u16string ClassName(HWND window) {
    wchar_t name[256] = {};
    return fromWide(name, GetClassNameW(window, name, 256));
}

std::u16string WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    return fromWide(text.data(), GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
}

std::vector<std::u16string> ListBoxItems(HWND list) {
    std::vector<std::u16string> items;
    const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        const auto length = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        items.push_back(fromWide(text.data(), static_cast<int>(length)));
    }
    return items;
}

std::vector<int> ListBoxMarks(HWND list) {
    const auto count = SendMessageW(list, LB_GETSELCOUNT, 0, 0);
    if (count <= 0) return {};
    std::vector<int> marks(static_cast<std::size_t>(count));
    marks.resize(static_cast<std::size_t>(
        SendMessageW(list, LB_GETSELITEMS, marks.size(), reinterpret_cast<LPARAM>(marks.data()))));
    return marks;
}

std::vector<std::vector<std::u16string>> ListViewCells(HWND list) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const auto columns = SendMessageW(header, HDM_GETITEMCOUNT, 0, 0);
    const auto rows = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
    std::vector<std::vector<std::u16string>> cells;
    for (LRESULT row = 0; row < rows; ++row) {
        std::vector<std::u16string> texts;
        for (LRESULT column = 0; column < columns; ++column) {
            wchar_t text[260] = {};
            LVITEMW item{};
            item.iSubItem = static_cast<int>(column);
            item.pszText = text;
            item.cchTextMax = 260;
            const auto length =
                SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
            texts.push_back(fromWide(text, static_cast<int>(length)));
        }
        cells.push_back(texts);
    }
    return cells;
}

RECT ChildRect(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT DialogUnitsRect(HWND dialog, int x, int y, int width, int height) {
    // The dialog manager converts place and size each on its own, so they are mapped as
    // four separate values rather than as two corners.
    RECT units{x, y, width, height};
    MapDialogRect(dialog, &units);
    return {units.left, units.top, units.left + units.right, units.top + units.bottom};
}

void DispatchPending() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

SIZE OuterSize(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

std::u16string ShortDate(const SYSTEMTIME& time) {
    wchar_t text[64] = {};
    return fromWide(text,
                    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text, 64));
}

std::u16string TimeWithSeconds(const SYSTEMTIME& time) {
    wchar_t text[64] = {};
    return fromWide(text, GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, text, 64));
}
