// nivra-host: the test host as a program. Loads nivra.dll from its own folder, hands it the
// host's service table, announces that the modules are loaded and shows its main window
// with the plug-in's menu.
//
//   nivra-host.exe [DATABASE [OUTDIR]]     by hand: reports go to OUTDIR (default: here)
//   nivra-host.exe --demo DATABASE OUTDIR  walks the protocol road by itself
//   nivra-host.exe --screenshots DATABASE OUTDIR
//                                          the same, picturing the selection dialog and
//                                          the protocol window into OUTDIR
// Reports are written as OUTDIR/protocol.odt, the received document as OUTDIR/protocol.xml.

#include <windows.h>

#include <shellapi.h>

#include <fcntl.h>
#include <io.h>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "check/driver/ControlText.h"
#include "tests/host/HostMainWindow.h"
#include "tests/host/PluginModule.h"
#include "tests/host/TestHost.h"
#include "tests/host/app/DemoRoad.h"
#include "text/Utf8.h"
#include "text/WideText.h"

using namespace ControlText;

namespace {

enum class Mode { ByHand, Demo, Screenshots };

struct Options {
    Mode mode = Mode::ByHand;
    std::optional<std::wstring> database;
    std::filesystem::path outdir = std::filesystem::current_path();
};

struct FreeArguments {
    void operator()(LPWSTR* arguments) const noexcept { LocalFree(arguments); }
};

std::vector<std::wstring> commandLine() {
    int count = 0;
    const std::unique_ptr<LPWSTR, FreeArguments> arguments(
        CommandLineToArgvW(GetCommandLineW(), &count));
    if (!arguments) return {};
    return std::vector<std::wstring>(arguments.get() + 1, arguments.get() + count);
}

std::optional<Options> parse(const std::vector<std::wstring>& arguments) {
    Options options;
    if (!arguments.empty() && (arguments[0] == L"--demo" || arguments[0] == L"--screenshots")) {
        if (arguments.size() != 3) return std::nullopt;
        options.mode = arguments[0] == L"--demo" ? Mode::Demo : Mode::Screenshots;
        options.database = arguments[1];
        options.outdir = arguments[2];
        return options;
    }
    if (arguments.size() > 2 || (!arguments.empty() && arguments[0].starts_with(L"--")))
        return std::nullopt;
    if (!arguments.empty()) options.database = arguments[0];
    if (arguments.size() == 2) options.outdir = arguments[1];
    return options;
}

std::wstring versionText(std::uint32_t version) {
    return std::to_wstring(version >> 24) + L"." + std::to_wstring((version >> 16) & 0xFF) + L"." +
           std::to_wstring((version >> 8) & 0xFF) + L"." + std::to_wstring(version & 0xFF);
}

void say(const std::wstring& line) {
    const std::string bytes = toUtf8(fromWide(line)) + "\n";
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

int run(const Options& options) {
    std::filesystem::create_directories(options.outdir);
    HostSetup setup;
    setup.databasePath = options.database;
    setup.exportSettings.templateFolder = BesideProgram(L"");
    setup.exportSettings.output = options.outdir / L"protocol.odt";
    setup.exportSettings.xmlCopy = options.outdir / L"protocol.xml";
    if (options.mode != Mode::ByHand) {
        // Fresh files prove that this run wrote them.
        std::filesystem::remove(setup.exportSettings.output);
        std::filesystem::remove(setup.exportSettings.xmlCopy);
    }

    TestHost host(setup);
    const PluginModule plugin(BesideProgram(L"nivra.dll"));
    const PluginInfo* info = plugin.info();
    const std::wstring title = info && info->title ? info->title : L"nivra";
    say(L"nivra-host: " + title + L", версия " + versionText(info ? info->version : 0));

    HostMainWindow window(host, L"Тестовый хост — " + title, true);
    window.setStatus(L"Модуль: " + title + L"\nБаза данных: " +
                     options.database.value_or(L"(не задана)") + L"\nОтчёты: " +
                     options.outdir.wstring());
    plugin.load(host.api());
    host.publish("System/ModulesLoaded");

    int result = 0;
    if (options.mode == Mode::ByHand) {
        result = RunMessageLoop();
    } else {
        DemoRoadOptions road;
        if (options.mode == Mode::Screenshots) road.pictures = options.outdir;
        result = RunDemoRoad(host, window, road);
    }
    // The plug-in's windows go with the main window, before the plug-in lets go.
    DestroyWindow(window.handle());
    plugin.unload();
    return result;
}

}  // namespace

int main() {
    // UTF-8 bytes pass to the terminal unchanged, without CR before each LF.
    _setmode(_fileno(stdout), _O_BINARY);
    const std::optional<Options> options = parse(commandLine());
    if (!options) {
        std::fputs(
            "usage: nivra-host.exe [DATABASE [OUTDIR]]\n"
            "       nivra-host.exe --demo DATABASE OUTDIR\n"
            "       nivra-host.exe --screenshots DATABASE OUTDIR\n",
            stderr);
        return 2;
    }
    try {
        return run(*options);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "nivra-host: %s\n", failure.what());
        return 1;
    }
}
