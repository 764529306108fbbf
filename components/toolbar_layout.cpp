#include "components/toolbar_layout.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

TDockArrangement ArrangeDock(std::vector<TDockedBar> bars, int length, bool limitToOneRow, bool fixAlign) {
  TDockArrangement a;
  std::vector<size_t> order(bars.size());
  std::iota(order.begin(), order.end(), 0);
  if (limitToOneRow)
    for (TDockedBar& b : bars) b.Row = 0;
  for (TDockedBar& b : bars) b.Row = std::max(0, b.Row);
  std::stable_sort(order.begin(), order.end(), [&](size_t x, size_t y) {
    return bars[x].Row != bars[y].Row ? bars[x].Row < bars[y].Row : bars[x].Pos < bars[y].Pos;
  });
  // Rows without gaps: the distinct row numbers in order become 0, 1, 2...
  int row = -1, last = -1;
  for (size_t i : order) {
    if (bars[i].Row != last) {
      last = bars[i].Row;
      ++row;
    }
    bars[i].Row = row;
  }
  const int rows = row + 1;
  a.RowSizes.assign(size_t(rows), 0);
  for (const TDockedBar& b : bars) a.RowSizes[size_t(b.Row)] = std::max(a.RowSizes[size_t(b.Row)], std::max(8, b.Thickness) + 4);
  a.Offsets.assign(bars.size(), 0);
  std::vector<int> wanted(bars.size(), 0);
  int offset = 0;
  for (int r = 0; r < rows; ++r) {
    std::vector<size_t> inRow;
    for (size_t i : order)
      if (bars[i].Row == r) inRow.push_back(i);
    auto walk = [&] {
      int running = 0;
      for (size_t i : inRow) {
        if (bars[i].Pos <= running) bars[i].Pos = running;
        running = bars[i].Pos + bars[i].Length;
      }
      return running;
    };
    const int end = walk();
    for (size_t i : inRow) wanted[i] = bars[i].Pos;
    if (end > length)
      for (size_t i : inRow) bars[i].Pos -= end - length;  // pushed back from the end
    walk();                                               // never before 0
    for (size_t i : inRow) a.Offsets[i] = offset;
    offset += a.RowSizes[size_t(r)];
  }
  a.Bars = bars;
  a.Wanted = wanted;
  a.Thickness = rows > 0 ? offset : (fixAlign ? 1 : 0);
  return a;
}

int DropRow(const std::vector<int>& rowSizes, int middle, bool& newRow) {
  newRow = false;
  int start = 0;
  for (size_t r = 0; r < rowSizes.size(); ++r) {
    const int end = start + rowSizes[r];
    if (middle <= start + 5 && (r == 0 || middle >= start - 5)) {
      newRow = true;
      return int(r);
    }
    if (middle < end - 5) return int(r);
    if (middle <= end + 5 && r + 1 < rowSizes.size()) {
      newRow = true;
      return int(r + 1);
    }
    start = end;
  }
  newRow = true;
  return int(rowSizes.size());
}

bool DockTakes(const TRect& dock, TDockType type, TPoint p, double gx, double gy, const TRect& bar) {
  const int left = int(32 * (1 - gx)), top = int(20 * (1 - gy));
  const TRect wide = Rect(dock.Left - left, dock.Top - top, dock.Right + 32 - left, dock.Bottom + 20 - top);
  if (!wide.Contains(p)) return false;
  if (type == dtLeftRight && (p.Y < dock.Top || p.Y >= dock.Bottom)) return false;
  TRect solid = dock;
  if (type == dtLeftRight && solid.Width() == 0) ++solid.Right;
  if (type != dtLeftRight && solid.Height() == 0) ++solid.Bottom;
  return bar.Left < solid.Right && solid.Left < bar.Right && bar.Top < solid.Bottom && solid.Top < bar.Bottom;
}

TRect MoveRectOnScreen(const TRect& r, const TRect& work, bool onlyIfOff) {
  const bool touches = r.Left < work.Right && r.Right > work.Left && r.Top < work.Bottom && r.Bottom > work.Top;
  if (onlyIfOff && touches) return r;
  int dx = 0, dy = 0;
  if (r.Right > work.Right) dx = work.Right - r.Right;
  if (r.Bottom > work.Bottom) dy = work.Bottom - r.Bottom;
  if (r.Left + dx < work.Left) dx = work.Left - r.Left;
  if (r.Top + dy < work.Top) dy = work.Top - r.Top;
  return Rect(r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy);
}

TRect AddFloatFrame(const TRect& r, int frame, int caption) {
  return Rect(r.Left - frame, r.Top, r.Right + frame, r.Bottom + 2 * frame + caption);
}

TRect RemoveFloatFrame(const TRect& r, int frame, int caption) {
  return Rect(r.Left + frame, r.Top, r.Right - frame, r.Bottom - 2 * frame - caption);
}

