// The header of the data tree: columns with width limits and display positions, the strip
// above the nodes with its captions, divider sizing, column dragging and auto-sizing.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/graphics.h"

class TDTHeader;
class TDataTreeColumn;
class TImageList;

// Header option bits.
using TDTHeaderOptions = unsigned;
inline constexpr TDTHeaderOptions hoAutoResize = 1u << 0, hoColumnResize = 1u << 1, hoDrag = 1u << 2,
    hoHotTrack = 1u << 3, hoOwnerDraw = 1u << 4, hoRestrictDrag = 1u << 5, hoShowHint = 1u << 6,
    hoShowImages = 1u << 7, hoVisible = 1u << 8;
// Column option bits.
using TDTColumnOptions = unsigned;
inline constexpr TDTColumnOptions coAllowClick = 1u << 0, coEnabled = 1u << 1, coMovable = 1u << 2,
    coParentBidiMode = 1u << 3, coResizable = 1u << 4, coShowDropMark = 1u << 5, coVisible = 1u << 6;
inline constexpr TDTColumnOptions DefaultColumnOptions = 0x7F;

enum TDTHeaderStyle { hsThickButtons, hsFlatButtons, hsPlates };
enum TDataTreeColumnStyle { vsText, vsOwnerDraw };
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// What the header needs of its tree.
class TDTHeaderOwner {
public:
  virtual ~TDTHeaderOwner() = default;
  virtual int HeaderClientWidth() const = 0;
  virtual int HeaderOffsetX() const = 0;
  // A column's width changed through its setter.
  virtual void HeaderColumnResized(int Column) = 0;
  // Columns, visibility or layout changed: repaint, update the bars and the strip.
  virtual void HeaderChanged() = 0;
  virtual TImageList* HeaderImages() const = 0;
  virtual int HeaderEllipsisWidth(TCanvas& Canvas) = 0;
  // Draws an owner-drawn column; false when nobody drew it.
  virtual bool HeaderOwnerDraw(TCanvas& Canvas, TDataTreeColumn& Column, const TRect& R, bool Hover, bool Pressed) = 0;
};

class TDataTreeColumn {
public:
  TDataTreeColumn(TDTHeader* header, int index) : header_(header), index_(index) {}
  int Index() const { return index_; }
  int Width() const { return width_; }
  // Limited to MinWidth..MaxWidth; a change fires the tree's column-resize event.
  void SetWidth(int Value);
  int MinWidth() const { return minWidth_; }
  void SetMinWidth(int Value);
  int MaxWidth() const { return maxWidth_; }
  void SetMaxWidth(int Value);
  unsigned Position() const { return position_; }
  // Past the end: the last position.
  void SetPosition(unsigned Value);
  TDTColumnOptions Options() const { return options_; }
  void SetOptions(TDTColumnOptions Value);
  bool Visible() const { return options_ & coVisible; }
  const std::u16string& Text() const { return text_; }
  void SetText(const std::u16string& Value);
  std::u16string Hint;
  int Margin = -1;
  int Spacing = 4;
  int ImageIndex = -1;
  TButtonLayout Layout = blGlyphLeft;
  TDataTreeColumnStyle Style = vsText;

private:
  friend class TDTHeader;
  TDTHeader* header_;
  int index_;
  int width_ = 50, minWidth_ = 0, maxWidth_ = 10000;
  unsigned position_ = 0;
  TDTColumnOptions options_ = DefaultColumnOptions;
  std::u16string text_;
};

class TDTHeader {
public:
  explicit TDTHeader(TDTHeaderOwner* owner) : owner_(owner) {}

  // --- columns ---
  TDataTreeColumn* AddColumn();
  void DeleteColumn(int Index);
  void ClearColumns();
  int Count() const { return int(columns_.size()); }
  TDataTreeColumn* Column(int Index) const { return columns_.at(size_t(Index)).get(); }
  // The index of the column shown at display position p.
  int ColumnAtPosition(unsigned p) const { return positions_.at(p); }
  const std::vector<int>& Positions() const { return positions_; }
  // Columns are used only while the header is visible and has columns.
  bool UseColumns() const { return (options_ & hoVisible) && !columns_.empty(); }
  int MainColumn() const { return UseColumns() ? 0 : -1; }
  // Left edge of a column (content coordinates plus the horizontal offset).
  int ColumnLeft(int Index) const;
  // Sum of the visible columns' widths.
  int TotalWidth() const;
  // The column under x (client coordinates), -1 none.
  int ColumnAt(int X) const;
  // The column whose divider lies under x (right − 3 < x < right + 5), -1 none.
  int DividerAt(int X) const;
  // The visible column before/after one in display order, -1 none.
  int PreviousVisible(int Index) const;
  int NextVisible(int Index) const;
  // Gives column AutoSizeIndex the free client width (no limits, no event).
  void AutoFit();

  // --- properties ---
  TDTHeaderOptions Options() const { return options_; }
  void SetOptions(TDTHeaderOptions Value);
  int Height() const { return height_; }
  void SetHeight(int Value);
  int AutoSizeIndex() const { return autoSizeIndex_; }
  void SetAutoSizeIndex(int Value);
  TDTHeaderStyle Style = hsThickButtons;
  TColor Background = clBtnFace;

  // --- painting and mouse (strip coordinates) ---
  void Paint(TCanvas& Canvas, const TRect& R);
  // True when the press started sizing or clicking.
  bool MouseDown(int X, int Y);
  void MouseMove(int X, int Y);
  // Answers the clicked column (-1 none) when the press and release were on one column.
  int MouseUp(int X, int Y);
  bool Sizing() const { return sizingColumn_ >= 0; }
  bool Dragging() const { return dragColumn_ >= 0 && dragMoved_; }
  int HotColumn() const { return hotColumn_; }
  int PressedColumn() const { return pressedColumn_; }

  // Called by column setters.
  void ColumnResized(TDataTreeColumn* Column);
  void ColumnMoved(TDataTreeColumn* Column, unsigned Position);
  void Changed() { owner_->HeaderChanged(); }

private:
  TDTHeaderOwner* owner_;
  std::vector<std::unique_ptr<TDataTreeColumn>> columns_;
  std::vector<int> positions_;
  TDTHeaderOptions options_ = hoColumnResize | hoDrag;
  int height_ = 24;
  int autoSizeIndex_ = 0;
  bool autoSizing_ = false;
  int sizingColumn_ = -1, sizingLeft_ = 0;
  int pressedColumn_ = -1, hotColumn_ = -1, dragColumn_ = -1;
  bool dragMoved_ = false;
  int pressX_ = 0;
};
