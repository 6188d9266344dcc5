// The LIKE worst case before and after, against a text of n letters "a" that never matches:
//   shape 0: "%a" x k + "%b", where retrying every position at every match-all explodes;
//   shape 1: "%" + "a" x k + "b", where every start position runs k letters before failing,
//            the worst case of any matcher that retries from the last match-all.
//   BM_LikeRecursive/n/k/shape: the recursive description (the "before"); shape 0 grows
//     like n^(k+1).
//   BM_LikeIterative/n/k/shape: nivra's matcher on the same inputs, and far larger ones.
// The counter time_per_cell is the time divided by (text characters x pattern characters):
// for the iterative matcher it stays flat or falls as inputs grow, i.e. the time grows no
// faster than that product (shape 0 is even linear).

#include <benchmark/benchmark.h>

#include <optional>
#include <string>

#include "database/unicode/LikeMatcher.h"
#include "tests/database/unicode/RecursiveLike.h"

namespace {

std::string Pattern(std::int64_t k, std::int64_t shape) {
    if (shape == 1) return "%" + std::string(static_cast<std::size_t>(k), 'a') + "b";
    std::string pattern;
    for (std::int64_t i = 0; i < k; ++i) pattern += "%a";
    return pattern + "%b";
}

template <class Match>
void Run(benchmark::State& state, Match match) {
    const std::string text(static_cast<std::size_t>(state.range(0)), 'a');
    const std::string pattern = Pattern(state.range(1), state.range(2));
    bool matched = true;
    for (auto _ : state) {
        matched = match(pattern, text);
        benchmark::DoNotOptimize(matched);
    }
    if (matched) state.SkipWithError("a pattern ending in b matched a text of a");
    const double cells = static_cast<double>(text.size()) * static_cast<double>(pattern.size());
    // Seconds per cell, printed with an SI prefix (e.g. "4.5n" for 4.5 ns).
    state.counters["time_per_cell"] = benchmark::Counter(
        cells, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_LikeRecursive(benchmark::State& state) {
    Run(state, [](const std::string& p, const std::string& s) {
        return RecursiveLikeReference::Like(p, s, std::nullopt);
    });
}

void BM_LikeIterative(benchmark::State& state) {
    Run(state, [](const std::string& p, const std::string& s) {
        return DataBase::Unicode::LikeMatch(p, s, std::nullopt);
    });
}

}  // namespace

// "%a%a%a%a%b" (k = 4) and smaller, against growing texts.
BENCHMARK(BM_LikeRecursive)->ArgsProduct({{16, 32, 64, 128}, {1, 2, 3}, {0}});
BENCHMARK(BM_LikeRecursive)->ArgsProduct({{16, 32, 48, 64}, {4}, {0}});
BENCHMARK(BM_LikeRecursive)->ArgsProduct({{1000, 10000}, {10, 100}, {1}});
BENCHMARK(BM_LikeIterative)->ArgsProduct({{16, 32, 64, 128}, {1, 2, 3, 4}, {0}});
BENCHMARK(BM_LikeIterative)->ArgsProduct({{1000, 10000, 100000}, {4, 100, 1000}, {0}});
BENCHMARK(BM_LikeIterative)->Args({25000, 24999, 0});  // the longest pattern allowed
BENCHMARK(BM_LikeIterative)->ArgsProduct({{1000, 10000, 100000}, {10, 100, 1000}, {1}});
