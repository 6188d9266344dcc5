#pragma once

#include <vector>

#include "check/road/ReferenceCase.h"

// The installation check's reference cases, in the order they run and are reported. The
// first is the worked example of the calculation, which the 32-bit road walks on its own.
const std::vector<ReferenceCase>& ReferenceCases();
