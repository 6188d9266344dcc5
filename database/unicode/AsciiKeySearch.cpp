#include "database/unicode/AsciiKeySearch.h"

#include <array>
#include <bit>
#include <cstring>

#include "database/unicode/Reduction.h"
#include "database/unicode/Utf8Decoder.h"

namespace DataBase::Unicode {

namespace {

// Lead bytes of two-byte characters none of which reduces to an ASCII character, such as
// the Cyrillic D0..D4: a search for an ASCII key can step over such a character unread.
struct SkippableLeads {
    std::array<bool, 256> lead{};
    bool allOfD0ToDF = false;  // the whole range D0..DF, testable eight bytes at a time
};

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

}  // namespace

// Eight bytes at a time while they hold no candidate; two-byte characters under a lead that
// never reduces to ASCII (Cyrillic among them) are stepped over unread.
const unsigned char* FindAsciiKey(const unsigned char* s, const unsigned char* end,
                                  std::uint32_t key, const unsigned char*& after) {
    const SkippableLeads& skippable = LeadsNeverReducingToAscii();
    const std::uint32_t otherCase = key - 'a' < 26u ? key - ('a' - 'A') : key;
    while (s < end) {
        if (end - s >= 8) {
            if (const std::size_t run = SkippableRun(s, key, otherCase, skippable.allOfD0ToDF)) {
                s += run;
                continue;
            }
        }
        const unsigned byte = *s;
        if (byte < 0x80) {
            if (kQuickReduction[byte] == key) {
                after = s + 1;
                return s;
            }
            ++s;
            continue;
        }
        // Exactly one continuation byte: a character below 0x800 that cannot match.
        if (skippable.lead[byte] && end - s >= 2 && (s[1] & 0xC0) == 0x80 &&
            (end - s == 2 || (s[2] & 0xC0) != 0x80)) {
            s += 2;
            continue;
        }
        const unsigned char* next = s;
        if (Reduce(DecodeUtf8(next, end)) == key) {
            after = next;
            return s;
        }
        s = next;
    }
    return nullptr;
}

}  // namespace DataBase::Unicode
