#pragma once

#include <array>
#include <string>
#include <vector>

#include "check/road/RoadReport.h"

// What the report document handed to the host must hold.
struct ExpectedReport {
    // Acceptable report dates (the day the road started, and the day of the check).
    std::vector<std::u16string> protocolDates;
    // The second measurement's row exists: the document carries its five header elements.
    bool measurementFound = true;
    std::u16string sample;
    std::u16string comment;
    std::u16string date;
    std::u16string time;
    std::u16string operatorName;
    std::vector<std::array<std::u16string, 9>> rows;
};

// Reads the tree behind `rootVariable` (the address of the root element's handle, as the
// host receives it) with the host's pugixml build and compares it with `expected`: the
// declaration, the order and names of every element, each leaf a single text node.
void CheckProtocolTree(const void* rootVariable, const ExpectedReport& expected,
                       StepChecks& checks);
