#pragma once

#include <array>
#include <string>
#include <vector>

#include "protocol/ComponentConcentrations.h"
#include "tests/protocol/ProtocolExpectations.h"

// The reference case: two measurements of one helium sample and their full protocol.
namespace WorkedExample {

inline ImpurityCalculation::ComponentConcentrations Input() {
    ImpurityCalculation::ComponentConcentrations input;
    input.slots = {{
        {0.0021, 0.0023},
        {0.0006, 0.0008},
        {0, 0},
        {0.0042, 0.0040},
        {0, 0.0001},
        {0.000004, 0.000006},
        {0.0061, 0.0059},
    }};
    return input;
}

inline std::array<ExpectedRow, ImpurityCalculation::kProtocolRows> Protocol() {
    return {{
        {"Азот", "0.002100", "0.002300", "0.002200", "0.000200", "0.000220", "уд", "0.000440",
         "0.002200±0.000440"},
        {"Кислород", "0.000600", "0.000800", "0.000700", "0.000200", "0.000070", "неуд", "0.000140",
         "0.000700±0.000140"},
        {"Метан", "0.000000", "0.000000", "менее 0.000020", "—", "—", "—", "—", "менее 0.000020"},
        {"Неон", "0.004200", "0.004000", "0.004100", "0.000200", "0.000410", "уд", "0.000820",
         "0.004100±0.000820"},
        {"Водород", "0.000000", "0.000100", "0.000050", "0.000100", "0.000005", "неуд", "0.000010",
         "0.000050±0.000010"},
        {"СО", "0.000004", "0.000006", "менее 0.000010", "—", "—", "—", "—", "менее 0.000010"},
        {"СО2", "0.006100", "0.005900", "более 0.005000", "—", "—", "—", "—", "более 0.005000"},
        {"СО+СО2", "", "", "0.006000", "—", "—", "—", "—", "0.006000±0.001200"},
        {"Гелий", "", "", "99.986950", "—", "—", "—", "—", "99.986950±0.000300"},
    }};
}

}  // namespace WorkedExample
