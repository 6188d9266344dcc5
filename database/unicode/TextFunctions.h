#pragma once

#include "database/unicode/SqliteApi.h"

namespace DataBase::Unicode {

// "fold", "lower", "upper", "title": maps every UTF-16 unit of the argument through a
// UnicodeTable; the user data is its prepared Utf8Mapping. NULL gives NULL.
void MapUnitsFunction(sqlite3_context* context, int argc, sqlite3_value** argv) noexcept;

// "unaccent": replaces every UTF-16 unit by its base form without accents, which may be
// several units. The user data is the unaccent table's prepared Utf8Mapping. NULL gives NULL.
void UnaccentFunction(sqlite3_context* context, int argc, sqlite3_value** argv) noexcept;

// "unicode_version": the version of the character data, "5.1.0.12".
void UnicodeVersionFunction(sqlite3_context* context, int argc, sqlite3_value** argv) noexcept;

}  // namespace DataBase::Unicode
