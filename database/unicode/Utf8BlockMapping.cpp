#include "database/unicode/Utf8BlockMapping.h"

#include <bit>
#include <cstring>
#include <vector>

namespace DataBase::Unicode {

#ifdef __SSE2__

namespace {

using Shape = Utf8BlockMapping::Shape;
using KeyRun = Utf8BlockMapping::KeyRun;

// Leads in order of preference; their low two bits differ, which the key relies on.
constexpr unsigned kLeadOrder[] = {0xD0, 0xD1, 0xC3, 0xC2};

using Repeated = Utf8BlockMapping::Repeated;

__m128i Splat(unsigned byte) {
    return _mm_set1_epi8(static_cast<char>(byte));
}

Repeated Repeat(unsigned byte) {
    Repeated repeated;
    std::memset(repeated.bytes, static_cast<int>(byte & 0xFF), sizeof repeated.bytes);
    return repeated;
}

__m128i Load(const Repeated& repeated) {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(repeated.bytes));
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

}  // namespace

Utf8BlockMapping::Utf8BlockMapping(const std::uint64_t* prepared, std::uint8_t asciiFirst,
                                   std::uint8_t asciiLast)
    : asciiBelow_(Repeat(asciiFirst - 1u)), asciiAbove_(Repeat(asciiLast + 1u)) {
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
    ChooseRoutine();
}

void Utf8BlockMapping::Clear() {
    for (auto& kind : runs_) {
        for (KeyRun& run : kind) run = KeyRun{};
    }
    for (std::size_t& count : counts_) count = 0;
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
    std::size_t needed[kKinds] = {};
    for (const Run& run : runs) ++needed[run.kind()];
    for (std::size_t kind = 0; kind < kKinds; ++kind) {
        if (counts_[kind] + needed[kind] > shape.count[kind]) return false;
    }
    const unsigned keyBase = (lead & 3) << 6;
    for (const Run& run : runs) {
        runs_[run.kind()][counts_[run.kind()]++] =
            KeyRun{Repeat(keyBase + run.first), Repeat(run.last - run.first), Repeat(run.leadDelta),
                   Repeat(run.contDelta)};
    }
    return true;
}

// Maps the sixteen bytes `bytes` (starting at a character), followed by the byte `next`, into
// `out`; returns how many of them, from the start, are whole characters mapped right.
template <std::size_t ShapeIndex>
[[gnu::always_inline]] inline std::size_t Utf8BlockMapping::MapBlock(__m128i bytes, unsigned next,
                                                                     unsigned char* out) const {
    constexpr const std::size_t* count = kShapes[ShapeIndex].count;
    const __m128i zero = _mm_setzero_si128();
    const __m128i asciiCase = _mm_and_si128(_mm_and_si128(_mm_cmpgt_epi8(bytes, Load(asciiBelow_)),
                                                          _mm_cmplt_epi8(bytes, Load(asciiAbove_))),
                                            Splat(0x20));
    if (_mm_movemask_epi8(bytes) == 0) {
        // All ASCII, the common case: up to a 0 byte, if any.
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_xor_si128(bytes, asciiCase));
        const auto zeros = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, zero)));
        return static_cast<std::size_t>(std::countr_zero(zeros | 0x10000u));
    }
    // Signed: ASCII is 0..127, continuation bytes -128..-65, leads -64..-1.
    const __m128i cont = _mm_cmplt_epi8(bytes, Splat(0xC0));
    __m128i leads = _mm_cmpeq_epi8(bytes, Load(leads_[0]));
    for (std::size_t i = 1; i < kLeads; ++i) {
        leads = _mm_or_si128(leads, _mm_cmpeq_epi8(bytes, Load(leads_[i])));
    }
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

    const __m128i key =
        _mm_or_si128(_mm_and_si128(bytes, Splat(0x3F)),
                     _mm_slli_epi16(_mm_and_si128(_mm_slli_si128(bytes, 1), Splat(3)), 6));
    __m128i leadDelta = zero, contDelta = zero;
    Shift<count[kRange], false, false, false>(runs_[kRange], key, leadDelta, contDelta);
    Shift<count[kRangeLead], false, false, true>(runs_[kRangeLead], key, leadDelta, contDelta);
    Shift<count[kStep], true, false, false>(runs_[kStep], key, leadDelta, contDelta);
    Shift<count[kStepLead], true, false, true>(runs_[kStepLead], key, leadDelta, contDelta);
    Shift<count[kSingle], false, true, false>(runs_[kSingle], key, leadDelta, contDelta);
    Shift<count[kSingleLead], false, true, true>(runs_[kSingleLead], key, leadDelta, contDelta);
    // Keys count on the second bytes of pairs only; the lead's shift moves onto the lead.
    contDelta = _mm_and_si128(contDelta, pairEnd);
    leadDelta = _mm_srli_si128(_mm_and_si128(leadDelta, pairEnd), 1);
    const __m128i mapped =
        _mm_xor_si128(_mm_add_epi8(bytes, _mm_or_si128(contDelta, leadDelta)), asciiCase);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), mapped);
    return static_cast<std::size_t>(std::countr_zero(~good | 0x10000u));
}

