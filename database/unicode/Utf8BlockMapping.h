#pragma once

// Words used here and in the block routines:
//   lead   the first byte of a two-byte character, C2 to DF. A block takes at most four
//          (D0, D1, C3, C2: Cyrillic and Latin-1), each only where the mapping keeps all its
//          sixty-four characters at two bytes and the shape holds their runs.
//   key    what tells a character under a taken lead: the lead's low two bits above the low
//          six of its continuation byte (Ё, D0 81: key 01; ж, D0 B6: key 36).
//   run    keys from first to last, every one or every second, whose characters shift alike:
//          one byte added to the lead, one to the continuation byte.
//   shape  how many runs of each kind a block routine applies; the mapping takes the cheapest
//          shape that holds the runs of the most leads, when it is prepared.
//   stop   a block maps the bytes before the first character it cannot take (a lead not
//          taken, a longer character, a 0 byte); that character goes on its own.
//   drop   thirty-two bytes at a time, unaccent leaves out of a block the bytes a Latin-1
//          letter no longer needs (é, C3 A9, becomes e); sixteen-byte blocks drop nothing.
//
// For example, lower() of a text starting "Ёж OK € ЖД": its first sixteen bytes are
//   D0 81 | D0 B6 | 20 | 4F | 4B | 20 | E2 82 AC | 20 | D0 96 | D0 94
//   Ё       ж       ␣    O    K    ␣    €          ␣    Ж       Д
// ASCII letters change case by bit 5: O K become o k. Ё, key 01, lies in the run of keys
// 00 to 0F that adds 1 to the lead and 10 to the continuation byte: D1 91, ё. ж, key 36,
// lies in no run and stays. E2 is no taken lead, so the block stops there with its first
// eight bytes mapped, each in the place of its input byte; € goes on its own, and the next
// block starts at the space after it, with Ж and Д in its run of keys 10 to 1F (+20).

#include <cstddef>
#include <cstdint>

#include "database/unicode/WideVectors.h"

// Every build has SSE2: x86_64, and 32-bit Windows built with -msse2.
#ifndef __SSE2__
#error "the block mappings need SSE2"
#endif
#include <emmintrin.h>
#ifdef NIVRA_WIDE_VECTORS
#include <immintrin.h>
#endif

namespace DataBase::Unicode {

// A mapping applied to sixteen bytes of UTF-8 at once, for text of ASCII and two-byte
// characters under the leads D0 and D1 (basic Cyrillic), C3 and C2 (Latin-1), the letters
// of Russian and Western European text, as far as the mapping keeps those leads' characters
// at two bytes and describes them by a few runs of characters that shift alike. Mixed text
// then costs no branch at each change of script. Thirty-two bytes at a time, unaccent's
// blocks also take the Latin-1 letters that lose their accents, leaving out the bytes they
// no longer need.
class Utf8BlockMapping {
public:
    // `prepared`: per character below U+0800 its mapped UTF-8 form in the low bytes and their
    // count in the top byte (0: longer than seven bytes); kept, it must outlive the mapping. ASCII
    // letters from `asciiFirst` to `asciiLast` (1 to 0x7E, or none when first > last) change case
    // by bit 5 and all other ASCII stays.
    Utf8BlockMapping(const std::uint64_t* prepared, std::uint8_t asciiFirst,
                     std::uint8_t asciiLast);

    // Maps the text from `in` (a character start) to `end` into `out`, sixteen bytes at a
    // time (thirty-two where the processor has AVX2), advancing `in` and `out` over what it
    // mapped, never `out` further than `in`: it stops at a 0 byte and before a character it
    // cannot take. The text starts at `begin`. Writes up to thirty-two bytes beyond `out`.
    void Map(const unsigned char* begin, const unsigned char*& in, const unsigned char* end,
             unsigned char*& out) const {
        if (routine_) routine_(*this, begin, in, end, out);
    }

    // One byte repeated, as wide as the widest register it is loaded into.
    struct Repeated {
        alignas(32) std::uint8_t bytes[32];
    };

