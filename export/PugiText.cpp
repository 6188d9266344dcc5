#include "export/PugiText.h"

#include "export/XmlText.h"

static_assert(sizeof(pugi::char_t) == sizeof(wchar_t), "pugixml must use wide strings");

namespace {

constexpr bool isHigh(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
constexpr bool isLow(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

pugi::string_t toPugiText(std::u16string_view text) {
    pugi::string_t result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size() && text[i] != 0; ++i) {
        char32_t unit = text[i];
        if (isHigh(unit) && i + 1 < text.size() && isLow(text[i + 1])) {
            const char32_t low = text[++i];
            if constexpr (sizeof(pugi::char_t) == sizeof(char16_t)) {
                result.push_back(static_cast<pugi::char_t>(unit));
                result.push_back(static_cast<pugi::char_t>(low));
            } else {
                result.push_back(
                    static_cast<pugi::char_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
            }
            continue;
        }
        // An unpaired surrogate is no code point, so IsXmlChar refuses it as well.
        if (!IsXmlChar(unit)) unit = u' ';
        result.push_back(static_cast<pugi::char_t>(unit));
    }
    return result;
}

std::u16string fromPugiText(const pugi::char_t* text) {
    std::u16string result;
    if (!text) return result;
    for (; *text; ++text) {
        const auto unit = static_cast<char32_t>(*text);
        if (sizeof(pugi::char_t) > sizeof(char16_t) && unit >= 0x10000) {
            result.push_back(static_cast<char16_t>(0xD800 + ((unit - 0x10000) >> 10)));
            result.push_back(static_cast<char16_t>(0xDC00 + ((unit - 0x10000) & 0x3FF)));
        } else {
            result.push_back(static_cast<char16_t>(unit));
        }
    }
    return result;
}
