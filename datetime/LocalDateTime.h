#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Time flag that leaves the seconds out (the value of the Win32 TIME_NOSECONDS).
inline constexpr std::uint32_t kTimeNoSeconds = 0x2;
// Date and time texts are formatted into 64 units, terminator included.
inline constexpr std::size_t kDateTimeCapacity = 64;

// The user's short date of `unixSeconds` (UTC seconds since 1970) in the local time zone.
// Empty when the seconds cannot be expressed as a file time or converted to a calendar date.
std::u16string FormatLocalDate(std::int64_t unixSeconds);

// The user's time of day of `unixSeconds` in the local time zone; `flags` 0 includes the
// seconds, kTimeNoSeconds leaves them out. Empty on the same failures as FormatLocalDate.
std::u16string FormatLocalTime(std::int64_t unixSeconds, std::uint32_t flags);
