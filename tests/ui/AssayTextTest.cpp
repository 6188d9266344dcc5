#include <gtest/gtest.h>

#include <string>

#include "text/BoundedText.h"
#include "ui/AssayText.h"

namespace {

constexpr char16_t kHigh = 0xD83D;  // U+1F600 as a pair
constexpr char16_t kLow = 0xDE00;

// The terminator sits right after the text and nothing inside the text is a NUL.
template <std::size_t N>
void ExpectTerminated(const FixedText<N>& text) {
    ASSERT_LT(text.length, N);
    EXPECT_EQ(text.units[text.length], u'\0');
    EXPECT_EQ(std::u16string_view(text.c_str()).size(), text.length);
}

}  // namespace

TEST(AssayText, FieldsAreJoinedWithTheirSeparators) {
    const auto label = formatAssayLabel(u"14.11.2023", u"22:13:20", u"Проба №7");
    EXPECT_EQ(label.view(), u"14.11.2023 22:13:20 Проба №7");
    ExpectTerminated(label);

    const auto item = formatAssayItem(u"14.11.2023", u"22:13:20", u"Проба №7");
    EXPECT_EQ(item.view(), u"14.11.2023   22:13:20   Проба №7");
    ExpectTerminated(item);

    // Empty date and time (a date no file time can express) still leave the separators.
    EXPECT_EQ(formatAssayLabel(u"", u"", u"x").view(), u"  x");
    EXPECT_EQ(formatAssayItem(u"", u"", u"").view(), u"      ");
}

TEST(AssayText, LongSamplesAreCutCleanly) {
    const std::u16string date = u"01.02.2024", time = u"3:04:05";
    const std::size_t prefix = date.size() + 1 + time.size() + 1;  // label separators
    const std::size_t room = kAssayTextCapacity - 1 - prefix;      // sample units that fit

    struct Case {
        const char* what;
        std::u16string sample;
        std::u16string shownSample;
    };
    const std::u16string fits(room, u'a');
    const std::u16string pairAtEnd = std::u16string(room - 1, u'b') + kHigh + kLow;
    const std::u16string pairOnTheEdge = std::u16string(room - 1, u'c') + kHigh + kLow + u"tail";
    const std::u16string loneHighOnTheEdge = std::u16string(room - 1, u'd') + kHigh + u"ef";
    const Case cases[] = {
        {"exactly fits", fits, fits},
        {"one too many", fits + u"z", fits},
        {"far too long", std::u16string(1000, u'e'), std::u16string(room, u'e')},
        {"pair would be split", pairAtEnd, pairAtEnd.substr(0, room - 1)},
        {"pair split with more after", pairOnTheEdge, pairOnTheEdge.substr(0, room - 1)},
        {"unpaired high unit is kept", loneHighOnTheEdge, loneHighOnTheEdge.substr(0, room)},
        {"NUL ends the sample", std::u16string(u"ab\0cd", 5), u"ab"},
    };
    for (const Case& c : cases) {
        const auto label = formatAssayLabel(date, time, c.sample);
        ExpectTerminated(label);
        EXPECT_EQ(label.view(), date + u" " + time + u" " + c.shownSample) << c.what;
    }

    // A pair that fits whole at the very end stays whole.
    const std::u16string pairFits = std::u16string(room - 2, u'f') + kHigh + kLow;
    EXPECT_EQ(formatAssayLabel(date, time, pairFits).view(), date + u" " + time + u" " + pairFits);
}

TEST(BoundedWriter, StopsAtTheFirstCutAndAtTinyBuffers) {
    char16_t buffer[6];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    BoundedWriter writer(buffer, 6);
    writer.append(u"abc").append(u"defg");
    EXPECT_TRUE(writer.cut());
    writer.append(u"h");  // nothing lands after a cut, even where there would be room
    EXPECT_EQ(writer.length(), 5u);
    EXPECT_EQ(std::u16string_view(buffer), u"abcde");

    char16_t one[1] = {u'#'};
    BoundedWriter empty(one, 1);
    empty.append(u"x");
    EXPECT_EQ(one[0], u'\0');
    EXPECT_TRUE(empty.cut());

    char16_t untouched[1] = {u'#'};
    BoundedWriter none(untouched, 0);
    none.append(u"x");
    EXPECT_EQ(untouched[0], u'#');
    EXPECT_EQ(none.length(), 0u);
    EXPECT_TRUE(none.cut());

    char16_t exact[4];
    BoundedWriter fits(exact, 4);
    fits.append(u"ab").append(u"c").append(u"");
    EXPECT_FALSE(fits.cut());
    EXPECT_EQ(std::u16string_view(exact), u"abc");
}
