// Throughput of nivra's Unicode functions and collation beside the engine's built-in
// (ASCII-only) ones, each through SQL on an in-memory table holding one of three corpora of
// 20000 rows (mixed Russian/Latin about 2 MB, ASCII only, Russian only). bytes_per_second is
// corpus bytes per second. After the runs a table sets each nivra function beside its
// reference from the same run: the built-in of the same name, or for fold, title and
// unaccent, which have none, nivra's lower (the best of the repetitions). Read it off one
// command, which interleaves the repetitions of all benchmarks so that a machine whose speed
// drifts over seconds slows both sides of a pair alike:
//   nivra-bench-unicode --benchmark_filter=RunSql --benchmark_repetitions=15
//       --benchmark_min_time=0.05 --benchmark_enable_random_interleaving=true
// RunSql/scan/* is the cost of reading the rows with no function at all. A build configured
// with -DCMAKE_CXX_FLAGS=-DNIVRA_NO_WIDE_VECTORS measures the sixteen-byte routines alone,
// the ones the Windows DLL runs.

#include <benchmark/benchmark.h>

#include <optional>
#include <string>
#include <vector>

#include "bench/unicode/BenchCorpus.h"
#include "bench/unicode/RatioReporter.h"
#include "database/unicode/LikeMatcher.h"

namespace {

using BenchCorpus::Kind;

sqlite3* Database(Kind kind, bool nivra) {
    static BenchCorpus::Connection connections[3][2];
    BenchCorpus::Connection& db = connections[static_cast<int>(kind)][nivra ? 1 : 0];
    if (!db) db = BenchCorpus::Open(kind, nivra);
    return db.get();
}

void RunSql(benchmark::State& state, Kind kind, bool nivra, const std::string& sql) {
    sqlite3* db = Database(kind, nivra);
    long long result = 0;
    for (auto _ : state) {
        result = BenchCorpus::Scalar(db, sql);
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * BenchCorpus::Bytes(kind)));
    state.counters["result"] = static_cast<double>(result);
}

struct Query {
    const char* function;
    const char* sql;
    bool builtIn;  // the engine has a function or collation of its own to compare with
    std::vector<Kind> corpora;
};

const std::vector<Kind> kAll = {Kind::Mixed, Kind::Ascii, Kind::Russian};

const Query kQueries[] = {
    {"scan", "SELECT count(t) FROM corpus;", true, kAll},
    {"lower", "SELECT count(lower(t)) FROM corpus;", true, kAll},
    {"upper", "SELECT count(upper(t)) FROM corpus;", true, kAll},
    {"like_latin",
     "SELECT count(*) FROM corpus WHERE t LIKE '%helium%sample%';",
     true,
     {Kind::Mixed, Kind::Ascii}},
    {"like_russian",
     "SELECT count(*) FROM corpus WHERE t LIKE '%водород%ПРОБА%';",
     true,
     {Kind::Mixed, Kind::Russian}},
    // Equal texts: every comparison runs to the end of both.
    {"nocase_equal", "SELECT count(*) FROM corpus WHERE t = u COLLATE NOCASE;", true, kAll},
    {"nocase_sort", "SELECT count(*) FROM (SELECT t FROM corpus ORDER BY t COLLATE NOCASE);", true,
     kAll},
    {"fold", "SELECT count(fold(t)) FROM corpus;", false, kAll},
    {"title", "SELECT count(title(t)) FROM corpus;", false, kAll},
    {"unaccent", "SELECT count(unaccent(t)) FROM corpus;", false, kAll},
};

std::string BenchmarkName(const char* function, Kind kind, bool nivra) {
    return std::string("RunSql/") + function + "/" + BenchCorpus::Name(kind) +
           (nivra ? "/nivra" : "/builtin");
}

// Registers every query on its corpora and returns the pairs the table compares.
std::vector<RatioReporter::Pair> RegisterSqlBenchmarks() {
    std::vector<RatioReporter::Pair> pairs;
    for (const Query& query : kQueries) {
        for (Kind kind : query.corpora) {
            for (bool nivra : {false, true}) {
                if (!nivra && !query.builtIn) continue;
                benchmark::RegisterBenchmark(BenchmarkName(query.function, kind, nivra).c_str(),
                                             RunSql, kind, nivra, std::string(query.sql));
            }
            const std::string label = std::string(query.function) + " " + BenchCorpus::Name(kind);
            const std::string subject = BenchmarkName(query.function, kind, true);
            if (query.builtIn) {
                pairs.push_back(
                    {label, subject, BenchmarkName(query.function, kind, false), "built-in"});
            } else {
                pairs.push_back(
                    {label, subject, BenchmarkName("lower", kind, true), "nivra lower"});
            }
        }
    }
    return pairs;
}

// nivra's matcher alone over the mixed corpus rows, without the engine around it.
void LikeDirect(benchmark::State& state, const char* pattern) {
    const auto& rows = BenchCorpus::Rows(Kind::Mixed);
    const DataBase::Unicode::LikePattern compiled(pattern, std::nullopt);
    long long matches = 0;
    for (auto _ : state) {
        matches = 0;
        for (const auto& row : rows) {
            matches += compiled.Matches(row);
        }
        benchmark::DoNotOptimize(matches);
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * BenchCorpus::Bytes(Kind::Mixed)));
    state.counters["result"] = static_cast<double>(matches);
}

}  // namespace

BENCHMARK_CAPTURE(LikeDirect, russian, "%водород%ПРОБА%");
BENCHMARK_CAPTURE(LikeDirect, latin, "%helium%sample%");
BENCHMARK_CAPTURE(LikeDirect, absent, "%q%");
BENCHMARK_CAPTURE(LikeDirect, absent_cyrillic, "%щ%");

int main(int argc, char** argv) {
    RatioReporter reporter(RegisterSqlBenchmarks());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintTable();
    benchmark::Shutdown();
    return 0;
}
