#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "protocol/CellText.h"
#include "protocol/ComputeProtocol.h"
#include "tests/protocol/ProtocolExpectations.h"
#include "tests/protocol/WorkedExample.h"

using namespace ImpurityCalculation;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

ComponentConcentrations Concentrations(std::initializer_list<ConcentrationPair> pairs) {
    ComponentConcentrations result;
    std::size_t slot = 0;
    for (const auto& pair : pairs) result.slots.at(slot++) = pair;
    return result;
}

ComponentConcentrations OnlySlot(std::size_t slot, double c1, double c2) {
    ComponentConcentrations result;
    result.slots.at(slot) = {c1, c2};
    return result;
}

}  // namespace

TEST(ComputeProtocol, WorkedExampleGivesEveryCell) {
    const auto table = computeProtocol(WorkedExample::Input());
    const auto expected = WorkedExample::Protocol();
    for (std::size_t row = 0; row < kProtocolRows; ++row)
        ExpectRow(table[row], expected[row], "row " + std::to_string(row));
}

TEST(ComputeProtocol, SpecialTextsAreTheExactCharacters) {
    const auto table = computeProtocol(OnlySlot(0, 0.002, 0.002));
    EXPECT_EQ(table[5][kComponentColumn], u"\u0421\u041E");
    EXPECT_EQ(table[6][kComponentColumn], u"\u0421\u041E2");
    EXPECT_EQ(table[kCarbonOxideRow][kComponentColumn], u"\u0421\u041E+\u0421\u041E2");
    EXPECT_EQ(table[kHeliumRow][kRepeatabilityColumn], u"\u2014");
    EXPECT_EQ(table[0][kResultColumn], u"0.002000\u00B10.000400");
}

// One component row per case; the other slots stay empty (menее ... and not counted).
TEST(ComputeProtocol, ComponentRowsAtTheEdges) {
    struct Case {
        const char* what;
        std::size_t slot;
        double c1, c2;
        ExpectedRow row;
    };
    // Exactly representable pair whose repeatability equals its limit in double arithmetic.
    const double equalLow = 19.0 / 16384, equalHigh = 21.0 / 16384;
    ASSERT_EQ(std::fabs(equalLow - equalHigh), (equalLow + equalHigh) * 0.5 * 0.1);
    const std::vector<Case> cases = {
        {"no peak in either measurement",
         0,
         0,
         0,
         {"Азот", "0.000000", "0.000000", "менее 0.000010", "—", "—", "—", "—", "менее 0.000010"}},
        {"no methane",
         2,
         0,
         0,
         {"Метан", "0.000000", "0.000000", "менее 0.000020", "—", "—", "—", "—", "менее 0.000020"}},
        {"no neon",
         3,
         0,
         0,
         {"Неон", "0.000000", "0.000000", "менее 0.000500", "—", "—", "—", "—", "менее 0.000500"}},
        {"mean on the lower bound is assessed",
         0,
         0.00001,
         0.00001,
         {"Азот", "0.000010", "0.000010", "0.000010", "0.000000", "0.000001", "уд", "0.000002",
          "0.000010±0.000002"}},
        {"mean on the upper bound is assessed",
         4,
         0.005,
         0.005,
         {"Водород", "0.005000", "0.005000", "0.005000", "0.000000", "0.000500", "уд", "0.001000",
          "0.005000±0.001000"}},
        {"methane on its own lower bound",
         2,
         0.00002,
         0.00002,
         {"Метан", "0.000020", "0.000020", "0.000020", "0.000000", "0.000002", "уд", "0.000004",
          "0.000020±0.000004"}},
        {"methane just below its lower bound",
         2,
         0.000019,
         0.000019,
         {"Метан", "0.000019", "0.000019", "менее 0.000020", "—", "—", "—", "—", "менее 0.000020"}},
        {"neon on its lower bound",
         3,
         0.0005,
         0.0005,
         {"Неон", "0.000500", "0.000500", "0.000500", "0.000000", "0.000050", "уд", "0.000100",
          "0.000500±0.000100"}},
        {"neon on its upper bound",
         3,
         0.011,
         0.011,
         {"Неон", "0.011000", "0.011000", "0.011000", "0.000000", "0.001100", "уд", "0.002200",
          "0.011000±0.002200"}},
        {"neon above its upper bound",
         3,
         0.012,
         0.0115,
         {"Неон", "0.012000", "0.011500", "более 0.011000", "—", "—", "—", "—", "более 0.011000"}},
        {"oxygen above the upper bound",
         1,
         0.0051,
         0.0051,
         {"Кислород", "0.005100", "0.005100", "более 0.005000", "—", "—", "—", "—",
          "более 0.005000"}},
        {"found in the first measurement only",
         0,
         0.004,
         0,
         {"Азот", "0.004000", "0.000000", "0.002000", "0.004000", "0.000200", "неуд", "0.000400",
          "0.002000±0.000400"}},
        {"found in the second measurement only",
         4,
         0,
         0.0002,
         {"Водород", "0.000000", "0.000200", "0.000100", "0.000200", "0.000010", "неуд", "0.000020",
          "0.000100±0.000020"}},
        {"repeatability equal to the limit",
         0,
         equalLow,
         equalHigh,
         {"Азот", "0.001160", "0.001282", "0.001221", "0.000122", "0.000122", "неуд", "0.000244",
          "0.001221±0.000244"}},
        {"repeatability half the limit",
         0,
         39.0 / 32768,
         41.0 / 32768,
         {"Азот", "0.001190", "0.001251", "0.001221", "0.000061", "0.000122", "уд", "0.000244",
          "0.001221±0.000244"}},
        {"negative concentrations fall below the range",
         6,
         -0.001,
         -0.002,
         {"СО2", "-0.001000", "-0.002000", "менее 0.000010", "—", "—", "—", "—", "менее 0.000010"}},
    };
    for (const auto& c : cases) {
        const auto table = computeProtocol(OnlySlot(c.slot, c.c1, c.c2));
        ExpectRow(table[c.slot], c.row, c.what);
    }
}

