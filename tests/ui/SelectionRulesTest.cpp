#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "ui/AssayIdHalves.h"
#include "ui/LabelRouting.h"
#include "ui/SelectionRules.h"

TEST(SelectionRules, WhichSeriesIsSelected) {
    using Series = std::vector<std::u16string>;
    struct Case {
        const char* what;
        Series series;
        std::u16string current;
        std::optional<std::size_t> expected;
    } cases[] = {
        {"no pair, first series", {u"Серия Б", u"Серия А"}, u"", 0},
        {"no pair, no series", {}, u"", std::nullopt},
        {"no pair, empty series text listed later", {u"x", u""}, u"", 0},
        {"pair's series listed", {u"a", u"b", u"c"}, u"b", 1},
        {"pair's series listed last", {u"a", u"b", u"c"}, u"c", 2},
        {"pair's series not among them", {u"a", u"b"}, u"z", std::nullopt},
        {"case differs", {u"серия"}, u"Серия", std::nullopt},
        {"prefix only", {u"ab"}, u"a", std::nullopt},
        {"longer text", {u"a"}, u"ab", std::nullopt},
        {"repeated text selects the later", {u"a", u"a"}, u"a", 1},
        {"nothing listed", {}, u"a", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(seriesToSelect(c.series, c.current), c.expected) << c.what;
}

TEST(SelectionRules, WhichItemsAreMarked) {
    constexpr AssayId kBig = (AssayId{1} << 32) + 5;
    struct Case {
        AssayId item, first, second;
        bool marked;
    } cases[] = {
        {7, 7, 9, true},  {9, 7, 9, true},       {8, 7, 9, false},    {7, 0, 0, false},
        {0, 0, 0, false}, {-1, -1, 9, false},    {-1, 7, -1, false},  {5, 0, 5, true},
        {5, 5, 0, true},  {kBig, 5, kBig, true}, {5, kBig, 0, false}, {kBig, 5, 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isMarked(c.item, c.first, c.second), c.marked)
            << c.item << " with " << c.first << "," << c.second;
}

TEST(SelectionRules, OkNeedsExactlyTwoMarksAndOrdersThemByPlace) {
    using Outcome = PairChoice::Outcome;
    // Newest first, as the list shows them.
    const std::vector<AssayId> ids = {40, 30, (AssayId{1} << 32) + 20, 10};
    struct Case {
        const char* what;
        std::vector<std::size_t> marked;
        Outcome outcome;
        AssayId first, second;
    } cases[] = {
        {"none", {}, Outcome::TooFew, 0, 0},
        {"one", {1}, Outcome::TooFew, 0, 0},
        {"three", {0, 1, 3}, Outcome::TooMany, 0, 0},
        {"four", {0, 1, 2, 3}, Outcome::TooMany, 0, 0},
        {"two, top to bottom", {0, 3}, Outcome::Chosen, 10, 40},
        {"two, bottom to top", {3, 0}, Outcome::Chosen, 10, 40},
        {"two neighbours", {2, 1}, Outcome::Chosen, (AssayId{1} << 32) + 20, 30},
        {"index outside the list does not count", {1, 9}, Outcome::TooFew, 0, 0},
        {"two real marks and a stray index",
         {3, 9, 2},
         Outcome::Chosen,
         10,
         (AssayId{1} << 32) + 20},
    };
    for (const Case& c : cases) {
        const PairChoice choice = choosePair(c.marked, ids);
        EXPECT_EQ(choice.outcome, c.outcome) << c.what;
        if (c.outcome == Outcome::Chosen) {
            EXPECT_EQ(choice.first, c.first) << c.what;
            EXPECT_EQ(choice.second, c.second) << c.what;
        }
    }
}

TEST(LabelRouting, RowsGoToTheirLabelWhateverTheirOrder) {
    struct Case {
        AssayId row, recordFirst;
        AssayLabel label;
    } cases[] = {
        {7, 7, AssayLabel::First},
        {9, 7, AssayLabel::Second},
        {7, 0, AssayLabel::Second},
        {-1, -1, AssayLabel::Second},  // a row with a NULL id never takes the first label
        {0, 0, AssayLabel::Second},
        {(AssayId{1} << 32) + 7, 7, AssayLabel::Second},  // equal low halves only
        {(AssayId{1} << 32) + 7, (AssayId{1} << 32) + 7, AssayLabel::First},
    };
    for (const Case& c : cases)
        EXPECT_EQ(labelForAssay(c.row, c.recordFirst), c.label) << c.row << " vs " << c.recordFirst;
}

TEST(LabelRouting, APairIsHeldOnlyWithBothChosenRows) {
    const auto rows = [](std::vector<AssayId> ids) {
        std::vector<AssaySummary> summary;
        for (AssayId id : ids) summary.push_back({id, 0, u""});
        return summary;
    };
    struct Case {
        std::vector<AssayId> rows;
        AssayId first, second;
        bool held;
    } cases[] = {
        {{7, 9}, 7, 9, true},  {{9, 7}, 7, 9, true},    {{9}, 7, 9, false}, {{7}, 7, 9, false},
        {{}, 7, 9, false},     {{-1, 9}, -1, 9, false},  // a NULL id is no measurement
        {{7, 7}, 7, 9, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(holdsPair(rows(c.rows), c.first, c.second), c.held)
            << c.first << ", " << c.second;
}

TEST(AssayIdHalves, EveryIdSurvivesTheSplit) {
    constexpr AssayId kMax = std::numeric_limits<AssayId>::max();
    constexpr AssayId kMin = std::numeric_limits<AssayId>::min();
    struct Case {
        AssayId id;
        std::uint32_t low, high;
    } cases[] = {
        {0, 0, 0},
        {5, 5, 0},
        {-1, 0xFFFFFFFFu, 0xFFFFFFFFu},
        {4294967301, 5, 1},  // 2^32 + 5 would read back as 5 from its low half alone
        {0x7FFFFFFF, 0x7FFFFFFFu, 0},
        {0x80000000, 0x80000000u, 0},
        {kMax, 0xFFFFFFFFu, 0x7FFFFFFFu},
        {kMin, 0, 0x80000000u},
    };
    for (const Case& c : cases) {
        const AssayIdHalves halves = splitAssayId(c.id);
        EXPECT_EQ(halves.low, c.low) << c.id;
        EXPECT_EQ(halves.high, c.high) << c.id;
        EXPECT_EQ(joinAssayId(halves), c.id);
    }
}
