#include "database/unicode/AsciiKeySearch.h"

#include <array>
#include <bit>
#include <cstring>
#include <utility>

#include "database/unicode/WideVectors.h"

// Every build has SSE2: x86_64, and 32-bit Windows built with -msse2.
#ifndef __SSE2__
#error "the search needs SSE2"
#endif
#include <emmintrin.h>
#ifdef NIVRA_WIDE_VECTORS
#include <immintrin.h>
#endif

#include "database/unicode/Reduction.h"
#include "database/unicode/Utf8Decoder.h"

namespace DataBase::Unicode {

using Follower = AsciiKeySearch::Follower;

namespace {

constexpr std::size_t kRanges = 3;

// Leads from first to last; none when first > last.
struct LeadRange {
    std::uint8_t first = 1, last = 0;

    unsigned size() const { return first > last ? 0u : last + 1u - first; }
};

}  // namespace

// Lead bytes of two-byte characters none of which reduces to an ASCII character, such as
// the Cyrillic D0..D4: a search for an ASCII key can step over such a character unread.
struct SkippableLeads {
    std::array<bool, 256> lead{};
    bool allOfD0ToDF = false;  // the whole range D0..DF, testable eight bytes at a time
    // Per ASCII key, the three longest ranges of leads none of whose two-byte characters
    // reduces to that key, testable sixteen bytes at a time: for most letters they take in
    // Latin-1, further Latin and Cyrillic.
    std::array<std::array<LeadRange, kRanges>, 128> ranges{};
};

namespace {

// The longest runs of leads C2..DF outside `candidates` (bit n: lead 0xC0 + n).
std::array<LeadRange, kRanges> LongestSkippableRuns(std::uint32_t candidates) {
    std::array<LeadRange, kRanges> longest{};
    unsigned start = 0;
    for (unsigned n = 2; n <= 0x20; ++n) {
        const bool skippable = n < 0x20 && !(candidates >> n & 1);
        if (skippable && start == 0) start = n;
        if (skippable || start == 0) continue;
        const LeadRange run{static_cast<std::uint8_t>(0xC0 + start),
                            static_cast<std::uint8_t>(0xC0 + n - 1)};
        // Insert in order of size, dropping the shortest.
        LeadRange moving = run;
        for (LeadRange& kept : longest) {
            if (moving.size() > kept.size()) std::swap(moving, kept);
        }
        start = 0;
    }
    return longest;
}

const SkippableLeads& LeadsNeverReducingToAscii() {
    static const SkippableLeads leads = [] {
        SkippableLeads result;
        for (unsigned lead = 0xC2; lead <= 0xDF; ++lead) {
            const unsigned first = (lead & 0x1F) << 6;
            bool never = true;
            for (unsigned c = first; c < first + 64; ++c) {
                never = never && kQuickReduction[c] >= 0x80;
            }
            result.lead[lead] = never;
        }
        result.allOfD0ToDF = true;
        for (unsigned lead = 0xD0; lead <= 0xDF; ++lead) {
            result.allOfD0ToDF = result.allOfD0ToDF && result.lead[lead];
        }
        std::array<std::uint32_t, 128> candidateLeads{};  // bit n: lead 0xC0 + n
        for (unsigned c = 0x80; c < 0x800; ++c) {
            if (kQuickReduction[c] < 0x80) candidateLeads[kQuickReduction[c]] |= 1u << (c >> 6);
        }
        for (unsigned key = 0; key < 128; ++key) {
            result.ranges[key] = LongestSkippableRuns(candidateLeads[key]);
        }
        return result;
    }();
    return leads;
}

// The eight-byte tests read memory order from the lowest byte up.
static_assert(std::endian::native == std::endian::little);

constexpr std::uint64_t kOnes = 0x0101010101010101u;
constexpr std::uint64_t kHighs = 0x8080808080808080u;

// Bit 7 of every byte of `word` that equals `byte`, up to and including the first such byte
// (above it the borrow may mark bytes that do not).
inline std::uint64_t BytesEqual(std::uint64_t word, std::uint32_t byte) {
    const std::uint64_t x = word ^ (kOnes * byte);
    return (x - kOnes) & ~x & kHighs;
}

// How many of the eight bytes at `s` (a character start) can be passed over in a search for
// the ASCII `key`: they hold only ASCII bytes other than the key's two cases, and two-byte
// characters with a lead in D0..DF (when `leadsD0ToDF`) and exactly one continuation byte.
// Stops before the first byte that does not qualify, at a character boundary.
inline std::size_t SkippableRun(const unsigned char* s, std::uint32_t key, std::uint32_t otherCase,
                                bool leadsD0ToDF) {
    std::uint64_t word;
    std::memcpy(&word, s, 8);  // memory order from the lowest byte up
    const std::uint64_t high = word & kHighs;
    std::uint64_t bad = BytesEqual(word, key) | BytesEqual(word, otherCase);
    if (leadsD0ToDF) {
        // Bit 7 of each byte: continuation 10xxxxxx, lead 1101xxxx.
        const std::uint64_t continuation = high & ~(word << 1);
        const std::uint64_t lead = high & (word << 1) & ~(word << 2) & (word << 3);
        bad |= (high & ~(continuation | lead)) | (lead & ~(continuation >> 8)) |
               (continuation & ~(lead << 8));
    } else {
        bad |= high;
    }
    if (bad == 0) {
        // A last continuation byte may be followed by more: read that character whole.
        return (word >> 56) < 0x80 ? 8 : 6;
    }
    std::size_t run = static_cast<std::size_t>(std::countr_zero(bad)) / 8;
    // A continuation byte that does not qualify may belong to the character before it.
    if (run > 0 && (s[run] & 0xC0) == 0x80 && s[run - 1] >= 0x80) {
        run -= (s[run - 1] & 0xC0) == 0x80 ? 2 : 1;
    }
    return run;
}

// The start of the character holding `p` (a character start or a byte the search below has
// not passed): a continuation byte belongs to a lead just before it, or to the lead before
// a continuation just before it, which the search passed only after a skippable lead.
const unsigned char* CharacterStart(const unsigned char* p, const unsigned char* start) {
    if (p == start || (*p & 0xC0) != 0x80 || p[-1] < 0x80) return p;
    return p[-1] >= 0xC0 ? p - 1 : p - 2;
}

}  // namespace

// Bit i: byte i of the sixteen at `p` may start a character reducing to `key`, given
// whether the byte before them is a skippable lead. Such a byte is one of the key's two
// cases (followed by a byte that may start the follower), a lead outside the key's ranges
// of skippable leads, or a continuation byte that does not directly follow a skippable lead.
struct SixteenByteTest {
    __m128i keys, otherCases, firstBelow[kRanges], lastAbove[kRanges];

