#include "ui/CopyProtocol.h"

#include <commctrl.h>
#include <windowsx.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/ClipboardText.h"
#include "ui/Guarded.h"
#include "ui/ProtocolListText.h"
#include "ui/TabSeparatedText.h"
#include "ui/resource.h"

namespace {

constexpr std::u16string_view kCopyFailed = u"Не удалось скопировать протокол.";
constexpr std::u16string_view kClipboardBusy =
    u"Не удалось скопировать протокол: буфер обмена занят другой программой. "
    u"Попробуйте ещё раз.";
constexpr UINT kCopyItem = 1;
int rowCount(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

// The header line, then every row, as the list shows them.
std::vector<std::vector<std::u16string>> shownTable(HWND list) {
    std::vector<std::vector<std::u16string>> lines(1);
    while (auto header = ListColumnHeader(list, static_cast<int>(lines[0].size())))
        lines[0].push_back(std::move(*header));
    const int rows = rowCount(list);
    for (int row = 0; row < rows; ++row) {
        auto& line = lines.emplace_back();
        for (int column = 0; column < static_cast<int>(lines[0].size()); ++column)
            line.push_back(ListCellText(list, row, column));
    }
    return lines;
}

// Where a menu asked for from the keyboard opens: under the start of the selected row when
// it is in view, otherwise at the list's top left corner.
POINT keyboardMenuPoint(HWND list) {
    POINT point{};
    const auto selected =
        SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    RECT row{};
    row.left = LVIR_BOUNDS;
    if (selected >= 0 && SendMessageW(list, LVM_ISITEMVISIBLE, selected, 0) &&
        SendMessageW(list, LVM_GETITEMRECT, selected, reinterpret_cast<LPARAM>(&row)))
        point = {row.left, row.bottom};
    ClientToScreen(list, &point);
    return point;
}

struct MenuDestroyer {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};

}  // namespace

void CopyProtocol(HWND window) {
    Guarded(window, kCopyFailed, [&] {
        HWND list = GetDlgItem(window, IDC_PROTOCOL_LIST);
        if (rowCount(list) == 0) return;
        if (!PutClipboardText(window, tabSeparatedText(shownTable(list))))
            ShowWarning(window, kClipboardBusy);
    });
}

void CopyProtocolOnKey(HWND window, WORD key) {
    if (key != 'C' && key != VK_INSERT) return;
    // Ctrl alone: with Alt it is AltGr typing a letter, with Shift another command.
    const auto down = [](int virtualKey) { return GetKeyState(virtualKey) < 0; };
    if (down(VK_CONTROL) && !down(VK_MENU) && !down(VK_SHIFT)) CopyProtocol(window);
}

void ShowProtocolMenu(HWND window, LPARAM position) {
    HWND list = GetDlgItem(window, IDC_PROTOCOL_LIST);
    POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    if (point.x == -1 && point.y == -1) point = keyboardMenuPoint(list);

    const std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroyer> menu(CreatePopupMenu());
    if (!menu) return;
    const UINT state = rowCount(list) > 0 ? MF_ENABLED : MF_GRAYED;
    if (!AppendMenuW(menu.get(), MF_STRING | state, kCopyItem, L"Копировать")) return;
    const UINT chosen =
        static_cast<UINT>(TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                         point.x, point.y, 0, window, nullptr));
    if (chosen == kCopyItem) CopyProtocol(window);
}
