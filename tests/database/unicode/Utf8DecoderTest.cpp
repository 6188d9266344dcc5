#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "database/unicode/Utf8Decoder.h"

using DataBase::Unicode::DecodeUtf8;

namespace {

std::vector<std::uint32_t> DecodeAll(const std::string& bytes) {
    std::vector<std::uint32_t> out;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) out.push_back(DecodeUtf8(p, end));
    return out;
}

}  // namespace

TEST(Utf8Decoder, DecodesLikeTheEngine) {
    struct Row {
        std::string bytes;
        std::vector<std::uint32_t> characters;
    };
    const Row rows[] = {
        {"a", {0x61}},
        {"\xC3\xA9", {0xE9}},
        {"\xD0\x81\xD0\xB6", {0x401, 0x436}},
        {"\xE2\x82\xAC", {0x20AC}},
        {"\xF0\x9F\x98\x80", {0x1F600}},
        {std::string("\0a", 2), {0, 0x61}},
        {"\x80", {0x80}},  // a stray continuation byte is its own value
        {"\xBF\xC3\xA9", {0xBF, 0xE9}},
        {"\xC0\x80", {0xFFFD}},  // overlong forms below 0x80
        {"\xC1\xBF", {0xFFFD}},
        {"\xC3", {0xFFFD}},  // cut off at the end
        {"\xC3"
         "A",
         {0xFFFD, 0x41}},
        {"\xED\xA0\x80", {0xFFFD}},  // surrogates
        {"\xED\x9F\xBF", {0xD7FF}},
        {"\xEF\xBF\xBE", {0xFFFD}},  // U+FFFE and U+FFFF
        {"\xEF\xBF\xBF", {0xFFFD}},
        {"\xEF\xBF\xBD", {0xFFFD}},
        {"\xE0\x80\x80\x80\x80", {0xFFFD}},  // every continuation belongs to the lead
        {"\xF8\x88\x80\x80\x80", {0x200000}},
        {"\xFC\x84\x80\x80\x80\x80", {0x4000000}},
        {"\xFD\xBF\xBF\xBF\xBF\xBF", {0x7FFFFFFF}},
        {"\xFE\x81", {0xFFFD}},  // FE and FF carry no payload
        {"\xFF\x81\x81", {0xFFFD}},
        {"\xFF\x81\x81\x81", {0x1041}},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(DecodeAll(r.bytes), r.characters) << testing::PrintToString(r.bytes);
    }
}

TEST(Utf8Decoder, NeverReadsPastTheEnd) {
    // A lead byte right before the end, with a continuation byte beyond it in memory.
    const unsigned char bytes[] = {0xE2, 0x82, 0xAC};
    const unsigned char* p = bytes;
    EXPECT_EQ(DecodeUtf8(p, bytes + 2), 0x82u);
    EXPECT_EQ(p, bytes + 2);
}
