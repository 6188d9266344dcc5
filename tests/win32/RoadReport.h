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
    // The failures joined into one line.
    std::string summary() const;

private:
    std::vector<std::string> failures_;
};

// One line per road step, printed as soon as the step ends, so a later hang or crash still
// leaves the verdicts reached so far.
class RoadReport {
public:
    // "passed" when `checks` holds no failure, otherwise "FAILED" with its failures.
    void finish(const char* step, const StepChecks& checks);
    // The step could not run because the step `need` before it did not pass: named as such,
    // never counted as passed.
    void notRun(const char* step, const char* need);

    // True when any step failed or could not run.
    bool anyFailed() const { return failed_ > 0 || notRun_ > 0; }
    // The closing line: passed and failed steps, and those not run when there are any.
    void printTotals() const;

private:
    int passed_ = 0;
    int failed_ = 0;
    int notRun_ = 0;
};
