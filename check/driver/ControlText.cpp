#include "check/driver/ControlText.h"

#include <commctrl.h>

namespace ControlText {

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    return std::wstring(name, static_cast<std::size_t>(GetClassNameW(window, name, 256)));
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::vector<std::wstring> ListBoxTexts(HWND list) {
    std::vector<std::wstring> items;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        if (length < 0) continue;
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        const LRESULT got =
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
        items.push_back(std::move(text));
    }
    return items;
}

std::vector<int> ListBoxMarks(HWND list) {
    const LRESULT count = SendMessageW(list, LB_GETSELCOUNT, 0, 0);
    if (count <= 0) return {};
    std::vector<int> marks(static_cast<std::size_t>(count));
    const LRESULT got =
        SendMessageW(list, LB_GETSELITEMS, marks.size(), reinterpret_cast<LPARAM>(marks.data()));
    marks.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
    return marks;
}

std::vector<std::vector<std::wstring>> ListViewRows(HWND list) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const LRESULT columns = SendMessageW(header, HDM_GETITEMCOUNT, 0, 0);
    const LRESULT rows = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
    std::vector<std::vector<std::wstring>> cells;
    for (LRESULT row = 0; row < rows; ++row) {
        std::vector<std::wstring> texts;
        for (LRESULT column = 0; column < columns; ++column) {
            // 260 units, as the report reads them back.
            wchar_t text[260] = {};
            LVITEMW item{};
            item.iSubItem = static_cast<int>(column);
            item.pszText = text;
            item.cchTextMax = 260;
            const LRESULT length =
                SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
            texts.emplace_back(text, length < 0 ? 0 : static_cast<std::size_t>(length));
        }
        cells.push_back(std::move(texts));
    }
    return cells;
}

std::vector<std::wstring> ListViewHeaders(HWND list) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const LRESULT columns = SendMessageW(header, HDM_GETITEMCOUNT, 0, 0);
    std::vector<std::wstring> headers;
    for (LRESULT index = 0; index < columns; ++index) {
        wchar_t text[260] = {};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = 260;
        SendMessageW(list, LVM_GETCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
        headers.emplace_back(text);
    }
    return headers;
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
    return bytes;
}

}  // namespace ControlText
