#include "export/AppendTextElement.h"

#include "export/PugiText.h"

pugi::xml_node AppendTextElement(pugi::xml_node parent, const pugi::char_t* name,
                                 const pugi::char_t* text) {
    pugi::xml_node element = parent.append_child(name);
    pugi::xml_node value = element.append_child(pugi::node_pcdata);
    value.set_value(text);
    return element;
}

pugi::xml_node AppendTextElement(pugi::xml_node parent, const pugi::char_t* name,
                                 std::u16string_view text) {
    return AppendTextElement(parent, name, toPugiText(text).c_str());
}
