#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "database/SqlConnection.h"
#include "database/SqlStatement.h"
#include "tests/database/unicode/BlockWidths.h"
#include "tests/database/unicode/SqlProbe.h"
#include "text/Utf8.h"

using DataBase::SqlConnection;
using SqlProbe::Fails;
using SqlProbe::Value;

namespace {

constexpr std::optional<std::string> kNull;

struct Row {
    const char* sql;
    std::optional<std::string> expected;
};

void ExpectRows(SqlConnection& db, std::initializer_list<Row> rows) {
    for (const Row& r : rows) EXPECT_EQ(Value(db, r.sql), r.expected) << r.sql;
}

// Both text encodings a database can have: the functions and the collation see each.
class UnicodeSql : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        SqlProbe::Value(db, std::string("PRAGMA encoding = '") + GetParam() + "';");
    }
    SqlConnection db{u":memory:"};
};

INSTANTIATE_TEST_SUITE_P(Encodings, UnicodeSql, testing::Values("UTF-8", "UTF-16le"));

}  // namespace

TEST_P(UnicodeSql, CaseFunctions) {
    ExpectRows(db, {
                       {"SELECT upper('ёлка');", "ЁЛКА"},
                       {"SELECT lower('ЁЛКА');", "ёлка"},
                       {"SELECT fold('Straße');", "straße"},
                       {"SELECT upper('ß');", "ß"},
                       {"SELECT fold('ẞ');", "ß"},
                       {"SELECT fold('İ');", "İ"},
                       {"SELECT fold('ς');", "σ"},
                       {"SELECT title('hello world');", "HELLO WORLD"},
                       {"SELECT title('ǳ');", "ǲ"},
                       {"SELECT upper('ǳ');", "Ǳ"},
                       {"SELECT upper('straße 😀 x');", "STRAßE 😀 X"},
                       {"SELECT upper(42);", "42"},
                       {"SELECT lower('');", ""},
                       {"SELECT fold(NULL);", kNull},
                       {"SELECT lower(NULL);", kNull},
                       {"SELECT upper(NULL);", kNull},
                       {"SELECT title(NULL);", kNull},
                       {"SELECT unicode_version();", "5.1.0.12"},
                   });
}

TEST_P(UnicodeSql, Unaccent) {
    ExpectRows(db,
               {
                   {"SELECT unaccent('Ёжик');", "Ежик"},
                   {"SELECT unaccent('Æon');", "AEon"},
                   {"SELECT unaccent('');", ""},
                   {"SELECT unaccent(NULL);", kNull},
                   {"SELECT unaccent('Crème brûlée, ǅ ﬁ ¼ ① ⑴ Ａｶ');",
                    "Creme brulee, Dz fi 1⁄4 1 (1) Aカ"},
                   {"SELECT unaccent('😀é');", "😀e"},
                   {"SELECT length(unaccent('ﷺ'));", "18"},
                   {"SELECT length(unaccent(replace(hex(zeroblob(5000)), '00', 'ﷺ')));", "90000"},
                   {"SELECT unaccent(replace(hex(zeroblob(3)), '00', 'Œ'));", "OEOEOE"},
               });
}

TEST_P(UnicodeSql, Like) {
    ExpectRows(db, {
                       {"SELECT 'ЁЖИК' LIKE 'ежик';", "1"},
                       {"SELECT 'café' LIKE 'CAFE';", "1"},
                       {"SELECT 'abc' LIKE 'a_c';", "1"},
                       {"SELECT 'ab' LIKE 'a_c';", "0"},
                       {"SELECT '10%' LIKE '10!%' ESCAPE '!';", "1"},
                       {"SELECT '100' LIKE '10!%' ESCAPE '!';", "0"},
                       {"SELECT 'x' LIKE 'x' ESCAPE NULL;", kNull},
                       {"SELECT NULL LIKE 'x';", kNull},
                       {"SELECT 'x' LIKE NULL;", kNull},
                       {"SELECT like('ежик', 'ЁЖИК');", "1"},
                       {"SELECT like('a', 'b');", "0"},
                       {"SELECT like('10é%', '10%', 'é');", "1"},
                       {"SELECT 'Ёлка' NOT LIKE 'елка';", "0"},
                       // The pattern is read once per statement: a pattern or an escape that
                       // changes from row to row must be read again.
                       {"SELECT group_concat(column1 LIKE 'а%', '') FROM "
                        "(VALUES ('АБ'), ('ба'), (NULL), ('аб'));",
                        "101"},
                       {"SELECT group_concat(column1 LIKE column2, '') FROM "
                        "(VALUES ('ab', 'a%'), ('ab', 'b%'), ('ab', NULL), ('ab', '%B'));",
                        "101"},
                       {"SELECT group_concat(like('a!%', column1, column2), '') FROM "
                        "(VALUES ('a%', '!'), ('a%', '#'), ('a!x', '#'), ('a%', '!'));",
                        "1011"},
                   });
}

