#include "database/unicode/Utf8BlockMapping.h"

#include <bit>
#include <cstring>
#include <vector>

namespace DataBase::Unicode {

namespace {

using Shape = Utf8BlockMapping::Shape;
using KeyRun = Utf8BlockMapping::KeyRun;

// Leads in order of preference; their low two bits differ, which the key relies on.
constexpr unsigned kLeadOrder[] = {0xD0, 0xD1, 0xC3, 0xC2};

using Repeated = Utf8BlockMapping::Repeated;

[[gnu::always_inline]] inline __m128i Splat(unsigned byte) {
    return _mm_set1_epi8(static_cast<char>(byte));
}

Repeated Repeat(unsigned byte) {
    Repeated repeated;
    std::memset(repeated.bytes, static_cast<int>(byte & 0xFF), sizeof repeated.bytes);
    return repeated;
}

[[gnu::always_inline]] inline __m128i Load(const Repeated& repeated) {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(repeated.bytes));
}

[[gnu::always_inline]] inline __m128i Load(const unsigned char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Continuation bytes 10xxxxxx, signed: -128..-65.
[[gnu::always_inline]] inline __m128i Continuation(__m128i x) {
    return _mm_cmplt_epi8(x, Splat(0xC0));
}

// Bytes equal to one of the leads.
[[gnu::always_inline]] inline __m128i TakenLead(const Repeated* leads, __m128i x) {
    __m128i taken = _mm_cmpeq_epi8(x, Load(leads[0]));
    for (std::size_t i = 1; i < Utf8BlockMapping::kLeads; ++i)
        taken = _mm_or_si128(taken, _mm_cmpeq_epi8(x, Load(leads[i])));
    return taken;
}

// The key of a pair: the low two bits of its lead above the low six of its continuation byte.
[[gnu::always_inline]] inline __m128i KeyOf(__m128i lead, __m128i cont) {
    return _mm_or_si128(_mm_and_si128(cont, Splat(0x3F)),
                        _mm_slli_epi16(_mm_and_si128(lead, Splat(3)), 6));
}

// Whether a pair ending in `ends` holds a character that is not a Russian letter.
[[gnu::always_inline]] inline bool NotRussian(__m128i key, __m128i ends) {
    const __m128i fromA = _mm_sub_epi8(key, Splat(0x10));
    const __m128i russian = _mm_or_si128(
        _mm_cmpeq_epi8(_mm_min_epu8(fromA, Splat(0x3F)), fromA),
        _mm_or_si128(_mm_cmpeq_epi8(key, Splat(0x01)), _mm_cmpeq_epi8(key, Splat(0x51))));
    return _mm_movemask_epi8(_mm_andnot_si128(russian, ends)) != 0;
}

// Keys first, first + step, ... last, all shifting alike.
struct Run {
    unsigned first, last, step;
    std::uint8_t leadDelta, contDelta;

    Utf8BlockMapping::Kind kind() const {
        const int lead = leadDelta != 0;
        if (step == 2) return static_cast<Utf8BlockMapping::Kind>(Utf8BlockMapping::kStep + lead);
        if (first == last) {
            return static_cast<Utf8BlockMapping::Kind>(Utf8BlockMapping::kSingle + lead);
        }
        return static_cast<Utf8BlockMapping::Kind>(Utf8BlockMapping::kRange + lead);
    }
};

// Adds the shifts of `Count` runs of one kind to the keys they hold.
template <std::size_t Count, bool Step, bool Single, bool Lead>
inline void Shift(const KeyRun* runs, __m128i key, __m128i& leadDelta, __m128i& contDelta) {
#pragma GCC unroll 16
    for (std::size_t i = 0; i < Count; ++i) {
        __m128i hit;
        if constexpr (Single) {
            hit = _mm_cmpeq_epi8(key, Load(runs[i].first));
        } else {
            __m128i x = _mm_sub_epi8(key, Load(runs[i].first));  // in the run: at most span
            if constexpr (Step) {
                // An odd distance gains bit 7, which puts it beyond every span.
                x = _mm_or_si128(x, _mm_slli_epi16(_mm_and_si128(x, Splat(1)), 7));
            }
            hit = _mm_cmpeq_epi8(_mm_min_epu8(x, Load(runs[i].span)), x);
        }
        if constexpr (Lead)
            leadDelta = _mm_or_si128(leadDelta, _mm_and_si128(hit, Load(runs[i].leadDelta)));
        contDelta = _mm_or_si128(contDelta, _mm_and_si128(hit, Load(runs[i].contDelta)));
    }
}

// Adds the shifts of the runs a shape applies to every block or, with `Rare`, of its rare runs.
template <std::size_t ShapeIndex, bool Rare>
inline void ShiftAll(const Utf8BlockMapping::Runs& runs, __m128i key, __m128i& leadDelta,
                     __m128i& contDelta) {
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

#ifdef NIVRA_WIDE_VECTORS
// A set of high nibbles by a set of low nibbles, as bits, and one of its keys.
struct Rectangle {
    unsigned highs, lows, sample;
};

// The keys for which `counts` holds, as rectangles of keys `alike`: for each high nibble the
// low nibbles of keys alike, and one rectangle for all high nibbles with the same ones.
template <typename Counts, typename Alike>
std::vector<Rectangle> Rectangles(Counts counts, Alike alike) {
    std::vector<Rectangle> rectangles;
    for (unsigned high = 0; high < 16; ++high) {
        unsigned done = 0;
        for (unsigned low = 0; low < 16; ++low) {
            const unsigned key = high << 4 | low;
            if ((done >> low & 1) || !counts(key)) continue;
            unsigned lows = 0;
            for (unsigned other = low; other < 16; ++other) {
                const unsigned k = high << 4 | other;
                if (counts(k) && alike(key, k)) lows |= 1u << other;
            }
            done |= lows;
            Rectangle* same = nullptr;
            for (Rectangle& r : rectangles) {
                if (r.lows == lows && alike(key, r.sample)) same = &r;
            }
            if (same) {
                same->highs |= 1u << high;
            } else {
                rectangles.push_back({1u << high, lows, key});
            }
        }
    }
    return rectangles;
}

// Sets `bit` in the nibble tables for the rectangle's nibbles.
void Mark(const Rectangle& rectangle, std::uint8_t bit, Utf8BlockMapping::NibbleTable& byHigh,
          Utf8BlockMapping::NibbleTable& byLow) {
    for (unsigned n = 0; n < 32; ++n) {
        if (rectangle.highs >> (n & 15) & 1) byHigh.bytes[n] |= bit;
        if (rectangle.lows >> (n & 15) & 1) byLow.bytes[n] |= bit;
    }
}
#endif

}  // namespace

// The rare runs of a kind are kept after the others, in the same row.
static_assert([] {
    for (const Shape& shape : Utf8BlockMapping::kShapes) {
        for (std::size_t kind = 0; kind < Utf8BlockMapping::kKinds; ++kind) {
            if (shape.count[kind] + shape.rare[kind] > Utf8BlockMapping::kMaxRuns) return false;
        }
    }
    return true;
}());

Utf8BlockMapping::Utf8BlockMapping(const std::uint64_t* prepared, std::uint8_t asciiFirst,
                                   std::uint8_t asciiLast)
    : prepared_(prepared),
      asciiBelow_(Repeat(asciiFirst - 1u)),
      asciiAbove_(Repeat(asciiLast + 1u)) {
    // The cheapest shape that takes the most leads; unused runs stay zero and shift nothing.
    std::size_t bestLeads = 0;
    for (std::size_t shape = std::size(kShapes); shape-- > 0;) {
        std::size_t taken = 0;
        Clear();
        for (const unsigned lead : kLeadOrder) taken += AddLead(prepared, lead, kShapes[shape]);
        if (taken >= bestLeads) shape_ = shape, bestLeads = taken;
    }
    Clear();
    for (const unsigned lead : kLeadOrder) {
        if (AddLead(prepared, lead, kShapes[shape_])) leads_[leadCount_++] = Repeat(lead);
    }
    for (std::size_t i = leadCount_; i < kLeads; ++i) leads_[i] = leads_[0];
    std::size_t way = kSixteen;
#ifdef NIVRA_WIDE_VECTORS
    // The key classes and the Latin-1 lookup serve the thirty-two-byte blocks alone, the
    // classes only where they cost fewer operations than the runs.
    if (HasWideVectors()) {
        const bool byClasses =
            kShapes[shape_].looksUpLatin
                ? PrepareLatinClasses()
                : RunOperations(kShapes[shape_]) > kClassOperations && PrepareRunClasses();
        // With the classes, all four leads are taken, told as two pairs of bytes.
        pairedLeads_[0] = Repeat(0xC2), pairedLeads_[1] = Repeat(0xD0),
        pairedLeads_[2] = Repeat(0xFE);
        way = byClasses ? kWideByClasses : kWide;
    }
#endif
    ChooseRoutine(way);
}

#ifdef NIVRA_WIDE_VECTORS

bool Utf8BlockMapping::PrepareRunClasses() {
    // The classes cover the keys of all four leads.
    if (leadCount_ != kLeads) return false;
    // The shifts of every key by the runs for every block.
    std::uint8_t leadDelta[256] = {}, contDelta[256] = {};
    for (std::size_t kind = 0; kind < kKinds; ++kind) {
        const unsigned step = kind == kStep || kind == kStepLead ? 2 : 1;
        for (std::size_t i = 0; i < counts_[kind]; ++i) {
            const KeyRun& run = runs_[kind][i];
            for (unsigned d = 0; d <= run.span.bytes[0]; d += step) {
                const unsigned key = (run.first.bytes[0] + d) & 0xFFu;
                leadDelta[key] = run.leadDelta.bytes[0];
                contDelta[key] = run.contDelta.bytes[0];
            }
        }
    }
    const bool special[256] = {};
    return PrepareClasses(leadDelta, contDelta, special);
}

bool Utf8BlockMapping::PrepareLatinClasses() {
    // Its blocks keep ASCII as it is: no letter lies between asciiBelow_ and asciiAbove_.
    if (asciiBelow_.bytes[0] + 2u <= asciiAbove_.bytes[0]) return false;
    // Every key of the four leads: a shift where a Russian letter changes, looked up under C3,
    // stopped at where any other character changes.
    std::uint8_t leadDelta[256] = {}, contDelta[256] = {};
    bool special[256] = {};
    LatinTable latin = {};
    for (const unsigned lead : kLeadOrder) {
        for (unsigned k = 0; k < 64; ++k) {
            const unsigned key = (lead & 3) << 6 | k;
            const std::uint64_t form = prepared_[((lead & 0x1F) << 6) | k];
            const auto length = static_cast<unsigned>(form >> 56);
            const unsigned first = form & 0xFF, second = (form >> 8) & 0xFF;
            const bool itself = length == 2 && first == lead && second == (0x80 | k);
            if (lead == kLatinLead) {
                std::uint8_t becomes = kStop;
                if (itself) {
                    becomes = 0;
                } else if (length == 1 && first != 0 && first < 0x80) {
                    becomes = static_cast<std::uint8_t>(first);
                }
                NibbleTable& table = latin[k >> 4];
                table.bytes[k & 15] = table.bytes[(k & 15) + 16] = becomes;
                special[key] = becomes != 0;
            } else if (length == 2 && RussianKey(key) && !itself) {
                leadDelta[key] = static_cast<std::uint8_t>(first - lead);
                contDelta[key] = static_cast<std::uint8_t>(second - (0x80 | k));
            } else {
                special[key] = !itself;
            }
        }
    }
    if (!PrepareClasses(leadDelta, contDelta, special)) return false;
    std::memcpy(latin_, latin, sizeof latin);
    return true;
}

bool Utf8BlockMapping::PrepareClasses(const std::uint8_t* leadDelta, const std::uint8_t* contDelta,
                                      const bool* special) {
    const std::vector<Rectangle> classes =
        Rectangles([&](unsigned key) { return leadDelta[key] != 0 || contDelta[key] != 0; },
                   [&](unsigned a, unsigned b) {
                       return leadDelta[a] == leadDelta[b] && contDelta[a] == contDelta[b];
                   });
    const std::vector<Rectangle> specials = Rectangles([&](unsigned key) { return special[key]; },
                                                       [](unsigned, unsigned) { return true; });
    if (classes.size() > kMaxClasses || specials.size() > kMaxClasses) return false;
    KeyClasses tables = {};
    for (std::size_t b = 0; b < classes.size(); ++b) {
        const Rectangle& c = classes[b];
        const auto bit = static_cast<std::uint8_t>(1u << b);
        Mark(c, bit, tables.byHigh, tables.byLow);
        const unsigned index = b < 4 ? bit : bit >> 4;
        NibbleTable& lead = b < 4 ? tables.leadByLow : tables.leadByHigh;
        NibbleTable& cont = b < 4 ? tables.contByLow : tables.contByHigh;
        lead.bytes[index] = lead.bytes[index + 16] = leadDelta[c.sample];
        cont.bytes[index] = cont.bytes[index + 16] = contDelta[c.sample];
    }
    for (std::size_t b = 0; b < specials.size(); ++b) {
        Mark(specials[b], static_cast<std::uint8_t>(1u << b), tables.specialByHigh,
             tables.specialByLow);
    }
    // Every key must come out with its own shifts, and special or not as it is.
    for (unsigned key = 0; key < 256; ++key) {
        const unsigned bits = tables.byHigh.bytes[key >> 4] & tables.byLow.bytes[key & 15];
        const unsigned lead =
            tables.leadByLow.bytes[bits & 15] | tables.leadByHigh.bytes[bits >> 4];
        const unsigned cont =
            tables.contByLow.bytes[bits & 15] | tables.contByHigh.bytes[bits >> 4];
        const bool isSpecial =
            (tables.specialByHigh.bytes[key >> 4] & tables.specialByLow.bytes[key & 15]) != 0;
        if (lead != leadDelta[key] || cont != contDelta[key] || isSpecial != special[key])
            return false;
    }
    classes_ = tables;
    return true;
}

#endif

void Utf8BlockMapping::Clear() {
    for (auto& kind : runs_) {
        for (KeyRun& run : kind) run = KeyRun{};
    }
    for (std::size_t& count : counts_) count = 0;
    for (std::size_t& count : rareCounts_) count = 0;
    leadCount_ = 0;
}

bool Utf8BlockMapping::AddLead(const std::uint64_t* prepared, unsigned lead, const Shape& shape) {
    std::uint8_t leadDelta[64], contDelta[64];
    for (unsigned k = 0; k < 64; ++k) {
        const std::uint64_t form = prepared[((lead & 0x1F) << 6) | k];
        if (form >> 56 != 2) return false;
        leadDelta[k] = static_cast<std::uint8_t>((form & 0xFF) - lead);
        contDelta[k] = static_cast<std::uint8_t>(((form >> 8) & 0xFF) - (0x80 | k));
    }
    // Longest runs of alike shifts, then, for lone characters, every second one alike (the
    // alternating capitals and small letters of many alphabets).
    std::vector<Run> runs;
    bool covered[64] = {};
    const auto alike = [&](unsigned a, unsigned b) {
        return leadDelta[a] == leadDelta[b] && contDelta[a] == contDelta[b];
    };
    for (unsigned k = 0; k < 64; ++k) {
        if (covered[k] || (leadDelta[k] == 0 && contDelta[k] == 0)) continue;
        Run run{k, k, 1, leadDelta[k], contDelta[k]};
        while (run.last + 1 < 64 && alike(k, run.last + 1)) ++run.last;
        if (run.last == k) {
            while (run.last + 2 < 64 && alike(k, run.last + 2)) run.last += 2;
            run.step = run.last == k ? 1 : 2;
        }
        for (unsigned j = run.first; j <= run.last; j += run.step) covered[j] = true;
        runs.push_back(run);
    }
    // A run goes to every block unless the shape keeps rare runs apart and none of its
    // characters is a Russian letter.
    const unsigned keyBase = (lead & 3) << 6;
    const bool keepsRare = KeepsRare(shape);
    const auto rare = [&](const Run& run) {
        if (!keepsRare) return false;
        for (unsigned k = run.first; k <= run.last; k += run.step) {
            if (RussianKey(keyBase + k)) return false;
        }
        return true;
    };
    std::size_t needed[kKinds] = {}, neededRare[kKinds] = {};
    for (const Run& run : runs) ++(rare(run) ? neededRare : needed)[run.kind()];
    for (std::size_t kind = 0; kind < kKinds; ++kind) {
        if (counts_[kind] + needed[kind] > shape.count[kind]) return false;
        if (rareCounts_[kind] + neededRare[kind] > shape.rare[kind]) return false;
    }
    for (const Run& run : runs) {
        const std::size_t kind = run.kind();
        const std::size_t index =
            rare(run) ? shape.count[kind] + rareCounts_[kind]++ : counts_[kind]++;
        runs_[kind][index] = KeyRun{Repeat(keyBase + run.first), Repeat(run.last - run.first),
                                    Repeat(run.leadDelta), Repeat(run.contDelta)};
    }
    return true;
}

bool Utf8BlockMapping::StepOver(const unsigned char*& in, const unsigned char* end,
                                unsigned char*& out) const {
    // A lead from C2 to DF, one continuation byte and no third: one character below U+0800.
    if (end - in < 2 || in[0] < 0xC2 || in[0] > 0xDF || (in[1] & 0xC0) != 0x80) return false;
    if (end - in > 2 && (in[2] & 0xC0) == 0x80) return false;
    const std::uint64_t form = prepared_[((in[0] & 0x1Fu) << 6) | (in[1] & 0x3Fu)];
    const auto length = static_cast<std::size_t>(form >> 56);
    if (length == 0 || length > 2) return false;
    std::memcpy(out, &form, 2);  // the blocks' room ahead covers a second byte not kept
    in += 2;
    out += length;
    return true;
}

// Bit 5 of each ASCII letter of `bytes` that changes case.
[[gnu::always_inline]] inline __m128i Utf8BlockMapping::AsciiCase(__m128i bytes) const {
    return _mm_and_si128(_mm_and_si128(_mm_cmpgt_epi8(bytes, Load(asciiBelow_)),
                                       _mm_cmplt_epi8(bytes, Load(asciiAbove_))),
                         Splat(0x20));
}

// Stores sixteen ASCII bytes with their case changed; a bit per byte but 0.
[[gnu::always_inline]] inline unsigned StoreAscii(__m128i bytes, __m128i asciiCase,
                                                  unsigned char* out) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_xor_si128(bytes, asciiCase));
    return ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_setzero_si128()))) &
           0xFFFFu;
}

