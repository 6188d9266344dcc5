#include "tests/fuzz/FuzzedHostDatabase.h"

#include <sqlite3.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

namespace {

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct Finalize {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;
using Statement = std::unique_ptr<sqlite3_stmt, Finalize>;

// The writer's own statements must work; a fault here is the fuzzer's, not the road's.
void mustExec(sqlite3* db, const std::string& sql) {
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "fuzzed database: %s in %s\n", sqlite3_errmsg(db), sql.c_str());
        std::abort();
    }
}

Statement prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "fuzzed database: %s in %s\n", sqlite3_errmsg(db), sql);
        std::abort();
    }
    return Statement(statement);
}

constexpr std::int64_t kMin64 = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax64 = std::numeric_limits<std::int64_t>::max();
constexpr std::array<std::int64_t, 16> kEdgeIntegers = {
    0,
    -1,
    1,
    2,
    3,
    26,
    27,
    28,
    0x7FFFFFFF,
    0x80000000,
    -0x80000000LL,
    0x100000001LL,
    0xFFFFFFFFLL,
    kMax64,
    kMin64,
    1700000000,
};
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr std::array<double, 16> kEdgeDoubles = {
    0.0,    -0.0,  kInfinity, -kInfinity, 1e308, -1e308, 5e-324,  1e-300,
    0.0021, 0.005, 0.011,     0.0005,     1e240, 1e300,  -0.0001, 100.0,
};

std::int64_t edgeOrAnyInteger(FuzzBytes& input) {
    const std::uint8_t pick = input.byte();
    if (pick < 0xF0) return kEdgeIntegers[pick % kEdgeIntegers.size()];
    return static_cast<std::int64_t>(input.number(8));
}

// One value of any kind into parameter `index`.
void bindAny(sqlite3_stmt* statement, int index, FuzzBytes& input) {
    switch (input.byte() % 8) {
        case 0:
            sqlite3_bind_null(statement, index);
            break;
        case 1:
        case 2:
            sqlite3_bind_int64(statement, index, edgeOrAnyInteger(input));
            break;
        case 3: {
            const std::uint8_t pick = input.byte();
            double value = kEdgeDoubles[pick % kEdgeDoubles.size()];
            if (pick >= 0xF0) {
                const std::uint64_t bits = input.number(8);
                std::memcpy(&value, &bits, sizeof value);
            }
            sqlite3_bind_double(statement, index, value);
            break;
        }
        case 4:
        case 5: {
            // Any bytes as UTF-8 text, invalid sequences and NULs included.
            const std::string text = input.bytes(600);
            sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()),
                              SQLITE_TRANSIENT);
            break;
        }
        case 6: {
            // Any 16-bit units as UTF-16 text, lone surrogates and U+FFFE included.
            const std::string text = input.bytes(600);
            sqlite3_bind_text16(statement, index, text.data(), static_cast<int>(text.size() & ~1u),
                                SQLITE_TRANSIENT);
            break;
        }
        default: {
            const std::string blob = input.bytes(300);
            sqlite3_bind_blob(statement, index, blob.data(), static_cast<int>(blob.size()),
                              SQLITE_TRANSIENT);
            break;
        }
    }
}

// Names the calculation knows and some it must ignore.
constexpr std::array<const char16_t*, 12> kPeakNames = {
    u"Азот", u"Кислород", u"Метан", u"Неон",           u"Водород", u"СО",
    u"СО2",  u"CO2",      u"аргон", u"оксид углерода", u"Гелий",   u"СО+СО2",
};

char16_t caseOf(char16_t unit, bool upper) {
    if (unit >= u'А' && unit <= u'я') {
        const bool isUpper = unit <= u'Я';
        if (upper != isUpper) return upper ? unit - 0x20 : unit + 0x20;
    } else if (unit == u'Ё' || unit == u'ё') {
        return upper ? u'Ё' : u'ё';
    } else if ((unit >= u'A' && unit <= u'Z') || (unit >= u'a' && unit <= u'z')) {
        return upper ? (unit & ~0x20) : (unit | 0x20);
    }
    return unit;
}

void bindPeakName(sqlite3_stmt* statement, int index, FuzzBytes& input) {
    const std::uint8_t kind = input.byte();
    if (kind % 4 == 3) return bindAny(statement, index, input);
    if (kind % 4 == 2) {
        sqlite3_bind_text(statement, index, "", 0, SQLITE_STATIC);
        return;
    }
    // A known name, each letter's case taken from one bit of a mask.
    std::u16string name = kPeakNames[input.byte() % kPeakNames.size()];
    const std::uint64_t mask = input.number(2);
    for (std::size_t i = 0; i < name.size(); ++i) name[i] = caseOf(name[i], (mask >> (i % 16)) & 1);
    sqlite3_bind_text16(statement, index, name.data(), static_cast<int>(name.size() * 2),
                        SQLITE_TRANSIENT);
}

