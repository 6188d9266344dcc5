// nivra-road32: the 32-bit smoke road. Loads nivra.dll from this program's folder into a
// recording host and walks it through every subsystem; one line per step, exit code 1 when
// any step failed.

#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/win32/Road.h"
#include "tests/win32/RoadReport.h"

namespace {

std::wstring PluginBesideProgram() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return folder + L"nivra.dll";
}

}  // namespace

int main() {
    RoadReport report;
    try {
        Road road(report, PluginBesideProgram());
        road.run();
    } catch (const std::exception& e) {
        std::printf("road32: FAILED before the road could run: %s\n", e.what());
        return 1;
    }
    report.printTotals();
    return report.anyFailed() ? 1 : 0;
}
