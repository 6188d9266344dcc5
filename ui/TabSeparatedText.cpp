#include "ui/TabSeparatedText.h"

std::u16string tabSeparatedText(const std::vector<std::vector<std::u16string>>& lines) {
    std::u16string text;
    for (const auto& line : lines) {
        for (std::size_t cell = 0; cell < line.size(); ++cell) {
            if (cell > 0) text += u'\t';
            text += line[cell];
        }
        text += u"\r\n";
    }
    return text;
}
