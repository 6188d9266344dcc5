#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "database/unicode/Reduction.h"
#include "database/unicode/UnicodeTables.h"

using namespace DataBase::Unicode;

namespace {

struct NamedTable {
    const char* name;
    const UnicodeTable* table;
    unsigned blockShift;
};

const NamedTable kTables[] = {
    {"fold", &kFoldTable, 5},   {"lower", &kLowerTable, 5},       {"upper", &kUpperTable, 6},
    {"title", &kTitleTable, 6}, {"unaccent", &kUnaccentTable, 5},
};

// The mapping of `unit` as a string of units, the unit itself when it maps to itself.
std::u16string Mapped(const UnicodeTable& table, char16_t unit) {
    const UnicodeMapping m = Lookup(table, unit);
    if (m.mapsToItself()) return std::u16string(1, unit);
    return std::u16string(m.data, m.data + m.size);
}

}  // namespace

TEST(UnicodeTables, BlocksAreWellFormedSharedAndBlockZeroIsIdentity) {
    for (const NamedTable& t : kTables) {
        SCOPED_TRACE(t.name);
        const UnicodeTable& table = *t.table;
        ASSERT_EQ(table.blockShift, t.blockShift);
        const unsigned blockSize = 1u << table.blockShift;
        for (unsigned i = 0; i < (0x10000u >> table.blockShift); ++i) {
            ASSERT_LT(table.blockIndex[i], table.blockCount) << "block " << i;
        }
        std::set<std::vector<std::vector<std::uint16_t>>> contents;
        for (unsigned block = 0; block < table.blockCount; ++block) {
            const std::uint8_t* offsets = table.offsets + block * (blockSize + 1);
            ASSERT_EQ(offsets[0], 0);
            std::vector<std::vector<std::uint16_t>> content;
            for (unsigned i = 0; i < blockSize; ++i) {
                ASSERT_LE(offsets[i], offsets[i + 1]) << "block " << block;
                const std::uint16_t* values = table.values + table.valueStart[block];
                content.emplace_back(values + offsets[i], values + offsets[i + 1]);
            }
            ASSERT_LE(table.valueStart[block] + offsets[blockSize], table.valueCount);
            if (block == 0) {
                for (const auto& entry : content) {
                    EXPECT_EQ(entry, std::vector<std::uint16_t>{kMapsToItself});
                }
            }
            EXPECT_TRUE(contents.insert(content).second) << "block " << block << " repeated";
        }
    }
}

// Non-identity entries of each table, from Unicode 5.1 data. Unaccent: the rule applied to
// the data gives one changed unit more than 4384 (see the generator's notes).
TEST(UnicodeTables, CountsOfChangedUnits) {
    struct Expected {
        const UnicodeTable* table;
        int changed, multiUnit, longest;
    };
    const Expected expected[] = {
        {&kFoldTable, 995, 0, 1},  {&kLowerTable, 983, 0, 1},         {&kUpperTable, 991, 0, 1},
        {&kTitleTable, 995, 0, 1}, {&kUnaccentTable, 4385, 1040, 18},
    };
    for (const Expected& e : expected) {
        int changed = 0, multi = 0, longest = 0, empty = 0;
        for (unsigned u = 0; u < 0x10000; ++u) {
            const UnicodeMapping m = Lookup(*e.table, static_cast<std::uint16_t>(u));
            if (m.size == 0) ++empty;
            if (m.mapsToItself()) continue;
            ++changed;
            if (m.size > 1) ++multi;
            if (static_cast<int>(m.size) > longest) longest = static_cast<int>(m.size);
        }
        EXPECT_EQ(changed, e.changed) << (e.table - &kFoldTable);
        EXPECT_EQ(multi, e.multiUnit);
        EXPECT_EQ(longest, e.longest);
        EXPECT_EQ(empty, 0);
    }
}

