#include "tests/win/ui/WindowProbe.h"

#include "text/WideText.h"

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

SIZE OuterSize(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

std::u16string ShortDate(const SYSTEMTIME& time) {
    wchar_t text[64] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text, 64);
    return fromWide(text);
}

std::u16string TimeWithSeconds(const SYSTEMTIME& time) {
    wchar_t text[64] = {};
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, text, 64);
    return fromWide(text);
}
