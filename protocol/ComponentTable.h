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

// The factors of a component's metrology. Each is applied as a multiplication, so the mean
// is the sum times one half and the limit a tenth of the mean, never a division.
// The mean of the two single results: their sum times this.
inline constexpr double kMeanFactor = 0.5;
// The acceptance limit of an assessed component: its mean times this.
inline constexpr double kLimitFactor = 0.1;
// The uncertainty of a component and of the СО+СО2 sum: the mean (or the sum) times this.
inline constexpr double kUncertaintyFactor = 0.2;
// The helium balance's uncertainty, whatever the impurities.
inline constexpr double kHeliumUncertainty = 0.0003;

}  // namespace ImpurityCalculation
