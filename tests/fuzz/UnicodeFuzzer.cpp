// Fuzzes "like" (with and without escape), "unaccent", the text mappings and the NOCASE
// collation: directly, against the recursive description and a plain comparison where the
// inputs are small enough, and through SQL on a real connection in both text encodings,
// where the mappings of the same text must agree.
// Any disagreement aborts; AddressSanitizer and UBSan catch the rest.

#include <fuzzer/FuzzedDataProvider.h>
#include <sqlite3.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "database/unicode/LikeMatcher.h"
#include "database/unicode/NocaseCollation.h"
#include "database/unicode/Reduction.h"
#include "database/unicode/UnicodeExtension.h"
#include "database/unicode/Utf8Decoder.h"
#include "tests/database/unicode/RecursiveLike.h"

using namespace DataBase::Unicode;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

void* Tag(int encoding) {
    return reinterpret_cast<void*>(static_cast<std::intptr_t>(encoding));
}

// The collation order spelled out character by character, without shortcuts.
int PlainCompareUtf8(const std::string& a, const std::string& b) {
    const auto* p = reinterpret_cast<const unsigned char*>(a.data());
    const auto* q = reinterpret_cast<const unsigned char*>(b.data());
    const auto *pEnd = p + a.size(), *qEnd = q + b.size();
    while (p < pEnd && q < qEnd) {
        const std::uint32_t x = Reduce(DecodeUtf8(p, pEnd)), y = Reduce(DecodeUtf8(q, qEnd));
        if (x != y) return x < y ? -1 : 1;
    }
    if (p < pEnd) return 1;
    if (q < qEnd) return -1;
    return Sign(static_cast<int>(a.size()) - static_cast<int>(b.size()));
}

std::size_t Characters(const std::string& text) {
    std::size_t count = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) DecodeUtf8(p, end), ++count;
    return count;
}

constexpr int kMappings = 5;
const char* const kMappingStatements[kMappings] = {
    "SELECT fold(?1);",  "SELECT lower(?1);",    "SELECT upper(?1);",
    "SELECT title(?1);", "SELECT unaccent(?1);",
};

struct Database {
    sqlite3* db = nullptr;
    sqlite3_stmt* statements[8] = {};
    sqlite3_stmt* mappings[kMappings] = {};
};

const char* const kStatements[8] = {
    "SELECT like(?1, ?2);",
    "SELECT like(?1, ?2, ?3);",
    "SELECT unaccent(?1), unaccent(?2);",
    "SELECT fold(?1), lower(?1), upper(?2), title(?2);",
    "SELECT ?1 < ?2 COLLATE NOCASE, ?1 = ?2 COLLATE NOCASE;",
    "SELECT ?2 LIKE ?1 ESCAPE ?3;",
    "SELECT count(*) FROM (SELECT ?1 AS t UNION SELECT ?2) ORDER BY t COLLATE NOCASE;",
    "SELECT unaccent(?3) = unaccent(?3) COLLATE NOCASE;",
};

Database Open(const char* encoding) {
    Database d;
    if (sqlite3_open(":memory:", &d.db) != SQLITE_OK) std::abort();
    const std::string pragma = std::string("PRAGMA encoding = '") + encoding + "';";
    sqlite3_exec(d.db, pragma.c_str(), nullptr, nullptr, nullptr);
    Check(RegisterUnicodeExtension(d.db) == SQLITE_OK);
    for (int i = 0; i < 8; ++i) {
        Check(sqlite3_prepare_v2(d.db, kStatements[i], -1, &d.statements[i], nullptr) == SQLITE_OK);
    }
    for (int i = 0; i < kMappings; ++i) {
        Check(sqlite3_prepare_v2(d.db, kMappingStatements[i], -1, &d.mappings[i], nullptr) ==
              SQLITE_OK);
    }
    return d;
}

