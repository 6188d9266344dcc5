#include "text/Utf8.h"

#include "text/Utf16.h"

std::string toUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size();) {
        const CodePoint point = codePointAt(text, i);
        i += point.units;
        const char32_t c = isSurrogate(point.value) ? 0xFFFD : point.value;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u16string fromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i++]);
        char32_t c = 0xFFFD;
        int extra = 0;
        if (lead < 0x80) {
            c = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            c = lead & 0x1F, extra = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            c = lead & 0x0F, extra = 2;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            c = lead & 0x07, extra = 3;
        }
        for (int k = 0; k < extra; ++k) {
            if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
                c = 0xFFFD;
                extra = 0;
                break;
            }
            c = (c << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
        }
        const bool overlong = (extra == 2 && c < 0x800) || (extra == 3 && c < 0x10000);
        if (overlong || isSurrogate(c) || c > 0x10FFFF) c = 0xFFFD;
        appendCodePoint(out, c);
    }
    return out;
}
