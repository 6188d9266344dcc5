#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "text/Utf8.h"

// A protocol row named as a reader of the window finds it: "строка 1 «Азот»", counted from 1
// and named by the component the row should hold.
inline std::string RowName(const std::vector<std::array<std::u16string, 9>>& rows,
                           std::size_t row) {
    std::string name = "строка " + std::to_string(row + 1);
    if (row < rows.size()) name += " «" + toUtf8(rows[row][0]) + "»";
    return name;
}

// A protocol cell: "строка 1 «Азот», столбец «Среднее»".
inline std::string CellName(const std::vector<std::array<std::u16string, 9>>& rows, std::size_t row,
                            std::size_t column) {
    static constexpr const char* kHeaders[] = {
        "Компонент", "1 измерение", "2 измерение",      "Среднее",   "Повторяемость",
        "Предел",    "Оценка",      "Неопределенность", "Результат",
    };
    return RowName(rows, row) + ", столбец «" + kHeaders[column] + "»";
}
