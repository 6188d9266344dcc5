// How much nivra's own work adds to what SQLite needs for "two ids → nine rows".
//   BM_ComputeProtocol: the pure calculation alone.
//   BM_TwoIdsToNineRows: open a SqlConnection, readComponentConcentrations, computeProtocol.
//   BM_BarePeakSumQuery: the same peak-sum query through the plain SQLite C API on the same
//   file, with the open, prepare, binds, steps, column reads, finalize and close it takes.
// Both database benchmarks walk the same sequence of id pairs. Compare them with
//   nivra-bench-protocol --benchmark_repetitions=20 --benchmark_enable_random_interleaving=true
//       --benchmark_report_aggregates_only=true
// and read the "min" and "median" rows.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "bench/protocol/BenchDatabase.h"
#include "database/Queries.h"
#include "database/SqlConnection.h"
#include "protocol/ComputeProtocol.h"
#include "protocol/ReadComponentConcentrations.h"
#include "text/Utf8.h"

using namespace ImpurityCalculation;

namespace {

const std::string& DatabasePath() {
    static const std::string path = [] {
        BenchDatabase::Ensure(NIVRA_BENCH_DATABASE);
        return std::string(NIVRA_BENCH_DATABASE);
    }();
    return path;
}

// The fastest repetition: on a shared machine the least disturbed estimate of the cost.
double Fastest(const std::vector<double>& times) {
    return *std::min_element(times.begin(), times.end());
}

// Pairs spread over the whole file, the second measurement right after the first.
struct Pair {
    AssayId first, second;
};
std::array<Pair, 256> Pairs() {
    std::array<Pair, 256> pairs{};
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const AssayId first = 1 + static_cast<AssayId>((i * 7919) % (BenchDatabase::kAssays - 1));
        pairs[i] = {first, first + 1};
    }
    return pairs;
}

void BM_ComputeProtocol(benchmark::State& state) {
    ComponentConcentrations input;
    input.slots = {{{0.0021, 0.0023},
                    {0.0006, 0.0008},
                    {0, 0},
                    {0.0042, 0.0040},
                    {0, 0.0001},
                    {0.000004, 0.000006},
                    {0.0061, 0.0059}}};
    for (auto _ : state) {
        benchmark::DoNotOptimize(input);
        auto table = computeProtocol(input);
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(BM_ComputeProtocol);

void BM_TwoIdsToNineRows(benchmark::State& state) {
    const std::u16string uri = fromUtf8(DatabasePath());
    const auto pairs = Pairs();
    std::size_t next = 0;
    for (auto _ : state) {
        const Pair pair = pairs[next++ % pairs.size()];
        DataBase::SqlConnection db(uri.c_str());
        auto table = computeProtocol(readComponentConcentrations(db, pair.first, pair.second));
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(BM_TwoIdsToNineRows)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", Fastest);

// The read alone, without the calculation: shows where the difference comes from.
void BM_TwoIdsToConcentrations(benchmark::State& state) {
    const std::u16string uri = fromUtf8(DatabasePath());
    const auto pairs = Pairs();
    std::size_t next = 0;
    for (auto _ : state) {
        const Pair pair = pairs[next++ % pairs.size()];
        DataBase::SqlConnection db(uri.c_str());
        auto concentrations = readComponentConcentrations(db, pair.first, pair.second);
        benchmark::DoNotOptimize(concentrations);
    }
}
BENCHMARK(BM_TwoIdsToConcentrations)
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", Fastest);

void BM_BarePeakSumQuery(benchmark::State& state) {
    const std::u16string uri = fromUtf8(DatabasePath());
    const auto pairs = Pairs();
    std::size_t next = 0;
    for (auto _ : state) {
        const Pair pair = pairs[next++ % pairs.size()];
        sqlite3* db = nullptr;
        sqlite3_open16(uri.c_str(), &db);
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare16_v2(db, Queries::kPeakSum, -1, &statement, nullptr);
        sqlite3_bind_int64(statement, 1, pair.first);
        sqlite3_bind_int64(statement, 2, pair.second);
        sqlite3_bind_int64(statement, 3, pair.first);
        sqlite3_bind_int64(statement, 4, pair.second);
        int rc;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            const void* name = sqlite3_column_text16(statement, 0);
            int bytes = sqlite3_column_bytes16(statement, 0);
            double first = sqlite3_column_double(statement, 1);
            double second = sqlite3_column_double(statement, 2);
            benchmark::DoNotOptimize(name);
            benchmark::DoNotOptimize(bytes);
            benchmark::DoNotOptimize(first);
            benchmark::DoNotOptimize(second);
        }
        if (rc != SQLITE_DONE) state.SkipWithError(sqlite3_errmsg(db));
        sqlite3_finalize(statement);
        sqlite3_close(db);
    }
}
BENCHMARK(BM_BarePeakSumQuery)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", Fastest);

}  // namespace

BENCHMARK_MAIN();
