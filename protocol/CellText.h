#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ImpurityCalculation {

// Fixed texts of protocol cells.
inline constexpr std::u16string_view kDash = u"\u2014";  // em dash: not assessed
inline constexpr std::u16string_view kSatisfactory = u"уд";
inline constexpr std::u16string_view kUnsatisfactory = u"неуд";
inline constexpr std::u16string_view kLessThan = u"менее ";
inline constexpr std::u16string_view kMoreThan = u"более ";

// Buffer sizes in UTF-16 units, terminator included.
inline constexpr std::size_t kBoundTextCapacity = 80;
inline constexpr std::size_t kCellTextCapacity = 256;

// Numbers are written with printf's "%f": fixed point, six decimals, '.' as separator (the
// module changes only the character-classification category of the locale, never the
// numeric one).
// Infinities read "inf" and "-inf", not-a-number reads "nan" on every platform. A value
// whose fixed-point text would not fit its buffer (magnitudes near 1e250 and beyond) is
// written like "%e" instead, so no text is ever cut off in the middle of a number.

// "%f" of `value`, within kCellTextCapacity.
std::u16string FixedPointText(double value);
// "%f±%f" of `value` and `uncertainty`, within kCellTextCapacity.
std::u16string FixedPlusMinusText(double value, double uncertainty);
// `prefix` followed by "%f" of `bound`, within kBoundTextCapacity ("менее 0.000010").
std::u16string BoundText(std::u16string_view prefix, double bound);

}  // namespace ImpurityCalculation
