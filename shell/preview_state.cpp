#include "shell/preview_state.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

TPreviewGeometry PreviewGeometry(int screenWidth, int screenHeight, double aspect) {
  if (aspect == 0) aspect = 0.707;
  TPreviewGeometry g;
  g.PageHeight = screenHeight - 150;
  g.PageWidth = int(std::lround(g.PageHeight / aspect));
  if (g.PageWidth > screenWidth - 100) {
    g.PageWidth = screenWidth - 100;
    g.PageHeight = int(std::lround(g.PageWidth * aspect));
  }
  g.ClientWidth = g.PageWidth + 50;
  g.ClientHeight = g.PageHeight + 50;
  g.BitmapWidth = int(std::lround(g.PageWidth * 0.98));
  g.BitmapHeight = int(std::lround(g.PageHeight * 0.98));
  return g;
}

std::string TPreviewZoom::Text() const { return std::to_string(tenths_ / 10) + "." + std::to_string(tenths_ % 10); }

int TypedPageIndex(const std::string& text, int current, int last) {
  char* end = nullptr;
  const long number = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str()) return current;
  return int(std::clamp<long>(number - 1, 0, std::max(last, 0)));
}

std::string PreviewPageFile(const std::string& folder, int index) {
  return folder + "/PreviewMetafile" + std::to_string(index);
}
