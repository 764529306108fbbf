#include "components/placement_values.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

std::vector<std::optional<int>> SplitPlacementNumbers(const std::string& text) {
  std::vector<std::optional<int>> numbers;
  auto separator = [](char c) { return c == ' ' || c == ',' || c == '(' || c == ')' || c == '[' || c == ']' || c == '\t'; };
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && separator(text[i])) ++i;
    if (i == text.size()) break;
    size_t end = i;
    while (end < text.size() && !separator(text[end])) ++end;
    int value = 0;
    const char* first = text.data() + i;
    const char* last = text.data() + end;
    auto [ptr, ec] = std::from_chars(first, last, value);
    numbers.push_back(ec == std::errc() && ptr == last ? std::optional<int>(value) : std::nullopt);
    i = end;
  }
  return numbers;
}

std::string RectToPlacementText(const TRect& r) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%d,%d,%d,%d", r.Left, r.Top, r.Right, r.Bottom);
  return buffer;
}

TRect PlacementTextToRect(const std::string& text, const TRect& fallback) {
  const auto numbers = SplitPlacementNumbers(text);
  const int defaults[4] = {fallback.Left, fallback.Top, fallback.Right, fallback.Bottom};
  int values[4];
  for (size_t k = 0; k < 4; ++k)
    values[k] = k < numbers.size() && numbers[k] ? *numbers[k] : defaults[k];
  return Rect(values[0], values[1], values[2], values[3]);
}

std::string ScreenSuffixedName(const std::string& name, int screenWidth, int screenHeight) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "(%dx%d)", screenWidth, screenHeight);
  return name + buffer;
}

TWindowState StateFromShowCmd(int showCmd, bool maximiseByDefault) {
  switch (showCmd) {
    case 1: case 5: case 9: return wsNormal;
    case 2: case 6: case 7: return wsMinimized;
    case 3: return wsMaximized;
    default: return maximiseByDefault ? wsMaximized : wsNormal;
  }
}

TRect KeepOnDesktop(const TRect& r, const std::vector<TRect>& monitors, const TRect& workArea) {
  // Reachable: a corner of the caption (up to 32 × 32 pixels) lies on some screen.
  const int needW = std::min(32, std::max(1, r.Width()));
  const int needH = std::min(32, std::max(1, r.Height()));
  for (const TRect& m : monitors) {
    const int w = std::min(r.Right, m.Right) - std::max(r.Left, m.Left);
    const int h = std::min(r.Bottom, m.Bottom) - std::max(r.Top, m.Top);
    if (w >= needW && h >= needH && r.Top >= m.Top && r.Top < m.Bottom) return r;
  }
  if (workArea.Width() <= 0 || workArea.Height() <= 0) return r;
  const int width = std::min(r.Width(), workArea.Width());
  const int height = std::min(r.Height(), workArea.Height());
  const int left = std::clamp(r.Left, workArea.Left, workArea.Right - width);
  const int top = std::clamp(r.Top, workArea.Top, workArea.Bottom - height);
  return Bounds(left, top, width, height);
}
