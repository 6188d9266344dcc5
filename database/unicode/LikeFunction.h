#pragma once

#include "database/unicode/SqliteApi.h"

namespace DataBase::Unicode {

// Patterns longer than this many bytes are refused before any matching.
inline constexpr int kLikePatternLimit = 50000;

// "like(pattern, text)" and "like(pattern, text, escape)", which also serve the LIKE
// operator. The user data is the LikeSettings. Gives 1 or 0; NULL when an argument is NULL;
// an error for a pattern over kLikePatternLimit bytes or an escape that is not one character.
void LikeFunction(sqlite3_context* context, int argc, sqlite3_value** argv) noexcept;

}  // namespace DataBase::Unicode
