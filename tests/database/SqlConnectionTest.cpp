#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <thread>

#include "check/HostDatabase.h"
#include "database/DataBaseConnectionBase.h"
#include "database/SqlConnection.h"
#include "database/SqlException.h"
#include "database/SqlStatement.h"
#include "text/Utf8.h"

using namespace DataBase;

TEST(SqlConnection, OpensOnlyAnExistingFileAndOnlyReadsIt) {
    const std::string path = HostDatabase::tempPath("missing");
    std::filesystem::remove(path);
    try {
        SqlConnection db(fromUtf8(path).c_str());
        FAIL() << "opened a missing file";
    } catch (const SqlException& e) {
        EXPECT_EQ(e.code(), SQLITE_CANTOPEN);
        EXPECT_STREQ(e.sql(), "");
    }
    EXPECT_FALSE(std::filesystem::exists(path));

    HostDatabase fixture(HostDatabase::tempPath("readonly"),
                         HostDatabase::Schema::WithOperatorTable);
    SqlConnection db(fixture.uri().c_str());
    SqlStatement statement;
    Prepare(db, statement, u"INSERT INTO assay (id) VALUES (1);");
    EXPECT_EQ(statement.Step(), SQLITE_READONLY);
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

std::int64_t assayCount(const std::u16string& uri) {
    SqlConnection db(uri.c_str());
    SqlStatement statement;
    Prepare(db, statement, u"SELECT count(*) FROM [assay];");
    std::int64_t count = -1;
    ForEachRow(statement, [&](const SqlStatement& row) { count = row.ColumnInt64(0, -1); });
    return count;
}

TEST(SqlStatement, AWriteLockIsWaitedForAndOneHeldPastTheTimeoutFailsWithBusy) {
    HostDatabase fixture(HostDatabase::tempPath("locked"), HostDatabase::Schema::WithOperatorTable);
    std::promise<void> locked;
    std::thread writer([&] {
        fixture.exec("BEGIN EXCLUSIVE; INSERT INTO assay (id) VALUES (1);");
        locked.set_value();
        std::this_thread::sleep_for(std::chrono::milliseconds(kBusyTimeoutMilliseconds / 10));
        fixture.exec("COMMIT;");
    });
    locked.get_future().wait();
    // Read only once the writer committed: the row it wrote is there.
    EXPECT_EQ(assayCount(fixture.uri()), 1);
    writer.join();

    fixture.exec(
        "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; INSERT INTO assay (id) VALUES (2);");
    try {
        assayCount(fixture.uri());
        FAIL() << "read a database locked for good";
    } catch (const SqlException& e) {
        EXPECT_EQ(e.code(), SQLITE_BUSY);
    }
}

std::string fileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST(SqlStatement, AWalDatabaseIsReadWhileTheHostWritesAndWithoutIt) {
    HostDatabase fixture(HostDatabase::tempPath("wal"), HostDatabase::Schema::WithOperatorTable);
    fixture.exec("PRAGMA journal_mode=WAL; INSERT INTO assay (id) VALUES (1);");
    fixture.exec("BEGIN IMMEDIATE; INSERT INTO assay (id) VALUES (2);");
    EXPECT_EQ(assayCount(fixture.uri()), 1) << "the committed state, without waiting";
    fixture.exec("COMMIT;");
    EXPECT_EQ(assayCount(fixture.uri()), 2);

    // The host gone, and its companion files with it: the engine makes them again to read
    // (and on Linux, where a reader cannot lock the file for removing them, leaves them), but
    // the database itself is not touched.
    fixture.close();
    ASSERT_FALSE(std::filesystem::exists(fixture.path() + "-wal"));
    const std::string before = fileBytes(fixture.path());
    EXPECT_EQ(assayCount(fixture.uri()), 2);
    EXPECT_EQ(fileBytes(fixture.path()), before);
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

TEST(SqlStatement, AFailedBindThrowsAsAFailedStepDoes) {
    HostDatabase fixture(HostDatabase::tempPath("bindfail"),
                         HostDatabase::Schema::WithOperatorTable);
    SqlConnection db(fixture.uri().c_str());
    SqlStatement statement;
    Prepare(db, statement, u"SELECT ?;");
    for (int id : {0, 7}) {
        try {
            statement.BindId(2, id);
            FAIL() << "bound parameter 2 of one";
        } catch (const SqlException& e) {
            EXPECT_EQ(e.code(), SQLITE_RANGE);
            EXPECT_STREQ(e.what(), sqlite3_errstr(SQLITE_RANGE));
            ASSERT_NE(e.sql(), nullptr);
            EXPECT_STREQ(e.sql(), "SELECT ?;");
        }
    }
    EXPECT_THROW(statement.BindText(0, u"серия"), SqlException);
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

    // Released with the module: a later request starts without a location.
    holder.setUri(u"third.db");
    ReleaseDataBaseConnection();
    EXPECT_EQ(GetDataBaseConnection().uri(), nullptr);
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
