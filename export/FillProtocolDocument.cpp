#include "export/FillProtocolDocument.h"

#include <new>

#include "export/AppendTextElement.h"
#include "export/ProtocolDocument.h"

const std::array<const pugi::char_t*, kReportColumnCount> kRowElementNames = {
    PUGIXML_TEXT("Name"),   PUGIXML_TEXT("First"),  PUGIXML_TEXT("Last"),
    PUGIXML_TEXT("Mid"),    PUGIXML_TEXT("Repeat"), PUGIXML_TEXT("Limit"),
    PUGIXML_TEXT("Rating"), PUGIXML_TEXT("Uncert"), PUGIXML_TEXT("Result"),
};

namespace {

// pugixml tells a failed allocation only by an empty handle; a document missing a node must
// not reach the host as if whole.
pugi::xml_node made(pugi::xml_node node) {
    if (!node) throw std::bad_alloc();
    return node;
}

void appendText(pugi::xml_node parent, const pugi::char_t* name, std::u16string_view text) {
    made(AppendTextElement(parent, name, text));
}

}  // namespace

void FillProtocolDocument(ProtocolDocument& document, const ProtocolReport& report) {
    pugi::xml_node root = document.root();
    appendText(root, PUGIXML_TEXT("ProtocolDate"), report.protocolDate);
    if (report.measurement) {
        const ReportMeasurement& m = *report.measurement;
        appendText(root, PUGIXML_TEXT("Sample"), m.sample);
        appendText(root, PUGIXML_TEXT("Comment"), m.comment);
        appendText(root, PUGIXML_TEXT("Date"), m.date);
        appendText(root, PUGIXML_TEXT("Time"), m.time);
    }
    if (report.operatorName) appendText(root, PUGIXML_TEXT("Operator"), *report.operatorName);
    if (report.rows.empty()) return;

    pugi::xml_node table = made(root.append_child(PUGIXML_TEXT("table1")));
    for (const ReportRow& cells : report.rows) {
        pugi::xml_node row = made(table.append_child(PUGIXML_TEXT("row")));
        for (std::size_t column = 0; column < kReportColumnCount; ++column)
            appendText(row, kRowElementNames[column], CutCellText(cells[column]));
    }
}
