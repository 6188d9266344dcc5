#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "check/HostDatabase.h"
#include "database/SqlConnection.h"
#include "database/SqlException.h"
#include "protocol/ComputeProtocol.h"
#include "protocol/ReadComponentConcentrations.h"
#include "tests/protocol/ProtocolExpectations.h"
#include "tests/protocol/WorkedExample.h"

using namespace ImpurityCalculation;
using DataBase::SqlConnection;
using Schema = HostDatabase::Schema;

namespace {

struct Peak {
    AssayId assay;
    std::optional<std::string> name;
    std::optional<double> concentration;
};

struct Expected {
    std::size_t slot;
    double c1, c2;
};

// Builds a host database with assays 1, 2 and 3 (and 0 when asked) holding `peaks`.
void AddPeaks(HostDatabase& fixture, const std::vector<Peak>& peaks) {
    for (const auto& peak : peaks) fixture.addPeak(peak.assay, peak.name, peak.concentration);
}

void ExpectConcentrations(const ComponentConcentrations& actual,
                          const std::vector<Expected>& nonZero, const std::string& label) {
    ComponentConcentrations expected;
    for (const auto& e : nonZero) expected.slots.at(e.slot) = {e.c1, e.c2};
    for (std::size_t slot = 0; slot < ComponentTable::kSlots; ++slot) {
        EXPECT_DOUBLE_EQ(actual.slots[slot].c1, expected.slots[slot].c1)
            << label << ", slot " << slot;
        EXPECT_DOUBLE_EQ(actual.slots[slot].c2, expected.slots[slot].c2)
            << label << ", slot " << slot;
    }
}

}  // namespace

TEST(ReadComponentConcentrations, FillsSlotsFromBothMeasurementsOnEitherSchema) {
    for (Schema schema : {Schema::WithOperatorTable, Schema::WithEmployeeName}) {
        HostDatabase fixture(HostDatabase::tempPath("concentrations"), schema);
        for (AssayId id : {1, 2, 3}) fixture.addAssay({.id = id, .series = "S"});
        AddPeaks(fixture, {
                              {1, "Азот", 0.0021},
                              {2, "Азот", 0.0023},
                              {1, "Кислород", 0.0004},
                              {1, "Кислород", 0.0002},  // two peaks of one name are summed
                              {2, "Кислород", 0.0008},
                              {2, "Водород", 0.0001},  // second measurement only
                              {1, "Неон", 0.0042},
                              {2, "Неон", 0.0040},
                              {1, "\xD0\xA1\xD0\x9E", 0.000004},  // "СО", Cyrillic
                              {2, "\xD0\xA1\xD0\x9E", 0.000006},
                              {1, "СО2", 0.0061},
                              {2, "СО2", 0.0059},
                              {2, "Метан", std::nullopt},  // NULL concentration reads 0
                              {1, "CO", 0.5},              // Latin: no slot
                              {2, "CO2", 0.5},
                              {1, "Аргон", 0.5},  // a bounds key, not a display name
                              {2, "оксид углерода", 0.5},
                              {1, "диоксид углерода", 0.5},
                              {1, std::nullopt, 0.5},
                              {2, "", 0.5},
                              {3, "Азот", 7.0},  // another measurement
                          });
        SqlConnection db(fixture.uri().c_str());
        const auto read = readComponentConcentrations(db, 1, 2);
        ExpectConcentrations(read,
                             {{0, 0.0021, 0.0023},
                              {1, 0.0006, 0.0008},
                              {3, 0.0042, 0.0040},
                              {4, 0, 0.0001},
                              {5, 0.000004, 0.000006},
                              {6, 0.0061, 0.0059}},
                             "pair 1, 2");
        // The same peaks make the worked example's protocol.
        const auto table = computeProtocol(read);
        const auto expected = WorkedExample::Protocol();
        for (std::size_t row = 0; row < kProtocolRows; ++row)
            ExpectRow(table[row], expected[row], "row " + std::to_string(row));
        ExpectConcentrations(readComponentConcentrations(db, 2, 1),
                             {{0, 0.0023, 0.0021},
                              {1, 0.0008, 0.0006},
                              {3, 0.0040, 0.0042},
                              {4, 0.0001, 0},
                              {5, 0.000006, 0.000004},
                              {6, 0.0059, 0.0061}},
                             "pair swapped");
    }
}

