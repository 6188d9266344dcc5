#include "tests/win32/ProtocolTreeCheck.h"

#include <pugixml.hpp>

#include <algorithm>

#include "database/Utf.h"
#include "tests/win32/Win32Text.h"

namespace {

constexpr std::array<const wchar_t*, 9> kCellNames = {
    L"Name", L"First", L"Last", L"Mid", L"Repeat", L"Limit", L"Rating", L"Uncert", L"Result",
};

std::string Utf8(const wchar_t* text) {
    return toUtf8(ToU16(text));
}

// A text element: named `name`, its only child one text node; returns that text.
std::u16string TextElement(pugi::xml_node element, const wchar_t* name, const std::string& where,
                           StepChecks& checks) {
    if (!checks.expect(element && std::wstring(element.name()) == name,
                       where + ": expected <" + Utf8(name) + ">, found <" +
                           Utf8(element ? element.name() : L"(nothing)") + ">"))
        return {};
    pugi::xml_node text = element.first_child();
    checks.expect(text && text.type() == pugi::node_pcdata && !text.next_sibling(),
                  where + ": <" + Utf8(name) + "> is not one text node");
    return ToU16(text.value());
}

void ExpectText(pugi::xml_node& element, const wchar_t* name, const std::u16string& expected,
                StepChecks& checks) {
    const std::u16string text = TextElement(element, name, "root", checks);
    checks.expect(text == expected, "<" + Utf8(name) + "> holds \"" + toUtf8(text) +
                                        "\", expected \"" + toUtf8(expected) + "\"");
    element = element.next_sibling();
}

}  // namespace

void CheckProtocolTree(const void* rootVariable, const ExpectedReport& expected,
                       StepChecks& checks) {
    if (!checks.expect(rootVariable != nullptr, "no root element handed over")) return;
    pugi::xml_node root(*static_cast<pugi::xml_node_struct* const*>(rootVariable));
    if (!checks.expect(
            root && root.type() == pugi::node_element && std::wstring(root.name()) == L"root",
            "the handed-over node is not the element <root>"))
        return;

    pugi::xml_node document = root.parent();
    pugi::xml_node declaration = document.first_child();
    checks.expect(document.type() == pugi::node_document &&
                      declaration.type() == pugi::node_declaration &&
                      std::wstring(declaration.name()) == L"xml" &&
                      std::wstring(declaration.attribute(L"version").value()) == L"1.0" &&
                      std::wstring(declaration.attribute(L"encoding").value()) == L"utf-8" &&
                      declaration.next_sibling() == root && !root.next_sibling(),
                  "the document is not the declaration (version 1.0, utf-8) followed by <root>");

    pugi::xml_node element = root.first_child();
    const std::u16string protocolDate = TextElement(element, L"ProtocolDate", "root", checks);
    checks.expect(std::find(expected.protocolDates.begin(), expected.protocolDates.end(),
                            protocolDate) != expected.protocolDates.end(),
                  "<ProtocolDate> holds \"" + toUtf8(protocolDate) + "\", not today's date");
    element = element.next_sibling();
    ExpectText(element, L"Sample", expected.sample, checks);
    ExpectText(element, L"Comment", expected.comment, checks);
    ExpectText(element, L"Date", expected.date, checks);
    ExpectText(element, L"Time", expected.time, checks);
    ExpectText(element, L"Operator", expected.operatorName, checks);

    if (!checks.expect(element && std::wstring(element.name()) == L"table1",
                       "<table1> does not follow <Operator>"))
        return;
    checks.expect(!element.next_sibling(), "<root> has elements after <table1>");
    std::size_t r = 0;
    for (pugi::xml_node row = element.first_child(); row; row = row.next_sibling(), ++r) {
        const std::string where = "row " + std::to_string(r);
        if (!checks.expect(std::wstring(row.name()) == L"row" && r < expected.rows.size(),
                           where + " is not an expected <row>"))
            return;
        pugi::xml_node cell = row.first_child();
        for (std::size_t c = 0; c < kCellNames.size(); ++c, cell = cell.next_sibling()) {
            const std::u16string text = TextElement(cell, kCellNames[c], where, checks);
            checks.expect(text == expected.rows[r][c],
                          where + " <" + Utf8(kCellNames[c]) + "> holds \"" + toUtf8(text) +
                              "\", expected \"" + toUtf8(expected.rows[r][c]) + "\"");
        }
        checks.expect(!cell, where + " has more than nine cells");
    }
    checks.expect(r == expected.rows.size(), "<table1> holds " + std::to_string(r) +
                                                 " rows, expected " +
                                                 std::to_string(expected.rows.size()));
}
