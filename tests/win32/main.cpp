// nivra-road32: the 32-bit road. Loads nivra.dll from this program's folder into a recording
// host and walks it through every subsystem on the worked example; one line per step, exit
// code 1 when any step failed.

#include <windows.h>

#include <cstdio>
#include <string>

#include "check/HostDatabase.h"
#include "check/ReferenceCases.h"
#include "check/road/ProgramFolder.h"
#include "check/road/Road.h"
#include "check/road/RoadReport.h"

namespace {

constexpr char kTag[] = "road32";

}  // namespace

int main() {
    RoadReport report(kTag, true);
    try {
        Road road(report, ProgramFolder() + L"nivra.dll", ReferenceCases().front(),
                  HostDatabase::tempPath(kTag), kTag);
        road.run();
    } catch (const std::exception& e) {
        std::printf("%s: дорога не пройдена до начала: %s\n", kTag, e.what());
        return 1;
    }
    report.printTotals();
    return report.anyFailed() ? 1 : 0;
}
