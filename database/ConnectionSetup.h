#pragma once

struct sqlite3;

namespace DataBase {

// Registers the module's SQL functions and collations on a freshly opened connection.
// Returns an SQLite result code; a nonzero code fails the open.
int SetUpConnection(sqlite3* db);

}  // namespace DataBase
