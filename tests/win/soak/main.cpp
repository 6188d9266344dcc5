// nivra-soak: a host process that runs the plug-in for a long time and reports what it costs.
//
//   nivra-soak prepare DB               writes a host database with one series of two
//                                       measurements (a racing writer adds more)
//   nivra-soak race DB N M [DLL]        one window: N selections with their calculation and
//                                       M reports, counting those that failed
//   nivra-soak cycles DB N [DLL]        N times: load, Load, "System/ModulesLoaded", one window
//                                       with one selection, close, Unload, FreeLibrary
//   nivra-soak control DB N [DLL]       the same windows from the same templates with a
//                                       procedure of this program and no plug-in code
//   nivra-soak loads DB N [DLL]         the library loaded and freed N times, nothing called
//
// The cycles print the growth per cycle of heap bytes, heap blocks, handles and windows after
// two cycles of warming up, and what the handles left over are. DLL defaults to the nivra.dll
// beside this program. Exit status 1 when a race step failed.

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "check/HostDatabase.h"
#include "check/driver/ControlText.h"
#include "check/driver/DialogSearch.h"
#include "check/driver/MessageBoxes.h"
#include "check/driver/WindowActions.h"
#include "check/driver/WindowScript.h"
#include "tests/host/PluginModule.h"
#include "tests/win/soak/ProcessFigures.h"
#include "tests/win/soak/SoakHost.h"
#include "text/Utf8.h"
#include "text/WideText.h"
#include "ui/resource.h"

namespace {

constexpr int kWarmUpCycles = 2;

// A path as the Unix side names it is reached through Wine's drive Z:.
std::wstring windowsPath(const std::string& path) {
    std::wstring wide = toWide(fromUtf8(path));
    if (!wide.empty() && wide[0] == L'/') {
        std::replace(wide.begin(), wide.end(), L'/', L'\\');
        wide = L"Z:" + wide;
    }
    return wide;
}

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

HWND makeOwner() {
    return CreateWindowExW(0, L"Static", L"nivra-soak", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                           nullptr, nullptr, nullptr, nullptr);
}

// What went wrong in a script: the first message box no step waited for (the plug-in shows
// one only when an action failed; the script closed it), or why the script did not finish.
std::string failureOf(const ScriptOutcome& outcome) {
    if (!outcome.unexpectedBoxes.empty()) {
        std::string text = toUtf8(outcome.unexpectedBoxes.front().text);
        std::replace(text.begin(), text.end(), '\n', ' ');
        return "message box: " + text;
    }
    return outcome.completed ? std::string() : outcome.failure;
}

// Presses "Выбрать" in `window`, marks the two newest measurements and accepts; an empty
// failure text when the calculation filled the list.
std::string selectAndCalculate(HWND window) {
    const ScriptOutcome outcome = PlayScript(
        [window] { SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_SELECT, BN_CLICKED), 0); },
        {{"the selection dialog", [window] { return FindOwnedDialog(window); },
          [](HWND dialog) {
              // Exactly these two: the pair chosen before comes marked.
              SendDlgItemMessageW(dialog, IDC_MEASUREMENT_LIST, LB_SETSEL, FALSE, -1);
              for (int item : {0, 1})
                  SendDlgItemMessageW(dialog, IDC_MEASUREMENT_LIST, LB_SETSEL, TRUE, item);
              PostClick(dialog, IDOK);
          }}});
    if (std::string failure = failureOf(outcome); !failure.empty()) return failure;
    if (SendDlgItemMessageW(window, IDC_PROTOCOL_LIST, LVM_GETITEMCOUNT, 0, 0) != 9)
        return "the protocol list does not hold nine rows";
    return {};
}

std::string report(HWND window) {
    const int before = SoakHost::Reports();
    if (std::string failure = failureOf(Press(window, IDC_REPORT, {})); !failure.empty())
        return failure;
    if (SoakHost::Reports() != before + 1) return "the host received no report";
    if (SoakHost::LastReportRows() != 9) return "the report does not hold nine rows";
    return {};
}

struct Tally {
    const char* what;
    int runs = 0;
    int failed = 0;
    std::string first;

    void count(const std::string& failure) {
        ++runs;
        if (failure.empty()) return;
        if (++failed == 1) first = failure;
    }
    void print() const {
        std::printf("race: %d %s, %d failed%s%s\n", runs, what, failed, failed ? ": " : "",
                    first.c_str());
    }
};

int prepare(const std::string& path) {
    HostDatabase db(path, HostDatabase::Schema::WithOperatorTable);
    db.addVersion(26, 1672531200, 1);
    db.addOperator(1, "Иванова Т. С.");
    for (int m = 0; m < 2; ++m) {
        const AssayId id = db.addAssay({.date = 1700000000 + m * 600,
                                        .sample = "Гелий газообразный сжатый",
                                        .series = "Серия",
                                        .filename = "D:\\He.chr",
                                        .operatorId = 1});
        db.addPeak(id, "Азот", 0.003 + 0.0001 * m);
        db.addPeak(id, "Кислород", 0.001);
    }
    return 0;
}

