#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "database/unicode/LikeMatcher.h"
#include "tests/database/unicode/BlockWidths.h"
#include "tests/database/unicode/RecursiveLike.h"

using DataBase::Unicode::LikeSettings;

namespace {

constexpr std::optional<std::uint32_t> kNoEscape;

// Matching as the pattern is read and matching with the pattern read first must agree.
bool Like(std::string_view pattern, std::string_view text, std::optional<std::uint32_t> escape,
          const LikeSettings& settings = DataBase::Unicode::kLikeSettings) {
    const bool matched = DataBase::Unicode::LikeMatch(pattern, text, escape, settings);
    EXPECT_EQ(DataBase::Unicode::LikePattern(pattern, escape, settings).Matches(text), matched)
        << testing::PrintToString(std::string(pattern)) << " / "
        << testing::PrintToString(std::string(text));
    return matched;
}

struct Row {
    std::string pattern;
    std::string text;
    std::optional<std::uint32_t> escape;
    bool matches;
};

// The searches go sixteen or thirty-two bytes at a time.
class LikeMatcher : public EachBlockWidth {};
NIVRA_FOR_EACH_BLOCK_WIDTH(LikeMatcher);

}  // namespace

TEST_P(LikeMatcher, Rows) {
    const Row rows[] = {
        {"ежик", "ЁЖИК", kNoEscape, true},
        {"CAFE", "café", kNoEscape, true},
        {"a_c", "abc", kNoEscape, true},
        {"a_c", "ab", kNoEscape, false},
        {"10!%", "10%", U'!', true},
        {"10!%", "100", U'!', false},
        {"", "", kNoEscape, true},
        {"", "a", kNoEscape, false},
        {"%", "", kNoEscape, true},
        {"%%", "anything", kNoEscape, true},
        {"_", "", kNoEscape, false},
        {"_", "ё", kNoEscape, true},  // one character of two bytes
        {"__", "ё", kNoEscape, false},
        {"%a%", "Æon", kNoEscape, true},  // Æ reduces to a
        {"æ", "a", kNoEscape, true},
        {"a", "æ", kNoEscape, true},
        {"е", "Ё", kNoEscape, true},
        {"é", "E", kNoEscape, true},
        {"%b", "aab", kNoEscape, true},
        {"%b", "aba", kNoEscape, false},
        {"a%b%c", "aXbYc", kNoEscape, true},
        {"a%b%c", "aXcYb", kNoEscape, false},
        {"%ab", "abab", kNoEscape, true},  // the last run must end with the text
        {"%_b", "b", kNoEscape, false},
        {"%_%", "x", kNoEscape, true},
        {"a!", "a", U'!', true},  // a trailing escape is ignored...
        {"a!", "ab", U'!', false},
        {"%!", "", U'!', false},  // ...except after a match-all: nothing matches
        {"%!", "!", U'!', false},
        {"%_!", "ab", U'!', false},
        {"%a_!", "xab", U'!', true},
        {"%!%", "50%", U'!', true},
        {"%!%", "50", U'!', false},
        {"!_", "_", U'!', true},
        {"!_", "x", U'!', false},
        {"!!", "!", U'!', true},
        {"aa", "a", U'a', true},      // the escape can be a letter
        {"a%", "abc", U'%', true},    // match-all comes before the escape
        {"ж_ж", "ЖёЖ", U'ж', false},  // "ж_" is a literal underscore here
        {"ж_ж", "_", U'ж', true},
        {"%a%a%a%a%b", std::string(2000, 'a'), kNoEscape, false},
        {"%a%a%a%a%a", std::string(2000, 'a'), kNoEscape, true},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(Like(r.pattern, r.text, r.escape), r.matches)
            << "'" << r.text << "' LIKE '" << r.pattern << "'";
    }
}

TEST_P(LikeMatcher, CaseSensitiveSettingsCompareCharactersAsTheyAre) {
    const LikeSettings exact{'%', '_', 0, 0};
    EXPECT_FALSE(Like("a", "A", kNoEscape, exact));
    EXPECT_FALSE(Like("%е%", "Ё", kNoEscape, exact));
    EXPECT_TRUE(Like("%Ё_", "xЁy", kNoEscape, exact));
}

