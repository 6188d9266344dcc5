#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <map>

#include "ui/AnchorLayout.h"
#include "ui/AnchorTables.h"
#include "ui/resource.h"

namespace {

// Controls of the protocol window at their template places, treating dialog units as pixels.
std::map<std::int32_t, AnchorRect> ProtocolTemplate() {
    auto rect = [](std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
        return AnchorRect{x, y, x + w, y + h};
    };
    return {
        {1, rect(542, 155, 50, 14)},
        {IDC_PROTOCOL_LIST, rect(7, 38, 585, 114)},
        {IDC_FIRST_CAPTION, rect(7, 11, 43, 8)},
        {IDC_SECOND_CAPTION, rect(7, 26, 43, 8)},
        {IDC_SELECT, rect(542, 8, 50, 14)},
        {IDC_FIRST_LABEL, rect(53, 11, 456, 8)},
        {IDC_SECOND_LABEL, rect(53, 26, 456, 8)},
        {IDC_OPEN_FIRST, rect(515, 8, 23, 14)},
        {IDC_OPEN_SECOND, rect(515, 23, 23, 14)},
        {IDC_REPORT, rect(542, 23, 50, 14)},
    };
}

// One layout pass the way the dialog runs it: every entry whose control exists is moved.
template <typename Table>
void Lay(std::map<std::int32_t, AnchorRect>& controls, const Table& table, AnchorDelta delta) {
    for (const AnchorEntry& entry : table) {
        auto found = controls.find(entry.controlId);
        if (found != controls.end())
            found->second = anchoredRect(found->second, entry.flags, delta);
    }
}

}  // namespace

TEST(AnchorLayout, DeltaIsTheChangeOfOuterSize) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    struct Case {
        AnchorRect before;
        std::int32_t width, height;
        AnchorDelta expected;
    } cases[] = {
        {{100, 50, 700, 450}, 600, 400, {0, 0}},       // same size
        {{300, 80, 900, 480}, 600, 400, {0, 0}},       // moved only
        {{100, 50, 700, 450}, 640, 430, {40, 30}},     // enlarged
        {{100, 50, 740, 480}, 600, 400, {-40, -30}},   // shrunk
        {{-20, -10, 80, 90}, 50, 300, {-50, 200}},     // off-screen origin
        {{kMin, 0, kMax, 10}, kMax, 10, {kMin, 0}},    // width beyond 32 bits saturates
        {{0, 0, 1, 1}, kMax, kMin, {kMax - 1, kMin}},  // extreme sizes saturate
    };
    for (const Case& c : cases) {
        EXPECT_EQ(anchorDelta(c.before, c.width, c.height), c.expected)
            << c.before.left << "," << c.before.top << " " << c.width << "x" << c.height;
    }
}

TEST(AnchorLayout, EachFlagCombinationMovesStretchesOrKeeps) {
    const AnchorRect control{10, 20, 110, 70};
    const AnchorDelta delta{40, 30};
    // Horizontal: a lone right anchor moves, left+right stretches, else nothing; the same
    // vertically with top and bottom.
    struct Case {
        std::uint32_t flags;
        AnchorRect expected;
    } cases[] = {
        {0, {10, 20, 110, 70}},
        {AnchorLeft, {10, 20, 110, 70}},
        {AnchorTop, {10, 20, 110, 70}},
        {AnchorLeft | AnchorTop, {10, 20, 110, 70}},
        {AnchorRight, {50, 20, 150, 70}},
        {AnchorRight | AnchorTop, {50, 20, 150, 70}},
        {AnchorLeft | AnchorRight, {10, 20, 150, 70}},
        {AnchorLeft | AnchorTop | AnchorRight, {10, 20, 150, 70}},
        {AnchorBottom, {10, 50, 110, 100}},
        {AnchorLeft | AnchorBottom, {10, 50, 110, 100}},
        {AnchorTop | AnchorBottom, {10, 20, 110, 100}},
        {AnchorLeft | AnchorTop | AnchorBottom, {10, 20, 110, 100}},
        {AnchorRight | AnchorBottom, {50, 50, 150, 100}},
        {AnchorRight | AnchorTop | AnchorBottom, {50, 20, 150, 100}},
        {AnchorLeft | AnchorRight | AnchorBottom, {10, 50, 150, 100}},
        {AnchorLeft | AnchorTop | AnchorRight | AnchorBottom, {10, 20, 150, 100}},
        {0xFFFFFFF0u | AnchorRight, {50, 20, 150, 70}},  // unknown bits are ignored
    };
    for (const Case& c : cases)
        EXPECT_EQ(anchoredRect(control, c.flags, delta), c.expected) << "flags " << c.flags;
}

