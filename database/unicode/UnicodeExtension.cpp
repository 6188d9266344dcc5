#include "database/unicode/UnicodeExtension.h"

#include <cstdint>

#include "database/unicode/LikeFunction.h"
#include "database/unicode/LikeMatcher.h"
#include "database/unicode/NocaseCollation.h"
#include "database/unicode/SqliteApi.h"
#include "database/unicode/TextFunctions.h"
#include "database/unicode/UnicodeTables.h"
#include "database/unicode/Utf8Mapping.h"

namespace {

using namespace DataBase::Unicode;

using ScalarFunction = void (*)(sqlite3_context*, int, sqlite3_value**);

struct FunctionEntry {
    const char* name;
    int arguments;
    const void* userData;
    ScalarFunction function;
    const UnicodeTable* table = nullptr;  // for a mapping: the user data is its prepared form
};

// Registration order matters only for which function is the last one in place when a
// registration fails.
const FunctionEntry kFunctions[] = {
    {"unicode_version", 0, nullptr, UnicodeVersionFunction},
    {"like", 2, &kLikeSettings, LikeFunction},
    {"like", 3, &kLikeSettings, LikeFunction},
    {"fold", 1, nullptr, MapUnitsFunction, &kFoldTable},
    {"lower", 1, nullptr, MapUnitsFunction, &kLowerTable},
    {"upper", 1, nullptr, MapUnitsFunction, &kUpperTable},
    {"title", 1, nullptr, MapUnitsFunction, &kTitleTable},
    {"unaccent", 1, nullptr, UnaccentFunction, &kUnaccentTable},
};

void* EncodingTag(int encoding) {
    return reinterpret_cast<void*>(static_cast<std::intptr_t>(encoding));
}

}  // namespace

int RegisterUnicodeExtension(sqlite3* db) {
    int rc = SQLITE_OK;
    for (const FunctionEntry& entry : kFunctions) {
        // A mapping is prepared once, when the first connection registers it, rather than
        // looked up on every row.
        const void* userData = entry.table ? Utf8MappingFor(entry.table) : entry.userData;
        rc = sqlite3_create_function(db, entry.name, entry.arguments, SQLITE_ANY,
                                     const_cast<void*>(userData), entry.function, nullptr, nullptr);
        if (rc != SQLITE_OK) break;
    }
    // The collations are registered even after a failed function, and any failure is
    // reported: a connection that silently kept the engine's ASCII-only LIKE or NOCASE would
    // give different answers without saying so.
    const int utf8 = sqlite3_create_collation(db, "NOCASE", SQLITE_UTF8, EncodingTag(kNocaseUtf8),
                                              CompareNocase);
    const int utf16 = sqlite3_create_collation(db, "NOCASE", SQLITE_UTF16,
                                               EncodingTag(kNocaseUtf16), CompareNocase);
    if (rc == SQLITE_OK) rc = utf8;
    if (rc == SQLITE_OK) rc = utf16;
    return rc;
}
