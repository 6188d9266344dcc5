#pragma once

#include <array>

#include "protocol/ComponentTable.h"

namespace ImpurityCalculation {

// One component's concentration in the first (c1) and second (c2) measurement, in per cent.
struct ConcentrationPair {
    double c1 = 0.0;
    double c2 = 0.0;
};

// The concentrations of the seven components, indexed by ComponentTable slot.
struct ComponentConcentrations {
    std::array<ConcentrationPair, ComponentTable::kSlots> slots{};
};

}  // namespace ImpurityCalculation
