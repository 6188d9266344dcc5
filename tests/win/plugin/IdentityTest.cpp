// The identity record, read before anything else happens.

#include <cstring>

#include "tests/win/plugin/PluginFixture.h"

namespace {

using IdentityTest = PluginTest;

TEST_F(IdentityTest, OneStaticRecordWithTheSizeVersionAndTexts) {
    const PluginInfo* first = plugin_->info();
    const PluginInfo* second = plugin_->info();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->size, 48u);
    EXPECT_EQ(first->version, 0x01000204u);
    ASSERT_NE(first->title, nullptr);
    ASSERT_NE(first->description, nullptr);
    EXPECT_EQ(std::wstring(first->title), L"Вантрел: Протокол измерений по СТО 03-7.76-2016");
    EXPECT_EQ(std::wstring(first->description),
              L"Протокол измерения примесей гелия газообразного (сжатого)");
    for (const wchar_t* text : {first->company, first->email, first->notice, first->url}) {
        ASSERT_NE(text, nullptr);
        EXPECT_NE(std::wstring(text), L"");
    }
    constexpr PluginId kNoId{};
    EXPECT_NE(std::memcmp(&first->id, &kNoId, sizeof kNoId), 0) << "the identity GUID is empty";

    // The record lives in the module: static, not made per call; asking had no side effects.
    const auto base = reinterpret_cast<const char*>(plugin_->handle());
    const auto address = reinterpret_cast<const char*>(first);
    MEMORY_BASIC_INFORMATION region{};
    ASSERT_NE(VirtualQuery(address, &region, sizeof region), 0u);
    EXPECT_EQ(region.AllocationBase, base);
    EXPECT_TRUE(host_->journal().empty());
}

TEST_F(IdentityTest, TheSameRecordAfterLoadAndUnload) {
    const PluginInfo* before = plugin_->info();
    LoadAndNotify();
    EXPECT_EQ(plugin_->info(), before);
    UnloadPlugin();
    EXPECT_EQ(plugin_->info(), before);
    EXPECT_EQ(before->version, 0x01000204u);
}

}  // namespace