void RunSql(Database& d, const std::string& a, const std::string& b, const std::string& c,
            bool asUtf16) {
    for (sqlite3_stmt* statement : d.statements) {
        const std::string* values[3] = {&a, &b, &c};
        for (int i = 0; i < 3; ++i) {
            const std::string& v = *values[i];
            if (asUtf16) {
                // Raw bytes as UTF-16, odd lengths and lone surrogates included.
                sqlite3_bind_text16(statement, i + 1, v.data(), static_cast<int>(v.size() & ~1u),
                                    SQLITE_TRANSIENT);
            } else {
                sqlite3_bind_text(statement, i + 1, v.data(), static_cast<int>(v.size()),
                                  SQLITE_TRANSIENT);
            }
        }
        while (sqlite3_step(statement) == SQLITE_ROW) {
            for (int column = 0; column < sqlite3_column_count(statement); ++column) {
                sqlite3_column_text(statement, column);
            }
        }
        sqlite3_reset(statement);
    }
}

// `function(?1)` with `text` bound as UTF-8: the result's UTF-8 bytes, or the step's code.
std::string Apply(sqlite3_stmt* statement, const std::string& text) {
    sqlite3_bind_text(statement, 1, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
    const int rc = sqlite3_step(statement);
    std::string result = "code " + std::to_string(rc);
    if (rc == SQLITE_ROW) {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        result =
            bytes ? std::string(bytes, static_cast<std::size_t>(sqlite3_column_bytes(statement, 0)))
                  : "NULL";
    }
    sqlite3_reset(statement);
    return result;
}

// Text held as UTF-8 is mapped without the detour through UTF-16 that UTF-16 text takes:
// both must give the same.
void CompareMappingRoads(Database& utf8, Database& utf16, const std::string& text) {
    for (int i = 0; i < kMappings; ++i) {
        Check(Apply(utf8.mappings[i], text) == Apply(utf16.mappings[i], text));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Database utf8 = Open("UTF-8");
    static Database utf16 = Open("UTF-16le");

    FuzzedDataProvider input(data, size);
    const std::uint8_t mode = input.ConsumeIntegral<std::uint8_t>();
    const std::string pattern = input.ConsumeRandomLengthString(256);
    const std::string text = input.ConsumeRandomLengthString(512);
    const std::string escapeText = input.ConsumeRemainingBytesAsString();

    std::optional<std::uint32_t> escape;
    if (mode & 1) {
        const auto* p = reinterpret_cast<const unsigned char*>(escapeText.data());
        escape = escapeText.empty() ? 0x21u : DecodeUtf8(p, p + escapeText.size());
    }
    const bool matched = LikeMatch(pattern, text, escape);
    Check(LikePattern(pattern, escape).Matches(text) == matched);
    // The recursive description is exponential: compare only where it stays small.
    if (Characters(pattern) <= 10 && text.size() <= 48) {
        Check(matched == RecursiveLikeReference::Like(pattern, text, escape));
    }

    for (int encoding : {kNocaseUtf8, kNocaseUtf16}) {
        const int ab = CompareNocase(Tag(encoding), static_cast<int>(pattern.size()),
                                     pattern.data(), static_cast<int>(text.size()), text.data());
        const int ba = CompareNocase(Tag(encoding), static_cast<int>(text.size()), text.data(),
                                     static_cast<int>(pattern.size()), pattern.data());
        Check(Sign(ab) == -Sign(ba));
        if (encoding == kNocaseUtf8) Check(Sign(ab) == PlainCompareUtf8(pattern, text));
    }
    // Shared prefixes exercise the skipping over identical bytes.
    const std::string longer = pattern + text, shorter = pattern + escapeText;
    Check(Sign(CompareNocase(Tag(kNocaseUtf8), static_cast<int>(longer.size()), longer.data(),
                             static_cast<int>(shorter.size()), shorter.data())) ==
          PlainCompareUtf8(longer, shorter));

    RunSql((mode & 2) ? utf16 : utf8, pattern, text, escapeText, (mode & 4) != 0);
    CompareMappingRoads(utf8, utf16, text);
    CompareMappingRoads(utf8, utf16, longer);
    return 0;
}
