#include "ui/ExportProtocolReport.h"

#include <commctrl.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>

#include "database/SqlConnection.h"
#include "datetime/LocalDateTime.h"
#include "export/FillProtocolDocument.h"
#include "export/ProtocolDocument.h"
#include "export/ReadReportMeasurement.h"
#include "module/HostApi.h"
#include "module/Module.h"
#include "text/WideText.h"
#include "ui/Guarded.h"
#include "ui/LabelAssayId.h"
#include "ui/ProtocolListText.h"
#include "ui/ReportMessages.h"
#include "ui/resource.h"

namespace {

std::int64_t nowUnixSeconds() {
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

// The list's rows as it shows them, each cell read back into a buffer of 260 units.
std::vector<ReportRow> readListRows(HWND list) {
    static_assert(kListTextCapacity == kReportCellCapacity);
    std::vector<ReportRow> rows;
    const auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        ReportRow& row = rows.emplace_back();
        for (int column = 0; column < static_cast<int>(kReportColumnCount); ++column)
            row[column] = ListCellText(list, index, column);
    }
    return rows;
}

}  // namespace

void ExportProtocolReport(HWND window) {
    const AssayId second = LabelAssayId(GetDlgItem(window, IDC_SECOND_LABEL));

    ProtocolDocument document;
    ProtocolReport report;
    report.protocolDate = FormatLocalDate(nowUnixSeconds());

    // Declared after the document, so the connection closes first when the report ends.
    auto db = DataBase::SqlConnection::fromStoredUri();
    ReadReportMeasurement(db, second, report);
    report.rows = readListRows(GetDlgItem(window, IDC_PROTOCOL_LIST));
    FillProtocolDocument(document, report);

    // The host reads the tree and the request during the call and keeps neither.
    pugi::xml_node root = document.root();
    // Zeroed whole first: a host that reads the flag as a 4-byte BOOL also reads the three
    // bytes after it.
    ExportRequest request;
    std::memset(&request, 0, sizeof request);
    request.kind = 0;
    request.flag = true;
    request.templateName = L"Export_Protocol.odt";
    const auto result = static_cast<std::int32_t>(
        HostRequest("Export/ExportToOdt", reinterpret_cast<std::intptr_t>(&root),
                    reinterpret_cast<std::intptr_t>(&request)));
    if (result < 0)
        MessageBoxW(window, ReportFailureText(), ReportFailureCaption(), MB_OK | MB_ICONWARNING);
}

void ReportProtocol(HWND window) noexcept {
    try {
        const std::u16string sentence = fromWide(ReportFailureText());
        Guarded(window, sentence, [&] { ExportProtocolReport(window); });
    } catch (...) {
        // Only the sentence's allocation can fail here; the report has not started.
    }
}
