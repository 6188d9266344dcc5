// Entry point of nivra_unicode.so, the same functions and collation as a loadable extension
// for any SQLite shell or program. The engine derives the entry name from the file name:
// "nivra_unicode.so" gives sqlite3_nivraunicode_init.

#include "database/unicode/SqliteApi.h"
#include "database/unicode/UnicodeExtension.h"

SQLITE_EXTENSION_INIT1

extern "C" __attribute__((visibility("default"))) int sqlite3_nivraunicode_init(
    sqlite3* db, char** errorMessage, const sqlite3_api_routines* api) {
    SQLITE_EXTENSION_INIT2(api);
    const int rc = RegisterUnicodeExtension(db);
    if (rc != SQLITE_OK && errorMessage) {
        *errorMessage =
            sqlite3_mprintf("nivra_unicode: registration failed (%s)", sqlite3_errstr(rc));
    }
    return rc;
}
