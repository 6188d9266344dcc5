#include "tests/host/HostMenu.h"

namespace {

std::wstring entryText(HMENU menu, int position) {
    wchar_t text[256] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
    return text;
}

// The position of the entry with `text` in `menu`, or -1.
int findEntry(HMENU menu, const std::wstring& text) {
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position)
        if (entryText(menu, position) == text) return position;
    return -1;
}

// The pop-up named `text` in `menu`, made when missing; nullptr when a command has the name.
HMENU popupOf(HMENU menu, const std::wstring& text) {
    const int position = findEntry(menu, text);
    if (position >= 0) return GetSubMenu(menu, position);
    HMENU popup = CreatePopupMenu();
    if (popup &&
        !AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), text.c_str())) {
        DestroyMenu(popup);
        return nullptr;
    }
    return popup;
}

void addItem(HMENU bar, const MenuItem& item, UINT command) {
    const std::vector<std::wstring> levels = SplitMenuPath(item.path);
    if (levels.empty()) return;
    HMENU menu = bar;
    for (std::size_t level = 0; menu && level + 1 < levels.size(); ++level)
        menu = popupOf(menu, levels[level]);
    if (!menu) return;
    const std::wstring& name = levels.back();
    const int position = findEntry(menu, name);
    if (position < 0) {
        AppendMenuW(menu, MF_STRING, command, name.c_str());
    } else if (!GetSubMenu(menu, position)) {
        ModifyMenuW(menu, static_cast<UINT>(position), MF_BYPOSITION | MF_STRING, command,
                    name.c_str());
    }
}

}  // namespace

std::vector<std::wstring> SplitMenuPath(const std::wstring& path) {
    std::vector<std::wstring> levels;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(L'/', start);
        if (end == std::wstring::npos) end = path.size();
        if (end > start) levels.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return levels;
}

HMENU BuildMenuBar(const std::vector<MenuItem>& items) {
    HMENU bar = CreateMenu();
    if (!bar) return nullptr;
    for (std::size_t index = 0; index < items.size(); ++index)
        addItem(bar, items[index], kFirstMenuCommand + static_cast<UINT>(index));
    return bar;
}

UINT FindMenuCommand(HMENU menu, const std::wstring& path) {
    const std::vector<std::wstring> levels = SplitMenuPath(path);
    for (std::size_t level = 0; menu && level < levels.size(); ++level) {
        const int position = findEntry(menu, levels[level]);
        if (position < 0) return 0;
        if (level + 1 == levels.size()) {
            const UINT id = GetMenuItemID(menu, position);
            return id == static_cast<UINT>(-1) ? 0 : id;
        }
        menu = GetSubMenu(menu, position);
    }
    return 0;
}
