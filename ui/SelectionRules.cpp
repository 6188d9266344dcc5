#include "ui/SelectionRules.h"

#include <algorithm>
#include <vector>

std::optional<std::size_t> seriesToSelect(std::span<const std::u16string> series,
                                          std::u16string_view currentSeries) {
    if (currentSeries.empty()) {
        if (series.empty()) return {};
        return 0;
    }
    std::optional<std::size_t> selected;
    for (std::size_t i = 0; i < series.size(); ++i)
        if (series[i] == currentSeries) selected = i;
    return selected;
}

bool isMarked(AssayId item, AssayId first, AssayId second) {
    if (item <= 0) return false;
    return (first > 0 && item == first) || (second > 0 && item == second);
}

PairChoice choosePair(std::span<const std::size_t> marked, std::span<const AssayId> itemIds) {
    std::vector<std::size_t> known;
    for (std::size_t index : marked)
        if (index < itemIds.size()) known.push_back(index);
    if (known.size() < 2) return {PairChoice::Outcome::TooFew};
    if (known.size() > 2) return {PairChoice::Outcome::TooMany};
    const auto [higher, lower] = std::minmax(known[0], known[1]);
    return {PairChoice::Outcome::Chosen, itemIds[lower], itemIds[higher]};
}
