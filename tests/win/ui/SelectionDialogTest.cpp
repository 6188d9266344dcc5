// The measurement selection dialog, opened from a real protocol window and operated inside
// its modal loop.
#include <windows.h>

#include <commctrl.h>

#include "check/driver/ControlText.h"
#include "tests/win/ui/FakeHost.h"
#include "tests/win/ui/ProtocolWindowFixture.h"
#include "tests/win/ui/WindowProbe.h"
#include "ui/resource.h"

using namespace ControlText;

namespace {

const std::u16string kTooFew = u"Выбрано менее двух измерений";
const std::u16string kTooMany = u"Выбрано более двух измерений";

HWND seriesList(HWND dialog) {
    return GetDlgItem(dialog, IDC_SERIES_LIST);
}
HWND measurementList(HWND dialog) {
    return GetDlgItem(dialog, IDC_MEASUREMENT_LIST);
}

void selectSeries(HWND dialog, int index) {
    SendMessageW(seriesList(dialog), LB_SETCURSEL, index, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_SERIES_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(seriesList(dialog)));
}

// Marks the two measurements of series А (the second series) and accepts: the pair a1, a2.
void choosePairOfSeriesA(HWND dialog) {
    selectSeries(dialog, 1);
    SendMessageW(measurementList(dialog), LB_SETSEL, TRUE, 0);
    SendMessageW(measurementList(dialog), LB_SETSEL, TRUE, 1);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

}  // namespace

TEST_F(ProtocolWindowTest, FirstChoiceListsTheNewestSeriesWithNothingMarked) {
    FillSample(NewDatabase());
    ASSERT_NE(OpenWindow(), nullptr);
    ASSERT_EQ(LabelId(IDC_FIRST_LABEL), 0);
    ASSERT_EQ(LabelId(IDC_SECOND_LABEL), 0);

    PressSelect({InSelection("inspect", [](HWND dialog) {
        EXPECT_EQ(WindowText(dialog), u"Выбор измерений");
        EXPECT_EQ(ListBoxItems(seriesList(dialog)),
                  (std::vector<std::u16string>{u"Серия Б", u"Серия А"}));
        EXPECT_EQ(SendMessageW(seriesList(dialog), LB_GETCURSEL, 0, 0), 0);
        EXPECT_EQ(ListBoxItems(measurementList(dialog)),
                  (std::vector<std::u16string>{
                      ItemText(UnixSeconds(2023, 11, 14, 22, 15, 20), u"Проба Б3"),
                      ItemText(UnixSeconds(2023, 11, 14, 22, 14, 20), u"Проба Б2"),
                      ItemText(UnixSeconds(2023, 11, 14, 22, 13, 20), u"Проба Б1"),
                  }));
        EXPECT_TRUE(ListBoxMarks(measurementList(dialog)).empty());
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    })});
    EXPECT_EQ(WindowText(Control(IDC_FIRST_LABEL)), u"");
    EXPECT_EQ(SendMessageW(Control(IDC_PROTOCOL_LIST), LVM_GETITEMCOUNT, 0, 0), 0);
}

TEST_F(ProtocolWindowTest, CurrentPairsSeriesIsSelectedAndThePairMarked) {
    FillSample(NewDatabase());
    ASSERT_NE(OpenWindow(), nullptr);
    PressSelect({InSelection("pick series А", choosePairOfSeriesA)});
    const SampleIds ids;
    ASSERT_EQ(LabelId(IDC_FIRST_LABEL), ids.a1);
    ASSERT_EQ(LabelId(IDC_SECOND_LABEL), ids.a2);

    PressSelect({InSelection("reopened", [](HWND dialog) {
        EXPECT_EQ(SendMessageW(seriesList(dialog), LB_GETCURSEL, 0, 0), 1);
        EXPECT_EQ(ListBoxMarks(measurementList(dialog)), (std::vector<int>{0, 1}));
        // Another series drops the marks; coming back marks the pair again, the user's
        // own marks on the way are gone.
        selectSeries(dialog, 0);
        EXPECT_EQ(ListBoxItems(measurementList(dialog)).size(), 3u);
        EXPECT_TRUE(ListBoxMarks(measurementList(dialog)).empty());
        SendMessageW(measurementList(dialog), LB_SETSEL, TRUE, 2);
        selectSeries(dialog, 1);
        EXPECT_EQ(ListBoxMarks(measurementList(dialog)), (std::vector<int>{0, 1}));
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    })});
}

TEST_F(ProtocolWindowTest, PairOutsideTheListedSeriesLeavesTheMeasurementsEmpty) {
    HostDatabase& db = NewDatabase();
    FillSample(db);
    ASSERT_NE(OpenWindow(), nullptr);
    PressSelect({InSelection("pick series А", choosePairOfSeriesA)});
    ASSERT_EQ(LabelId(IDC_FIRST_LABEL), SampleIds{}.a1);

    // A hundred newer series push the pair's series out of the list.
    for (int i = 0; i < 100; ++i) {
        HostDatabase::Assay assay;
        assay.date = UnixSeconds(2024, 1, 1, 0, 0, 0) + i;
        assay.series = "Новая " + std::to_string(i);
        db.addAssay(assay);
    }
    PressSelect({InSelection("pair's series not listed", [](HWND dialog) {
        EXPECT_EQ(ListBoxItems(seriesList(dialog)).size(), 100u);
        EXPECT_EQ(SendMessageW(seriesList(dialog), LB_GETCURSEL, 0, 0), LB_ERR);
        EXPECT_TRUE(ListBoxItems(measurementList(dialog)).empty());
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    })});
}

TEST_F(ProtocolWindowTest, WrongNumbersOfMarksAreRefusedAndTheDialogStays) {
    FillSample(NewDatabase());
    ASSERT_NE(OpenWindow(), nullptr);
    struct Case {
        std::vector<int> marks;
        std::u16string warning;
    } cases[] = {{{}, kTooFew}, {{1}, kTooFew}, {{0, 1, 2}, kTooMany}};
    for (const Case& c : cases) {
        boxes_.clear();
        HWND seen = nullptr;
        PressSelect({
            MarkAndAccept(c.marks),
            DismissMessageBox(boxes_),
            InSelection("still open",
                        [&](HWND dialog) {
                            seen = dialog;
                            EXPECT_EQ(ListBoxMarks(measurementList(dialog)), c.marks);
                            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                        }),
        });
        ASSERT_EQ(boxes_.size(), 1u);
        EXPECT_EQ(boxes_[0].text, c.warning);
        EXPECT_EQ(boxes_[0].caption, u"Ошибка");
        EXPECT_EQ(boxes_[0].owner, seen);
        EXPECT_EQ(LabelId(IDC_FIRST_LABEL), 0);
        EXPECT_EQ(SendMessageW(Control(IDC_PROTOCOL_LIST), LVM_GETITEMCOUNT, 0, 0), 0);
    }
}

TEST_F(ProtocolWindowTest, TwoMarksInEitherOrderPutTheOlderFirst) {
    FillSample(NewDatabase());
    ASSERT_NE(OpenWindow(), nullptr);
    const SampleIds ids;
    struct Case {
        std::vector<int> clicks;
        AssayId first, second;
    } cases[] = {
        {{0, 2}, ids.b1, ids.b3},
        {{2, 0}, ids.b1, ids.b3},
        {{1, 0}, ids.b2, ids.b3},
        {{2, 1}, ids.b1, ids.b2},
    };
    for (const Case& c : cases) {
        Choose(c.clicks);
        EXPECT_EQ(LabelId(IDC_FIRST_LABEL), c.first);
        EXPECT_EQ(LabelId(IDC_SECOND_LABEL), c.second);
    }
}

TEST_F(ProtocolWindowTest, CancelLeavesLabelsAndRowsAsTheyWere) {
    FillSample(NewDatabase());
    ASSERT_NE(OpenWindow(), nullptr);
    Choose({0, 1});
    const auto labels =
        std::make_pair(WindowText(Control(IDC_FIRST_LABEL)), WindowText(Control(IDC_SECOND_LABEL)));
    const auto rows = ListViewCells(Control(IDC_PROTOCOL_LIST));
    ASSERT_EQ(rows.size(), 9u);

    PressSelect({InSelection("mark another pair, then cancel", [](HWND dialog) {
        selectSeries(dialog, 1);
        SendMessageW(measurementList(dialog), LB_SETSEL, TRUE, 0);
        SendMessageW(measurementList(dialog), LB_SETSEL, TRUE, 1);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    })});
    EXPECT_EQ(WindowText(Control(IDC_FIRST_LABEL)), labels.first);
    EXPECT_EQ(WindowText(Control(IDC_SECOND_LABEL)), labels.second);
    EXPECT_EQ(ListViewCells(Control(IDC_PROTOCOL_LIST)), rows);
    EXPECT_EQ(LabelId(IDC_FIRST_LABEL), SampleIds{}.b2);
    EXPECT_EQ(LabelId(IDC_SECOND_LABEL), SampleIds{}.b3);
}

TEST_F(ProtocolWindowTest, SelectionDialogKeepsItsFirstSizeAsMinimum) {
    FillSample(NewDatabase());
    ASSERT_NE(OpenWindow(), nullptr);
    PressSelect({InSelection("minimum size", [](HWND dialog) {
        const SIZE size = OuterSize(dialog);
        MINMAXINFO info{};
        SendMessageW(dialog, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(info.ptMinTrackSize.x, size.cx);
        EXPECT_EQ(info.ptMinTrackSize.y, size.cy);
        // Made larger by something else, only OK and Cancel follow the corner.
        const RECT ok = ChildRect(GetDlgItem(dialog, IDOK));
        const RECT series = ChildRect(seriesList(dialog));
        SetWindowPos(dialog, nullptr, 0, 0, size.cx + 20, size.cy + 10,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        const RECT movedOk = ChildRect(GetDlgItem(dialog, IDOK));
        EXPECT_EQ(movedOk.left, ok.left + 20);
        EXPECT_EQ(movedOk.top, ok.top + 10);
        const RECT sameSeries = ChildRect(seriesList(dialog));
        EXPECT_TRUE(EqualRect(&sameSeries, &series));
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    })});
}
