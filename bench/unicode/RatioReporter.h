#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// The console output as usual, and then a table of benchmark pairs from the same run: each
// subject's throughput beside its reference's and the ratio of their times.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Pair {
        std::string label;    // what the row measures, e.g. "lower mixed"
        std::string subject;  // benchmark names
        std::string reference;
        std::string referenceLabel;  // e.g. "built-in"
    };

    explicit RatioReporter(std::vector<Pair> pairs) : pairs_(std::move(pairs)) {}

    void ReportRuns(const std::vector<Run>& runs) override;

    // Rows whose two benchmarks both ran; MB/s is the best of the repetitions, as a machine
    // that others share only ever slows a run down.
    void PrintTable() const;

private:
    double BestMegabytesPerSecond(const std::string& name) const;

    std::vector<Pair> pairs_;
    std::map<std::string, std::vector<double>> rates_;  // bytes per second of every run
};
