#pragma once

struct sqlite3;

// Registers the Unicode SQL functions and the Unicode NOCASE collation on a connection.
// Returns the SQLite result code of the registration.
int RegisterUnicodeExtension(sqlite3* db);
