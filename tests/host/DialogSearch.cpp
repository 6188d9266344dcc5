#include "tests/host/DialogSearch.h"

#include "check/driver/ControlText.h"

using namespace ControlText;

namespace {

// The static control that holds a message box's text.
constexpr int kMessageBoxText = 0xFFFF;

bool isDialog(HWND window) {
    return ClassName(window) == L"#32770";
}

bool isMessageBox(HWND window) {
    return GetDlgItem(window, kMessageBoxText) != nullptr;
}

struct Search {
    HWND owner = nullptr;
    bool messageBoxes = false;
    bool enabledOnly = false;
    std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    if (!IsWindowVisible(window) || !isDialog(window)) return TRUE;
    if (search.enabledOnly && !IsWindowEnabled(window)) return TRUE;
    if (search.messageBoxes) {
        if (isMessageBox(window)) search.found.push_back(window);
    } else if (!isMessageBox(window) && GetWindow(window, GW_OWNER) == search.owner) {
        search.found.push_back(window);
    }
    return TRUE;
}

std::vector<HWND> find(Search search) {
    EnumThreadWindows(GetCurrentThreadId(), collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK cancel(HWND window, LPARAM) {
    if (IsWindowVisible(window) && IsWindowEnabled(window) && isDialog(window))
        PostMessageW(window, WM_COMMAND, GetDlgItem(window, IDCANCEL) ? IDCANCEL : IDOK, 0);
    return TRUE;
}

}  // namespace

std::vector<HWND> OwnedDialogs(HWND owner) {
    Search search;
    search.owner = owner;
    return find(search);
}

HWND FindOwnedDialog(HWND owner) {
    Search search;
    search.owner = owner;
    search.enabledOnly = true;
    const std::vector<HWND> found = find(search);
    return found.empty() ? nullptr : found.front();
}

HWND FindMessageBox() {
    Search search;
    search.messageBoxes = true;
    const std::vector<HWND> found = find(search);
    return found.empty() ? nullptr : found.front();
}

MessageBoxText ReadMessageBox(HWND box) {
    return {WindowText(box), WindowText(GetDlgItem(box, kMessageBoxText)),
            GetWindow(box, GW_OWNER)};
}

void CancelOpenDialogs() {
    EnumThreadWindows(GetCurrentThreadId(), cancel, 0);
}
