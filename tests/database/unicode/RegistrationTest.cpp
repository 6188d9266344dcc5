#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <string>

#include "database/unicode/UnicodeExtension.h"

namespace {

struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct Finalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Connection = std::unique_ptr<sqlite3, Closer>;
using Statement = std::unique_ptr<sqlite3_stmt, Finalizer>;

Connection OpenBare() {
    sqlite3* raw = nullptr;
    EXPECT_EQ(sqlite3_open(":memory:", &raw), SQLITE_OK);
    return Connection(raw);
}

// The first column of the first row of `sql`, or the connection's error message.
std::string Evaluate(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
        return std::string("error: ") + sqlite3_errmsg(db);
    }
    Statement statement(raw);
    const int rc = sqlite3_step(raw);
    if (rc != SQLITE_ROW) return std::string("error: ") + sqlite3_errmsg(db);
    const auto* text = sqlite3_column_text(raw, 0);
    return text ? reinterpret_cast<const char*>(text) : "NULL";
}

}  // namespace

TEST(RegisterUnicodeExtension, ReplacesLikeAndNocaseOfAConnection) {
    Connection db = OpenBare();
    EXPECT_EQ(Evaluate(db.get(), "SELECT 'Ё' LIKE 'ё';"), "0");
    EXPECT_EQ(Evaluate(db.get(), "SELECT 'Ё' = 'е' COLLATE NOCASE;"), "0");
    EXPECT_EQ(Evaluate(db.get(), "SELECT unaccent('é');"), "error: no such function: unaccent");
    ASSERT_EQ(RegisterUnicodeExtension(db.get()), SQLITE_OK);
    EXPECT_EQ(Evaluate(db.get(), "SELECT 'Ё' LIKE 'ё';"), "1");
    EXPECT_EQ(Evaluate(db.get(), "SELECT 'Ё' = 'е' COLLATE NOCASE;"), "1");
    EXPECT_EQ(Evaluate(db.get(), "SELECT unaccent('é');"), "e");
    // Registering again is harmless.
    EXPECT_EQ(RegisterUnicodeExtension(db.get()), SQLITE_OK);
    EXPECT_EQ(Evaluate(db.get(), "SELECT fold('Ё');"), "ё");
}

// A statement still running forbids replacing the engine's own LIKE: registration stops
// after "unicode_version", leaves the later functions out, and says so.
TEST(RegisterUnicodeExtension, StopsAtTheFirstFailedFunctionAndReportsIt) {
    Connection db = OpenBare();
    ASSERT_EQ(sqlite3_exec(db.get(), "CREATE TABLE t(x); INSERT INTO t VALUES (1), (2);", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    sqlite3_stmt* raw = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db.get(), "SELECT x FROM t;", -1, &raw, nullptr), SQLITE_OK);
    Statement running(raw);
    ASSERT_EQ(sqlite3_step(raw), SQLITE_ROW);

    EXPECT_EQ(RegisterUnicodeExtension(db.get()), SQLITE_BUSY);
    running.reset();
    EXPECT_EQ(Evaluate(db.get(), "SELECT unicode_version();"), "5.1.0.12");
    EXPECT_EQ(Evaluate(db.get(), "SELECT 'Ё' LIKE 'ё';"), "0");
    EXPECT_EQ(Evaluate(db.get(), "SELECT fold('A');"), "error: no such function: fold");
    EXPECT_EQ(Evaluate(db.get(), "SELECT unaccent('é');"), "error: no such function: unaccent");
}
