// The test host renders the report into a real OpenDocument text: read back here with
// minizip's own reader, independent of the writer.
#include <windows.h>

#include <unzip.h>
// After unzip.h, which it builds on.
#include <iowin32.h>

#include <filesystem>
#include <fstream>

#include "module/HostApi.h"
#include "tests/win/export/ExportHost.h"
#include "tests/win/export/ReportFixture.h"

using Schema = HostDatabase::Schema;
namespace fs = std::filesystem;

namespace {

fs::path programFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

fs::path scratchFolder() {
    const fs::path folder = fs::temp_directory_path() / L"nivra-odt-tests";
    fs::create_directories(folder);
    return folder;
}

struct PackageEntry {
    std::string name;
    unsigned long method = 0;
    std::string bytes;
};

std::vector<PackageEntry> unzipAll(const fs::path& path) {
    std::vector<PackageEntry> entries;
    zlib_filefunc64_def functions{};
    fill_win32_filefunc64W(&functions);
    unzFile file = unzOpen2_64(path.c_str(), &functions);
    if (!file) return entries;
    for (int status = unzGoToFirstFile(file); status == UNZ_OK; status = unzGoToNextFile(file)) {
        unz_file_info64 info{};
        char name[256] = {};
        unzGetCurrentFileInfo64(file, &info, name, sizeof name - 1, nullptr, 0, nullptr, 0);
        PackageEntry entry{name, info.compression_method,
                           std::string(static_cast<std::size_t>(info.uncompressed_size), '\0')};
        unzOpenCurrentFile(file);
        if (!entry.bytes.empty()) {
            EXPECT_EQ(unzReadCurrentFile(file, entry.bytes.data(),
                                         static_cast<unsigned>(entry.bytes.size())),
                      static_cast<int>(entry.bytes.size()));
        }
        EXPECT_EQ(unzCloseCurrentFile(file), UNZ_OK) << "CRC of " << name;
        entries.push_back(std::move(entry));
    }
    unzClose(file);
    return entries;
}

const PackageEntry* find(const std::vector<PackageEntry>& entries, const std::string& name) {
    for (const PackageEntry& entry : entries)
        if (entry.name == name) return &entry;
    return nullptr;
}

// The texts of the paragraphs in the rows of the table "table1" of a content.xml: its header
// rows, then its body rows.
std::vector<std::vector<std::wstring>> tableRows(const std::string& content) {
    pugi::xml_document document;
    EXPECT_TRUE(document.load_buffer(content.data(), content.size(), pugi::parse_default,
                                     pugi::encoding_utf8));
    std::vector<std::vector<std::wstring>> rows;
    const pugi::xpath_node table =
        document.select_node(L"//*[name()='table:table'][@*[name()='table:name']='table1']");
    const pugi::xml_node header = table.node().child(L"table:table-header-rows");
    for (pugi::xml_node row : header.children(L"table:table-row")) {
        std::vector<std::wstring>& cells = rows.emplace_back();
        for (pugi::xml_node cell : row.children(L"table:table-cell"))
            cells.push_back(cell.child(L"text:p").child_value());
    }
    for (pugi::xml_node row : table.node().children(L"table:table-row")) {
        std::vector<std::wstring>& cells = rows.emplace_back();
        for (pugi::xml_node cell : row.children(L"table:table-cell"))
            cells.push_back(cell.child(L"text:p").child_value());
    }
    return rows;
}

std::wstring wide(const std::u16string& text) {
    return std::wstring(text.begin(), text.end());
}

// After ResetHost, the host renders the next report for real, from the template beside the
// program into `output` (removed first, so a stale package cannot pass).
void exportInto(const fs::path& output) {
    fs::remove(output);
    OdtExportSettings& settings = TheExportHost().exporter.settings();
    settings.forcedResult.reset();
    settings.templateFolder = programFolder();
    settings.output = output;
}

}  // namespace

TEST_F(ReportTest, ReportBecomesAnOpenDocumentTextHoldingTheProtocolsRows) {
    const fs::path output = scratchFolder() / L"protocol.odt";
    ResetHost();
    exportInto(output);

    HostDatabase& db = NewDatabase(Schema::WithEmployeeName);
    db.addVersion(27, 1, 1);
    SetSecondAssay(
        db.addAssay({.date = 1700000000, .sample = "Баллон <17> & K", .employeeName = "Орлова"}));
    std::vector<ListRow> rows;
    for (const char16_t* name : {u"Азот", u"Кислород", u"Метан", u"Неон", u"Водород", u"СО", u"СО2",
                                 u"СО+СО2", u"Гелий"}) {
        ListRow row = RowOf(name);
        row[0] = name;
        rows.push_back(row);
    }
    SetRows(rows);

    EXPECT_TRUE(PressReport().empty());
    ASSERT_EQ(TheExportHost().exporter.lastError(), "");
    const std::vector<PackageEntry> entries = unzipAll(output);
    ASSERT_FALSE(entries.empty()) << "no package written";
    EXPECT_EQ(entries[0].name, "mimetype");
    EXPECT_EQ(entries[0].method, 0u) << "mimetype is stored";
    EXPECT_EQ(entries[0].bytes, "application/vnd.oasis.opendocument.text");
    ASSERT_NE(find(entries, "META-INF/manifest.xml"), nullptr);
    const PackageEntry* content = find(entries, "content.xml");
    ASSERT_NE(content, nullptr);
    EXPECT_EQ(content->method, static_cast<unsigned long>(Z_DEFLATED));
    EXPECT_EQ(content->bytes.find("${"), std::string::npos);
    EXPECT_NE(content->bytes.find("Баллон &lt;17&gt; &amp; K"), std::string::npos);

    const auto written = tableRows(content->bytes);
    ASSERT_EQ(written.size(), 1 + rows.size()) << "header and one row per list row";
    EXPECT_EQ(written[0],
              (std::vector<std::wstring>{L"Компонент", L"1 измерение", L"2 измерение", L"Среднее",
                                         L"Повторяемость", L"Предел", L"Оценка",
                                         L"Неопределенность", L"Результат"}));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        SCOPED_TRACE(r);
        ASSERT_EQ(written[r + 1].size(), 9u);
        for (std::size_t c = 0; c < 9; ++c) EXPECT_EQ(written[r + 1][c], wide(rows[r][c]));
    }
    const PackageEntry* styles = find(entries, "styles.xml");
    ASSERT_NE(styles, nullptr);
    EXPECT_EQ(styles->bytes.find("${"), std::string::npos);
}

