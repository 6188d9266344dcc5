#include "ui/ProtocolListText.h"

#include <commctrl.h>

#include "text/WideText.h"

std::optional<std::u16string> ListColumnHeader(HWND list, int column) {
    wchar_t header[kListTextCapacity] = {};
    LVCOLUMNW request{};
    request.mask = LVCF_TEXT;
    request.pszText = header;
    request.cchTextMax = kListTextCapacity;
    if (!SendMessageW(list, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&request)))
        return std::nullopt;
    header[kListTextCapacity - 1] = 0;
    return fromWide(header);
}

std::u16string ListCellText(HWND list, int row, int column) {
    wchar_t cell[kListTextCapacity] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = cell;
    item.cchTextMax = kListTextCapacity;
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    cell[kListTextCapacity - 1] = 0;
    return fromWide(cell);
}
