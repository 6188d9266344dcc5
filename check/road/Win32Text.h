#pragma once

#include <windows.h>

#include <string>

// Wide Win32 text (16-bit wchar_t here) as the portable UTF-16 string type, and back.
inline std::u16string ToU16(const wchar_t* text) {
    std::u16string value;
    for (; text && *text; ++text) value.push_back(static_cast<char16_t>(*text));
    return value;
}

inline std::wstring ToWide(const std::u16string& text) {
    return std::wstring(text.begin(), text.end());
}

// A window's text (a control's caption, a label's contents).
inline std::u16string WindowText(HWND window) {
    wchar_t buffer[512] = {};
    GetWindowTextW(window, buffer, static_cast<int>(sizeof buffer / sizeof buffer[0]));
    return ToU16(buffer);
}

inline std::u16string ClassName(HWND window) {
    wchar_t buffer[128] = {};
    GetClassNameW(window, buffer, static_cast<int>(sizeof buffer / sizeof buffer[0]));
    return ToU16(buffer);
}
