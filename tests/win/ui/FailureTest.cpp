// Database failures during the window's actions: each shows one warning owned by the window
// or dialog it happened in, and the window stays alive and unchanged.
#include <windows.h>

#include <commctrl.h>

#include "check/driver/ControlText.h"
#include "tests/win/ui/FakeHost.h"
#include "tests/win/ui/ProtocolWindowFixture.h"
#include "tests/win/ui/WindowProbe.h"
#include "ui/resource.h"

using namespace ControlText;

namespace {

const std::u16string kNoAssayTable = u"no such table: assay";
const std::u16string kNoPeakTable = u"no such table: peak";

}  // namespace

TEST_F(ProtocolWindowTest, DatabaseWithoutAssayTableWarnsAndKeepsTheWindow) {
    HostDatabase& db = NewDatabase();
    db.exec("DROP TABLE assay;");
    ASSERT_NE(OpenWindow(), nullptr);
    PressSelect({DismissMessageBox(boxes_)});
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].caption, u"Ошибка");
    EXPECT_EQ(boxes_[0].text, u"Не удалось прочитать список серий.\n\n" + kNoAssayTable);
    // The box belonged to the selection dialog, which then ended as cancelled.
    EXPECT_NE(boxes_[0].owner, window_);
    EXPECT_EQ(boxes_[0].ownersOwner, window_);
    EXPECT_FALSE(IsWindow(boxes_[0].owner));
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_TRUE(IsWindowEnabled(window_));
    EXPECT_EQ(WindowText(Control(IDC_FIRST_LABEL)), u"");
    EXPECT_EQ(LabelId(IDC_FIRST_LABEL), 0);
}

TEST_F(ProtocolWindowTest, FailedCalculationWarnsAndLeavesTheWindowAsItWas) {
    HostDatabase& db = NewDatabase();
    FillSample(db);
    ASSERT_NE(OpenWindow(), nullptr);
    Choose({0, 1});
    const auto label = WindowText(Control(IDC_FIRST_LABEL));
    const auto rows = ListViewCells(Control(IDC_PROTOCOL_LIST));
    ASSERT_EQ(rows.size(), 9u);

    db.exec("DROP TABLE peak;");
    PressSelect({MarkAndAccept({1, 2}), DismissMessageBox(boxes_)});
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].owner, window_);
    EXPECT_EQ(boxes_[0].caption, u"Ошибка");
    EXPECT_EQ(boxes_[0].text,
              u"Не удалось рассчитать протокол по выбранным измерениям.\n\n" + kNoPeakTable);
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_EQ(WindowText(Control(IDC_FIRST_LABEL)), label);
    EXPECT_EQ(ListViewCells(Control(IDC_PROTOCOL_LIST)), rows);
}

TEST_F(ProtocolWindowTest, FailedOpenFileWarnsAndSendsNothing) {
    HostDatabase& db = NewDatabase();
    FillSample(db);
    ASSERT_NE(OpenWindow(), nullptr);
    Choose({0, 1});
    db.exec("ALTER TABLE assay RENAME TO gone;");
    TheFakeHost().requests.clear();
    PressButton(IDC_OPEN_FIRST, {DismissMessageBox(boxes_)});
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].owner, window_);
    EXPECT_EQ(boxes_[0].text, u"Не удалось открыть файл измерения.\n\n" + kNoAssayTable);
    EXPECT_TRUE(TheFakeHost().requests.empty());
    EXPECT_TRUE(IsWindow(window_));
}

TEST_F(ProtocolWindowTest, FailedSeriesChangeWarnsAndKeepsTheDialogOpen) {
    HostDatabase& db = NewDatabase();
    FillSample(db);
    ASSERT_NE(OpenWindow(), nullptr);
    HostDatabase* database = &db;
    PressSelect({
        InSelection("break the database, change series",
                    [database](HWND dialog) {
                        database->exec("ALTER TABLE assay RENAME TO gone;");
                        SendDlgItemMessageW(dialog, IDC_SERIES_LIST, LB_SETCURSEL, 1, 0);
                        PostMessageW(dialog, WM_COMMAND,
                                     MAKEWPARAM(IDC_SERIES_LIST, LBN_SELCHANGE), 0);
                    }),
        DismissMessageBox(boxes_),
        InSelection("still open with an empty list",
                    [](HWND dialog) {
                        EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_MEASUREMENT_LIST, LB_GETCOUNT,
                                                      0, 0),
                                  0);
                        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                    }),
        DismissMessageBox(boxes_),
        InSelection("cancel", [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); }),
    });
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[0].text, u"Не удалось прочитать измерения серии.\n\n" + kNoAssayTable);
    EXPECT_EQ(boxes_[0].ownersOwner, window_);
    EXPECT_EQ(boxes_[1].text, u"Выбрано менее двух измерений");
    EXPECT_TRUE(IsWindow(window_));
}
