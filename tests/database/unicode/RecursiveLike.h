#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "database/unicode/Reduction.h"
#include "database/unicode/Utf8Decoder.h"

// The pattern match as first described: recursion at every match-all, retrying every
// position of the text. Exponential on some patterns and as deep as the pattern is long, so
// only for short inputs: the reference the iterative matcher is checked against, and the
// "before" of the LIKE benchmark.
namespace RecursiveLikeReference {

using DataBase::Unicode::DecodeUtf8;
using DataBase::Unicode::Reduce;

inline bool Match(const unsigned char* p, const unsigned char* pEnd, const unsigned char* s,
                  const unsigned char* sEnd, std::optional<std::uint32_t> escape) {
    bool escaped = false;
    for (;;) {
        if (p == pEnd) return s == sEnd;
        std::uint32_t c = DecodeUtf8(p, pEnd);
        if (!escaped && c == '%') {
            // Skip further '%' and '_', each '_' taking one character of the text.
            while (p != pEnd) {
                const unsigned char* q = p;
                const std::uint32_t d = DecodeUtf8(q, pEnd);
                if (d != '%' && d != '_') break;
                p = q;
                if (d == '_') {
                    if (s == sEnd) return false;
                    DecodeUtf8(s, sEnd);
                }
            }
            if (p == pEnd) return true;
            c = DecodeUtf8(p, pEnd);
            if (escape && c == *escape) {
                if (p == pEnd) return false;
                c = DecodeUtf8(p, pEnd);
            }
            for (;;) {
                for (;;) {
                    if (s == sEnd) return false;
                    if (Reduce(DecodeUtf8(s, sEnd)) == Reduce(c)) break;
                }
                if (Match(p, pEnd, s, sEnd, escape)) return true;
            }
        }
        if (!escaped && c == '_') {
            if (s == sEnd) return false;
            DecodeUtf8(s, sEnd);
            continue;
        }
        if (!escaped && escape && c == *escape) {
            escaped = true;
            continue;
        }
        if (s == sEnd) return false;
        if (Reduce(DecodeUtf8(s, sEnd)) != Reduce(c)) return false;
        escaped = false;
    }
}

inline bool Like(std::string_view pattern, std::string_view text,
                 std::optional<std::uint32_t> escape) {
    const auto* p = reinterpret_cast<const unsigned char*>(pattern.data());
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    return Match(p, p + pattern.size(), s, s + text.size(), escape);
}

}  // namespace RecursiveLikeReference
