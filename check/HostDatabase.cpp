#include "check/HostDatabase.h"

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "text/Utf8.h"

#ifdef _WIN32
#include <process.h>
#define NIVRA_GETPID _getpid
#else
#include <unistd.h>
#define NIVRA_GETPID getpid
#endif

namespace {

class Statement {
public:
    Statement(sqlite3* db, const char* sql) {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    void bind(int i, const std::optional<std::int64_t>& v) {
        v ? sqlite3_bind_int64(stmt_, i, *v) : sqlite3_bind_null(stmt_, i);
    }
    void bind(int i, const std::optional<double>& v) {
        v ? sqlite3_bind_double(stmt_, i, *v) : sqlite3_bind_null(stmt_, i);
    }
    void bind(int i, const std::optional<std::string>& v) {
        v ? sqlite3_bind_text(stmt_, i, v->c_str(), -1, SQLITE_TRANSIENT)
          : sqlite3_bind_null(stmt_, i);
    }
    void run(sqlite3* db) {
        if (sqlite3_step(stmt_) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db));
    }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace

HostDatabase::HostDatabase(std::string path, Schema schema, bool withVersionInfo)
    : path_(std::move(path)), schema_(schema) {
    std::error_code ignored;
    std::filesystem::remove(std::filesystem::u8path(path_), ignored);
    if (sqlite3_open(path_.c_str(), &db_) != SQLITE_OK) {
        std::string message = sqlite3_errmsg(db_);
        sqlite3_close(db_);
        throw std::runtime_error(message);
    }
    if (schema == Schema::WithOperatorTable) {
        exec(
            "CREATE TABLE assay (id INTEGER PRIMARY KEY, date INTEGER, sample TEXT, comment TEXT,"
            " series TEXT, filename TEXT, operatorid INTEGER);"
            "CREATE TABLE operator (id INTEGER PRIMARY KEY, name TEXT);");
    } else {
        exec(
            "CREATE TABLE assay (id INTEGER PRIMARY KEY, date INTEGER, sample TEXT, comment TEXT,"
            " series TEXT, filename TEXT, employee_name TEXT);");
    }
    exec(
        "CREATE TABLE peak (id INTEGER PRIMARY KEY, assayid INTEGER, name TEXT, concentration "
        "REAL);"
        "CREATE INDEX peak_assayid ON peak(assayid);");
    if (withVersionInfo)
        exec(
            "CREATE TABLE versioninfo (id INTEGER PRIMARY KEY, version INTEGER, appliedon "
            "INTEGER);");
}

HostDatabase::~HostDatabase() {
    close();
}

void HostDatabase::close() {
    if (db_) sqlite3_close(db_);
    db_ = nullptr;
}

void HostDatabase::exec(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error ? error : "exec failed";
        sqlite3_free(error);
        throw std::runtime_error(message + " in: " + sql);
    }
}

AssayId HostDatabase::addAssay(const Assay& a) {
    const bool joined = schema_ == Schema::WithOperatorTable;
    Statement s(
        db_, joined ? "INSERT INTO assay (id, date, sample, comment, series, filename, operatorid)"
                      " VALUES (?, ?, ?, ?, ?, ?, ?)"
                    : "INSERT INTO assay (id, date, sample, comment, series, filename,"
                      " employee_name) VALUES (?, ?, ?, ?, ?, ?, ?)");
    s.bind(1, a.id);
    s.bind(2, a.date);
    s.bind(3, a.sample);
    s.bind(4, a.comment);
    s.bind(5, a.series);
    s.bind(6, a.filename);
    if (joined) {
        s.bind(7, a.operatorId);
    } else {
        s.bind(7, a.employeeName);
    }
    s.run(db_);
    return sqlite3_last_insert_rowid(db_);
}

void HostDatabase::addPeak(std::optional<AssayId> assayId, std::optional<std::string> name,
                           std::optional<double> concentration) {
    Statement s(db_, "INSERT INTO peak (assayid, name, concentration) VALUES (?, ?, ?)");
    s.bind(1, assayId);
    s.bind(2, name);
    s.bind(3, concentration);
    s.run(db_);
}

void HostDatabase::addOperator(std::int64_t id, std::optional<std::string> name) {
    Statement s(db_, "INSERT INTO operator (id, name) VALUES (?, ?)");
    s.bind(1, std::optional<std::int64_t>(id));
    s.bind(2, name);
    s.run(db_);
}

void HostDatabase::addVersion(std::optional<int> version, std::int64_t appliedOn, std::int64_t id) {
    Statement s(db_, "INSERT INTO versioninfo (id, version, appliedon) VALUES (?, ?, ?)");
    s.bind(1, std::optional<std::int64_t>(id));
    s.bind(2, version ? std::optional<std::int64_t>(*version) : std::nullopt);
    s.bind(3, std::optional<std::int64_t>(appliedOn));
    s.run(db_);
}

std::u16string HostDatabase::uri() const {
    return fromUtf8(path_);
}

std::string HostDatabase::tempPath(const std::string& name) {
    static int counter = 0;
    auto dir = std::filesystem::temp_directory_path() / "nivra-tests";
    std::filesystem::create_directories(dir);
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, "-%d-%d.db", static_cast<int>(NIVRA_GETPID()), ++counter);
    return (dir / (name + suffix)).string();
}
