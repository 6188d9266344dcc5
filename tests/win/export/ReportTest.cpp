// The report button under Wine: what the host receives, when it is called at all, and what
// the user is shown.
#include <windows.h>

#include <chrono>

#include "datetime/LocalDateTime.h"
#include "tests/win/export/ExportHost.h"
#include "tests/win/export/ReportFixture.h"
#include "ui/ExportProtocolReport.h"

using Schema = HostDatabase::Schema;
using Names = std::vector<std::string>;

namespace {

const Names kRowNames = {"Name",  "First",  "Last",   "Mid",   "Repeat",
                         "Limit", "Rating", "Uncert", "Result"};
const std::u16string kReportFailed = u"Возникли ошибки при формировании отчёта";

std::int64_t now() {
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

// The user's short date and time without seconds of a calendar time (the tests run in UTC),
// straight from the locale functions.
std::u16string shortDate(SYSTEMTIME time) {
    wchar_t text[64] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text, 64);
    return std::u16string(text, text + wcslen(text));
}
std::u16string timeWithoutSeconds(SYSTEMTIME time) {
    wchar_t text[64] = {};
    GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &time, nullptr, text, 64);
    return std::u16string(text, text + wcslen(text));
}

// Leaves the stack below the caller full of non-zero bytes, so that bytes a callee never
// writes show as such instead of reading as zero by chance.
[[gnu::noinline]] void dirtyStack() {
    volatile unsigned char bytes[64 * 1024];
    for (auto& byte : bytes) byte = 0xA5;
}

}  // namespace

TEST_F(ReportTest, HeaderAndOperatorComeFromTheQueriesTheSchemaVersionSelects) {
    struct Case {
        const char* what;
        Schema schema;
        std::optional<int> version;  // empty: [versioninfo] has no row
        std::optional<std::int64_t> operatorId;
        std::u16string expected;
    };
    const Case cases[] = {
        {"26 joins [operator]", Schema::WithOperatorTable, 26, 3, u"Кузнецова Е. А."},
        {"empty versioninfo is 0", Schema::WithOperatorTable, std::nullopt, 3, u"Кузнецова Е. А."},
        {"operator row missing", Schema::WithOperatorTable, 26, 404, u""},
        {"27 reads employee_name", Schema::WithEmployeeName, 27, std::nullopt, u"Смирнов П. Р."},
    };
    // 2023-11-14 09:45:25 UTC
    const std::int64_t date = 1699955125;
    const SYSTEMTIME calendar{2023, 11, 2, 14, 9, 45, 25, 0};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetHost();
        HostDatabase& db = NewDatabase(c.schema);
        if (c.version) db.addVersion(*c.version, 200, 1);
        if (c.schema == Schema::WithOperatorTable) db.addOperator(3, "Кузнецова Е. А.");
        const AssayId id = db.addAssay({.date = date,
                                        .sample = "Гелий марки А, баллон 7",
                                        .comment = "<после очистки> & повторно",
                                        .operatorId = c.operatorId,
                                        .employeeName = "Смирнов П. Р."});
        SetSecondAssay(id);
        SetRows({RowOf(u"a"), RowOf(u"b")});

        const std::int64_t before = now();
        EXPECT_TRUE(PressReport().empty());
        const std::int64_t after = now();
        ASSERT_EQ(TheExportHost().exporter.calls(), 1);

        const pugi::xml_node root = ReceivedRoot();
        ASSERT_EQ(ChildNames(root), (Names{"ProtocolDate", "Sample", "Comment", "Date", "Time",
                                           "Operator", "table1"}));
        const std::u16string reportDate = TextOf(root, "ProtocolDate");
        EXPECT_TRUE(reportDate == FormatLocalDate(before) || reportDate == FormatLocalDate(after));
        EXPECT_EQ(TextOf(root, "Sample"), u"Гелий марки А, баллон 7");
        EXPECT_EQ(TextOf(root, "Comment"), u"<после очистки> & повторно");
        EXPECT_EQ(TextOf(root, "Date"), shortDate(calendar));
        EXPECT_EQ(TextOf(root, "Time"), timeWithoutSeconds(calendar));
        EXPECT_EQ(TextOf(root, "Operator"), c.expected);
    }
}

TEST_F(ReportTest, TheRequestNamesTheTemplateAndTheDocumentIsDeclared) {
    HostDatabase& db = NewDatabase(Schema::WithOperatorTable);
    SetSecondAssay(db.addAssay({.date = 0}));
    EXPECT_TRUE(PressReport().empty());
    const auto& received = TheExportHost().exporter.lastReceived();
    ASSERT_TRUE(received);
    EXPECT_EQ(received->kind, 0);
    EXPECT_TRUE(received->flag);
    EXPECT_EQ(received->templateName, L"Export_Protocol.odt");
    EXPECT_EQ(TheExportHost().topics, std::vector<std::string>{"Export/ExportToOdt"});

    const pugi::xml_node declaration = received->tree->first_child();
    EXPECT_EQ(declaration.type(), pugi::node_declaration);
    EXPECT_EQ(std::wstring(declaration.attribute(L"version").value()), L"1.0");
    EXPECT_EQ(std::wstring(declaration.attribute(L"encoding").value()), L"utf-8");
    EXPECT_EQ(declaration.next_sibling(), received->tree->child(L"root"));
    // A NULL date is the first second of 1970 in local time.
    EXPECT_EQ(TextOf(ReceivedRoot(), "Date"), shortDate(SYSTEMTIME{1970, 1, 4, 1, 0, 0, 0, 0}));

    // A host that declares the flag a 32-bit BOOL reads 1: the bytes after it are zero, not
    // whatever the stack held before (the report runs right above a stack made non-zero).
    ResetHost();
    dirtyStack();
    ExportProtocolReport(window_);
    ASSERT_TRUE(TheExportHost().exporter.lastReceived());
    EXPECT_EQ(TheExportHost().exporter.lastReceived()->flagAsBool, 1u);
}

