#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Everything one report says, gathered before the document is built: the date of the report,
// what the database holds about the second measurement, and the protocol list's texts.

// The protocol list has nine columns; each row of the report carries all nine cells.
inline constexpr std::size_t kReportColumnCount = 9;
// A cell is read back into 260 units, terminator included, so it keeps at most 259.
inline constexpr std::size_t kReportCellCapacity = 260;

// The second measurement's header, its date and time already formatted for the user.
struct ReportMeasurement {
    std::u16string sample;
    std::u16string comment;
    std::u16string date;
    std::u16string time;
};

using ReportRow = std::array<std::u16string, kReportColumnCount>;

struct ProtocolReport {
    std::u16string protocolDate;
    // Present when the measurement's row was found.
    std::optional<ReportMeasurement> measurement;
    // Present when the operator query gave a row (empty text when no name is known).
    std::optional<std::u16string> operatorName;
    // The list's rows, top to bottom, cells in column order.
    std::vector<ReportRow> rows;
};

// A cell text as the 260-unit buffer holds it: its first 259 units. A cut that would split a
// surrogate pair drops its first half too.
std::u16string_view CutCellText(std::u16string_view cell);
