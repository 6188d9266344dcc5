#include "tests/win/plugin/PluginFixture.h"

#include <algorithm>

#include "check/HostDatabase.h"
#include "check/driver/ControlText.h"
#include "check/driver/WindowActions.h"
#include "tests/host/HostMenu.h"
#include "ui/resource.h"

using namespace ControlText;

std::wstring DatabaseWithSeries(const std::string& name, const std::string& series) {
    HostDatabase db(HostDatabase::tempPath(name), HostDatabase::Schema::WithOperatorTable);
    db.addVersion(26, 1672531200, 1);
    db.addOperator(1, "Иванова Т. С.");
    for (int m = 0; m < 2; ++m) {
        const AssayId id =
            db.addAssay({.date = 1700000000 + m * 2400,
                         .sample = "Гелий газообразный сжатый",
                         .series = series,
                         .filename = "D:\\Хроматограммы\\He_" + std::to_string(m) + ".chr",
                         .operatorId = 1});
        db.addPeak(id, "Азот", 0.003 + 0.0001 * m);
    }
    db.close();
    const std::u16string uri = db.uri();
    return std::wstring(uri.begin(), uri.end());
}

void PluginTest::SetUp() {
    ASSERT_EQ(GetModuleHandleW(L"nivra.dll"), nullptr) << "an earlier test left the plug-in loaded";
    host_ = std::make_unique<TestHost>();
    plugin_ = std::make_unique<PluginModule>(BesideProgram(L"nivra.dll"));
    main_ = std::make_unique<HostMainWindow>(*host_, L"Хост", false);
}

void PluginTest::TearDown() {
    // The plug-in's windows go with their owner, before the library is released.
    main_.reset();
    if (plugin_ && !unloaded_) UnloadPlugin();
    plugin_.reset();
    host_.reset();
    EXPECT_EQ(GetModuleHandleW(L"nivra.dll"), nullptr) << "the plug-in stayed loaded";
}

void PluginTest::LoadAndNotify() {
    EXPECT_EQ(plugin_->load(host_->api()), 0);
    host_->publish(kModulesLoaded);
}

int PluginTest::UnloadPlugin() {
    unloaded_ = true;
    return plugin_->unload();
}

HWND PluginTest::PickMenuItem() {
    const UINT command = FindMenuCommand(GetMenu(Main()), kMenuPath);
    if (!command) {
        ADD_FAILURE() << "the main menu has no item at the plug-in's path";
        return nullptr;
    }
    std::vector<HWND> before = OwnedDialogs(Main());
    SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
    for (HWND window : OwnedDialogs(Main()))
        if (std::find(before.begin(), before.end(), window) == before.end()) return window;
    return nullptr;
}

std::vector<std::u16string> PluginTest::SeriesListedIn(HWND window) {
    std::vector<std::u16string> series;
    const ScriptOutcome outcome = Press(
        window, IDC_SELECT, {OnOwnedDialog("the selection dialog", window, [&series](HWND dialog) {
            series = ListBoxItems(GetDlgItem(dialog, IDC_SERIES_LIST));
            PostClick(dialog, IDCANCEL);
        })});
    EXPECT_TRUE(outcome.completed) << outcome.failure;
    return series;
}

void PluginTest::ChooseNewestPair(HWND window) {
    const ScriptOutcome outcome =
        Press(window, IDC_SELECT, {OnOwnedDialog("the selection dialog", window, [](HWND dialog) {
                  for (int item : {0, 1})
                      SendDlgItemMessageW(dialog, IDC_MEASUREMENT_LIST, LB_SETSEL, TRUE, item);
                  PostClick(dialog, IDOK);
              })});
    EXPECT_TRUE(outcome.completed) << outcome.failure;
}
