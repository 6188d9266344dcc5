#include "protocol/ComputeProtocol.h"

#include <cmath>
#include <string>
#include <string_view>

#include "protocol/AssessmentBounds.h"
#include "protocol/CellText.h"
#include "protocol/ComponentTable.h"

namespace ImpurityCalculation {
namespace {

// Running totals of the two summary rows.
struct Balance {
    double helium = 100.0;
    double carbonOxides = 0.0;
};

void FillNotAssessed(ProtocolRow& row, std::size_t from, std::size_t to) {
    for (std::size_t column = from; column <= to; ++column) row[column] = kDash;
}

ProtocolRow ComponentRow(std::u16string_view name, const ConcentrationPair& pair,
                         Balance& balance) {
    const AssessmentBounds bounds = AssessmentBounds::ForName(name);
    const double mean = (pair.c1 + pair.c2) * kMeanFactor;
    const double repeatability = std::fabs(pair.c1 - pair.c2);
    // Both bounds inclusive; a mean that is not a number fails both tests. Every component's
    // lower bound is above zero, so an assessed mean always has a limit above zero too.
    const bool assessed = bounds.lower <= mean && mean <= bounds.upper;
    const double limit = assessed ? mean * kLimitFactor : 0.0;
    const double uncertainty = mean * kUncertaintyFactor;

    ProtocolRow row;
    row[kComponentColumn] = name;
    row[kFirstColumn] = FixedPointText(pair.c1);
    row[kSecondColumn] = FixedPointText(pair.c2);
    if (assessed) {
        row[kMeanColumn] = FixedPointText(mean);
        row[kRepeatabilityColumn] = FixedPointText(repeatability);
        row[kLimitColumn] = FixedPointText(limit);
        row[kRatingColumn] = limit > repeatability ? kSatisfactory : kUnsatisfactory;
        row[kUncertaintyColumn] = FixedPointText(uncertainty);
        row[kResultColumn] = FixedPlusMinusText(mean, uncertainty);
    } else {
        std::u16string boundText;
        if (mean < bounds.lower) {
            boundText = BoundText(kLessThan, bounds.lower);
        } else if (mean > bounds.upper) {
            boundText = BoundText(kMoreThan, bounds.upper);
        }
        row[kMeanColumn] = boundText;
        FillNotAssessed(row, kRepeatabilityColumn, kUncertaintyColumn);
        row[kResultColumn] = boundText;
    }

    // Means below the lower bound are left out of both totals; those above the upper one
    // count.
    if (mean >= bounds.lower) {
        balance.helium -= mean;
        if (IsCarbonOxide(name)) balance.carbonOxides += mean;
    }
    return row;
}

ProtocolRow SummaryRow(std::u16string_view name, double value, double uncertainty) {
    ProtocolRow row;
    row[kComponentColumn] = name;
    row[kMeanColumn] = FixedPointText(value);
    FillNotAssessed(row, kRepeatabilityColumn, kUncertaintyColumn);
    row[kResultColumn] = FixedPlusMinusText(value, uncertainty);
    return row;
}

}  // namespace

ProtocolTable computeProtocol(const ComponentConcentrations& concentrations) {
    ProtocolTable table;
    Balance balance;
    for (std::size_t slot = 0; slot < ComponentTable::kSlots; ++slot) {
        table.rows[slot] =
            ComponentRow(ComponentTable::kDisplayNames[slot], concentrations.slots[slot], balance);
    }
    table.rows[kCarbonOxideRow] = SummaryRow(u"\u0421\u041E+\u0421\u041E2", balance.carbonOxides,
                                             balance.carbonOxides * kUncertaintyFactor);
    table.rows[kHeliumRow] = SummaryRow(u"Гелий", balance.helium, kHeliumUncertainty);
    return table;
}

}  // namespace ImpurityCalculation
