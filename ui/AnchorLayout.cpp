#include "ui/AnchorLayout.h"

#include <algorithm>
#include <limits>

namespace {

std::int32_t saturate(std::int64_t value) {
    constexpr std::int64_t low = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t high = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(value, low, high));
}

struct Effect {
    std::int64_t move = 0;
    std::int64_t grow = 0;
};

// One axis: `nearBit` is the left (top) anchor, `farBit` the right (bottom) one.
Effect axisEffect(std::uint32_t flags, std::uint32_t nearBit, std::uint32_t farBit,
                  std::int32_t delta) {
    const bool nearEdge = (flags & nearBit) != 0;
    const bool farEdge = (flags & farBit) != 0;
    if (farEdge && !nearEdge) return {delta, 0};
    if (farEdge && nearEdge) return {0, delta};
    return {};
}

}  // namespace

AnchorDelta anchorDelta(const AnchorRect& before, std::int32_t newWidth, std::int32_t newHeight) {
    const std::int64_t oldWidth = std::int64_t{before.right} - before.left;
    const std::int64_t oldHeight = std::int64_t{before.bottom} - before.top;
    return {saturate(newWidth - oldWidth), saturate(newHeight - oldHeight)};
}

AnchorRect anchoredRect(const AnchorRect& control, std::uint32_t flags, const AnchorDelta& delta) {
    const Effect x = axisEffect(flags, AnchorLeft, AnchorRight, delta.dx);
    const Effect y = axisEffect(flags, AnchorTop, AnchorBottom, delta.dy);
    return {saturate(control.left + x.move), saturate(control.top + y.move),
            saturate(control.right + x.move + x.grow), saturate(control.bottom + y.move + y.grow)};
}
