// Fitting a grid's columns to a width: each keeps its proportion of the base widths where there
// is room, none is narrower than its content (there is room) or than the minimum (too narrow).
#pragma once

#include <vector>

// The widths of columns with `base` widths and `content` widths (widest text + 10) in
// `available` pixels. Columns whose share is below their need get their need and the others
// share what is left in proportion; when even the needs do not fit, they shrink in proportion
// but never below `minWidth`. A zero sum of base widths shares equally.
std::vector<int> FitColumns(const std::vector<double>& base, const std::vector<int>& content, int available,
                            int minWidth = 20);
