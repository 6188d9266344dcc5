#pragma once

#include <string>

// What a sample database holds, for the generator's closing line.
struct SampleDatabaseSummary {
    int series = 0;
    int measurements = 0;
    int peaks = 0;
};

// Writes a realistic host database to `path` (an existing file is replaced): several series
// of compressed-helium samples, two to six measurements each with peaks of the seven
// impurities and a few others, operators, and schema version 26. The same call always
// writes the same content.
SampleDatabaseSummary WriteSampleDatabase(const std::string& path);
