#include "check/road/RoadDatabase.h"

#include <sqlite3.h>

#include <memory>
#include <stdexcept>

#include "check/HostDatabase.h"
#include "protocol/ComponentTable.h"
#include "text/Utf8.h"

namespace {

// 2023-11-14 22:13:20 UTC.
constexpr std::int64_t kFirstDate = 1700000000;

HostDatabase::Schema SchemaOf(const ReferenceCase& reference) {
    return reference.schemaVersion < 27 ? HostDatabase::Schema::WithOperatorTable
                                        : HostDatabase::Schema::WithEmployeeName;
}

AssayId AddMeasurement(HostDatabase& db, const ReferenceCase& reference,
                       const CaseMeasurement& measurement, std::int64_t date,
                       const std::string& series, std::int64_t operatorId,
                       const std::string& filename) {
    HostDatabase::Assay assay{.date = date,
                              .sample = measurement.sample,
                              .comment = measurement.comment,
                              .series = series,
                              .filename = filename};
    if (SchemaOf(reference) == HostDatabase::Schema::WithOperatorTable)
        assay.operatorId = operatorId;
    else
        assay.employeeName = measurement.operatorName;
    const AssayId id = db.addAssay(assay);
    for (const auto& [name, concentration] : measurement.peaks) db.addPeak(id, name, concentration);
    return id;
}

}  // namespace

RoadDatabase WriteRoadDatabase(const ReferenceCase& reference, const std::string& path) {
    RoadDatabase road;
    road.path = path;
    HostDatabase db(road.path, SchemaOf(reference));
    db.addVersion(reference.schemaVersion - 1, 1609459200, 1);
    db.addVersion(reference.schemaVersion, 1672531200, 2);
    if (SchemaOf(reference) == HostDatabase::Schema::WithOperatorTable) {
        db.addOperator(1, reference.first.operatorName);
        db.addOperator(2, reference.second.operatorName);
    }

    const std::string series = "Партия 2023-041";
    road.first = AddMeasurement(db, reference, reference.first, kFirstDate, series, 1,
                                "D:\\Хроматограммы\\He_1.chr");
    road.second = AddMeasurement(db, reference, reference.second, kFirstDate + 2400, series, 2,
                                 "D:\\Хроматограммы\\He_2.chr");
    // A third, newest measurement of the series that the road leaves unmarked.
    CaseMeasurement third{.sample = "Гелий газообразный сжатый, баллон № 4128",
                          .comment = "",
                          .operatorName = reference.second.operatorName,
                          .peaks = {}};
    for (std::u16string_view name : ImpurityCalculation::ComponentTable::kDisplayNames)
        third.peaks.emplace_back(toUtf8(name), 0.001);
    AddMeasurement(db, reference, third, kFirstDate + 4800, series, 2, "");

    // A newer series, which the selection dialog lists first.
    const std::string newest = "Входной контроль, реципиент № 2";
    const CaseMeasurement incoming{.sample = "Гелий газообразный сжатый марки 4.6",
                                   .comment = "",
                                   .operatorName = reference.first.operatorName,
                                   .peaks = {{"Азот", 0.003}}};
    for (int m = 0; m < 2; ++m)
        AddMeasurement(db, reference, incoming, kFirstDate + 5 * 86400 + m * 2400, newest, 1, "");
    db.close();

    road.uri = fromUtf8(road.path);
    road.series = fromUtf8(series);
    road.newestSeries = fromUtf8(newest);
    road.seriesMeasurements = 3;
    road.firstDate = kFirstDate;
    road.secondDate = kFirstDate + 2400;
    road.firstSample = fromUtf8(reference.first.sample);
    road.secondSample = fromUtf8(reference.second.sample);
    road.secondComment = fromUtf8(reference.second.comment);
    road.secondOperator = fromUtf8(reference.second.operatorName);
    road.secondRemovedBeforeReport = reference.secondRemovedBeforeReport;
    for (const auto& expected : reference.protocol) {
        std::array<std::u16string, 9> row;
        for (std::size_t column = 0; column < row.size(); ++column)
            row[column] = fromUtf8(expected[column]);
        road.protocol.push_back(row);
    }
    return road;
}

void RemoveMeasurement(const RoadDatabase& road, AssayId id) {
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open(road.path.c_str(), &raw);
    const std::unique_ptr<sqlite3, int (*)(sqlite3*)> db(raw, sqlite3_close);
    const std::string sql = "DELETE FROM peak WHERE assayid = " + std::to_string(id) +
                            "; DELETE FROM assay WHERE id = " + std::to_string(id) + ";";
    if (opened != SQLITE_OK ||
        sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error("не удалось удалить измерение: " +
                                 std::string(sqlite3_errmsg(raw)));
}
