#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "check/HostDatabase.h"
#include "database/AssayQueries.h"
#include "database/SqlConnection.h"
#include "database/SqlException.h"
#include "text/Utf8.h"

using namespace DataBase;
using Schema = HostDatabase::Schema;

namespace {

std::string u8(const std::u16string& s) {
    return toUtf8(s);
}

}  // namespace

TEST(AssayQueries, RecentSeriesNewestFirstLimitedTo100WithNullAndEmptyApart) {
    HostDatabase fixture(HostDatabase::tempPath("series"), Schema::WithOperatorTable);
    fixture.exec("BEGIN");
    for (int s = 0; s < 120; ++s)
        fixture.addAssay({.date = 1000 + s, .series = "серия " + std::to_string(s)});
    fixture.addAssay({.date = 5000, .series = std::nullopt});
    fixture.addAssay({.date = 4000, .series = ""});
    fixture.exec("COMMIT");
    SqlConnection db(fixture.uri().c_str());
    const auto series = QueryRecentSeries(db);
    ASSERT_EQ(series.size(), 100u);
    EXPECT_EQ(series[0], u"") << "NULL series reads as empty text";
    EXPECT_EQ(series[1], u"") << "empty series is a row of its own";
    EXPECT_EQ(u8(series[2]), "серия 119");
    EXPECT_EQ(u8(series[99]), "серия 22");
}

TEST(AssayQueries, SeriesMeasurementsNewestHundredAndNullSeriesFindsNothing) {
    HostDatabase fixture(HostDatabase::tempPath("measurements"), Schema::WithOperatorTable);
    fixture.exec("BEGIN");
    for (int i = 1; i <= 130; ++i)
        fixture.addAssay(
            {.id = i, .date = 100 * i, .sample = "проба " + std::to_string(i), .series = "A"});
    fixture.addAssay(
        {.id = 500, .date = std::nullopt, .sample = std::nullopt, .series = std::nullopt});
    fixture.exec("COMMIT");
    SqlConnection db(fixture.uri().c_str());
    const auto rows = QuerySeriesMeasurements(db, u"A");
    ASSERT_EQ(rows.size(), 100u);
    EXPECT_EQ(rows.front(), (AssaySummary{130, 13000, u"проба 130"}));
    EXPECT_EQ(rows.back().id, 31);
    EXPECT_TRUE(QuerySeriesMeasurements(db, u"").empty());
    EXPECT_TRUE(QuerySeriesMeasurements(db, u"a").empty()) << "series compare exactly";
}

TEST(AssayQueries, PairQueriesReadNullsAsDefaultsAndUnsetIdsFindNothing) {
    HostDatabase fixture(HostDatabase::tempPath("pair"), Schema::WithOperatorTable);
    fixture.addAssay(
        {.id = 7, .date = 1700000000, .sample = "He-1", .series = "S1", .filename = "a.chr"});
    fixture.addAssay({.id = 8,
                      .date = std::nullopt,
                      .sample = std::nullopt,
                      .series = "S1",
                      .filename = std::nullopt});
    fixture.addAssay({.id = 0, .sample = "zero", .series = "Z"});
    fixture.addAssay({.id = -3, .sample = "negative", .series = "N"});
    SqlConnection db(fixture.uri().c_str());

    EXPECT_EQ(QueryPairSeries(db, 7, 8), u"S1");
    EXPECT_EQ(QueryPairSeries(db, 0, -3), u"") << "0 and below bind NULL";
    EXPECT_EQ(QueryPairSeries(db, 0, 8), u"S1");

    auto pair = QueryPairSummary(db, 8, 7);
    ASSERT_EQ(pair.size(), 2u);
    std::sort(pair.begin(), pair.end(), [](auto& a, auto& b) { return a.id < b.id; });
    EXPECT_EQ(pair[0], (AssaySummary{7, 1700000000, u"He-1"}));
    EXPECT_EQ(pair[1], (AssaySummary{8, 0, u""}));
    EXPECT_TRUE(QueryPairSummary(db, 0, -3).empty());

    EXPECT_EQ(QueryMeasurementFiles(db, 7), std::vector<std::u16string>{u"a.chr"});
    EXPECT_EQ(QueryMeasurementFiles(db, 8), std::vector<std::u16string>{u""});
    EXPECT_TRUE(QueryMeasurementFiles(db, 0).empty());
}

