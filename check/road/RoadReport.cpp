#include "check/road/RoadReport.h"

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

void RoadReport::print(const char* step, const std::string& verdict) const {
    if (!printSteps_) return;
    std::printf("%s: %s: %s\n", tag_, step, verdict.c_str());
    std::fflush(stdout);
}

void RoadReport::finish(const char* step, const StepChecks& checks) {
    if (checks.ok()) {
        ++passed_;
        print(step, "пройден");
        return;
    }
    ++failed_;
    if (firstFailure_.empty())
        firstFailure_ = std::string("шаг «") + step + "»: " + checks.failures().front();
    print(step, "НЕ ПРОЙДЕН: " + checks.summary());
}

void RoadReport::notRun(const char* step, const char* need) {
    ++notRun_;
    if (firstFailure_.empty())
        firstFailure_ =
            std::string("шаг «") + step + "» не выполнен: не пройден шаг «" + need + "»";
    print(step, std::string("НЕ ВЫПОЛНЕН: не пройден шаг «") + need + "»");
}

void RoadReport::printTotals() const {
    if (!printSteps_) return;
    std::printf("%s: пройдено %d, не пройдено %d, не выполнено %d\n", tag_, passed_, failed_,
                notRun_);
    std::fflush(stdout);
}
