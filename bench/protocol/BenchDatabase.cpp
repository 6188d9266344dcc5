#include "bench/protocol/BenchDatabase.h"

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace BenchDatabase {
namespace {

// Seven components, argon, a rare hydrocarbon and an unnamed peak: ten per measurement.
constexpr const char* kPeakNames[kPeaksPerAssay] = {"Азот", "Кислород", "Метан", "Неон", "Водород",
                                                    "СО",   "СО2",      "Аргон", "Этан", nullptr};

class Writer {
public:
    explicit Writer(const std::string& path) {
        if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) Fail("open");
    }
    ~Writer() {
        sqlite3_finalize(statement_);
        sqlite3_close(db_);
    }
    void Exec(const char* sql) {
        if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) Fail(sql);
    }
    void Prepare(const char* sql) {
        sqlite3_finalize(statement_);
        statement_ = nullptr;
        if (sqlite3_prepare_v2(db_, sql, -1, &statement_, nullptr) != SQLITE_OK) Fail(sql);
    }
    sqlite3_stmt* Statement() { return statement_; }
    void Run() {
        if (sqlite3_step(statement_) != SQLITE_DONE) Fail("step");
        sqlite3_reset(statement_);
    }

private:
    [[noreturn]] void Fail(const std::string& what) {
        throw std::runtime_error(what + ": " + sqlite3_errmsg(db_));
    }
    sqlite3* db_ = nullptr;
    sqlite3_stmt* statement_ = nullptr;
};

void Write(const std::string& path) {
    Writer db(path);
    db.Exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;");
    db.Exec(
        "CREATE TABLE assay (id INTEGER PRIMARY KEY, date INTEGER, sample TEXT, comment TEXT,"
        " series TEXT, filename TEXT, employee_name TEXT);"
        "CREATE TABLE peak (id INTEGER PRIMARY KEY, assayid INTEGER, name TEXT,"
        " concentration REAL);"
        "CREATE TABLE versioninfo (id INTEGER PRIMARY KEY, version INTEGER, appliedon INTEGER);"
        "INSERT INTO versioninfo VALUES (1, 27, 1700000000);");
    db.Exec("BEGIN");
    db.Prepare(
        "INSERT INTO assay (id, date, sample, comment, series, filename, employee_name)"
        " VALUES (?, ?, 'Гелий газообразный сжатый, баллон № ' || (? % 5000), '', 'Партия ' ||"
        " (? / 8), 'He_' || ? || '.chr', 'Иванова Т. С.')");
    for (std::int64_t id = 1; id <= kAssays; ++id) {
        sqlite3_bind_int64(db.Statement(), 1, id);
        sqlite3_bind_int64(db.Statement(), 2, 1500000000 + id * 1800);
        for (int p = 3; p <= 5; ++p) sqlite3_bind_int64(db.Statement(), p, id);
        db.Run();
    }
    db.Prepare("INSERT INTO peak (assayid, name, concentration) VALUES (?, ?, ?)");
    for (std::int64_t id = 1; id <= kAssays; ++id) {
        for (std::int64_t p = 0; p < kPeaksPerAssay; ++p) {
            sqlite3_bind_int64(db.Statement(), 1, id);
            if (kPeakNames[p]) {
                sqlite3_bind_text(db.Statement(), 2, kPeakNames[p], -1, SQLITE_STATIC);
            } else {
                sqlite3_bind_null(db.Statement(), 2);
            }
            // Plausible per-cent levels that differ from peak to peak.
            sqlite3_bind_double(db.Statement(), 3,
                                0.0001 * static_cast<double>(1 + (id * 7 + p * 13) % 60));
            db.Run();
        }
    }
    db.Exec("COMMIT");
    db.Exec("CREATE INDEX peak_assayid ON peak(assayid);");
}

}  // namespace

void Ensure(const std::string& path) {
    namespace fs = std::filesystem;
    if (fs::exists(path)) return;
    fs::create_directories(fs::path(path).parent_path());
    const std::string partial = path + ".partial";
    fs::remove(partial);
    std::fprintf(stderr, "writing %s (%lld assays, %lld peaks) once...\n", path.c_str(),
                 static_cast<long long>(kAssays), static_cast<long long>(kAssays * kPeaksPerAssay));
    Write(partial);
    fs::rename(partial, path);
}

}  // namespace BenchDatabase
