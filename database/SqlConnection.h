#pragma once

#include <memory>

struct sqlite3;

namespace DataBase {

// One open connection to the host's database, for the length of one user action.
// Opening turns on foreign keys and registers the module's SQL functions and collations;
// any failure throws SqlException. The destructor closes the handle and never throws.
class SqlConnection {
public:
    // Opens `uri` as a plain file path (URI names are off); a missing file is created.
    // A null `uri` (no location from the host) fails with SQLITE_CANTOPEN.
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