void step(sqlite3_stmt* statement) {
    // A row the schema refuses (a text id for the row id, say) is simply not stored.
    sqlite3_step(statement);
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
}

AssayId pickId(FuzzBytes& input, const std::vector<AssayId>& stored) {
    const std::uint8_t pick = input.byte();
    if (pick < 0xC0 && !stored.empty()) return stored[pick % stored.size()];
    return edgeOrAnyInteger(input);
}

}  // namespace

FuzzedDatabase WriteFuzzedHostDatabase(const std::string& path, FuzzBytes& input) {
    std::remove(path.c_str());
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open(path.c_str(), &raw);
    Database db(raw);
    if (opened != SQLITE_OK) {
        std::fprintf(stderr, "fuzzed database: cannot create %s\n", path.c_str());
        std::abort();
    }
    const std::uint8_t shape = input.byte();
    const bool utf16 = shape & 1, employeeName = shape & 2, typed = !(shape & 32);
    FuzzedDatabase result;
    result.hasVersionInfo = !(shape & 4);
    mustExec(db.get(), utf16 ? "PRAGMA encoding = 'UTF-16le';" : "PRAGMA encoding = 'UTF-8';");
    mustExec(db.get(), "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; BEGIN;");

    const std::string text = typed ? " TEXT" : "", integer = typed ? " INTEGER" : "",
                      real = typed ? " REAL" : "";
    // Both operator columns when bit 6 is set, so either query finds its column.
    const bool both = shape & 64;
    mustExec(db.get(), "CREATE TABLE assay (id INTEGER PRIMARY KEY, date" + integer + ", sample" +
                           text + ", comment" + text + ", series" + text + ", filename" + text +
                           (employeeName && !both ? "" : ", operatorid" + integer) +
                           (employeeName || both ? ", employee_name" + text : "") + ");");
    if (!(shape & 8))
        mustExec(db.get(), "CREATE TABLE operator (id INTEGER PRIMARY KEY, name" + text + ");");
    if (!(shape & 16))
        mustExec(db.get(), "CREATE TABLE peak (id INTEGER PRIMARY KEY, assayid" + integer +
                               ", name" + text + ", concentration" + real + ");");
    if (result.hasVersionInfo)
        mustExec(db.get(), "CREATE TABLE versioninfo (id INTEGER PRIMARY KEY, version" + integer +
                               ", appliedon" + integer + ");");

    if (result.hasVersionInfo) {
        Statement version =
            prepare(db.get(), "INSERT INTO versioninfo (id, version, appliedon) VALUES (?, ?, ?)");
        for (int n = input.byte() % 4; n > 0; --n) {
            sqlite3_bind_int64(version.get(), 1, edgeOrAnyInteger(input));
            bindAny(version.get(), 2, input);
            bindAny(version.get(), 3, input);
            step(version.get());
        }
    }

    std::vector<AssayId> stored;
    Statement assay = prepare(
        db.get(), employeeName && !both
                      ? "INSERT INTO assay (id, date, sample, comment, series, employee_name)"
                        " VALUES (?, ?, ?, ?, ?, ?)"
                  : both ? "INSERT INTO assay (id, date, sample, comment, series, operatorid,"
                           " employee_name) VALUES (?, ?, ?, ?, ?, ?, ?)"
                         : "INSERT INTO assay (id, date, sample, comment, series, operatorid)"
                           " VALUES (?, ?, ?, ?, ?, ?)");
    for (int n = input.byte() % 5; n > 0; --n) {
        const AssayId id = edgeOrAnyInteger(input);
        sqlite3_bind_int64(assay.get(), 1, id);
        for (int column = 2; column <= sqlite3_bind_parameter_count(assay.get()); ++column)
            bindAny(assay.get(), column, input);
        step(assay.get());
        stored.push_back(id);
    }

    if (!(shape & 8)) {
        Statement person = prepare(db.get(), "INSERT INTO operator (id, name) VALUES (?, ?)");
        for (int n = input.byte() % 3; n > 0; --n) {
            sqlite3_bind_int64(person.get(), 1, edgeOrAnyInteger(input));
            bindAny(person.get(), 2, input);
            step(person.get());
        }
    }

    if (!(shape & 16)) {
        Statement peak =
            prepare(db.get(), "INSERT INTO peak (assayid, name, concentration) VALUES (?, ?, ?)");
        for (int n = input.byte() % 24; n > 0; --n) {
            sqlite3_bind_int64(peak.get(), 1, pickId(input, stored));
            bindPeakName(peak.get(), 2, input);
            bindAny(peak.get(), 3, input);
            step(peak.get());
        }
    }
    mustExec(db.get(), "COMMIT;");
    result.first = pickId(input, stored);
    result.second = pickId(input, stored);
    return result;
}
