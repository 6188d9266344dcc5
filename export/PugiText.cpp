#include "export/PugiText.h"

#include "export/XmlText.h"
#include "text/Utf16.h"

static_assert(sizeof(pugi::char_t) == sizeof(wchar_t), "pugixml must use wide strings");

pugi::string_t toPugiText(std::u16string_view text) {
    pugi::string_t result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size() && text[i] != 0;) {
        const CodePoint point = codePointAt(text, i);
        i += point.units;
        // An unpaired surrogate is no code point, so IsXmlChar refuses it as well.
        if (!IsXmlChar(point.value)) {
            result.push_back(static_cast<pugi::char_t>(u' '));
        } else if constexpr (sizeof(pugi::char_t) == sizeof(char16_t)) {
            for (std::size_t unit = i - point.units; unit < i; ++unit)
                result.push_back(static_cast<pugi::char_t>(text[unit]));
        } else {
            result.push_back(static_cast<pugi::char_t>(point.value));
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
