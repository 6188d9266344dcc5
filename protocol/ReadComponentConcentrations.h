#pragma once

#include "database/AssayId.h"
#include "protocol/ComponentConcentrations.h"

namespace DataBase {
class SqlConnection;
}

namespace ImpurityCalculation {

// Reads the summed peak concentrations of the two measurements into the seven slots by the
// peak-sum query. A peak name is matched against the display names ignoring case; names
// matching none are ignored. Names that differ only in case come back as separate rows
// and all land in one slot, so their sums are added. Ids of 0 or below find no peaks.
// Throws DataBase::SqlException when the query cannot be prepared or stepping fails.
ComponentConcentrations readComponentConcentrations(DataBase::SqlConnection& connection,
                                                    AssayId first, AssayId second);

}  // namespace ImpurityCalculation