int race(const std::wstring& database, int selections, int reports, const std::wstring& dll) {
    const PluginModule plugin(dll);
    plugin.load(SoakHost::Table(database.c_str()));
    SoakHost::PublishModulesLoaded();
    HWND owner = makeOwner();
    SoakHost::RunCommand(owner);
    const std::vector<HWND> opened = OwnedDialogs(owner);
    if (opened.size() != 1) {
        std::printf("race: the menu command opened %zu windows\n", opened.size());
        return 1;
    }
    HWND window = opened.front();
    Tally selected{"selections", 0, 0, {}};
    Tally reported{"reports", 0, 0, {}};
    for (int i = 0; i < std::max(selections, reports); ++i) {
        if (i < selections) selected.count(selectAndCalculate(window));
        if (i < reports) reported.count(report(window));
    }
    selected.print();
    reported.print();
    DestroyWindow(window);
    plugin.unload();
    DestroyWindow(owner);
    return selected.failed + reported.failed ? 1 : 0;
}

// The template's module, for the control's dialogs to take their icon from as the plug-in's do.
HMODULE controlTemplates = nullptr;

// What the system is asked for when a dialog of the plug-in opens: its icon and, for the
// protocol window, the list's styles and nine columns.
INT_PTR CALLBACK plainDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES};
        InitCommonControlsEx(&controls);
        HICON icon = LoadIconW(controlTemplates, MAKEINTRESOURCEW(IDI_NIVRA));
        SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        if (HWND list = GetDlgItem(dialog, IDC_PROTOCOL_LIST)) {
            SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                         LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
            for (int index = 0; index < 9; ++index) {
                wchar_t header[] = L"Компонент";
                LVCOLUMNW column{};
                column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
                column.fmt = index ? LVCFMT_RIGHT : LVCFMT_LEFT;
                column.cx = 100;
                column.pszText = header;
                column.iSubItem = index;
                SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
            }
        }
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