// Maps the sixteen bytes `bytes` (starting at a character), followed by the byte `next`, into
// `out`; returns a bit per byte that belongs to a whole character mapped right. A lead in the
// last byte is not whole: its pair ends in the next block.
template <std::size_t ShapeIndex>
[[gnu::always_inline]] inline unsigned Utf8BlockMapping::MapBlock(__m128i bytes, unsigned next,
                                                                  unsigned char* out) const {
    const __m128i zero = _mm_setzero_si128();
    const __m128i asciiCase = AsciiCase(bytes);
    // All ASCII, the common case: whole up to a 0 byte, if any.
    if (_mm_movemask_epi8(bytes) == 0) return StoreAscii(bytes, asciiCase, out);
    const __m128i cont = Continuation(bytes);
    const __m128i leads = TakenLead(leads_, bytes);
    // Whole characters: ASCII but 0; a taken lead with one continuation byte, and that byte.
    // A lead in the last byte waits for the next block.
    const __m128i pairEnd =
        _mm_andnot_si128(_mm_srli_si128(cont, 1), _mm_and_si128(cont, _mm_slli_si128(leads, 1)));
    const __m128i whole = _mm_or_si128(_mm_or_si128(_mm_cmpgt_epi8(bytes, zero), pairEnd),
                                       _mm_and_si128(leads, _mm_srli_si128(pairEnd, 1)));
    auto good = static_cast<unsigned>(_mm_movemask_epi8(whole));
    // A continuation byte after the block makes the character ending it a longer one.
    const unsigned contAfter = (next & 0xC0u) == 0x80u;
    const unsigned contLast = static_cast<unsigned>(_mm_movemask_epi8(cont)) >> 15;
    good &= ~((contAfter & contLast) * 0xC000u);

    const __m128i key = KeyOf(_mm_slli_si128(bytes, 1), bytes);
    __m128i leadDelta = zero, contDelta = zero;
    ShiftAll<ShapeIndex, false>(runs_, key, leadDelta, contDelta);
    if constexpr (KeepsRare(kShapes[ShapeIndex])) {
        // Rare runs only where a pair holds a character that is not a Russian letter.
        if (NotRussian(key, pairEnd)) ShiftAll<ShapeIndex, true>(runs_, key, leadDelta, contDelta);
    }
    // Keys count on the second bytes of pairs only; the lead's shift moves onto the lead.
    contDelta = _mm_and_si128(contDelta, pairEnd);
    leadDelta = _mm_srli_si128(_mm_and_si128(leadDelta, pairEnd), 1);
    const __m128i mapped =
        _mm_xor_si128(_mm_add_epi8(bytes, _mm_or_si128(contDelta, leadDelta)), asciiCase);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), mapped);
    return good;
}

