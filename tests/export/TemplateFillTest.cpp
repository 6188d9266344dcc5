#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "export/FillProtocolDocument.h"
#include "export/ProtocolDocument.h"
#include "tests/export/DocumentInspection.h"
#include "tests/host/export/TemplateFill.h"

namespace {

const char kPart[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<doc xmlns:table="t" xmlns:text="x">
<text:p>Проба: ${Sample}; ${Date} ${Time}</text:p>
<text:p>${Unknown}|${Operator}|${Sample</text:p>
<table:table table:name="Header"><table:table-row><text:p>${Comment}</text:p></table:table-row></table:table>
<table:table table:name="table1">
<table:table-header-rows><table:table-row><text:p>Компонент</text:p></table:table-row></table:table-header-rows>
<table:table-row><text:p>${Name}</text:p><text:p>${Result} (${ProtocolDate})</text:p></table:table-row>
<table:table-row><text:p>итог</text:p></table:table-row>
</table:table>
</doc>)";

ProtocolReport reportWithRows(int count) {
    ProtocolReport report;
    report.protocolDate = u"01.03.2024";
    report.measurement = ReportMeasurement{u"A & <B>", u"к", u"02.03.2024", u"8:15"};
    report.operatorName = u"Орлов";
    for (int r = 0; r < count; ++r) {
        ReportRow row;
        row[0] = u"имя" + std::u16string(1, u'0' + r);
        row[8] = u"р" + std::u16string(1, u'0' + r);
        report.rows.push_back(row);
    }
    return report;
}

// Texts of every text:p under `node`, in document order.
void paragraphs(pugi::xml_node node, std::vector<std::string>& out) {
    for (pugi::xml_node c : node.children()) {
        if (toUtf8(fromPugiText(c.name())) == "text:p")
            out.push_back(toUtf8(fromPugiText(c.child_value())));
        paragraphs(c, out);
    }
}

std::vector<std::string> filledParagraphs(const std::string& part, int rows,
                                          std::string* text = nullptr) {
    ProtocolDocument document;
    FillProtocolDocument(document, reportWithRows(rows));
    const std::string filled = FillTemplatePartText(part, document.root());
    if (text) *text = filled;
    pugi::xml_document reread;
    EXPECT_TRUE(
        reread.load_buffer(filled.data(), filled.size(), pugi::parse_default, pugi::encoding_utf8));
    std::vector<std::string> out;
    paragraphs(reread, out);
    return out;
}

std::string readSource(const std::string& relative) {
    const char* root = std::getenv("NIVRA_SOURCE_DIR");
    std::ifstream file(std::string(root ? root : ".") + "/" + relative, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

}  // namespace

TEST(TemplateFill, RepeatsTheRowPerListRowAndFillsEveryPlaceholder) {
    struct Case {
        int rows;
        std::vector<std::string> expected;
    };
    const std::vector<std::string> head = {"Проба: A & <B>; 02.03.2024 8:15", "|Орлов|${Sample",
                                           "к", "Компонент"};
    const Case cases[] = {
        {0, {}},
        {1, {"имя0", "р0 (01.03.2024)"}},
        {3, {"имя0", "р0 (01.03.2024)", "имя1", "р1 (01.03.2024)", "имя2", "р2 (01.03.2024)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        std::vector<std::string> expected = head;
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        expected.push_back("итог");
        std::string text;
        EXPECT_EQ(filledParagraphs(kPart, c.rows, &text), expected);
        EXPECT_NE(text.find("A &amp; &lt;B&gt;"), std::string::npos) << "written escaped";
        EXPECT_EQ(text.rfind("<?xml", 0), 0u) << "declaration kept first";
    }
}

TEST(TemplateFill, RejectsAPartThatIsNotXml) {
    ProtocolDocument document;
    EXPECT_THROW(FillTemplatePartText("<a><b></a>", document.root()), std::runtime_error);
    EXPECT_THROW(FillTemplatePartText("", document.root()), std::runtime_error);
}

TEST(TemplateFill, ShippedTemplateCarriesEveryElementAndLeavesNoPlaceholder) {
    const std::string content = readSource("tools/odt/template/content.xml");
    const std::string styles = readSource("tools/odt/template/styles.xml");
    ASSERT_FALSE(content.empty()) << "set NIVRA_SOURCE_DIR";
    for (const char* name :
         {"ProtocolDate", "Sample", "Comment", "Date", "Time", "Operator", "Name", "First", "Last",
          "Mid", "Repeat", "Limit", "Rating", "Uncert", "Result"})
        EXPECT_NE(content.find(std::string("${") + name + "}"), std::string::npos) << name;
    EXPECT_NE(content.find("СТО 03-7.76-2016"), std::string::npos);

    for (int rows : {0, 9}) {
        SCOPED_TRACE(rows);
        std::string filled;
        const std::vector<std::string> texts = filledParagraphs(content, rows, &filled);
        EXPECT_EQ(filled.find("${"), std::string::npos);
        // The nine headers, then the rows' names in order.
        const auto header = std::find(texts.begin(), texts.end(), "Компонент");
        ASSERT_NE(header, texts.end());
        ASSERT_GE(texts.end() - header, 9);
        EXPECT_EQ(*(header + 8), "Результат");
        for (int r = 0; r < rows; ++r)
            EXPECT_EQ(*(header + 9 + 9 * r), "имя" + std::string(1, char('0' + r)));
        EXPECT_EQ(std::count(texts.begin(), texts.end(), "A & <B>"), 1);
        EXPECT_EQ(std::count(texts.begin(), texts.end(), "Орлов"), 2) << "header and signature";

        std::string filledStyles;
        filledParagraphs(styles, rows, &filledStyles);
        EXPECT_EQ(filledStyles.find("${"), std::string::npos);
        EXPECT_NE(filledStyles.find("01.03.2024"), std::string::npos);
    }
}