TEST_F(ReportTest, WithoutMeasurementOrRowsOnlyWhatIsThereIsSent) {
    struct Case {
        const char* what;
        AssayId second;
        int rows;
        Names expected;
    };
    const Case cases[] = {
        {"nothing chosen", 0, 9, {"ProtocolDate", "table1"}},
        {"negative id", -7, 9, {"ProtocolDate", "table1"}},
        {"id without row", 999, 1, {"ProtocolDate", "table1"}},
        {"nothing at all", 0, 0, {"ProtocolDate"}},
        {"empty list", 1, 0, {"ProtocolDate", "Sample", "Comment", "Date", "Time", "Operator"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetHost();
        HostDatabase& db = NewDatabase(Schema::WithOperatorTable);
        db.addVersion(26, 1, 1);
        db.addAssay({.id = 1, .date = 5});
        SetSecondAssay(c.second);
        std::vector<ListRow> rows;
        for (int r = 0; r < c.rows; ++r) rows.push_back(RowOf(u"r" + std::u16string(1, u'0' + r)));
        SetRows(rows);
        EXPECT_TRUE(PressReport().empty());
        ASSERT_EQ(TheExportHost().exporter.calls(), 1);
        const pugi::xml_node root = ReceivedRoot();
        EXPECT_EQ(ChildNames(root), c.expected);
        EXPECT_EQ(ChildNames(root.child(L"table1")), Names(c.rows, "row"));
    }
}

TEST_F(ReportTest, RowsAreTheListsCellsInOrderCutTo259Units) {
    HostDatabase& db = NewDatabase(Schema::WithOperatorTable);
    db.addVersion(26, 1, 1);
    std::vector<ListRow> rows;
    for (int r = 0; r < 9; ++r) rows.push_back(RowOf(u"строка" + std::u16string(1, u'0' + r)));
    rows[2][8] = std::u16string(300, u'щ');
    rows[4][0] = u"";
    rows[5][3] = u"<менее> & 0.000020";
    SetRows(rows);
    EXPECT_TRUE(PressReport().empty());

    const pugi::xml_node table = ReceivedRoot().child(L"table1");
    ASSERT_EQ(ChildNames(table), Names(9, "row"));
    std::size_t r = 0;
    for (pugi::xml_node row : table.children()) {
        SCOPED_TRACE(r);
        ASSERT_EQ(ChildNames(row), kRowNames);
        for (std::size_t c = 0; c < 9; ++c) {
            const std::u16string expected =
                rows[r][c].size() > 259 ? rows[r][c].substr(0, 259) : rows[r][c];
            EXPECT_EQ(TextOf(row, kRowNames[c].c_str()), expected) << c;
        }
        ++r;
    }
}

TEST_F(ReportTest, OnlyANegativeHostResultWarns) {
    for (std::int32_t result : {-1, 0, 1, -2147483647 - 1, 2}) {
        SCOPED_TRACE(result);
        ResetHost(result);
        HostDatabase& db = NewDatabase(Schema::WithOperatorTable);
        db.addVersion(26, 1, 1);
        SetRows({RowOf(u"x")});
        const std::vector<MessageBoxText> boxes = PressReport();
        EXPECT_EQ(TheExportHost().exporter.calls(), 1);
        if (result >= 0) {
            EXPECT_TRUE(boxes.empty());
            continue;
        }
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, kReportFailed);
        EXPECT_EQ(boxes[0].caption, u"Ошибка");
        EXPECT_EQ(boxes[0].owner, window_);
        EXPECT_TRUE(IsWindow(window_));
    }
}

TEST_F(ReportTest, DatabaseFailuresWarnInsideTheWindowAndNeverReachTheHost) {
    struct Case {
        const char* what;
        Schema schema;
        bool withVersionInfo;
        int version;
        const char* detail;
    };
    const Case cases[] = {
        {"no versioninfo", Schema::WithOperatorTable, false, 0, "no such table: versioninfo"},
        {"27 without employee_name", Schema::WithOperatorTable, true, 27,
         "no such column: employee_name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetHost();
        HostDatabase& db = NewDatabase(c.schema, c.withVersionInfo);
        if (c.withVersionInfo) db.addVersion(c.version, 1, 1);
        SetSecondAssay(db.addAssay({.date = 1}));
        SetRows({RowOf(u"x")});
        const std::vector<MessageBoxText> boxes = PressReport();
        EXPECT_EQ(TheExportHost().exporter.calls(), 0);
        EXPECT_TRUE(TheExportHost().topics.empty());
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].owner, window_);
        EXPECT_EQ(boxes[0].caption, u"Ошибка");
        EXPECT_EQ(boxes[0].text.rfind(kReportFailed, 0), 0u);
        EXPECT_NE(boxes[0].text.find(std::u16string(c.detail, c.detail + strlen(c.detail))),
                  std::u16string::npos);
        EXPECT_TRUE(IsWindow(window_));
    }
}