TEST_P(UnicodeSql, LikeErrors) {
    const std::string pattern50000(50000, '%');
    EXPECT_EQ(Value(db, "SELECT 'x' LIKE '" + pattern50000 + "';"), "1");
    // Our own fixed bound, not the connection's limit.
    sqlite3_limit(db.handle(), SQLITE_LIMIT_LIKE_PATTERN_LENGTH, 10);
    EXPECT_EQ(Value(db, "SELECT 'x' LIKE '" + pattern50000 + "';"), "1");
    const std::string ascii50001(50001, 'a');
    const std::string twoByte50001 = std::string(24999, '%') + std::string(13001, 'a') + [] {
        std::string s;
        for (int i = 0; i < 6000; ++i) s += "ж";
        return s;
    }() + "a";
    ASSERT_EQ(twoByte50001.size(), 50001u);
    struct FailRow {
        std::string sql;
        const char* message;
    };
    const FailRow rows[] = {
        {"SELECT 'x' LIKE '" + ascii50001 + "';", "LIKE or GLOB pattern too complex"},
        {"SELECT 'x' LIKE '" + twoByte50001 + "';", "LIKE or GLOB pattern too complex"},
        {"SELECT 'x' LIKE '" + ascii50001 + "' ESCAPE NULL;", "LIKE or GLOB pattern too complex"},
        {"SELECT 'x' LIKE 'x' ESCAPE '';", "ESCAPE expression must be a single character"},
        {"SELECT 'x' LIKE 'x' ESCAPE 'ab';", "ESCAPE expression must be a single character"},
        {"SELECT 'x' LIKE 'x' ESCAPE 'éé';", "ESCAPE expression must be a single character"},
        {"SELECT NULL LIKE NULL ESCAPE '';", "ESCAPE expression must be a single character"},
    };
    for (const FailRow& r : rows) {
        const SqlProbe::Failure failure = Fails(db, r.sql);
        EXPECT_EQ(failure.code, SQLITE_ERROR) << r.sql.substr(0, 60);
        EXPECT_EQ(failure.message, r.message) << r.sql.substr(0, 60);
    }
}

TEST_P(UnicodeSql, NocaseCollation) {
    const bool utf16 = std::string(GetParam()) != "UTF-8";
    ExpectRows(db, {
                       {"SELECT 'Ёж' = 'ЕЖ' COLLATE NOCASE;", "1"},
                       {"SELECT 'a' < 'ab' COLLATE NOCASE;", "1"},
                       {"SELECT '' < 'a' COLLATE NOCASE;", "1"},
                       {"SELECT '' = '' COLLATE NOCASE;", "1"},
                       {"SELECT 'Straße' = 'STRASSE' COLLATE NOCASE;", "0"},
                       {"SELECT 'ж' < 'Я' COLLATE NOCASE;", "1"},
                       {"SELECT 'é' = 'eb' COLLATE NOCASE;", "0"},
                       // Equal characters: in UTF-16 equal lengths, in UTF-8 é is longer.
                       {"SELECT 'é' = 'e' COLLATE NOCASE;", utf16 ? "1" : "0"},
                       {"SELECT 'é' > 'e' COLLATE NOCASE;", utf16 ? "0" : "1"},
                   });
    // The module's connections only read; its temporary tables are still theirs to write.
    SqlProbe::Value(db, "CREATE TEMP TABLE t (name TEXT COLLATE NOCASE);");
    SqlProbe::Value(db,
                    "INSERT INTO t VALUES ('Ёлка'), ('ель'), ('Абрикос'), ('яблоко'), ('ЖУК'),"
                    " ('apple'), ('Zebra');");
    EXPECT_EQ(Value(db, "SELECT group_concat(name, ' ') FROM (SELECT name FROM t ORDER BY name);"),
              "apple Zebra Абрикос Ёлка ель ЖУК яблоко");
    EXPECT_EQ(
        Value(db,
              "SELECT count(DISTINCT name COLLATE NOCASE) FROM (SELECT 'ЁЖ' AS name UNION ALL "
              "SELECT 'ёж' UNION ALL SELECT 'ЕЖ');"),
        "1");
}

