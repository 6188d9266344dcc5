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
    // The step's code has not landed in this tree: named, never counted as passed.
    void notCovered(const char* step, const std::string& why);

    bool anyFailed() const { return failed_ > 0; }
    int passed() const { return passed_; }
    int failed() const { return failed_; }
    int notCovered() const { return notCovered_; }
    // The closing line with the three counts.
    void printTotals() const;

private:
    int passed_ = 0;
    int failed_ = 0;
    int notCovered_ = 0;
};
