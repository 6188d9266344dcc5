#pragma once

#include <string>

#include "database/AssayId.h"
#include "tests/fuzz/FuzzBytes.h"

// What a fuzzed database holds, as far as the checks need to know.
struct FuzzedDatabase {
    // The pair the user chose: ids of stored measurements or any others.
    AssayId first = 0;
    AssayId second = 0;
    // Without [versioninfo] no report can be made.
    bool hasVersionInfo = true;
};

// Writes at `path` (replacing any file there) a database shaped like the host's from the fuzz
// input: UTF-8 or UTF-16, either operator schema, tables left out, and rows whose every value
// may be of any kind (integers at the edges, doubles from ±0 to ±infinity, texts of any bytes,
// invalid UTF-8 and lone surrogates included, blobs, NULL), with peak names in any case.
FuzzedDatabase WriteFuzzedHostDatabase(const std::string& path, FuzzBytes& input);
