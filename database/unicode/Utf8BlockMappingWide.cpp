// The block mapping thirty-two bytes at a time, for processors with AVX2: the same steps as
// the sixteen-byte blocks, on registers twice as wide.

#include "database/unicode/Utf8BlockMapping.h"

#ifdef NIVRA_WIDE_VECTORS

#include <immintrin.h>

#include <bit>

namespace DataBase::Unicode {

namespace {

using KeyRun = Utf8BlockMapping::KeyRun;

// A byte repeated or a table of sixteen bytes, both held twice over as thirty-two.
template <typename Bytes>
[[gnu::target("avx2,popcnt")]] inline __m256i Wide(const Bytes& bytes) {
    static_assert(sizeof bytes.bytes == 32 && alignof(Bytes) == 32);
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(bytes.bytes));
}

[[gnu::target("avx2,popcnt")]] inline __m256i Splat(unsigned byte) {
    return _mm256_set1_epi8(static_cast<char>(byte));
}

// Byte i of the result is byte i - 1 of `x` (0 for the first).
[[gnu::target("avx2,popcnt")]] inline __m256i FromBefore(__m256i x) {
    return _mm256_alignr_epi8(x, _mm256_permute2x128_si256(x, x, 0x08), 15);
}

// Byte i of the result is byte i + 1 of `x` (0 for the last).
[[gnu::target("avx2,popcnt")]] inline __m256i FromAfter(__m256i x) {
    return _mm256_alignr_epi8(_mm256_permute2x128_si256(x, x, 0x81), x, 1);
}

[[gnu::target("avx2,popcnt")]] inline __m256i Load(const unsigned char* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

// Bit 5 of each ASCII letter of `bytes` that changes case, those above `below` and under
// `above`.
[[gnu::target("avx2,popcnt")]] inline __m256i WideAsciiCase(
    __m256i bytes, const Utf8BlockMapping::Repeated& below,
    const Utf8BlockMapping::Repeated& above) {
    return _mm256_and_si256(_mm256_and_si256(_mm256_cmpgt_epi8(bytes, Wide(below)),
                                             _mm256_cmpgt_epi8(Wide(above), bytes)),
                            Splat(0x20));
}

// Stores thirty-two ASCII bytes with their case changed; a bit per byte but 0.
[[gnu::target("avx2,popcnt")]] inline std::uint32_t StoreWideAscii(__m256i bytes, __m256i asciiCase,
                                                                   unsigned char* out) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_xor_si256(bytes, asciiCase));
    return ~static_cast<std::uint32_t>(
        _mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, _mm256_setzero_si256())));
}

// Continuation bytes 10xxxxxx, signed: -128..-65.
[[gnu::target("avx2,popcnt")]] inline __m256i Continuation(__m256i x) {
    return _mm256_cmpgt_epi8(Splat(0xC0), x);
}

// Bytes equal to one of the four leads.
static_assert(Utf8BlockMapping::kLeads == 4);
[[gnu::target("avx2,popcnt")]] inline __m256i TakenLead(const Utf8BlockMapping::Repeated* leads,
                                                        __m256i x) {
    return _mm256_or_si256(
        _mm256_or_si256(_mm256_cmpeq_epi8(x, Wide(leads[0])), _mm256_cmpeq_epi8(x, Wide(leads[1]))),
        _mm256_or_si256(_mm256_cmpeq_epi8(x, Wide(leads[2])),
                        _mm256_cmpeq_epi8(x, Wide(leads[3]))));
}

// Bytes equal to any of four leads that are two pairs of one even and one odd byte, given the
// even ones and a mask of all bits but the lowest.
[[gnu::target("avx2,popcnt")]] inline __m256i PairedLead(const Utf8BlockMapping::Repeated* pairs,
                                                         __m256i x) {
    const __m256i even = _mm256_and_si256(x, Wide(pairs[2]));
    return _mm256_or_si256(_mm256_cmpeq_epi8(even, Wide(pairs[0])),
                           _mm256_cmpeq_epi8(even, Wide(pairs[1])));
}

// The key of a pair: the low two bits of its lead above the low six of its continuation byte.
[[gnu::target("avx2,popcnt")]] inline __m256i KeyOf(__m256i lead, __m256i cont) {
    return _mm256_or_si256(_mm256_and_si256(cont, Splat(0x3F)),
                           _mm256_slli_epi16(_mm256_and_si256(lead, Splat(3)), 6));
}

