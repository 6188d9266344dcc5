// Throughput of nivra's Unicode functions and collation beside the engine's built-in
// (ASCII-only) ones, over the same mixed Russian/Latin corpus (about 2 MB in 20000 rows),
// each through SQL on an in-memory table. bytes_per_second is corpus bytes per second.
// Read the pairs side by side, e.g.
//   nivra-bench-unicode --benchmark_filter=RunSql --benchmark_repetitions=5
//       --benchmark_report_aggregates_only=true
// RunSql/scan_* is the cost of reading the rows with no function at all.

#include <benchmark/benchmark.h>

#include <optional>
#include <string>

#include "bench/unicode/BenchCorpus.h"
#include "database/unicode/LikeMatcher.h"

namespace {

sqlite3* Database(bool nivra) {
    static const BenchCorpus::Connection builtIn = BenchCorpus::Open(false);
    static const BenchCorpus::Connection withUnicode = BenchCorpus::Open(true);
    return nivra ? withUnicode.get() : builtIn.get();
}

void RunSql(benchmark::State& state, bool nivra, const std::string& sql) {
    sqlite3* db = Database(nivra);
    long long result = 0;
    for (auto _ : state) {
        result = BenchCorpus::Scalar(db, sql);
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * BenchCorpus::Bytes()));
    state.counters["result"] = static_cast<double>(result);
}

const char* const kScan = "SELECT count(t) FROM corpus;";
const char* const kLower = "SELECT count(lower(t)) FROM corpus;";
const char* const kUpper = "SELECT count(upper(t)) FROM corpus;";
const char* const kLikeRussian = "SELECT count(*) FROM corpus WHERE t LIKE '%водород%ПРОБА%';";
const char* const kLikeLatin = "SELECT count(*) FROM corpus WHERE t LIKE '%helium%sample%';";
// Equal texts: every comparison runs to the end of both.
const char* const kNocaseEqual = "SELECT count(*) FROM corpus WHERE t = u COLLATE NOCASE;";
const char* const kNocaseSort =
    "SELECT count(*) FROM (SELECT t FROM corpus ORDER BY t COLLATE NOCASE);";

}  // namespace

BENCHMARK_CAPTURE(RunSql, scan_builtin, false, kScan);
BENCHMARK_CAPTURE(RunSql, scan_nivra, true, kScan);
BENCHMARK_CAPTURE(RunSql, lower_builtin, false, kLower);
BENCHMARK_CAPTURE(RunSql, lower_nivra, true, kLower);
BENCHMARK_CAPTURE(RunSql, upper_builtin, false, kUpper);
BENCHMARK_CAPTURE(RunSql, upper_nivra, true, kUpper);
BENCHMARK_CAPTURE(RunSql, like_russian_builtin, false, kLikeRussian);
BENCHMARK_CAPTURE(RunSql, like_russian_nivra, true, kLikeRussian);
BENCHMARK_CAPTURE(RunSql, like_latin_builtin, false, kLikeLatin);
BENCHMARK_CAPTURE(RunSql, like_latin_nivra, true, kLikeLatin);
BENCHMARK_CAPTURE(RunSql, nocase_equal_builtin, false, kNocaseEqual);
BENCHMARK_CAPTURE(RunSql, nocase_equal_nivra, true, kNocaseEqual);
BENCHMARK_CAPTURE(RunSql, nocase_sort_builtin, false, kNocaseSort);
BENCHMARK_CAPTURE(RunSql, nocase_sort_nivra, true, kNocaseSort);

namespace {

// nivra's matcher alone over the corpus rows, without the engine around it.
void LikeDirect(benchmark::State& state, const char* pattern) {
    const auto& rows = BenchCorpus::Rows();
    long long matches = 0;
    for (auto _ : state) {
        matches = 0;
        for (const auto& row : rows) {
            matches += DataBase::Unicode::LikeMatch(pattern, row, std::nullopt);
        }
        benchmark::DoNotOptimize(matches);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * BenchCorpus::Bytes()));
    state.counters["result"] = static_cast<double>(matches);
}

}  // namespace

BENCHMARK_CAPTURE(LikeDirect, russian, "%водород%ПРОБА%");
BENCHMARK_CAPTURE(LikeDirect, latin, "%helium%sample%");
BENCHMARK_CAPTURE(LikeDirect, absent, "%q%");
BENCHMARK_CAPTURE(LikeDirect, absent_cyrillic, "%щ%");
