#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "database/AssayId.h"

struct sqlite3_stmt;

namespace DataBase {

class SqlConnection;

// One prepared statement. Finalized explicitly after its last row, or by the destructor
// when an exception leaves the operation first.
class SqlStatement {
public:
    SqlStatement() = default;
    SqlStatement(SqlStatement&&) noexcept = default;
    SqlStatement& operator=(SqlStatement&&) noexcept = default;

    // Binds an AssayId: ids above 0 as 64-bit integers, 0 or below as NULL (matching no row).
    // A bind that fails (no such parameter, no memory) throws SqlException as a failed step
    // does: the result code's text and the statement's SQL.
    void BindId(int index, AssayId id);
    // Binds `first` to parameter 1 and `second` to parameter 2 by the AssayId rule.
    SqlStatement& BindIds(AssayId first, AssayId second);
    // Binds a text; the engine takes its own copy. Fails as BindId does.
    void BindText(int index, const std::u16string& text);

    // Advances to the next row; returns the engine's result code for the caller to judge.
    int Step();
    void Finalize() noexcept;

    // Column readers: the column's value, or `fallback` when it is NULL or out of range.
    std::int64_t ColumnInt64(int column, std::int64_t fallback) const;
    int ColumnInt(int column, int fallback) const;
    double ColumnDouble(int column, double fallback) const;
    std::u16string ColumnText(int column, const std::u16string& fallback = {}) const;

    sqlite3_stmt* handle() const noexcept { return stmt_.get(); }

private:
    friend SqlStatement& Prepare(SqlConnection&, SqlStatement&, const char16_t*);
    struct Finalizer {
        void operator()(sqlite3_stmt* stmt) const noexcept;
    };
    std::unique_ptr<sqlite3_stmt, Finalizer> stmt_;
};

// Prepares `sql` (UTF-16, used as it stands) on the connection into `statement`.
// Throws SqlException with the connection's message and no SQL text on failure.
SqlStatement& Prepare(SqlConnection& connection, SqlStatement& statement, const char16_t* sql);

// The step protocol: steps the prepared statement, hands every row to `onRow`, throws
// SqlException when stepping ends with anything but SQLITE_DONE, then finalizes.
template <class OnRow>
void ForEachRow(SqlStatement& statement, OnRow&& onRow);

// Throws the SqlException for a step (or bind) that ended with `code`.
[[noreturn]] void ThrowStepFailure(const SqlStatement& statement, int code);

template <class OnRow>
void ForEachRow(SqlStatement& statement, OnRow&& onRow) {
    constexpr int kRow = 100;   // SQLITE_ROW
    constexpr int kDone = 101;  // SQLITE_DONE
    int rc = statement.Step();
    while (rc == kRow) {
        onRow(static_cast<const SqlStatement&>(statement));
        rc = statement.Step();
    }
    if (rc != kDone) ThrowStepFailure(statement, rc);
    statement.Finalize();
}

}  // namespace DataBase
