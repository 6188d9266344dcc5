#include "bench/unicode/RatioReporter.h"

#include <algorithm>
#include <cstdio>

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
        const auto rate = run.counters.find("bytes_per_second");
        if (rate != run.counters.end()) rates_[run.run_name.str()].push_back(rate->second.value);
    }
}

double RatioReporter::BestMegabytesPerSecond(const std::string& name) const {
    const auto found = rates_.find(name);
    if (found == rates_.end() || found->second.empty()) return 0;
    return *std::max_element(found->second.begin(), found->second.end()) / 1e6;
}

void RatioReporter::PrintTable() const {
    std::printf("\n%-22s %12s %12s %14s  %s\n", "function corpus", "nivra MB/s", "ref MB/s",
                "nivra/ref time", "reference");
    for (const Pair& pair : pairs_) {
        const double subject = BestMegabytesPerSecond(pair.subject);
        const double reference = BestMegabytesPerSecond(pair.reference);
        if (subject <= 0 || reference <= 0) continue;
        std::printf("%-22s %12.0f %12.0f %14.2f  %s\n", pair.label.c_str(), subject, reference,
                    reference / subject, pair.referenceLabel.c_str());
    }
}
