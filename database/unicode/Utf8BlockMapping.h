#pragma once

#include <cstddef>
#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace DataBase::Unicode {

// A mapping applied to sixteen bytes of UTF-8 at once, for text of ASCII and two-byte
// characters under the leads D0 and D1 (basic Cyrillic), C3 and C2 (Latin-1), the letters
// of Russian and Western European text, as far as the mapping keeps those leads' characters
// at two bytes and describes them by a few runs of characters that shift alike. Mixed text
// then costs no branch at each change of script. Without SSE2 it maps nothing and the
// caller's character-by-character road does all the work.
class Utf8BlockMapping {
public:
    // `prepared`: per character below U+0800 its mapped UTF-8 form in the low bytes and their
    // count in the top byte (0: longer than seven bytes). ASCII letters from `asciiFirst` to
    // `asciiLast` (1 to 0x7E, or none when first > last) change case by bit 5 and all other
    // ASCII stays.
    Utf8BlockMapping(const std::uint64_t* prepared, std::uint8_t asciiFirst,
                     std::uint8_t asciiLast);

    // Maps the text from `in` (a character start) to `end` into `out`, sixteen bytes at a
    // time, and returns how many bytes it mapped: it stops at a 0 byte and before a
    // character it cannot take. The text starts at `begin`. Writes up to sixteen bytes
    // beyond what it maps.
    std::size_t Map(const unsigned char* begin, const unsigned char* in, const unsigned char* end,
                    unsigned char* out) const;

#ifdef __SSE2__
    // Characters are told apart by a key byte: the low two bits of the lead above the low six
    // of the continuation byte, unique among the leads taken. A run of keys shifts its
    // characters alike.
    struct KeyRun {
        __m128i first;      // first key
        __m128i span;       // last key minus first key
        __m128i leadDelta;  // added to the lead byte
        __m128i contDelta;  // added to the continuation byte
    };

    // Runs of every key from first to last, of every second key, and single keys, each
    // with or without a shift of the lead byte.
    enum Kind { kRange, kRangeLead, kStep, kStepLead, kSingle, kSingleLead, kKinds };

    // How many runs of each kind a block routine takes.
    struct Shape {
        std::size_t count[kKinds];
    };

private:
    static constexpr std::size_t kLeads = 4, kMaxRuns = 16;

    void Clear();
    bool AddLead(const std::uint64_t* prepared, unsigned lead, const Shape& shape);
    template <std::size_t Shape>
    std::size_t MapBlock(__m128i bytes, unsigned next, unsigned char* out) const;
    template <std::size_t Shape>
    std::size_t MapShaped(const unsigned char* begin, const unsigned char* in,
                          const unsigned char* end, unsigned char* out) const;

    __m128i leads_[kLeads] = {};
    KeyRun runs_[kKinds][kMaxRuns];
    std::size_t counts_[kKinds] = {};
    __m128i asciiBelow_, asciiAbove_;
    std::size_t leadCount_ = 0;
    std::size_t shape_ = 0;  // which block routine
#endif
};

}  // namespace DataBase::Unicode
