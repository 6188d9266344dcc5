#include "tests/win32/RoadDatabase.h"

#include "database/Utf.h"
#include "protocol/ComponentTable.h"
#include "tests/protocol/WorkedExample.h"
#include "tests/support/HostDatabase.h"

namespace {

using ImpurityCalculation::ComponentTable;

// 2023-11-14 22:13:20 UTC.
constexpr std::int64_t kFirstDate = 1700000000;

}  // namespace

RoadDatabase WriteRoadDatabase() {
    RoadDatabase road;
    road.path = HostDatabase::tempPath("road32");
    HostDatabase db(road.path, HostDatabase::Schema::WithOperatorTable);
    db.addVersion(25, 1609459200, 1);
    db.addVersion(26, 1672531200, 2);
    db.addOperator(1, "Иванова Т. С.");
    db.addOperator(2, "Сидоренко О. Н.");

    const std::string series = "Партия 2023-041";
    const std::string sample = "Гелий газообразный сжатый марки 6.0, баллон № 4127";
    // Markup characters must reach the report unchanged.
    const std::string comment = "Повторное измерение & проверка <баллона>";
    road.first = db.addAssay({.date = kFirstDate,
                              .sample = sample + " (1)",
                              .comment = "Отбор пробы",
                              .series = series,
                              .filename = "D:\\Хроматограммы\\He_1.chr",
                              .operatorId = 1});
    road.second = db.addAssay({.date = kFirstDate + 2400,
                               .sample = sample + " (2)",
                               .comment = comment,
                               .series = series,
                               .filename = "D:\\Хроматограммы\\He_2.chr",
                               .operatorId = 2});
    // A third, newest measurement of the series that the road leaves unmarked.
    const AssayId third = db.addAssay(
        {.date = kFirstDate + 4800, .sample = sample + " (3)", .series = series, .operatorId = 2});
    const auto input = WorkedExample::Input();
    for (std::size_t slot = 0; slot < ComponentTable::kSlots; ++slot) {
        const std::string name = toUtf8(ComponentTable::kDisplayNames[slot]);
        if (input.slots[slot].c1 != 0) db.addPeak(road.first, name, input.slots[slot].c1);
        if (input.slots[slot].c2 != 0) db.addPeak(road.second, name, input.slots[slot].c2);
        db.addPeak(third, name, 0.001);
    }
    db.addPeak(road.first, "Аргон", 0.0002);
    db.addPeak(road.second, std::nullopt, 0.000003);

    // A newer series, which the selection dialog lists first.
    const std::string newest = "Входной контроль, реципиент № 2";
    for (int m = 0; m < 2; ++m) {
        const AssayId id = db.addAssay({.date = kFirstDate + 5 * 86400 + m * 2400,
                                        .sample = "Гелий газообразный сжатый марки 4.6",
                                        .series = newest,
                                        .operatorId = 1});
        db.addPeak(id, "Азот", 0.003);
    }
    db.close();

    road.uri = fromUtf8(road.path);
    road.series = fromUtf8(series);
    road.newestSeries = fromUtf8(newest);
    road.seriesMeasurements = 3;
    road.firstDate = kFirstDate;
    road.secondDate = kFirstDate + 2400;
    road.firstSample = fromUtf8(sample + " (1)");
    road.secondSample = fromUtf8(sample + " (2)");
    road.secondComment = fromUtf8(comment);
    road.secondOperator = u"Сидоренко О. Н.";
    for (const auto& expected : WorkedExample::Protocol()) {
        std::array<std::u16string, 9> row;
        for (std::size_t column = 0; column < row.size(); ++column)
            row[column] = fromUtf8(expected[column]);
        road.protocol.push_back(row);
    }
    return road;
}
