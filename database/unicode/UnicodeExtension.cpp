#include "database/unicode/UnicodeExtension.h"

#include <sqlite3.h>

int RegisterUnicodeExtension(sqlite3*) {
    return SQLITE_OK;
}
