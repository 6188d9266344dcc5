#include "database/unicode/Utf8Mapping.h"

#include <bit>
#include <cstring>

#include "database/unicode/Utf8Decoder.h"
#include "database/unicode/WideVectors.h"

namespace DataBase::Unicode {

namespace {

// The eight-byte steps read and write memory order from the lowest byte up.
static_assert(std::endian::native == std::endian::little);

constexpr std::uint64_t kOnes = 0x0101010101010101u;
constexpr std::uint64_t kHighs = 0x8080808080808080u;

// Room kept beyond one output byte per remaining input byte: enough for the longest form of
// one character (18 units of three bytes) and for whole-word and whole-block stores.
constexpr std::size_t kSlack = 64;

// A BMP unit that is not a surrogate as UTF-8, as the engine writes it.
unsigned char* PutUtf8(unsigned char* out, std::uint32_t c) {
    if (c < 0x80) {
        *out++ = static_cast<unsigned char>(c);
    } else if (c < 0x800) {
        *out++ = static_cast<unsigned char>(0xC0 | (c >> 6));
        *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = static_cast<unsigned char>(0xE0 | (c >> 12));
        *out++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else {
        *out++ = static_cast<unsigned char>(0xF0 | (c >> 18));
        *out++ = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    }
    return out;
}

// The mapping of a BMP character as UTF-8.
unsigned char* PutMapped(unsigned char* out, const UnicodeTable& table, std::uint16_t unit) {
    const UnicodeMapping mapping = Lookup(table, unit);
    if (mapping.mapsToItself()) return PutUtf8(out, unit);
    for (std::size_t i = 0; i < mapping.size; ++i) out = PutUtf8(out, mapping.data[i]);
    return out;
}

// Whether all eight bytes are ASCII and none is 0: a 0 byte borrows and sets its bit 7.
bool AsciiWithoutZero(std::uint64_t word) {
    return ((word | (word - kOnes)) & kHighs) == 0;
}

}  // namespace

Utf8Mapping::Utf8Mapping(const UnicodeTable& table) : table_(table) {
    for (std::uint32_t c = 0; c < 0x800; ++c) {
        unsigned char form[64];
        const auto length = static_cast<std::uint64_t>(
            PutMapped(form, table, static_cast<std::uint16_t>(c)) - form);
        std::uint64_t entry = 0;
        if (length < 8) {
            std::memcpy(&entry, form, length);
            entry |= length << 56;
        }
        prepared_[c] = entry;
        if (c >= 0x80 && length == 2) std::memcpy(&twoByteForms_[c], form, 2);
        if (c < 0x80 && (length != 1 || form[0] >= 0x80)) asciiStaysAscii_ = false;
    }
    // Find the one run of ASCII letters that flips bit 5, if the table has that shape.
    bool shaped = true;
    for (std::uint32_t c = 0; c < 0x80; ++c) {
        const auto mapped = static_cast<std::uint8_t>(prepared_[c]);
        if (mapped == c) continue;
        if ((mapped ^ c) != 0x20 || (asciiFirst_ <= asciiLast_ && asciiLast_ + 1u != c)) {
            shaped = false;
        }
        if (asciiFirst_ > asciiLast_) asciiFirst_ = static_cast<std::uint8_t>(c);
        asciiLast_ = static_cast<std::uint8_t>(c);
    }
    asciiByWords_ = shaped;
    if (asciiByWords_ && asciiStaysAscii_ && asciiFirst_ != 0 && asciiLast_ < 0x7F) {
        blocks_.emplace(prepared_, asciiFirst_, asciiLast_);
    }
}

std::uint64_t Utf8Mapping::MapAsciiWord(std::uint64_t word) const {
    // Bit 7 of each byte at or above asciiFirst_, and of each byte above asciiLast_; no
    // byte carries into the next, all being below 0x80.
    const std::uint64_t atLeastFirst = word + kOnes * (0x80u - asciiFirst_);
    const std::uint64_t aboveLast = word + kOnes * (0x7Fu - asciiLast_);
    const std::uint64_t inRange = atLeastFirst & ~aboveLast & kHighs;
    return word ^ (inRange >> 2);
}

bool Utf8Mapping::Map(std::string_view text, Utf8Text& result) const {
    if (!asciiStaysAscii_) return false;
    const auto* const begin = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = begin + text.size();
    const auto* in = begin;
    const std::size_t capacity = text.size() + kSlack;
    SqliteBytes buffer(static_cast<unsigned char*>(sqlite3_malloc64(capacity)));
    if (!buffer) return false;
    unsigned char* out = buffer.get();
    // Most texts the blocks map whole.
    if (blocks_) blocks_->Map(begin, in, end, out);
    if (in == end || *in == 0) {
        *out = 0;
        result.size = static_cast<std::size_t>(out - buffer.get());
        result.bytes = std::move(buffer);
        return true;
    }
    return MapRest(begin, in, end, std::move(buffer), out, capacity, result);
}

bool Utf8Mapping::MapRest(const unsigned char* begin, const unsigned char* in,
                          const unsigned char* end, SqliteBytes buffer, unsigned char* out,
                          std::size_t capacity, Utf8Text& result) const {
    // Between characters there is always room for the rest of the input at one byte per
    // byte plus kSlack; blocks never write more bytes than they read, storing at most
    // thirty-two bytes ahead.
    // The blocks have stopped at `in` already: that character goes on its own first.
    const unsigned char* blocksFrom = in != begin ? in + 1 : in + 16;
    while (in < end) {
        if (blocks_ && in >= blocksFrom) {
            const unsigned char* const blocksStart = in;
            blocks_->Map(begin, in, end, out);
            const bool mapped = in != blocksStart;
            if (in == end) break;
            // The character the blocks stopped at goes on its own; where they could not
            // start at all, the text goes on character by character for a stretch, so that
            // it does not pay for a block at every character.
            blocksFrom = mapped ? in : in + 16;
        }
        const unsigned lead = *in;
        if (lead < 0x80) {
            if (asciiByWords_) {
                std::uint64_t word;
                while (end - in >= 8 && (std::memcpy(&word, in, 8), AsciiWithoutZero(word))) {
                    word = MapAsciiWord(word);
                    std::memcpy(out, &word, 8);
                    in += 8;
                    out += 8;
                }
            }
            while (in < end && *in - 1u < 0x7Fu)
                *out++ = static_cast<unsigned char>(prepared_[*in++]);
            if (in < end && *in == 0) break;  // the mapping ends at the first 0, as over UTF-16
            continue;
        }
        // Runs of two-byte characters whose forms are two bytes too, the common case of
        // Latin, Greek and Cyrillic letters, need no room check. Overlong leads C0 and C1
        // have no such form.
        const unsigned char* const runStart = in;
        while (end - in >= 4) {  // two characters at a time
            std::uint32_t pairs;
            std::memcpy(&pairs, in, 4);
            if ((pairs & 0xC0E0C0E0u) != 0x80C080C0u) break;
            const std::uint32_t first =
                twoByteForms_[((pairs & 0x1F) << 6) | ((pairs >> 8) & 0x3F)];
            const std::uint32_t second =
                twoByteForms_[((pairs >> 10) & 0x7C0) | ((pairs >> 24) & 0x3F)];
            if (first == 0 || second == 0) break;
            const std::uint32_t forms = first | (second << 16);
            std::memcpy(out, &forms, 4);
            in += 4;
            out += 4;
        }
        while (end - in >= 2) {
            std::uint16_t pair;
            std::memcpy(&pair, in, 2);  // lead in the low byte
            if ((pair & 0xC0E0) != 0x80C0) break;
            const std::uint16_t form = twoByteForms_[((pair & 0x1F) << 6) | ((pair >> 8) & 0x3F)];
            if (form == 0) break;
            std::memcpy(out, &form, 2);
            in += 2;
            out += 2;
        }
        // A further continuation byte makes the last character a longer one.
        if (in != runStart && in < end && (*in & 0xC0) == 0x80) {
            in -= 2;
            out -= 2;
        }
        if (in == end || *in < 0x80) continue;
        const std::uint32_t c = DecodeUtf8(in, end);
        const std::uint64_t prepared = c < 0x800 ? prepared_[c] : 0;
        if (prepared != 0) {
            std::memcpy(out, &prepared, 8);
            out += prepared >> 56;
        } else if (c <= 0xFFFF) {
            out = PutMapped(out, table_, static_cast<std::uint16_t>(c));
        } else if (c <= 0x10FFFF) {
            // A surrogate pair over UTF-16; the tables leave surrogates as they are.
            out = PutUtf8(out, c);
        } else {
            return false;
        }
        const std::size_t used = static_cast<std::size_t>(out - buffer.get());
        const std::size_t needed = used + static_cast<std::size_t>(end - in) + kSlack;
        if (needed > capacity) {
            const std::size_t grown = capacity * 2 > needed ? capacity * 2 : needed;
            auto* larger = static_cast<unsigned char*>(sqlite3_realloc64(buffer.get(), grown));
            if (!larger) return false;
            buffer.release();
            buffer.reset(larger);
            capacity = grown;
            out = larger + used;
        }
    }
    *out = 0;
    result.size = static_cast<std::size_t>(out - buffer.get());
    result.bytes = std::move(buffer);
    return true;
}

namespace {

// Each table is prepared once, when first used; apart for each setting of UseWideVectors,
// since the blocks choose their routines when prepared.
template <const UnicodeTable& table, bool Wide>
const Utf8Mapping* Prepared() {
    static const Utf8Mapping mapping(table);
    return &mapping;
}

template <bool Wide>
const Utf8Mapping* PreparedFor(const UnicodeTable* table) {
    if (table == &kLowerTable) return Prepared<kLowerTable, Wide>();
    if (table == &kUpperTable) return Prepared<kUpperTable, Wide>();
    if (table == &kFoldTable) return Prepared<kFoldTable, Wide>();
    if (table == &kTitleTable) return Prepared<kTitleTable, Wide>();
    if (table == &kUnaccentTable) return Prepared<kUnaccentTable, Wide>();
    return nullptr;
}

}  // namespace

const Utf8Mapping* Utf8MappingFor(const UnicodeTable* table) {
#ifdef NIVRA_WIDE_VECTORS
    if (HasWideVectors()) return PreparedFor<true>(table);
#endif
    return PreparedFor<false>(table);
}

}  // namespace DataBase::Unicode
