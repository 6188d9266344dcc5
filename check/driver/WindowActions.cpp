#include "check/driver/WindowActions.h"

#include "check/driver/DialogSearch.h"

void SendClick(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void PostClick(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void CancelOpenDialogs() {
    for (HWND dialog : FindDialogs({.enabledOnly = true}))
        PostMessageW(dialog, WM_COMMAND, GetDlgItem(dialog, IDCANCEL) ? IDCANCEL : IDOK, 0);
}

void DispatchPending() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}
