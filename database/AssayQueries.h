#pragma once

#include <optional>
#include <string>
#include <vector>

#include "database/AssayId.h"
#include "database/AssaySummary.h"

namespace DataBase {

class SqlConnection;

// One small typed function per query of Queries.h. Each prepares its text, binds by the
// AssayId or text rule, reads every row by the step protocol and returns the rows.
// Failures throw SqlException.

// Summed concentrations of one peak name in the two measurements.
struct PeakSum {
    std::u16string name;
    double first = 0.0;
    double second = 0.0;
};

// Date, sample and comment of the measurement a report describes.
struct ReportHeader {
    std::int64_t date = 0;
    std::u16string sample;
    std::u16string comment;
};

// The series of the current pair; empty when neither id has a row (or its series is NULL).
std::u16string QueryPairSeries(SqlConnection& db, AssayId first, AssayId second);
std::vector<std::u16string> QueryRecentSeries(SqlConnection& db);
std::vector<AssaySummary> QuerySeriesMeasurements(SqlConnection& db, const std::u16string& series);
std::vector<std::u16string> QueryMeasurementFiles(SqlConnection& db, AssayId id);
std::vector<AssaySummary> QueryPairSummary(SqlConnection& db, AssayId first, AssayId second);
std::vector<PeakSum> QueryPeakSums(SqlConnection& db, AssayId first, AssayId second);
// The current schema version; 0 when [versioninfo] is empty.
int QuerySchemaVersion(SqlConnection& db);
std::optional<ReportHeader> QueryReportHeader(SqlConnection& db, AssayId id);
// The operator's name by the schema version: joined through [operator] below 27, from
// [assay].employee_name from 27 on. Empty optional when the assay has no row.
std::optional<std::u16string> QueryOperator(SqlConnection& db, AssayId id, int schemaVersion);

}  // namespace DataBase
