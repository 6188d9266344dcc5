// The portable date and time texts of the native build, which has no Windows locale: the
// Russian short forms "dd.MM.yyyy" and "H:mm:ss" of the C library's local time.
#include <time.h>

#include <cstdio>

#include "datetime/FileTime.h"
#include "datetime/LocalDateTime.h"

namespace {

bool localCalendar(std::int64_t unixSeconds, tm& calendar) {
    if (!unixSecondsToFileTime(unixSeconds)) return false;
    const time_t seconds = static_cast<time_t>(unixSeconds);
    return localtime_r(&seconds, &calendar) != nullptr;
}

std::u16string widen(const char* text) {
    std::u16string result;
    for (; *text; ++text) result.push_back(static_cast<unsigned char>(*text));
    return result;
}

}  // namespace

std::u16string FormatLocalDate(std::int64_t unixSeconds) {
    tm calendar{};
    if (!localCalendar(unixSeconds, calendar)) return {};
    char text[kDateTimeCapacity];
    std::snprintf(text, sizeof text, "%02d.%02d.%04lld", calendar.tm_mday, calendar.tm_mon + 1,
                  static_cast<long long>(calendar.tm_year) + 1900);
    return widen(text);
}

std::u16string FormatLocalTime(std::int64_t unixSeconds, std::uint32_t flags) {
    tm calendar{};
    if (!localCalendar(unixSeconds, calendar)) return {};
    char text[kDateTimeCapacity];
    if (flags & kTimeNoSeconds)
        std::snprintf(text, sizeof text, "%d:%02d", calendar.tm_hour, calendar.tm_min);
    else
        std::snprintf(text, sizeof text, "%d:%02d:%02d", calendar.tm_hour, calendar.tm_min,
                      calendar.tm_sec);
    return widen(text);
}
