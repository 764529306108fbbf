#include "components/draw_utils.h"

#include <algorithm>

#include "platform/gui/application.h"
#include "platform/gui/control.h"
#include "platform/gui/form.h"
#include "platform/gui/graphics.h"

TRect BitmapCellRect(int width, int height, int columns, int rows, int index) {
  columns = std::max(1, columns);
  rows = std::max(1, rows);
  index = std::max(0, index);
  const int w = width / columns, h = height / rows;
  const int col = index % columns, row = index / columns;
  return Bounds(col * w, row * h, w, h);
}

std::vector<TGradientBand> GradientBands(const TRect& r, TColor begin, TColor end, TGradientDirection direction,
                                         int colors) {
  if (r.Width() <= 0 || r.Height() <= 0) return {};
  const TColor b = ColorToRGB(begin), e = ColorToRGB(end);
  if (colors < 2) return {{r, b}};
  const bool vertical = direction == gdTopToBottom || direction == gdBottomToTop;
  const bool reverse = direction == gdBottomToTop || direction == gdRightToLeft;
  const TColor from = reverse ? e : b, to = reverse ? b : e;
  const int extent = vertical ? r.Height() : r.Width();
  const int count = std::max(2, std::min(colors, extent));
  const int step = extent / count;
  std::vector<TGradientBand> bands;
  for (int i = 0; i < count; ++i) {
    auto channel = [&](int shift) {
      const int f = (from >> shift) & 0xFF, t = (to >> shift) & 0xFF;
      return f + (t - f) * i / (count - 1);
    };
    const TColor c = RGB(channel(0), channel(8), channel(16));
    const int a = i * step, z = i == count - 1 ? extent : (i + 1) * step;  // the last band takes the rest
    bands.push_back({vertical ? Rect(r.Left, r.Top + a, r.Right, r.Top + z) : Rect(r.Left + a, r.Top, r.Left + z, r.Bottom),
                     c});
  }
  return bands;
}

void FillGradientBands(TCanvas& canvas, const TRect& r, TColor begin, TColor end, TGradientDirection direction,
                       int colors) {
  for (const TGradientBand& band : GradientBands(r, begin, end, direction, colors)) {
    canvas.Brush()->SetColor(band.Color);
    canvas.FillRect(band.Rect);
  }
}

std::string ShortenTextToWidth(const std::string& text, const std::function<int(const std::string&)>& width,
                               int maxWidth) {
  if (width(text) <= maxWidth) return text;
  std::string cut = text;
  while (!cut.empty()) {
    cut.pop_back();
    if (width(cut + "...") <= maxWidth) return cut + "...";
  }
  return width("...") <= maxWidth ? "..." : "";
}

std::string ShortenTextToWidth(const std::string& text, TCanvas& canvas, int maxWidth) {
  return ShortenTextToWidth(text, [&](const std::string& s) { return canvas.TextWidth(s); }, maxWidth);
}

TPoint CentredPosition(const TRect& area, int width, int height) {
  return {std::max(0, area.Left + (area.Width() - width) / 2), std::max(0, area.Top + (area.Height() - height) / 2)};
}

void CentreInParent(TControl& control) {
  TRect area;
  if (auto* form = dynamic_cast<TCustomForm*>(&control); form && !form->Parent()) {
    area = Screen ? Screen->WorkAreaRect() : TRect{};
  } else if (control.Parent()) {
    area = control.Parent()->ClientRect();
  } else {
    return;
  }
  const TPoint p = CentredPosition(area, control.Width(), control.Height());
  control.SetBounds(p.X, p.Y, control.Width(), control.Height());
}

std::vector<std::string> CommandTokens(const std::string& line) {
  std::vector<std::string> tokens;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    if (i >= line.size()) break;
    std::string token;
    bool quoted = false;
    while (i < line.size() && (quoted || line[i] != ' ')) {
      if (line[i] == '"') quoted = !quoted;
      else token += line[i];
      ++i;
    }
    if (!token.empty()) tokens.push_back(token);
  }
  return tokens;
}

int CommandTokenCount(const std::string& line) { return int(CommandTokens(line).size()); }

void SplitCommandTokens(const std::string& line, std::string& first, std::string& rest) {
  const std::vector<std::string> tokens = CommandTokens(line);
  first = tokens.empty() ? std::string() : tokens[0];
  rest.clear();
  for (size_t i = 1; i < tokens.size(); ++i) {
    if (!rest.empty()) rest += ' ';
    rest += tokens[i].find(' ') != std::string::npos ? '"' + tokens[i] + '"' : tokens[i];
  }
}