    SixteenByteTest() = default;
    SixteenByteTest(std::uint32_t key, std::uint32_t otherCase, const SkippableLeads& skippable)
        : keys(Splat(key)), otherCases(Splat(otherCase)) {
        for (std::size_t i = 0; i < kRanges; ++i) {
            firstBelow[i] = Splat(skippable.ranges[key][i].first - 1u);
            lastAbove[i] = Splat(skippable.ranges[key][i].last + 1u);
        }
    }

    static __m128i InRange(__m128i bytes, __m128i below, __m128i above) {
        return _mm_and_si128(_mm_cmpgt_epi8(bytes, below), _mm_cmplt_epi8(bytes, above));
    }

    static __m128i Splat(unsigned byte) { return _mm_set1_epi8(static_cast<char>(byte)); }

    // Signed compares: continuation bytes are -128..-65, leads -64..-1, ASCII 0..127.
    unsigned Candidates(const unsigned char* p, __m128i& skippableLeads, __m128i before,
                        const Follower& follower) const {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i zero = _mm_setzero_si128();
        const __m128i continuation = _mm_cmplt_epi8(bytes, Splat(0xC0));
        const __m128i lead =
            _mm_and_si128(_mm_cmpgt_epi8(bytes, Splat(0xBF)), _mm_cmplt_epi8(bytes, zero));
        skippableLeads = InRange(bytes, firstBelow[0], lastAbove[0]);
        for (std::size_t i = 1; i < kRanges; ++i) {
            skippableLeads =
                _mm_or_si128(skippableLeads, InRange(bytes, firstBelow[i], lastAbove[i]));
        }
        const __m128i afterSkippable = _mm_or_si128(_mm_slli_si128(skippableLeads, 1), before);
        const __m128i key =
            _mm_or_si128(_mm_cmpeq_epi8(bytes, keys), _mm_cmpeq_epi8(bytes, otherCases));
        __m128i candidate = _mm_andnot_si128(skippableLeads, lead);
        candidate = _mm_or_si128(candidate, _mm_andnot_si128(afterSkippable, continuation));
        // Bytes that may start the follower: its two cases or any byte of a longer character.
        // The last key byte's follower lies beyond the sixteen and is taken as possible.
        const auto follows = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, Splat(follower.key)),
                                      _mm_cmpeq_epi8(bytes, Splat(follower.otherCase))),
                         _mm_cmplt_epi8(bytes, zero))));
        const unsigned followed = follower.any ? 0xFFFFu : (follows >> 1) | 0x8000u;
        return static_cast<unsigned>(_mm_movemask_epi8(candidate)) |
               (static_cast<unsigned>(_mm_movemask_epi8(key)) & followed);
    }
};

