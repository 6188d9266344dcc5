#include "protocol/CellText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

namespace ImpurityCalculation {
namespace {

enum class Notation { Fixed, Exponent };

// A UTF-16 text being built in a fixed buffer of Capacity units, terminator included.
// An append that would not fit leaves the text as it was and reports false.
template <std::size_t Capacity>
class BoundedText {
public:
    // Units past the terminator are never read, so the buffer is not cleared up front.
    BoundedText() { units_[0] = u'\0'; }

    bool Append(std::u16string_view part) {
        if (part.size() > Capacity - 1 - length_) return false;
        for (char16_t unit : part) units_[length_++] = unit;
        units_[length_] = u'\0';
        return true;
    }

    // Appends `value` as printf would write it with "%f" or "%e". std::to_chars with a
    // precision is specified to give printf's text in the "C" locale, exactly rounded, is
    // untouched by the process locale, and reports a buffer too small instead of cutting.
    bool AppendNumber(double value, Notation notation) {
        if (std::isnan(value)) return Append(u"nan");
        if (std::isinf(value)) return Append(value < 0 ? u"-inf" : u"inf");
        std::array<char, Capacity> narrow;
        const auto format =
            notation == Notation::Fixed ? std::chars_format::fixed : std::chars_format::scientific;
        const auto [end, error] =
            std::to_chars(narrow.data(), narrow.data() + narrow.size() - 1, value, format, 6);
        if (error != std::errc()) return false;
        const auto length = static_cast<std::size_t>(end - narrow.data());
        if (length > Capacity - 1 - length_) return false;
        // The number's text is plain ASCII, so widening is a copy of each byte.
        for (std::size_t i = 0; i < length; ++i)
            units_[length_++] = static_cast<unsigned char>(narrow[i]);
        units_[length_] = u'\0';
        return true;
    }

    std::u16string Text() const { return std::u16string(units_.data(), length_); }

private:
    std::array<char16_t, Capacity> units_;
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
