#include "protocol/CellText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

#include "text/BoundedText.h"

namespace ImpurityCalculation {
namespace {

enum class Notation { Fixed, Exponent };

// The longest "%f" text of a double: 309 digits, a sign, the point and six decimals.
constexpr std::size_t kLongestNumber = 320;

// Appends `value` as printf would write it with "%f" or "%e". std::to_chars with a precision
// is specified to give printf's text in the "C" locale, exactly rounded, and is untouched by
// the process locale.
void AppendNumber(BoundedWriter& text, double value, Notation notation) {
    if (std::isnan(value)) {
        text.append(u"nan");
        return;
    }
    if (std::isinf(value)) {
        text.append(value < 0 ? u"-inf" : u"inf");
        return;
    }
    std::array<char, kLongestNumber> narrow;
    const auto format =
        notation == Notation::Fixed ? std::chars_format::fixed : std::chars_format::scientific;
    const auto end =
        std::to_chars(narrow.data(), narrow.data() + narrow.size(), value, format, 6).ptr;
    // The number's text is plain ASCII, so widening is a copy of each byte.
    std::array<char16_t, kLongestNumber> wide;
    const auto length = static_cast<std::size_t>(end - narrow.data());
    for (std::size_t i = 0; i < length; ++i) wide[i] = static_cast<unsigned char>(narrow[i]);
    text.append({wide.data(), length});
}

// Builds a text with `compose` in fixed notation into a buffer of Capacity units; should it
// not fit whole, builds it again with the numbers in exponent notation, which always fits
// these buffers. No text is ever cut off in the middle of a number.
template <std::size_t Capacity, class Compose>
std::u16string Format(Compose&& compose) {
    for (const Notation notation : {Notation::Fixed, Notation::Exponent}) {
        FixedText<Capacity> text;
        BoundedWriter writer(text.units.data(), Capacity);
        compose(writer, notation);
        if (!writer.cut() || notation == Notation::Exponent)
            return std::u16string(text.units.data(), writer.length());
    }
    return {};
}

}  // namespace

std::u16string FixedPointText(double value) {
    return Format<kCellTextCapacity>(
        [&](BoundedWriter& text, Notation notation) { AppendNumber(text, value, notation); });
}

std::u16string FixedPlusMinusText(double value, double uncertainty) {
    return Format<kCellTextCapacity>([&](BoundedWriter& text, Notation notation) {
        AppendNumber(text, value, notation);
        text.append(u"\u00B1");
        AppendNumber(text, uncertainty, notation);
    });
}

std::u16string BoundText(std::u16string_view prefix, double bound) {
    return Format<kBoundTextCapacity>([&](BoundedWriter& text, Notation notation) {
        text.append(prefix);
        AppendNumber(text, bound, notation);
    });
}

}  // namespace ImpurityCalculation