    // Characters are told apart by a key byte: the low two bits of the lead above the low six
    // of the continuation byte, unique among the leads taken. A run of keys shifts its
    // characters alike.
    struct KeyRun {
        Repeated first;      // first key
        Repeated span;       // last key minus first key
        Repeated leadDelta;  // added to the lead byte
        Repeated contDelta;  // added to the continuation byte
    };

    // Runs of every key from first to last, of every second key, and single keys, each
    // with or without a shift of the lead byte.
    enum Kind { kRange, kRangeLead, kStep, kStepLead, kSingle, kSingleLead, kKinds };
    static constexpr std::size_t kMaxRuns = 16;  // of each kind
    using Runs = KeyRun[kKinds][kMaxRuns];

    // How many runs of each kind a block routine takes: runs it applies to every block, and
    // runs of characters outside the Russian alphabet, applied only to a block that holds
    // such a character. Where a routine takes none of the latter, all runs go to every block.
    struct Shape {
        std::size_t count[kKinds];
        std::size_t rare[kKinds];
        // Where the processor can look bytes up, the thirty-two-byte blocks take all four
        // leads by key classes: characters under C3 are looked up one by one, each kept as it
        // is, made one ASCII byte or stopped at (the accents dropped from Latin-1 letters),
        // and any other character that is not a Russian letter and changes is stopped at.
        bool looksUpLatin;
    };

    // The block routines there are, cheapest first, as runs of each kind. Lower case takes
    // the first, fold and the upper cases the second, the base forms of Cyrillic letters the
    // third: of those only Ё, ё, Й and й are Russian letters, the other Cyrillic letters
    // that change are rare in text.
    static constexpr Shape kShapes[] = {
        {{3, 2, 1, 0, 0, 0}, {}, false},
        {{3, 2, 1, 0, 0, 2}, {}, false},
        {{0, 0, 0, 0, 3, 1}, {2, 0, 0, 0, 8, 4}, true},
    };

    static constexpr bool KeepsRare(const Shape& shape) {
        for (const std::size_t count : shape.rare) {
            if (count != 0) return true;
        }
        return false;
    }

    // Whether a key is one of a Russian letter under D0 or D1: А to я and Ё, ё.
    static constexpr bool RussianKey(unsigned key) {
        return (key >= 0x10 && key <= 0x4F) || key == 0x01 || key == 0x51;
    }

    // Lead bytes a block takes; unused places repeat the first.
    static constexpr std::size_t kLeads = 4;

#ifdef NIVRA_WIDE_VECTORS
    // Sixteen bytes looked up by a nibble, as wide as the widest register (once per half).
    struct NibbleTable {
        alignas(32) std::uint8_t bytes[32];
    };

    // The runs for every block told apart by classes of keys, where the processor can look
    // bytes up in a register: each class is a set of high nibbles by a set of low nibbles,
    // with one bit, so a key's class is its high nibble's bits and its low nibble's, and its
    // shifts are looked up by that bit. Eight classes at most; the rare runs stay runs.
    struct KeyClasses {
        NibbleTable byHigh, byLow;          // class bits of each nibble
        NibbleTable leadByLow, leadByHigh;  // lead shift of classes 0-3, 4-7, by bit
        NibbleTable contByLow, contByHigh;  // continuation shift, alike
        // Keys looked up or stopped at, by rectangles of their own: eight at most.
        NibbleTable specialByHigh, specialByLow;
    };
    static constexpr std::size_t kMaxClasses = 8;

    // Vector operations of the runs a shape applies to every block, and of the key classes
    // in their stead; the classes go only where they are fewer.
    static constexpr std::size_t RunOperations(const Shape& shape) {
        constexpr std::size_t kPerRun[kKinds] = {5, 7, 8, 10, 3, 5};
        std::size_t operations = 0;
        for (std::size_t kind = 0; kind < kKinds; ++kind)
            operations += shape.count[kind] * kPerRun[kind];
        return operations;
    }
    static constexpr std::size_t kClassOperations = 15;

