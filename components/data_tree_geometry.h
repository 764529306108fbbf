// Pure geometry of the data tree's painting: tree-line types and segments, check image
// indexes, vertical positions, drop marks, colours for image lists, background tiling and the
// ellipsis rule for texts that do not fit.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "components/data_tree_node.h"
#include "platform/gui/gui_types.h"

// Line types of one level: -1 nothing, 0 first root of several, 1 vertical, 2 T, 3 the only
// root, 4 L (last sibling).
inline constexpr int ltNone = -1, ltTopDown = 0, ltVertical = 1, ltTee = 2, ltOnlyRoot = 3, ltLast = 4;

// A line segment from A to B (B excluded when drawn).
struct TLineSegment {
  TPoint A, B;
  friend bool operator==(const TLineSegment&, const TLineSegment&) = default;
};

// The segments of a line type in the strip starting at x (Indent wide) for a line at top T,
// NodeHeight high, with its vertical centre at y.
std::vector<TLineSegment> TreeLineSegments(int type, int x, int indent, int top, int nodeHeight, int y);

// The line types of every level of Node (index 0 = the top level, shown only with voShowRoot).
std::vector<int> LineTypes(PDataNode Node, PDataNode Root, bool showRoot);

// Index in the check image strip (-1: no image).
int CheckImageIndex(uint8_t checkType, uint8_t checkState, bool dim, bool treeEnabled, bool nodeEnabled);

// The vertical centre of images and button: images first, else the button, else the line.
int NodeVerticalPosition(int nodeHeight, int align, int imageHeight, int buttonHeight);

// (Indent − button width) / 2 rounded half up.
int ButtonOffset(int indent, int buttonWidth);

// The drop mark polygon above or below the line rectangle.
std::vector<TPoint> DropMarkPolygon(const TRect& line, bool above);

// The colour handed to image-list drawing: clNone -> 0xFFFFFFFF, clDefault -> 0xFF000000.
uint32_t ImageListColor(TColor color);

// Where the first background tile starts inside a picture for a rectangle's left (or top).
int TileOrigin(int edge, int pictureSize);

// Measures a text's width in pixels.
using TTextMeasure = std::function<int(const std::u16string&)>;
// The text as it fits into `width`: whole, or shortened on a character boundary with "...",
// or empty when not even the ellipsis fits.
std::u16string ShortenString(const std::u16string& text, int width, int ellipsisWidth, const TTextMeasure& measure);
