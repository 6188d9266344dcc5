#include "database/unicode/LikeMatcher.h"

#include "database/unicode/AsciiKeySearch.h"
#include "database/unicode/Reduction.h"
#include "database/unicode/Utf8Decoder.h"

namespace DataBase::Unicode {

namespace {

using TokenKind = LikeTokenKind;

struct Token {
    TokenKind kind;
    std::uint32_t key;                       // Literal: the character as compared
    const AsciiKeySearch* search = nullptr;  // a literal after a match-all, where prepared
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

// Reads a pattern read before, step by step.
class StepCursor {
public:
    StepCursor(const LikePattern::Step* steps, const AsciiKeySearch* searches)
        : at_(steps), searches_(searches) {}

    [[gnu::always_inline]] Token next() {
        const LikePattern::Step& step = *at_++;
        return {step.kind, step.key, step.search ? &searches_[step.search - 1] : nullptr};
    }

private:
    const LikePattern::Step* at_;
    const AsciiKeySearch* searches_;
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

// The first character at or after `s` whose compared value is the literal's key: its start,
// with `after` set past it; null when there is none.
const unsigned char* Find(const Token& literal, const unsigned char* s, const unsigned char* end,
                          bool noCase, const unsigned char*& after) {
    if (literal.search) return literal.search->Find(s, end, after);
    if (noCase && literal.key < 0x80) {
        return AsciiKeySearch(literal.key, std::nullopt).Find(s, end, after);
    }
    while (s < end) {
        const unsigned char* next = s;
        if (NextKey(next, end, noCase) == literal.key) {
            after = next;
            return s;
        }
        s = next;
    }
    return nullptr;
}

// Between two match-alls the pattern is a fixed run of tokens that each take exactly one
// character, so trying that run at the leftmost place it fits is never worse than trying it
// further right. On a mismatch only the last match-all needs to absorb one more character;
// earlier ones never have to be revisited. Each retry starts further right, which bounds the
// work by (text characters + 1) x (pattern tokens + 1).
template <class Cursor>
bool Match(Cursor cursor, std::string_view text, bool noCase) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const textEnd = s + text.size();

    // State of the last match-all: where the pattern resumes, where the retried run starts
    // in the text (null before any match-all), and the run's first token.
    Cursor resume = cursor;
    const unsigned char* retryStart = nullptr;
    Token first{};
    Cursor afterFirst = cursor;

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
                retryStart = Find(first, s, textEnd, noCase, s);
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
        retryStart = Find(first, retryStart, textEnd, noCase, s);
        if (!retryStart) return false;
        cursor = afterFirst;
    }
}

}  // namespace

LikePattern::LikePattern(std::string_view pattern, std::optional<std::uint32_t> escape,
                         const LikeSettings& settings)
    : escape_(escape), settings_(settings) {
    steps_.reserve(pattern.size() + 1);  // a step per character at most, and the end
    PatternCursor cursor(pattern, escape, settings);
    for (;;) {
        const Token token = cursor.next();
        steps_.push_back(Step{token.kind, token.key, 0});
        if (token.kind == TokenKind::End || token.kind == TokenKind::Never) break;
    }
    // A run after a match-all can only start where its first letter matches: the search for
    // an ASCII key is prepared here, once, with the ASCII letter that must follow it.
    if (settings.noCase == 0) return;
    const auto asciiLiteral = [](const Step& step) {
        return step.kind == TokenKind::Literal && step.key < 0x80;
    };
    for (std::size_t i = 1; i < steps_.size(); ++i) {
        if (steps_[i - 1].kind != TokenKind::MatchAll || !asciiLiteral(steps_[i])) continue;
        std::optional<std::uint32_t> next;
        if (asciiLiteral(steps_[i + 1])) next = steps_[i + 1].key;
        searches_.emplace_back(steps_[i].key, next);
        steps_[i].search = static_cast<std::uint32_t>(searches_.size());
    }
}

bool LikePattern::Matches(std::string_view text) const {
    return Match(StepCursor(steps_.data(), searches_.data()), text, settings_.noCase != 0);
}

bool LikeMatch(std::string_view pattern, std::string_view text, std::optional<std::uint32_t> escape,
               const LikeSettings& settings) {
    return Match(PatternCursor(pattern, escape, settings), text, settings.noCase != 0);
}

}  // namespace DataBase::Unicode
