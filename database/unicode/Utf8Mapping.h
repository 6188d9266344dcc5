#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "database/unicode/SqliteApi.h"
#include "database/unicode/UnicodeTables.h"
#include "database/unicode/Utf8BlockMapping.h"

namespace DataBase::Unicode {

// Bytes from sqlite3_malloc64, released with sqlite3_free unless handed to the engine.
struct SqliteFree {
    void operator()(unsigned char* bytes) const { sqlite3_free(bytes); }
};
using SqliteBytes = std::unique_ptr<unsigned char[], SqliteFree>;

struct Utf8Text {
    SqliteBytes bytes;  // terminated by a 0 byte after `size` bytes
    std::size_t size = 0;
};

// A UnicodeTable applied to UTF-8 text without the detour through UTF-16: the result is byte
// for byte what reading the text as UTF-16 (as the engine translates it), mapping every unit
// up to the first 0 and translating the result back gives. ASCII and the common two-byte
// letters go sixteen bytes at a time (thirty-two with AVX2); where the blocks stop, runs of
// ASCII go eight bytes at a time and characters below U+0800 take one load of their
// prepared UTF-8 form.
class Utf8Mapping {
public:
    explicit Utf8Mapping(const UnicodeTable& table);
    // The blocks keep a pointer to the prepared forms, so the mapping stays where it is made.
    Utf8Mapping(const Utf8Mapping&) = delete;
    Utf8Mapping& operator=(const Utf8Mapping&) = delete;

    // The mapped text, or nothing when an allocation fails or the text holds a character
    // beyond U+10FFFF, which the UTF-16 detour alters in ways not repeated here, or when
    // the table maps some ASCII character to anything but one ASCII character, which none
    // of the five does.
    bool Map(std::string_view text, Utf8Text& result) const;

    const UnicodeTable& table() const { return table_; }

private:
    std::uint64_t MapAsciiWord(std::uint64_t word) const;
    // Maps on from `in`, where the blocks stopped, into `buffer` at `out`.
    bool MapRest(const unsigned char* begin, const unsigned char* in, const unsigned char* end,
                 SqliteBytes buffer, unsigned char* out, std::size_t capacity,
                 Utf8Text& result) const;

    const UnicodeTable& table_;
    // Per character below U+0800: its mapping as UTF-8 in the low bytes and their count in
    // the top byte; 0 for mappings longer than seven bytes, which go through the table.
    std::uint64_t prepared_[0x800];
    // Per character from U+0080 to U+07FF: its form when that is two bytes too, else 0.
    std::uint16_t twoByteForms_[0x800] = {};
    // ASCII letters from asciiFirst_ to asciiLast_ change case, all other ASCII stays: the
    // case tables and unaccent all have this shape, which a word can apply at once.
    bool asciiByWords_ = false;
    bool asciiStaysAscii_ = true;
    std::uint8_t asciiFirst_ = 1, asciiLast_ = 0;
    // Sixteen bytes at a time, for tables whose ASCII maps by words.
    std::optional<Utf8BlockMapping> blocks_;
};

// The prepared mapping of one of the five tables, or null for any other table. Prepared on
// the first call for each table, and again for each setting of UseWideVectors.
const Utf8Mapping* Utf8MappingFor(const UnicodeTable* table);

}  // namespace DataBase::Unicode