// Whether a pair ending in `ends` holds a character that is not a Russian letter.
[[gnu::target("avx2,popcnt")]] inline bool NotRussian(__m256i key, __m256i ends) {
    const __m256i fromA = _mm256_sub_epi8(key, Splat(0x10));
    const __m256i russian = _mm256_or_si256(
        _mm256_cmpeq_epi8(_mm256_min_epu8(fromA, Splat(0x3F)), fromA),
        _mm256_or_si256(_mm256_cmpeq_epi8(key, Splat(0x01)), _mm256_cmpeq_epi8(key, Splat(0x51))));
    return _mm256_movemask_epi8(_mm256_andnot_si256(russian, ends)) != 0;
}

// Adds the shifts of `Count` runs of one kind to the keys they hold.
template <std::size_t Count, bool Step, bool Single, bool Lead>
[[gnu::target("avx2,popcnt")]] inline void Shift(const KeyRun* runs, __m256i key,
                                                 __m256i& leadDelta, __m256i& contDelta) {
#pragma GCC unroll 16
    for (std::size_t i = 0; i < Count; ++i) {
        __m256i hit;
        if constexpr (Single) {
            hit = _mm256_cmpeq_epi8(key, Wide(runs[i].first));
        } else {
            __m256i x = _mm256_sub_epi8(key, Wide(runs[i].first));  // in the run: at most span
            if constexpr (Step) {
                // An odd distance gains bit 7, which puts it beyond every span.
                x = _mm256_or_si256(x, _mm256_slli_epi16(_mm256_and_si256(x, Splat(1)), 7));
            }
            hit = _mm256_cmpeq_epi8(_mm256_min_epu8(x, Wide(runs[i].span)), x);
        }
        if constexpr (Lead) {
            leadDelta = _mm256_or_si256(leadDelta, _mm256_and_si256(hit, Wide(runs[i].leadDelta)));
        }
        contDelta = _mm256_or_si256(contDelta, _mm256_and_si256(hit, Wide(runs[i].contDelta)));
    }
}

// Adds the shifts of the runs a shape applies to every block or, with `Rare`, of its rare runs.
template <std::size_t ShapeIndex, bool Rare>
[[gnu::target("avx2,popcnt")]] inline void ShiftAll(const Utf8BlockMapping::Runs& runs, __m256i key,
                                                    __m256i& leadDelta, __m256i& contDelta) {
    using U = Utf8BlockMapping;
    static constexpr std::size_t kNone[U::kKinds] = {};
    constexpr const std::size_t* count =
        Rare ? U::kShapes[ShapeIndex].rare : U::kShapes[ShapeIndex].count;
    // The rare runs of a kind follow those for every block.
    constexpr const std::size_t* at = Rare ? U::kShapes[ShapeIndex].count : kNone;
    Shift<count[U::kRange], false, false, false>(runs[U::kRange] + at[U::kRange], key, leadDelta,
                                                 contDelta);
    Shift<count[U::kRangeLead], false, false, true>(runs[U::kRangeLead] + at[U::kRangeLead], key,
                                                    leadDelta, contDelta);
    Shift<count[U::kStep], true, false, false>(runs[U::kStep] + at[U::kStep], key, leadDelta,
                                               contDelta);
    Shift<count[U::kStepLead], true, false, true>(runs[U::kStepLead] + at[U::kStepLead], key,
                                                  leadDelta, contDelta);
    Shift<count[U::kSingle], false, true, false>(runs[U::kSingle] + at[U::kSingle], key, leadDelta,
                                                 contDelta);
    Shift<count[U::kSingleLead], false, true, true>(runs[U::kSingleLead] + at[U::kSingleLead], key,
                                                    leadDelta, contDelta);
}

// Adds the shifts of the runs for every block, looked up by the classes of the keys.
[[gnu::target("avx2,popcnt")]] inline void ShiftByClasses(
    const Utf8BlockMapping::KeyClasses& classes, __m256i key, __m256i& leadDelta,
    __m256i& contDelta) {
    const __m256i nibble = Splat(0x0F);
    const __m256i bits =
        _mm256_and_si256(_mm256_shuffle_epi8(Wide(classes.byHigh),
                                             _mm256_and_si256(_mm256_srli_epi16(key, 4), nibble)),
                         _mm256_shuffle_epi8(Wide(classes.byLow), _mm256_and_si256(key, nibble)));
    const __m256i low = _mm256_and_si256(bits, nibble);
    const __m256i high = _mm256_and_si256(_mm256_srli_epi16(bits, 4), nibble);
    leadDelta = _mm256_or_si256(
        leadDelta, _mm256_or_si256(_mm256_shuffle_epi8(Wide(classes.leadByLow), low),
                                   _mm256_shuffle_epi8(Wide(classes.leadByHigh), high)));
    contDelta = _mm256_or_si256(
        contDelta, _mm256_or_si256(_mm256_shuffle_epi8(Wide(classes.contByLow), low),
                                   _mm256_shuffle_epi8(Wide(classes.contByHigh), high)));
}

