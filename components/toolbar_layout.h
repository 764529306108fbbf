// The geometry of docks and toolbars, free of windows: arranging the toolbars of a dock in
// rows, laying out a toolbar's controls in lines, the floating window's frame, keeping a
// floating toolbar on the screen and finding the row a dropped toolbar goes to.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/gui/gui_types.h"

enum TDockType { dtNotDocked, dtTopBottom, dtLeftRight };

// One toolbar of a dock: its row and place along the row (in), its length along the row and
// bare thickness across.
struct TDockedBar {
  int Row = 0, Pos = 0, Length = 0, Thickness = 8;
};
struct TDockArrangement {
  std::vector<TDockedBar> Bars;  // rows without gaps, places along the row
  std::vector<int> Wanted;       // the places before a row too long was pushed back
  std::vector<int> Offsets;      // each bar's offset across the dock
  std::vector<int> RowSizes;     // thickness of each row, margins included
  int Thickness = 0;             // the dock's size across
};
// Arranges the bars of a dock of `length` along (the bars in any order; the result keeps it).
TDockArrangement ArrangeDock(std::vector<TDockedBar> bars, int length, bool limitToOneRow, bool fixAlign);

// The row a toolbar dropped with its middle at `middle` (across the dock) goes to; `newRow` is
// set when a new row is made there (the rows from that number on move up by one).
int DropRow(const std::vector<int>& rowSizes, int middle, bool& newRow);

// Whether a dock at screen rectangle `dock` takes a toolbar dragged with the cursor at `p`,
// gripped at fractions `gx`, `gy` of its size, that would lie at `bar` there: the cursor within
// the dock widened by 32 pixels across and 20 down (split by the grip: the side the toolbar
// hangs towards gets more), within the dock's own height for a left/right dock, and the bar
// meeting the dock (an empty dock counts one pixel thicker).
bool DockTakes(const TRect& dock, TDockType type, TPoint p, double gx, double gy, const TRect& bar);

// Shifts a floating rectangle into the work area: left, up, right, down, so that one larger
// than the area ends with its top-left corner inside. With `onlyIfOff`, a rectangle that
// touches the area stays.
TRect MoveRectOnScreen(const TRect& r, const TRect& workArea, bool onlyIfOff);
// The floating window's rectangle from the toolbar's and back: left - frame, right + frame,
// bottom + 2 frames + caption height; the top stays.
TRect AddFloatFrame(const TRect& r, int frame, int caption);
TRect RemoveFloatFrame(const TRect& r, int frame, int caption);

// One control of a toolbar for the layout.
struct TBarItem {
  int Width = 0, Height = 0;
  bool Separator = false, Visible = true;
  int SizeHorz = 6, SizeVert = 6;
};
struct TBarLayout {
  std::vector<TRect> Places;       // one per item (empty for hidden ones and collapsed separators)
  std::vector<int> Collapsed;      // separators collapsed at line breaks
  std::vector<int> BreakLines;     // across offset of the line after each collapsed separator
  int Width = 0, Height = 0;       // the toolbar's size
  int ThicknessH = 8, ThicknessV = 8;  // bare thicknesses: largest height and width (>= 8)
};
// Lays out the items in lines for a dock type; `wrap` 0 means no limit; `handle` when a drag
// handle is shown.
TBarLayout LayoutBar(const std::vector<TBarItem>& items, TDockType type, bool handle, int wrap);

// The sizes a floating toolbar can take: one per distinct layout over all wrap widths, widest
// first, with the widest wrap width that gives it.
struct TFloatSize {
  int Wrap = 0, Width = 0, Height = 0;
};
std::vector<TFloatSize> FloatSizes(const std::vector<TBarItem>& items);
// The size whose width (`horizontal`) or height is nearest to `wanted`.
TFloatSize NearestFloatSize(const std::vector<TFloatSize>& sizes, bool horizontal, int wanted);

// The parts of a floating toolbar's window (`width` x `height`, frame and caption drawn by the
// toolbar): the close button, the four frame edges (no corners) and the rest, caption included.
enum TFloatPart { fpClient, fpClose, fpLeft, fpTop, fpRight, fpBottom };
TFloatPart FloatHitTest(TPoint p, int width, int height, int frame, int caption, bool closeButton);
// The close button: a square as high as the caption bar (caption - 1) at its right end.
TRect FloatCloseRect(int width, int frame, int caption);
// A caption that fits `width` as measured: a longer one loses characters before a "..." until it
// fits or keeps fewer than 5.
std::string FitCaption(const std::string& caption, int width, const std::function<int(const std::string&)>& measure);
