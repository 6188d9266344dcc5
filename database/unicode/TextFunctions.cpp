#include "database/unicode/TextFunctions.h"

#include <climits>
#include <cstdint>
#include <cstring>

#include "database/unicode/UnicodeTables.h"
#include "database/unicode/Utf8Mapping.h"

namespace DataBase::Unicode {

namespace {

// The argument as UTF-16 in native byte order, or null for NULL (the result stays NULL).
const unsigned char* Utf16Argument(sqlite3_value* value, int& bytes) {
    if (sqlite3_value_type(value) == SQLITE_NULL) return nullptr;
    const void* text = sqlite3_value_text16(value);
    bytes = sqlite3_value_bytes16(value);
    return static_cast<const unsigned char*>(text);
}

std::uint16_t UnitAt(const unsigned char* text, std::size_t i) {
    std::uint16_t unit;
    std::memcpy(&unit, text + 2 * i, 2);
    return unit;
}

// Hands `units` units of `buffer` (terminated) to the engine, which frees it.
void ResultUnits(sqlite3_context* context, std::uint16_t* buffer, std::size_t units) {
    sqlite3_result_text16(context, buffer, static_cast<int>(2 * units), sqlite3_free);
}

// Text the engine holds as UTF-8 maps straight into UTF-8, saving the translations to UTF-16
// and back; false leaves the result to the UTF-16 road.
bool MapHeldUtf8(sqlite3_context* context, sqlite3_value* argument, const Utf8Mapping& mapping) {
    if (sqlite3_value_type(argument) != SQLITE_TEXT) return false;
    if (sqlite3_value_encoding(argument) != SQLITE_UTF8) return false;
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argument));
    if (!text) return false;
    Utf8Text result;
    const std::size_t bytes = static_cast<std::size_t>(sqlite3_value_bytes(argument));
    if (!mapping.Map({text, bytes}, result)) return false;
    // The engine takes a UTF-16 result that starts with U+FEFF or U+FFFE for a byte order
    // mark and drops or follows it; the UTF-16 road answers those, so that they come out
    // just as they did.
    const unsigned char* start = result.bytes.get();
    if (result.size >= 3 && start[0] == 0xEF &&
        ((start[1] == 0xBB && start[2] == 0xBF) || (start[1] == 0xBF && start[2] == 0xBE))) {
        return false;
    }
    // As UTF-16 the result takes at most two bytes per UTF-8 byte. Where that could pass the
    // connection's length limit, the UTF-16 road answers, so that it fails just as it did.
    const int limit = sqlite3_limit(sqlite3_context_db_handle(context), SQLITE_LIMIT_LENGTH, -1);
    if (result.size > static_cast<std::size_t>(limit) / 2) return false;
    sqlite3_result_text(context, reinterpret_cast<char*>(result.bytes.release()),
                        static_cast<int>(result.size), sqlite3_free);
    return true;
}

void MapUnits(sqlite3_context* context, sqlite3_value* argument) {
    const auto* mapping = static_cast<const Utf8Mapping*>(sqlite3_user_data(context));
    if (!mapping) return;
    if (MapHeldUtf8(context, argument, *mapping)) return;
    const UnicodeTable* table = &mapping->table();
    int bytes = 0;
    const unsigned char* text = Utf16Argument(argument, bytes);
    if (!text) return;
    const std::size_t units = static_cast<std::size_t>(bytes) / 2;
    auto* buffer = static_cast<std::uint16_t*>(sqlite3_malloc64(2 * units + 2));
    if (!buffer) {
        sqlite3_result_error_nomem(context);
        return;
    }
    std::memcpy(buffer, text, 2 * units);
    buffer[units] = 0;
    std::size_t i = 0;
    for (; buffer[i] != 0; ++i) buffer[i] = MapUnit(*table, buffer[i]);
    ResultUnits(context, buffer, i);
}

void Unaccent(sqlite3_context* context, sqlite3_value* argument) {
    const auto* mapping = static_cast<const Utf8Mapping*>(sqlite3_user_data(context));
    if (mapping && MapHeldUtf8(context, argument, *mapping)) return;
    int bytes = 0;
    const unsigned char* text = Utf16Argument(argument, bytes);
    if (!text) return;
    const std::size_t units = static_cast<std::size_t>(bytes) / 2;
    std::size_t capacity = units + 1;  // units, terminator included
    auto* buffer = static_cast<std::uint16_t*>(sqlite3_malloc64(2 * capacity));
    if (!buffer) {
        sqlite3_result_error_nomem(context);
        return;
    }
    std::size_t length = 0;
    for (std::size_t i = 0; i < units; ++i) {
        const std::uint16_t unit = UnitAt(text, i);
        if (unit == 0) break;
        const UnicodeMapping base = Lookup(kUnaccentTable, unit);
        if (base.mapsToItself()) {
            buffer[length++] = unit;
            continue;
        }
        // The output never shrinks, so a longer base form may need more room: grow
        // geometrically to keep long texts linear.
        const std::size_t needed = length + base.size + (units - i - 1) + 1;
        if (needed > capacity) {
            std::size_t grown = capacity * 2 > needed ? capacity * 2 : needed;
            if (2 * grown > INT_MAX) grown = needed;
            if (2 * grown > INT_MAX) {
                sqlite3_free(buffer);
                sqlite3_result_error_toobig(context);
                return;
            }
            auto* larger =
                static_cast<std::uint16_t*>(sqlite3_realloc(buffer, static_cast<int>(2 * grown)));
            if (!larger) {
                sqlite3_free(buffer);
                sqlite3_result_error_nomem(context);
                return;
            }
            buffer = larger;
            capacity = grown;
        }
        std::memcpy(buffer + length, base.data, 2 * base.size);
        length += base.size;
    }
    buffer[length] = 0;
    ResultUnits(context, buffer, length);
}

}  // namespace

void MapUnitsFunction(sqlite3_context* context, int argc, sqlite3_value** argv) noexcept {
    try {
        if (argc == 1) MapUnits(context, argv[0]);
    } catch (...) {
        sqlite3_result_error(context, "text mapping failed", -1);
    }
}

void UnaccentFunction(sqlite3_context* context, int argc, sqlite3_value** argv) noexcept {
    try {
        if (argc == 1) Unaccent(context, argv[0]);
    } catch (...) {
        sqlite3_result_error(context, "unaccent failed", -1);
    }
}

void UnicodeVersionFunction(sqlite3_context* context, int, sqlite3_value**) noexcept {
    sqlite3_result_text(context, "5.1.0.12", -1, SQLITE_STATIC);
}

}  // namespace DataBase::Unicode
