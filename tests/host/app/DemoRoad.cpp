#include "tests/host/app/DemoRoad.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "check/driver/ControlText.h"
#include "check/driver/DialogSearch.h"
#include "check/driver/WindowActions.h"
#include "check/driver/WindowScript.h"
#include "tests/host/HostMainWindow.h"
#include "tests/host/HostMenu.h"
#include "tests/host/TestHost.h"
#include "tests/host/app/WindowImage.h"
#include "text/Utf8.h"
#include "text/WideText.h"
#include "ui/resource.h"

using namespace ControlText;

namespace {

constexpr wchar_t kMenuPath[] = L"Данные/Расчёты/Протокол измерений по СТО 03-7.76-2016";
constexpr char16_t kProtocolCaption[] = u"Протокол измерений";
constexpr std::size_t kProtocolRows = 9;

void printUtf8(const std::string& line) {
    const std::string bytes = line + "\n";
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

void print(const std::u16string& line) {
    printUtf8(toUtf8(line));
}

std::u16string joined(const std::vector<std::u16string>& cells) {
    std::u16string line;
    for (const std::u16string& cell : cells) line += (line.empty() ? u"" : u"\t") + cell;
    return line;
}

void picture(const DemoRoadOptions& options, HWND window, const wchar_t* name) {
    if (options.pictures.empty()) return;
    const auto file = options.pictures / name;
    if (!SaveWindowImage(window, file)) print(u"nivra-host: не удалось снять " + file.u16string());
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
    return FindDialog({.owner = main, .caption = kProtocolCaption, .messageBox = false});
}

void markNewestPair(Road& road, HWND dialog) {
    HWND series = GetDlgItem(dialog, IDC_SERIES_LIST);
    HWND measurements = GetDlgItem(dialog, IDC_MEASUREMENT_LIST);
    const auto seriesTexts = ListBoxItems(series);
    const LRESULT selected = SendMessageW(series, LB_GETCURSEL, 0, 0);
    if (selected >= 0 && static_cast<std::size_t>(selected) < seriesTexts.size())
        print(u"Серия: " + seriesTexts[static_cast<std::size_t>(selected)]);
    // The newest measurements come first: the first two items are the pair.
    const auto items = ListBoxItems(measurements);
    for (int index = 0; index < 2 && index < static_cast<int>(items.size()); ++index) {
        SendMessageW(measurements, LB_SETSEL, TRUE, index);
        print(u"Отмечено: " + items[static_cast<std::size_t>(index)]);
    }
    picture(road.options, dialog, L"selection.bmp");
    PostClick(dialog, IDOK);
}

void printProtocol(Road& road) {
    HWND list = GetDlgItem(road.protocol, IDC_PROTOCOL_LIST);
    print(u"");
    print(u"Измерение 1: " + WindowText(GetDlgItem(road.protocol, IDC_FIRST_LABEL)));
    print(u"Измерение 2: " + WindowText(GetDlgItem(road.protocol, IDC_SECOND_LABEL)));
    print(u"");
    print(joined(ListViewHeaders(list)));
    const auto rows = ListViewCells(list);
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
        printUtf8("nivra-host: в меню нет пункта " + toUtf8(fromWide(kMenuPath)));
        return 1;
    }
    // As a click on the menu item would.
    PostMessageW(window.handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0);

    const ScriptOutcome outcome =
        PlayScript([] { RunMessageLoop(); }, roadSteps(road), [] { PostQuitMessage(1); });
    if (!outcome.completed) {
        printUtf8("nivra-host: дорога прервана: " + outcome.failure);
        return 1;
    }
    if (road.rows != kProtocolRows) {
        printUtf8("nivra-host: в протоколе " + std::to_string(road.rows) + " строк вместо 9");
        return 1;
    }
    OdtExportService& exporter = host.exporter();
    if (!exporter.lastError().empty()) {
        printUtf8("nivra-host: отчёт не записан: " + exporter.lastError());
        return 1;
    }
    print(u"");
    print(u"Отчёт: " + exporter.settings().output.u16string());
    print(u"Документ: " + exporter.settings().xmlCopy.u16string());
    return 0;
}
