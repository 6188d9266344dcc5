// The menu command and the database location, seen through the plug-in's windows: what the
// command opens, which database the windows read, and what happens without a location.

#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <cstring>

#include "check/driver/ControlText.h"
#include "tests/win/plugin/PluginFixture.h"
#include "ui/resource.h"

using namespace ControlText;

namespace {

using CommandTest = PluginTest;

// The activation contexts nivra.dll releases, counted through its import of ReleaseActCtx.
int contextsReleased = 0;

void WINAPI countedReleaseActCtx(HANDLE context) {
    ++contextsReleased;
    ReleaseActCtx(context);
}

// Points `module`'s import of the KERNEL32 function `name` at `replacement`.
bool replaceImport(HMODULE module, const char* name, const void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto& nt = *reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    auto at = [base](auto rva) { return reinterpret_cast<const char*>(base + rva); };
    auto* dll = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
        at(nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress));
    for (; dll->Name; ++dll) {
        if (lstrcmpiA(at(dll->Name), "KERNEL32.dll") != 0) continue;
        auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(at(dll->OriginalFirstThunk));
        auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slot) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) ||
                strcmp(at(names->u1.AddressOfData + offsetof(IMAGE_IMPORT_BY_NAME, Name)), name))
                continue;
            DWORD protection = 0;
            VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            return VirtualProtect(slot, sizeof *slot, protection, &protection) != FALSE;
        }
    }
    return false;
}

TEST_F(CommandTest, EachMenuCommandOpensOneMoreIndependentProtocolWindow) {
    host_->setDatabasePath(DatabaseWithSeries("two-windows", "Серия"));
    LoadAndNotify();
    HWND first = PickMenuItem();
    HWND second = PickMenuItem();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(OwnedDialogs(Main()).size(), 2u);
    for (HWND window : {first, second}) {
        EXPECT_EQ(ClassName(window), u"#32770");
        EXPECT_EQ(WindowText(window), u"Протокол измерений");
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_EQ(GetWindow(window, GW_OWNER), Main());
        // Made from dialog 101 of the plug-in's own module.
        EXPECT_EQ(reinterpret_cast<HMODULE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)),
                  plugin_->handle());
        EXPECT_EQ(ClassName(GetDlgItem(window, IDC_PROTOCOL_LIST)), u"SysListView32");
        EXPECT_EQ(WindowText(GetDlgItem(window, IDC_SELECT)), u"Выбрать");
        EXPECT_EQ(WindowText(GetDlgItem(window, IDC_REPORT)), u"Отчёт");
    }

    // Closing one leaves the other working.
    SendMessageW(first, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindow(first));
    ASSERT_TRUE(IsWindow(second));
    EXPECT_EQ(SeriesListedIn(second), (std::vector<std::u16string>{u"Серия"}));
}

TEST_F(CommandTest, TheHostCommandTopicRunsTheHandlerWithTheOwnerItIsGiven) {
    LoadAndNotify();
    ASSERT_TRUE(host_->runCommand(kCommandTopic, Main()));
    EXPECT_EQ(OwnedDialogs(Main()).size(), 1u);
    // Picking the item through the host's record of it does the same.
    ASSERT_TRUE(host_->pickMenuItem(0, Main()));
    EXPECT_EQ(OwnedDialogs(Main()).size(), 2u);
}

TEST_F(CommandTest, TheLocationIsCopiedAndARepeatedNotificationReplacesIt) {
    host_->setDatabasePath(DatabaseWithSeries("location-a", "Серия базы А"));
    LoadAndNotify();
    HWND window = PickMenuItem();
    ASSERT_NE(window, nullptr);
    // The host's string changes, and its old buffer is gone: the plug-in kept its own copy.
    host_->setDatabasePath(DatabaseWithSeries("location-b", "Серия базы Б"));
    EXPECT_EQ(SeriesListedIn(window), (std::vector<std::u16string>{u"Серия базы А"}));

    host_->publish(kModulesLoaded);
    // The location is the module's, not the window's: every window now reads the new one.
    EXPECT_EQ(SeriesListedIn(window), (std::vector<std::u16string>{u"Серия базы Б"}));
    HWND another = PickMenuItem();
    ASSERT_NE(another, nullptr);
    EXPECT_EQ(SeriesListedIn(another), (std::vector<std::u16string>{u"Серия базы Б"}));
}

