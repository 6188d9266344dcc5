#pragma once

// Window geometry and the user's date and time texts, for the UI tests; what windows show is
// read with the window driver (check/driver/ControlText.h).

#include <windows.h>

#include <string>

// A child window's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
// The pixel rectangle of a template rectangle in dialog units of `dialog`.
RECT DialogUnitsRect(HWND dialog, int x, int y, int width, int height);
// A window's outer size.
SIZE OuterSize(HWND window);
// The screen's DPI, as the display's device context gives it.
int ScreenDpi();

// The short date and time with seconds the user's locale gives for a UTC calendar time
// (tests run with the time zone pinned to UTC).
std::u16string ShortDate(const SYSTEMTIME& time);
std::u16string TimeWithSeconds(const SYSTEMTIME& time);
