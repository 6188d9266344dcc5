#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "check/road/ReferenceCase.h"
#include "database/AssayId.h"

// The host database the road works on, and what the plug-in should show for it.
struct RoadDatabase {
    std::string path;
    std::u16string uri;
    // The series holding the pair: not the newest series, so the road has to switch to it.
    std::u16string series;
    std::u16string newestSeries;
    int seriesMeasurements = 0;  // measurements listed for `series`
    // The pair as the selection dialog must return it: the older first, the newer second.
    AssayId first = 0;
    AssayId second = 0;
    std::int64_t firstDate = 0;
    std::int64_t secondDate = 0;
    std::u16string firstSample;
    std::u16string secondSample;
    std::u16string secondComment;
    std::u16string secondOperator;
    bool secondRemovedBeforeReport = false;
    // The protocol of the pair, nine rows of nine cell texts.
    std::vector<std::array<std::u16string, 9>> protocol;
};

// Writes the database of `reference` at `path` (an existing file is replaced): the pair in
// an older series beside a newer measurement of its own, and a newer series listed first.
RoadDatabase WriteRoadDatabase(const ReferenceCase& reference, const std::string& path);

// Deletes the measurement `id` and its peaks, as the host would.
void RemoveMeasurement(const RoadDatabase& road, AssayId id);
