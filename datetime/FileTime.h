#pragma once

#include <cstdint>
#include <optional>

// 100-nanosecond units since 1601-01-01 UTC of the Unix epoch, and units per second.
inline constexpr std::int64_t kUnixEpochFileTime = 116444736000000000;
inline constexpr std::int64_t kFileTimeUnitsPerSecond = 10000000;

// The Windows file time of `unixSeconds`: seconds × 10^7 + the epoch offset, computed on the
// whole signed 64-bit value. Empty when the product or the sum overflows, or when the result
// is negative (before 1601), which no file time can express.
std::optional<std::uint64_t> unixSecondsToFileTime(std::int64_t unixSeconds);
