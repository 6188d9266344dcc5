#pragma once

// Every SQL text the module issues against the host's database. All of them only read.
namespace Queries {

// The series of the current pair (params: first id, second id).
inline constexpr char16_t kPairSeries[] = u"SELECT series FROM [assay] WHERE id IN (?, ?) LIMIT 1;";

// The 100 series with the most recent measurements, newest first.
inline constexpr char16_t kRecentSeries[] =
    u"SELECT series, MAX(assay.date) AS 'lastdate' FROM [assay] GROUP BY series ORDER BY "
    u"lastdate DESC LIMIT 100;";

// The 100 newest measurements of one series (param: series text).
inline constexpr char16_t kSeriesMeasurements[] =
    u"SELECT id, date, sample FROM [assay] WHERE series = ? ORDER BY date DESC LIMIT 100;";

// The data file of one measurement (param: id).
inline constexpr char16_t kMeasurementFile[] = u"SELECT filename FROM [assay] WHERE id = ?;";

// Id, date and sample of the two measurements of a pair (params: first id, second id).
inline constexpr char16_t kPairSummary[] =
    u"SELECT id, date, sample FROM [assay] WHERE id IN (?, ?);";

// Summed peak concentrations per component name of both measurements
// (params: first id, second id, first id, second id).
inline constexpr char16_t kPeakSum[] =
    u"SELECT name,   SUM(CASE WHEN assayid = ? THEN concentration ELSE 0 END),   SUM(CASE WHEN "
    u"assayid = ? THEN concentration ELSE 0 END) FROM [peak] WHERE assayid IN (?, ?) GROUP BY "
    u"name HAVING ifnull(length(name), 0) != 0;";

// The current schema version of the host's database.
inline constexpr char16_t kSchemaVersion[] =
    u"SELECT version FROM[versioninfo] ORDER BY appliedon DESC, id DESC LIMIT 1;";

// Date, sample and comment of the measurement a report describes (param: id).
inline constexpr char16_t kReportHeader[] =
    u"SELECT id, date, sample, comment FROM [assay] WHERE id = ? LIMIT 1;";

// The operator's name through table [operator], schema versions below 27 (param: id).
inline constexpr char16_t kJoinedOperator[] =
    u"SELECT operator.name FROM [assay] LEFT JOIN [operator] ON operator.id = assay.operatorid "
    u"WHERE assay.id = ? LIMIT 1;";

// The operator's name from [assay].employee_name, schema versions 27 and later (param: id).
inline constexpr char16_t kEmployeeOperator[] =
    u"SELECT employee_name FROM [assay] WHERE assay.id = ? LIMIT 1;";

// The first schema version whose operator name lives in [assay].employee_name.
inline constexpr int kEmployeeNameSchemaVersion = 27;

}  // namespace Queries