// One cycle with the plug-in: its window, one selection, closed before Unload as a host that
// closes what it opened would.
void pluginCycle(const std::wstring& database, const std::wstring& dll, HWND owner) {
    const PluginModule plugin(dll);
    plugin.load(SoakHost::Table(database.c_str()));
    SoakHost::PublishModulesLoaded();
    SoakHost::RunCommand(owner);
    for (HWND window : OwnedDialogs(owner)) {
        const std::string failure = selectAndCalculate(window);
        if (!failure.empty()) std::printf("cycles: %s\n", failure.c_str());
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    plugin.unload();
}

// The loader's part: the library loaded and freed, nothing called.
void loadCycle(const std::wstring& dll) {
    FreeLibrary(LoadLibraryW(dll.c_str()));
}

// The control: the library loaded as the host loads it (its entry point runs, nothing else of
// it), its two dialog templates shown in its common controls by a procedure of this program
// asking the system for what the plug-in's asks, the selection dialog played by the same
// script. What grows here is the system's own.
void controlCycle(const std::wstring& dll, HWND owner) {
    HMODULE templates = LoadLibraryW(dll.c_str());
    controlTemplates = templates;
    // The plug-in's own manifest: the same common controls as its windows.
    ACTCTXW description{};
    description.cbSize = sizeof description;
    description.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    description.hModule = templates;
    description.lpResourceName = MAKEINTRESOURCEW(2);
    HANDLE context = CreateActCtxW(&description);
    ULONG_PTR cookie = 0;
    const bool active = context != INVALID_HANDLE_VALUE && ActivateActCtx(context, &cookie);
    HWND window =
        CreateDialogParamW(templates, MAKEINTRESOURCEW(IDD_PROTOCOL), owner, plainDialog, 0);
    if (active) DeactivateActCtx(0, cookie);
    ShowWindow(window, SW_SHOW);
    PlayScript(
        [&] {
            DialogBoxParamW(templates, MAKEINTRESOURCEW(IDD_SELECTION), window, plainDialog, 0);
        },
        {{"the selection dialog", [window] { return FindOwnedDialog(window); },
          [](HWND dialog) { PostClick(dialog, IDOK); }}});
    DestroyWindow(window);
    if (context != INVALID_HANDLE_VALUE) ReleaseActCtx(context);
    FreeLibrary(templates);
}

struct Snapshot {
    HeapFigures heap;
    std::vector<HeapBlock> blocks;
    std::vector<HANDLE> handles;
    long long windows = 0;
    int tlsSlots = 0;
};

Snapshot snapshot(const Snapshot* earlier = nullptr) {
    pumpMessages();
    Snapshot taken;
    taken.heap = earlier ? LiveHeap({earlier->blocks.data(), earlier->handles.data()}) : LiveHeap();
    taken.blocks = LiveHeapBlocks(static_cast<std::size_t>(taken.heap.blocks) * 2 + 4096);
    taken.handles = LiveHandles();
    taken.windows = LiveWindows();
    taken.tlsSlots = FreeTlsSlots();
    return taken;
}

// The sizes of the blocks that are new after the cycles, the most frequent first, with the
// first bytes of one of each: what is left behind, and by whom.
void printNewBlocks(const char* mode, const Snapshot& before, const Snapshot& after) {
    std::vector<std::pair<std::size_t, const HeapBlock*>> fresh;
    for (const HeapBlock& block : after.blocks) {
        const auto found = std::lower_bound(before.blocks.begin(), before.blocks.end(), block);
        if (found != before.blocks.end() && found->address == block.address &&
            found->size == block.size)
            continue;
        fresh.emplace_back(block.size, &block);
    }
    std::sort(fresh.begin(), fresh.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::pair<int, std::size_t>> bySize;
    for (std::size_t i = 0; i < fresh.size();) {
        std::size_t j = i;
        while (j < fresh.size() && fresh[j].first == fresh[i].first) ++j;
        bySize.emplace_back(static_cast<int>(j - i), i);
        i = j;
    }
    std::sort(bySize.begin(), bySize.end(), [](const auto& a, const auto& b) { return a > b; });
    for (std::size_t k = 0; k < bySize.size() && k < 8; ++k) {
        const HeapBlock& example = *fresh[bySize[k].second].second;
        char peek[73] = {};
        const auto* bytes = static_cast<const unsigned char*>(example.address);
        for (std::size_t b = 0; b < 24 && b < example.size; ++b)
            std::snprintf(peek + 3 * b, 4, "%02x ", bytes[b]);
        std::printf("%s: new blocks of %zu bytes: %d (%s)\n", mode, example.size, bySize[k].first,
                    peek);
    }
}

int cycles(const char* mode, int count, const std::function<void()>& cycle) {
    // Probing the slots once first makes the thread's room for the slots above 64, which would
    // otherwise be counted as growth.
    FreeTlsSlots();
    for (int i = 0; i < kWarmUpCycles; ++i) cycle();
    const Snapshot before = snapshot();
    for (int i = kWarmUpCycles; i < count; ++i) cycle();
    const Snapshot after = snapshot(&before);
    const int measured = count - kWarmUpCycles;
    const auto perCycle = [measured](long long a, long long b) {
        return static_cast<double>(b - a) / measured;
    };
    std::printf(
        "%s: %d cycles measured after %d: heap %lld -> %lld bytes (%+.1f per cycle), "
        "%lld -> %lld blocks (%+.2f), handles %zu -> %zu (%+.2f), windows %lld -> %lld (%+.2f), "
        "free TLS slots %d -> %d\n",
        mode, measured, kWarmUpCycles, before.heap.bytes, after.heap.bytes,
        perCycle(before.heap.bytes, after.heap.bytes), before.heap.blocks, after.heap.blocks,
        perCycle(before.heap.blocks, after.heap.blocks), before.handles.size(),
        after.handles.size(),
        perCycle(static_cast<long long>(before.handles.size()),
                 static_cast<long long>(after.handles.size())),
        before.windows, after.windows, perCycle(before.windows, after.windows), before.tlsSlots,
        after.tlsSlots);
    printNewBlocks(mode, before, after);
    int listed = 0;
    for (HANDLE handle : after.handles) {
        if (std::binary_search(before.handles.begin(), before.handles.end(), handle)) continue;
        if (++listed > 6) break;
        std::printf("%s: new handle %s\n", mode, DescribeHandle(handle).c_str());
    }
    return 0;
}

int usage() {
    std::fputs(
        "usage: nivra-soak prepare DB | race DB N M [DLL] | cycles DB N [DLL] | "
        "control DB N [DLL] | loads DB N [DLL]\n",
        stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string mode = argv[1];
    if (mode == "prepare") return prepare(argv[2]);
    if (argc < 4) return usage();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const std::wstring database = windowsPath(argv[2]);
    const int n = std::atoi(argv[3]);
    try {
        if (mode == "race") {
            if (argc < 5) return usage();
            return race(database, n, std::atoi(argv[4]),
                        argc > 5 ? windowsPath(argv[5]) : BesideProgram(L"nivra.dll"));
        }
        const std::wstring dll = argc > 4 ? windowsPath(argv[4]) : BesideProgram(L"nivra.dll");
        HWND owner = makeOwner();
        if (mode == "cycles")
            return cycles("cycles", n, [&] { pluginCycle(database, dll, owner); });
        if (mode == "control") return cycles("control", n, [&] { controlCycle(dll, owner); });
        if (mode == "loads") return cycles("loads", n, [&] { loadCycle(dll); });
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "nivra-soak: %s\n", failure.what());
        return 1;
    }
    return usage();
}