// A pasted soft line break (vertical tab), a scanner's group separator and 0x01 in the sample,
// a form feed in the comment: the report stays a document any XML reader opens. The package is
// left beside the program for the strict parser of export_win_strict_xml.
TEST_F(ReportTest, ControlCharactersInTextsBecomeSpacesAndTheReportStaysXml) {
    const fs::path output = programFolder() / L"control-characters.odt";
    ResetHost();
    exportInto(output);

    HostDatabase& db = NewDatabase(Schema::WithEmployeeName);
    db.addVersion(27, 1, 1);
    SetSecondAssay(db.addAssay({.date = 1700000000,
                                .sample = "Баллон\v17\x1D\x01 <A&B>",
                                .comment = "проба\f",
                                .employeeName = "Орлова"}));
    SetRows({RowOf(u"Азот"), RowOf(u"Гелий")});

    EXPECT_TRUE(PressReport().empty());
    ASSERT_EQ(TheExportHost().exporter.lastError(), "");
    EXPECT_EQ(TextOf(ReceivedRoot(), "Sample"), u"Баллон 17   <A&B>");
    EXPECT_EQ(TextOf(ReceivedRoot(), "Comment"), u"проба ");
    EXPECT_EQ(TextOf(ReceivedRoot(), "Operator"), u"Орлова");
    const std::vector<PackageEntry> entries = unzipAll(output);
    const PackageEntry* content = find(entries, "content.xml");
    ASSERT_NE(content, nullptr);
    EXPECT_EQ(content->bytes.find("&#"), std::string::npos) << "no character reference";
    EXPECT_NE(content->bytes.find("Баллон 17   &lt;A&amp;B&gt;"), std::string::npos);
}

TEST_F(ReportTest, AHostThatCannotRenderAnswersNegativeAndTheUserIsWarned) {
    const fs::path scratch = scratchFolder();
    const fs::path damaged = scratch / L"damaged";
    fs::create_directories(damaged);
    std::ofstream(damaged / L"Export_Protocol.odt", std::ios::binary) << "not a zip at all";
    const fs::path kept = scratch / L"kept.odt";
    std::ofstream(kept, std::ios::binary) << "earlier report";

    struct Case {
        const char* what;
        fs::path templateFolder;
        fs::path output;
    };
    const Case cases[] = {
        {"no template", scratch / L"missing", scratch / L"a.odt"},
        {"template not a package", damaged, kept},
        {"output folder missing", programFolder(), scratch / L"missing" / L"b.odt"},
        {"no output", programFolder(), fs::path()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetHost();
        OdtExportSettings& settings = TheExportHost().exporter.settings();
        settings.forcedResult.reset();
        settings.templateFolder = c.templateFolder;
        settings.output = c.output;
        NewDatabase(Schema::WithOperatorTable).addVersion(26, 1, 1);
        SetRows({RowOf(u"x")});
        const std::vector<MessageBoxText> boxes = PressReport();
        EXPECT_NE(TheExportHost().exporter.lastError(), "");
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, u"Возникли ошибки при формировании отчёта");
    }
    std::ifstream earlier(kept, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(earlier)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "earlier report") << "a failed render leaves the earlier file alone";
}

TEST(OdtExportService, RejectsMissingArgumentsAndForeignTrees) {
    OdtExportService service({});
    ExportRequest request{0, true, L"Export_Protocol.odt"};
    pugi::xml_document foreign;
    pugi::xml_node notRoot = foreign.append_child(L"other");
    pugi::xml_node loose;
    EXPECT_EQ(service.serve(0, reinterpret_cast<std::intptr_t>(&request)), -1);
    EXPECT_EQ(service.serve(reinterpret_cast<std::intptr_t>(&notRoot), 0), -1);
    EXPECT_EQ(service.serve(reinterpret_cast<std::intptr_t>(&notRoot),
                            reinterpret_cast<std::intptr_t>(&request)),
              -1);
    EXPECT_EQ(service.serve(reinterpret_cast<std::intptr_t>(&loose),
                            reinterpret_cast<std::intptr_t>(&request)),
              -1);
    EXPECT_EQ(service.calls(), 4);
    EXPECT_FALSE(service.lastReceived());
}