// Generated patterns and texts over characters chosen to collide: reduced pairs (Ё/е, Æ/a,
// é/e), wildcards, escapes, broken UTF-8. The iterative matcher must agree with the
// recursive description every time.
TEST_P(LikeMatcher, AgreesWithTheRecursiveDescriptionOnGeneratedPatterns) {
    const std::vector<std::string> patternPieces = {"%", "%", "_", "_", "!", "a", "b",    "е",
                                                    "Ё", "Æ", "é", "e", "E", "ж", "\xC3", "\x80"};
    const std::vector<std::string> textPieces = {"a", "a", "b", "е", "ё", "Е", "A",    "e",
                                                 "é", "É", "Æ", "!", "%", "_", "\x80", "\xC3"};
    const std::optional<std::uint32_t> escapes[] = {kNoEscape, U'!', U'a', U'%', U'_', U'ж'};
    std::mt19937 random(20240517);
    auto piece = [&](const std::vector<std::string>& from) {
        return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
    };
    for (const auto& escape : escapes) {
        int matches = 0;
        const int cases = 20000;
        for (int i = 0; i < cases; ++i) {
            std::string pattern, text;
            const int patternLength = std::uniform_int_distribution<int>(0, 8)(random);
            const int textLength = std::uniform_int_distribution<int>(0, 10)(random);
            for (int k = 0; k < patternLength; ++k) pattern += piece(patternPieces);
            for (int k = 0; k < textLength; ++k) text += piece(textPieces);
            const bool expected = RecursiveLikeReference::Like(pattern, text, escape);
            ASSERT_EQ(Like(pattern, text, escape), expected)
                << "pattern " << testing::PrintToString(pattern) << " text "
                << testing::PrintToString(text) << " escape " << escape.value_or(0);
            matches += expected;
        }
        // Both outcomes must be well represented for the comparison to mean anything.
        EXPECT_GT(matches, cases / 50);
        EXPECT_LT(matches, cases - cases / 50);
    }
}

// Texts made of the pattern's own pieces, so that most runs almost match.
TEST_P(LikeMatcher, AgreesWithTheRecursiveDescriptionOnNearMisses) {
    std::mt19937 random(7);
    const std::string letters[] = {"a", "Ё", "е", "b"};
    auto letter = [&] { return letters[std::uniform_int_distribution<int>(0, 3)(random)]; };
    for (int i = 0; i < 20000; ++i) {
        std::string pattern, text;
        const int runs = std::uniform_int_distribution<int>(1, 4)(random);
        for (int r = 0; r < runs; ++r) {
            pattern += "%";
            const int length = std::uniform_int_distribution<int>(1, 3)(random);
            for (int k = 0; k < length; ++k) pattern += random() % 4 == 0 ? "_" : letter();
        }
        if (random() % 2) pattern += "%";
        const int textLength = std::uniform_int_distribution<int>(0, 14)(random);
        for (int k = 0; k < textLength; ++k) text += letter();
        ASSERT_EQ(Like(pattern, text, kNoEscape),
                  RecursiveLikeReference::Like(pattern, text, kNoEscape))
            << pattern << " / " << text;
    }
}

// A pattern as long as allowed, match-alls throughout: no recursion, so no stack to exhaust.
TEST_P(LikeMatcher, LongestPatternOfMatchAllsNeedsNoRecursion) {
    std::string pattern;
    for (int i = 0; i < 25000; ++i) pattern += "%a";
    ASSERT_EQ(pattern.size(), 50000u);
    EXPECT_TRUE(Like(pattern, std::string(25000, 'a'), kNoEscape));
    EXPECT_TRUE(Like(pattern, "b" + std::string(25000, 'A'), kNoEscape));
    EXPECT_FALSE(Like(pattern, std::string(24999, 'a'), kNoEscape));
    EXPECT_FALSE(Like(pattern + "b", std::string(30000, 'a'), kNoEscape));
}

// Long texts mixing ASCII, Cyrillic, accented letters, three-byte characters and malformed
// sequences (an overlong Ａ, runs of continuation bytes), searched for ASCII letters, so the
// search that passes over eight bytes at a time meets every kind of boundary.
TEST_P(LikeMatcher, AgreesWithTheRecursiveDescriptionOverLongMixedTexts) {
    const std::vector<std::string> pieces = {"x",
                                             "Q",
                                             "q",
                                             "qq",
                                             " ",
                                             "ж",
                                             "Ж",
                                             "водород",
                                             "é",
                                             "ß",
                                             "±",
                                             "ª",
                                             "Ａ",
                                             "\x80",
                                             "\xAA",
                                             "\xD0\xB6\xB6",
                                             "\xCF\xBC\xA1",
                                             "\xD0",
                                             "ё",
                                             "€",
                                             "0.0021",
                                             "Helium",
                                             "ЖЖЖЖЖЖЖЖ",
                                             "xxxxxxxxxxxx"};
    // Letters with a letter after them as well: é must pass for the e after an x.
    const char* patterns[] = {"%q%",   "%a%",   "%q_%", "%qq",  "q%",  "%x%q%",
                              "%a_x%", "%h%m%", "%xe%", "%he%", "%qx%"};
    std::mt19937 random(31337);
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        const int n = std::uniform_int_distribution<int>(0, 24)(random);
        for (int k = 0; k < n; ++k) {
            text +=
                pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
        }
        for (const char* pattern : patterns) {
            ASSERT_EQ(Like(pattern, text, kNoEscape),
                      RecursiveLikeReference::Like(pattern, text, kNoEscape))
                << pattern << " / " << testing::PrintToString(text);
        }
    }
}
