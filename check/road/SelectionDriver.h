#pragma once

#include <windows.h>

#include "check/road/RoadDatabase.h"
#include "check/road/RoadReport.h"

// Works the shown measurement selection dialog as a user would: checks how it opened (newest
// series selected, nothing marked), switches to the pair's series, marks the pair and presses
// OK. Runs inside the dialog's own modal loop.
void DriveSelectionDialog(HWND dialog, const RoadDatabase& road, StepChecks& checks);