TEST(ComputeProtocol, SummaryRowsCountMeansFromTheLowerBoundUp) {
    struct Case {
        const char* what;
        ComponentConcentrations input;
        ExpectedRow carbonOxides;
        ExpectedRow helium;
    };
    const std::vector<Case> cases = {
        {"nothing found",
         {},
         {"СО+СО2", "", "", "0.000000", "—", "—", "—", "—", "0.000000±0.000000"},
         {"Гелий", "", "", "100.000000", "—", "—", "—", "—", "100.000000±0.000300"}},
        {"everything below its lower bound",
         Concentrations({{0.000009, 0.000009},
                         {0.000001, 0},
                         {0.000019, 0.00001},
                         {0.0004, 0.0004},
                         {0, 0},
                         {0.000005, 0.000005},
                         {0.000009, 0}}),
         {"СО+СО2", "", "", "0.000000", "—", "—", "—", "—", "0.000000±0.000000"},
         {"Гелий", "", "", "100.000000", "—", "—", "—", "—", "100.000000±0.000300"}},
        {"both carbon oxides above the upper bound still count",
         Concentrations({{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0.006, 0.006}, {0.007, 0.007}}),
         {"СО+СО2", "", "", "0.013000", "—", "—", "—", "—", "0.013000±0.002600"},
         {"Гелий", "", "", "99.987000", "—", "—", "—", "—", "99.987000±0.000300"}},
        {"carbon monoxide below, dioxide within",
         Concentrations({{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0.000005, 0}, {0.002, 0.003}}),
         {"СО+СО2", "", "", "0.002500", "—", "—", "—", "—", "0.002500±0.000500"},
         {"Гелий", "", "", "99.997500", "—", "—", "—", "—", "99.997500±0.000300"}},
        {"other components reduce helium but not the carbon oxides",
         Concentrations({{0.004, 0.004},
                         {0.001, 0.001},
                         {0.00002, 0.00002},
                         {0.02, 0.02},
                         {0.0001, 0.0001},
                         {0, 0},
                         {0, 0}}),
         {"СО+СО2", "", "", "0.000000", "—", "—", "—", "—", "0.000000±0.000000"},
         {"Гелий", "", "", "99.974880", "—", "—", "—", "—", "99.974880±0.000300"}},
        {"a mean on the lower bound counts",
         Concentrations({{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0.00001, 0.00001}, {0, 0}}),
         {"СО+СО2", "", "", "0.000010", "—", "—", "—", "—", "0.000010±0.000002"},
         {"Гелий", "", "", "99.999990", "—", "—", "—", "—", "99.999990±0.000300"}},
    };
    for (const auto& c : cases) {
        const auto table = computeProtocol(c.input);
        ExpectRow(table[kCarbonOxideRow], c.carbonOxides, c.what);
        ExpectRow(table[kHeliumRow], c.helium, c.what);
    }
}

TEST(ComputeProtocol, UnusualNumbersStillGiveNineFullRows) {
    struct Case {
        const char* what;
        std::size_t slot;
        double c1, c2;
        ExpectedRow row;
        const char* heliumMean;
    };
    const std::vector<Case> cases = {
        {"infinite concentration",
         1,
         kInf,
         0.001,
         {"Кислород", "inf", "0.001000", "более 0.005000", "—", "—", "—", "—", "более 0.005000"},
         "-inf"},
        {"negative infinity",
         1,
         -kInf,
         0,
         {"Кислород", "-inf", "0.000000", "менее 0.000010", "—", "—", "—", "—", "менее 0.000010"},
         "100.000000"},
        {"opposite infinities make a mean that is not a number",
         2,
         kInf,
         -kInf,
         {"Метан", "inf", "-inf", "", "—", "—", "—", "—", ""},
         "100.000000"},
        {"not a number",
         3,
         kNaN,
         0.001,
         {"Неон", "nan", "0.001000", "", "—", "—", "—", "—", ""},
         "100.000000"},
        {"huge values switch to exponent notation",
         0,
         1e300,
         1e300,
         {"Азот", "1.000000e+300", "1.000000e+300", "более 0.005000", "—", "—", "—", "—",
          "более 0.005000"},
         "-1.000000e+300"},
    };
    for (const auto& c : cases) {
        const auto table = computeProtocol(OnlySlot(c.slot, c.c1, c.c2));
        ASSERT_EQ(table.rows.size(), kProtocolRows);
        for (const auto& row : table.rows) {
            EXPECT_FALSE(row[kComponentColumn].empty()) << c.what;
            for (const auto& cell : row.cells) EXPECT_LT(cell.size(), kCellTextCapacity);
        }
        ExpectRow(table[c.slot], c.row, c.what);
        EXPECT_EQ(toUtf8(table[kHeliumRow][kMeanColumn]), c.heliumMean) << c.what;
    }
}

TEST(ComputeProtocol, KeepsNoStateBetweenRuns) {
    const auto busy = Concentrations(
        {{0.004, 0.004}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0.001, 0.001}, {0.001, 0.001}});
    const auto first = computeProtocol({});
    computeProtocol(busy);
    EXPECT_EQ(computeProtocol({}), first);
    EXPECT_EQ(toUtf8(first[kHeliumRow][kMeanColumn]), "100.000000");
}
