#include "datetime/FileTime.h"

std::optional<std::uint64_t> unixSecondsToFileTime(std::int64_t unixSeconds) {
    std::int64_t units = 0;
    std::int64_t fileTime = 0;
    if (__builtin_mul_overflow(unixSeconds, kFileTimeUnitsPerSecond, &units)) return {};
    if (__builtin_add_overflow(units, kUnixEpochFileTime, &fileTime)) return {};
    if (fileTime < 0) return {};
    return static_cast<std::uint64_t>(fileTime);
}
