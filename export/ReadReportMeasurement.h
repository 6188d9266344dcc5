#pragma once

#include "database/AssayId.h"
#include "export/ProtocolReport.h"

namespace DataBase {
class SqlConnection;
}

// Reads on `db` what the report says about measurement `assay` into `report`: the schema
// version, then the measurement's header (its date formatted as the user's short date and,
// without seconds, time of day), then its operator by the query that version calls for.
// A missing row leaves its part empty; database failures throw DataBase::SqlException.
void ReadReportMeasurement(DataBase::SqlConnection& db, AssayId assay, ProtocolReport& report);
