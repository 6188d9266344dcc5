#pragma once

// Pictures of windows for the documentation. Windows only.

#include <windows.h>

#include <filesystem>

// Paints `window` with its frame and children into a bitmap and writes it as a 24-bit BMP
// file to `file`. Returns false when the picture could not be made or written.
bool SaveWindowImage(HWND window, const std::filesystem::path& file);
