#include "tests/win/ui/WindowProbe.h"

#include <commctrl.h>

#include "check/driver/ControlText.h"

namespace {

std::u16string toU16(const std::wstring& text) {
    return std::u16string(text.begin(), text.end());
}

std::u16string fromWide(const wchar_t* text, int length) {
    std::u16string result;
    for (int i = 0; i < length && text[i]; ++i) result.push_back(static_cast<char16_t>(text[i]));
    return result;
}

}  // namespace

std::u16string ClassName(HWND window) {
    return toU16(ControlText::ClassName(window));
}

std::u16string WindowText(HWND window) {
    return toU16(ControlText::WindowText(window));
}

std::vector<std::u16string> ListBoxItems(HWND list) {
    std::vector<std::u16string> items;
    for (const std::wstring& text : ControlText::ListBoxTexts(list)) items.push_back(toU16(text));
    return items;
}

std::vector<int> ListBoxMarks(HWND list) {
    return ControlText::ListBoxMarks(list);
}

std::vector<std::vector<std::u16string>> ListViewCells(HWND list) {
    std::vector<std::vector<std::u16string>> cells;
    for (const auto& row : ControlText::ListViewRows(list)) {
        std::vector<std::u16string> texts;
        for (const std::wstring& text : row) texts.push_back(toU16(text));
        cells.push_back(std::move(texts));
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
