#include "check/driver/DialogSearch.h"

#include "check/driver/ControlText.h"

namespace {

struct Search {
    const DialogQuery& query;
    std::vector<HWND> found;
};

bool takes(const DialogQuery& query, HWND window) {
    if (!IsWindowVisible(window) || ControlText::ClassName(window) != u"#32770") return false;
    if (query.enabledOnly && !IsWindowEnabled(window)) return false;
    if (query.owner && GetWindow(window, GW_OWNER) != *query.owner) return false;
    if (query.messageBox && (GetDlgItem(window, kMessageBoxTextId) != nullptr) != *query.messageBox)
        return false;
    return !query.caption || ControlText::WindowText(window) == *query.caption;
}

BOOL CALLBACK collect(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    if (takes(search.query, window)) search.found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> FindDialogs(const DialogQuery& query) {
    Search search{query, {}};
    EnumThreadWindows(GetCurrentThreadId(), collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindDialog(const DialogQuery& query) {
    const std::vector<HWND> found = FindDialogs(query);
    return found.empty() ? nullptr : found.front();
}

std::vector<HWND> OwnedDialogs(HWND owner) {
    return FindDialogs({.owner = owner, .messageBox = false});
}

HWND FindOwnedDialog(HWND owner) {
    return FindDialog({.owner = owner, .messageBox = false, .enabledOnly = true});
}

HWND FindMessageBox() {
    return FindDialog({.messageBox = true});
}
