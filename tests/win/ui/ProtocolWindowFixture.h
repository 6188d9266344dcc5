#pragma once

// A protocol window on a test database, with the helpers that drive it.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "check/HostDatabase.h"
#include "check/driver/WindowScript.h"
#include "check/road/ReferenceCase.h"
#include "database/AssayId.h"

// Unix seconds of a UTC calendar time.
std::int64_t UnixSeconds(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second);
// The UTC calendar time of Unix seconds, worked out by the test itself.
SYSTEMTIME CalendarOf(std::int64_t unixSeconds);

// The text a measurement shows in a label ("date time sample") and in the selection list
// ("date   time   sample"), from the user's formats of the test's own calendar time.
std::u16string LabelText(std::int64_t date, const std::u16string& sample);
std::u16string ItemText(std::int64_t date, const std::u16string& sample);

// The protocol of two measurements as the calculation gives it, as the list's texts.
using ProtocolCells = std::vector<std::vector<std::u16string>>;
ProtocolCells ExpectedProtocol(const HostDatabase& db, AssayId first, AssayId second);

class ProtocolWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates a fresh database at a new path and points the process's location at it.
    HostDatabase& NewDatabase(bool withVersionInfo = true);
    // Creates and shows a protocol window owned by the test's host window.
    HWND OpenWindow();

    // Presses button `id` and plays `steps` in the windows it opens; the test fails unless
    // every step runs and no other message box shows.
    void PressButton(int id, std::vector<ScriptStep> steps);
    // Presses "Выбрать" and plays `steps` in the dialogs it opens.
    void PressSelect(std::vector<ScriptStep> steps);
    // The step that acts on the selection dialog when it is the active modal window.
    ScriptStep InSelection(std::string what, std::function<void(HWND)> act);
    // Marks the measurement items in the given order, then presses OK.
    ScriptStep MarkAndAccept(std::vector<int> items);
    // Chooses a pair through the dialog (marks exactly these items of the selected series,
    // then OK).
    void Choose(std::vector<int> items);

    HWND Control(int id) const { return GetDlgItem(window_, id); }
    AssayId LabelId(int id) const;

    HWND owner_ = nullptr;
    HWND window_ = nullptr;
    std::unique_ptr<HostDatabase> db_;
    std::vector<MessageBoxText> boxes_;
};

// The sample most tests use: series "Серия А" (older) with two measurements and peaks, and
// series "Серия Б" (newest) with three measurements and no peaks.
struct SampleIds {
    AssayId a1 = 11, a2 = 12, b1 = 21, b2 = 22, b3 = 23;
};
void FillSample(HostDatabase& db);

// A reference case's pair as the only two measurements of one series, the older first.
void FillReferenceCase(HostDatabase& db, const ReferenceCase& reference);
