#include "check/driver/MessageBoxes.h"

#include "check/driver/ControlText.h"
#include "check/driver/WindowActions.h"

MessageBoxText ReadMessageBox(HWND box) {
    const HWND owner = GetWindow(box, GW_OWNER);
    return {ControlText::WindowText(box),
            ControlText::WindowText(GetDlgItem(box, kMessageBoxTextId)), owner,
            owner ? GetWindow(owner, GW_OWNER) : nullptr};
}

std::vector<MessageBoxText> CloseMessageBoxes(const DialogQuery& query) {
    std::vector<MessageBoxText> closed;
    while (HWND box = FindDialog(query)) {
        closed.push_back(ReadMessageBox(box));
        SendClick(box, IDOK);
        // A box that did not end is hidden, so that the search goes on to the next.
        if (IsWindowVisible(box)) ShowWindow(box, SW_HIDE);
    }
    return closed;
}
