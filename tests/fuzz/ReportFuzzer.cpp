// Fuzzes the road from the host's database to the document the host writes out: a database
// of any shape and content, the protocol of a pair as the window computes and shows it, the
// report read and filled as "Отчёт" does, and the document written out by pugixml. The text
// must be well-formed XML 1.0 that reads back as the same tree, hold nine rows of nine cells,
// and keep every text within the buffer it went through. A database that cannot give a report
// must fail with DataBase::SqlException, as the report does. Any fault aborts.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <string>

#include "database/SqlConnection.h"
#include "database/SqlException.h"
#include "datetime/LocalDateTime.h"
#include "export/FillProtocolDocument.h"
#include "export/ProtocolDocument.h"
#include "export/PugiText.h"
#include "export/ReadReportMeasurement.h"
#include "export/XmlText.h"
#include "protocol/ComputeProtocol.h"
#include "protocol/ReadComponentConcentrations.h"
#include "tests/fuzz/FuzzedHostDatabase.h"
#include "tests/fuzz/WrittenXml.h"
#include "text/Utf16.h"
#include "text/Utf8.h"
#include "ui/AssayIdHalves.h"
#include "ui/AssayText.h"

namespace {

void Check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "report fuzzer: %s\n", what);
    std::abort();
}

// The database file of the inputs, one per process, in memory where the system offers it;
// removed when the process ends.
struct ScratchFile {
    std::string path;
    ScratchFile() {
        const std::filesystem::path shm = "/dev/shm";
        const std::filesystem::path folder =
            std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
        path = (folder / ("nivra-report-fuzz-" + std::to_string(getpid()) + ".db")).string();
    }
    ~ScratchFile() { std::remove(path.c_str()); }
};

// The window's list: each cell set from a 256-unit buffer and read back by the report into
// one of 260, both ending at the first NUL.
std::vector<ReportRow> ShownRows(const ImpurityCalculation::ProtocolTable& table) {
    std::vector<ReportRow> rows;
    for (const ImpurityCalculation::ProtocolRow& protocolRow : table.rows) {
        ReportRow& row = rows.emplace_back();
        for (std::size_t column = 0; column < kReportColumnCount; ++column) {
            const AssayText shown = joinBounded<kAssayTextCapacity>({protocolRow[column]});
            char16_t readBack[kReportCellCapacity] = {};
            for (std::size_t i = 0; i + 1 < kReportCellCapacity && shown.units[i]; ++i)
                readBack[i] = shown.units[i];
            row[column] = readBack;
        }
    }
    return rows;
}

// A text as the document must hold it: up to its first NUL, a surrogate pair kept whole,
// every other unit XML 1.0 cannot carry made a space.
std::u16string Carried(std::u16string_view text) {
    std::u16string result;
    for (std::size_t i = 0; i < text.size() && text[i] != 0; ++i) {
        const char16_t unit = text[i];
        const bool pair =
            isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1]);
        if (pair) {
            result.push_back(unit);
            result.push_back(text[++i]);
        } else {
            result.push_back(IsXmlChar(unit) ? unit : u' ');
        }
    }
    return result;
}

std::u16string TextOf(pugi::xml_node parent, const pugi::char_t* name) {
    const pugi::xml_node element = parent.child(name);
    Check(element && element.first_child().type() == pugi::node_pcdata &&
              !element.first_child().next_sibling(),
          "a text element without its one text node");
    return fromPugiText(element.child_value());
}

void CheckHeader(pugi::xml_node root, const ProtocolReport& report) {
    Check(TextOf(root, PUGIXML_TEXT("ProtocolDate")) == report.protocolDate, "ProtocolDate");
    if (report.measurement) {
        const ReportMeasurement& m = *report.measurement;
        Check(TextOf(root, PUGIXML_TEXT("Sample")) == Carried(m.sample), "Sample changed");
        Check(TextOf(root, PUGIXML_TEXT("Comment")) == Carried(m.comment), "Comment changed");
        const std::u16string date = TextOf(root, PUGIXML_TEXT("Date")),
                             time = TextOf(root, PUGIXML_TEXT("Time"));
        Check(date == m.date && date.size() < kDateTimeCapacity, "Date beyond 63 units");
        Check(time == m.time && time.size() < kDateTimeCapacity, "Time beyond 63 units");
    } else {
        Check(!root.child(PUGIXML_TEXT("Sample")), "a header without a measurement");
    }
    if (report.operatorName)
        Check(TextOf(root, PUGIXML_TEXT("Operator")) == Carried(*report.operatorName), "Operator");
}

void CheckRows(pugi::xml_node root, const std::vector<ReportRow>& shown) {
    const pugi::xml_node table = root.child(PUGIXML_TEXT("table1"));
    Check(shown.empty() == !table, "table1 present exactly when the list has rows");
    std::size_t count = 0;
    for (pugi::xml_node row : table.children()) {
        Check(count < shown.size() && std::wcscmp(row.name(), PUGIXML_TEXT("row")) == 0,
              "a row more than the list holds");
        std::size_t column = 0;
        for (pugi::xml_node cell : row.children()) {
            Check(column < kReportColumnCount &&
                      std::wcscmp(cell.name(), kRowElementNames[column]) == 0,
                  "cells out of order");
            const std::u16string text = TextOf(row, kRowElementNames[column]);
            Check(text.size() < kAssayTextCapacity, "a cell beyond the list's 255 units");
            Check(text == Carried(CutCellText(shown[count][column])),
                  "a cell differs from the list");
            const bool bound = text.starts_with(u"менее ") || text.starts_with(u"более ");
            Check(!bound || text.size() < 80, "a bound text beyond 79 units");
            ++column;
        }
        Check(column == kReportColumnCount, "a row without its nine cells");
        ++count;
    }
    Check(count == shown.size() && (shown.empty() || count == 9), "not nine rows");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFile scratch;
    const std::string& path = scratch.path;
    FuzzBytes input(data, size);
    const FuzzedDatabase stored = WriteFuzzedHostDatabase(path, input);
    DataBase::SqlConnection db(fromUtf8(path).c_str());

    // The window's "Выбрать": a failed calculation leaves the list empty.
    ProtocolReport report;
    report.protocolDate = u"01.02.2024";
    try {
        report.rows = ShownRows(ImpurityCalculation::computeProtocol(
            ImpurityCalculation::readComponentConcentrations(db, stored.first, stored.second)));
    } catch (const DataBase::SqlException&) {
    }

    // "Отчёт", with the second measurement as its label keeps it.
    try {
        ReadReportMeasurement(db, joinAssayId(splitAssayId(stored.second)), report);
    } catch (const DataBase::SqlException&) {
        return 0;
    }
    Check(stored.hasVersionInfo, "a report without [versioninfo]");
    ProtocolDocument document;
    FillProtocolDocument(document, report);

    const std::string written = WriteOut(document.document());
    if (const auto at = FirstForbiddenCharacter(written)) {
        std::fprintf(stderr, "report fuzzer: not XML 1.0 at byte %zu of:\n%s\n", *at,
                     written.c_str());
        std::abort();
    }
    // Line ends are compared as written: pugixml writes a carriage return as it is.
    pugi::xml_document reread;
    const unsigned options =
        (pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single) &
        ~pugi::parse_eol;
    Check(reread.load_buffer(written.data(), written.size(), options, pugi::encoding_utf8),
          "the written document does not parse");
    Check(SameTree(reread, document.document()), "the document reads back as another tree");

    CheckHeader(document.root(), report);
    CheckRows(document.root(), report.rows);
    return 0;
}
