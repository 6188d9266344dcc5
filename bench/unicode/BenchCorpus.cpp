#include "bench/unicode/BenchCorpus.h"

#include <sqlite3.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string_view>

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

bool IsAscii(std::string_view word) {
    return std::all_of(word.begin(), word.end(), [](char c) { return (c & 0x80) == 0; });
}

// Cyrillic letters are two bytes under the leads D0 and D1.
bool IsCyrillic(std::string_view word) {
    for (std::size_t i = 0; i < word.size(); i += 2) {
        if ((static_cast<unsigned char>(word[i]) & 0xFE) != 0xD0) return false;
    }
    return true;
}

std::vector<std::string_view> Words(Kind kind) {
    std::vector<std::string_view> words;
    for (std::string_view word : kWords) {
        if (kind == Kind::Mixed || (kind == Kind::Ascii ? IsAscii(word) : IsCyrillic(word))) {
            words.push_back(word);
        }
    }
    return words;
}

std::vector<std::string> MakeRows(Kind kind) {
    const std::vector<std::string_view> words = Words(kind);
    std::mt19937 random(1234);
    std::uniform_int_distribution<std::size_t> word(0, words.size() - 1);
    std::vector<std::string> rows;
    for (int i = 0; i < 20000; ++i) {
        std::string row;
        while (row.size() < 90) {
            if (!row.empty()) row += ' ';
            row += words[word(random)];
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

const char* Name(Kind kind) {
    switch (kind) {
        case Kind::Mixed:
            return "mixed";
        case Kind::Ascii:
            return "ascii";
        case Kind::Russian:
            return "russian";
    }
    return "";
}

const std::vector<std::string>& Rows(Kind kind) {
    static const std::vector<std::string> rows[] = {MakeRows(Kind::Mixed), MakeRows(Kind::Ascii),
                                                    MakeRows(Kind::Russian)};
    return rows[static_cast<int>(kind)];
}

std::size_t Bytes(Kind kind) {
    std::size_t bytes = 0;
    for (const auto& row : Rows(kind)) bytes += row.size();
    return bytes;
}

void Closer::operator()(sqlite3* db) const {
    sqlite3_close(db);
}

Connection Open(Kind kind, bool withUnicode) {
    sqlite3* raw = nullptr;
    sqlite3_open(":memory:", &raw);
    Connection db(raw);
    if (withUnicode && RegisterUnicodeExtension(raw) != SQLITE_OK) {
        throw std::runtime_error("registration failed");
    }
    Exec(raw, "CREATE TABLE corpus (t TEXT, u TEXT); BEGIN;");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(raw, "INSERT INTO corpus VALUES (?1, ?1);", -1, &insert, nullptr);
    for (const auto& row : Rows(kind)) {
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
