// The plug-in's boundary holds whatever the host does: no table, a table without services,
// services that fail by throwing, an owner that is no window. Every exported function and
// callback returns 0 and nothing unwinds into the host.

#include <stdexcept>

#include "check/driver/DialogSearch.h"
#include "tests/win/plugin/PluginFixture.h"

namespace {

using GuardTest = PluginTest;

// A host whose every service throws, after keeping what the plug-in handed over.
struct ThrowingHost {
    static inline HostNotification notification = nullptr;
    static inline HostCommandHandler handler = nullptr;
    static inline int calls = 0;

    static std::int32_t NIVRA_CALL subscribe(const char*, HostNotification callback) {
        ++calls;
        notification = callback;
        throw std::runtime_error("Subscribe failed");
    }
    static std::int32_t NIVRA_CALL registerCommand(const char*, HostCommandHandler command) {
        ++calls;
        handler = command;
        throw std::runtime_error("RegisterCommand failed");
    }
    static std::int32_t NIVRA_CALL release(std::int32_t) {
        ++calls;
        throw std::runtime_error("release failed");
    }
    static std::intptr_t NIVRA_CALL request(const char*, std::intptr_t, std::intptr_t) {
        ++calls;
        throw std::runtime_error("Request failed");
    }
    static std::int32_t NIVRA_CALL hasHandler(const char*) {
        ++calls;
        throw std::runtime_error("HasHandler failed");
    }

    static HostApi table() {
        HostApi api{};
        api.Subscribe = subscribe;
        api.Unsubscribe = release;
        api.RegisterCommand = registerCommand;
        api.UnregisterCommand = release;
        api.Request = request;
        api.HasHandler = hasHandler;
        return api;
    }
};

TEST_F(GuardTest, NoTableOrAnEmptyTableIsHarmless) {
    EXPECT_EQ(plugin_->load(nullptr), 0);
    EXPECT_EQ(UnloadPlugin(), 0);

    const HostApi empty{};
    EXPECT_EQ(plugin_->load(&empty), 0);
    EXPECT_EQ(plugin_->unload(), 0);
    EXPECT_TRUE(host_->journal().empty());
}

TEST_F(GuardTest, UnloadBeforeLoadCallsNothing) {
    EXPECT_EQ(UnloadPlugin(), 0);
    EXPECT_TRUE(host_->journal().empty());
}

TEST_F(GuardTest, ServicesThatThrowDoNotUnwindThroughThePlugin) {
#ifndef _WIN64
    // 32-bit MinGW unwinds by DWARF tables that each statically linked module registers with
    // its own copy of the unwinder: an exception thrown here cannot cross the plug-in's
    // frames at all, so the guard has nothing to catch.
    GTEST_SKIP() << "32-bit: the test program's exceptions cannot unwind through nivra.dll";
#endif
    ThrowingHost::calls = 0;
    const HostApi table = ThrowingHost::table();
    int result = -1;
    EXPECT_NO_THROW(result = plugin_->load(&table));
    EXPECT_EQ(result, 0);
    ASSERT_NE(ThrowingHost::notification, nullptr);

    EXPECT_NO_THROW(result = ThrowingHost::notification(0, 0));
    EXPECT_EQ(result, 0);
    ASSERT_NE(ThrowingHost::handler, nullptr);

    EXPECT_NO_THROW(result = plugin_->unload());
    EXPECT_EQ(result, 0);
    unloaded_ = true;
    EXPECT_EQ(ThrowingHost::calls, 3) << "Subscribe, RegisterCommand and Unsubscribe each threw";
}

TEST_F(GuardTest, ACommandForAnOwnerThatIsNoWindowOpensNothing) {
    LoadAndNotify();
    HWND gone = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(gone, nullptr);
    DestroyWindow(gone);
    ASSERT_TRUE(host_->runCommand(kCommandTopic, gone));
    EXPECT_TRUE(OwnedDialogs(gone).empty());
    EXPECT_TRUE(OwnedDialogs(nullptr).empty());
}

}  // namespace
