#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-16 code units: the surrogate ranges, how a pair makes one code point, and where a text
// may be cut without splitting a pair. Every text of the module is UTF-16.

constexpr bool isHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
constexpr bool isLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}
constexpr bool isSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}

// One code point of a text and the units it takes there.
struct CodePoint {
    char32_t value = 0;
    std::size_t units = 0;
};

// The code point starting at `index` (below text.size()): a pair gives one code point of two
// units; an unpaired surrogate stands for itself, one unit long.
constexpr CodePoint codePointAt(std::u16string_view text, std::size_t index) {
    const char32_t unit = text[index];
    if (isHighSurrogate(unit) && index + 1 < text.size() && isLowSurrogate(text[index + 1]))
        return {0x10000 + ((unit - 0xD800) << 10) + (text[index + 1] - 0xDC00), 2};
    return {unit, 1};
}

// Appends `codePoint` as one unit, or as a pair beyond U+FFFF.
inline void appendCodePoint(std::u16string& text, char32_t codePoint) {
    if (codePoint < 0x10000) {
        text.push_back(static_cast<char16_t>(codePoint));
        return;
    }
    text.push_back(static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10)));
    text.push_back(static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF)));
}

// How many units of `text` to keep when at most `limit` fit: all of them when they fit,
// otherwise `limit`, or one fewer where the cut would split a pair.
constexpr std::size_t cutPoint(std::u16string_view text, std::size_t limit) {
    if (text.size() <= limit) return text.size();
    if (limit > 0 && isHighSurrogate(text[limit - 1]) && isLowSurrogate(text[limit]))
        return limit - 1;
    return limit;
}
