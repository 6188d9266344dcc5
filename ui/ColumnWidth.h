#pragma once

// The width of a list-view column on a screen of any scaling.

// Pixels at 96 DPI (100 %), the scaling column widths are written for.
inline constexpr int kBaseDpi = 96;

// `width` pixels at 96 DPI scaled to `dpi`, rounded to the nearest pixel; a DPI that is not
// positive (none could be read) counts as 96.
int scaledColumnWidth(int width, int dpi);

// The width a column gets: `width` scaled to `dpi`, or `fit` (the width that shows all the
// column holds) when that is wider.
int fittedColumnWidth(int width, int dpi, int fit);
