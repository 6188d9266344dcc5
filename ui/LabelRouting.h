#pragma once

#include "database/AssayId.h"

// The two measurement labels of the protocol window.
enum class AssayLabel { First, Second };

// Which label shows a row of the pair summary: the first label when the row is the record's
// first measurement (both ids valid and equal), the second otherwise, so the order in which
// the rows arrive does not matter.
inline AssayLabel labelForAssay(AssayId rowId, AssayId recordFirst) {
    return rowId > 0 && recordFirst > 0 && rowId == recordFirst ? AssayLabel::First
                                                                : AssayLabel::Second;
}
