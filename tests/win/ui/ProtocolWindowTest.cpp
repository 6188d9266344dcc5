// The protocol window: what it shows after a choice, its columns at the screen's scaling,
// copying, the host requests of "...", its layout and its end.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>

#include "check/ReferenceCases.h"
#include "check/driver/ControlText.h"
#include "check/driver/WindowActions.h"
#include "tests/win/ui/FakeHost.h"
#include "tests/win/ui/ProtocolWindowFixture.h"
#include "tests/win/ui/WindowProbe.h"
#include "text/WideText.h"
#include "ui/ClipboardText.h"
#include "ui/TabSeparatedText.h"
#include "ui/resource.h"

using namespace ControlText;

namespace {

// The columns' widths in pixels at 96 DPI.
constexpr int kColumnWidths[] = {100, 100, 100, 100, 100, 100, 50, 100, 120};

int ColumnWidth(HWND list, int column) {
    return static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0));
}

// The list view's own fit of a column: cells and header, for the last column its cells. The
// column keeps its width.
int ListViewFit(HWND list, int column, bool last) {
    const int width = ColumnWidth(list, column);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, column,
                 last ? LVSCW_AUTOSIZE : LVSCW_AUTOSIZE_USEHEADER);
    const int fit = ColumnWidth(list, column);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0));
    return fit;
}

// Sends `key` to the list with Ctrl held down in this thread's keyboard state.
void PressWithCtrl(HWND list, WORD key) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    const BYTE ctrl = keys[VK_CONTROL];
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(list, WM_KEYDOWN, key, 0);
    keys[VK_CONTROL] = ctrl;
    SetKeyboardState(keys);
}

std::u16string ClipboardText(HWND owner) {
    std::u16string text = u"(the clipboard did not open)";
    if (!OpenClipboard(owner)) return text;
    text = u"(no Unicode text)";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* units = static_cast<const char16_t*>(GlobalLock(data))) text = units;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// What the context menu offered; it is then chosen (Down, Enter) or dismissed (Esc).
struct MenuSeen {
    int items = 0;
    std::u16string first;
    bool grayed = false;
};
ScriptStep OnContextMenu(MenuSeen& seen, bool choose) {
    auto find = []() -> HWND {
        HWND menu = FindWindowW(L"#32768", nullptr);
        return menu && IsWindowVisible(menu) ? menu : nullptr;
    };
    return {"the context menu", find, [&seen, choose](HWND window) {
                HMENU menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
                seen.items = GetMenuItemCount(menu);
                wchar_t text[64] = {};
                GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
                seen.first = fromWide(text);
                seen.grayed = (GetMenuState(menu, 0, MF_BYPOSITION) & MF_GRAYED) != 0;
                if (choose) PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
                PostMessageW(window, WM_KEYDOWN, choose ? VK_RETURN : VK_ESCAPE, 0);
            }};
}

}  // namespace

TEST_F(ProtocolWindowTest, ChoiceFillsLabelsAndNineRowsWithOrWithoutPeaks) {
    FillSample(NewDatabase());
    ASSERT_NE(OpenWindow(), nullptr);
    const SampleIds ids;
    struct Case {
        const char* what;
        int series;
        std::vector<int> marks;
        AssayId first, second;
        std::int64_t firstDate, secondDate;
        std::u16string firstSample, secondSample;
    } cases[] = {
        // clang-format off
        {"with peaks", 1, {0, 1}, ids.a1, ids.a2, UnixSeconds(2020, 9, 13, 12, 26, 40),
         UnixSeconds(2020, 9, 13, 12, 36, 40), u"Проба А1", u"Проба А2"},
        {"without peaks", 0, {2, 0}, ids.b1, ids.b3, UnixSeconds(2023, 11, 14, 22, 13, 20),
         UnixSeconds(2023, 11, 14, 22, 15, 20), u"Проба Б1", u"Проба Б3"},
        // clang-format on
    };
    for (const Case& c : cases) {
        PressSelect({InSelection(c.what, [&c](HWND dialog) {
            SendDlgItemMessageW(dialog, IDC_SERIES_LIST, LB_SETCURSEL, c.series, 0);
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_SERIES_LIST, LBN_SELCHANGE), 0);
            for (int item : c.marks)
                SendDlgItemMessageW(dialog, IDC_MEASUREMENT_LIST, LB_SETSEL, TRUE, item);
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        })});
        EXPECT_EQ(WindowText(Control(IDC_FIRST_LABEL)), LabelText(c.firstDate, c.firstSample))
            << c.what;
        EXPECT_EQ(WindowText(Control(IDC_SECOND_LABEL)), LabelText(c.secondDate, c.secondSample))
            << c.what;
        EXPECT_EQ(LabelId(IDC_FIRST_LABEL), c.first);
        EXPECT_EQ(LabelId(IDC_SECOND_LABEL), c.second);
        const ProtocolCells shown = ListViewCells(Control(IDC_PROTOCOL_LIST));
        ASSERT_EQ(shown.size(), 9u) << c.what;
        EXPECT_EQ(shown, ExpectedProtocol(*db_, c.first, c.second)) << c.what;
        EXPECT_EQ(shown[7][0], u"СО+СО2");
        EXPECT_EQ(shown[8][0], u"Гелий");
    }
}

