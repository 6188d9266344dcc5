#pragma once

// The modal dialog "Выбор измерений" in which the user marks the two measurements of one
// series that the protocol compares. Windows only.

#include <windows.h>

#include "ui/SelectionRecord.h"

// Runs the dialog owned by `owner` with the current pair in `record`. Returns IDOK with the
// chosen pair in `record` (older first), or IDCANCEL with the pair untouched; the minimum
// size fields are written in either case once the dialog has initialised.
INT_PTR RunMeasurementSelectionDialog(HWND owner, SelectionRecord& record);

// The dialog procedure of resource 107; its initialisation parameter is the SelectionRecord.
INT_PTR CALLBACK MeasurementSelectionDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                                LPARAM lParam);
