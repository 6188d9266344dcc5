#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "database/unicode/NocaseCollation.h"
#include "database/unicode/Reduction.h"
#include "database/unicode/Utf8Decoder.h"
#include "text/Utf8.h"

using namespace DataBase::Unicode;

namespace {

int Sign(int value) {
    return (value > 0) - (value < 0);
}

void* Tag(int encoding) {
    return reinterpret_cast<void*>(static_cast<std::intptr_t>(encoding));
}

int CompareUtf8(const std::string& a, const std::string& b) {
    return Sign(CompareNocase(Tag(kNocaseUtf8), static_cast<int>(a.size()), a.data(),
                              static_cast<int>(b.size()), b.data()));
}

int CompareUtf16(const std::string& a, const std::string& b) {
    const std::u16string wa = fromUtf8(a), wb = fromUtf8(b);
    return Sign(CompareNocase(Tag(kNocaseUtf16), static_cast<int>(2 * wa.size()), wa.data(),
                              static_cast<int>(2 * wb.size()), wb.data()));
}

}  // namespace

TEST(NocaseCollation, Rows) {
    struct Row {
        const char* left;
        const char* right;
        int utf8, utf16;
    };
    const Row rows[] = {
        {"Ёж", "ЕЖ", 0, 0},
        {"ёж", "ежик", -1, -1},
        {"a", "ab", -1, -1},
        {"", "", 0, 0},
        {"", "a", -1, -1},
        {"b", "A", 1, 1},
        {"A", "a", 0, 0},
        {"ж", "Я", -1, -1},
        {"é", "e", 1, 0},
        {"é", "eb", -1, -1},
        {"éé", "eee", -1, -1},
        {"Æ", "a", 1, 0},
        {"ß", "ẞ", -1, 0},
        {"z", "é", 1, 1},
        {"😀", "\xEF\xBF\xBD", 1, -1},
        {"Straße", "STRASSE", 1, 1},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(CompareUtf8(r.left, r.right), r.utf8) << r.left << " vs " << r.right;
        EXPECT_EQ(CompareUtf8(r.right, r.left), -r.utf8) << r.right << " vs " << r.left;
        EXPECT_EQ(CompareUtf16(r.left, r.right), r.utf16) << r.left << " vs " << r.right;
        EXPECT_EQ(CompareUtf16(r.right, r.left), -r.utf16) << r.right << " vs " << r.left;
    }
}

TEST(NocaseCollation, EmptyTextMayComeAsNullPointer) {
    const char a[] = "a";
    EXPECT_EQ(CompareNocase(Tag(kNocaseUtf8), 0, nullptr, 0, nullptr), 0);
    EXPECT_LT(CompareNocase(Tag(kNocaseUtf8), 0, nullptr, 1, a), 0);
    EXPECT_GT(CompareNocase(Tag(kNocaseUtf16), 2, u"a", 0, nullptr), 0);
}

// The engine sorts and indexes by this comparison, which is only sound when it is a total
// order: antisymmetric and transitive over any texts, malformed ones included.
TEST(NocaseCollation, IsATotalOrder) {
    const std::vector<std::string> pieces = {"a", "A", "b", "é", "e",    "E",    "Ё", "е",
                                             "ж", "Æ", "ß", "ẞ", "\x80", "\xC3", "😀"};
    std::mt19937 random(99);
    std::vector<std::string> texts;
    for (int i = 0; i < 120; ++i) {
        std::string text;
        const int length = std::uniform_int_distribution<int>(0, 4)(random);
        for (int k = 0; k < length; ++k) {
            text +=
                pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
        }
        texts.push_back(text);
    }
    for (auto compare : {CompareUtf8, CompareUtf16}) {
        for (const auto& a : texts) {
            for (const auto& b : texts) {
                const int ab = compare(a, b);
                ASSERT_EQ(ab, -compare(b, a)) << a << " / " << b;
                for (const auto& c : texts) {
                    if (ab <= 0 && compare(b, c) <= 0) {
                        ASSERT_LE(compare(a, c), 0) << a << " / " << b << " / " << c;
                    }
                }
            }
        }
    }
}

namespace {

// The order spelled out character by character, without skipping identical bytes.
int PlainCompareUtf8(const std::string& a, const std::string& b) {
    const auto* p = reinterpret_cast<const unsigned char*>(a.data());
    const auto* q = reinterpret_cast<const unsigned char*>(b.data());
    const auto *pEnd = p + a.size(), *qEnd = q + b.size();
    while (p < pEnd && q < qEnd) {
        const std::uint32_t x = Reduce(DecodeUtf8(p, pEnd)), y = Reduce(DecodeUtf8(q, qEnd));
        if (x != y) return x < y ? -1 : 1;
    }
    if (p < pEnd) return 1;
    if (q < qEnd) return -1;
    return Sign(static_cast<int>(a.size()) - static_cast<int>(b.size()));
}

}  // namespace

// Texts sharing long prefixes, parting inside multi-byte and malformed characters, so that
// skipping identical bytes has to find the right character to resume from.
TEST(NocaseCollation, SkippingIdenticalBytesKeepsTheCharacterOrder) {
    const std::vector<std::string> pieces = {"a",    "B",    "é",    "e",    "ж",    "Ж",
                                             "\x80", "\xBF", "\xC3", "\xD0", "\xE2", "\x82",
                                             "\xAC", "😀",    "ẞ",    "ß",    " "};
    std::mt19937 random(4242);
    auto text = [&](int maxPieces) {
        std::string t;
        const int n = std::uniform_int_distribution<int>(0, maxPieces)(random);
        for (int k = 0; k < n; ++k) {
            t += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
        }
        return t;
    };
    for (int i = 0; i < 50000; ++i) {
        const std::string prefix = text(12);
        const std::string a = prefix + text(3), b = prefix + text(3);
        ASSERT_EQ(CompareUtf8(a, b), PlainCompareUtf8(a, b))
            << testing::PrintToString(a) << " vs " << testing::PrintToString(b);
    }
}
