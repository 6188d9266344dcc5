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

void RoadReport::notRun(const char* step, const char* need) {
    ++notRun_;
    std::printf("road32: %-28s NOT RUN: \"%s\" did not pass\n", step, need);
    std::fflush(stdout);
}

void RoadReport::printTotals() const {
    if (notRun_ > 0)
        std::printf("road32: %d passed, %d failed, %d skipped\n", passed_, failed_, notRun_);
    else
        std::printf("road32: %d passed, %d failed\n", passed_, failed_);
    std::fflush(stdout);
}
