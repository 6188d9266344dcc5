#include "protocol/CellText.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace ImpurityCalculation {
namespace {

enum class Notation { Fixed, Exponent };

// A UTF-16 text being built in a fixed buffer of Capacity units, terminator included.
// An append that would not fit leaves the text as it was and reports false.
template <std::size_t Capacity>
class BoundedText {
public:
    bool Append(std::u16string_view part) {
        if (part.size() > Capacity - 1 - length_) return false;
        for (char16_t unit : part) units_[length_++] = unit;
        units_[length_] = u'\0';
        return true;
    }

    // Appends `value` as printf would write it with "%f" or "%e".
    bool AppendNumber(double value, Notation notation) {
        if (std::isnan(value)) return Append(u"nan");
        if (std::isinf(value)) return Append(value < 0 ? u"-inf" : u"inf");
        std::array<char, Capacity> narrow{};
        const int written = std::snprintf(narrow.data(), narrow.size(),
                                          notation == Notation::Fixed ? "%f" : "%e", value);
        if (written < 0 || static_cast<std::size_t>(written) >= narrow.size()) return false;
        std::array<char16_t, Capacity> wide{};
        // The number's text is plain ASCII, so widening is a copy of each byte.
        for (int i = 0; i < written; ++i) wide[i] = static_cast<unsigned char>(narrow[i]);
        return Append(std::u16string_view(wide.data(), static_cast<std::size_t>(written)));
    }

    std::u16string Text() const { return std::u16string(units_.data(), length_); }

private:
    std::array<char16_t, Capacity> units_{};
    std::size_t length_ = 0;
};

// Builds a text with `compose` in fixed notation; should it not fit, builds it again with
// the numbers in exponent notation, which always fits these buffers.
template <std::size_t Capacity, class Compose>
std::u16string Format(Compose&& compose) {
    BoundedText<Capacity> fixed;
    if (compose(fixed, Notation::Fixed)) return fixed.Text();
    BoundedText<Capacity> exponent;
    compose(exponent, Notation::Exponent);
    return exponent.Text();
}

}  // namespace

std::u16string FixedText(double value) {
    return Format<kCellTextCapacity>(
        [&](auto& text, Notation notation) { return text.AppendNumber(value, notation); });
}

std::u16string FixedPlusMinusText(double value, double uncertainty) {
    return Format<kCellTextCapacity>([&](auto& text, Notation notation) {
        return text.AppendNumber(value, notation) && text.Append(u"\u00B1") &&
               text.AppendNumber(uncertainty, notation);
    });
}

std::u16string BoundText(std::u16string_view prefix, double bound) {
    return Format<kBoundTextCapacity>([&](auto& text, Notation notation) {
        return text.Append(prefix) && text.AppendNumber(bound, notation);
    });
}

}  // namespace ImpurityCalculation
