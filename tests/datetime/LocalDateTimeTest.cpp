#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <string>

#include "datetime/FileTime.h"
#include "datetime/LocalDateTime.h"

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
// First second before 1601 and last second whose file time still fits in 63 bits, worked
// out in 128-bit arithmetic.
constexpr std::int64_t kFirstSecond = -kUnixEpochFileTime / kFileTimeUnitsPerSecond;
constexpr std::int64_t kLastSecond = static_cast<std::int64_t>(
    (static_cast<__int128>(kMax) - kUnixEpochFileTime) / kFileTimeUnitsPerSecond);

// Sets the C library's time zone for one test and restores it afterwards.
class ZoneScope {
public:
    explicit ZoneScope(const char* zone) {
        if (const char* old = std::getenv("TZ")) saved_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneScope() {
        if (saved_)
            setenv("TZ", saved_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> saved_;
};

}  // namespace

TEST(FileTime, ConvertsOrRefusesAtTheBounds) {
    struct Case {
        std::int64_t seconds;
        std::optional<__int128> expected;  // empty: refused
    } cases[] = {
        {0, kUnixEpochFileTime},
        {1, kUnixEpochFileTime + kFileTimeUnitsPerSecond},
        {1700000000, static_cast<__int128>(1700000000) * 10000000 + kUnixEpochFileTime},
        {-1, kUnixEpochFileTime - kFileTimeUnitsPerSecond},
        {kFirstSecond, 0},
        {kFirstSecond - 1, std::nullopt},
        {kLastSecond, static_cast<__int128>(kLastSecond) * 10000000 + kUnixEpochFileTime},
        {kLastSecond + 1, std::nullopt},                     // the sum overflows
        {kMax / kFileTimeUnitsPerSecond + 1, std::nullopt},  // the product overflows
        {kMax, std::nullopt},
        {kMin, std::nullopt},
        {kMin / kFileTimeUnitsPerSecond, std::nullopt},  // product fits, result negative
    };
    for (const Case& c : cases) {
        const auto fileTime = unixSecondsToFileTime(c.seconds);
        ASSERT_EQ(fileTime.has_value(), c.expected.has_value()) << c.seconds;
        if (fileTime) {
            EXPECT_EQ(static_cast<__int128>(*fileTime), *c.expected) << c.seconds;
            EXPECT_LE(*fileTime, static_cast<std::uint64_t>(kMax));
        }
    }
}

TEST(LocalDateTime, FormatsInTheLocalZone) {
    struct Case {
        const char* zone;
        std::int64_t seconds;
        std::u16string date, time, shortTime;
    } cases[] = {
        {"UTC0", 1700000000, u"14.11.2023", u"22:13:20", u"22:13"},
        {"UTC0", 0, u"01.01.1970", u"0:00:00", u"0:00"},
        {"UTC0", -1, u"31.12.1969", u"23:59:59", u"23:59"},
        {"UTC0", kFirstSecond, u"01.01.1601", u"0:00:00", u"0:00"},
        {"MSK-3", 1700000000, u"15.11.2023", u"1:13:20", u"1:13"},
        {"UTC0", kLastSecond, u"14.09.30828", u"2:48:05", u"2:48"},
    };
    for (const Case& c : cases) {
        ZoneScope zone(c.zone);
        EXPECT_EQ(FormatLocalDate(c.seconds), c.date) << c.zone << " " << c.seconds;
        EXPECT_EQ(FormatLocalTime(c.seconds, 0), c.time) << c.zone << " " << c.seconds;
        EXPECT_EQ(FormatLocalTime(c.seconds, kTimeNoSeconds), c.shortTime) << c.seconds;
    }
}

TEST(LocalDateTime, DatesNoFileTimeCanHoldGiveEmptyTexts) {
    ZoneScope zone("UTC0");
    for (std::int64_t seconds :
         {kMax, kMin, kLastSecond + 1, kFirstSecond - 1, kMax / kFileTimeUnitsPerSecond + 1}) {
        EXPECT_EQ(FormatLocalDate(seconds), u"") << seconds;
        EXPECT_EQ(FormatLocalTime(seconds, 0), u"") << seconds;
        EXPECT_EQ(FormatLocalTime(seconds, kTimeNoSeconds), u"") << seconds;
    }
}
