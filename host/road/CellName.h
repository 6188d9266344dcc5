#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "database/Utf.h"

// A protocol cell named as a reader of the window finds it: "строка 1 «Азот», столбец
// «Среднее»", rows counted from 1 and named by the component the row should hold.
inline std::string CellName(const std::vector<std::array<std::u16string, 9>>& rows, std::size_t row,
                            std::size_t column) {
    static constexpr const char* kHeaders[] = {
        "Компонент", "1 измерение", "2 измерение",      "Среднее",   "Повторяемость",
        "Предел",    "Оценка",      "Неопределенность", "Результат",
    };
    std::string name = "строка " + std::to_string(row + 1);
    if (row < rows.size()) name += " «" + toUtf8(rows[row][0]) + "»";
    if (column < std::size(kHeaders)) name += std::string(", столбец «") + kHeaders[column] + "»";
    return name;
}
