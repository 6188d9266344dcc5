#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace ImpurityCalculation {

// Column positions of a protocol row.
enum ProtocolColumn : std::size_t {
    kComponentColumn,
    kFirstColumn,
    kSecondColumn,
    kMeanColumn,
    kRepeatabilityColumn,
    kLimitColumn,
    kRatingColumn,
    kUncertaintyColumn,
    kResultColumn,
    kProtocolColumns,
};

// The nine cell texts of one protocol row, in column order.
struct ProtocolRow {
    std::array<std::u16string, kProtocolColumns> cells;

    const std::u16string& operator[](std::size_t column) const { return cells[column]; }
    std::u16string& operator[](std::size_t column) { return cells[column]; }
    bool operator==(const ProtocolRow&) const = default;
};

}  // namespace ImpurityCalculation