TEST_F(ProtocolWindowTest, NoColumnIsNarrowerThanWhatItHoldsAtTheScreensScaling) {
    const int dpi = ScreenDpi();
    if (const char* expected = std::getenv("NIVRA_SCREEN_DPI")) {
        ASSERT_EQ(dpi, std::atoi(expected)) << "the run's screen is not at the DPI it is for";
    }
    int columns = 0, cutBefore = 0;
    for (const ReferenceCase& reference : ReferenceCases()) {
        FillReferenceCase(NewDatabase(), reference);
        ASSERT_NE(OpenWindow(), nullptr);
        Choose({0, 1});
        HWND list = Control(IDC_PROTOCOL_LIST);
        ASSERT_EQ(ListViewCells(list).size(), 9u) << reference.title;
        for (int column = 0; column < 9; ++column, ++columns) {
            const int fit = ListViewFit(list, column, column == 8);
            const int scaled = MulDiv(kColumnWidths[column], dpi, 96);
            // Never narrower than what it holds nor than its scaled width, and exactly that
            // where the texts fit.
            EXPECT_EQ(ColumnWidth(list, column), std::max(scaled, fit))
                << reference.title << ", column " << column << " at " << dpi << " DPI";
            cutBefore += kColumnWidths[column] < fit;
        }
        DestroyWindow(window_);
    }
    std::cout << "at " << dpi << " DPI, fixed 96-DPI widths would cut " << cutBefore << " of "
              << columns << " columns\n";
}

TEST_F(ProtocolWindowTest, CopyPutsTheHeaderAndTheShownRowsOnTheClipboard) {
    FillSample(NewDatabase());
    ASSERT_NE(OpenWindow(), nullptr);
    HWND list = Control(IDC_PROTOCOL_LIST);
    auto act = [this](const char* what, std::function<void()> action,
                      std::vector<ScriptStep> steps = {}) {
        const ScriptOutcome outcome = PlayScript(action, std::move(steps));
        EXPECT_TRUE(outcome.completed) << what << ": " << outcome.failure;
    };
    const std::u16string before = u"прежний текст";

    // No rows: nothing to copy, and the menu item is unavailable.
    ASSERT_TRUE(PutClipboardText(owner_, before));
    act("Ctrl+C without rows", [&] { PressWithCtrl(list, 'C'); });
    auto menuAt = [&](LPARAM at) {
        return
            [&, at] { SendMessageW(window_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), at); };
    };
    MenuSeen empty;
    act("menu without rows", menuAt(-1), {OnContextMenu(empty, false)});
    EXPECT_EQ(ClipboardText(owner_), before);
    EXPECT_EQ(empty.items, 1);
    EXPECT_EQ(empty.first, u"Копировать");
    EXPECT_TRUE(empty.grayed);

    Choose({0, 1});
    ProtocolCells shown = ListViewCells(list);
    ASSERT_EQ(shown.size(), 9u);
    shown.insert(shown.begin(), ListViewHeaders(list));
    ASSERT_EQ(shown.front().size(), 9u);
    // The text's layout itself is pinned by the ui tests; here it must hold what is shown.
    const std::u16string expected = tabSeparatedText(shown);

    for (WORD key : {WORD{'C'}, WORD{VK_INSERT}}) {
        ASSERT_TRUE(PutClipboardText(owner_, before));
        act("Ctrl and a key", [&] { PressWithCtrl(list, key); });
        EXPECT_EQ(ClipboardText(owner_), expected) << "key " << key;
    }
    ASSERT_TRUE(PutClipboardText(owner_, before));
    MenuSeen offered;
    act("menu", menuAt(MAKELPARAM(40, 60)), {OnContextMenu(offered, true)});
    EXPECT_FALSE(offered.grayed);
    EXPECT_EQ(ClipboardText(owner_), expected) << "the menu's «Копировать»";

    // The clipboard held open by another window: the user is told, nothing is copied.
    ASSERT_TRUE(PutClipboardText(owner_, before));
    ASSERT_TRUE(OpenClipboard(owner_));
    act("Ctrl+C while the clipboard is held", [&] { PressWithCtrl(list, 'C'); },
        {DismissMessageBox(boxes_)});
    CloseClipboard();
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].caption, u"Ошибка");
    EXPECT_EQ(boxes_[0].text,
              u"Не удалось скопировать протокол: буфер обмена занят другой "
              u"программой. Попробуйте ещё раз.");
    EXPECT_EQ(boxes_[0].owner, window_);
    EXPECT_EQ(ClipboardText(owner_), before);
}

