#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Checks of a document written out as XML text, made on the bytes themselves.

// The first place where `bytes` is not text that XML 1.0 allows: a byte that is not part of
// well-formed UTF-8 (overlong forms and encoded surrogates included), a character XML 1.0
// cannot carry, or a character reference that is malformed or names such a character. Empty
// when every character is allowed.
std::optional<std::size_t> FirstForbiddenCharacter(std::string_view bytes);

// Whether the two trees hold the same nodes: kinds, names, values and attributes, in order.
// Empty text nodes are passed over, since written out they are nothing.
bool SameTree(pugi::xml_node a, pugi::xml_node b);

// The XML text of `document` as a host writes it: pugixml's writer, indented, UTF-8.
std::string WriteOut(const pugi::xml_document& document);
