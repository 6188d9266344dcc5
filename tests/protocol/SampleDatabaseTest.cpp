#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "check/HostDatabase.h"
#include "database/AssayQueries.h"
#include "database/SqlConnection.h"
#include "protocol/ComputeProtocol.h"
#include "protocol/ReadComponentConcentrations.h"
#include "text/Utf8.h"
#include "tools/sample/SampleDatabase.h"

using namespace ImpurityCalculation;
using DataBase::SqlConnection;

namespace {

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

}  // namespace

TEST(SampleDatabase, SameContentEveryTime) {
    const std::string a = HostDatabase::tempPath("sample-a");
    const std::string b = HostDatabase::tempPath("sample-b");
    const auto first = WriteSampleDatabase(a);
    WriteSampleDatabase(b);
    const auto again = WriteSampleDatabase(b);  // over an existing file
    EXPECT_EQ(first.measurements, again.measurements);
    EXPECT_EQ(first.peaks, again.peaks);
    EXPECT_EQ(FileBytes(a), FileBytes(b));
    std::filesystem::remove(a);
    std::filesystem::remove(b);
}

// The sample must exercise the real road: schema version 26 (operator joined by id), several
// series, and pairs whose protocol assesses the components every helium sample has.
TEST(SampleDatabase, EverySeriesGivesAPlausibleProtocol) {
    const std::string path = HostDatabase::tempPath("sample");
    const auto summary = WriteSampleDatabase(path);
    SqlConnection db(fromUtf8(path).c_str());
    const int version = DataBase::QuerySchemaVersion(db);
    EXPECT_EQ(version, 26);
    const auto series = DataBase::QueryRecentSeries(db);
    EXPECT_EQ(static_cast<int>(series.size()), summary.series);
    EXPECT_GE(series.size(), 3u);
    std::size_t measurements = 0;
    for (const auto& name : series) {
        const auto rows = DataBase::QuerySeriesMeasurements(db, name);
        ASSERT_GE(rows.size(), 2u) << toUtf8(name);
        measurements += rows.size();
        EXPECT_FALSE(DataBase::QueryOperator(db, rows[0].id, version).value_or(u"").empty());

        const auto read = readComponentConcentrations(db, rows[1].id, rows[0].id);
        for (const auto& pair : read.slots) {
            EXPECT_GE(pair.c1, 0.0);
            EXPECT_LT(pair.c1, 0.01) << "impurities are in per cent";
            EXPECT_GE(pair.c2, 0.0);
            EXPECT_LT(pair.c2, 0.01);
        }
        const auto table = computeProtocol(read);
        for (std::size_t slot : {0u, 1u, 3u}) {  // nitrogen, oxygen and neon are always found
            const auto& rating = table[slot][kRatingColumn];
            EXPECT_TRUE(rating == u"уд" || rating == u"неуд") << toUtf8(name) << " slot " << slot;
        }
        EXPECT_EQ(toUtf8(table[kHeliumRow][kMeanColumn]).substr(0, 4), "99.9");
    }
    EXPECT_EQ(static_cast<int>(measurements), summary.measurements);
    std::filesystem::remove(path);
}
