// Load, the modules-loaded notification and Unload, as the host sees them: which services
// the plug-in calls, in which order, with which topics, handles and records.

#include "tests/win/plugin/PluginFixture.h"

namespace {

using Journal = std::vector<std::string>;
using RegistrationTest = PluginTest;

const Journal kAfterLoad = {"Subscribe System/ModulesLoaded = 1"};
const Journal kFirstNotification = {
    "Subscribe System/ModulesLoaded = 1",
    "RegisterCommand nivra/MenuCommand = 1",
    "Request MainMenu/CreateNewMenu",
    "Request DB/GetConnectionUri",
};

TEST_F(RegistrationTest, LoadOnlySubscribesToTheModulesLoadedNotification) {
    EXPECT_EQ(plugin_->load(host_->api()), 0);
    EXPECT_EQ(host_->journal(), kAfterLoad);
    ASSERT_EQ(host_->router().subscriptions().size(), 1u);
    EXPECT_EQ(host_->router().subscriptions()[0].topic, kModulesLoaded);
    EXPECT_TRUE(host_->router().commands().empty());
    EXPECT_TRUE(host_->menuItems().empty());
}

TEST_F(RegistrationTest, TheNotificationRegistersTheCommandAndAsksForTheMenuItem) {
    host_->setDatabasePath(DatabaseWithSeries("registration", "Серия"));
    EXPECT_EQ(plugin_->load(host_->api()), 0);
    EXPECT_EQ(host_->publish(kModulesLoaded, 17, 23), 1);
    EXPECT_EQ(host_->journal(), kFirstNotification);

    ASSERT_EQ(host_->router().commands().size(), 1u);
    EXPECT_EQ(host_->router().commands()[0].topic, kCommandTopic);
    ASSERT_EQ(host_->menuItems().size(), 1u);
    const MenuItem& item = host_->menuItems()[0];
    EXPECT_EQ(item.recordSize, 16u);
    EXPECT_EQ(item.path, kMenuPath);
    EXPECT_EQ(item.topic, kCommandTopic);
}

TEST_F(RegistrationTest, ARepeatedNotificationRegistersAgainAndLeavesNoRegistrationBehind) {
    EXPECT_EQ(plugin_->load(host_->api()), 0);
    host_->publish(kModulesLoaded);
    host_->publish(kModulesLoaded);
    Journal expected = kFirstNotification;
    expected.insert(expected.end(),
                    {"UnregisterCommand 1", "RegisterCommand nivra/MenuCommand = 2",
                     "Request MainMenu/CreateNewMenu", "Request DB/GetConnectionUri"});
    EXPECT_EQ(host_->journal(), expected);
    ASSERT_EQ(host_->menuItems().size(), 2u);
    EXPECT_EQ(host_->menuItems()[1].path, kMenuPath);
    EXPECT_EQ(host_->router().commands().size(), 1u);

    host_->clearJournal();
    EXPECT_EQ(UnloadPlugin(), 0);
    EXPECT_EQ(host_->journal(), (Journal{"Unsubscribe 1", "UnregisterCommand 2"}));
    // Nothing the host could still call into the released module.
    EXPECT_FALSE(host_->router().hasCommand(kCommandTopic));
}

TEST_F(RegistrationTest, ARegistrationEndedBeforeAFailedOneIsNeverEndedAgain) {
    // A table of the test's own, so the host can stop registering commands midway.
    HostApi table = *host_->api();
    EXPECT_EQ(plugin_->load(&table), 0);
    host_->publish(kModulesLoaded);
    table.RegisterCommand = nullptr;
    host_->publish(kModulesLoaded);
    EXPECT_EQ(UnloadPlugin(), 0);
    Journal expected = kFirstNotification;
    expected.insert(expected.end(),
                    {"UnregisterCommand 1", "Request MainMenu/CreateNewMenu",
                     "Request DB/GetConnectionUri", "Unsubscribe 1", "UnregisterCommand 0"});
    EXPECT_EQ(host_->journal(), expected);
}

TEST_F(RegistrationTest, UnloadWithoutANotificationUnregistersHandleZero) {
    EXPECT_EQ(plugin_->load(host_->api()), 0);
    EXPECT_EQ(UnloadPlugin(), 0);
    Journal expected = kAfterLoad;
    expected.insert(expected.end(), {"Unsubscribe 1", "UnregisterCommand 0"});
    EXPECT_EQ(host_->journal(), expected);
}

TEST_F(RegistrationTest, AfterUnloadTheNotificationReachesNobody) {
    LoadAndNotify();
    EXPECT_EQ(UnloadPlugin(), 0);
    EXPECT_TRUE(host_->router().subscriptions().empty());
    EXPECT_FALSE(host_->router().hasCommand(kCommandTopic));

    host_->clearJournal();
    EXPECT_EQ(host_->publish(kModulesLoaded), 0);
    EXPECT_TRUE(host_->journal().empty());
    EXPECT_EQ(host_->menuItems().size(), 1u);
}

}  // namespace