template <std::size_t ShapeIndex>
std::size_t Utf8BlockMapping::MapShaped(const unsigned char* begin, const unsigned char* in,
                                        const unsigned char* end, unsigned char* out) const {
    const unsigned char* const start = in;
    while (end - in > 16) {
        const std::size_t taken = MapBlock<ShapeIndex>(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(in)), in[16], out);
        in += taken;
        out += taken;
        // Short of the last two bytes, which a character running on may hold back, the
        // block stopped before a character it cannot take.
        if (taken < 14) return static_cast<std::size_t>(in - start);
    }
    // The last bytes as one block, followed by zeros: the sixteen bytes that end the text
    // stored so that the rest starts at window + 16, then zeros over what follows it.
    const auto rest = static_cast<std::size_t>(end - in);
    if (rest == 0) return static_cast<std::size_t>(in - start);
    alignas(16) unsigned char window[48];
    if (end - begin >= 16) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(window + rest),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(end - 16)));
    } else {
        std::memcpy(window + 16, in, rest);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(window + 16 + rest), _mm_setzero_si128());
    in +=
        MapBlock<ShapeIndex>(_mm_load_si128(reinterpret_cast<const __m128i*>(window + 16)), 0, out);
    return static_cast<std::size_t>(in - start);
}

template <std::size_t ShapeIndex, bool Wide>
std::size_t Utf8BlockMapping::MapWith(const unsigned char* begin, const unsigned char* in,
                                      const unsigned char* end, unsigned char* out) const {
    const unsigned char* const start = in;
#ifdef NIVRA_WIDE_VECTORS
    if constexpr (Wide) {
        if (!MapWide<ShapeIndex>(begin, in, end, out)) return static_cast<std::size_t>(in - start);
    }
#endif
    return static_cast<std::size_t>(in - start) + MapShaped<ShapeIndex>(begin, in, end, out);
}

void Utf8BlockMapping::ChooseRoutine() {
    static_assert(std::size(kShapes) == 3);
    static constexpr Routine kRoutines[2][3] = {
        {&Utf8BlockMapping::MapWith<0, false>, &Utf8BlockMapping::MapWith<1, false>,
         &Utf8BlockMapping::MapWith<2, false>},
        {&Utf8BlockMapping::MapWith<0, true>, &Utf8BlockMapping::MapWith<1, true>,
         &Utf8BlockMapping::MapWith<2, true>},
    };
    bool wide = false;
#ifdef NIVRA_WIDE_VECTORS
    __builtin_cpu_init();
    wide = __builtin_cpu_supports("avx2");
#endif
    routine_ = leadCount_ == 0 ? nullptr : kRoutines[wide ? 1 : 0][shape_];
}

std::size_t Utf8BlockMapping::Map(const unsigned char* begin, const unsigned char* in,
                                  const unsigned char* end, unsigned char* out) const {
    return routine_ ? (this->*routine_)(begin, in, end, out) : 0;
}

#else

Utf8BlockMapping::Utf8BlockMapping(const std::uint64_t*, std::uint8_t, std::uint8_t) {}

std::size_t Utf8BlockMapping::Map(const unsigned char*, const unsigned char*, const unsigned char*,
                                  unsigned char*) const {
    return 0;
}

#endif

}  // namespace DataBase::Unicode
