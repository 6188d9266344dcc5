#include "tests/database/unicode/SqlProbe.h"

#include <sqlite3.h>

#include "database/SqlConnection.h"
#include "database/SqlException.h"
#include "database/SqlStatement.h"
#include "text/Utf8.h"

namespace SqlProbe {

std::optional<std::string> Value(DataBase::SqlConnection& db, const std::string& sql) {
    DataBase::SqlStatement statement;
    DataBase::Prepare(db, statement, fromUtf8(sql).c_str());
    std::optional<std::string> value;
    DataBase::ForEachRow(statement, [&](const DataBase::SqlStatement& row) {
        if (sqlite3_column_type(row.handle(), 0) != SQLITE_NULL) {
            value = toUtf8(row.ColumnText(0));
        }
    });
    return value;
}

Failure Fails(DataBase::SqlConnection& db, const std::string& sql) {
    DataBase::SqlStatement statement;
    DataBase::Prepare(db, statement, fromUtf8(sql).c_str());
    try {
        DataBase::ForEachRow(statement, [](const DataBase::SqlStatement&) {});
    } catch (const DataBase::SqlException& e) {
        return {e.code(), sqlite3_errmsg(db.handle())};
    }
    return {};
}

}  // namespace SqlProbe