TEST_F(ProtocolWindowTest, LabelsFollowTheIdsWhateverOrderTheRowsCome) {
    // Each pair once with the older measurement holding the larger id (its row comes second
    // from the database) and once the other way round.
    struct Case {
        AssayId older, newer;
    } cases[] = {{50, 10}, {10, 50}, {4294967301, 7}};
    for (const Case& c : cases) {
        HostDatabase& db = NewDatabase();
        HostDatabase::Assay older, newer;
        older.id = c.older;
        older.date = 1000;
        older.sample = "старшее";
        older.series = "s";
        newer.id = c.newer;
        newer.date = 2000;
        newer.sample = "новое";
        newer.series = "s";
        db.addAssay(older);
        db.addAssay(newer);
        ASSERT_NE(OpenWindow(), nullptr);
        Choose({0, 1});
        EXPECT_EQ(WindowText(Control(IDC_FIRST_LABEL)), LabelText(1000, u"старшее")) << c.older;
        EXPECT_EQ(WindowText(Control(IDC_SECOND_LABEL)), LabelText(2000, u"новое")) << c.older;
        EXPECT_EQ(LabelId(IDC_FIRST_LABEL), c.older);
        EXPECT_EQ(LabelId(IDC_SECOND_LABEL), c.newer);
        DestroyWindow(window_);
    }
}

TEST_F(ProtocolWindowTest, OpenFileAsksTheHostOnlyWhenThereIsSomethingToOpen) {
    FillSample(NewDatabase());
    const std::string topic = "Main/OpenVantrelFile";
    struct Case {
        const char* what;
        bool choose;          // choose Серия А's pair (A1 with a file, A2 without) first
        bool hostOpensFiles;  // the host has a handler for the topic
        int button;
        std::vector<std::u16string> sent;
    } cases[] = {
        {"first measurement's file", true, true, IDC_OPEN_FIRST, {u"C:\\data\\a1.vdat"}},
        {"NULL file name sends empty text", true, true, IDC_OPEN_SECOND, {u""}},
        {"host without a handler", true, false, IDC_OPEN_FIRST, {}},
        {"empty label", false, true, IDC_OPEN_FIRST, {}},
        {"empty second label", false, true, IDC_OPEN_SECOND, {}},
    };
    for (const Case& c : cases) {
        ASSERT_NE(OpenWindow(), nullptr);
        if (c.choose)
            PressSelect({InSelection("pick series А", [](HWND dialog) {
                SendDlgItemMessageW(dialog, IDC_SERIES_LIST, LB_SETCURSEL, 1, 0);
                SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_SERIES_LIST, LBN_SELCHANGE), 0);
                SendDlgItemMessageW(dialog, IDC_MEASUREMENT_LIST, LB_SETSEL, TRUE, 0);
                SendDlgItemMessageW(dialog, IDC_MEASUREMENT_LIST, LB_SETSEL, TRUE, 1);
                PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            })});
        TheFakeHost() = FakeHost{};
        TheFakeHost().opensFiles = c.hostOpensFiles;
        SendMessageW(window_, WM_COMMAND, c.button, 0);
        std::vector<std::u16string> sent;
        for (const auto& request : TheFakeHost().requests) {
            EXPECT_EQ(request.topic, topic) << c.what;
            EXPECT_EQ(request.first, 0) << c.what;
            sent.push_back(request.text);
        }
        EXPECT_EQ(sent, c.sent) << c.what;
        EXPECT_EQ(TheFakeHost().handlerQueries, std::vector<std::string>{topic}) << c.what;
        DestroyWindow(window_);
    }
}

TEST_F(ProtocolWindowTest, OkAndCancelCommandsDestroyTheWindow) {
    FillSample(NewDatabase());
    for (int command : {IDOK, IDCANCEL}) {
        ASSERT_NE(OpenWindow(), nullptr);
        SendMessageW(window_, WM_COMMAND, command, 0);
        EXPECT_FALSE(IsWindow(window_)) << command;
    }
    ASSERT_NE(OpenWindow(), nullptr);
    // The close box's WM_CLOSE comes back as a posted IDCANCEL.
    SendMessageW(window_, WM_CLOSE, 0, 0);
    DispatchPending();
    EXPECT_FALSE(IsWindow(window_));
}

