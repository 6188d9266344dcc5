#include "database/ConnectionSetup.h"

#include "database/unicode/UnicodeExtension.h"

namespace DataBase {

int SetUpConnection(sqlite3* db) {
    return RegisterUnicodeExtension(db);
}

}  // namespace DataBase
