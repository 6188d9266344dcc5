#pragma once

#include <string_view>

namespace ImpurityCalculation {

// Lower-case form of one UTF-16 unit as the Russian character-classification locale folds it:
// Latin A–Z, Cyrillic А–Я and Ѐ–Џ (Ё among them). Everything else is returned unchanged.
// The table is our own, so the answer does not depend on the process locale.
char16_t FoldCase(char16_t unit) noexcept;

// True when `a` and `b` have the same length and agree unit by unit after FoldCase.
bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) noexcept;

}  // namespace ImpurityCalculation
