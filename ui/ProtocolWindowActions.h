#pragma once

// What the protocol window's buttons do. Each action catches its own failures and shows them
// as a warning owned by the window. Windows only.

#include <windows.h>

#include "database/AssayId.h"

// "Выбрать": runs the selection dialog with the pair the labels show and, on OK, shows the
// chosen pair in the labels and its protocol in the list. The window changes only once
// everything has been read, so a failed read, or a chosen measurement no longer in the
// database (the user is told to choose again), leaves it as it was.
void SelectAndCalculate(HWND window);

// "...": asks the host to open the file of measurement `id`, when the host opens files and
// the label shows a measurement.
void OpenMeasurementFile(HWND window, AssayId id);
