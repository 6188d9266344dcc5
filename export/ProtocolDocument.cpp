#include "export/ProtocolDocument.h"

#include <new>

ProtocolDocument::ProtocolDocument() {
    // The declaration goes before the document's first child; pugixml names it "xml".
    pugi::xml_node declaration = document_.prepend_child(pugi::node_declaration);
    const bool declared =
        declaration.append_attribute(PUGIXML_TEXT("version")).set_value(PUGIXML_TEXT("1.0")) &&
        declaration.append_attribute(PUGIXML_TEXT("encoding")).set_value(PUGIXML_TEXT("utf-8"));
    root_ = document_.append_child(PUGIXML_TEXT("root"));
    // pugixml tells a failed allocation only by an empty handle.
    if (!declared || !root_) throw std::bad_alloc();
}
