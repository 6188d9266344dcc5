#pragma once

// The scaling a window is shown at. Windows only.

#include <windows.h>

// The DPI of `window`: its monitor's where Windows tells each window its own (Windows 10
// 1607 and later), otherwise the screen's; 96 is 100 %.
int WindowDpi(HWND window);
