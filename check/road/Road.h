#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "check/road/HostWindow.h"
#include "check/road/RecordingHost.h"
#include "check/road/ReferenceCase.h"
#include "check/road/RoadDatabase.h"
#include "check/road/RoadReport.h"
#include "check/road/Watchdog.h"

// The 32-bit road: the shipped nivra.dll in a recording host, walked from loading to unloading
// on the database of one reference case, one verdict per step. The library is loaded anew
// for each road and freed when it ends.
class Road {
public:
    // `databasePath`: where the case's database is written; the caller removes it.
    Road(RoadReport& report, std::wstring pluginPath, const ReferenceCase& reference,
         std::string databasePath, const char* tag);
    ~Road();

    void run();

private:
    using Body = std::function<void(StepChecks&)>;
    // Runs `body` as the step `name` unless a step in `needs` did not pass; either way the
    // step is reported.
    void step(const char* name, const std::vector<const char*>& needs, const Body& body);
    // Host and window faults collected since the last step, as failures of this one.
    void collectFaults(StepChecks& checks);

    void loadLibrary(StepChecks& checks);
    void identity(StepChecks& checks);
    void load(StepChecks& checks);
    void notify(StepChecks& checks);
    void openWindow(StepChecks& checks);
    void select(StepChecks& checks);
    void showProtocol(StepChecks& checks);
    void exportReport(StepChecks& checks);
    void unload(StepChecks& checks);
    void closeWindows();

    const void* entry(const char* name) const;

    RoadReport& report_;
    std::wstring pluginPath_;
    const ReferenceCase& reference_;
    std::string databasePath_;
    std::atomic<const char*> currentStep_{"start"};
    Watchdog watchdog_;
    std::map<std::string, bool> passed_;
    std::size_t hostFaultsSeen_ = 0;
    std::size_t windowFaultsSeen_ = 0;

    RoadDatabase database_;
    std::unique_ptr<RecordingHost> host_;
    std::unique_ptr<HostWindow> hostWindow_;
    HMODULE plugin_ = nullptr;
    const void* notification_ = nullptr;
    const void* commandHandler_ = nullptr;
    std::int32_t subscription_ = 0;
    std::int32_t command_ = 0;
    HWND protocolWindow_ = nullptr;
};
