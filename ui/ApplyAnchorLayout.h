#pragma once

#include <windows.h>

#include <span>

#include "ui/AnchorLayout.h"

// Moves and stretches the dialog's controls listed in `table` by the change from the outer
// rectangle `before` to the new outer size, all in one deferred batch. Entries whose control
// the dialog does not have are skipped.
void applyAnchorLayout(const RECT& before, std::span<const AnchorEntry> table, HWND dialog,
                       int newWidth, int newHeight);

// The same, driven by a WM_NCCALCSIZE whose wParam is TRUE.
void applyAnchorLayout(LPARAM ncCalcSizeParams, std::span<const AnchorEntry> table, HWND dialog);

// The same for a dialog that can be minimized: the controls follow the change from
// `laidOut`, the outer size they were last laid out for, which then becomes the new size.
// While the dialog is minimized nothing moves and `laidOut` keeps the last real size.
void applyAnchorLayout(LPARAM ncCalcSizeParams, std::span<const AnchorEntry> table, HWND dialog,
                       SIZE& laidOut);