TEST(AnchorLayout, EdgesSaturateInsteadOfWrapping) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    const AnchorRect nearEnd{kMax - 10, kMin + 10, kMax - 5, kMin + 20};
    EXPECT_EQ(anchoredRect(nearEnd, AnchorRight | AnchorBottom, {100, -100}),
              (AnchorRect{kMax, kMin, kMax, kMin}));
    EXPECT_EQ(anchoredRect(nearEnd, AnchorLeft | AnchorRight | AnchorTop | AnchorBottom, {100, -5}),
              (AnchorRect{kMax - 10, kMin + 10, kMax, kMin + 15}));
}

TEST(AnchorLayout, ProtocolWindowTableFollowsTheEdges) {
    const struct {
        std::int32_t id;
        std::uint32_t flags;
    } expected[] = {
        {IDC_FIRST_CAPTION, 3},  {IDC_SECOND_CAPTION, 3},
        {IDC_FIRST_LABEL, 7},    {IDC_SECOND_LABEL, 7},
        {IDC_SELECT, 6},         {IDC_REPORT, 6},
        {IDC_OPEN_FIRST, 6},     {IDC_OPEN_SECOND, 6},
        {IDC_PROTOCOL_LIST, 15}, {1, 12},
    };
    ASSERT_EQ(kProtocolWindowAnchors.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(kProtocolWindowAnchors[i].controlId, expected[i].id) << "entry " << i;
        EXPECT_EQ(kProtocolWindowAnchors[i].flags, expected[i].flags) << "entry " << i;
    }
}

TEST(AnchorLayout, EnlargingTheProtocolWindowMovesAndStretchesItsControls) {
    const auto initial = ProtocolTemplate();
    auto controls = initial;
    Lay(controls, kProtocolWindowAnchors, {40, 30});

    auto shifted = [&](std::int32_t id, std::int32_t dl, std::int32_t dt, std::int32_t dr,
                       std::int32_t db) {
        const AnchorRect& r = initial.at(id);
        return AnchorRect{r.left + dl, r.top + dt, r.right + dr, r.bottom + db};
    };
    const struct {
        std::int32_t id;
        AnchorRect expected;
    } cases[] = {
        {IDC_SELECT, shifted(IDC_SELECT, 40, 0, 40, 0)},
        {IDC_REPORT, shifted(IDC_REPORT, 40, 0, 40, 0)},
        {IDC_OPEN_FIRST, shifted(IDC_OPEN_FIRST, 40, 0, 40, 0)},
        {IDC_OPEN_SECOND, shifted(IDC_OPEN_SECOND, 40, 0, 40, 0)},
        {IDC_FIRST_LABEL, shifted(IDC_FIRST_LABEL, 0, 0, 40, 0)},
        {IDC_SECOND_LABEL, shifted(IDC_SECOND_LABEL, 0, 0, 40, 0)},
        {IDC_PROTOCOL_LIST, shifted(IDC_PROTOCOL_LIST, 0, 0, 40, 30)},
        {1, shifted(1, 40, 30, 40, 30)},
        {IDC_FIRST_CAPTION, initial.at(IDC_FIRST_CAPTION)},
        {IDC_SECOND_CAPTION, initial.at(IDC_SECOND_CAPTION)},
    };
    for (const auto& c : cases) EXPECT_EQ(controls.at(c.id), c.expected) << "control " << c.id;

    // Shrinking back by the same amount restores every control exactly; a move alone
    // changes nothing.
    Lay(controls, kProtocolWindowAnchors, {-40, -30});
    EXPECT_EQ(controls, initial);
    Lay(controls, kProtocolWindowAnchors, {0, 0});
    EXPECT_EQ(controls, initial);
}

TEST(AnchorLayout, SelectionDialogMovesOnlyItsButtons) {
    auto rect = [](std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
        return AnchorRect{x, y, x + w, y + h};
    };
    const std::map<std::int32_t, AnchorRect> initial = {
        {1, rect(198, 246, 50, 14)},
        {2, rect(252, 246, 50, 14)},
        {IDC_SERIES_LIST, rect(7, 23, 295, 85)},
        {IDC_MEASUREMENT_LIST, rect(7, 123, 295, 120)},
    };
    auto controls = initial;
    // The dialog has no control with the protocol list's id: that entry is skipped and the
    // entries after it still apply.
    ASSERT_EQ(controls.count(kSelectionDialogAnchors[0].controlId), 0u);
    Lay(controls, kSelectionDialogAnchors, {12, 7});
    EXPECT_EQ(controls.at(1), rect(210, 253, 50, 14));
    EXPECT_EQ(controls.at(2), rect(264, 253, 50, 14));
    EXPECT_EQ(controls.at(IDC_SERIES_LIST), initial.at(IDC_SERIES_LIST));
    EXPECT_EQ(controls.at(IDC_MEASUREMENT_LIST), initial.at(IDC_MEASUREMENT_LIST));
}
