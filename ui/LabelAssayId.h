#pragma once

// The measurement a label of the protocol window shows. The label's user data holds the id
// (only its low half fits there on the 32-bit build), and a property of the label holds the
// high half, so ids above 2^32 read back whole on both builds.

#include <windows.h>

#include "database/AssayId.h"

// Stores `id` with the label; 0 means no measurement.
void SetLabelAssayId(HWND label, AssayId id);

// The id stored with the label, or 0 when none has been stored.
AssayId LabelAssayId(HWND label);

// Removes what SetLabelAssayId attached; called before the label is destroyed.
void ForgetLabelAssayId(HWND label);
