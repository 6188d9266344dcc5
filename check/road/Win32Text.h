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
