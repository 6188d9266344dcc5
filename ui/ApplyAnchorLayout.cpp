#include "ui/ApplyAnchorLayout.h"

#include <algorithm>
#include <cstdint>

namespace {

AnchorRect anchorRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

const NCCALCSIZE_PARAMS* resizeOf(LPARAM ncCalcSizeParams) {
    const auto* params = reinterpret_cast<const NCCALCSIZE_PARAMS*>(ncCalcSizeParams);
    return params && params->lppos ? params : nullptr;
}

int extent(std::int32_t from, std::int32_t to) {
    return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{to} - from, 0, INT32_MAX));
}

}  // namespace

void applyAnchorLayout(const RECT& before, std::span<const AnchorEntry> table, HWND dialog,
                       int newWidth, int newHeight) {
    const AnchorDelta delta = anchorDelta(anchorRect(before), newWidth, newHeight);
    HDWP batch = BeginDeferWindowPos(static_cast<int>(table.size()));
    for (const AnchorEntry& entry : table) {
        HWND control = GetDlgItem(dialog, entry.controlId);
        if (!control) continue;
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        if (!GetWindowPlacement(control, &placement)) continue;
        const AnchorRect to =
            anchoredRect(anchorRect(placement.rcNormalPosition), entry.flags, delta);
        // A failed DeferWindowPos frees the batch: nothing after it is positioned.
        if (batch)
            batch = DeferWindowPos(batch, control, nullptr, to.left, to.top,
                                   extent(to.left, to.right), extent(to.top, to.bottom),
                                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
    if (batch) EndDeferWindowPos(batch);
}

void applyAnchorLayout(LPARAM ncCalcSizeParams, std::span<const AnchorEntry> table, HWND dialog) {
    const NCCALCSIZE_PARAMS* params = resizeOf(ncCalcSizeParams);
    if (!params) return;
    applyAnchorLayout(params->rgrc[1], table, dialog, params->lppos->cx, params->lppos->cy);
}

void applyAnchorLayout(LPARAM ncCalcSizeParams, std::span<const AnchorEntry> table, HWND dialog,
                       SIZE& laidOut) {
    const NCCALCSIZE_PARAMS* params = resizeOf(ncCalcSizeParams);
    // The minimized frame is no size to lay out for, and the way back from it could not be
    // laid out either: controls cut at zero size would come back too large.
    if (!params || IsIconic(dialog)) return;
    const RECT before{0, 0, laidOut.cx, laidOut.cy};
    applyAnchorLayout(before, table, dialog, params->lppos->cx, params->lppos->cy);
    laidOut = {params->lppos->cx, params->lppos->cy};
}
