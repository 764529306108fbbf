#include "tools/resize_grid.h"

#include <algorithm>

#include "tools/calc_result.h"
#include "tools/column_fit.h"

QM_CLASS_INFO(TResizeGrid, TDrawGrid, [](TClassBuilder<TResizeGrid>& c) {
  c.Boolean("ColumnsAutoSize", &TResizeGrid::ColumnsAutoSize, &TResizeGrid::SetColumnsAutoSize);
  c.Integer("MinColWidth", &TResizeGrid::MinColWidth, &TResizeGrid::SetMinColWidth);
})

TResizeGrid::TResizeGrid(TComponent* owner) : TDrawGrid(owner) { SetFixedCols(0); }

std::string TResizeGrid::Cells(int col, int row) const {
  if (row < 0 || row >= int(cells_.size()) || col < 0 || col >= int(cells_[size_t(row)].size())) return {};
  return cells_[size_t(row)][size_t(col)];
}

void TResizeGrid::SetCells(int col, int row, const std::string& text) {
  if (col < 0 || row < 0) return;
  if (row >= int(cells_.size())) cells_.resize(size_t(row) + 1);
  auto& line = cells_[size_t(row)];
  if (col >= int(line.size())) line.resize(size_t(col) + 1);
  line[size_t(col)] = text;
  Invalidate();
}

void TResizeGrid::ClearCells() {
  cells_.clear();
  Invalidate();
}

void TResizeGrid::FitColumns() {
  if (base_.size() != size_t(ColCount())) {
    base_.clear();
    for (int col = 0; col < ColCount(); ++col) base_.push_back(ColWidths(col));
  }
  std::vector<int> content(size_t(ColCount()), 0);
  TCanvas* canvas = Canvas();
  for (const auto& line : cells_)
    for (size_t col = 0; col < line.size() && col < content.size(); ++col)
      if (!line[col].empty()) content[col] = std::max(content[col], canvas->TextWidth(line[col]) + 10);
  const int available = ClientWidth() - ColCount() * GridLineWidth();
  const std::vector<int> widths = ::FitColumns(base_, content, available, minColWidth_);
  for (int col = 0; col < ColCount(); ++col) SetColWidths(col, widths[size_t(col)]);
}

std::string TResizeGrid::SelectionText() const {
  const TGridRect s = Selection();
  std::vector<std::vector<std::string>> rows;
  for (int row = s.Top; row <= s.Bottom; ++row) {
    rows.emplace_back();
    for (int col = s.Left; col <= s.Right; ++col) rows.back().push_back(Cells(col, row));
  }
  return CellsAsText(rows);
}

void TResizeGrid::Resize() {
  TDrawGrid::Resize();
  if (autoSize_ && Width() != lastWidth_ && ColCount() > 0) {
    lastWidth_ = Width();
    FitColumns();
  }
}

void TResizeGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
  Canvas()->TextRect(rect, rect.Left + 2, rect.Top + 2, Cells(col, row));
  TDrawGrid::DrawCell(col, row, rect, state);
}
