// The two dialogs as their templates build them: controls in tab order with their classes,
// styles, texts and places; the list's columns; the string table; the icon.
#include <windows.h>

#include <commctrl.h>

#include "check/driver/ControlText.h"
#include "tests/win/ui/DialogTemplate.h"
#include "tests/win/ui/FakeHost.h"
#include "tests/win/ui/ProtocolWindowFixture.h"
#include "tests/win/ui/WindowProbe.h"
#include "ui/resource.h"

using namespace ControlText;

namespace {

struct ExpectedControl {
    int id;
    std::u16string className;
    std::u16string text;
    int x, y, width, height;
    DWORD style;  // the template's style, exactly
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kButton = kChild | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kDefaultButton = kChild | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD kText = kChild | WS_GROUP | SS_LEFT;
constexpr DWORD kListBox =
    kChild | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;

const std::vector<ExpectedControl> kProtocolControls = {
    {IDOK, u"Button", u"OK", 542, 155, 50, 14, kDefaultButton},
    {IDC_PROTOCOL_LIST, u"SysListView32", u"", 7, 38, 585, 114,
     kChild | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_ALIGNLEFT},
    {IDC_FIRST_CAPTION, u"Static", u"Измерение 1", 7, 11, 43, 8, kText},
    {IDC_SECOND_CAPTION, u"Static", u"Измерение 2", 7, 26, 43, 8, kText},
    {IDC_SELECT, u"Button", u"Выбрать", 542, 8, 50, 14, kButton},
    {IDC_FIRST_LABEL, u"Static", u"", 53, 11, 456, 8, kText},
    {IDC_SECOND_LABEL, u"Static", u"", 53, 26, 456, 8, kText},
    {IDC_OPEN_FIRST, u"Button", u"...", 515, 8, 23, 14, kButton},
    {IDC_OPEN_SECOND, u"Button", u"...", 515, 23, 23, 14, kButton},
    {IDC_REPORT, u"Button", u"Отчёт", 542, 23, 50, 14, kButton},
};

const std::vector<ExpectedControl> kSelectionControls = {
    {IDOK, u"Button", u"OK", 198, 246, 50, 14, kDefaultButton},
    {IDCANCEL, u"Button", u"Cancel", 252, 246, 50, 14, kButton},
    {-1, u"Static", u"Серия", 7, 11, 22, 8, kText},
    {IDC_SERIES_LIST, u"ListBox", u"", 7, 23, 295, 85, kListBox},
    {-1, u"Static", u"Измерения", 7, 111, 37, 8, kText},
    {IDC_MEASUREMENT_LIST, u"ListBox", u"", 7, 123, 295, 120, kListBox | LBS_MULTIPLESEL},
};

bool sameClass(const std::u16string& a, const std::u16string& b) {
    return _wcsicmp(reinterpret_cast<const wchar_t*>(a.c_str()),
                    reinterpret_cast<const wchar_t*>(b.c_str())) == 0;
}

// The resource itself: header and controls field by field.
void expectTemplate(int id, DWORD style, std::u16string title, short width, short height,
                    const std::vector<ExpectedControl>& controls) {
    const DialogTemplate dialog = ReadDialogTemplate(GetModuleHandleW(nullptr), id);
    EXPECT_EQ(dialog.style, style) << id;
    EXPECT_EQ(dialog.exStyle, 0u) << id;
    EXPECT_EQ(dialog.x, 0);
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.width, width);
    EXPECT_EQ(dialog.height, height);
    EXPECT_EQ(dialog.title, title);
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.weight, 400);
    EXPECT_EQ(dialog.typeface, u"MS Shell Dlg");
    ASSERT_EQ(dialog.items.size(), controls.size()) << id;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const TemplateItem& item = dialog.items[i];
        const ExpectedControl& c = controls[i];
        EXPECT_EQ(item.id, c.id) << "item " << i;
        EXPECT_TRUE(sameClass(item.className, c.className)) << "item " << i;
        EXPECT_EQ(item.text, c.text) << "item " << i;
        EXPECT_EQ(item.style, c.style) << "item " << i << " style " << std::hex << item.style;
        EXPECT_EQ(item.exStyle, 0u) << "item " << i;
        EXPECT_EQ((std::vector<int>{item.x, item.y, item.width, item.height}),
                  (std::vector<int>{c.x, c.y, c.width, c.height}))
            << "item " << i;
    }
}

// The live dialog: its children in z-order (the tab order) with their ids, classes, texts
// and places as the dialog manager converted them.
void expectControls(HWND dialog, const std::vector<ExpectedControl>& expected) {
    std::size_t index = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ASSERT_LT(index, expected.size()) << "more controls than expected";
        const ExpectedControl& c = expected[index++];
        EXPECT_EQ(GetDlgCtrlID(child), c.id) << "control " << index;
        EXPECT_TRUE(sameClass(ClassName(child), c.className)) << "control " << c.id;
        if (c.className != u"SysListView32" && c.className != u"ListBox") {
            EXPECT_EQ(WindowText(child), c.text) << "control " << c.id;
        }
        EXPECT_TRUE(IsWindowVisible(child)) << "control " << c.id;
        const RECT expectedRect = DialogUnitsRect(dialog, c.x, c.y, c.width, c.height);
        const RECT actual = ChildRect(child);
        EXPECT_TRUE(EqualRect(&actual, &expectedRect)) << "control " << c.id;
    }
    EXPECT_EQ(index, expected.size());
}

