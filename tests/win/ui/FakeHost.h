#pragma once

// The plug-in's module services as the UI tests provide them: the dialogs load their
// resources from the test program itself, and host requests are recorded instead of served.

#include <cstdint>
#include <string>
#include <vector>

struct HostRequestRecord {
    std::string topic;
    std::intptr_t first = 0;
    std::u16string text;  // the wide string the second argument pointed to
};

// What a report handed over: the second measurement's sample and the table's cells.
struct ReportRecord {
    std::u16string sample;
    std::vector<std::vector<std::u16string>> rows;
};

struct FakeHost {
    bool opensFiles = true;  // whether "Main/OpenVantrelFile" has a handler
    std::vector<std::string> handlerQueries;
    std::vector<HostRequestRecord> requests;  // every request but the reports
    std::vector<ReportRecord> reports;
};

// The one fake host of the test program; tests reset it in their fixture.
FakeHost& TheFakeHost();
