#pragma once

#include <windows.h>

// Dialog procedure of the modeless protocol window made from dialog resource 101.
INT_PTR CALLBACK ProtocolWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