namespace {

// Passes over sixteen bytes at a time from `s` (a character start) while they hold no
// candidate; the last bytes are tested as the sixteen that end the text, when the search
// covers that many. Returns the character start where the exact search must look:
// the first candidate's, or `end`, or where fewer than sixteen bytes remain.
const unsigned char* SkipSixteenAtATime(const unsigned char* s, const unsigned char* end,
                                        const SixteenByteTest& test, const Follower& follower) {
    const unsigned char* const start = s;
    __m128i skippableLeads;
    __m128i before = _mm_setzero_si128();  // lane 0: whether the byte before is a skippable lead
    for (; end - s >= 16; s += 16) {
        const unsigned candidates = test.Candidates(s, skippableLeads, before, follower);
        if (candidates != 0) return CharacterStart(s + std::countr_zero(candidates), start);
        before = _mm_srli_si128(skippableLeads, 15);
    }
    if (s == end) return s;
    // The bytes before `s` in this window were passed already, so the byte before `s` is
    // judged from what it is.
    const unsigned char* const window = end - 16;
    const auto passed = static_cast<unsigned>(s - window);
    const unsigned candidates =
        test.Candidates(window, skippableLeads, _mm_setzero_si128(), follower) & (~0u << passed);
    if (candidates != 0) return CharacterStart(window + std::countr_zero(candidates), start);
    return end;
}

#ifdef NIVRA_WIDE_VECTORS
[[gnu::target("avx2")]] inline __m256i Wide(const __m128i& value) {
    return _mm256_broadcastsi128_si256(value);
}

// One block of thirty-two bytes as bit masks: the key's two cases where the follower may
// follow and leads outside the skippable ranges, continuation bytes, and skippable leads.
struct WideMasks {
    std::uint32_t candidates, continuations, skippable;
};

[[gnu::target("avx2"), gnu::always_inline]] inline WideMasks WideTest(const unsigned char* p,
                                                                      const SixteenByteTest& test,
                                                                      const Follower& follower) {
    const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i zero = _mm256_setzero_si256();
    // Signed compares: continuation bytes are -128..-65, leads -64..-1, ASCII 0..127.
    const __m256i continuation = _mm256_cmpgt_epi8(_mm256_set1_epi8(-64), bytes);
    const __m256i lead = _mm256_and_si256(_mm256_cmpgt_epi8(bytes, _mm256_set1_epi8(-65)),
                                          _mm256_cmpgt_epi8(zero, bytes));
    __m256i skippableLeads = zero;
#pragma GCC unroll 4
    for (std::size_t i = 0; i < kRanges; ++i) {
        skippableLeads = _mm256_or_si256(
            skippableLeads, _mm256_and_si256(_mm256_cmpgt_epi8(bytes, Wide(test.firstBelow[i])),
                                             _mm256_cmpgt_epi8(Wide(test.lastAbove[i]), bytes)));
    }
    const __m256i key = _mm256_or_si256(_mm256_cmpeq_epi8(bytes, Wide(test.keys)),
                                        _mm256_cmpeq_epi8(bytes, Wide(test.otherCases)));
    const auto follows = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_or_si256(
        _mm256_or_si256(
            _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8(static_cast<char>(follower.key))),
            _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8(static_cast<char>(follower.otherCase)))),
        _mm256_cmpgt_epi8(zero, bytes))));
    const std::uint32_t followed = follower.any ? ~std::uint32_t{0} : (follows >> 1) | 0x80000000u;
    const auto others =
        static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_andnot_si256(skippableLeads, lead)));
    return {others | (static_cast<std::uint32_t>(_mm256_movemask_epi8(key)) & followed),
            static_cast<std::uint32_t>(_mm256_movemask_epi8(continuation)),
            static_cast<std::uint32_t>(_mm256_movemask_epi8(skippableLeads))};
}

