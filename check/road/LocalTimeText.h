#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The road's own rendering of Unix seconds as the user's short date and as a time of day in
// the current time zone, through the Win32 calls the plug-in is meant to use, so expected
// texts follow the machine's locale instead of being typed by hand.
std::u16string LocalDateText(std::int64_t unixSeconds);
std::u16string LocalTimeText(std::int64_t unixSeconds, DWORD flags);
