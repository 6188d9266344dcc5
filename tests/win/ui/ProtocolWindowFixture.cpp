#include "tests/win/ui/ProtocolWindowFixture.h"

#include <commctrl.h>

#include <optional>

#include "check/driver/WindowActions.h"
#include "database/DataBaseConnectionBase.h"
#include "database/SqlConnection.h"
#include "protocol/ComputeProtocol.h"
#include "protocol/ReadComponentConcentrations.h"
#include "tests/win/ui/FakeHost.h"
#include "tests/win/ui/WindowProbe.h"
#include "ui/LabelAssayId.h"
#include "ui/ProtocolWindow.h"
#include "ui/resource.h"

namespace {

constexpr std::int64_t kEpochFileTime = 116444736000000000;

LRESULT CALLBACK hostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND createHostWindow() {
    static const ATOM registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = hostWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"NivraUiTestHost";
        return RegisterClassW(&windowClass);
    }();
    if (!registered) return nullptr;
    return CreateWindowExW(0, L"NivraUiTestHost", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

std::int64_t UnixSeconds(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME time{year, month, 0, day, hour, minute, second, 0};
    FILETIME file{};
    SystemTimeToFileTime(&time, &file);
    const auto units = (static_cast<std::int64_t>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
    return (units - kEpochFileTime) / 10000000;
}

SYSTEMTIME CalendarOf(std::int64_t unixSeconds) {
    // Days since 1970-01-01 to a civil date (proleptic Gregorian), then the time of day.
    std::int64_t days = unixSeconds / 86400, rest = unixSeconds % 86400;
    if (rest < 0) rest += 86400, --days;
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    const std::int64_t day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const std::int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(rest / 3600);
    time.wMinute = static_cast<WORD>(rest / 60 % 60);
    time.wSecond = static_cast<WORD>(rest % 60);
    return time;
}

std::u16string LabelText(std::int64_t date, const std::u16string& sample) {
    const SYSTEMTIME time = CalendarOf(date);
    return ShortDate(time) + u" " + TimeWithSeconds(time) + u" " + sample;
}

std::u16string ItemText(std::int64_t date, const std::u16string& sample) {
    const SYSTEMTIME time = CalendarOf(date);
    return ShortDate(time) + u"   " + TimeWithSeconds(time) + u"   " + sample;
}

ProtocolCells ExpectedProtocol(const HostDatabase& db, AssayId first, AssayId second) {
    DataBase::SqlConnection connection(db.uri().c_str());
    const auto table = ImpurityCalculation::computeProtocol(
        ImpurityCalculation::readComponentConcentrations(connection, first, second));
    ProtocolCells cells;
    for (const auto& row : table.rows) cells.emplace_back(row.cells.begin(), row.cells.end());
    return cells;
}

void ProtocolWindowTest::SetUp() {
    TheFakeHost() = FakeHost{};
    owner_ = createHostWindow();
    ASSERT_NE(owner_, nullptr);
}

void ProtocolWindowTest::TearDown() {
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
    if (owner_) DestroyWindow(owner_);
    DataBase::GetDataBaseConnection().setUri(nullptr);
    db_.reset();
}

HostDatabase& ProtocolWindowTest::NewDatabase(bool withVersionInfo) {
    db_ = std::make_unique<HostDatabase>(HostDatabase::tempPath("ui"),
                                         HostDatabase::Schema::WithEmployeeName, withVersionInfo);
    // Building the file needs no durability, and syncing every insert is slow under Wine.
    db_->exec("PRAGMA synchronous=OFF; PRAGMA journal_mode=MEMORY;");
    DataBase::GetDataBaseConnection().setUri(db_->uri().c_str());
    return *db_;
}

HWND ProtocolWindowTest::OpenWindow() {
    window_ = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PROTOCOL), owner_,
                                 ProtocolWindowProc, 0);
    if (window_) ShowWindow(window_, SW_SHOW);
    return window_;
}

void ProtocolWindowTest::PressButton(int id, std::vector<ScriptStep> steps) {
    const ScriptOutcome outcome = Press(window_, id, std::move(steps));
    EXPECT_TRUE(outcome.completed) << outcome.failure;
}

void ProtocolWindowTest::PressSelect(std::vector<ScriptStep> steps) {
    PressButton(IDC_SELECT, std::move(steps));
}

ScriptStep ProtocolWindowTest::InSelection(std::string what, std::function<void(HWND)> act) {
    return OnOwnedDialog(std::move(what), window_, std::move(act));
}

ScriptStep ProtocolWindowTest::MarkAndAccept(std::vector<int> items) {
    return InSelection("mark and accept", [items](HWND dialog) {
        // Exactly these items: the current pair may have come marked.
        SendDlgItemMessageW(dialog, IDC_MEASUREMENT_LIST, LB_SETSEL, FALSE, -1);
        for (int item : items)
            SendDlgItemMessageW(dialog, IDC_MEASUREMENT_LIST, LB_SETSEL, TRUE, item);
        PostClick(dialog, IDOK);
    });
}

void ProtocolWindowTest::Choose(std::vector<int> items) {
    PressSelect({MarkAndAccept(items)});
}

AssayId ProtocolWindowTest::LabelId(int id) const {
    return LabelAssayId(Control(id));
}

void FillSample(HostDatabase& db) {
    const SampleIds ids;
    auto add = [&db](AssayId id, std::int64_t date, const char* sample, const char* series,
                     std::optional<std::string> file) {
        HostDatabase::Assay assay;
        assay.id = id;
        assay.date = date;
        assay.sample = sample;
        assay.series = series;
        assay.filename = file;
        db.addAssay(assay);
    };
    add(ids.a1, UnixSeconds(2020, 9, 13, 12, 26, 40), "Проба А1", "Серия А", "C:\\data\\a1.vdat");
    add(ids.a2, UnixSeconds(2020, 9, 13, 12, 36, 40), "Проба А2", "Серия А", std::nullopt);
    add(ids.b1, UnixSeconds(2023, 11, 14, 22, 13, 20), "Проба Б1", "Серия Б", "b1.vdat");
    add(ids.b2, UnixSeconds(2023, 11, 14, 22, 14, 20), "Проба Б2", "Серия Б", "b2.vdat");
    add(ids.b3, UnixSeconds(2023, 11, 14, 22, 15, 20), "Проба Б3", "Серия Б", "b3.vdat");
    db.addPeak(ids.a1, "Азот", 0.0021);
    db.addPeak(ids.a2, "Азот", 0.0019);
    db.addPeak(ids.a1, "Кислород", 0.0007);
    db.addPeak(ids.a2, "кислород", 0.0009);
    db.addPeak(ids.a1, "CO2", 0.5);  // not a component name: ignored
}

void FillReferenceCase(HostDatabase& db, const ReferenceCase& reference) {
    std::int64_t date = 1000;
    for (const CaseMeasurement* measurement : {&reference.first, &reference.second}) {
        HostDatabase::Assay assay;
        assay.date = date;
        assay.sample = measurement->sample;
        assay.series = "s";
        const AssayId id = db.addAssay(assay);
        for (const auto& [name, concentration] : measurement->peaks)
            db.addPeak(id, name, concentration);
        date += 1000;
    }
}
