#include "tools/sample/SampleDatabase.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "check/HostDatabase.h"

namespace {

// Uniform numbers from the standard Mersenne twister, whose sequence is fixed by the
// standard (unlike its distributions), so every platform writes the same database.
class Random {
public:
    double Uniform(double low, double high) {
        return low + (high - low) * (static_cast<double>(engine_()) / 4294967296.0);
    }
    int Below(int n) { return static_cast<int>(engine_() % static_cast<std::uint32_t>(n)); }

private:
    std::mt19937 engine_{20240115u};
};

// A component's typical level in per cent in this plant's helium, and how often a
// measurement shows no peak for it at all.
struct Impurity {
    const char* name;
    double low, high;
    double missingChance;
};

constexpr std::array<Impurity, 7> kImpurities = {{
    {"Азот", 0.0012, 0.0042, 0.0},
    {"Кислород", 0.0003, 0.0011, 0.0},
    {"Метан", 0.000008, 0.000035, 0.35},
    {"Неон", 0.0031, 0.0058, 0.0},
    {"Водород", 0.00002, 0.00018, 0.15},
    {"СО", 0.000004, 0.000018, 0.5},
    {"СО2", 0.0004, 0.0061, 0.0},
}};

struct Series {
    const char* name;
    const char* grade;
    int cylinders[2];
    int measurements;
};

constexpr std::array<Series, 6> kSeries = {{
    {"Партия 2024-117", "Гелий газообразный сжатый марки 6.0", {4127, 4131}, 4},
    {"Партия 2024-118", "Гелий газообразный сжатый марки 5.5", {3302, 3310}, 6},
    {"Партия 2024-121", "Гелий газообразный сжатый марки 6.0", {4140, 4144}, 2},
    {"Входной контроль, реципиент № 2", "Гелий газообразный сжатый марки 4.6", {12, 12}, 5},
    {"Партия 2024-125", "Гелий газообразный сжатый марки 5.5", {3321, 3325}, 4},
    {"Партия 2024-129", "Гелий газообразный сжатый марки 6.0", {4152, 4158}, 6},
}};

constexpr std::array<const char*, 3> kOperators = {"Иванова Т. С.", "Петров А. В.",
                                                   "Сидоренко О. Н."};

constexpr std::int64_t kFirstDay = 1705309200;  // 2024-01-15 09:00 UTC
constexpr std::int64_t kDay = 86400;

// Rounded as the host stores its results, to seven decimals.
double Stored(double value) {
    return std::round(value * 1e7) / 1e7;
}

}  // namespace

SampleDatabaseSummary WriteSampleDatabase(const std::string& path) {
    HostDatabase db(path, HostDatabase::Schema::WithOperatorTable);
    Random random;
    SampleDatabaseSummary summary;
    db.exec("BEGIN");
    db.addVersion(24, 1546300800, 1);  // the host's schema history, newest last
    db.addVersion(25, 1609459200, 2);
    db.addVersion(26, 1672531200, 3);
    for (std::size_t i = 0; i < kOperators.size(); ++i)
        db.addOperator(static_cast<std::int64_t>(i) + 1, kOperators[i]);

    for (std::size_t s = 0; s < kSeries.size(); ++s) {
        const Series& series = kSeries[s];
        ++summary.series;
        // Each series has its own impurity levels; its measurements scatter around them.
        std::array<double, kImpurities.size()> level{};
        for (std::size_t k = 0; k < kImpurities.size(); ++k)
            level[k] = random.Uniform(kImpurities[k].low, kImpurities[k].high);
        const std::int64_t start =
            kFirstDay + static_cast<std::int64_t>(s) * 9 * kDay + random.Below(3) * 3600;
        for (int m = 0; m < series.measurements; ++m) {
            const int cylinder = series.cylinders[m * 2 / series.measurements];
            const std::string number = std::to_string(m + 1);
            const AssayId id = db.addAssay({
                .date = start + m * 2400 + random.Below(300),
                .sample = std::string(series.grade) + ", баллон № " + std::to_string(cylinder),
                .comment = m % 2 == 0 ? "Отбор пробы из баллона, давление 14,7 МПа"
                                      : "Повторное измерение той же пробы",
                .series = series.name,
                .filename =
                    "D:\\Хроматограммы\\" + std::string(series.name) + "\\He_" + number + ".chr",
                .operatorId = static_cast<std::int64_t>(s % kOperators.size()) + 1,
            });
            ++summary.measurements;
            for (std::size_t k = 0; k < kImpurities.size(); ++k) {
                if (random.Uniform(0, 1) < kImpurities[k].missingChance) continue;
                db.addPeak(id, kImpurities[k].name, Stored(level[k] * random.Uniform(0.93, 1.07)));
                ++summary.peaks;
            }
            // Peaks the protocol does not use: argon, an unidentified peak, sometimes ethane.
            db.addPeak(id, "Аргон", Stored(random.Uniform(0.00008, 0.0003)));
            db.addPeak(id, std::nullopt, Stored(random.Uniform(0.000001, 0.00001)));
            summary.peaks += 2;
            if (random.Below(4) == 0) {
                db.addPeak(id, "Этан", Stored(random.Uniform(0.000002, 0.000009)));
                ++summary.peaks;
            }
        }
    }
    db.exec("COMMIT");
    return summary;
}
