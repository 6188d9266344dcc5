// The services the windows ask of the host, across the real module boundary: opening a
// measurement's file and rendering the report.

#include <windows.h>

#include <filesystem>

#include "check/HostDatabase.h"
#include "tests/win/plugin/PluginFixture.h"
#include "ui/resource.h"

namespace {

using HostServicesTest = PluginTest;

void Click(HWND window, int id) {
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

TEST_F(HostServicesTest, MeasurementFilesAreRequestedOnlyFromAHostThatOpensThem) {
    host_->setDatabasePath(DatabaseWithSeries("files", "Серия"));
    LoadAndNotify();
    HWND window = PickMenuItem();
    ASSERT_NE(window, nullptr);
    ChooseNewestPair(window);

    host_->setOpensFiles(false);
    host_->clearJournal();
    Click(window, IDC_OPEN_FIRST);
    EXPECT_EQ(host_->journal(), (std::vector<std::string>{"HasHandler Main/OpenVantrelFile = 0"}));
    EXPECT_TRUE(host_->openedFiles().empty());

    host_->setOpensFiles(true);
    Click(window, IDC_OPEN_SECOND);
    Click(window, IDC_OPEN_FIRST);
    EXPECT_EQ(host_->openedFiles(), (std::vector<std::wstring>{L"D:\\Хроматограммы\\He_1.chr",
                                                               L"D:\\Хроматограммы\\He_0.chr"}));
}

TEST_F(HostServicesTest, TheReportReachesTheHostsExportAndItsFailureIsShown) {
    const std::filesystem::path output = HostDatabase::tempPath("plugin-report") + ".odt";
    host_->exporter().settings().templateFolder = BesideProgram(L"");
    host_->exporter().settings().output = output;
    host_->setDatabasePath(DatabaseWithSeries("report", "Серия"));
    LoadAndNotify();
    HWND window = PickMenuItem();
    ASSERT_NE(window, nullptr);
    ChooseNewestPair(window);

    ScriptOutcome outcome = Press(window, IDC_REPORT, {});
    EXPECT_TRUE(outcome.completed) << outcome.failure;
    ASSERT_EQ(host_->exporter().calls(), 1);
    EXPECT_EQ(host_->exporter().lastError(), "");
    const auto& received = host_->exporter().lastReceived();
    ASSERT_TRUE(received.has_value());
    EXPECT_EQ(received->kind, 0);
    EXPECT_TRUE(received->flag);
    EXPECT_EQ(received->templateName, L"Export_Protocol.odt");
    const auto rows = received->tree->child(L"root").child(L"table1").children(L"row");
    EXPECT_EQ(std::distance(rows.begin(), rows.end()), 9);
    EXPECT_GT(std::filesystem::file_size(output), 0u);

    host_->setExportFails(true);
    std::vector<MessageBoxText> shown;
    outcome = Press(window, IDC_REPORT, {DismissMessageBox(shown)});
    EXPECT_TRUE(outcome.completed) << outcome.failure;
    EXPECT_EQ(host_->exporter().calls(), 2);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, u"Ошибка");
    EXPECT_EQ(shown[0].text, u"Возникли ошибки при формировании отчёта");
    EXPECT_EQ(shown[0].owner, window);
    std::filesystem::remove(output);
}

}  // namespace
