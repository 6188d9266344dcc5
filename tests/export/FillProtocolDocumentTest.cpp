#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "export/FillProtocolDocument.h"
#include "export/ProtocolDocument.h"
#include "tests/export/DocumentInspection.h"

namespace {

using Names = std::vector<std::string>;

const Names kRowNames = {"Name",  "First",  "Last",   "Mid",   "Repeat",
                         "Limit", "Rating", "Uncert", "Result"};

ReportRow rowOf(const std::u16string& prefix) {
    ReportRow row;
    for (std::size_t c = 0; c < row.size(); ++c)
        row[c] = prefix + u"." + static_cast<char16_t>(u'0' + c);
    return row;
}

// Every element that holds a text node, in document order.
std::vector<pugi::xml_node> textElements(pugi::xml_node node) {
    std::vector<pugi::xml_node> found;
    for (pugi::xml_node c : node.children()) {
        if (c.type() == pugi::node_pcdata) found.push_back(node);
        for (pugi::xml_node inner : textElements(c)) found.push_back(inner);
    }
    return found;
}

const ReportMeasurement kMeasurement{u"баллон 17", u"партия 4", u"14.11.2023", u"9:05"};

// pugixml's allocations, failing once `allocationsLeft` reaches 0 (-1: never).
int allocationsLeft = -1;
void* limitedAllocate(std::size_t size) {
    if (allocationsLeft == 0) return nullptr;
    if (allocationsLeft > 0) --allocationsLeft;
    return std::malloc(size);
}

}  // namespace

TEST(FillProtocolDocument, ADocumentThatRunsOutOfMemoryThrowsInsteadOfStayingIncomplete) {
    ProtocolReport report;
    report.protocolDate = u"01.02.2024";
    report.measurement = kMeasurement;
    report.operatorName = u"Петрова А. В.";
    // Long cells, so that the document needs several allocations besides its first page.
    for (int r = 0; r < 9; ++r)
        report.rows.push_back(rowOf(std::u16string(250, u'ж') + static_cast<char16_t>(u'0' + r)));

    pugi::set_memory_management_functions(limitedAllocate, std::free);
    int failed = 0;
    for (int limit = 0; limit < 1000; ++limit) {
        allocationsLeft = limit;
        try {
            ProtocolDocument document;
            FillProtocolDocument(document, report);
            allocationsLeft = -1;
            // The first fill that did not throw is whole.
            const pugi::xml_node table = child(document.root(), "table1");
            ASSERT_EQ(childNames(table), Names(9, "row"));
            for (pugi::xml_node row : table.children()) ASSERT_EQ(childNames(row), kRowNames);
            EXPECT_EQ(textOf(child(child(table, "row"), "Result")), report.rows[0][8]);
            break;
        } catch (const std::bad_alloc&) {
            ++failed;
        }
    }
    allocationsLeft = -1;
    pugi::set_memory_management_functions(std::malloc, std::free);
    EXPECT_GT(failed, 2);
}

