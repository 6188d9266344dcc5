#include "database/unicode/LikeMatcher.h"

#include <array>
#include <bit>
#include <cstring>

#include "database/unicode/Reduction.h"
#include "database/unicode/Utf8Decoder.h"

namespace DataBase::Unicode {

namespace {

enum class TokenKind : std::uint8_t { End, Never, MatchAll, MatchOne, Literal };

struct Token {
    TokenKind kind;
    std::uint32_t key;  // Literal: the character as compared
};

// Reads a pattern token by token. An escape at the very end of the pattern is ignored,
// except straight after a match-all run, where it leaves nothing to search for: no text
// matches such a pattern.
class PatternCursor {
public:
    PatternCursor(std::string_view pattern, std::optional<std::uint32_t> escape,
                  const LikeSettings& settings)
        : p_(reinterpret_cast<const unsigned char*>(pattern.data())),
          end_(p_ + pattern.size()),
          escape_(escape),
          settings_(&settings) {}

    Token next() {
        if (p_ == end_) return {TokenKind::End, 0};
        std::uint32_t c = DecodeUtf8(p_, end_);
        if (c == settings_->matchAll) {
            afterMatchAll_ = true;
            return {TokenKind::MatchAll, 0};
        }
        if (c == settings_->matchOne) return {TokenKind::MatchOne, 0};
        if (escape_ && c == *escape_) {
            if (p_ == end_) return {afterMatchAll_ ? TokenKind::Never : TokenKind::End, 0};
            c = DecodeUtf8(p_, end_);
        }
        afterMatchAll_ = false;
        return {TokenKind::Literal, key(c)};
    }

private:
    std::uint32_t key(std::uint32_t c) const { return settings_->noCase ? Reduce(c) : c; }

    const unsigned char* p_;
    const unsigned char* end_;
    std::optional<std::uint32_t> escape_;
    const LikeSettings* settings_;
    bool afterMatchAll_ = false;
};

// The next character of the text as compared, ASCII without a call.
inline std::uint32_t NextKey(const unsigned char*& s, const unsigned char* end, bool noCase) {
    const std::uint32_t byte = *s;
    if (byte < 0x80) {
        ++s;
        return noCase ? kQuickReduction[byte] : byte;
    }
    const std::uint32_t c = DecodeUtf8(s, end);
    return noCase ? Reduce(c) : c;
}

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

// The first character at or after `s` whose compared value is the ASCII `key`, compared by
// reduction. Eight bytes at a time while they hold no candidate; two-byte characters under a
// lead that never reduces to ASCII (Cyrillic among them) are stepped over unread.
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

// The first character at or after `s` whose compared value is `key`: its start, with `after`
// set past it; null when there is none.
const unsigned char* FindKey(const unsigned char* s, const unsigned char* end, std::uint32_t key,
                             bool noCase, const unsigned char*& after) {
    if (noCase && key < 0x80) return FindAsciiKey(s, end, key, after);
    while (s < end) {
        const unsigned char* next = s;
        if (NextKey(next, end, noCase) == key) {
            after = next;
            return s;
        }
        s = next;
    }
    return nullptr;
}

}  // namespace

// Between two match-alls the pattern is a fixed run of tokens that each take exactly one
// character, so trying that run at the leftmost place it fits is never worse than trying it
// further right. On a mismatch only the last match-all needs to absorb one more character;
// earlier ones never have to be revisited. Each retry starts further right, which bounds the
// work by (text characters + 1) x (pattern tokens + 1).
bool LikeMatch(std::string_view pattern, std::string_view text, std::optional<std::uint32_t> escape,
               const LikeSettings& settings) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const textEnd = s + text.size();
    const bool noCase = settings.noCase != 0;
    PatternCursor cursor(pattern, escape, settings);

    // State of the last match-all: where the pattern resumes, where the retried run starts
    // in the text (null before any match-all), and the run's first token when known.
    PatternCursor resume = cursor;
    const unsigned char* retryStart = nullptr;
    bool firstKnown = false;
    Token first{};
    PatternCursor afterFirst = cursor;

    for (;;) {
        const Token token = cursor.next();
        switch (token.kind) {
            case TokenKind::MatchAll:
                resume = cursor;
                retryStart = s;
                firstKnown = false;
                continue;
            case TokenKind::Never:
                return false;
            case TokenKind::End:
                if (s == textEnd) return true;
                break;
            case TokenKind::MatchOne:
                // Running out of text inside a run fails every later start as well.
                if (s == textEnd) return false;
                DecodeUtf8(s, textEnd);
                continue;
            case TokenKind::Literal:
                if (s == textEnd) return false;
                if (NextKey(s, textEnd, noCase) == token.key) continue;
                break;
        }
        // The run after the last match-all failed: start it one character further right.
        if (!retryStart || retryStart == textEnd) return false;
        DecodeUtf8(retryStart, textEnd);
        if (!firstKnown) {
            afterFirst = resume;
            first = afterFirst.next();
            firstKnown = true;
        }
        if (first.kind != TokenKind::Literal) {
            s = retryStart;
            cursor = resume;
            continue;
        }
        // A run that starts with a literal can only start where that literal matches.
        retryStart = FindKey(retryStart, textEnd, first.key, noCase, s);
        if (!retryStart) return false;
        cursor = afterFirst;
    }
}

}  // namespace DataBase::Unicode
