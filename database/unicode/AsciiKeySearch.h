#pragma once

#include <cstdint>
#include <optional>

#include "database/unicode/WideVectors.h"

namespace DataBase::Unicode {

struct SkippableLeads;
struct SixteenByteTest;

// The search for the first character whose reduction is one ASCII key, the LIKE matcher's
// search for the first letter after a match-all, where most of its time goes. Made once per
// pattern: the tests it needs are prepared once per process and only looked up here.
class AsciiKeySearch {
public:
    // `next`: the ASCII key the character after the key's must reduce to, when the pattern
    // has one there. A key byte followed by an ASCII byte other than that key's two cases
    // starts no match, and the search passes over it.
    AsciiKeySearch(std::uint32_t key, std::optional<std::uint32_t> next);

    // The first character at or after `s` (a character start) whose reduction is the key:
    // its start, with `after` set just past it; null when the text up to `end` has none.
    const unsigned char* Find(const unsigned char* s, const unsigned char* end,
                              const unsigned char*& after) const;

    struct Follower {
        std::uint32_t key, otherCase;
        bool any;  // no next key: any byte may follow
    };

private:
    const SkippableLeads* skippable_;
    const SixteenByteTest* test_;
    Follower follower_;
    std::uint32_t key_;
    std::uint32_t otherCase_;
#ifdef NIVRA_WIDE_VECTORS
    bool wide_ = false;  // thirty-two bytes at a time
#endif
};

}  // namespace DataBase::Unicode