// What each character under C3 becomes, by the table of bits 4-5 of its key and the low
// nibble.
[[gnu::target("avx2,popcnt")]] inline __m256i LookUpLatin(
    const Utf8BlockMapping::LatinTable& tables, __m256i key) {
    const __m256i low = _mm256_and_si256(key, Splat(0x0F));
    // Bits 4 and 5 in turn moved up to bit 7, which picks between two tables' bytes.
    const __m256i bit4 = _mm256_slli_epi16(key, 3);
    const __m256i below = _mm256_blendv_epi8(_mm256_shuffle_epi8(Wide(tables[0]), low),
                                             _mm256_shuffle_epi8(Wide(tables[1]), low), bit4);
    const __m256i above = _mm256_blendv_epi8(_mm256_shuffle_epi8(Wide(tables[2]), low),
                                             _mm256_shuffle_epi8(Wide(tables[3]), low), bit4);
    return _mm256_blendv_epi8(below, above, _mm256_slli_epi16(key, 2));
}

// For each set of dropped bytes among eight, the places of the kept ones, in order.
struct PackOrder {
    alignas(8) std::uint8_t places[256][8];
};
constexpr PackOrder kPackOrder = [] {
    PackOrder order = {};
    for (unsigned dropped = 0; dropped < 256; ++dropped) {
        unsigned kept = 0;
        for (unsigned place = 0; place < 8; ++place) {
            if (!(dropped >> place & 1))
                order.places[dropped][kept++] = static_cast<std::uint8_t>(place);
        }
    }
    return order;
}();

// Stores thirty-two bytes without the dropped ones, eight at a time.
[[gnu::target("avx2,popcnt")]] inline void StorePacked(__m256i bytes, std::uint32_t dropped,
                                                       unsigned char* out) {
    const __m128i halves[2] = {_mm256_castsi256_si128(bytes), _mm256_extracti128_si256(bytes, 1)};
    for (unsigned eighth = 0; eighth < 4; ++eighth) {
        const unsigned these = dropped >> (8 * eighth) & 0xFF;
        __m128i places =
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(kPackOrder.places[these]));
        if (eighth & 1) places = _mm_add_epi8(places, _mm_set1_epi8(8));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out),
                         _mm_shuffle_epi8(halves[eighth >> 1], places));
        out += 8 - std::popcount(these);
    }
}

// How many of the first `taken` bytes of a block were dropped from its output.
[[gnu::target("avx2,popcnt")]] inline unsigned Dropped(std::uint32_t dropped, unsigned taken) {
    return static_cast<unsigned>(
        std::popcount(static_cast<std::uint64_t>(dropped) & ((std::uint64_t{1} << taken) - 1)));
}

// Nonzero for keys looked up or stopped at.
[[gnu::target("avx2,popcnt")]] inline __m256i SpecialKeys(
    const Utf8BlockMapping::KeyClasses& classes, __m256i key) {
    const __m256i nibble = Splat(0x0F);
    return _mm256_and_si256(
        _mm256_shuffle_epi8(Wide(classes.specialByHigh),
                            _mm256_and_si256(_mm256_srli_epi16(key, 4), nibble)),
        _mm256_shuffle_epi8(Wide(classes.specialByLow), _mm256_and_si256(key, nibble)));
}

}  // namespace

// Adds the shifts of the runs for every block, by the key classes or run by run.
template <std::size_t ShapeIndex, bool Classes>
[[gnu::target("avx2,popcnt"), gnu::always_inline]] inline void Utf8BlockMapping::ShiftCommon(
    __m256i key, __m256i& leadDelta, __m256i& contDelta) const {
    if constexpr (Classes) {
        ShiftByClasses(classes_, key, leadDelta, contDelta);
    } else {
        ShiftAll<ShapeIndex, false>(runs_, key, leadDelta, contDelta);
    }
}