TEST_F(ProtocolWindowTest, EnlargingMovesAndStretchesByTheAnchorTable) {
    FillSample(NewDatabase());
    ASSERT_NE(OpenWindow(), nullptr);
    const SIZE first = OuterSize(window_);
    MINMAXINFO info{};
    SendMessageW(window_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, first.cx);
    EXPECT_EQ(info.ptMinTrackSize.y, first.cy);

    struct Placed {
        int id;
        int x, y, width, height;         // template place in dialog units
        int moveX, moveY, growX, growY;  // per pixel of enlargement, 0 or 1
    } controls[] = {
        {IDC_FIRST_CAPTION, 7, 11, 43, 8, 0, 0, 0, 0},
        {IDC_SECOND_CAPTION, 7, 26, 43, 8, 0, 0, 0, 0},
        {IDC_FIRST_LABEL, 53, 11, 456, 8, 0, 0, 1, 0},
        {IDC_SECOND_LABEL, 53, 26, 456, 8, 0, 0, 1, 0},
        {IDC_SELECT, 542, 8, 50, 14, 1, 0, 0, 0},
        {IDC_REPORT, 542, 23, 50, 14, 1, 0, 0, 0},
        {IDC_OPEN_FIRST, 515, 8, 23, 14, 1, 0, 0, 0},
        {IDC_OPEN_SECOND, 515, 23, 23, 14, 1, 0, 0, 0},
        {IDC_PROTOCOL_LIST, 7, 38, 585, 114, 0, 0, 1, 1},
        {IDOK, 542, 155, 50, 14, 1, 1, 0, 0},
    };
    auto expectAt = [&](int dx, int dy, const char* when) {
        for (const Placed& c : controls) {
            RECT expected = DialogUnitsRect(window_, c.x, c.y, c.width, c.height);
            OffsetRect(&expected, c.moveX * dx, c.moveY * dy);
            expected.right += c.growX * dx;
            expected.bottom += c.growY * dy;
            const RECT actual = ChildRect(Control(c.id));
            EXPECT_TRUE(EqualRect(&actual, &expected))
                << when << ": control " << c.id << " at " << actual.left << "," << actual.top << "-"
                << actual.right << "," << actual.bottom << " expected " << expected.left << ","
                << expected.top << "-" << expected.right << "," << expected.bottom;
        }
    };
    expectAt(0, 0, "first size");

    auto resize = [&](int width, int height) {
        SetWindowPos(window_, nullptr, 0, 0, width, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    resize(first.cx + 40, first.cy + 30);
    expectAt(40, 30, "enlarged by 40, 30");
    SetWindowPos(window_, nullptr, 25, 35, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    expectAt(40, 30, "moved only");
    resize(first.cx + 100, first.cy + 30);
    expectAt(100, 30, "enlarged again");
    resize(first.cx, first.cy);
    expectAt(0, 0, "back to the first size");

    // The minimum stays the first size however the window has been resized since.
    SendMessageW(window_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, first.cx);
    EXPECT_EQ(info.ptMinTrackSize.y, first.cy);
}

TEST_F(ProtocolWindowTest, MinimizingOrMaximizingAndRestoringLeavesEveryControlWhereItWas) {
    FillSample(NewDatabase());
    ASSERT_NE(OpenWindow(), nullptr);
    // Enlarged first, so the restored layout must be the last real size, not the first one.
    const SIZE first = OuterSize(window_);
    SetWindowPos(window_, nullptr, 0, 0, first.cx + 40, first.cy + 30,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int ids[] = {
        IDC_FIRST_CAPTION, IDC_SECOND_CAPTION, IDC_FIRST_LABEL, IDC_SECOND_LABEL,  IDC_SELECT,
        IDC_REPORT,        IDC_OPEN_FIRST,     IDC_OPEN_SECOND, IDC_PROTOCOL_LIST, IDOK};
    std::vector<RECT> before;
    for (int id : ids) before.push_back(ChildRect(Control(id)));

    for (int show : {SW_MINIMIZE, SW_MAXIMIZE}) {
        ShowWindow(window_, show);
        ShowWindow(window_, SW_RESTORE);
        EXPECT_EQ(OuterSize(window_).cx, first.cx + 40) << show;
        EXPECT_EQ(OuterSize(window_).cy, first.cy + 30) << show;
        for (std::size_t i = 0; i < before.size(); ++i) {
            const RECT after = ChildRect(Control(ids[i]));
            EXPECT_TRUE(EqualRect(&after, &before[i]))
                << "after show " << show << ": control " << ids[i] << " at " << after.left << ","
                << after.top << "-" << after.right << "," << after.bottom << " was "
                << before[i].left << "," << before[i].top << "-" << before[i].right << ","
                << before[i].bottom;
        }
    }
}
