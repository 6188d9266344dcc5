#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace DataBase::Unicode {

// The four compare settings handed to "like" as user data: match-all and match-one
// characters, set character (0: no sets) and whether characters compare by reduction.
struct LikeSettings {
    std::uint8_t matchAll;
    std::uint8_t matchOne;
    std::uint8_t matchSet;
    std::uint8_t noCase;
};

inline constexpr LikeSettings kLikeSettings{'%', '_', 0, 1};

// Whether the UTF-8 `text` matches the UTF-8 `pattern`. Match-all stands for any run of
// characters, match-one for exactly one, the escape (when given) makes the next pattern
// character literal; other characters must be equal after reduction (with noCase) or as they
// are. Iterative, so a long pattern cannot exhaust the stack; time is bounded by the product
// of the two lengths in characters.
bool LikeMatch(std::string_view pattern, std::string_view text, std::optional<std::uint32_t> escape,
               const LikeSettings& settings = kLikeSettings);

}  // namespace DataBase::Unicode
