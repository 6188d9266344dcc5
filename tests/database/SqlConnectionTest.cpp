#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "check/HostDatabase.h"
#include "database/DataBaseConnectionBase.h"
#include "database/SqlConnection.h"
#include "database/SqlException.h"
#include "database/SqlStatement.h"
#include "database/Utf.h"

using namespace DataBase;

TEST(SqlConnection, MissingFileIsCreatedAndFirstPrepareFailsWithNoSuchTable) {
    const std::string path = HostDatabase::tempPath("missing");
    std::filesystem::remove(path);
    SqlConnection db(fromUtf8(path).c_str());
    EXPECT_TRUE(std::filesystem::exists(path));
    SqlStatement statement;
    try {
        Prepare(db, statement, u"SELECT id FROM [assay];");
        FAIL() << "prepare succeeded";
    } catch (const SqlException& e) {
        EXPECT_EQ(e.code(), SQLITE_ERROR);
        EXPECT_STREQ(e.what(), "no such table: assay");
        EXPECT_EQ(e.sql(), nullptr);
    }
    EXPECT_EQ(statement.handle(), nullptr);
}

TEST(SqlConnection, NoStoredLocationFailsToOpen) {
    try {
        SqlConnection db(nullptr);
        FAIL() << "opened without a location";
    } catch (const SqlException& e) {
        EXPECT_EQ(e.code(), SQLITE_CANTOPEN);
        ASSERT_NE(e.sql(), nullptr);
        EXPECT_STREQ(e.sql(), "");
    }
}

TEST(SqlConnection, UnopenablePathThrowsWithEngineMessage) {
    const std::u16string dir = fromUtf8(std::filesystem::temp_directory_path().string());
    try {
        SqlConnection db((dir + u"/no-such-dir/x/y.db").c_str());
        FAIL() << "opened a path in a missing folder";
    } catch (const SqlException& e) {
        EXPECT_EQ(e.code(), SQLITE_CANTOPEN);
        EXPECT_STRNE(e.what(), "");
    }
}

TEST(SqlConnection, ForeignKeysAreEnforced) {
    HostDatabase fixture(HostDatabase::tempPath("fk"), HostDatabase::Schema::WithOperatorTable);
    SqlConnection db(fixture.uri().c_str());
    SqlStatement statement;
    Prepare(db, statement, u"PRAGMA foreign_keys;");
    int enabled = -1;
    ForEachRow(statement, [&](const SqlStatement& row) { enabled = row.ColumnInt(0, -1); });
    EXPECT_EQ(enabled, 1);
}

TEST(SqlStatement, StepFailureKeepsItsOwnCopyOfTheSqlAfterTheStatementIsGone) {
    HostDatabase fixture(HostDatabase::tempPath("stepfail"),
                         HostDatabase::Schema::WithOperatorTable);
    const char* sql = "SELECT abs(-9223372036854775807 - 1);";
    std::optional<SqlException> caught;
    {
        SqlConnection db(fixture.uri().c_str());
        SqlStatement statement;
        Prepare(db, statement, fromUtf8(sql).c_str());
        try {
            ForEachRow(statement, [](const SqlStatement&) {});
        } catch (const SqlException& e) {
            caught = e;
        }
    }  // statement finalized and connection closed here
    ASSERT_TRUE(caught.has_value());
    EXPECT_EQ(caught->code(), SQLITE_ERROR);
    EXPECT_STREQ(caught->what(), sqlite3_errstr(SQLITE_ERROR));
    ASSERT_NE(caught->sql(), nullptr);
    EXPECT_STREQ(caught->sql(), sql);
}

TEST(SqlStatement, LockedDatabaseFailsAtOnceWithBusy) {
    HostDatabase fixture(HostDatabase::tempPath("locked"), HostDatabase::Schema::WithOperatorTable);
    fixture.exec(
        "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; INSERT INTO assay (id) VALUES (1);");
    SqlConnection db(fixture.uri().c_str());
    SqlStatement statement;
    try {
        Prepare(db, statement, u"SELECT id FROM [assay];");
        ForEachRow(statement, [](const SqlStatement&) {});
        FAIL() << "read a locked database";
    } catch (const SqlException& e) {
        EXPECT_EQ(e.code(), SQLITE_BUSY);
    }
}

