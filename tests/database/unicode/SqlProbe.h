#pragma once

#include <optional>
#include <string>

namespace DataBase {
class SqlConnection;
}

// Small readers for SQL tests on a real connection.
namespace SqlProbe {

// The one value `sql` yields, as UTF-8 text; nothing for NULL. Throws when it fails.
std::optional<std::string> Value(DataBase::SqlConnection& db, const std::string& sql);

// Runs `sql`, which is expected to fail when stepped: the result code and the connection's
// detailed message. Code 0 when it did not fail.
struct Failure {
    int code = 0;
    std::string message;
};
Failure Fails(DataBase::SqlConnection& db, const std::string& sql);

}  // namespace SqlProbe
