#pragma once

#include <optional>
#include <string_view>

#include "database/AssayId.h"

// Reads a command-line AssayId: an optional '-' and decimal digits, nothing else (no blanks,
// no '+', no hexadecimal), within the signed 64-bit range. Empty when the text is not one.
std::optional<AssayId> ParseAssayId(std::string_view text);
