#include "protocol/NameFold.h"

namespace ImpurityCalculation {

char16_t FoldCase(char16_t unit) noexcept {
    if (unit >= u'A' && unit <= u'Z') return static_cast<char16_t>(unit + 0x20);
    // А (U+0410) to Я (U+042F) fold to а (U+0430) to я (U+044F).
    if (unit >= 0x0410 && unit <= 0x042F) return static_cast<char16_t>(unit + 0x20);
    // Ѐ (U+0400) to Џ (U+040F), Ё among them, fold to ѐ (U+0450) to џ (U+045F).
    if (unit >= 0x0400 && unit <= 0x040F) return static_cast<char16_t>(unit + 0x50);
    return unit;
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    }
    return true;
}

}  // namespace ImpurityCalculation
