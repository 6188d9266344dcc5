#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/win32/HostWindow.h"
#include "tests/win32/RecordingHost.h"
#include "tests/win32/RoadDatabase.h"
#include "tests/win32/RoadReport.h"
#include "tests/win32/Watchdog.h"

// The 32-bit smoke road: the shipped nivra.dll in a recording host, walked from loading to
// unloading in one process, one verdict per step.
class Road {
public:
    Road(RoadReport& report, std::wstring pluginPath);
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
