#pragma once

#include <cstdint>

#include "database/unicode/UnicodeTables.h"

namespace DataBase::Unicode {

// The comparison reduction of LIKE and NOCASE: a character of 0x80 or above becomes the
// first unit of its base form without accents, and the result is case-folded. So Ё, ё, Е
// and е all reduce to е, and Æ to a. Characters beyond 16 bits reduce to themselves.
inline std::uint32_t Reduce(std::uint32_t c) {
    if (c < 0x80) return c - 'A' < 26u ? c + ('a' - 'A') : c;  // ASCII folding is A..Z only
    if (c > 0xFFFF) return c;
    const UnicodeMapping base = Lookup(kUnaccentTable, static_cast<std::uint16_t>(c));
    if (!base.mapsToItself()) c = base.data[0];
    return MapUnit(kFoldTable, static_cast<std::uint16_t>(c));
}

}  // namespace DataBase::Unicode
