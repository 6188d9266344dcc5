// AssayIds above 2^32 pass through the dialog's items and the window's labels whole: the
// measurement whose id shares their low 32 bits is never taken for them.
#include <windows.h>

#include <commctrl.h>

#include "check/driver/ControlText.h"
#include "tests/win/ui/FakeHost.h"
#include "tests/win/ui/ProtocolWindowFixture.h"
#include "tests/win/ui/WindowProbe.h"
#include "ui/resource.h"

using namespace ControlText;

TEST_F(ProtocolWindowTest, IdsAboveTwoToTheThirtyTwoSurvive) {
    constexpr AssayId kHigh = 4294967301;      // 2^32 + 5
    constexpr AssayId kHigher = 8589934598;    // 2^33 + 6
    HostDatabase& db = NewDatabase();
    auto add = [&db](AssayId id, std::int64_t date, const char* sample, const char* file) {
        HostDatabase::Assay assay;
        assay.id = id;
        assay.date = date;
        assay.sample = sample;
        assay.series = "s";
        assay.filename = file;
        db.addAssay(assay);
    };
    // Their low halves' namesakes, in the same series, newest first in the list.
    add(5, 4000, "пять", "five.vdat");
    add(6, 3000, "шесть", "six.vdat");
    add(kHigh, 2000, "большое", "high.vdat");
    add(kHigher, 1000, "большее", "higher.vdat");
    db.addPeak(kHigh, "Неон", 0.004);
    db.addPeak(kHigher, "Неон", 0.005);
    db.addPeak(5, "Неон", 1.0);
    db.addPeak(6, "Неон", 2.0);
    ASSERT_NE(OpenWindow(), nullptr);

    Choose({2, 3});
    EXPECT_EQ(LabelId(IDC_FIRST_LABEL), kHigher);
    EXPECT_EQ(LabelId(IDC_SECOND_LABEL), kHigh);
    EXPECT_EQ(WindowText(Control(IDC_FIRST_LABEL)), LabelText(1000, u"большее"));
    EXPECT_EQ(WindowText(Control(IDC_SECOND_LABEL)), LabelText(2000, u"большое"));
    const auto rows = ListViewCells(Control(IDC_PROTOCOL_LIST));
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows, ExpectedProtocol(db, kHigher, kHigh));
    EXPECT_NE(rows, ExpectedProtocol(db, 6, 5));

    // Reopening marks exactly the large pair, not its namesakes.
    PressSelect({InSelection("marks", [](HWND dialog) {
        std::vector<int> marks;
        const auto count = SendDlgItemMessageW(dialog, IDC_MEASUREMENT_LIST, LB_GETSELCOUNT, 0, 0);
        marks.resize(static_cast<std::size_t>(count > 0 ? count : 0));
        if (!marks.empty())
            SendDlgItemMessageW(dialog, IDC_MEASUREMENT_LIST, LB_GETSELITEMS, marks.size(),
                                reinterpret_cast<LPARAM>(marks.data()));
        EXPECT_EQ(marks, (std::vector<int>{2, 3}));
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    })});

    TheFakeHost().requests.clear();
    SendMessageW(window_, WM_COMMAND, IDC_OPEN_FIRST, 0);
    SendMessageW(window_, WM_COMMAND, IDC_OPEN_SECOND, 0);
    ASSERT_EQ(TheFakeHost().requests.size(), 2u);
    EXPECT_EQ(TheFakeHost().requests[0].text, u"higher.vdat");
    EXPECT_EQ(TheFakeHost().requests[1].text, u"high.vdat");
}