// Maps the thirty-two bytes at `in` (starting at a character), followed by the byte `next`,
// into `out`; returns a bit per byte that belongs to a whole character mapped right. A lead
// in the last byte is not whole: its pair ends in the next block.
template <std::size_t ShapeIndex, bool Classes>
[[gnu::target("avx2,popcnt"), gnu::always_inline]] inline Utf8BlockMapping::Mapped
Utf8BlockMapping::WideBlock(const unsigned char* in, unsigned next, unsigned char* out) const {
    constexpr bool kLatin = kShapes[ShapeIndex].looksUpLatin && Classes;
    const __m256i bytes = Load(in);
    const __m256i zero = _mm256_setzero_si256();
    // A shape that looks characters up keeps ASCII as it is.
    const __m256i asciiCase = kLatin ? zero : WideAsciiCase(bytes, asciiBelow_, asciiAbove_);
    // All ASCII, the common case: whole up to a 0 byte, if any.
    if (_mm256_movemask_epi8(bytes) == 0) return {StoreWideAscii(bytes, asciiCase, out), 0};
    const __m256i cont = Continuation(bytes);
    // By the classes, all four leads are taken.
    const __m256i leads = Classes ? PairedLead(pairedLeads_, bytes) : TakenLead(leads_, bytes);
    const __m256i pairEnd =
        _mm256_andnot_si256(FromAfter(cont), _mm256_and_si256(cont, FromBefore(leads)));
    const __m256i whole = _mm256_or_si256(_mm256_or_si256(_mm256_cmpgt_epi8(bytes, zero), pairEnd),
                                          _mm256_and_si256(leads, FromAfter(pairEnd)));
    auto good = static_cast<std::uint32_t>(_mm256_movemask_epi8(whole));
    // A continuation byte after the block makes the character ending it a longer one.
    const std::uint32_t contAfter = (next & 0xC0u) == 0x80u;
    const std::uint32_t contLast = static_cast<std::uint32_t>(_mm256_movemask_epi8(cont)) >> 31;
    good &= ~((contAfter & contLast) * 0xC0000000u);

    const __m256i key = KeyOf(FromBefore(bytes), bytes);
    __m256i leadDelta = zero, contDelta = zero;
    ShiftCommon<ShapeIndex, Classes>(key, leadDelta, contDelta);
    if constexpr (KeepsRare(kShapes[ShapeIndex]) && !Classes) {
        // Rare runs only where a pair holds a character that is not a Russian letter.
        if (NotRussian(key, pairEnd)) ShiftAll<ShapeIndex, true>(runs_, key, leadDelta, contDelta);
    }
    // Keys count on the second bytes of pairs only; the lead's shift moves onto the lead.
    contDelta = _mm256_and_si256(contDelta, pairEnd);
    leadDelta = FromAfter(_mm256_and_si256(leadDelta, pairEnd));
    __m256i mapped =
        _mm256_xor_si256(_mm256_add_epi8(bytes, _mm256_or_si256(contDelta, leadDelta)), asciiCase);
    if constexpr (kLatin) {
        const __m256i specialKeys = SpecialKeys(classes_, key);
        if (!_mm256_testz_si256(specialKeys, pairEnd)) {
            const __m256i special =
                _mm256_andnot_si256(_mm256_cmpeq_epi8(specialKeys, zero), pairEnd);
            const auto specials = static_cast<std::uint32_t>(_mm256_movemask_epi8(special));
            // Characters under C3 are looked up: one that becomes an ASCII byte puts it in the
            // lead's place and drops the continuation byte. Any other special pair is a stop,
            // as is one under C3 that the table stops at; a stop is not whole.
            const __m256i latin = _mm256_and_si256(
                special, _mm256_cmpeq_epi8(_mm256_max_epu8(key, Splat(0xC0)), key));
            const __m256i becomes = LookUpLatin(latin_, key);
            const __m256i shrinks = _mm256_and_si256(latin, _mm256_cmpgt_epi8(becomes, zero));
            const auto stops =
                (specials & ~static_cast<std::uint32_t>(_mm256_movemask_epi8(latin))) |
                static_cast<std::uint32_t>(_mm256_movemask_epi8(
                    _mm256_and_si256(latin, _mm256_cmpeq_epi8(becomes, Splat(kStop)))));
            good &= ~(stops | stops >> 1);
            mapped = _mm256_blendv_epi8(mapped, FromAfter(becomes), FromAfter(shrinks));
            const auto dropped = static_cast<std::uint32_t>(_mm256_movemask_epi8(shrinks));
            if (dropped != 0) {
                StorePacked(mapped, dropped, out);
                return {good, dropped};
            }
        }
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), mapped);
    return {good, 0};
}

