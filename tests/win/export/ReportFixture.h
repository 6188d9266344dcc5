#pragma once

// A protocol window on a test database, its second label and its list set directly, and the
// report button pressed with every message box it opens recorded and dismissed.

#include <gtest/gtest.h>
#include <windows.h>
#include <pugixml.hpp>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "check/HostDatabase.h"
#include "check/driver/MessageBoxes.h"
#include "database/AssayId.h"

using ListRow = std::array<std::u16string, 9>;

class ReportTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Forgets earlier calls and answers the next ones with `result` (without rendering).
    void ResetHost(std::int32_t result = 0);
    // A fresh database whose location the process now holds.
    HostDatabase& NewDatabase(HostDatabase::Schema schema, bool withVersionInfo = true);
    // What label 1005 holds, as the selection would store it.
    void SetSecondAssay(AssayId id);
    // Replaces the protocol list's rows.
    void SetRows(const std::vector<ListRow>& rows);
    // Presses "Отчёт"; returns the message boxes it showed, each dismissed with OK.
    std::vector<MessageBoxText> PressReport();

    // The "root" of the tree the host received in its last call (a copy), or an empty handle.
    pugi::xml_node ReceivedRoot();

    HWND window_ = nullptr;
    std::unique_ptr<HostDatabase> db_;
};

// The UTF-8 names of the children of `node` in order.
std::vector<std::string> ChildNames(pugi::xml_node node);
// The UTF-16 text of the text element `name` under `node`; fails the test unless the element
// holds exactly one text node.
std::u16string TextOf(pugi::xml_node node, const char* name);
// Nine cells "<prefix>.0" … "<prefix>.8".
ListRow RowOf(const std::u16string& prefix);
