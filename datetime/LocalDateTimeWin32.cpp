// Date and time texts through the Windows locale: file time, system time, local time of the
// current zone, then the user's default formats.
#include <windows.h>

#include "datetime/FileTime.h"
#include "datetime/LocalDateTime.h"
#include "text/WideText.h"

static_assert(kTimeNoSeconds == TIME_NOSECONDS);

namespace {

bool localSystemTime(std::int64_t unixSeconds, SYSTEMTIME& local) {
    const auto fileTime = unixSecondsToFileTime(unixSeconds);
    if (!fileTime) return false;
    FILETIME file{static_cast<DWORD>(*fileTime), static_cast<DWORD>(*fileTime >> 32)};
    SYSTEMTIME utc{};
    if (!FileTimeToSystemTime(&file, &utc)) return false;
    return SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local) != FALSE;
}

// What a formatting call wrote into its zeroed buffer, which it terminates; nothing when it
// failed.
std::u16string fromBuffer(const wchar_t* text, int written) {
    return written > 0 ? fromWide(text) : std::u16string();
}
}  // namespace

std::u16string FormatLocalDate(std::int64_t unixSeconds) {
    SYSTEMTIME local{};
    if (!localSystemTime(unixSeconds, local)) return {};
    wchar_t text[kDateTimeCapacity] = {};
    return fromBuffer(text, GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr,
                                           text, kDateTimeCapacity));
}

std::u16string FormatLocalTime(std::int64_t unixSeconds, std::uint32_t flags) {
    SYSTEMTIME local{};
    if (!localSystemTime(unixSeconds, local)) return {};
    wchar_t text[kDateTimeCapacity] = {};
    return fromBuffer(
        text, GetTimeFormatW(LOCALE_USER_DEFAULT, flags, &local, nullptr, text, kDateTimeCapacity));
}