// Malformed text reaches the functions without harm and gives a text result.
TEST_P(UnicodeSql, MalformedTextNeverBreaksAFunction) {
    const char* values[] = {"x'C3'",   "x'80BFFE'", "x'EDA080'", "x'F8888080804142'",
                            "x'C0AF'", "x'00'",     "x'D83D'",   "x'FFFFFFFF'"};
    const char* calls[] = {"fold(CAST(%s AS TEXT))",
                           "upper(CAST(%s AS TEXT))",
                           "title(CAST(%s AS TEXT))",
                           "unaccent(CAST(%s AS TEXT))",
                           "lower(%s)",
                           "unaccent(%s)",
                           "CAST(%s AS TEXT) LIKE CAST(%s AS TEXT)",
                           "like('%%', CAST(%s AS TEXT), CAST(%s AS TEXT))",
                           "CAST(%s AS TEXT) < 'a' COLLATE NOCASE"};
    for (const char* call : calls) {
        for (const char* value : values) {
            char expression[200];
            std::snprintf(expression, sizeof expression, call, value, value);
            const std::string sql = std::string("SELECT typeof(") + expression + ");";
            const SqlProbe::Failure failure = Fails(db, sql);
            // The only failure allowed is the escape rule on a value of more than one character.
            if (failure.code != 0) {
                EXPECT_EQ(failure.message, "ESCAPE expression must be a single character") << sql;
            }
        }
    }
    if (std::string(GetParam()) == "UTF-8") {
        EXPECT_EQ(Value(db, "SELECT like('%', CAST(x'C3' AS TEXT), CAST(x'80' AS TEXT));"), "1");
    }
}

namespace {

// `function(?1)` with `text` bound as UTF-8 bytes: the result's UTF-8 bytes, "NULL", or the
// failing step's code.
std::string Apply(SqlConnection& db, const char* function, const std::string& text) {
    const std::string sql = std::string("SELECT ") + function + "(?1);";
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db.handle(), sql.c_str(), -1, &statement, nullptr);
    sqlite3_bind_text(statement, 1, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
    const int rc = sqlite3_step(statement);
    std::string result = "code " + std::to_string(rc);
    if (rc == SQLITE_ROW && sqlite3_column_type(statement, 0) == SQLITE_NULL) result = "NULL";
    if (rc == SQLITE_ROW && sqlite3_column_type(statement, 0) == SQLITE_TEXT) {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        result.assign(bytes, static_cast<std::size_t>(sqlite3_column_bytes(statement, 0)));
    }
    sqlite3_finalize(statement);
    return result;
}

// The blocks map sixteen or thirty-two bytes at a time.
class UnicodeSqlRoads : public EachBlockWidth {};
NIVRA_FOR_EACH_BLOCK_WIDTH(UnicodeSqlRoads);

}  // namespace