TEST(UnicodeTables, CaseRows) {
    struct Row {
        const UnicodeTable* table;
        char16_t from, to;
    };
    const Row rows[] = {
        {&kFoldTable, u'Ё', u'ё'},
        {&kFoldTable, u'ς', u'σ'},
        {&kFoldTable, u'ẞ', u'ß'},
        {&kFoldTable, u'ß', u'ß'},
        {&kFoldTable, u'İ', u'İ'},
        {&kFoldTable, u'A', u'a'},
        {&kFoldTable, u'Ꙁ', u'ꙁ'},            // assigned in 5.1
        {&kFoldTable, u'\u2C70', u'\u2C70'},  // assigned in 5.2: left alone
        {&kFoldTable, u'\u1C90', u'\u1C90'},  // Georgian Mtavruli, 11.0
        {&kLowerTable, u'Ё', u'ё'},
        {&kLowerTable, u'İ', u'i'},
        {&kLowerTable, u'ẞ', u'ß'},
        {&kLowerTable, u'ǅ', u'ǆ'},
        {&kUpperTable, u'ß', u'ß'},
        {&kUpperTable, u'ǳ', u'Ǳ'},
        {&kUpperTable, u'ё', u'Ё'},
        {&kUpperTable, u'ς', u'Σ'},
        {&kUpperTable, u'\u10D0', u'\u10D0'},  // its capital is newer than 5.1
        {&kTitleTable, u'ǳ', u'ǲ'},
        {&kTitleTable, u'ǲ', u'ǲ'},
        {&kTitleTable, u'ǆ', u'ǅ'},
        {&kTitleTable, u'h', u'H'},
        {&kTitleTable, u'\u10D0', u'\u10D0'},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(MapUnit(*r.table, r.from), r.to)
            << std::hex << int(r.from) << " in table " << (r.table - &kFoldTable);
    }
    // The titlecase digraphs are stored as values of their own, not as the identity mark.
    for (char16_t digraph : {u'ǅ', u'ǈ', u'ǋ', u'ǲ'}) {
        EXPECT_FALSE(Lookup(kTitleTable, digraph).mapsToItself()) << int(digraph);
    }
}

TEST(UnicodeTables, UnaccentRows) {
    struct Row {
        char16_t from;
        std::u16string to;
    };
    const Row rows[] = {
        {u'é', u"e"},
        {u'ё', u"\u0435"},
        {u'Ё', u"\u0415"},
        {u'й', u"и"},
        {u'Й', u"И"},
        {u'ά', u"α"},
        {u'İ', u"I"},
        {u'Å', u"A"},
        {u'Ø', u"O"},
        {u'Ł', u"L"},
        {u'Đ', u"D"},
        {u'ƀ', u"b"},
        {u'Æ', u"AE"},
        {u'æ', u"ae"},
        {u'Œ', u"OE"},
        {u'œ', u"oe"},
        {u'ǅ', u"Dz"},
        {u'ﬁ', u"fi"},
        {u'¼', u"1\u20444"},
        {u'①', u"1"},
        {u'⑴', u"(1)"},
        {u'Ａ', u"A"},
        {u'ｶ', u"\u30AB"},
        {u'Ǽ', u"AE"},
        {u'\u0301', u"\u0301"},  // combining marks stay
        {u'\u0344', u"\u0344"},  // a mark decomposing into marks only
        {u'가', u"가"},          // Hangul syllables stay
        {u'a', u"a"},
        {u'ß', u"ß"},
        {u'\uF900', u"\u8C48"},  // compatibility ideograph to its unified form
        {u'\uFACF', u"\uFACF"},  // whose unified form lies beyond 16 bits: kept
        {char16_t{0xD83D}, std::u16string(1, char16_t{0xD83D})},  // surrogates stay
    };
    for (const Row& r : rows) {
        EXPECT_EQ(Mapped(kUnaccentTable, r.from), r.to) << std::hex << int(r.from);
    }
    const std::u16string longest = Mapped(kUnaccentTable, u'\uFDFA');
    EXPECT_EQ(longest.size(), 18u);
    EXPECT_EQ(longest.substr(0, 4), u"صلى ");
}

TEST(Reduction, ReducesCaseAndAccentsTogether) {
    struct Row {
        std::uint32_t from, to;
    };
    const Row rows[] = {
        {U'Ё', U'е'},     {U'ё', U'е'},       {U'Е', U'е'},
        {U'е', U'е'},     {U'Æ', U'a'},       {U'é', U'e'},
        {U'É', U'e'},     {U'A', U'a'},       {U'z', U'z'},
        {U'İ', U'i'},     {U'ẞ', U'ß'},       {U'ß', U'ß'},
        {U'Ж', U'ж'},     {U'ｶ', U'カ'},      {U'①', U'1'},
        {0xFFFD, 0xFFFD}, {0x1F600, 0x1F600}, {0x7FFFFFFF, 0x7FFFFFFF},
        {0x80, 0x80},
    };
    for (const Row& r : rows) EXPECT_EQ(Reduce(r.from), r.to) << std::hex << r.from;
}

TEST(Reduction, PrecomputedCharactersAgreeWithTheTables) {
    for (std::uint32_t c = 0; c < 0x10000; ++c) {
        ASSERT_EQ(Reduce(c), ReduceByTables(c)) << std::hex << c;
    }
    for (std::uint32_t c = 0; c < 0x80; ++c) {
        EXPECT_EQ(Reduce(c), c - 'A' < 26u ? c + 32 : c) << c;
    }
}
