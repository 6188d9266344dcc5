#pragma once

#include <cstddef>
#include <cstdint>

namespace DataBase::Unicode {

// One constant three-level mapping table keyed by a UTF-16 code unit. The unit's block
// (unit >> blockShift) selects a block number; that block's offsets give the unit's slice of
// the block's value list. A slice of the single value kMapsToItself leaves the unit as it is.
struct UnicodeTable {
    const std::uint16_t* blockIndex;  // 65536 >> blockShift block numbers; 0 is identity
    const std::uint8_t* offsets;      // (1 << blockShift) + 1 per block number
    const std::uint16_t* valueStart;  // per block number: its first value in `values`
    const std::uint16_t* values;
    unsigned blockShift;  // 5 (32 units per block) or 6 (64)
    unsigned blockCount;  // distinct blocks
    unsigned valueCount;  // length of `values`
};

inline constexpr std::uint16_t kMapsToItself = 0xFFFF;

// Simple case folding, lower, upper and title mappings (one unit each), and the base form
// without accents (zero to 18 units), all from Unicode 5.1 data.
extern const UnicodeTable kFoldTable;
extern const UnicodeTable kLowerTable;
extern const UnicodeTable kUpperTable;
extern const UnicodeTable kTitleTable;
extern const UnicodeTable kUnaccentTable;

// The comparison reduction (see Reduction.h) of every character below
// kQuickReductionLimit, derived from the fold and unaccent tables: the characters of one or
// two UTF-8 bytes, which is most Latin, Greek and Cyrillic text, reduce with a single load.
inline constexpr std::uint32_t kQuickReductionLimit = 0x800;
extern const std::uint16_t kQuickReduction[kQuickReductionLimit];

// The stored slice of one unit: `size` values starting at `data`.
struct UnicodeMapping {
    const std::uint16_t* data;
    std::size_t size;

    bool mapsToItself() const { return size == 0 || (size == 1 && data[0] == kMapsToItself); }
};

inline UnicodeMapping Lookup(const UnicodeTable& table, std::uint16_t unit) {
    const unsigned block = table.blockIndex[unit >> table.blockShift];
    const unsigned blockSize = 1u << table.blockShift;
    const std::uint8_t* offset = table.offsets + block * (blockSize + 1) + (unit & (blockSize - 1));
    return {table.values + table.valueStart[block] + offset[0],
            static_cast<std::size_t>(offset[1] - offset[0])};
}

// The unit's one-unit mapping from a case table (the unit itself when it has none).
inline std::uint16_t MapUnit(const UnicodeTable& table, std::uint16_t unit) {
    const UnicodeMapping mapping = Lookup(table, unit);
    return mapping.size == 1 && mapping.data[0] != kMapsToItself ? mapping.data[0] : unit;
}

// Bytes of constant data one table occupies.
inline std::size_t TableBytes(const UnicodeTable& table) {
    const std::size_t blockSize = std::size_t{1} << table.blockShift;
    return 2 * (0x10000 >> table.blockShift) + table.blockCount * (blockSize + 1) +
           2 * table.blockCount + 2 * table.valueCount;
}

}  // namespace DataBase::Unicode
