#pragma once

#include <pugixml.hpp>

// The in-memory protocol document handed to the host: the "xml" declaration (version 1.0,
// encoding utf-8) before one "root" element. It lives for one report; the host reads it
// during one synchronous call and keeps no handle into it.
class ProtocolDocument {
public:
    // Throws std::bad_alloc when the declaration or "root" cannot be made whole.
    ProtocolDocument();
    ProtocolDocument(const ProtocolDocument&) = delete;
    ProtocolDocument& operator=(const ProtocolDocument&) = delete;

    // The "root" element; the host receives the address of a handle to it.
    pugi::xml_node root() const { return root_; }
    // The document node, parent of the declaration and of "root".
    const pugi::xml_document& document() const { return document_; }

private:
    pugi::xml_document document_;
    pugi::xml_node root_;
};
