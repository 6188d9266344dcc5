#pragma once

// Copies between the core's UTF-16 text and Windows' wide text, which is UTF-16 as well.
// Windows only.

#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 units");

inline std::wstring toWide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

inline std::u16string fromWide(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}

// Copies a bounded, terminated UTF-16 buffer unit by unit into a wide buffer of the same size.
template <std::size_t N>
void copyToWide(const char16_t (&from)[N], wchar_t (&to)[N]) {
    for (std::size_t i = 0; i < N; ++i) to[i] = static_cast<wchar_t>(from[i]);
}
