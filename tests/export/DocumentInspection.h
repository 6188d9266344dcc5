#pragma once

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <string>
#include <vector>

#include "export/PugiText.h"
#include "text/Utf8.h"

// Readers for checking a protocol document's shape in tests, in UTF-8 for readable failures.

// Names of the node's children in order; a text node shows as "#text".
inline std::vector<std::string> childNames(pugi::xml_node node) {
    std::vector<std::string> names;
    for (pugi::xml_node child : node.children())
        names.push_back(child.type() == pugi::node_pcdata ? "#text"
                                                          : toUtf8(fromPugiText(child.name())));
    return names;
}

// The text of a text element: its single text node's value. Fails the test unless the
// element has exactly one child and it is a text node.
inline std::u16string textOf(pugi::xml_node element) {
    pugi::xml_node only = element.first_child();
    EXPECT_TRUE(only) << "text element without text node";
    EXPECT_EQ(only.type(), pugi::node_pcdata);
    EXPECT_FALSE(only.next_sibling()) << "text element with more than one child";
    return fromPugiText(only.value());
}

inline pugi::xml_node child(pugi::xml_node node, const char* name) {
    return node.child(toPugiText(fromUtf8(name)).c_str());
}
