#include "protocol/ComponentTable.h"

#include "protocol/NameFold.h"

namespace ImpurityCalculation {

std::optional<std::size_t> ComponentTable::SlotOf(std::u16string_view name) noexcept {
    for (std::size_t slot = 0; slot < kSlots; ++slot) {
        if (EqualsIgnoringCase(name, kDisplayNames[slot])) return slot;
    }
    return std::nullopt;
}

}  // namespace ImpurityCalculation
