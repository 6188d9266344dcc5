#pragma once

#include <array>

#include "ui/AnchorLayout.h"

// How the protocol window's controls follow its edges: captions stay, labels widen, the
// buttons beside them follow the right edge, the list grows both ways, OK keeps to the
// bottom-right corner.
extern const std::array<AnchorEntry, 10> kProtocolWindowAnchors;

// The selection dialog's table: OK and Cancel keep to the bottom-right corner. Its first
// entry names the protocol list's id, which this dialog does not have, so its lists stay.
extern const std::array<AnchorEntry, 3> kSelectionDialogAnchors;
