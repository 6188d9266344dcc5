#include "protocol/ReadComponentConcentrations.h"

#include <array>

#include "database/AssayQueries.h"

namespace ImpurityCalculation {

ComponentConcentrations readComponentConcentrations(DataBase::SqlConnection& connection,
                                                    AssayId first, AssayId second) {
    ComponentConcentrations concentrations;
    std::array<bool, ComponentTable::kSlots> filled{};
    for (const auto& row : DataBase::QueryPeakSums(connection, first, second)) {
        const auto slot = ComponentTable::SlotOf(row.name);
        if (!slot) continue;
        auto& pair = concentrations.slots[*slot];
        // "Азот" in one measurement and "АЗОТ" in the other are grouped apart by the query;
        // replacing would drop one of them, so later rows for a slot add to it.
        if (filled[*slot]) {
            pair.c1 += row.first;
            pair.c2 += row.second;
        } else {
            pair = ConcentrationPair{row.first, row.second};
            filled[*slot] = true;
        }
    }
    return concentrations;
}

}  // namespace ImpurityCalculation
