#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "database/unicode/AsciiKeySearch.h"

namespace DataBase::Unicode {

// The four compare settings handed to "like" as user data: match-all and match-one
// characters, set character (0: no sets) and whether characters compare by reduction.
struct LikeSettings {
    std::uint8_t matchAll;
    std::uint8_t matchOne;
    std::uint8_t matchSet;
    std::uint8_t noCase;

    bool operator==(const LikeSettings&) const = default;
};

inline constexpr LikeSettings kLikeSettings{'%', '_', 0, 1};

// What a pattern is read into, character by character. Never: an escape ending the pattern
// right after a match-all, which no text matches.
enum class LikeTokenKind : std::uint8_t { End, Never, MatchAll, MatchOne, Literal };

// A LIKE pattern read once, for matching many texts: its characters as compared, and for
// each letter that follows a match-all the search that finds where a run can start.
class LikePattern {
public:
    // Match-all stands for any run of characters, match-one for exactly one, the escape (when
    // given) makes the next pattern character literal; other characters must be equal after
    // reduction (with noCase) or as they are.
    LikePattern(std::string_view pattern, std::optional<std::uint32_t> escape,
                const LikeSettings& settings = kLikeSettings);
    // The searches are found through the steps' indexes, so copies would gain nothing.
    LikePattern(const LikePattern&) = delete;
    LikePattern& operator=(const LikePattern&) = delete;

    // Whether the UTF-8 `text` matches. Iterative, so a long pattern cannot exhaust the
    // stack; time is bounded by the product of the two lengths in characters.
    bool Matches(std::string_view text) const;

    // What the pattern was read with, so that a caller keeping it can tell whether it holds.
    bool ReadWith(std::optional<std::uint32_t> escape, const LikeSettings& settings) const {
        return escape == escape_ && settings == settings_;
    }

    // One character of the pattern, as read.
    struct Step {
        LikeTokenKind kind;
        std::uint32_t key;     // Literal: the character as compared
        std::uint32_t search;  // a literal after a match-all: 1 + its index in searches_, or 0
    };

private:
    std::vector<Step> steps_;  // the last one is End or Never
    std::vector<AsciiKeySearch> searches_;
    std::optional<std::uint32_t> escape_;
    LikeSettings settings_;
};

// Whether the UTF-8 `text` matches the UTF-8 `pattern`, read as it goes: for one text, with
// no allocation. Gives what LikePattern(pattern, escape, settings).Matches(text) gives.
bool LikeMatch(std::string_view pattern, std::string_view text, std::optional<std::uint32_t> escape,
               const LikeSettings& settings = kLikeSettings);

}  // namespace DataBase::Unicode
