#include "tests/host/export/TemplateFill.h"

#include <sstream>
#include <stdexcept>
#include <vector>

namespace {

using Text = pugi::string_t;

const pugi::char_t kOpen[] = PUGIXML_TEXT("${");
constexpr pugi::char_t kClose = PUGIXML_TEXT('}');
// The element holding the list's rows, and the name of the template's results table.
const pugi::char_t kRowsElement[] = PUGIXML_TEXT("table1");

// The text of the element `name` under the first scope that has one; empty when none has.
Text lookUp(const std::vector<pugi::xml_node>& scopes, const Text& name) {
    for (pugi::xml_node scope : scopes)
        if (pugi::xml_node element = scope.child(name.c_str())) return element.child_value();
    return {};
}

Text substitute(const Text& text, const std::vector<pugi::xml_node>& scopes) {
    Text result;
    std::size_t from = 0;
    for (;;) {
        const std::size_t open = text.find(kOpen, from);
        const std::size_t close = open == Text::npos ? Text::npos : text.find(kClose, open + 2);
        if (close == Text::npos) break;
        result.append(text, from, open - from);
        result += lookUp(scopes, text.substr(open + 2, close - open - 2));
        from = close + 1;
    }
    result.append(text, from, Text::npos);
    return result;
}

bool holdsPlaceholder(pugi::xml_node node) {
    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata)
        return Text(node.value()).find(kOpen) != Text::npos;
    for (pugi::xml_node child : node.children())
        if (holdsPlaceholder(child)) return true;
    return false;
}

void fillText(pugi::xml_node node, const std::vector<pugi::xml_node>& scopes) {
    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
        const Text value = node.value();
        if (value.find(kOpen) != Text::npos) node.set_value(substitute(value, scopes).c_str());
        return;
    }
    for (pugi::xml_node child : node.children()) fillText(child, scopes);
}

void collectTables(pugi::xml_node node, std::vector<pugi::xml_node>& tables) {
    for (pugi::xml_node child : node.children()) {
        if (Text(child.name()) == PUGIXML_TEXT("table:table") &&
            Text(child.attribute(PUGIXML_TEXT("table:name")).value()) == kRowsElement)
            tables.push_back(child);
        collectTables(child, tables);
    }
}

// Repeats the row template of the results table once per "row" of the protocol's "table1";
// with no "table1" (an empty list) the table keeps only its header.
void repeatRows(pugi::xml_node table, pugi::xml_node protocolRoot) {
    const pugi::xml_node source = protocolRoot.child(kRowsElement);
    pugi::xml_node rowTemplate;
    for (pugi::xml_node row : table.children(PUGIXML_TEXT("table:table-row")))
        if (holdsPlaceholder(row)) {
            rowTemplate = row;
            break;
        }
    if (!rowTemplate) return;
    for (pugi::xml_node row : source.children(PUGIXML_TEXT("row"))) {
        pugi::xml_node copy = table.insert_copy_before(rowTemplate, rowTemplate);
        fillText(copy, {row, protocolRoot});
    }
    table.remove_child(rowTemplate);
}

struct StringWriter : pugi::xml_writer {
    std::string bytes;
    void write(const void* data, std::size_t size) override {
        bytes.append(static_cast<const char*>(data), size);
    }
};

}  // namespace

void FillTemplatePart(pugi::xml_node part, pugi::xml_node protocolRoot) {
    std::vector<pugi::xml_node> tables;
    collectTables(part, tables);
    for (pugi::xml_node table : tables) repeatRows(table, protocolRoot);
    fillText(part, {protocolRoot});
}

std::string FillTemplatePartText(std::string_view utf8, pugi::xml_node protocolRoot) {
    pugi::xml_document part;
    // Whitespace-only text is kept: between inline elements of a paragraph it is content.
    const pugi::xml_parse_result parsed = part.load_buffer(
        utf8.data(), utf8.size(),
        pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata, pugi::encoding_utf8);
    if (!parsed) throw std::runtime_error(std::string("template part: ") + parsed.description());
    FillTemplatePart(part, protocolRoot);
    StringWriter writer;
    part.save(writer, PUGIXML_TEXT(""), pugi::format_raw, pugi::encoding_utf8);
    return std::move(writer.bytes);
}
