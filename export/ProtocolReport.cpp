#include "export/ProtocolReport.h"

#include "text/Utf16.h"

std::u16string_view CutCellText(std::u16string_view cell) {
    return cell.substr(0, cutPoint(cell, kReportCellCapacity - 1));
}
