// The rules of the value spinner: its range and position, the enabling of its buttons, stepping,
// the texts of its positions, the value popup's items and the cells of its bar styles.
#pragma once

#include <functional>
#include <string>
#include <vector>

enum TAdvSpinBtn { sbFirst, sbPrior, sbValue, sbNext, sbLast };
// How the value button shows the position: popup and text show its text; the others are bar styles.
enum TSpinValueStyle { vsPopup, vsText, vsScrollBar, vsGauge, vsVolumeGauge, vsOwnerDraw };

struct TSpinRange {
  int Min = 0, Max = 9, Position = 0;
};

// Max below Min becomes Min - 1 (an empty range: no position is offered).
void FixRange(TSpinRange& r);
// The position clamped to Min, then to Max.
int ClampPosition(const TSpinRange& r, int position);
// Whether first, prior, next and last may act (indexed by TAdvSpinBtn; sbValue always true).
std::vector<bool> ButtonStates(const TSpinRange& r);
// The position after a button's action (sbValue leaves it).
int StepPosition(const TSpinRange& r, TAdvSpinBtn button, bool loop);

struct TSpinValueText {
  std::string Text;
  bool Offered = false;
};
// Without a handler: a position within the list gives its string, offered unless blank; any
// other gives its number, not offered.
TSpinValueText ListValueText(int position, const std::vector<std::string>& list);

struct TSpinPopupItem {
  int Position;
  std::string Text;
  bool Checked;
  bool NewColumn;  // starts a column of the popup
};
// The most items the value popup lists; a wider range lists the positions around the current.
inline constexpr int kMaxSpinPopupItems = 100;
// The popup's items: offered positions with their texts, columns broken by `breakEvery`.
std::vector<TSpinPopupItem> SpinPopupItems(const TSpinRange& r, int breakEvery,
                                           const std::function<TSpinValueText(int)>& text);

struct TSpinCells {
  int Count = 0;  // N: positions (0 for an empty range)
  int Drawn = 0;  // N': cells drawn
  int Width = 0;  // c
  int Margin = 0;  // m
};
// The bar styles' cells over `width` pixels (cells at least 2 wide).
TSpinCells SpinCells(const TSpinRange& r, int width);
// The position a press at x picks (the current one for an empty range).
int PositionAtX(const TSpinRange& r, int x, int width);

struct TSpinBarCell {
  int Left, Top, Right, Bottom;  // Right and Bottom exclusive
  bool Current;                  // drawn in the thumb colour
  int Position;                  // the position the cell stands for
};
// The cells a bar style draws on a value button of width x height (only those it draws).
std::vector<TSpinBarCell> SpinBarCells(const TSpinRange& r, TSpinValueStyle style, int width, int height);
