#include "tools/spinner_rules.h"

#include <algorithm>

namespace {

bool Blank(const std::string& text) { return text.find_first_not_of(" \t\r\n") == std::string::npos; }

}  // namespace

void FixRange(TSpinRange& r) {
  if (r.Min > r.Max) r.Max = r.Min - 1;
}

int ClampPosition(const TSpinRange& r, int position) { return std::min(std::max(position, r.Min), r.Max); }

std::vector<bool> ButtonStates(const TSpinRange& r) {
  const bool down = r.Position != r.Min && r.Min < r.Max, up = r.Position != r.Max && r.Max > r.Min;
  return {down, down, true, up, up};
}

int StepPosition(const TSpinRange& r, TAdvSpinBtn button, bool loop) {
  switch (button) {
    case sbFirst: return r.Min;
    case sbLast: return r.Max;
    case sbPrior: return r.Position > r.Min ? r.Position - 1 : loop ? r.Max : r.Position;
    case sbNext: return r.Position < r.Max ? r.Position + 1 : loop ? r.Min : r.Position;
    default: return r.Position;
  }
}

TSpinValueText ListValueText(int position, const std::vector<std::string>& list) {
  if (position >= 0 && position < int(list.size())) return {list[size_t(position)], !Blank(list[size_t(position)])};
  return {std::to_string(position), false};
}

std::vector<TSpinPopupItem> SpinPopupItems(const TSpinRange& r, int breakEvery,
                                           const std::function<TSpinValueText(int)>& text) {
  std::vector<TSpinPopupItem> items;
  if (r.Max < r.Min) return items;
  // Long ranges list the positions around the current one only.
  const long long span = static_cast<long long>(r.Max) - r.Min + 1;
  int first = r.Min, last = r.Max;
  if (span > kMaxSpinPopupItems) {
    first = int(std::clamp<long long>(static_cast<long long>(r.Position) - kMaxSpinPopupItems / 2, r.Min,
                                      static_cast<long long>(r.Max) - kMaxSpinPopupItems + 1));
    last = first + kMaxSpinPopupItems - 1;
  }
  for (long long p = first; p <= last; ++p) {
    const TSpinValueText value = text(int(p));
    if (!value.Offered || Blank(value.Text)) continue;
    const int count = int(items.size());
    const bool column = breakEvery == 1 ? count > 0 : breakEvery >= 2 && count > 0 && count % breakEvery == 0;
    items.push_back({int(p), value.Text, p == r.Position, column});
  }
  return items;
}

TSpinCells SpinCells(const TSpinRange& r, int width) {
  TSpinCells cells;
  if (r.Max < r.Min || width <= 0) return cells;
  cells.Count = int(std::min<long long>(static_cast<long long>(r.Max) - r.Min + 1, 1 << 30));
  cells.Width = width / cells.Count;
  cells.Drawn = cells.Count;
  if (cells.Width < 2) {
    cells.Width = 2;
    cells.Drawn = std::max(1, width / 2);
  }
  cells.Margin = (width - cells.Drawn * cells.Width) / 2;
  return cells;
}

int PositionAtX(const TSpinRange& r, int x, int width) {
  const TSpinCells cells = SpinCells(r, width);
  if (cells.Count == 0) return r.Position;
  const long long offset = static_cast<long long>(x - cells.Margin) * cells.Count / cells.Drawn / cells.Width;
  return ClampPosition(r, int(std::clamp<long long>(r.Min + offset, r.Min, r.Max)));
}

std::vector<TSpinBarCell> SpinBarCells(const TSpinRange& r, TSpinValueStyle style, int width, int height) {
  std::vector<TSpinBarCell> out;
  const TSpinCells cells = SpinCells(r, width - 2);
  if (style < vsScrollBar || cells.Count == 0) return out;
  long long current = static_cast<long long>(r.Position) - r.Min;
  if (cells.Drawn != cells.Count)
    current = std::min<long long>((current * cells.Drawn + cells.Count / 2) / cells.Count, cells.Drawn - 1);
  const int top = 2, bottom = height - 2;
  for (int i = 0; i < cells.Drawn; ++i) {
    if (style != vsScrollBar && style != vsOwnerDraw && i > current) break;
    const int level = int(static_cast<long long>(height - 1) * (i + 1) / cells.Drawn + 1);
    const bool bar = style == vsVolumeGauge || (style == vsGauge && i == current);
    const int left = 1 + cells.Margin + i * cells.Width;
    const long long position = r.Min + (static_cast<long long>(i) * cells.Count + cells.Drawn / 2) / cells.Drawn;
    out.push_back({left, bar ? std::max(top, bottom - level) : top, left + cells.Width - 1, bottom, i == current,
                   int(position)});
  }
  return out;
}
