#include "tests/host/app/DemoRoad.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "check/driver/ControlText.h"
#include "tests/host/DialogSearch.h"
#include "tests/host/HostMainWindow.h"
#include "tests/host/HostMenu.h"
#include "tests/host/TestHost.h"
#include "tests/host/WindowScript.h"
#include "tests/host/app/WindowImage.h"
#include "ui/resource.h"

using namespace ControlText;

namespace {

constexpr wchar_t kMenuPath[] = L"Данные/Расчёты/Протокол измерений по СТО 03-7.76-2016";
constexpr wchar_t kProtocolCaption[] = L"Протокол измерений";
constexpr std::size_t kProtocolRows = 9;

void printUtf8(const std::string& line) {
    const std::string bytes = line + "\n";
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

void print(const std::wstring& line) {
    printUtf8(Utf8(line));
}

std::wstring joined(const std::vector<std::wstring>& cells) {
    std::wstring line;
    for (const std::wstring& cell : cells) line += (line.empty() ? L"" : L"\t") + cell;
    return line;
}

void picture(const DemoRoadOptions& options, HWND window, const wchar_t* name) {
    if (options.pictures.empty()) return;
    const auto file = options.pictures / name;
    if (!SaveWindowImage(window, file)) print(L"nivra-host: не удалось снять " + file.wstring());
}

// The road's own state, shared by its steps.
struct Road {
    TestHost& host;
    HWND main;
    const DemoRoadOptions& options;
    HWND protocol = nullptr;
    std::size_t rows = 0;
};

HWND protocolWindow(HWND main) {
    for (HWND window : OwnedDialogs(main))
        if (WindowText(window) == kProtocolCaption) return window;
    return nullptr;
}

void markNewestPair(Road& road, HWND dialog) {
    HWND series = GetDlgItem(dialog, IDC_SERIES_LIST);
    HWND measurements = GetDlgItem(dialog, IDC_MEASUREMENT_LIST);
    const auto seriesTexts = ListBoxTexts(series);
    const LRESULT selected = SendMessageW(series, LB_GETCURSEL, 0, 0);
    if (selected >= 0 && static_cast<std::size_t>(selected) < seriesTexts.size())
        print(L"Серия: " + seriesTexts[static_cast<std::size_t>(selected)]);
    // The newest measurements come first: the first two items are the pair.
    const auto items = ListBoxTexts(measurements);
    for (int index = 0; index < 2 && index < static_cast<int>(items.size()); ++index) {
        SendMessageW(measurements, LB_SETSEL, TRUE, index);
        print(L"Отмечено: " + items[static_cast<std::size_t>(index)]);
    }
    picture(road.options, dialog, L"selection.bmp");
    PostClick(dialog, IDOK);
}

void printProtocol(Road& road) {
    HWND list = GetDlgItem(road.protocol, IDC_PROTOCOL_LIST);
    print(L"");
    print(L"Измерение 1: " + WindowText(GetDlgItem(road.protocol, IDC_FIRST_LABEL)));
    print(L"Измерение 2: " + WindowText(GetDlgItem(road.protocol, IDC_SECOND_LABEL)));
    print(L"");
    print(joined(ListViewHeaders(list)));
    const auto rows = ListViewRows(list);
    for (const auto& row : rows) print(joined(row));
    road.rows = rows.size();
    picture(road.options, road.protocol, L"protocol.bmp");
}

std::vector<ScriptStep> roadSteps(Road& road) {
    return {
        {"the protocol window", [&road] { return protocolWindow(road.main); },
         [&road](HWND window) {
             road.protocol = window;
             PostClick(window, IDC_SELECT);
         }},
        {"the selection dialog", [&road] { return FindOwnedDialog(road.protocol); },
         [&road](HWND dialog) { markNewestPair(road, dialog); }},
        {"the protocol in the window",
         [&road]() -> HWND {
             const bool filled =
                 IsWindowEnabled(road.protocol) &&
                 SendDlgItemMessageW(road.protocol, IDC_PROTOCOL_LIST, LVM_GETITEMCOUNT, 0, 0) > 0;
             return filled ? road.protocol : nullptr;
         },
         [&road](HWND) {
             printProtocol(road);
             PostClick(road.protocol, IDC_REPORT);
         }},
        {"the report",
         [&road]() -> HWND {
             return road.host.exporter().calls() > 0 && !FindMessageBox() ? road.protocol : nullptr;
         },
         [](HWND protocol) {
             PostClick(protocol, IDOK);
             PostQuitMessage(0);
         }},
    };
}

}  // namespace

int RunDemoRoad(TestHost& host, HostMainWindow& window, const DemoRoadOptions& options) {
    Road road{host, window.handle(), options};
    const UINT command = FindMenuCommand(GetMenu(window.handle()), kMenuPath);
    if (!command) {
        print(L"nivra-host: в меню нет пункта " + std::wstring(kMenuPath));
        return 1;
    }
    // As a click on the menu item would.
    PostMessageW(window.handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0);

    const ScriptOutcome outcome =
        PlayScript([] { RunMessageLoop(); }, roadSteps(road), [] { PostQuitMessage(1); });
    if (!outcome.completed) {
        printUtf8(Utf8(L"nivra-host: дорога прервана: ") + outcome.failure);
        return 1;
    }
    if (road.rows != kProtocolRows) {
        print(L"nivra-host: в протоколе " + std::to_wstring(road.rows) + L" строк вместо 9");
        return 1;
    }
    OdtExportService& exporter = host.exporter();
    if (!exporter.lastError().empty()) {
        printUtf8(Utf8(L"nivra-host: отчёт не записан: ") + exporter.lastError());
        return 1;
    }
    print(L"");
    print(L"Отчёт: " + exporter.settings().output.wstring());
    print(L"Документ: " + exporter.settings().xmlCopy.wstring());
    return 0;
}
