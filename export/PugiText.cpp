#include "export/PugiText.h"

#include "text/Utf16.h"

static_assert(sizeof(pugi::char_t) == sizeof(wchar_t), "pugixml must use wide strings");

pugi::string_t toPugiText(std::u16string_view text) {
    pugi::string_t result;
    result.reserve(text.size());
    if constexpr (sizeof(pugi::char_t) == sizeof(char16_t)) {
        for (char16_t unit : text) result.push_back(static_cast<pugi::char_t>(unit));
    } else {
        for (std::size_t i = 0; i < text.size();) {
            const CodePoint point = codePointAt(text, i);
            result.push_back(static_cast<pugi::char_t>(point.value));
            i += point.units;
        }
    }
    return result;
}

std::u16string fromPugiText(const pugi::char_t* text) {
    std::u16string result;
    if (!text) return result;
    for (; *text; ++text) {
        if constexpr (sizeof(pugi::char_t) == sizeof(char16_t))
            result.push_back(static_cast<char16_t>(*text));
        else
            appendCodePoint(result, static_cast<char32_t>(*text));
    }
    return result;
}