    // What each character under C3 becomes in a shape that looks them up, by bits 4-5 of its
    // key and then the low nibble: 0 for itself, an ASCII byte, or kStop.
    using LatinTable = NibbleTable[4];
    static constexpr std::uint8_t kStop = 0xFF;
    static constexpr unsigned kLatinLead = 0xC3;

    // The bytes a thirty-two-byte block mapped right, a bit per byte, and those of them
    // left out of its output, packed together.
    struct Mapped {
        std::uint32_t whole;
        std::uint32_t dropped;
    };
#endif

private:
    using Routine = void (*)(const Utf8BlockMapping&, const unsigned char*, const unsigned char*&,
                             const unsigned char*, unsigned char*&);

    void Clear();
    __m128i AsciiCase(__m128i bytes) const;
    // Maps the two-byte character at `in` whose form is one or two bytes, which keeps the
    // output within the input's length, advancing `in` and `out`; false for any other.
    bool StepOver(const unsigned char*& in, const unsigned char* end, unsigned char*& out) const;
    // The ways a block routine goes: sixteen bytes at a time; thirty-two, with the runs;
    // thirty-two, with the key classes, prepared. The wide ones only where they are built.
    enum Way : std::size_t { kSixteen, kWide, kWideByClasses };
    void ChooseRoutine(std::size_t way);
    bool AddLead(const std::uint64_t* prepared, unsigned lead, const Shape& shape);
    template <std::size_t Shape>
    unsigned MapBlock(__m128i bytes, unsigned next, unsigned char* out) const;
    template <std::size_t Shape, bool Wide, bool Classes>
    static void MapWith(const Utf8BlockMapping& self, const unsigned char* begin,
                        const unsigned char*& in, const unsigned char* end, unsigned char*& out);
    template <std::size_t Shape>
    void MapShaped(const unsigned char* begin, const unsigned char*& in, const unsigned char* end,
                   unsigned char*& out) const;
#ifdef NIVRA_WIDE_VECTORS
    // Key classes of the shifts of every key and of the keys marked `special`.
    bool PrepareClasses(const std::uint8_t* leadDelta, const std::uint8_t* contDelta,
                        const bool* special);
    bool PrepareRunClasses();
    bool PrepareLatinClasses();
    // Thirty-two bytes at a time, the last ones padded with zeros, advancing `in` and `out`;
    // a text too short for that goes sixteen bytes at a time.
    // With `Classes`, the runs for every block go by the key classes.
    template <std::size_t Shape, bool Classes>
    void MapWide(const unsigned char* begin, const unsigned char*& in, const unsigned char* end,
                 unsigned char*& out) const;
    template <std::size_t Shape, bool Classes>
    void ShiftCommon(__m256i key, __m256i& leadDelta, __m256i& contDelta) const;
    template <std::size_t Shape, bool Classes>
    Mapped WideBlock(const unsigned char* in, unsigned next, unsigned char* out) const;
#endif

    Repeated leads_[kLeads] = {};
#ifdef NIVRA_WIDE_VECTORS
    // C2 and D0, and the mask that makes C3 and D1 them; held here, the blocks read them as
    // operands rather than build them in registers.
    Repeated pairedLeads_[3] = {};
    LatinTable latin_ = {};
#endif
    const std::uint64_t* prepared_;
    Runs runs_;
    std::size_t counts_[kKinds] = {};  // then the rare runs from kShapes[shape_].count on
    std::size_t rareCounts_[kKinds] = {};
    Repeated asciiBelow_, asciiAbove_;
#ifdef NIVRA_WIDE_VECTORS
    KeyClasses classes_ = {};
#endif
    std::size_t leadCount_ = 0;
    std::size_t shape_ = 0;      // which block routine
    Routine routine_ = nullptr;  // the block routine for the shape and the processor
};

}  // namespace DataBase::Unicode
