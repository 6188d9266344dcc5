#pragma once

// Fills one XML part of the protocol template (content.xml, styles.xml) from the protocol
// document the plug-in hands over. Portable: pugixml only.
//
// Placeholders are written "${Element}" inside text. In the table named "table1" (after the
// element that holds the list's rows) the first body row holding a placeholder is the row
// template: it is copied once per "row" of the protocol's "table1", each copy filled from
// that row's children, and then removed, so an empty list leaves the header alone. Every
// other placeholder takes the text of the element of that name under "root". A placeholder
// whose element is missing becomes empty; a "${" without its "}" stays as it is.

#include <pugixml.hpp>

#include <string>
#include <string_view>

// Fills the parsed part in place.
void FillTemplatePart(pugi::xml_node part, pugi::xml_node protocolRoot);

// Parses a UTF-8 part, fills it and returns it as UTF-8 XML; throws std::runtime_error when
// the part is not well-formed.
std::string FillTemplatePartText(std::string_view utf8, pugi::xml_node protocolRoot);
