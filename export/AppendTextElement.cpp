#include "export/AppendTextElement.h"

#include "export/PugiText.h"

pugi::xml_node AppendTextElement(pugi::xml_node parent, const pugi::char_t* name,
                                 const pugi::char_t* text) {
    pugi::xml_node element = parent.append_child(name);
    if (!element) return {};
    pugi::xml_node value = element.append_child(pugi::node_pcdata);
    if (value && value.set_value(text)) return element;
    // Half an element would read as an empty text: none is left instead.
    parent.remove_child(element);
    return {};
}

pugi::xml_node AppendTextElement(pugi::xml_node parent, const pugi::char_t* name,
                                 std::u16string_view text) {
    return AppendTextElement(parent, name, toPugiText(text).c_str());
}
