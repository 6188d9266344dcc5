#pragma once

#include <cstdint>
#include <string>

#include "database/AssayId.h"

// One measurement as the pair-summary and series-measurements queries yield it.
struct AssaySummary {
    AssayId id = -1;
    std::int64_t date = 0;  // Unix seconds, UTC
    std::u16string sample;

    bool operator==(const AssaySummary&) const = default;
};
