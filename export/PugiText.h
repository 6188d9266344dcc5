#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>

// The document's strings are pugixml's wide text: 16-bit units on Windows, where they are
// copied unit for unit, and 32-bit code points natively, where surrogate pairs are joined.
// Every character XML 1.0 cannot carry (IsXmlChar: control characters other than tab, line
// feed and carriage return, U+FFFE, U+FFFF, an unpaired surrogate) becomes a space, so the
// document stays well-formed whoever writes it out; a NUL ends the text, as it ends every
// text the windows show. Everything else, markup characters included, is kept as it is.
pugi::string_t toPugiText(std::u16string_view text);

// The reverse of toPugiText: the UTF-16 text of a node's name or value.
std::u16string fromPugiText(const pugi::char_t* text);