template <std::size_t ShapeIndex>
void Utf8BlockMapping::MapShaped(const unsigned char* begin, const unsigned char*& in,
                                 const unsigned char* end, unsigned char*& out) const {
    // Output from `run` on was all made by blocks, each byte in the place of its input byte.
    const unsigned char* run = in;
    while (end - in > 16) {
        const unsigned whole = MapBlock<ShapeIndex>(Load(in), in[16], out);
        // A lead in the last byte starts the next block. Told from the text alone, the next
        // block's start need not wait for this block's result.
        const unsigned step = 16 - (in[15] >= 0xC0);
        const unsigned all = (1u << step) - 1;
        if ((whole & all) == all) {
            in += step;
            out += step;
            continue;
        }
        // The block stopped before a character it cannot take.
        const auto taken = static_cast<std::size_t>(std::countr_zero(~whole));
        in += taken;
        out += taken;
        if (!StepOver(in, end, out)) return;
        run = in;
    }
    while (in != end) {
        const auto rest = static_cast<std::size_t>(end - in);
        const std::size_t again = 16 - rest;
        unsigned whole;
        if (end - begin > 16 && static_cast<std::size_t>(in - run) >= again) {
            // The sixteen bytes that end the text, where those before `in` were mapped by
            // blocks already and come out again just as they did. Where they start inside a
            // character, the block sees no lead before their first byte, which keeps the form
            // it had.
            unsigned char* const at = out - again;
            const unsigned char first = again != 0 ? *at : 0;
            whole = MapBlock<ShapeIndex>(Load(end - 16), 0, at);
            if (again != 0) *at = first;
            whole >>= again;
        } else {
            // The last bytes as one block, followed by zeros: the sixteen bytes that end the
            // text stored so that the rest starts at window + 16, then zeros over what follows.
            alignas(16) unsigned char window[48];
            if (end - begin >= 16) {
                _mm_storeu_si128(reinterpret_cast<__m128i*>(window + rest), Load(end - 16));
            } else {
                std::memcpy(window + 16, in, rest);
            }
            _mm_storeu_si128(reinterpret_cast<__m128i*>(window + 16 + rest), _mm_setzero_si128());
            whole = MapBlock<ShapeIndex>(
                _mm_load_si128(reinterpret_cast<const __m128i*>(window + 16)), 0, out);
        }
        const auto taken = static_cast<std::size_t>(std::countr_zero(~whole));
        in += taken;
        out += taken;
        // The last block stopped before a character it cannot take.
        if (in == end || !StepOver(in, end, out)) return;
        run = in;
    }
}

