#pragma once

#include "protocol/ComponentConcentrations.h"
#include "protocol/ProtocolTable.h"

namespace ImpurityCalculation {

// The protocol of two measurements: for each component its single results, mean,
// repeatability, limit, rating, uncertainty and result, then the СО+СО2 sum and the helium
// balance. Pure; every input, including negative, infinite and not-a-number values, gives
// nine rows.
ProtocolTable computeProtocol(const ComponentConcentrations& concentrations);

}  // namespace ImpurityCalculation