std::u16string loadString(int id) {
    wchar_t text[260] = {};
    const int length = LoadStringW(GetModuleHandleW(nullptr), id, text, 260);
    return std::u16string(text, text + length);
}

}  // namespace

TEST_F(ProtocolWindowTest, ProtocolWindowIsBuiltFromItsTemplate) {
    FillSample(NewDatabase());
    ASSERT_NE(OpenWindow(), nullptr);
    EXPECT_EQ(WindowText(window_), u"Протокол измерений");
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE));
    const DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    EXPECT_EQ(style & frame, frame);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
    EXPECT_EQ(GetWindow(window_, GW_OWNER), owner_);
    EXPECT_NE(SendMessageW(window_, WM_GETICON, ICON_BIG, 0), 0);

    expectTemplate(IDD_PROTOCOL,
                   WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_SETFONT | DS_FIXEDSYS,
                   u"Протокол измерений", 599, 176, kProtocolControls);
    expectControls(window_, kProtocolControls);

    HWND list = Control(IDC_PROTOCOL_LIST);
    const auto extended = SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    EXPECT_EQ(extended & (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT),
              LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    const struct {
        std::u16string header;
        int width, format;
    } columns[] = {
        {u"Компонент", 100, LVCFMT_LEFT},      {u"1 измерение", 100, LVCFMT_RIGHT},
        {u"2 измерение", 100, LVCFMT_RIGHT},   {u"Среднее", 100, LVCFMT_RIGHT},
        {u"Повторяемость", 100, LVCFMT_RIGHT}, {u"Предел", 100, LVCFMT_RIGHT},
        {u"Оценка", 50, LVCFMT_RIGHT},         {u"Неопределенность", 100, LVCFMT_RIGHT},
        {u"Результат", 120, LVCFMT_RIGHT},
    };
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 9);
    for (int i = 0; i < 9; ++i) {
        wchar_t text[260] = {};
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = 260;
        ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column)));
        EXPECT_EQ(std::u16string(text, text + wcslen(text)), columns[i].header) << i;
        // The widths are for 100 %; the window scales them to its screen.
        EXPECT_EQ(column.cx, MulDiv(columns[i].width, ScreenDpi(), 96)) << i;
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, columns[i].format) << i;
    }
}

TEST_F(ProtocolWindowTest, StringTableAndIcon) {
    const struct {
        int id;
        std::u16string text;
    } strings[] = {
        // clang-format off
        {IDS_COLUMN_COMPONENT, u"Компонент"}, {IDS_COLUMN_FIRST, u"1 измерение"},
        {IDS_COLUMN_SECOND, u"2 измерение"},  {IDS_COLUMN_MEAN, u"Среднее"},
        {IDS_COLUMN_REPEATABILITY, u"Повторяемость"}, {IDS_COLUMN_LIMIT, u"Предел"},
        {IDS_COLUMN_RATING, u"Оценка"},       {IDS_COLUMN_UNCERTAINTY, u"Неопределенность"},
        {IDS_COLUMN_RESULT, u"Результат"},    {IDS_ERROR_CAPTION, u"Ошибка"},
        {IDS_REPORT_FAILED, u"Возникли ошибки при формировании отчёта"},
        // clang-format on
    };
    for (const auto& s : strings) EXPECT_EQ(loadString(s.id), s.text) << s.id;

    for (int size : {16, 32, 48}) {
        HICON icon =
            static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_NIVRA),
                                          IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap{};
        GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

TEST_F(ProtocolWindowTest, SelectionDialogIsBuiltFromItsTemplate) {
    expectTemplate(IDD_SELECTION,
                   WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS,
                   u"Выбор измерений", 309, 267, kSelectionControls);
    FillSample(NewDatabase());
    ASSERT_NE(OpenWindow(), nullptr);
    PressSelect({InSelection("template", [](HWND dialog) {
        EXPECT_EQ(WindowText(dialog), u"Выбор измерений");
        const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE));
        EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU),
                  DWORD{WS_POPUP | WS_CAPTION | WS_SYSMENU});
        EXPECT_EQ(style & WS_THICKFRAME, 0u);
        EXPECT_NE(SendMessageW(dialog, WM_GETICON, ICON_BIG, 0), 0);
        EXPECT_NE(SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0), 0);
        expectControls(dialog, kSelectionControls);
        const DWORD seriesStyle =
            static_cast<DWORD>(GetWindowLongPtrW(GetDlgItem(dialog, IDC_SERIES_LIST), GWL_STYLE));
        EXPECT_EQ(seriesStyle & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL | LBS_SORT), 0u);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    })});
}
