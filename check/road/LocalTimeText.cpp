#include "check/road/LocalTimeText.h"

#include "text/WideText.h"

namespace {

SYSTEMTIME LocalTime(std::int64_t unixSeconds) {
    // 100-ns units since 1601-01-01, computed in 64 bits throughout.
    const std::uint64_t ticks =
        static_cast<std::uint64_t>(unixSeconds * 10000000LL + 116444736000000000LL);
    FILETIME fileTime{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utc{}, local{};
    FileTimeToSystemTime(&fileTime, &utc);
    SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    return local;
}

}  // namespace

std::u16string LocalDateText(std::int64_t unixSeconds) {
    const SYSTEMTIME local = LocalTime(unixSeconds);
    wchar_t text[64] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, text, 64);
    return fromWide(text);
}

std::u16string LocalTimeText(std::int64_t unixSeconds, DWORD flags) {
    const SYSTEMTIME local = LocalTime(unixSeconds);
    wchar_t text[64] = {};
    GetTimeFormatW(LOCALE_USER_DEFAULT, flags, &local, nullptr, text, 64);
    return fromWide(text);
}
