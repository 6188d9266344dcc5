// Database failures during the window's actions: each shows one warning owned by the window
// or dialog it happened in, and the window stays alive and unchanged. A write of another
// program is waited for.
#include <windows.h>

#include <commctrl.h>
#include <sqlite3.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <future>
#include <mutex>
#include <optional>
#include <thread>

#include "check/driver/ControlText.h"
#include "database/SqlConnection.h"
#include "tests/win/ui/FakeHost.h"
#include "tests/win/ui/ProtocolWindowFixture.h"
#include "tests/win/ui/WindowProbe.h"
#include "ui/resource.h"

using namespace ControlText;

namespace {

const std::u16string kSupport = u"\nСведения для поддержки: ";
const std::u16string kNoAssayTable =
    u"Ошибка базы данных." + kSupport + u"no such table: assay (код 1)";
const std::u16string kNoPeakTable =
    u"Ошибка базы данных." + kSupport + u"no such table: peak (код 1)";

// The host writing: a connection of its own, on its own thread, that holds the database's
// write lock from construction until `hold` has passed or release().
class WriteLock {
public:
    WriteLock(const std::string& path, std::chrono::milliseconds hold) {
        writer_ = std::thread([this, path, hold] {
            sqlite3* db = nullptr;
            sqlite3_open(path.c_str(), &db);
            sqlite3_exec(db, "BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr);
            taken_.set_value();
            std::unique_lock<std::mutex> lock(mutex_);
            released_.wait_for(lock, hold, [this] { return release_; });
            sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
            sqlite3_close(db);
        });
        taken_.get_future().wait();
    }
    ~WriteLock() { release(); }
    void release() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            release_ = true;
        }
        released_.notify_all();
        if (writer_.joinable()) writer_.join();
    }

private:
    std::promise<void> taken_;
    std::mutex mutex_;
    std::condition_variable released_;
    bool release_ = false;
    std::thread writer_;
};

}  // namespace

TEST_F(ProtocolWindowTest, AWriteOfAWhileIsWaitedForByTheCalculationAndTheReport) {
    HostDatabase& db = NewDatabase();
    FillSample(db);
    db.addVersion(27, 1, 1);  // the report's operator query for this schema
    ASSERT_NE(OpenWindow(), nullptr);
    const SampleIds ids;
    std::optional<WriteLock> write;
    PressSelect({InSelection("the host starts writing; mark and accept", [&](HWND dialog) {
        write.emplace(db.path(), std::chrono::milliseconds(1000));
        // Серия Б is selected: its newest two.
        for (int item : {0, 1})
            SendDlgItemMessageW(dialog, IDC_MEASUREMENT_LIST, LB_SETSEL, TRUE, item);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    })});
    EXPECT_EQ(LabelId(IDC_SECOND_LABEL), ids.b3);
    EXPECT_EQ(ListViewCells(Control(IDC_PROTOCOL_LIST)), ExpectedProtocol(db, ids.b2, ids.b3));

    write.emplace(db.path(), std::chrono::milliseconds(1000));
    PressButton(IDC_REPORT, {});
    EXPECT_EQ(TheFakeHost().reports.size(), 1u);
}

TEST_F(ProtocolWindowTest, AWriteHeldPastTheWaitShowsTheBusyTextAndTheNextTrySucceeds) {
    HostDatabase& db = NewDatabase();
    FillSample(db);
    ASSERT_NE(OpenWindow(), nullptr);
    WriteLock write(db.path(), std::chrono::milliseconds(DataBase::kBusyTimeoutMilliseconds * 10));
    PressSelect({DismissMessageBox(boxes_)});
    write.release();
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text,
              u"Не удалось прочитать список серий.\n\n"
              u"База данных занята другой программой. Повторите попытку позже." +
                  kSupport + u"database is locked (код 5)");
    Choose({1, 2});
    EXPECT_EQ(ListViewCells(Control(IDC_PROTOCOL_LIST)).size(), 9u);
}

TEST_F(ProtocolWindowTest, AMissingDatabaseWarnsAndNoFileAppears) {
    HostDatabase& db = NewDatabase();
    db.close();
    std::filesystem::remove(std::filesystem::u8path(db.path()));
    ASSERT_NE(OpenWindow(), nullptr);
    PressSelect({DismissMessageBox(boxes_)});
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text.rfind(u"Не удалось прочитать список серий.\n\nФайл базы данных не "
                                   u"найден или недоступен.",
                                   0),
              0u);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::u8path(db.path())));
}

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

TEST_F(ProtocolWindowTest, AChosenMeasurementGoneBeforeOkGivesNoProtocolAndTheReportStaysWhole) {
    HostDatabase& db = NewDatabase();
    FillSample(db);
    db.addVersion(27, 1, 1);  // the report's operator query for this schema
    const SampleIds ids;
    ASSERT_NE(OpenWindow(), nullptr);
    Choose({0, 1});  // Серия Б's two newest
    const auto labels =
        std::make_pair(WindowText(Control(IDC_FIRST_LABEL)), LabelId(IDC_SECOND_LABEL));
    const auto rows = ListViewCells(Control(IDC_PROTOCOL_LIST));
    ASSERT_EQ(rows.size(), 9u);

    HostDatabase* database = &db;
    PressSelect(
        {InSelection(
             "choose Серия А's pair, which the host then deletes half of",
             [database, &ids](HWND dialog) {
                 SendDlgItemMessageW(dialog, IDC_SERIES_LIST, LB_SETCURSEL, 1, 0);
                 SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_SERIES_LIST, LBN_SELCHANGE), 0);
                 SendDlgItemMessageW(dialog, IDC_MEASUREMENT_LIST, LB_SETSEL, TRUE, -1);
                 database->exec("DELETE FROM peak WHERE assayid = " + std::to_string(ids.a2) +
                                "; DELETE FROM assay WHERE id = " + std::to_string(ids.a2) + ";");
                 PostMessageW(dialog, WM_COMMAND, IDOK, 0);
             }),
         DismissMessageBox(boxes_)});
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].owner, window_);
    EXPECT_EQ(boxes_[0].text,
              u"Выбранного измерения больше нет в базе данных: возможно, его "
              u"удалили. Протокол не рассчитан. Выберите измерения заново.");
    EXPECT_EQ(std::make_pair(WindowText(Control(IDC_FIRST_LABEL)), LabelId(IDC_SECOND_LABEL)),
              labels);
    EXPECT_EQ(ListViewCells(Control(IDC_PROTOCOL_LIST)), rows);

    // The report describes the measurement its table was computed from.
    PressButton(IDC_REPORT, {});
    ASSERT_EQ(TheFakeHost().reports.size(), 1u);
    EXPECT_EQ(TheFakeHost().reports[0].sample, u"Проба Б3");
    EXPECT_EQ(TheFakeHost().reports[0].rows, rows);
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
                        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_SERIES_LIST, LBN_SELCHANGE),
                                     0);
                    }),
        DismissMessageBox(boxes_),
        InSelection(
            "still open with an empty list",
            [](HWND dialog) {
                EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_MEASUREMENT_LIST, LB_GETCOUNT, 0, 0), 0);
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
