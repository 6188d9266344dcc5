#pragma once

#include <cstddef>
#include <cstdint>

// Anchor flags: the edges of the dialog a control is tied to.
inline constexpr std::uint32_t AnchorLeft = 1;
inline constexpr std::uint32_t AnchorTop = 2;
inline constexpr std::uint32_t AnchorRight = 4;
inline constexpr std::uint32_t AnchorBottom = 8;

// One row of a dialog's anchor table: a control id and the edges it follows.
struct AnchorEntry {
    std::int32_t controlId;
    std::uint32_t flags;
};

// A rectangle in pixels, edges as Win32 keeps them (right and bottom exclusive).
struct AnchorRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    bool operator==(const AnchorRect&) const = default;
};

// The change of a dialog's outer size; either part may be negative.
struct AnchorDelta {
    std::int32_t dx = 0;
    std::int32_t dy = 0;

    bool operator==(const AnchorDelta&) const = default;
};

// The change from the outer rectangle `before` to the new outer size.
AnchorDelta anchorDelta(const AnchorRect& before, std::int32_t newWidth, std::int32_t newHeight);

// Where a control with `flags` goes when its dialog changes size by `delta`: a lone right
// (bottom) anchor moves it, left and right (top and bottom) together stretch it, anything
// else keeps it. Edges saturate at the 32-bit range instead of wrapping.
AnchorRect anchoredRect(const AnchorRect& control, std::uint32_t flags, const AnchorDelta& delta);
