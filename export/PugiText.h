#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>

// The document's strings are pugixml's wide text: 16-bit units on Windows, where they are
// copied unit for unit, and 32-bit code points natively, where surrogate pairs are joined.
// An unpaired surrogate is copied as it is, so no text changes on its way into the tree.
pugi::string_t toPugiText(std::u16string_view text);

// The reverse of toPugiText: the UTF-16 text of a node's name or value.
std::u16string fromPugiText(const pugi::char_t* text);
