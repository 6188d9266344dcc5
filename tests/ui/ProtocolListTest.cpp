#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/ColumnWidth.h"
#include "ui/TabSeparatedText.h"

TEST(ProtocolList, ColumnWidthsScaleWithTheScreenAndNeverCutWhatTheyHold) {
    struct Case {
        int width, dpi, fit;
        int scaled, fitted;
    } cases[] = {
        {100, 96, 60, 100, 100},    // 100 %: the width as written
        {50, 96, 55, 50, 55},       // a header wider than its column
        {100, 120, 0, 125, 125},    // 125 %
        {50, 144, 75, 75, 75},      // 150 %, fit equal to the scaled width
        {120, 144, 201, 180, 201},  // 150 %, a result wider than its column
        {100, 168, 0, 175, 175},    // 175 %
        {100, 192, 0, 200, 200},    // 200 %
        {50, 110, 0, 57, 57},       // 57.29 rounds down
        {50, 113, 0, 59, 59},       // 58.85 rounds up
        {100, 0, 0, 100, 100},      // no DPI read: as at 100 %
        {100, -1, 0, 100, 100},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(scaledColumnWidth(c.width, c.dpi), c.scaled) << c.width << " at " << c.dpi;
        EXPECT_EQ(fittedColumnWidth(c.width, c.dpi, c.fit), c.fitted) << c.width << " at " << c.dpi;
    }
}

TEST(ProtocolList, TableTextSeparatesCellsByTabAndEndsLinesWithCrLf) {
    const std::vector<std::vector<std::u16string>> table = {
        {u"Компонент", u"1 измерение", u"Оценка"},
        {u"Азот", u"0.002100", u"уд"},
        {u"Гелий", u"", u"—"},
    };
    EXPECT_EQ(tabSeparatedText(table),
              u"Компонент\t1 измерение\tОценка\r\nАзот\t0.002100\tуд\r\nГелий\t\t—\r\n");
    // Empty cells keep their place, so every line has as many cells as the header.
    EXPECT_EQ(tabSeparatedText({{u"", u"", u""}}), u"\t\t\r\n");
    EXPECT_EQ(tabSeparatedText({}), u"");
}
