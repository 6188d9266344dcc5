#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// One measurement of a reference case, as the host's database holds it. Texts are UTF-8.
struct CaseMeasurement {
    std::string sample;
    std::string comment;
    std::string operatorName;
    // Peaks as stored: the name (none stores NULL) and the concentration.
    std::vector<std::pair<std::optional<std::string>, double>> peaks;
};

// A reference case: a pair of measurements in a host-shaped database and the protocol the
// plug-in must show for it, nine rows of nine texts written out by hand.
struct ReferenceCase {
    const char* title;
    // The database's schema version: below 27 the operator's name lives in table [operator],
    // from 27 on in the measurement's own row.
    int schemaVersion = 26;
    CaseMeasurement first;
    CaseMeasurement second;
    // The second measurement is deleted from the database after the pair is chosen and before
    // the report, as another user of the host may do while the window is open.
    bool secondRemovedBeforeReport = false;
    std::array<std::array<const char*, 9>, 9> protocol;
};
