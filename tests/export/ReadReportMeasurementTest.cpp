#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "check/HostDatabase.h"
#include "database/SqlConnection.h"
#include "database/SqlException.h"
#include "datetime/LocalDateTime.h"
#include "export/ReadReportMeasurement.h"
#include "text/Utf8.h"

using Schema = HostDatabase::Schema;

namespace {

struct Found {
    std::optional<ReportMeasurement> measurement;
    std::optional<std::string> operatorName;
};

Found read(const HostDatabase& fixture, AssayId assay) {
    DataBase::SqlConnection db(fixture.uri().c_str());
    ProtocolReport report;
    report.protocolDate = u"kept";
    ReadReportMeasurement(db, assay, report);
    EXPECT_EQ(report.protocolDate, u"kept");
    EXPECT_TRUE(report.rows.empty());
    Found found{report.measurement, std::nullopt};
    if (report.operatorName) found.operatorName = toUtf8(*report.operatorName);
    return found;
}

}  // namespace

TEST(ReadReportMeasurement, OperatorQueryFollowsTheSchemaVersion) {
    struct Case {
        const char* what;
        Schema schema;
        std::optional<int> version;  // empty: [versioninfo] holds no row
        std::optional<std::int64_t> operatorId;
        std::optional<std::string> employeeName;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"26 joins [operator]", Schema::WithOperatorTable, 26, 7, {}, "Иванов И. И."},
        {"empty versioninfo counts as 0", Schema::WithOperatorTable, {}, 7, {}, "Иванов И. И."},
        {"NULL version counts as 0",
         Schema::WithOperatorTable,
         std::nullopt,
         7,
         {},
         "Иванов И. И."},
        {"missing operator row gives empty name", Schema::WithOperatorTable, 26, 99, {}, ""},
        {"NULL operatorid gives empty name", Schema::WithOperatorTable, 26, std::nullopt, {}, ""},
        {"27 reads employee_name",
         Schema::WithEmployeeName,
         27,
         {},
         "Сидорова О. Н.",
         "Сидорова О. Н."},
        {"30 reads employee_name",
         Schema::WithEmployeeName,
         30,
         {},
         "Сидорова О. Н.",
         "Сидорова О. Н."},
        {"NULL employee_name is empty", Schema::WithEmployeeName, 27, {}, std::nullopt, ""},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HostDatabase fixture(HostDatabase::tempPath("report-op" + std::to_string(index++)),
                             c.schema);
        if (c.schema == Schema::WithOperatorTable) fixture.addOperator(7, "Иванов И. И.");
        if (c.version || std::string(c.what).find("NULL version") == 0)
            fixture.addVersion(c.version, 100, 1);
        // An older row with the other version must not decide.
        if (c.version) fixture.addVersion(*c.version >= 27 ? 26 : 27, 50, 2);
        const AssayId id = fixture.addAssay({.date = 1700000000,
                                             .sample = "проба",
                                             .operatorId = c.operatorId,
                                             .employeeName = c.employeeName});
        const Found found = read(fixture, id);
        ASSERT_TRUE(found.measurement);
        EXPECT_EQ(found.operatorName, c.expected);
    }
}

TEST(ReadReportMeasurement, HeaderTextsAndNullsReadAsDefaults) {
    HostDatabase fixture(HostDatabase::tempPath("report-header"), Schema::WithOperatorTable);
    fixture.addVersion(26, 1, 1);
    const AssayId full = fixture.addAssay(
        {.date = 1699955100, .sample = "Гелий <марки> А & Б", .comment = "баллон №3"});
    const AssayId nulls =
        fixture.addAssay({.date = std::nullopt, .sample = std::nullopt, .comment = std::nullopt});

    const Found a = read(fixture, full);
    ASSERT_TRUE(a.measurement);
    EXPECT_EQ(toUtf8(a.measurement->sample), "Гелий <марки> А & Б");
    EXPECT_EQ(toUtf8(a.measurement->comment), "баллон №3");
    EXPECT_EQ(a.measurement->date, FormatLocalDate(1699955100));
    EXPECT_EQ(a.measurement->time, FormatLocalTime(1699955100, kTimeNoSeconds));
    EXPECT_NE(a.measurement->time, FormatLocalTime(1699955100, 0)) << "the report drops seconds";
    EXPECT_FALSE(a.measurement->date.empty());

    const Found b = read(fixture, nulls);
    ASSERT_TRUE(b.measurement);
    EXPECT_EQ(b.measurement->sample, u"");
    EXPECT_EQ(b.measurement->comment, u"");
    EXPECT_EQ(b.measurement->date, FormatLocalDate(0)) << "NULL date is 1970-01-01 00:00 UTC";
    EXPECT_EQ(b.measurement->time, FormatLocalTime(0, kTimeNoSeconds));
    EXPECT_EQ(b.operatorName, "");
}

TEST(ReadReportMeasurement, NoRowOrUnsetIdLeavesBothPartsOut) {
    for (Schema schema : {Schema::WithOperatorTable, Schema::WithEmployeeName}) {
        HostDatabase fixture(HostDatabase::tempPath("report-none"), schema);
        fixture.addVersion(schema == Schema::WithEmployeeName ? 27 : 26, 1, 1);
        fixture.addAssay({.id = 5, .date = 10});
        for (AssayId id : {AssayId{0}, AssayId{-5}, AssayId{6}, AssayId{5} + (AssayId{1} << 32)}) {
            SCOPED_TRACE(id);
            const Found found = read(fixture, id);
            EXPECT_FALSE(found.measurement);
            EXPECT_FALSE(found.operatorName);
        }
    }
}

TEST(ReadReportMeasurement, SchemaFaultsThrow) {
    struct Case {
        const char* what;
        Schema schema;
        bool withVersionInfo;
        int version;
    };
    const Case cases[] = {
        {"no versioninfo table", Schema::WithOperatorTable, false, 0},
        {"version 27 without employee_name", Schema::WithOperatorTable, true, 27},
        {"version 26 without operator table", Schema::WithEmployeeName, true, 26},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HostDatabase fixture(HostDatabase::tempPath("report-fault"), c.schema, c.withVersionInfo);
        if (c.withVersionInfo) fixture.addVersion(c.version, 1, 1);
        const AssayId id = fixture.addAssay({.date = 10, .sample = "s"});
        DataBase::SqlConnection db(fixture.uri().c_str());
        ProtocolReport report;
        EXPECT_THROW(ReadReportMeasurement(db, id, report), DataBase::SqlException);
        EXPECT_FALSE(report.operatorName);
        if (!c.withVersionInfo) {
            EXPECT_FALSE(report.measurement);
        }
    }
}