TEST(SqlStatement, ColumnReadersReturnTheCallersDefaultForNullAndOutOfRange) {
    HostDatabase fixture(HostDatabase::tempPath("columns"),
                         HostDatabase::Schema::WithOperatorTable);
    SqlConnection db(fixture.uri().c_str());
    SqlStatement statement;
    Prepare(db, statement, u"SELECT NULL, 42, 2.5, 'Ёж', 9223372036854775807;");
    int rows = 0;
    ForEachRow(statement, [&](const SqlStatement& row) {
        ++rows;
        EXPECT_EQ(row.ColumnInt64(0, -1), -1);
        EXPECT_EQ(row.ColumnInt(0, 7), 7);
        EXPECT_EQ(row.ColumnDouble(0, 1.5), 1.5);
        EXPECT_EQ(row.ColumnText(0, u"none"), u"none");
        EXPECT_EQ(row.ColumnInt(1, 0), 42);
        EXPECT_EQ(row.ColumnDouble(2, 0), 2.5);
        EXPECT_EQ(row.ColumnText(3), u"Ёж");
        EXPECT_EQ(row.ColumnInt64(4, 0), INT64_MAX);
        EXPECT_EQ(row.ColumnInt64(9, -5), -5);
        EXPECT_EQ(row.ColumnText(-1, u"x"), u"x");
    });
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(statement.handle(), nullptr) << "finalized after the last row";
}

TEST(SqlStatement, IdsOfZeroAndBelowBindNull) {
    HostDatabase fixture(HostDatabase::tempPath("bindnull"),
                         HostDatabase::Schema::WithOperatorTable);
    SqlConnection db(fixture.uri().c_str());
    for (AssayId id : {AssayId{0}, AssayId{-1}, INT64_MIN, AssayId{5}}) {
        SqlStatement statement;
        Prepare(db, statement, u"SELECT ? IS NULL, ?;").BindIds(id, id);
        ForEachRow(statement, [&](const SqlStatement& row) {
            EXPECT_EQ(row.ColumnInt(0, -1), id <= 0 ? 1 : 0) << id;
            if (id > 0) {
                EXPECT_EQ(row.ColumnInt64(1, 0), id);
            }
        });
    }
}

TEST(SqlStatement, BoundTextIsCopiedByTheEngine) {
    HostDatabase fixture(HostDatabase::tempPath("bindtext"),
                         HostDatabase::Schema::WithOperatorTable);
    SqlConnection db(fixture.uri().c_str());
    SqlStatement statement;
    Prepare(db, statement, u"SELECT ?;");
    {
        std::u16string text = u"серия 1";
        statement.BindText(1, text);
        text.assign(text.size(), u'x');
    }
    std::u16string read;
    ForEachRow(statement, [&](const SqlStatement& row) { read = row.ColumnText(0); });
    EXPECT_EQ(read, u"серия 1");
}

TEST(DataBaseConnectionBase, OneInstanceWhoseLocationIsACopyReplacedOnEachStore) {
    DataBaseConnectionBase& holder = GetDataBaseConnection();
    EXPECT_EQ(&holder, &GetDataBaseConnection());
    std::u16string first = u"C:\\data\\первая.db";
    holder.setUri(first.c_str());
    first[0] = u'X';
    EXPECT_EQ(std::u16string(holder.uri()), u"C:\\data\\первая.db");
    holder.setUri(u"second.db");
    EXPECT_EQ(std::u16string(holder.uri()), u"second.db");
    holder.setUri(nullptr);
    EXPECT_EQ(holder.uri(), nullptr);
    EXPECT_THROW(SqlConnection::fromStoredUri(), SqlException);
}

TEST(SqlException, CopiesCarryMessageCodeAndSqlAndEmptyMessageReadsUnknown) {
    SqlException original("boom", 5, "SELECT 1;");
    SqlException copy = original;
    EXPECT_STREQ(copy.what(), "boom");
    EXPECT_EQ(copy.code(), 5);
    EXPECT_STREQ(copy.sql(), "SELECT 1;");
    EXPECT_NE(copy.sql(), original.sql());
    EXPECT_STREQ(SqlException("", 1, nullptr).what(), "Unknown exception");
    EXPECT_STREQ(SqlException(nullptr, 1, nullptr).what(), "Unknown exception");
}
