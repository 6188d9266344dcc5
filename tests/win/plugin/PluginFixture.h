#pragma once

// The plug-in loaded into the test host, fresh for every test: each test loads nivra.dll
// anew (its module state starts at zero) beside a host main window that owns the
// plug-in's windows, and lets everything go again in TearDown.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "check/driver/DialogSearch.h"
#include "check/driver/WindowScript.h"
#include "tests/host/HostMainWindow.h"
#include "tests/host/PluginModule.h"
#include "tests/host/TestHost.h"

inline const std::wstring kMenuPath = L"Данные/Расчёты/Протокол измерений по СТО 03-7.76-2016";
inline const std::string kCommandTopic = "nivra/MenuCommand";
inline const std::string kModulesLoaded = "System/ModulesLoaded";

// A host database with one series named `series` holding two measurements (files
// "D:\\Хроматограммы\\He_0.chr", older, and "...He_1.chr"); returns its path.
std::wstring DatabaseWithSeries(const std::string& name, const std::string& series);

class PluginTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Load with the host's table, then the modules-loaded notification.
    void LoadAndNotify();
    // Unload, once; TearDown calls it unless the test did.
    int UnloadPlugin();
    // Runs the plug-in's command through the main window's real menu item and returns the
    // window it opened, or nullptr.
    HWND PickMenuItem();
    // Presses "Выбрать" in `window` and returns the series the selection dialog lists, then
    // cancels it; the test fails when the dialog does not open.
    std::vector<std::u16string> SeriesListedIn(HWND window);
    // Chooses the two newest measurements of the preselected series through "Выбрать".
    void ChooseNewestPair(HWND window);

    HWND Main() const { return main_->handle(); }

    std::unique_ptr<TestHost> host_;
    std::unique_ptr<PluginModule> plugin_;
    std::unique_ptr<HostMainWindow> main_;
    bool unloaded_ = false;
};
