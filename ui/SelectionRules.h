#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "database/AssayId.h"

// Warning texts of the selection dialog's OK when the number of marks is wrong.
inline constexpr std::u16string_view kTooFewMarksText = u"Выбрано менее двух измерений";
inline constexpr std::u16string_view kTooManyMarksText = u"Выбрано более двух измерений";

// The series item to select when the dialog opens: with an empty current series the first
// item (none when the list is empty); otherwise the last item whose text equals the current
// series unit for unit, or none when it is not listed.
std::optional<std::size_t> seriesToSelect(std::span<const std::u16string> series,
                                          std::u16string_view currentSeries);

// Whether a measurement item starts marked: it is one of the current pair's valid ids.
bool isMarked(AssayId item, AssayId first, AssayId second);

// What OK does with the marked items.
struct PairChoice {
    enum class Outcome { TooFew, TooMany, Chosen };
    Outcome outcome = Outcome::TooFew;
    AssayId first = 0;   // the lower (older) of the two marked items
    AssayId second = 0;  // the higher (newer) one
};

// Judges the marks: `marked` are the indices of the marked items, in any order, and
// `itemIds` the id of each item by index. Exactly two marks choose a pair; indices outside
// `itemIds` do not count as marks.
PairChoice choosePair(std::span<const std::size_t> marked, std::span<const AssayId> itemIds);
