// TResizeGrid: a grid of text cells whose columns keep their proportions and fit their contents
// when the grid is resized (and on request).
#pragma once

#include <string>
#include <vector>

#include "platform/gui/grids.h"

class TResizeGrid : public TDrawGrid {
  QM_CLASS(TResizeGrid, TDrawGrid)
public:
  explicit TResizeGrid(TComponent* owner);

  std::string Cells(int col, int row) const;
  void SetCells(int col, int row, const std::string& text);
  // Empties every cell.
  void ClearCells();
  bool ColumnsAutoSize() const { return autoSize_; }
  void SetColumnsAutoSize(bool v) { autoSize_ = v; }
  int MinColWidth() const { return minColWidth_; }
  void SetMinColWidth(int v) { minColWidth_ = std::max(v, 1); }
  // Fits the columns to the width (base widths: the widths when first fitted).
  void FitColumns();
  // The selected cells as clipboard text (each cell preceded by a tab, rows ended by CR LF).
  std::string SelectionText() const;

protected:
  void Resize() override;
  void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;

private:
  std::vector<std::vector<std::string>> cells_;  // [row][col]
  std::vector<double> base_;
  bool autoSize_ = true;
  int minColWidth_ = 20, lastWidth_ = -1;
};
