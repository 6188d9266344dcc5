#include "ui/ProtocolWindow.h"

#include <commctrl.h>

#include <memory>

#include "module/Module.h"
#include "ui/AnchorTables.h"
#include "ui/ApplyAnchorLayout.h"
#include "ui/CopyProtocol.h"
#include "ui/ExportProtocolReport.h"
#include "ui/Guarded.h"
#include "ui/LabelAssayId.h"
#include "ui/OpenProtocolWindows.h"
#include "ui/ProtocolColumns.h"
#include "ui/ProtocolWindowActions.h"
#include "ui/ReportMessages.h"
#include "ui/SelectionRecord.h"
#include "ui/resource.h"

namespace {

// Posted on a change of scaling, so that the columns are measured once the default
// processing has given the list its new font.
constexpr UINT kRefitColumns = WM_APP + 1;

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
    AddProtocolColumns(list);
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
            case WM_NOTIFY: {
                const auto* header = reinterpret_cast<const NMHDR*>(lParam);
                if (header->idFrom == IDC_PROTOCOL_LIST && header->code == LVN_KEYDOWN)
                    CopyProtocolOnKey(window, reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey);
                return FALSE;
            }
            case WM_CONTEXTMENU:
                if (reinterpret_cast<HWND>(wParam) == GetDlgItem(window, IDC_PROTOCOL_LIST))
                    ShowProtocolMenu(window, lParam);
                return FALSE;
            case WM_DPICHANGED:
                PostMessageW(window, kRefitColumns, 0, 0);
                return FALSE;
            case kRefitColumns:
                FitProtocolColumns(GetDlgItem(window, IDC_PROTOCOL_LIST));
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
