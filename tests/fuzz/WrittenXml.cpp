#include "tests/fuzz/WrittenXml.h"

#include <cstdint>
#include <cstring>

#include "export/XmlText.h"
#include "text/Utf16.h"

namespace {

// Decodes one UTF-8 character at `at`, strictly; empty when the bytes there are not one.
std::optional<char32_t> decode(std::string_view bytes, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (lead < 0x80) return ++at, char32_t{lead};
    int length = 0;
    char32_t value = 0, least = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2, value = lead & 0x1F, least = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, value = lead & 0x0F, least = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, value = lead & 0x07, least = 0x10000;
    else
        return std::nullopt;
    if (bytes.size() - at < static_cast<std::size_t>(length)) return std::nullopt;
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[at + i]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        value = (value << 6) | (next & 0x3F);
    }
    if (value < least || value > 0x10FFFF || isSurrogate(value)) return std::nullopt;
    at += length;
    return value;
}

// The code point of the character reference "&#...;" at `at`; empty when it is malformed.
std::optional<char32_t> reference(std::string_view bytes, std::size_t at) {
    std::size_t i = at + 2;
    const bool hex = i < bytes.size() && bytes[i] == 'x';
    if (hex) ++i;
    std::uint32_t value = 0;
    std::size_t digits = 0;
    for (; i < bytes.size() && bytes[i] != ';'; ++i, ++digits) {
        const char c = bytes[i];
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0 || value > 0x10FFFF) return std::nullopt;
        value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
    }
    if (digits == 0 || i == bytes.size()) return std::nullopt;
    return char32_t{value};
}

// `node` or the first sibling after it that XML text shows: an empty text node leaves no
// trace there.
pugi::xml_node written(pugi::xml_node node) {
    while (node && node.type() == pugi::node_pcdata && !*node.value()) node = node.next_sibling();
    return node;
}

struct StringWriter : pugi::xml_writer {
    std::string bytes;
    void write(const void* data, std::size_t size) override {
        bytes.append(static_cast<const char*>(data), size);
    }
};

}  // namespace

std::optional<std::size_t> FirstForbiddenCharacter(std::string_view bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t start = at;
        const std::optional<char32_t> c = decode(bytes, at);
        if (!c || !IsXmlChar(*c)) return start;
        if (*c == '&' && at < bytes.size() && bytes[at] == '#') {
            const std::optional<char32_t> named = reference(bytes, start);
            if (!named || !IsXmlChar(*named)) return start;
        }
    }
    return std::nullopt;
}

bool SameTree(pugi::xml_node a, pugi::xml_node b) {
    if (a.type() != b.type() || std::wcscmp(a.name(), b.name()) != 0 ||
        std::wcscmp(a.value(), b.value()) != 0)
        return false;
    pugi::xml_attribute x = a.first_attribute(), y = b.first_attribute();
    for (; x && y; x = x.next_attribute(), y = y.next_attribute())
        if (std::wcscmp(x.name(), y.name()) != 0 || std::wcscmp(x.value(), y.value()) != 0)
            return false;
    if (x || y) return false;
    pugi::xml_node p = written(a.first_child()), q = written(b.first_child());
    for (; p && q; p = written(p.next_sibling()), q = written(q.next_sibling()))
        if (!SameTree(p, q)) return false;
    return !p && !q;
}

std::string WriteOut(const pugi::xml_document& document) {
    StringWriter writer;
    document.save(writer, PUGIXML_TEXT("\t"), pugi::format_default, pugi::encoding_utf8);
    return std::move(writer.bytes);
}
