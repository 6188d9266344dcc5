#pragma once

#include <cstdint>

#include "database/AssayId.h"

// The in/out record the protocol window hands to the measurement selection dialog: the
// dialog stores its own outer size in the minimum fields and, on OK, the chosen pair.
struct SelectionRecord {
    std::int32_t minWidth = 0;
    std::int32_t minHeight = 0;
    AssayId first = 0;
    AssayId second = 0;
};

// The outer size a resizable dialog had when it was initialised; it may not get smaller.
struct MinTrackSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};
