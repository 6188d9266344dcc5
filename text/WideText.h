#pragma once

// Copies between the module's UTF-16 text and Windows' wide text, which is UTF-16 as well, so
// every copy is unit for unit. Windows only.

#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 units");

inline std::wstring toWide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

inline std::u16string fromWide(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}

// A terminated wide text; none reads as the empty text.
inline std::u16string fromWide(const wchar_t* text) {
    return text ? fromWide(std::wstring_view(text)) : std::u16string();
}

// A UTF-16 buffer handed to a wide Win32 call as it is.
inline const wchar_t* asWide(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}
inline wchar_t* asWide(char16_t* text) {
    return reinterpret_cast<wchar_t*>(text);
}
