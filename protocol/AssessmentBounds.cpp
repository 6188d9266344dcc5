#include "protocol/AssessmentBounds.h"

#include <array>

#include "protocol/NameFold.h"

namespace ImpurityCalculation {
namespace {

struct BoundsEntry {
    std::u16string_view key;
    AssessmentBounds bounds;
};

constexpr AssessmentBounds kNeon{0.0005, 0.011};
constexpr AssessmentBounds kCommon{0.00001, 0.005};
constexpr AssessmentBounds kMethane{0.00002, 0.005};

// Order matters: the first key equal to the name decides.
constexpr std::array<BoundsEntry, 10> kBoundsTable = {{
    {u"неон", kNeon},
    {u"водород", kCommon},
    {u"кислород", kCommon},
    {u"аргон", kCommon},
    {u"азот", kCommon},
    {u"метан", kMethane},
    {u"оксид углерода", kCommon},
    {u"\u0441\u043E", kCommon},  // "со", Cyrillic
    {u"диоксид углерода", kCommon},
    {u"\u0441\u043E2", kCommon},  // "со2", Cyrillic
}};

constexpr std::array<std::u16string_view, 4> kCarbonOxideNames = {
    u"оксид углерода", u"\u0441\u043E", u"диоксид углерода", u"\u0441\u043E2"};

}  // namespace

AssessmentBounds AssessmentBounds::ForName(std::u16string_view name) noexcept {
    for (const auto& entry : kBoundsTable) {
        if (EqualsIgnoringCase(name, entry.key)) return entry.bounds;
    }
    return {};
}

bool IsCarbonOxide(std::u16string_view name) noexcept {
    for (auto key : kCarbonOxideNames) {
        if (EqualsIgnoringCase(name, key)) return true;
    }
    return false;
}

}  // namespace ImpurityCalculation
