#include "ui/ProtocolWindowActions.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "database/AssayQueries.h"
#include "database/SqlConnection.h"
#include "datetime/LocalDateTime.h"
#include "module/Module.h"
#include "protocol/ComputeProtocol.h"
#include "protocol/ReadComponentConcentrations.h"
#include "text/WideText.h"
#include "ui/AssayText.h"
#include "ui/FailureMessage.h"
#include "ui/Guarded.h"
#include "ui/LabelAssayId.h"
#include "ui/LabelRouting.h"
#include "ui/MeasurementSelectionDialog.h"
#include "ui/ProtocolColumns.h"
#include "ui/SelectionRecord.h"
#include "ui/resource.h"

namespace {

constexpr const char* kOpenFileTopic = "Main/OpenVantrelFile";

using ImpurityCalculation::ProtocolTable;

void showAssayInLabel(HWND window, const AssaySummary& row, AssayId recordFirst) {
    const int labelId = labelForAssay(row.id, recordFirst) == AssayLabel::First ? IDC_FIRST_LABEL
                                                                                : IDC_SECOND_LABEL;
    HWND label = GetDlgItem(window, labelId);
    const auto text =
        formatAssayLabel(FormatLocalDate(row.date), FormatLocalTime(row.date, 0), row.sample);
    SetWindowTextW(label, asWide(text.c_str()));
    SetLabelAssayId(label, row.id);
}

void renderProtocol(HWND window, const ProtocolTable& table) {
    HWND list = GetDlgItem(window, IDC_PROTOCOL_LIST);
    for (int row = 0; row < static_cast<int>(table.rows.size()); ++row) {
        LVITEMW item{};
        item.iItem = row;
        const auto index = SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        if (index < 0) continue;
        for (int column = 0; column < static_cast<int>(table[row].cells.size()); ++column) {
            auto cell = joinBounded<kAssayTextCapacity>({table[row][column]});
            LVITEMW sub{};
            sub.iSubItem = column;
            sub.pszText = asWide(cell.units.data());
            SendMessageW(list, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&sub));
        }
    }
    FitProtocolColumns(list);
}

}  // namespace

void SelectAndCalculate(HWND window) {
    SelectionRecord record;
    record.first = LabelAssayId(GetDlgItem(window, IDC_FIRST_LABEL));
    record.second = LabelAssayId(GetDlgItem(window, IDC_SECOND_LABEL));
    if (RunMeasurementSelectionDialog(window, record) != IDOK) return;

    bool gone = false;
    Guarded(window, kCalculationFailed, [&] {
        std::vector<AssaySummary> pair;
        ProtocolTable table;
        {
            auto db = DataBase::SqlConnection::fromStoredUri();
            pair = DataBase::QueryPairSummary(db, record.first, record.second);
            // The window keeps the protocol and labels it had, which still belong together.
            if (!holdsPair(pair, record.first, record.second)) {
                gone = true;
                return;
            }
            table = ImpurityCalculation::computeProtocol(
                ImpurityCalculation::readComponentConcentrations(db, record.first, record.second));
        }
        SendDlgItemMessageW(window, IDC_PROTOCOL_LIST, LVM_DELETEALLITEMS, 0, 0);
        for (const AssaySummary& row : pair) showAssayInLabel(window, row, record.first);
        renderProtocol(window, table);
    });
    if (gone) ShowWarning(window, kChosenMeasurementGone);
}

void OpenMeasurementFile(HWND window, AssayId id) {
    if (HostHasHandler(kOpenFileTopic) == 0) return;
    // An empty label has nothing to open; asking the database would only risk a message.
    if (id <= 0) return;
    Guarded(window, kOpenFileFailed, [&] {
        std::vector<std::u16string> files;
        {
            auto db = DataBase::SqlConnection::fromStoredUri();
            files = DataBase::QueryMeasurementFiles(db, id);
        }
        for (const std::u16string& file : files) {
            const std::wstring name = toWide(file);
            HostRequest(kOpenFileTopic, 0, reinterpret_cast<std::intptr_t>(name.c_str()));
        }
    });
}
