#pragma once

#include <array>
#include <cstddef>

#include "protocol/ComponentTable.h"
#include "protocol/ProtocolRow.h"

namespace ImpurityCalculation {

// Row positions: the seven components in slot order, then the two summary rows.
inline constexpr std::size_t kCarbonOxideRow = ComponentTable::kSlots;
inline constexpr std::size_t kHeliumRow = ComponentTable::kSlots + 1;
inline constexpr std::size_t kProtocolRows = ComponentTable::kSlots + 2;

// The whole protocol: always nine rows of nine texts.
struct ProtocolTable {
    std::array<ProtocolRow, kProtocolRows> rows;

    const ProtocolRow& operator[](std::size_t row) const { return rows[row]; }
    bool operator==(const ProtocolTable&) const = default;
};

}  // namespace ImpurityCalculation
