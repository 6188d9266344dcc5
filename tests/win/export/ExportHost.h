#pragma once

// The module services of the report tests: the plug-in's windows are linked into the test
// program, and its host requests reach this recording host, which serves
// "Export/ExportToOdt" with the test host's OpenDocument export.

#include <cstdint>
#include <string>
#include <vector>

#include "tests/host/export/OdtExportService.h"

struct ExportHost {
    OdtExportService exporter{{}};
    // Every topic requested, in order.
    std::vector<std::string> topics;
};

ExportHost& TheExportHost();
