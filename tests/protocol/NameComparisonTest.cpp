#include <gtest/gtest.h>

#include <clocale>
#include <optional>
#include <string>
#include <vector>

#include "protocol/AssessmentBounds.h"
#include "protocol/ComponentTable.h"
#include "protocol/NameFold.h"
#include "text/Utf8.h"

using namespace ImpurityCalculation;

TEST(NameFold, FoldsLatinAndTheRussianCyrillicBlockOnly) {
    struct Case {
        char16_t in, out;
    };
    const std::vector<Case> cases = {
        {u'A', u'a'},           {u'Z', u'z'},           {u'@', u'@'},
        {u'[', u'['},           {u'a', u'a'},           {u'2', u'2'},
        {u'+', u'+'},           {u' ', u' '},           {u'\u0400', u'\u0450'},  // Ѐ
        {u'\u0401', u'\u0451'},                                                  // Ё
        {u'\u040F', u'\u045F'},                                                  // Џ
        {u'\u0410', u'\u0430'},                                                  // А
        {u'\u041E', u'\u043E'},                                                  // О
        {u'\u0421', u'\u0441'},                                                  // С
        {u'\u042F', u'\u044F'},                                                  // Я
        {u'\u0430', u'\u0430'}, {u'\u044F', u'\u044F'}, {u'\u0451', u'\u0451'},
        {u'\u0460', u'\u0460'},  // Ѡ lies outside the Russian locale's letters
        {u'\u0490', u'\u0490'}, {u'\u00C0', u'\u00C0'}, {char16_t(0xD801), char16_t(0xD801)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(static_cast<int>(FoldCase(c.in)), static_cast<int>(c.out))
            << "U+" << std::hex << static_cast<int>(c.in);
}

TEST(NameFold, ComparesWholeNamesIgnoringCase) {
    struct Case {
        std::u16string a, b;
        bool equal;
    };
    const std::vector<Case> cases = {
        {u"азот", u"АЗОТ", true},        {u"Азот", u"аЗоТ", true},
        {u"ЁЛКА", u"ёлка", true},        {u"Оксид Углерода", u"оксид углерода", true},
        {u"CO2", u"co2", true},          {u"", u"", true},
        {u"CO", u"\u0421\u041E", false},  // Latin letters against Cyrillic ones
        {u"азот", u"азо", false},        {u"азот ", u"азот", false},
        {u"ёлка", u"елка", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EqualsIgnoringCase(c.a, c.b), c.equal) << toUtf8(c.a) << " / " << toUtf8(c.b);
}

// The answer must not depend on the process locale, or tests and users would disagree.
TEST(NameFold, SameAnswerWhateverTheProcessLocale) {
    const std::string saved = std::setlocale(LC_CTYPE, nullptr);
    for (const char* locale : {"C", "C.UTF-8", "ru_RU.UTF-8", "ru_RU.CP1251", "tr_TR.UTF-8"}) {
        std::setlocale(LC_CTYPE, locale);  // a locale missing here leaves the current one
        EXPECT_TRUE(EqualsIgnoringCase(u"КИСЛОРОД", u"кислород")) << locale;
        EXPECT_TRUE(EqualsIgnoringCase(u"I", u"i")) << locale;
        EXPECT_FALSE(EqualsIgnoringCase(u"CO", u"\u0441\u043E")) << locale;
    }
    std::setlocale(LC_CTYPE, saved.c_str());
}

TEST(ComponentTable, FindsSlotsByDisplayNameOnly) {
    struct Case {
        std::u16string name;
        std::optional<std::size_t> slot;
    };
    const std::vector<Case> cases = {
        {u"Азот", 0},
        {u"АЗОТ", 0},
        {u"кислород", 1},
        {u"МЕТАН", 2},
        {u"нЕОН", 3},
        {u"Водород", 4},
        {u"\u0421\u041E", 5},
        {u"\u0441\u043E", 5},
        {u"\u0421\u043E2", 6},
        {u"CO", std::nullopt},  // Latin
        {u"CO2", std::nullopt},
        {u"оксид углерода", std::nullopt},  // a key of the bounds, not a display name
        {u"диоксид углерода", std::nullopt},
        {u"аргон", std::nullopt},
        {u"Гелий", std::nullopt},
        {u"Азот ", std::nullopt},
        {u"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ComponentTable::SlotOf(c.name), c.slot) << toUtf8(c.name);
}

TEST(AssessmentBounds, FirstMatchingKeyGivesTheRange) {
    const AssessmentBounds common{0.00001, 0.005};
    struct Case {
        std::u16string name;
        AssessmentBounds bounds;
        bool carbonOxide;
    };
    const std::vector<Case> cases = {
        {u"Азот", common, false},
        {u"Кислород", common, false},
        {u"Метан", {0.00002, 0.005}, false},
        {u"Неон", {0.0005, 0.011}, false},
        {u"Водород", common, false},
        {u"\u0421\u041E", common, true},
        {u"\u0421\u041E2", common, true},
        {u"АРГОН", common, false},
        {u"Оксид углерода", common, true},
        {u"ДИОКСИД УГЛЕРОДА", common, true},
        {u"CO", {0, 0}, false},
        {u"CO2", {0, 0}, false},
        {u"Гелий", {0, 0}, false},
        {u"", {0, 0}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AssessmentBounds::ForName(c.name), c.bounds) << toUtf8(c.name);
        EXPECT_EQ(IsCarbonOxide(c.name), c.carbonOxide) << toUtf8(c.name);
    }
}
