#pragma once

#include <cstdint>

// Row id of table [assay]; one assay is one measurement. Ids of 0 or less stand for
// "no measurement" and bind as NULL, so they find no row.
using AssayId = std::int64_t;
