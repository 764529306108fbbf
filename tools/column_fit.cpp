#include "tools/column_fit.h"

#include <algorithm>
#include <cmath>

std::vector<int> FitColumns(const std::vector<double>& baseIn, const std::vector<int>& content, int available,
                            int minWidth) {
  const size_t n = baseIn.size();
  std::vector<double> base = baseIn;
  double baseSum = 0;
  for (double b : base) baseSum += std::max(b, 0.0);
  if (!(baseSum > 0)) std::fill(base.begin(), base.end(), 1.0), baseSum = double(n);
  std::vector<double> need(n);
  double needSum = 0;
  for (size_t i = 0; i < n; ++i) {
    need[i] = std::max<double>(i < content.size() ? content[i] : 0, minWidth);
    needSum += need[i];
  }
  std::vector<int> widths(n, minWidth);
  if (n == 0) return widths;
  std::vector<bool> fixed(n, false);
  const bool room = available >= needSum;
  // Each pass fixes the columns that reach their limit, then shares the rest among the others:
  // with room in proportion to the base widths (limit: the need), else to the needs (limit:
  // the minimum).
  for (bool changed = true; changed;) {
    changed = false;
    double left = available, weight = 0;
    for (size_t i = 0; i < n; ++i) {
      if (fixed[i]) left -= widths[i];
      else weight += room ? std::max(base[i], 0.0) : need[i];
    }
    for (size_t i = 0; i < n; ++i) {
      if (fixed[i]) continue;
      const double share = weight > 0 ? left * (room ? std::max(base[i], 0.0) : need[i]) / weight : 0;
      const double limit = room ? need[i] : minWidth;
      if (share <= limit) {
        widths[i] = int(std::lround(limit));
        fixed[i] = changed = true;
      }
    }
    if (!changed)
      for (size_t i = 0; i < n; ++i)
        if (!fixed[i]) widths[i] = int(std::lround(weight > 0 ? left * (room ? base[i] : need[i]) / weight : minWidth));
  }
  return widths;
}
