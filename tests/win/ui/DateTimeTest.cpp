// Date and time texts through the Windows locale, and the dates no file time can hold.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <limits>

#include "datetime/LocalDateTime.h"
#include "tests/win/ui/ProtocolWindowFixture.h"
#include "tests/win/ui/WindowProbe.h"

TEST(LocalDateTimeWin32, TextsAreTheUsersFormatsOfTheLocalTime) {
    // Tests run with TZ=UTC: the local time is the UTC calendar time.
    for (std::int64_t seconds :
         {std::int64_t{0}, std::int64_t{1700000000}, std::int64_t{-11644473600},
          std::int64_t{253402300799}, std::int64_t{910692730085}}) {
        const SYSTEMTIME time = CalendarOf(seconds);
        EXPECT_EQ(FormatLocalDate(seconds), ShortDate(time)) << seconds;
        EXPECT_EQ(FormatLocalTime(seconds, 0), TimeWithSeconds(time)) << seconds;
        wchar_t text[64] = {};
        GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &time, nullptr, text, 64);
        EXPECT_EQ(FormatLocalTime(seconds, kTimeNoSeconds),
                  std::u16string(text, text + wcslen(text)))
            << seconds;
        EXPECT_FALSE(FormatLocalDate(seconds).empty()) << seconds;
    }
}

TEST(LocalDateTimeWin32, DatesNoFileTimeCanHoldGiveEmptyTexts) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    for (std::int64_t seconds : {kMax, kMin, std::int64_t{910692730086}, std::int64_t{-11644473601},
                                 kMax / 10000000 + 1}) {
        EXPECT_EQ(FormatLocalDate(seconds), u"") << seconds;
        EXPECT_EQ(FormatLocalTime(seconds, 0), u"") << seconds;
    }
}
