#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "protocol/CellText.h"
#include "text/Utf8.h"

using namespace ImpurityCalculation;

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
}

TEST(CellText, FixedPointWithSixDecimals) {
    struct Case {
        double value;
        const char* text;
    };
    const std::vector<Case> cases = {
        {0.0, "0.000000"},
        {-0.0, "-0.000000"},
        {1.5, "1.500000"},
        {-2.25, "-2.250000"},
        {0.00001, "0.000010"},
        {0.00002, "0.000020"},
        {0.0005, "0.000500"},
        {0.005, "0.005000"},
        {0.011, "0.011000"},
        {0.0000126, "0.000013"},
        {0.0000124, "0.000012"},
        {99.98695, "99.986950"},
        {123456789.125, "123456789.125000"},
        {1e20, "100000000000000000000.000000"},
        {kInf, "inf"},
        {-kInf, "-inf"},
        {std::numeric_limits<double>::quiet_NaN(), "nan"},
        {-std::numeric_limits<double>::quiet_NaN(), "nan"},
    };
    for (const auto& c : cases) EXPECT_EQ(toUtf8(FixedPointText(c.value)), c.text) << c.value;
}

// 2^823 takes 255 characters in fixed point, just what a 256-unit buffer holds; one more
// digit or a sign does not fit and the number is written in exponent notation instead.
TEST(CellText, TextsThatWouldNotFitUseExponentNotation) {
    const double fits = std::ldexp(1.0, 823);
    const auto fixed = FixedPointText(fits);
    ASSERT_EQ(fixed.size(), kCellTextCapacity - 1);
    EXPECT_EQ(toUtf8(fixed.substr(0, 7)), "5593535");
    EXPECT_EQ(toUtf8(fixed.substr(fixed.size() - 7)), ".000000");

    struct Case {
        std::u16string text;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {FixedPointText(std::ldexp(1.0, 824)), "1.118707e+248"},
        {FixedPointText(-fits), "-5.593536e+247"},
        {FixedPointText(-1e300), "-1.000000e+300"},
        {FixedPointText(std::numeric_limits<double>::max()), "1.797693e+308"},
        {FixedPlusMinusText(1e300, 2e299), "1.000000e+300±2.000000e+299"},
        // Each number alone fits, the pair does not: both switch, never a cut-off text.
        {FixedPlusMinusText(std::ldexp(1.0, 800), 0.0003), "6.668014e+240±3.000000e-04"},
        {BoundText(kMoreThan, 1e80), "более 1.000000e+80"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(toUtf8(c.text), c.expected);
        EXPECT_LT(c.text.size(), kCellTextCapacity);
    }
}

TEST(CellText, PairsAndBoundsInTheirBuffers) {
    struct Case {
        std::u16string text;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {FixedPlusMinusText(0.0022, 0.00044), "0.002200±0.000440"},
        {FixedPlusMinusText(99.98695, 0.0003), "99.986950±0.000300"},
        {FixedPlusMinusText(0, 0), "0.000000±0.000000"},
        {FixedPlusMinusText(-kInf, 0.5), "-inf±0.500000"},
        {BoundText(kLessThan, 0.00001), "менее 0.000010"},
        {BoundText(kLessThan, 0.0005), "менее 0.000500"},
        {BoundText(kMoreThan, 0.011), "более 0.011000"},
    };
    for (const auto& c : cases) EXPECT_EQ(toUtf8(c.text), c.expected);

    // 1e66 has 67 digits: "более " and its fixed text make 79 units, the most an 80-unit
    // buffer holds; 1e67 is one digit too long.
    const auto longest = BoundText(kMoreThan, 1e66);
    EXPECT_EQ(longest.size(), kBoundTextCapacity - 1);
    EXPECT_EQ(toUtf8(longest.substr(longest.size() - 7)), ".000000");
    EXPECT_EQ(toUtf8(BoundText(kMoreThan, 1e67)), "более 1.000000e+67");
}

// Our number texts must be exactly what printf's "%f" and "%e" write: compare across many
// magnitudes, both signs and rounding ties.
TEST(CellText, NumbersMatchPrintfExactly) {
    std::vector<double> values = {0.0000005, 0.0000015, 0.0000025,  1.0000005,  2.5e-7,
                                  0.5e-6,    0.1234565, 99.9999995, 1e15 + 0.5, 4503599627370497.0};
    std::mt19937_64 bits(42);
    for (int i = 0; i < 20000; ++i) {
        const double mantissa = static_cast<double>(bits() >> 11) / 9007199254740992.0;
        const int exponent = static_cast<int>(bits() % 80) - 40;
        values.push_back((i % 2 ? -1 : 1) * std::ldexp(mantissa, exponent));
    }
    for (double value : values) {
        char fixed[kCellTextCapacity];
        std::snprintf(fixed, sizeof fixed, "%f", value);
        ASSERT_EQ(toUtf8(FixedPointText(value)), fixed) << std::hexfloat << value;
        char pair[kCellTextCapacity];
        std::snprintf(pair, sizeof pair, "%f\xC2\xB1%f", value, value * 0.2);
        ASSERT_EQ(toUtf8(FixedPlusMinusText(value, value * 0.2)), pair) << std::hexfloat << value;
    }
    char exponent[64];
    std::snprintf(exponent, sizeof exponent, "%e", -std::ldexp(0.7, 900));
    EXPECT_EQ(toUtf8(FixedPointText(-std::ldexp(0.7, 900))), exponent);
}
