#include "database/AssayQueries.h"

#include "database/Queries.h"
#include "database/SqlConnection.h"
#include "database/SqlStatement.h"

namespace DataBase {
namespace {

AssaySummary ReadSummary(const SqlStatement& row) {
    return AssaySummary{row.ColumnInt64(0, -1), row.ColumnInt64(1, 0), row.ColumnText(2)};
}

std::optional<std::u16string> SingleText(SqlConnection& db, const char16_t* sql, AssayId id) {
    SqlStatement statement;
    Prepare(db, statement, sql).BindId(1, id);
    std::optional<std::u16string> result;
    ForEachRow(statement, [&](const SqlStatement& row) { result = row.ColumnText(0); });
    return result;
}

}  // namespace

std::u16string QueryPairSeries(SqlConnection& db, AssayId first, AssayId second) {
    SqlStatement statement;
    Prepare(db, statement, Queries::kPairSeries).BindIds(first, second);
    std::u16string series;
    ForEachRow(statement, [&](const SqlStatement& row) { series = row.ColumnText(0); });
    return series;
}

std::vector<std::u16string> QueryRecentSeries(SqlConnection& db) {
    SqlStatement statement;
    Prepare(db, statement, Queries::kRecentSeries);
    std::vector<std::u16string> series;
    ForEachRow(statement, [&](const SqlStatement& row) { series.push_back(row.ColumnText(0)); });
    return series;
}

std::vector<AssaySummary> QuerySeriesMeasurements(SqlConnection& db, const std::u16string& series) {
    SqlStatement statement;
    Prepare(db, statement, Queries::kSeriesMeasurements).BindText(1, series);
    std::vector<AssaySummary> rows;
    ForEachRow(statement, [&](const SqlStatement& row) { rows.push_back(ReadSummary(row)); });
    return rows;
}

std::vector<std::u16string> QueryMeasurementFiles(SqlConnection& db, AssayId id) {
    SqlStatement statement;
    Prepare(db, statement, Queries::kMeasurementFile).BindId(1, id);
    std::vector<std::u16string> files;
    ForEachRow(statement, [&](const SqlStatement& row) { files.push_back(row.ColumnText(0)); });
    return files;
}

std::vector<AssaySummary> QueryPairSummary(SqlConnection& db, AssayId first, AssayId second) {
    SqlStatement statement;
    Prepare(db, statement, Queries::kPairSummary).BindIds(first, second);
    std::vector<AssaySummary> rows;
    ForEachRow(statement, [&](const SqlStatement& row) { rows.push_back(ReadSummary(row)); });
    return rows;
}

std::vector<PeakSum> QueryPeakSums(SqlConnection& db, AssayId first, AssayId second) {
    SqlStatement statement;
    Prepare(db, statement, Queries::kPeakSum);
    statement.BindId(1, first);
    statement.BindId(2, second);
    statement.BindId(3, first);
    statement.BindId(4, second);
    std::vector<PeakSum> rows;
    ForEachRow(statement, [&](const SqlStatement& row) {
        rows.push_back(
            PeakSum{row.ColumnText(0), row.ColumnDouble(1, 0.0), row.ColumnDouble(2, 0.0)});
    });
    return rows;
}

int QuerySchemaVersion(SqlConnection& db) {
    SqlStatement statement;
    Prepare(db, statement, Queries::kSchemaVersion);
    int version = 0;
    ForEachRow(statement, [&](const SqlStatement& row) { version = row.ColumnInt(0, 0); });
    return version;
}

std::optional<ReportHeader> QueryReportHeader(SqlConnection& db, AssayId id) {
    SqlStatement statement;
    Prepare(db, statement, Queries::kReportHeader).BindId(1, id);
    std::optional<ReportHeader> header;
    ForEachRow(statement, [&](const SqlStatement& row) {
        header = ReportHeader{row.ColumnInt64(1, 0), row.ColumnText(2), row.ColumnText(3)};
    });
    return header;
}

std::optional<std::u16string> QueryOperator(SqlConnection& db, AssayId id, int schemaVersion) {
    return SingleText(db,
                      schemaVersion < Queries::kEmployeeNameSchemaVersion
                          ? Queries::kJoinedOperator
                          : Queries::kEmployeeOperator,
                      id);
}

}  // namespace DataBase
