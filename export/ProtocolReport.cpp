#include "export/ProtocolReport.h"

std::u16string_view CutCellText(std::u16string_view cell) {
    constexpr std::size_t limit = kReportCellCapacity - 1;
    if (cell.size() <= limit) return cell;
    std::u16string_view kept = cell.substr(0, limit);
    const char16_t last = kept.back();
    if (last >= 0xD800 && last <= 0xDBFF) kept.remove_suffix(1);
    return kept;
}
