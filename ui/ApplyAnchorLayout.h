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
