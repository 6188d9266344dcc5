#include "database/SqlStatement.h"

#include <sqlite3.h>

#include "database/SqlConnection.h"
#include "database/SqlException.h"

namespace DataBase {

void SqlStatement::Finalizer::operator()(sqlite3_stmt* stmt) const noexcept {
    sqlite3_finalize(stmt);
}

SqlStatement& Prepare(SqlConnection& connection, SqlStatement& statement, const char16_t* sql) {
    statement.stmt_.reset();
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare16_v2(connection.handle(), sql, -1, &raw, nullptr);
    statement.stmt_.reset(raw);
    if (rc != SQLITE_OK) {
        statement.stmt_.reset();
        throw SqlException(sqlite3_errmsg(connection.handle()), rc, nullptr);
    }
    return statement;
}

void SqlStatement::BindId(int index, AssayId id) {
    const int rc =
        id > 0 ? sqlite3_bind_int64(stmt_.get(), index, id) : sqlite3_bind_null(stmt_.get(), index);
    if (rc != SQLITE_OK) ThrowStepFailure(*this, rc);
}

SqlStatement& SqlStatement::BindIds(AssayId first, AssayId second) {
    BindId(1, first);
    BindId(2, second);
    return *this;
}

void SqlStatement::BindText(int index, const std::u16string& text) {
    const int rc = sqlite3_bind_text16(stmt_.get(), index, text.c_str(), -1, SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) ThrowStepFailure(*this, rc);
}

int SqlStatement::Step() {
    return sqlite3_step(stmt_.get());
}

void SqlStatement::Finalize() noexcept {
    stmt_.reset();
}

std::int64_t SqlStatement::ColumnInt64(int column, std::int64_t fallback) const {
    if (sqlite3_column_type(stmt_.get(), column) == SQLITE_NULL) return fallback;
    return sqlite3_column_int64(stmt_.get(), column);
}

int SqlStatement::ColumnInt(int column, int fallback) const {
    if (sqlite3_column_type(stmt_.get(), column) == SQLITE_NULL) return fallback;
    return sqlite3_column_int(stmt_.get(), column);
}

double SqlStatement::ColumnDouble(int column, double fallback) const {
    if (sqlite3_column_type(stmt_.get(), column) == SQLITE_NULL) return fallback;
    return sqlite3_column_double(stmt_.get(), column);
}

std::u16string SqlStatement::ColumnText(int column, const std::u16string& fallback) const {
    if (sqlite3_column_type(stmt_.get(), column) == SQLITE_NULL) return fallback;
    const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(stmt_.get(), column));
    if (!text) return {};
    const int bytes = sqlite3_column_bytes16(stmt_.get(), column);
    return std::u16string(text, static_cast<std::size_t>(bytes) / 2);
}

void ThrowStepFailure(const SqlStatement& statement, int code) {
    throw SqlException(sqlite3_errstr(code), code, sqlite3_sql(statement.handle()));
}

}  // namespace DataBase