template <std::size_t ShapeIndex, bool Classes>
[[gnu::target("avx2,popcnt")]] void Utf8BlockMapping::MapWide(const unsigned char* begin,
                                                              const unsigned char*& in,
                                                              const unsigned char* end,
                                                              unsigned char*& out) const {
    // Output from `run` on was all made by blocks, each byte in the place of its input byte.
    const unsigned char* run = in;
    while (end - in > 32) {
        const Mapped mapped = WideBlock<ShapeIndex, Classes>(in, in[32], out);
        // A lead in the last byte starts the next block. Told from the text alone, the next
        // block's start need not wait for this block's result.
        const unsigned step = 32 - (in[31] >= 0xC0);
        const auto all = static_cast<std::uint32_t>((std::uint64_t{1} << step) - 1);
        if ((mapped.whole & all) == all) {
            if (mapped.dropped != 0) {
                // Bytes after the last one dropped are in the places of their input bytes.
                out -= std::popcount(mapped.dropped & all);
                run = in + 32 - std::countl_zero(mapped.dropped);
            }
            in += step;
            out += step;
            continue;
        }
        // The block stopped before a character it cannot take.
        const auto taken = static_cast<unsigned>(std::countr_zero(~mapped.whole));
        in += taken;
        out += taken - Dropped(mapped.dropped, taken);
        if (!StepOver(in, end, out)) return;
        run = in;
    }
    if (in == end) return;
    // A text too short for one block goes sixteen bytes at a time.
    if (end - begin < 32) return MapShaped<ShapeIndex>(begin, in, end, out);
    for (;;) {
        const auto rest = static_cast<std::size_t>(end - in);
        const std::size_t again = 32 - rest;
        Mapped mapped;
        if (end - begin > 32 && static_cast<std::size_t>(in - run) >= again) {
            // The thirty-two bytes that end the text, where those before `in` were mapped by
            // blocks already and come out again just as they did. Where they start inside a
            // character, the block sees no lead before their first byte, which keeps the form
            // it had.
            unsigned char* const at = out - again;
            const unsigned char first = again != 0 ? *at : 0;
            mapped = WideBlock<ShapeIndex, Classes>(end - 32, 0, at);
            if (again != 0) *at = first;
            mapped.whole >>= again;
            mapped.dropped >>= again;
        } else {
            // The last bytes as one block, followed by zeros: the thirty-two bytes that end
            // the text stored so that the rest starts at window + 32, then zeros over what
            // follows it.
            alignas(32) unsigned char window[96];
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(window + rest), Load(end - 32));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(window + 32 + rest),
                                _mm256_setzero_si256());
            mapped = WideBlock<ShapeIndex, Classes>(window + 32, 0, out);
        }
        const auto taken = static_cast<unsigned>(std::countr_zero(~mapped.whole));
        in += taken;
        out += taken - Dropped(mapped.dropped, taken);
        // The last block stopped before a character it cannot take.
        if (in == end || !StepOver(in, end, out)) return;
        run = in;
    }
}

template void Utf8BlockMapping::MapWide<0, false>(const unsigned char*, const unsigned char*&,
                                                  const unsigned char*, unsigned char*&) const;
template void Utf8BlockMapping::MapWide<1, false>(const unsigned char*, const unsigned char*&,
                                                  const unsigned char*, unsigned char*&) const;
template void Utf8BlockMapping::MapWide<2, false>(const unsigned char*, const unsigned char*&,
                                                  const unsigned char*, unsigned char*&) const;
template void Utf8BlockMapping::MapWide<0, true>(const unsigned char*, const unsigned char*&,
                                                 const unsigned char*, unsigned char*&) const;
template void Utf8BlockMapping::MapWide<1, true>(const unsigned char*, const unsigned char*&,
                                                 const unsigned char*, unsigned char*&) const;
template void Utf8BlockMapping::MapWide<2, true>(const unsigned char*, const unsigned char*&,
                                                 const unsigned char*, unsigned char*&) const;

}  // namespace DataBase::Unicode

#endif