// "Азот" and "АЗОТ" are grouped apart by the query; both rows belong to one slot, so their
// sums must add up rather than the later row replacing the earlier one.
TEST(ReadComponentConcentrations, NamesDifferingInCaseAddUpInOneSlot) {
    struct Case {
        const char* what;
        std::vector<Peak> peaks;
        std::vector<Expected> expected;
    };
    const std::vector<Case> cases = {
        {"one spelling per measurement",
         {{1, "Азот", 0.002}, {2, "АЗОТ", 0.003}},
         {{0, 0.002, 0.003}}},
        {"two spellings within one measurement",
         {{1, "азот", 0.001}, {1, "АЗОТ", 0.0005}, {2, "Азот", 0.0015}},
         {{0, 0.0015, 0.0015}}},
        {"three spellings across both",
         {{1, "кислород", 0.0001},
          {1, "Кислород", 0.0002},
          {2, "КИСЛОРОД", 0.0004},
          {2, "кислород", 0.0001}},
         {{1, 0.0003, 0.0005}}},
        {"Cyrillic carbon oxides in mixed case",
         {{1, "\xD0\xA1\xD0\x9E", 0.001},
          {2, "\xD1\x81\xD0\xBE", 0.002},
          {1, "\xD1\x81\xD0\x9E\x32", 0.003}},
         {{5, 0.001, 0.002}, {6, 0.003, 0}}},
    };
    for (const auto& c : cases) {
        HostDatabase fixture(HostDatabase::tempPath("case"), Schema::WithEmployeeName);
        fixture.addAssay({.id = 1});
        fixture.addAssay({.id = 2});
        AddPeaks(fixture, c.peaks);
        SqlConnection db(fixture.uri().c_str());
        ExpectConcentrations(readComponentConcentrations(db, 1, 2), c.expected, c.what);
    }

    // Rated on both measurements: had one replaced the other, nitrogen would read (0, 0.003).
    HostDatabase fixture(HostDatabase::tempPath("case-rating"), Schema::WithEmployeeName);
    AddPeaks(fixture, {{1, "Азот", 0.0021}, {2, "АЗОТ", 0.0023}});
    SqlConnection db(fixture.uri().c_str());
    ExpectRow(computeProtocol(readComponentConcentrations(db, 1, 2))[0],
              {"Азот", "0.002100", "0.002300", "0.002200", "0.000200", "0.000220", "уд", "0.000440",
               "0.002200±0.000440"},
              "nitrogen");
}

// Ids of 0 or below mean "no measurement": bound as NULL they match no peak, not even peaks
// stored under assay id 0 or a negative id.
TEST(ReadComponentConcentrations, IdsOfZeroOrBelowFindNoPeaks) {
    HostDatabase fixture(HostDatabase::tempPath("unset"), Schema::WithOperatorTable);
    AddPeaks(fixture,
             {{0, "Азот", 0.001}, {-1, "Азот", 0.002}, {5, "Азот", 0.004}, {5, "Неон", 0.003}});
    SqlConnection db(fixture.uri().c_str());
    struct Case {
        AssayId first, second;
        std::vector<Expected> expected;
    };
    const std::vector<Case> cases = {
        {0, 5, {{0, 0, 0.004}, {3, 0, 0.003}}},
        {5, 0, {{0, 0.004, 0}, {3, 0.003, 0}}},
        {-1, 5, {{0, 0, 0.004}, {3, 0, 0.003}}},
        {0, 0, {}},
        {0, -1, {}},
        {6, 7, {}},  // ids without any row
    };
    for (const auto& c : cases) {
        ExpectConcentrations(readComponentConcentrations(db, c.first, c.second), c.expected,
                             std::to_string(c.first) + ", " + std::to_string(c.second));
    }
}

TEST(ReadComponentConcentrations, DatabaseFailuresSurfaceAsSqlException) {
    struct Case {
        const char* what;
        const char* sql;  // run on a fresh host database before reading
        int code;
        const char* message;
        bool hasSql;  // a failed step names its statement; a failed prepare has none
    };
    const std::vector<Case> cases = {
        {"no peak table", "DROP TABLE peak", SQLITE_ERROR, "no such table: peak", false},
        {"no concentration column",
         "DROP TABLE peak; CREATE TABLE peak (assayid INTEGER, name TEXT)", SQLITE_ERROR,
         "no such column: concentration", false},
        // Integer sums that overflow fail while stepping.
        {"sum overflows",
         "DROP TABLE peak; CREATE TABLE peak (assayid INTEGER, name TEXT, concentration);"
         "INSERT INTO peak VALUES (1, 'Азот', 9223372036854775807), (1, 'Азот', 1)",
         SQLITE_ERROR, "SQL logic error", true},
    };
    for (const auto& c : cases) {
        HostDatabase fixture(HostDatabase::tempPath("failure"), Schema::WithEmployeeName);
        fixture.exec(c.sql);
        SqlConnection db(fixture.uri().c_str());
        try {
            readComponentConcentrations(db, 1, 2);
            ADD_FAILURE() << c.what << ": no exception";
        } catch (const DataBase::SqlException& e) {
            EXPECT_EQ(e.code(), c.code) << c.what;
            EXPECT_STREQ(e.what(), c.message) << c.what;
            EXPECT_EQ(e.sql() != nullptr, c.hasSql) << c.what;
        }
    }
}
