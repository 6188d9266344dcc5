#pragma once

#include <cstdint>

#include "database/unicode/UnicodeTables.h"

namespace DataBase::Unicode {

// The comparison reduction of LIKE and NOCASE: a character of 0x80 or above becomes the
// first unit of its base form without accents, and the result is case-folded. So Ё, ё, Е
// and е all reduce to е, and Æ to a. Characters beyond 16 bits reduce to themselves.
[[gnu::noinline]] inline std::uint32_t ReduceByTables(std::uint32_t c) {
    if (c > 0xFFFF) return c;
    if (c >= 0x80) {
        const UnicodeMapping base = Lookup(kUnaccentTable, static_cast<std::uint16_t>(c));
        if (!base.mapsToItself()) c = base.data[0];
    }
    return MapUnit(kFoldTable, static_cast<std::uint16_t>(c));
}

// The same, with the common characters precomputed.
[[gnu::always_inline]] inline std::uint32_t Reduce(std::uint32_t c) {
    return c < kQuickReductionLimit ? kQuickReduction[c] : ReduceByTables(c);
}

}  // namespace DataBase::Unicode