TEST(AssayQueries, PeakSumsSkipNamelessPeaksAndFillZerosForTheOtherMeasurement) {
    HostDatabase fixture(HostDatabase::tempPath("peaks"), Schema::WithOperatorTable);
    fixture.addPeak(1, "Азот", 0.001);
    fixture.addPeak(1, "Азот", 0.0011);
    fixture.addPeak(2, "Азот", 0.0023);
    fixture.addPeak(2, "Неон", 0.004);
    fixture.addPeak(1, std::nullopt, 5.0);
    fixture.addPeak(2, "", 5.0);
    fixture.addPeak(1, "Метан", std::nullopt);
    fixture.addPeak(3, "Азот", 9.0);
    SqlConnection db(fixture.uri().c_str());
    auto rows = QueryPeakSums(db, 1, 2);
    std::sort(rows.begin(), rows.end(), [](auto& a, auto& b) { return a.name < b.name; });
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, u"Азот");
    EXPECT_DOUBLE_EQ(rows[0].first, 0.0021);
    EXPECT_DOUBLE_EQ(rows[0].second, 0.0023);
    EXPECT_EQ(rows[1].name, u"Метан");
    EXPECT_EQ(rows[1].first, 0.0);
    EXPECT_EQ(rows[2].name, u"Неон");
    EXPECT_EQ(rows[2].first, 0.0);
    EXPECT_DOUBLE_EQ(rows[2].second, 0.004);
    EXPECT_TRUE(QueryPeakSums(db, 0, -1).empty());
}

TEST(AssayQueries, SchemaVersionIsTheNewestRowWithTiesBrokenById) {
    struct Case {
        std::vector<std::tuple<std::optional<int>, std::int64_t, std::int64_t>> rows;
        int expected;
    };
    const Case cases[] = {
        {{}, 0},
        {{{26, 10, 1}, {27, 20, 2}}, 27},
        {{{27, 20, 1}, {26, 10, 2}}, 27},
        {{{26, 20, 5}, {27, 20, 4}}, 26},
        {{{std::nullopt, 30, 1}, {27, 20, 2}}, 0},
    };
    for (const auto& c : cases) {
        HostDatabase fixture(HostDatabase::tempPath("version"), Schema::WithOperatorTable);
        for (auto& [v, applied, id] : c.rows) fixture.addVersion(v, applied, id);
        SqlConnection db(fixture.uri().c_str());
        EXPECT_EQ(QuerySchemaVersion(db), c.expected);
    }
}

TEST(AssayQueries, ReportHeaderAndOperatorByVersion) {
    HostDatabase old(HostDatabase::tempPath("v26"), Schema::WithOperatorTable);
    old.addOperator(3, "Иванова А. П.");
    old.addAssay({.id = 1, .date = 86400, .sample = "He", .comment = "a & <b>", .operatorId = 3});
    old.addAssay({.id = 2, .operatorId = 99});
    old.addAssay({.id = 4, .comment = std::nullopt, .operatorId = std::nullopt});
    SqlConnection db(old.uri().c_str());
    const auto header = QueryReportHeader(db, 1);
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(header->date, 86400);
    EXPECT_EQ(header->sample, u"He");
    EXPECT_EQ(header->comment, u"a & <b>");
    EXPECT_FALSE(QueryReportHeader(db, 0).has_value());
    EXPECT_EQ(QueryReportHeader(db, 4)->comment, u"");
    EXPECT_EQ(QueryOperator(db, 1, 26), u"Иванова А. П.");
    EXPECT_EQ(QueryOperator(db, 2, 26), u"") << "missing operator row still gives a row";
    EXPECT_EQ(QueryOperator(db, 4, 0), u"");
    EXPECT_FALSE(QueryOperator(db, 5, 26).has_value()) << "missing assay gives no row";
    EXPECT_THROW(QueryOperator(db, 1, 27), SqlException) << "no employee_name column";

    HostDatabase recent(HostDatabase::tempPath("v27"), Schema::WithEmployeeName);
    recent.addAssay({.id = 1, .employeeName = "Петров"});
    recent.addAssay({.id = 2, .employeeName = std::nullopt});
    SqlConnection db27(recent.uri().c_str());
    EXPECT_EQ(QueryOperator(db27, 1, 27), u"Петров");
    EXPECT_EQ(QueryOperator(db27, 2, 40), u"");
    EXPECT_THROW(QueryOperator(db27, 1, 26), SqlException) << "no operator table";
}

TEST(AssayQueries, DatabaseWithoutVersionInfoCannotGiveAVersion) {
    HostDatabase fixture(HostDatabase::tempPath("noversion"), Schema::WithOperatorTable, false);
    SqlConnection db(fixture.uri().c_str());
    try {
        QuerySchemaVersion(db);
        FAIL();
    } catch (const SqlException& e) {
        EXPECT_EQ(e.code(), SQLITE_ERROR);
        EXPECT_STREQ(e.what(), "no such table: versioninfo");
    }
}
