#pragma once

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "protocol/ProtocolTable.h"
#include "text/Utf8.h"

// A protocol row written as nine UTF-8 texts, so expectations read like the printed table.
using ExpectedRow = std::array<const char*, ImpurityCalculation::kProtocolColumns>;

// Compares every cell of `row` with `expected`, naming row and column of each mismatch.
inline void ExpectRow(const ImpurityCalculation::ProtocolRow& row, const ExpectedRow& expected,
                      const std::string& label) {
    for (std::size_t column = 0; column < expected.size(); ++column) {
        EXPECT_EQ(toUtf8(row[column]), expected[column]) << label << ", column " << column;
    }
}
