#include "tests/win32/RoadReport.h"

#include <cstdio>

bool StepChecks::expect(bool condition, const std::string& what) {
    if (!condition) failures_.push_back(what);
    return condition;
}

std::string StepChecks::summary() const {
    std::string text;
    for (const std::string& failure : failures_) {
        if (!text.empty()) text += "; ";
        text += failure;
    }
    return text;
}

void RoadReport::finish(const char* step, const StepChecks& checks) {
    if (checks.ok()) {
        ++passed_;
        std::printf("road32: %-28s passed\n", step);
    } else {
        ++failed_;
        std::printf("road32: %-28s FAILED: %s\n", step, checks.summary().c_str());
    }
    std::fflush(stdout);
}

void RoadReport::notCovered(const char* step, const std::string& why) {
    ++notCovered_;
    std::printf("road32: %-28s not covered: %s\n", step, why.c_str());
    std::fflush(stdout);
}

void RoadReport::printTotals() const {
    std::printf("road32: %d passed, %d FAILED, %d not covered\n", passed_, failed_, notCovered_);
    std::fflush(stdout);
}