TEST(FillProtocolDocument, RootChildrenFollowWhatWasFoundWithoutGaps) {
    struct Case {
        const char* what;
        bool measurement;
        bool operatorName;
        int rows;
        Names expected;
    };
    const Case cases[] = {
        {"nothing found, empty list", false, false, 0, {"ProtocolDate"}},
        {"nothing found, list rows", false, false, 2, {"ProtocolDate", "table1"}},
        {"everything",
         true,
         true,
         9,
         {"ProtocolDate", "Sample", "Comment", "Date", "Time", "Operator", "table1"}},
        {"everything but rows",
         true,
         true,
         0,
         {"ProtocolDate", "Sample", "Comment", "Date", "Time", "Operator"}},
        {"measurement without operator row",
         true,
         false,
         1,
         {"ProtocolDate", "Sample", "Comment", "Date", "Time", "table1"}},
        {"operator alone", false, true, 1, {"ProtocolDate", "Operator", "table1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProtocolReport report;
        report.protocolDate = u"01.02.2024";
        if (c.measurement) report.measurement = kMeasurement;
        if (c.operatorName) report.operatorName = u"Петрова А. В.";
        for (int r = 0; r < c.rows; ++r)
            report.rows.push_back(rowOf(u"r" + std::u16string(1, u'0' + r)));

        ProtocolDocument document;
        FillProtocolDocument(document, report);
        const pugi::xml_node root = document.root();
        EXPECT_EQ(childNames(document.document()), (Names{"xml", "root"}));
        ASSERT_EQ(childNames(root), c.expected);

        EXPECT_EQ(textOf(child(root, "ProtocolDate")), u"01.02.2024");
        if (c.measurement) {
            EXPECT_EQ(textOf(child(root, "Sample")), kMeasurement.sample);
            EXPECT_EQ(textOf(child(root, "Comment")), kMeasurement.comment);
            EXPECT_EQ(textOf(child(root, "Date")), kMeasurement.date);
            EXPECT_EQ(textOf(child(root, "Time")), kMeasurement.time);
        }
        if (c.operatorName) {
            EXPECT_EQ(textOf(child(root, "Operator")), u"Петрова А. В.");
        }

        const pugi::xml_node table = child(root, "table1");
        ASSERT_EQ(childNames(table), Names(c.rows, "row"));
        int r = 0;
        for (pugi::xml_node row : table.children()) {
            SCOPED_TRACE(r);
            ASSERT_EQ(childNames(row), kRowNames);
            const ReportRow expected = rowOf(u"r" + std::u16string(1, u'0' + r));
            std::size_t column = 0;
            for (pugi::xml_node cell : row.children()) EXPECT_EQ(textOf(cell), expected[column++]);
            ++r;
        }
    }
}

TEST(FillProtocolDocument, EmptyValuesStillGetTheirTextNodes) {
    ProtocolReport report;
    report.measurement = ReportMeasurement{};
    report.operatorName = u"";
    report.rows.push_back(ReportRow{});
    ProtocolDocument document;
    FillProtocolDocument(document, report);

    const pugi::xml_node root = document.root();
    for (const char* name : {"ProtocolDate", "Sample", "Comment", "Date", "Time", "Operator"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(childNames(child(root, name)), Names{"#text"});
        EXPECT_EQ(textOf(child(root, name)), u"");
    }
    const pugi::xml_node row = child(child(root, "table1"), "row");
    ASSERT_EQ(childNames(row), kRowNames);
    for (pugi::xml_node cell : row.children()) {
        EXPECT_EQ(childNames(cell), Names{"#text"});
        EXPECT_EQ(textOf(cell), u"");
    }
}

TEST(FillProtocolDocument, CellsAreCutTo259UnitsAndOtherTextsAreNot) {
    const std::u16string pair = u"\U0001F388";
    struct Case {
        std::u16string cell;
        std::u16string expected;
    };
    const Case cases[] = {
        {std::u16string(258, u'a'), std::u16string(258, u'a')},
        {std::u16string(259, u'b'), std::u16string(259, u'b')},
        {std::u16string(260, u'c'), std::u16string(259, u'c')},
        {std::u16string(1000, u'ё'), std::u16string(259, u'ё')},
        // A pair across the cut leaves no lone half behind.
        {std::u16string(258, u'd') + pair + u"e", std::u16string(258, u'd')},
        {std::u16string(257, u'f') + pair + u"g", std::u16string(257, u'f') + pair},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cell.size());
        ProtocolReport report;
        report.measurement = ReportMeasurement{c.cell, c.cell, u"", u""};
        report.operatorName = c.cell;
        ReportRow row;
        row.fill(c.cell);
        report.rows.push_back(row);
        ProtocolDocument document;
        FillProtocolDocument(document, report);

        const pugi::xml_node root = document.root();
        EXPECT_EQ(textOf(child(root, "Sample")), c.cell);
        EXPECT_EQ(textOf(child(root, "Comment")), c.cell);
        EXPECT_EQ(textOf(child(root, "Operator")), c.cell);
        for (pugi::xml_node cell : child(child(root, "table1"), "row").children())
            EXPECT_EQ(textOf(cell), c.expected);
    }
}

TEST(FillProtocolDocument, MarkupIsStoredRawAndEscapedOnlyWhenWrittenOut) {
    const std::u16string markup = u"<проба> & \"кавычки\" 'A' ]]> &lt;";
    ProtocolReport report;
    report.protocolDate = markup;
    report.measurement = ReportMeasurement{markup, markup, markup, markup};
    report.operatorName = markup;
    ReportRow row;
    row.fill(markup);
    report.rows.push_back(row);
    ProtocolDocument document;
    FillProtocolDocument(document, report);

    const std::vector<pugi::xml_node> leaves = textElements(document.document());
    ASSERT_EQ(leaves.size(), 6u + 9u);
    for (pugi::xml_node leaf : leaves) EXPECT_EQ(textOf(leaf), markup);

    // Written out and read back, the same texts come back: the writer escapes, not the tree.
    std::basic_ostringstream<pugi::char_t> written;
    document.document().print(written);
    pugi::xml_document reread;
    ASSERT_TRUE(reread.load_string(written.str().c_str()));
    const pugi::xml_node root = reread.child(PUGIXML_TEXT("root"));
    EXPECT_EQ(textOf(child(root, "Sample")), markup);
    EXPECT_EQ(textOf(child(child(child(root, "table1"), "row"), "Result")), markup);
}
