#include "check/road/ProtocolTreeCheck.h"

#include <pugixml.hpp>

#include <algorithm>

#include "check/road/CellName.h"
#include "text/Utf8.h"
#include "text/WideText.h"

namespace {

constexpr std::array<const wchar_t*, 9> kCellNames = {
    L"Name", L"First", L"Last", L"Mid", L"Repeat", L"Limit", L"Rating", L"Uncert", L"Result",
};

std::string Utf8(const wchar_t* text) {
    return toUtf8(fromWide(text));
}

// A text element: named `name`, its only child one text node; returns that text.
std::u16string TextElement(pugi::xml_node element, const wchar_t* name, const std::string& where,
                           StepChecks& checks) {
    if (!checks.expect(element && std::wstring(element.name()) == name,
                       where + ": ожидался элемент <" + Utf8(name) + ">, найден <" +
                           Utf8(element ? element.name() : L"(ничего)") + ">"))
        return {};
    pugi::xml_node text = element.first_child();
    checks.expect(text && text.type() == pugi::node_pcdata && !text.next_sibling(),
                  where + ": <" + Utf8(name) + "> не состоит из одного текстового узла");
    return fromWide(text.value());
}

void ExpectText(pugi::xml_node& element, const wchar_t* name, const std::u16string& expected,
                StepChecks& checks) {
    const std::u16string text = TextElement(element, name, "отчёт", checks);
    checks.expect(text == expected, "отчёт, <" + Utf8(name) + ">: ожидалось «" + toUtf8(expected) +
                                        "», получено «" + toUtf8(text) + "»");
    element = element.next_sibling();
}

}  // namespace

void CheckProtocolTree(const void* rootVariable, const ExpectedReport& expected,
                       StepChecks& checks) {
    if (!checks.expect(rootVariable != nullptr, "хосту не передан корневой элемент")) return;
    pugi::xml_node root(*static_cast<pugi::xml_node_struct* const*>(rootVariable));
    if (!checks.expect(
            root && root.type() == pugi::node_element && std::wstring(root.name()) == L"root",
            "хосту передан не элемент <root>"))
        return;

    pugi::xml_node document = root.parent();
    pugi::xml_node declaration = document.first_child();
    checks.expect(document.type() == pugi::node_document &&
                      declaration.type() == pugi::node_declaration &&
                      std::wstring(declaration.name()) == L"xml" &&
                      std::wstring(declaration.attribute(L"version").value()) == L"1.0" &&
                      std::wstring(declaration.attribute(L"encoding").value()) == L"utf-8" &&
                      declaration.next_sibling() == root && !root.next_sibling(),
                  "документ не состоит из объявления (версия 1.0, utf-8) и элемента <root>");

    pugi::xml_node element = root.first_child();
    const std::u16string protocolDate = TextElement(element, L"ProtocolDate", "отчёт", checks);
    checks.expect(std::find(expected.protocolDates.begin(), expected.protocolDates.end(),
                            protocolDate) != expected.protocolDates.end(),
                  "отчёт, <ProtocolDate>: «" + toUtf8(protocolDate) + "» не сегодняшняя дата");
    element = element.next_sibling();
    if (expected.measurementFound) {
        ExpectText(element, L"Sample", expected.sample, checks);
        ExpectText(element, L"Comment", expected.comment, checks);
        ExpectText(element, L"Date", expected.date, checks);
        ExpectText(element, L"Time", expected.time, checks);
        ExpectText(element, L"Operator", expected.operatorName, checks);
    }

    if (!checks.expect(
            element && std::wstring(element.name()) == L"table1",
            std::string("отчёт: за <") + (expected.measurementFound ? "Operator" : "ProtocolDate") +
                "> следует <" + Utf8(element ? element.name() : L"(ничего)") + ">, а не <table1>"))
        return;
    checks.expect(!element.next_sibling(), "отчёт: в <root> есть элементы после <table1>");
    std::size_t r = 0;
    for (pugi::xml_node row = element.first_child(); row; row = row.next_sibling(), ++r) {
        const std::string where = "отчёт, " + RowName(expected.rows, r);
        if (!checks.expect(std::wstring(row.name()) == L"row" && r < expected.rows.size(),
                           where + ": лишний элемент <" + Utf8(row.name()) + ">"))
            return;
        pugi::xml_node cell = row.first_child();
        for (std::size_t c = 0; c < kCellNames.size(); ++c, cell = cell.next_sibling()) {
            const std::u16string text = TextElement(cell, kCellNames[c], where, checks);
            checks.expect(text == expected.rows[r][c],
                          "отчёт, " + CellName(expected.rows, r, c) + " <" + Utf8(kCellNames[c]) +
                              ">: ожидалось «" + toUtf8(expected.rows[r][c]) + "», получено «" +
                              toUtf8(text) + "»");
        }
        checks.expect(!cell, where + ": больше девяти ячеек");
    }
    checks.expect(r == expected.rows.size(), "отчёт: в <table1> " + std::to_string(r) +
                                                 " строк, ожидалось " +
                                                 std::to_string(expected.rows.size()));
}
