#pragma once

#include <optional>
#include <stdexcept>
#include <string>

namespace DataBase {

// A failed database operation: the engine's message, its result code and the SQL text
// that failed. The SQL text is the exception's own copy, so it stays readable after the
// statement it came from has been finalized while the exception left the operation.
class SqlException : public std::runtime_error {
public:
    // sql: the failing statement's text, "" for a failed open, nullptr for a failed prepare.
    SqlException(const char* message, int code, const char* sql);

    const char* what() const noexcept override;
    int code() const noexcept { return code_; }
    // The failing SQL text, or nullptr when no statement existed.
    const char* sql() const noexcept { return sql_ ? sql_->c_str() : nullptr; }

private:
    int code_;
    std::optional<std::string> sql_;
};

}  // namespace DataBase
