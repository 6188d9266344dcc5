#pragma once

#include <memory>

struct sqlite3;

namespace DataBase {

// How long a statement waits for a lock another program holds (the host writing a new
// measurement) before it fails with SQLITE_BUSY. The host commits a measurement with its peaks
// in well under a second, even on a network drive, so three seconds outlast any ordinary write
// and a few in a row, and a user whose window waits meanwhile is answered before Windows would
// call the window not responding (five seconds without messages).
inline constexpr int kBusyTimeoutMilliseconds = 3000;

// One open connection to the host's database, for the length of one user action. It only
// reads: the file is opened read-only and never created. Opening sets the busy timeout, turns
// on foreign keys and registers the module's SQL functions and collations; any failure throws
// SqlException. The destructor closes the handle and never throws.
class SqlConnection {
public:
    // Opens the existing file at `uri`, a plain path (URI names are off); a missing file fails
    // with SQLITE_CANTOPEN and no file appears. A null `uri` (no location from the host) fails
    // with SQLITE_CANTOPEN too.
    explicit SqlConnection(const char16_t* uri);
    // Opens the location stored in the process-wide DataBaseConnectionBase.
    static SqlConnection fromStoredUri();

    SqlConnection(SqlConnection&&) noexcept = default;
    SqlConnection& operator=(SqlConnection&&) noexcept = default;

    sqlite3* handle() const noexcept { return db_.get(); }

private:
    struct Closer {
        void operator()(sqlite3* db) const noexcept;
    };
    std::unique_ptr<sqlite3, Closer> db_;
};

}  // namespace DataBase