// The same search thirty-two bytes at a time, where the processor has AVX2.
[[gnu::target("avx2")]] const unsigned char* SkipThirtyTwoAtATime(const unsigned char* s,
                                                                  const unsigned char* end,
                                                                  const SixteenByteTest& test,
                                                                  const Follower& follower) {
    const unsigned char* const start = s;
    std::uint32_t before = 0;  // bit 0: whether the byte before is a skippable lead
    for (; end - s >= 32; s += 32) {
        const WideMasks block = WideTest(s, test, follower);
        const std::uint32_t candidates =
            block.candidates | (block.continuations & ~((block.skippable << 1) | before));
        if (candidates != 0) return CharacterStart(s + std::countr_zero(candidates), start);
        before = block.skippable >> 31;
    }
    if (s == end) return s;
    // The bytes before `s` in this window were passed already, so the byte before `s` is
    // judged from what it is.
    const unsigned char* const window = end - 32;
    const auto passed = static_cast<unsigned>(s - window);
    const WideMasks block = WideTest(window, test, follower);
    const std::uint32_t candidates =
        (block.candidates | (block.continuations & ~(block.skippable << 1))) &
        (~std::uint32_t{0} << passed);
    if (candidates != 0) return CharacterStart(window + std::countr_zero(candidates), start);
    return end;
}
#endif

// The ASCII letters' two cases; other characters have one.
std::uint32_t OtherCase(std::uint32_t key) {
    return key - 'a' < 26u ? key - ('a' - 'A') : key;
}

// The test of every ASCII key, made once: a search often stops after a few bytes, where
// making its test would cost more than the search.
const SixteenByteTest& SixteenByteTestFor(std::uint32_t key, const SkippableLeads& skippable) {
    static const auto tests = [&] {
        std::array<SixteenByteTest, 128> all;
        for (std::uint32_t k = 0; k < 128; ++k)
            all[k] = SixteenByteTest(k, OtherCase(k), skippable);
        return all;
    }();
    return tests[key];
}

}  // namespace

AsciiKeySearch::AsciiKeySearch(std::uint32_t key, std::optional<std::uint32_t> next)
    : skippable_(&LeadsNeverReducingToAscii()),
      test_(&SixteenByteTestFor(key, *skippable_)),
      follower_{next.value_or(0), OtherCase(next.value_or(0)), !next},
      key_(key),
      otherCase_(OtherCase(key)) {
#ifdef NIVRA_WIDE_VECTORS
    wide_ = HasWideVectors();
#endif
}

// Many bytes at a time while they hold no candidate; two-byte characters under a lead that
// never reduces to ASCII (Cyrillic among them) are stepped over unread.
const unsigned char* AsciiKeySearch::Find(const unsigned char* s, const unsigned char* end,
                                          const unsigned char*& after) const {
    while (s < end) {
#ifdef NIVRA_WIDE_VECTORS
        if (wide_ && end - s >= 32) {
            s = SkipThirtyTwoAtATime(s, end, *test_, follower_);
            if (s == end) break;
        } else
#endif
            if (end - s >= 16) {
            s = SkipSixteenAtATime(s, end, *test_, follower_);
            if (s == end) break;
        } else if (end - s >= 8) {
            if (const std::size_t run =
                    SkippableRun(s, key_, otherCase_, skippable_->allOfD0ToDF)) {
                s += run;
                continue;
            }
        }
        const unsigned byte = *s;
        if (byte < 0x80) {
            if (kQuickReduction[byte] == key_) {
                after = s + 1;
                return s;
            }
            ++s;
            continue;
        }
        // Exactly one continuation byte: a character below 0x800 that cannot match.
        if (skippable_->lead[byte] && end - s >= 2 && (s[1] & 0xC0) == 0x80 &&
            (end - s == 2 || (s[2] & 0xC0) != 0x80)) {
            s += 2;
            continue;
        }
        const unsigned char* next = s;
        if (Reduce(DecodeUtf8(next, end)) == key_) {
            after = next;
            return s;
        }
        s = next;
    }
    return nullptr;
}

}  // namespace DataBase::Unicode
