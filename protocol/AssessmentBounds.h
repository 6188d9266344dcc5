#pragma once

#include <string_view>

namespace ImpurityCalculation {

// The range (inclusive at both ends) within which a component's mean is assessed.
struct AssessmentBounds {
    double lower = 0.0;
    double upper = 0.0;

    // Bounds for a component name, keys compared ignoring case and tried in a fixed order;
    // the first match wins and a name matching no key gets (0, 0).
    static AssessmentBounds ForName(std::u16string_view name) noexcept;

    bool operator==(const AssessmentBounds&) const = default;
};

// True for the carbon-oxide names, whose means make up the СО+СО2 row.
bool IsCarbonOxide(std::u16string_view name) noexcept;

}  // namespace ImpurityCalculation