// Text held as UTF-8 is mapped without passing through UTF-16, yet must come out as the
// UTF-16 road makes it, malformed and growing text included.
TEST_P(UnicodeSqlRoads, Utf8TextComesOutAsOverUtf16) {
    SqlConnection utf8{u":memory:"}, utf16{u":memory:"};
    SqlProbe::Value(utf8, "PRAGMA encoding = 'UTF-8';");
    SqlProbe::Value(utf16, "PRAGMA encoding = 'UTF-16le';");
    std::string manyLigatures;
    for (int i = 0; i < 40; ++i) manyLigatures += "ﷺ";
    const std::string texts[] = {
        std::string(40, '\xB5'),   // lone continuation bytes, each µ becoming a two-byte Μ
        manyLigatures,             // eighteen units each
        "a\xF8\x88\x80\x80\x80z",  // beyond U+10FFFF
        "x😀Ǳǳ\xF4\x8F\xBF\xBFy",
        std::string("AB\0CD", 5),
        "\xC0\x80\xC1\xBF\xE0\x80\x80 \xED\xA0\x80 \xEF\xBF\xBE \xD0\xB6\xB6\xB6 \xC3",
        "Hello, МИР ĀĂĄ ẞ ΣΑΣ İ ǅ Ａｂ ɐ ſ Æ ¼ ①",
        // Blocks of sixteen and thirty-two bytes: a character that goes on past the end of a
        // block, a 0 byte inside one, and letters of every shift at changing places.
        std::string(14, 'a') + "\xD0\xB6\xB6Жж xyz",
        std::string(30, 'a') + "\xD0\xB6\xB6Жж xyz",
        std::string("ЁЛКА helium \0ПРОТОКОЛ straße ÉTÉ", 47),
        "Ёлка Helium ПРОТОКОЛ Straße détecteur ±0.0021 ѠѡѢѣ ÿ µ «ёж» Ѐѐ ЙйЁё Ѷѷ",
        "x Ёлка Helium ПРОТОКОЛ Straße détecteur ±0.0021 ѠѡѢѣ ÿ µ «ёж» Ѐѐ ЙйЁё Ѷѷ",
        // A result starting with U+FEFF, which the engine drops from a UTF-16 result.
        "\xEF\xBB\xBFЁлка",
    };
    // Blocks go at a fixed stride: a malformed pair or a 0 byte at every place of a long
    // text, inside characters too.
    std::vector<std::string> all(std::begin(texts), std::end(texts));
    const std::string mixed = "Ёлка ПРОТОКОЛ détecteur Ѷѷ ЙйЁё Straße Жж Ѐѐ ±0.0021 µ ÿ ѠѡѢѣ ЁЛКА";
    for (std::size_t at = 28; at < mixed.size(); ++at) {
        all.push_back(mixed);
        all.back().insert(at, at % 3 ? std::string("\xD0\xB6\xB6") : std::string(1, '\0'));
    }
    // And every place of a pair against the last blocks: ASCII before pairs only, of which
    // the case functions change one and unaccent the other, and the last block starting
    // with a pair or inside one.
    std::string pairs;
    for (int i = 0; i < 40; ++i) pairs += "Жй";
    for (std::size_t pad = 0; pad < 40; ++pad) {
        all.push_back(std::string(pad, 'a') + pairs);
        all.push_back(std::string(pad, 'a') + pairs + ".");    // inside Ж
        all.push_back(std::string(pad, 'a') + pairs + "...");  // inside й
    }
    // Characters that stop the last block and go on their own, unaccent dropping a byte of
    // each or, for æ, adding one, with more text after them.
    for (std::size_t pad = 0; pad < 40; ++pad)
        all.push_back(std::string(pad, 'a') + "détecteur ÿ ñ æ.");
    for (const char* function : {"fold", "lower", "upper", "title", "unaccent"}) {
        for (const std::string& text : all) {
            EXPECT_EQ(Apply(utf8, function, text), Apply(utf16, function, text))
                << function << " " << testing::PrintToString(text);
        }
    }
    // Results that may pass the length limit as UTF-16 fail there just as before.
    sqlite3_limit(utf8.handle(), SQLITE_LIMIT_LENGTH, 40);
    EXPECT_EQ(Apply(utf8, "lower", std::string(20, 'A')), std::string(20, 'a'));
    EXPECT_EQ(Apply(utf8, "lower", std::string(21, 'A')), "code 18");
}
