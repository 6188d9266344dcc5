#include "bench/unicode/BenchCorpus.h"

#include <sqlite3.h>

#include <random>
#include <stdexcept>

#include "database/unicode/UnicodeExtension.h"

namespace BenchCorpus {

namespace {

const char* const kWords[] = {
    "ёлка",     "Ёжик",     "азот",      "кислород", "метан",  "неон",      "водород",
    "оксид",    "углерода", "диоксид",   "гелий",    "проба",  "Измерение", "серия",
    "ПРОТОКОЛ", "Расчёт",   "примесь",   "объёмная", "доля",   "Helium",    "sample",
    "Nitrogen", "oxygen",   "METHANE",   "analysis", "Report", "series",    "peak",
    "area",     "Straße",   "détecteur", "column",   "0.0021", "±",         "%",
};

std::vector<std::string> MakeRows() {
    std::mt19937 random(1234);
    std::uniform_int_distribution<std::size_t> word(0, std::size(kWords) - 1);
    std::vector<std::string> rows;
    for (int i = 0; i < 20000; ++i) {
        std::string row;
        while (row.size() < 90) {
            if (!row.empty()) row += ' ';
            row += kWords[word(random)];
        }
        rows.push_back(row);
    }
    return rows;
}

void Exec(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        throw std::runtime_error(sqlite3_errmsg(db));
    }
}

}  // namespace

const std::vector<std::string>& Rows() {
    static const std::vector<std::string> rows = MakeRows();
    return rows;
}

std::size_t Bytes() {
    std::size_t bytes = 0;
    for (const auto& row : Rows()) bytes += row.size();
    return bytes;
}

void Closer::operator()(sqlite3* db) const {
    sqlite3_close(db);
}

Connection Open(bool withUnicode) {
    sqlite3* raw = nullptr;
    sqlite3_open(":memory:", &raw);
    Connection db(raw);
    if (withUnicode && RegisterUnicodeExtension(raw) != SQLITE_OK) {
        throw std::runtime_error("registration failed");
    }
    Exec(raw, "CREATE TABLE corpus (t TEXT, u TEXT); BEGIN;");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(raw, "INSERT INTO corpus VALUES (?1, ?1);", -1, &insert, nullptr);
    for (const auto& row : Rows()) {
        sqlite3_bind_text(insert, 1, row.data(), static_cast<int>(row.size()), SQLITE_STATIC);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    Exec(raw, "COMMIT;");
    return db;
}

long long Scalar(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        throw std::runtime_error(sqlite3_errmsg(db));
    }
    long long value = 0;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) value = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db));
    return value;
}

}  // namespace BenchCorpus
