#include "ui/ProtocolColumns.h"

#include <commctrl.h>

#include <iterator>

#include "module/Module.h"
#include "ui/ColumnWidth.h"
#include "ui/WindowDpi.h"
#include "ui/resource.h"

namespace {

struct Column {
    int header;
    int width;  // pixels at 96 DPI
    int format;
};

constexpr Column kColumns[] = {
    {IDS_COLUMN_COMPONENT, 100, LVCFMT_LEFT},      {IDS_COLUMN_FIRST, 100, LVCFMT_RIGHT},
    {IDS_COLUMN_SECOND, 100, LVCFMT_RIGHT},        {IDS_COLUMN_MEAN, 100, LVCFMT_RIGHT},
    {IDS_COLUMN_REPEATABILITY, 100, LVCFMT_RIGHT}, {IDS_COLUMN_LIMIT, 100, LVCFMT_RIGHT},
    {IDS_COLUMN_RATING, 50, LVCFMT_RIGHT},         {IDS_COLUMN_UNCERTAINTY, 100, LVCFMT_RIGHT},
    {IDS_COLUMN_RESULT, 120, LVCFMT_RIGHT},
};
constexpr int kColumnCount = static_cast<int>(std::size(kColumns));

}  // namespace

void AddProtocolColumns(HWND list) {
    HINSTANCE module = ModuleInstance();
    const int dpi = WindowDpi(list);
    for (int index = 0; index < kColumnCount; ++index) {
        wchar_t header[260] = {};
        LoadStringW(module, kColumns[index].header, header, 260);
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = kColumns[index].format;
        column.cx = scaledColumnWidth(kColumns[index].width, dpi);
        column.pszText = header;
        column.iSubItem = index;
        SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
    }
}

void FitProtocolColumns(HWND list) {
    const int dpi = WindowDpi(list);
    for (int index = 0; index < kColumnCount; ++index) {
        // The list view measures for itself: its own font, margins and header. The last
        // column is measured by its cells, as the header's fit would stretch it to the edge.
        const LPARAM measure =
            index == kColumnCount - 1 ? LVSCW_AUTOSIZE : LVSCW_AUTOSIZE_USEHEADER;
        SendMessageW(list, LVM_SETCOLUMNWIDTH, index, measure);
        const auto fit = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, index, 0));
        const int width = fittedColumnWidth(kColumns[index].width, dpi, fit);
        SendMessageW(list, LVM_SETCOLUMNWIDTH, index, MAKELPARAM(width, 0));
    }
}
