#include "tests/win/plugin/PluginFixture.h"

#include <algorithm>

#include "host/ControlText.h"
#include "host/DialogSearch.h"
#include "host/HostMenu.h"
#include "host/WindowScript.h"
#include "tests/support/HostDatabase.h"
#include "ui/resource.h"

std::wstring DatabaseWithSeries(const std::string& name, const std::string& series) {
    HostDatabase db(HostDatabase::tempPath(name), HostDatabase::Schema::WithOperatorTable);
    db.addVersion(26, 1672531200, 1);
    db.addOperator(1, "Иванова Т. С.");
    for (int m = 0; m < 2; ++m) {
        const AssayId id = db.addAssay({.date = 1700000000 + m * 2400,
                                        .sample = "Гелий газообразный сжатый",
                                        .series = series,
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

std::vector<std::wstring> PluginTest::SeriesListedIn(HWND window) {
    std::vector<std::wstring> series;
    const ScriptOutcome outcome = PlayScript(
        [window] { SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_SELECT, BN_CLICKED), 0); },
        {{"the selection dialog", [window] { return FindOwnedDialog(window); },
          [&series](HWND dialog) {
              series = ListBoxTexts(GetDlgItem(dialog, IDC_SERIES_LIST));
              PostClick(dialog, IDCANCEL);
          }}});
    EXPECT_TRUE(outcome.completed) << outcome.failure;
    return series;
}
