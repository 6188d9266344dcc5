#include "export/FillProtocolDocument.h"

#include "export/AppendTextElement.h"
#include "export/ProtocolDocument.h"

const std::array<const pugi::char_t*, kReportColumnCount> kRowElementNames = {
    PUGIXML_TEXT("Name"),   PUGIXML_TEXT("First"),  PUGIXML_TEXT("Last"),
    PUGIXML_TEXT("Mid"),    PUGIXML_TEXT("Repeat"), PUGIXML_TEXT("Limit"),
    PUGIXML_TEXT("Rating"), PUGIXML_TEXT("Uncert"), PUGIXML_TEXT("Result"),
};

void FillProtocolDocument(ProtocolDocument& document, const ProtocolReport& report) {
    pugi::xml_node root = document.root();
    AppendTextElement(root, PUGIXML_TEXT("ProtocolDate"), report.protocolDate);
    if (report.measurement) {
        const ReportMeasurement& m = *report.measurement;
        AppendTextElement(root, PUGIXML_TEXT("Sample"), m.sample);
        AppendTextElement(root, PUGIXML_TEXT("Comment"), m.comment);
        AppendTextElement(root, PUGIXML_TEXT("Date"), m.date);
        AppendTextElement(root, PUGIXML_TEXT("Time"), m.time);
    }
    if (report.operatorName)
        AppendTextElement(root, PUGIXML_TEXT("Operator"), *report.operatorName);
    if (report.rows.empty()) return;

    pugi::xml_node table = root.append_child(PUGIXML_TEXT("table1"));
    for (const ReportRow& cells : report.rows) {
        pugi::xml_node row = table.append_child(PUGIXML_TEXT("row"));
        for (std::size_t column = 0; column < kReportColumnCount; ++column)
            AppendTextElement(row, kRowElementNames[column], CutCellText(cells[column]));
    }
}
