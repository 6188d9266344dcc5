#include "database/SqlException.h"

namespace DataBase {

SqlException::SqlException(const char* message, int code, const char* sql)
    : std::runtime_error(message ? message : ""), code_(code) {
    if (sql) sql_.emplace(sql);
}

const char* SqlException::what() const noexcept {
    const char* message = std::runtime_error::what();
    return message && *message ? message : "Unknown exception";
}

}  // namespace DataBase
