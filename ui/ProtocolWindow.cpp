#include "ui/ProtocolWindow.h"

#include <commctrl.h>

#include <memory>

#include "module/Module.h"
#include "ui/AnchorTables.h"
#include "ui/ApplyAnchorLayout.h"
#include "ui/ExportProtocolReport.h"
#include "ui/Guarded.h"
#include "ui/LabelAssayId.h"
#include "ui/OpenProtocolWindows.h"
#include "ui/ProtocolWindowActions.h"
#include "ui/ReportMessages.h"
#include "ui/SelectionRecord.h"
#include "ui/resource.h"

namespace {

struct Column {
    int header;
    int width;
    int format;
};

constexpr Column kColumns[] = {
    {IDS_COLUMN_COMPONENT, 100, LVCFMT_LEFT},      {IDS_COLUMN_FIRST, 100, LVCFMT_RIGHT},
    {IDS_COLUMN_SECOND, 100, LVCFMT_RIGHT},        {IDS_COLUMN_MEAN, 100, LVCFMT_RIGHT},
    {IDS_COLUMN_REPEATABILITY, 100, LVCFMT_RIGHT}, {IDS_COLUMN_LIMIT, 100, LVCFMT_RIGHT},
    {IDS_COLUMN_RATING, 50, LVCFMT_RIGHT},         {IDS_COLUMN_UNCERTAINTY, 100, LVCFMT_RIGHT},
    {IDS_COLUMN_RESULT, 120, LVCFMT_RIGHT},
};

// What the window keeps in its user data: the size it may not get smaller than (first, so
// the user data still reads as that size), and the outer size its controls are laid out for
// (the last one it had while not minimized).
struct WindowState {
    MinTrackSize minTrackSize;
    SIZE laidOut{};
};

WindowState* stateOf(HWND window) {
    return reinterpret_cast<WindowState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

SIZE outerSize(HWND window) {
    RECT outer{};
    GetWindowRect(window, &outer);
    return {outer.right - outer.left, outer.bottom - outer.top};
}

void addColumns(HWND list) {
    HINSTANCE module = ModuleInstance();
    for (int index = 0; index < static_cast<int>(std::size(kColumns)); ++index) {
        wchar_t header[260] = {};
        LoadStringW(module, kColumns[index].header, header, 260);
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = kColumns[index].format;
        column.cx = kColumns[index].width;
        column.pszText = header;
        column.iSubItem = index;
        SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
    }
}

BOOL initialise(HWND window) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES};
    if (!InitCommonControlsEx(&controls)) return FALSE;

    auto state = std::make_unique<WindowState>();
    state->laidOut = outerSize(window);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.release()));

    // The icon is set on this window only: the dialog class is shared with every dialog of
    // the host, which should keep its own icon.
    HINSTANCE module = ModuleInstance();
    HICON icon = LoadIconW(module, MAKEINTRESOURCEW(IDI_NIVRA));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

    HWND list = GetDlgItem(window, IDC_PROTOCOL_LIST);
    const auto style = SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 style | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    addColumns(list);
    LoadReportMessages(module);

    const SIZE size = outerSize(window);
    stateOf(window)->minTrackSize = {size.cx, size.cy};
    return TRUE;
}

void command(HWND window, WORD id) {
    switch (id) {
        case IDOK:
        case IDCANCEL:
            DestroyWindow(window);
            return;
        case IDC_SELECT:
            SelectAndCalculate(window);
            return;
        case IDC_OPEN_FIRST:
            OpenMeasurementFile(window, LabelAssayId(GetDlgItem(window, IDC_FIRST_LABEL)));
            return;
        case IDC_OPEN_SECOND:
            OpenMeasurementFile(window, LabelAssayId(GetDlgItem(window, IDC_SECOND_LABEL)));
            return;
        case IDC_REPORT:
            ReportProtocol(window);
            return;
    }
}

}  // namespace

INT_PTR CALLBACK ProtocolWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
            case WM_INITDIALOG: {
                // A window that could not be noted could not be closed before the module goes.
                if (!TrackProtocolWindow(window)) {
                    DestroyWindow(window);
                    return FALSE;
                }
                BOOL result = FALSE;
                Guarded(window, u"Не удалось открыть окно протокола.",
                        [&] { result = initialise(window); });
                return result;
            }
            case WM_GETMINMAXINFO:
                if (const WindowState* state = stateOf(window))
                    reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {
                        state->minTrackSize.width, state->minTrackSize.height};
                return FALSE;
            case WM_NCCALCSIZE:
                if (!wParam) return FALSE;
                if (WindowState* state = stateOf(window))
                    applyAnchorLayout(lParam, kProtocolWindowAnchors, window, state->laidOut);
                else
                    applyAnchorLayout(lParam, kProtocolWindowAnchors, window);
                return FALSE;
            case WM_COMMAND:
                command(window, LOWORD(wParam));
                return FALSE;
            case WM_DESTROY:
                ForgetLabelAssayId(GetDlgItem(window, IDC_FIRST_LABEL));
                ForgetLabelAssayId(GetDlgItem(window, IDC_SECOND_LABEL));
                return FALSE;
            case WM_NCDESTROY:
                ForgetProtocolWindow(window);
                std::unique_ptr<WindowState>(stateOf(window)).reset();
                SetWindowLongPtrW(window, GWLP_USERDATA, 0);
                return FALSE;
        }
    } catch (...) {
        // Nothing may leave into the host; the actions that can fail are guarded themselves.
    }
    return FALSE;
}
