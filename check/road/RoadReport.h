#pragma once

#include <string>
#include <vector>

// The checks of one road step: each failed expectation adds a line to the step's verdict.
class StepChecks {
public:
    // Records `what` as a failure unless `condition` holds; returns `condition`.
    bool expect(bool condition, const std::string& what);
    void fail(const std::string& what) { failures_.push_back(what); }
    bool ok() const { return failures_.empty(); }
    const std::vector<std::string>& failures() const { return failures_; }
    // The failures joined into one line.
    std::string summary() const;

private:
    std::vector<std::string> failures_;
};

// The verdicts of the road's steps. With `printSteps` each step's line is printed as soon as
// the step ends (prefixed by `tag`), so a later hang or crash still leaves the verdicts
// reached so far; without it the caller reads the first failure and prints its own line.
class RoadReport {
public:
    RoadReport(const char* tag, bool printSteps) : tag_(tag), printSteps_(printSteps) {}

    // "пройден" when `checks` holds no failure, otherwise "НЕ ПРОЙДЕН" with its failures.
    void finish(const char* step, const StepChecks& checks);
    // The step could not run because the step `need` before it did not pass: named as such,
    // never counted as passed.
    void notRun(const char* step, const char* need);

    // True when any step failed or could not run.
    bool anyFailed() const { return failed_ > 0 || notRun_ > 0; }
    // The first failure as one line: the step and its first failed expectation.
    const std::string& firstFailure() const { return firstFailure_; }
    // The closing line: passed and failed steps, and those not run when there are any.
    void printTotals() const;

private:
    void print(const char* step, const std::string& verdict) const;

    const char* tag_;
    bool printSteps_;
    int passed_ = 0;
    int failed_ = 0;
    int notRun_ = 0;
    std::string firstFailure_;
};