template <std::size_t ShapeIndex, bool Wide, bool Classes>
void Utf8BlockMapping::MapWith(const Utf8BlockMapping& self, const unsigned char* begin,
                               const unsigned char*& in, const unsigned char* end,
                               unsigned char*& out) {
#ifdef NIVRA_WIDE_VECTORS
    if constexpr (Wide) {
        self.MapWide<ShapeIndex, Classes>(begin, in, end, out);
        return;
    }
#endif
    self.MapShaped<ShapeIndex>(begin, in, end, out);
}

template void Utf8BlockMapping::MapShaped<0>(const unsigned char*, const unsigned char*&,
                                             const unsigned char*, unsigned char*&) const;
template void Utf8BlockMapping::MapShaped<1>(const unsigned char*, const unsigned char*&,
                                             const unsigned char*, unsigned char*&) const;
template void Utf8BlockMapping::MapShaped<2>(const unsigned char*, const unsigned char*&,
                                             const unsigned char*, unsigned char*&) const;

void Utf8BlockMapping::ChooseRoutine(std::size_t way) {
    static_assert(std::size(kShapes) == 3);
    // A row for each Way that is built.
    static constexpr Routine kRoutines[][3] = {
        {&Utf8BlockMapping::MapWith<0, false, false>, &Utf8BlockMapping::MapWith<1, false, false>,
         &Utf8BlockMapping::MapWith<2, false, false>},
#ifdef NIVRA_WIDE_VECTORS
        {&Utf8BlockMapping::MapWith<0, true, false>, &Utf8BlockMapping::MapWith<1, true, false>,
         &Utf8BlockMapping::MapWith<2, true, false>},
        {&Utf8BlockMapping::MapWith<0, true, true>, &Utf8BlockMapping::MapWith<1, true, true>,
         &Utf8BlockMapping::MapWith<2, true, true>},
#endif
    };
    routine_ = leadCount_ == 0 ? nullptr : kRoutines[way][shape_];
}

}  // namespace DataBase::Unicode
