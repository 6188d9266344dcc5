#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace ImpurityCalculation {

// The seven impurity components of the protocol, in row order.
class ComponentTable {
public:
    static constexpr std::size_t kSlots = 7;

    // Display names as shown in the protocol. In "СО" and "СО2" the letters are Cyrillic
    // (U+0421, U+041E) and the digit is ASCII.
    static constexpr std::array<std::u16string_view, kSlots> kDisplayNames = {
        u"Азот", u"Кислород", u"Метан", u"Неон", u"Водород", u"\u0421\u041E", u"\u0421\u041E2",
    };

    // The first slot whose display name equals `name` ignoring case; none when no name does.
    static std::optional<std::size_t> SlotOf(std::u16string_view name) noexcept;
};

}  // namespace ImpurityCalculation
