#include "components/data_tree_geometry.h"

#include <algorithm>

std::vector<TLineSegment> TreeLineSegments(int type, int x, int indent, int top, int nodeHeight, int y) {
  int m = x + indent / 2;
  int right = x + indent;
  int bottom = top + nodeHeight;
  switch (type) {
    case ltTopDown: return {{{m, bottom}, {m, y}}, {{m, y}, {right, y}}};
    case ltVertical: return {{{m, top}, {m, bottom}}};
    case ltTee: return {{{m, top}, {m, bottom}}, {{m, y}, {right, y}}};
    case ltOnlyRoot: return {{{m, y}, {right, y}}};
    case ltLast: return {{{m, top}, {m, y}}, {{m, y}, {right, y}}};
    default: return {};
  }
}

std::vector<int> LineTypes(PDataNode Node, PDataNode Root, bool showRoot) {
  std::vector<int> types;
  for (PDataNode run = Node; run && run != Root; run = run->Parent) {
    bool self = run == Node;
    int type;
    if (self) type = run->NextSibling ? ltTee : ltLast;
    else type = run->NextSibling ? ltVertical : ltNone;
    if (run->Parent == Root) {
      if (!showRoot) break;
      if (self && !run->PrevSibling) type = run->NextSibling ? ltTopDown : ltOnlyRoot;
    }
    types.push_back(type);
  }
  std::reverse(types.begin(), types.end());
  return types;
}

int CheckImageIndex(uint8_t checkType, uint8_t checkState, bool dim, bool treeEnabled, bool nodeEnabled) {
  switch (checkType) {
    case ctNone: return -1;
    case ctButton:
      if (!treeEnabled || !nodeEnabled) return 11;
      return checkState == csButtonPressed ? 10 : 9;
    case ctCheckBox:
      return checkState == csCheckedNormal ? (dim ? 4 : 2) : (dim ? 3 : 1);
    case ctTriStateCheckBox:
      if (checkState == csCheckedNormal) return dim ? 4 : 2;
      if (checkState == csMixedNormal) return 4;
      return dim ? 3 : 1;
    case ctRadioButton:
      return checkState == csCheckedNormal ? (dim ? 8 : 6) : (dim ? 7 : 5);
    default: return -1;
  }
}

int NodeVerticalPosition(int nodeHeight, int align, int imageHeight, int buttonHeight) {
  if (imageHeight > 0) return (nodeHeight - imageHeight) * align / 100 + imageHeight / 2;
  if (buttonHeight > 0) return (nodeHeight - buttonHeight) * align / 100 + buttonHeight / 2;
  return nodeHeight * align / 100;
}

int ButtonOffset(int indent, int buttonWidth) { return (indent - buttonWidth + 1) / 2; }

std::vector<TPoint> DropMarkPolygon(const TRect& r, bool above) {
  if (above)
    return {{r.Left + 2, r.Top}, {r.Right - 2, r.Top}, {r.Right - 2, r.Top + 6},
            {r.Right - 6, r.Top + 2}, {r.Left + 6, r.Top + 2}, {r.Left + 2, r.Top + 6}};
  return {{r.Left + 2, r.Bottom - 1}, {r.Right - 2, r.Bottom - 1}, {r.Right - 2, r.Bottom - 8},
          {r.Right - 7, r.Bottom - 3}, {r.Left + 7, r.Bottom - 3}, {r.Left + 2, r.Bottom - 8}};
}

uint32_t ImageListColor(TColor color) {
  if (color == clNone) return 0xFFFFFFFFu;
  if (color == clDefault) return 0xFF000000u;
  return uint32_t(ColorToRGB(color));
}

int TileOrigin(int edge, int pictureSize) {
  if (pictureSize <= 0) return 0;
  int r = edge % pictureSize;
  return r < 0 ? r + pictureSize : r;
}

namespace {
// Cut positions on character boundaries (a surrogate pair is one character).
std::vector<size_t> CharacterEnds(const std::u16string& text) {
  std::vector<size_t> ends;
  for (size_t i = 0; i < text.size(); ++i) {
    bool high = text[i] >= 0xD800 && text[i] <= 0xDBFF;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
    ends.push_back(i + 1);
  }
  return ends;
}
}  // namespace

std::u16string ShortenString(const std::u16string& text, int width, int ellipsisWidth, const TTextMeasure& measure) {
  if (text.empty() || width <= 0) return {};
  if (measure(text) <= width) return text;
  if (width <= ellipsisWidth) return {};
  std::vector<size_t> ends = CharacterEnds(text);
  int room = width - ellipsisWidth;
  // n: the most leading characters that fit (binary search on the prefix widths).
  size_t lo = 0, hi = ends.size();
  while (lo < hi) {
    size_t mid = (lo + hi + 1) / 2;
    if (measure(text.substr(0, ends[mid - 1])) <= room) lo = mid;
    else hi = mid - 1;
  }
  if (lo == ends.size()) return text;
  size_t keep = lo > 1 ? ends[lo - 2] : 0;  // n - 1 characters, never fewer than none
  return text.substr(0, keep) + u"...";
}
