#pragma once

// Whether XML 1.0 can carry the code point `c` in a document at all, as text or as a
// character reference: tab, line feed, carriage return and everything from U+0020 up, except
// the surrogates and U+FFFE, U+FFFF.
constexpr bool IsXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}
