#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "database/Utf.h"
#include "database/unicode/NocaseCollation.h"

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
