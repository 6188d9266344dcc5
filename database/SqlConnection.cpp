#include "database/SqlConnection.h"

#include <sqlite3.h>

#include "database/ConnectionSetup.h"
#include "database/DataBaseConnectionBase.h"
#include "database/SqlException.h"
#include "text/Utf8.h"

namespace DataBase {

void SqlConnection::Closer::operator()(sqlite3* db) const noexcept {
    sqlite3_close(db);
}

SqlConnection::SqlConnection(const char16_t* uri) {
    if (!uri) throw SqlException("no database location was given by the host", SQLITE_CANTOPEN, "");
    // The UTF-16 open would create a missing file; the UTF-8 one takes the read-only flag. A
    // database in WAL mode is still read: the engine opens its -wal and -shm beside it, or
    // makes them when the host left none (and on Windows removes them again as the last
    // connection closes); the database file itself is never written.
    const std::string path = toUtf8(uri);
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    // The handle is owned before anything can throw, so a half-open one is still closed.
    db_.reset(raw);
    if (rc == SQLITE_OK) rc = sqlite3_busy_timeout(raw, kBusyTimeoutMilliseconds);
    if (rc == SQLITE_OK) rc = sqlite3_db_config(raw, SQLITE_DBCONFIG_ENABLE_FKEY, 1, nullptr);
    if (rc == SQLITE_OK) rc = SetUpConnection(raw);
    if (rc != SQLITE_OK) {
        throw SqlException(raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc), rc, "");
    }
}

SqlConnection SqlConnection::fromStoredUri() {
    return SqlConnection(GetDataBaseConnection().uri());
}

}  // namespace DataBase
