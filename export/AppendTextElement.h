#pragma once

#include <pugixml.hpp>

#include <string_view>

// Appends to `parent` an element `name` whose only child is one text node holding `text`,
// stored as given (an empty text still gets its text node). Returns the new element; an
// empty handle when the parent is empty or memory ran out, in which case nothing was added
// (an element whose text could not be stored is taken out again).
pugi::xml_node AppendTextElement(pugi::xml_node parent, const pugi::char_t* name,
                                 const pugi::char_t* text);

// The same for a UTF-16 text, converted by toPugiText: the road of every text of the report,
// where characters XML 1.0 cannot carry become spaces.
pugi::xml_node AppendTextElement(pugi::xml_node parent, const pugi::char_t* name,
                                 std::u16string_view text);
