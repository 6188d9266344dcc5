#include "ui/ColumnWidth.h"

#include <algorithm>

int scaledColumnWidth(int width, int dpi) {
    if (dpi <= 0) dpi = kBaseDpi;
    // In 64 bits, so that no width and DPI a screen has can overflow.
    const long long scaled = (static_cast<long long>(width) * dpi + kBaseDpi / 2) / kBaseDpi;
    return static_cast<int>(scaled);
}

int fittedColumnWidth(int width, int dpi, int fit) {
    return std::max(scaledColumnWidth(width, dpi), fit);
}
