// Grids: TCustomGrid keeps cells in rows and columns (fixed ones at the top and left), the
// current cell, scrolling, lines and keyboard and mouse navigation; TDrawGrid leaves the
// painting of each cell to OnDrawCell.
#pragma once

#include <vector>

#include "platform/gui/control.h"
#include "platform/gui/graphics.h"

class QScrollBar;

using TGridOptions = unsigned;
inline constexpr TGridOptions goFixedVertLine = 1, goFixedHorzLine = 2, goVertLine = 4, goHorzLine = 8,
    goRangeSelect = 16, goDrawFocusSelected = 32, goRowSizing = 64, goColSizing = 128, goRowMoving = 256,
    goColMoving = 512, goEditing = 1024, goTabs = 2048, goRowSelect = 4096, goAlwaysShowEditor = 8192,
    goThumbTracking = 16384;
using TGridDrawState = unsigned;
inline constexpr TGridDrawState gdSelected = 1, gdFocused = 2, gdFixed = 4;

// A block of cells (columns Left..Right, rows Top..Bottom, inclusive).
struct TGridRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

class TCustomGrid : public TCustomControl {
  QM_CLASS(TCustomGrid, TCustomControl)
public:
  explicit TCustomGrid(TComponent* owner);

  int ColCount() const { return int(colWidths_.size()); }
  void SetColCount(int v);
  int RowCount() const { return int(rowHeights_.size()); }
  void SetRowCount(int v);
  int FixedCols() const { return fixedCols_; }
  void SetFixedCols(int v);
  int FixedRows() const { return fixedRows_; }
  void SetFixedRows(int v);
  int DefaultColWidth() const { return defaultColWidth_; }
  // Gives every column this width.
  void SetDefaultColWidth(int v);
  int DefaultRowHeight() const { return defaultRowHeight_; }
  void SetDefaultRowHeight(int v);
  int ColWidths(int col) const { return colWidths_.at(size_t(col)); }
  void SetColWidths(int col, int width);
  int RowHeights(int row) const { return rowHeights_.at(size_t(row)); }
  void SetRowHeights(int row, int height);
  int GridLineWidth() const { return gridLineWidth_; }
  void SetGridLineWidth(int v);
  TGridOptions Options() const { return options_; }
  void SetOptions(TGridOptions v);
  TColor FixedColor() const { return fixedColor_; }
  void SetFixedColor(TColor c);
  bool DefaultDrawing() const { return defaultDrawing_; }
  void SetDefaultDrawing(bool v) { defaultDrawing_ = v; }
  // ssNone, ssHorizontal, ssVertical or ssBoth (0..3): the scroll bars shown when needed.
  int ScrollBars() const { return scrollBars_; }
  void SetScrollBars(int v);

  // The current cell; moving there asks SelectCell first.
  int Col() const { return col_; }
  void SetCol(int v) { MoveTo(v, row_); }
  int Row() const { return row_; }
  void SetRow(int v) { MoveTo(col_, v); }
  TGridRect Selection() const;
  // The first scrolled row and column shown after the fixed ones.
  int TopRow() const { return topRow_; }
  void SetTopRow(int v);
  int LeftCol() const { return leftCol_; }
  void SetLeftCol(int v);
  // Whole scrolled rows and columns that fit in the client area.
  int VisibleRowCount() const;
  int VisibleColCount() const;
  // The cell's rectangle in client coordinates; empty when the cell is not shown.
  TRect CellRect(int col, int row) const;
  // The cell under a client point; false (and -1, -1) outside the cells.
  bool MouseToCell(int x, int y, int& col, int& row) const;
  int ClientWidth() const override;
  int ClientHeight() const override;

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;
  void Paint() override;
  void Resize() override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  bool DoMouseWheel(TShiftState shift, int delta, TPoint mousePos) override;
  // Paints one cell (after the default background when DefaultDrawing).
  virtual void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {}
  // Whether the cell may become current.
  virtual bool SelectCell(int col, int row) { return true; }
  virtual void TopLeftChanged() {}

private:
  void MoveTo(int col, int row);
  void MakeVisible(int col, int row);
  void UpdateScrollBars();
  int ColumnX(int col) const;
  int RowY(int row) const;
  void Changed();

  std::vector<int> colWidths_, rowHeights_;
  int fixedCols_ = 1, fixedRows_ = 1, defaultColWidth_ = 64, defaultRowHeight_ = 24, gridLineWidth_ = 1;
  int col_ = 1, row_ = 1, topRow_ = 1, leftCol_ = 1, scrollBars_ = 3;
  TGridOptions options_ = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
  TColor fixedColor_ = clBtnFace;
  bool defaultDrawing_ = true, syncing_ = false;
  QScrollBar* vbar_ = nullptr;
  QScrollBar* hbar_ = nullptr;
};

using TDrawCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;

class TDrawGrid : public TCustomGrid {
  QM_CLASS(TDrawGrid, TCustomGrid)
public:
  explicit TDrawGrid(TComponent* owner);
  TDrawCellEvent OnDrawCell;
  TSelectCellEvent OnSelectCell;
  TNotifyEvent OnTopLeftChanged;

protected:
  void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
  bool SelectCell(int col, int row) override;
  void TopLeftChanged() override;
};