TBarLayout LayoutBar(const std::vector<TBarItem>& items, TDockType type, bool handle, int wrap) {
  TBarLayout out;
  out.Places.assign(items.size(), TRect{});
  for (const TBarItem& it : items)
    if (it.Visible && !it.Separator) {
      out.ThicknessH = std::max(out.ThicknessH, it.Height);
      out.ThicknessV = std::max(out.ThicknessV, it.Width);
    }
  const bool vertical = type == dtLeftRight;
  const int thickness = vertical ? out.ThicknessV : out.ThicknessH;
  const int start = handle ? (type == dtNotDocked ? 4 : 11) : (type == dtNotDocked ? 4 : 2);
  const int endMargin = type == dtNotDocked ? 4 : 2, before = 2, after = type == dtNotDocked ? 1 : 2;
  const int limit = type == dtNotDocked && wrap > 0 ? wrap : 1 << 30;
  auto lengthOf = [&](const TBarItem& it) {
    if (it.Separator) return vertical ? it.SizeVert : it.SizeHorz;
    return vertical ? it.Height : it.Width;
  };
  int pos = start, line = before, furthest = start;
  size_t i = 0;
  while (i < items.size()) {
    // A group: the controls up to and including the next separator.
    size_t end = i;
    int groupLength = 0;
    while (end < items.size()) {
      if (items[end].Visible) groupLength += lengthOf(items[end]);
      if (items[end].Separator) { ++end; break; }
      ++end;
    }
    if (pos > start && pos + groupLength - (items[end - 1].Separator ? lengthOf(items[end - 1]) : 0) > limit) {
      // A new line; a separator just before it collapses.
      if (i > 0 && items[i - 1].Separator) {
        out.Collapsed.push_back(int(i - 1));
        out.Places[i - 1] = TRect{};
        line += thickness + 6;
        out.BreakLines.push_back(line);
      } else {
        line += thickness;
      }
      pos = start;
    }
    for (size_t k = i; k < end; ++k) {
      const TBarItem& it = items[k];
      if (!it.Visible) continue;
      const int len = lengthOf(it);
      if (!it.Separator && pos > start && pos + len > limit && k > i) {
        line += thickness;
        pos = start;
      }
      const int across = it.Separator ? thickness : (vertical ? it.Width : it.Height);
      const int off = line + (thickness - across) / 2;
      out.Places[k] = vertical ? Bounds(off, pos, across, len) : Bounds(pos, off, len, across);
      pos += len;
      furthest = std::max(furthest, pos);
    }
    i = end;
  }
  const int along = furthest + endMargin, acrossSize = line + thickness + after;
  out.Width = vertical ? acrossSize : along;
  out.Height = vertical ? along : acrossSize;
  return out;
}

std::vector<TFloatSize> FloatSizes(const std::vector<TBarItem>& items) {
  std::vector<TFloatSize> sizes;
  const TBarLayout full = LayoutBar(items, dtNotDocked, true, 0);
  for (int wrap = full.Width; wrap > 0; --wrap) {
    const TBarLayout l = LayoutBar(items, dtNotDocked, true, wrap);
    if (!sizes.empty() && sizes.back().Width == l.Width && sizes.back().Height == l.Height) continue;
    sizes.push_back({wrap, l.Width, l.Height});
  }
  return sizes;
}

TFloatSize NearestFloatSize(const std::vector<TFloatSize>& sizes, bool horizontal, int wanted) {
  TFloatSize best;
  int bestDistance = -1;
  for (const TFloatSize& s : sizes) {
    const int d = std::abs((horizontal ? s.Width : s.Height) - wanted);
    if (bestDistance < 0 || d < bestDistance) {
      best = s;
      bestDistance = d;
    }
  }
  return best;
}

TRect FloatCloseRect(int width, int frame, int caption) {
  const int side = caption - 1;
  return Rect(width - frame - side, frame, width - frame, frame + side);
}

TFloatPart FloatHitTest(TPoint p, int width, int height, int frame, int caption, bool closeButton) {
  if (closeButton && FloatCloseRect(width, frame, caption).Contains(p)) return fpClose;
  const bool left = p.X < frame, right = p.X >= width - frame, top = p.Y < frame, bottom = p.Y >= height - frame;
  if ((left || right) && (top || bottom)) return fpClient;  // corners do not size
  if (left) return fpLeft;
  if (right) return fpRight;
  if (top) return fpTop;
  if (bottom) return fpBottom;
  return fpClient;
}

std::string FitCaption(const std::string& caption, int width, const std::function<int(const std::string&)>& measure) {
  if (measure(caption) <= width) return caption;
  std::string kept = caption;
  while (!kept.empty()) {
    kept.pop_back();
    if (measure(kept + "...") <= width || kept.size() < 5) break;
  }
  return kept + "...";
}
