#include "database/unicode/LikeMatcher.h"

#include "database/unicode/AsciiKeySearch.h"
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
          matchAll_(settings.matchAll),
          matchOne_(settings.matchOne),
          noCase_(settings.noCase != 0) {}

    [[gnu::always_inline]] Token next() {
        if (p_ == end_) return {TokenKind::End, 0};
        std::uint32_t c = DecodeUtf8(p_, end_);
        if (c == matchAll_) {
            afterMatchAll_ = true;
            return {TokenKind::MatchAll, 0};
        }
        if (c == matchOne_) return {TokenKind::MatchOne, 0};
        if (escape_ && c == *escape_) {
            if (p_ == end_) return {afterMatchAll_ ? TokenKind::Never : TokenKind::End, 0};
            c = DecodeUtf8(p_, end_);
        }
        afterMatchAll_ = false;
        return {TokenKind::Literal, key(c)};
    }

private:
    std::uint32_t key(std::uint32_t c) const { return noCase_ ? Reduce(c) : c; }

    const unsigned char* p_;
    const unsigned char* end_;
    std::optional<std::uint32_t> escape_;
    std::uint32_t matchAll_;
    std::uint32_t matchOne_;
    bool noCase_;
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
    // in the text (null before any match-all), and the run's first token.
    PatternCursor resume = cursor;
    const unsigned char* retryStart = nullptr;
    Token first{};
    PatternCursor afterFirst = cursor;

    for (;;) {
        const Token token = cursor.next();
        switch (token.kind) {
            case TokenKind::MatchAll:
                resume = cursor;
                retryStart = s;
                afterFirst = resume;
                first = afterFirst.next();
                // A match-all that ends the pattern takes whatever text is left.
                if (first.kind == TokenKind::End) return true;
                if (first.kind != TokenKind::Literal) continue;
                // A run that starts with a literal can only start where that literal matches.
                retryStart = FindKey(s, textEnd, first.key, noCase, s);
                if (!retryStart) return false;
                cursor = afterFirst;
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
