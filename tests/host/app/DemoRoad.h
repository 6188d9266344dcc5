#pragma once

// The protocol road walked by the host itself, for the demo and the screenshots: picks the
// plug-in's menu item, presses "Выбрать", marks the two newest measurements of the newest
// series, reads the protocol back from the window and prints it, presses "Отчёт". Windows
// only.

#include <filesystem>

class HostMainWindow;
class TestHost;

struct DemoRoadOptions {
    // Where the selection dialog and the filled protocol window are pictured (BMP files);
    // empty: no pictures.
    std::filesystem::path pictures;
};

// Walks the road inside the host's message loop and returns the exit code: 0 when the
// protocol held nine rows and the report was written, 1 otherwise (the reason printed).
int RunDemoRoad(TestHost& host, HostMainWindow& window, const DemoRoadOptions& options);
