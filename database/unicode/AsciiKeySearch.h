#pragma once

#include <cstdint>

namespace DataBase::Unicode {

// The first character at or after `s` (a character start) whose reduction is the ASCII
// `key`: its start, with `after` set just past it; null when the text up to `end` has none.
// The LIKE matcher's search for the first letter after a match-all, where most of its time
// goes.
const unsigned char* FindAsciiKey(const unsigned char* s, const unsigned char* end,
                                  std::uint32_t key, const unsigned char*& after);

}  // namespace DataBase::Unicode