TEST_F(CommandTest, WithoutALocationEveryDatabaseActionWarnsAndTheWindowStays) {
    host_->setDatabasePath(std::nullopt);
    LoadAndNotify();
    EXPECT_EQ(host_->journal().back(), "Request DB/GetConnectionUri");
    HWND window = PickMenuItem();
    ASSERT_NE(window, nullptr);

    std::vector<MessageBoxText> shown;
    ScriptOutcome outcome = Press(window, IDC_SELECT, {DismissMessageBox(shown)});
    EXPECT_TRUE(outcome.completed) << outcome.failure;
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, u"Ошибка");
    EXPECT_FALSE(shown[0].text.empty());
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(SendDlgItemMessageW(window, IDC_PROTOCOL_LIST, LVM_GETITEMCOUNT, 0, 0), 0);

    // The report cannot read its header either: a warning, and the host is never asked.
    shown.clear();
    outcome = Press(window, IDC_REPORT, {DismissMessageBox(shown)});
    EXPECT_TRUE(outcome.completed) << outcome.failure;
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, u"Ошибка");
    EXPECT_EQ(shown[0].owner, window);
    EXPECT_EQ(host_->exporter().calls(), 0);

    // A later notification with a location makes the same window work.
    host_->setDatabasePath(DatabaseWithSeries("location-late", "Серия"));
    host_->publish(kModulesLoaded);
    EXPECT_EQ(SeriesListedIn(window), (std::vector<std::u16string>{u"Серия"}));
}

// Sends a window the messages a host's loop would go on delivering; true when it is no window.
bool IsGoneForGood(HWND window) {
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_SELECT, BN_CLICKED), 0);
    PostMessageW(window, WM_PAINT, 0, 0);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    return !IsWindow(window);
}

TEST_F(CommandTest, UnloadClosesTheWindowsSoTheHostMayFreeTheLibraryAtOnce) {
    host_->setDatabasePath(DatabaseWithSeries("unload", "Серия"));
    LoadAndNotify();
    HWND idle = PickMenuItem();
    HWND choosing = PickMenuItem();
    ASSERT_NE(idle, nullptr);
    ASSERT_NE(choosing, nullptr);
    // The host unloads from inside the selection dialog's modal loop (a timer of its own):
    // the dialog ends with its window.
    const ScriptOutcome outcome =
        Press(choosing, IDC_SELECT,
              {{"the selection dialog", [choosing] { return FindOwnedDialog(choosing); },
                [this](HWND) { EXPECT_EQ(UnloadPlugin(), 0); }}});
    EXPECT_TRUE(outcome.completed) << outcome.failure;
    EXPECT_FALSE(IsWindow(idle));
    EXPECT_FALSE(IsWindow(choosing));
    EXPECT_FALSE(host_->runCommand(kCommandTopic, Main()));

    plugin_.reset();
    EXPECT_TRUE(IsGoneForGood(idle));
    EXPECT_TRUE(IsGoneForGood(choosing));
}

TEST_F(CommandTest, FreeingTheLibraryWithoutUnloadClosesItsWindows) {
    host_->setDatabasePath(DatabaseWithSeries("free", "Серия"));
    LoadAndNotify();
    HWND window = PickMenuItem();
    ASSERT_NE(window, nullptr);
    ChooseNewestPair(window);
    plugin_.reset();
    EXPECT_TRUE(IsGoneForGood(window));
}

TEST_F(CommandTest, TheActivationContextGoesWithTheLibrary) {
    ASSERT_TRUE(replaceImport(plugin_->handle(), "ReleaseActCtx",
                              reinterpret_cast<const void*>(&countedReleaseActCtx)));
    LoadAndNotify();
    for (int window = 0; window < 2; ++window) {
        HWND opened = PickMenuItem();
        ASSERT_NE(opened, nullptr);
        DestroyWindow(opened);
    }
    EXPECT_EQ(UnloadPlugin(), 0);
    EXPECT_EQ(contextsReleased, 0);
    // One context served both windows; it is released as the library goes.
    plugin_.reset();
    EXPECT_EQ(contextsReleased, 1);
}

}  // namespace
