#pragma once

#include <algorithm>
#include <vector>

#include "database/AssayId.h"
#include "database/AssaySummary.h"

// The two measurement labels of the protocol window.
enum class AssayLabel { First, Second };

// Which label shows a row of the pair summary: the first label when the row is the record's
// first measurement (both ids valid and equal), the second otherwise, so the order in which
// the rows arrive does not matter.
inline AssayLabel labelForAssay(AssayId rowId, AssayId recordFirst) {
    return rowId > 0 && recordFirst > 0 && rowId == recordFirst ? AssayLabel::First
                                                                : AssayLabel::Second;
}

// Whether the pair summary holds both chosen measurements. A pair with one of them gone from
// the database gives no protocol: its labels would name a measurement the table was not
// computed from.
inline bool holdsPair(const std::vector<AssaySummary>& rows, AssayId first, AssayId second) {
    const auto holds = [&rows](AssayId id) {
        return id > 0 && std::any_of(rows.begin(), rows.end(),
                                     [id](const AssaySummary& row) { return row.id == id; });
    };
    return holds(first) && holds(second);
}
