#include "platform/gui/grids.h"

#include <QScrollBar>
#include <QWidget>
#include <algorithm>

#include "platform/exceptions.h"
#include "platform/gui/qt_bridge.h"

QM_CLASS_INFO(TCustomGrid, TCustomControl, [](TClassBuilder<TCustomGrid>& c) {
  c.Integer("ColCount", &TCustomGrid::ColCount, &TCustomGrid::SetColCount);
  c.Integer("RowCount", &TCustomGrid::RowCount, &TCustomGrid::SetRowCount);
  c.Integer("FixedCols", &TCustomGrid::FixedCols, &TCustomGrid::SetFixedCols);
  c.Integer("FixedRows", &TCustomGrid::FixedRows, &TCustomGrid::SetFixedRows);
  c.Integer("DefaultColWidth", &TCustomGrid::DefaultColWidth, &TCustomGrid::SetDefaultColWidth);
  c.Integer("DefaultRowHeight", &TCustomGrid::DefaultRowHeight, &TCustomGrid::SetDefaultRowHeight);
  c.Integer("GridLineWidth", &TCustomGrid::GridLineWidth, &TCustomGrid::SetGridLineWidth);
  c.Set<TGridOptions>("Options",
                      {"goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine", "goRangeSelect",
                       "goDrawFocusSelected", "goRowSizing", "goColSizing", "goRowMoving", "goColMoving", "goEditing",
                       "goTabs", "goRowSelect", "goAlwaysShowEditor", "goThumbTracking"},
                      &TCustomGrid::Options, &TCustomGrid::SetOptions);
  c.Color("FixedColor", &TCustomGrid::FixedColor, &TCustomGrid::SetFixedColor);
  c.Boolean("DefaultDrawing", &TCustomGrid::DefaultDrawing, &TCustomGrid::SetDefaultDrawing);
  c.Enum<int>("ScrollBars", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}, &TCustomGrid::ScrollBars,
              &TCustomGrid::SetScrollBars);
})

QM_CLASS_INFO(TDrawGrid, TCustomGrid, [](TClassBuilder<TDrawGrid>& c) {
  c.Event("OnDrawCell", &TDrawGrid::OnDrawCell);
  c.Event("OnSelectCell", &TDrawGrid::OnSelectCell);
  c.Event("OnTopLeftChanged", &TDrawGrid::OnTopLeftChanged);
})

TCustomGrid::TCustomGrid(TComponent* owner)
    : TCustomControl(owner), colWidths_(5, 64), rowHeights_(5, 24) {
  SetBounds(0, 0, 320, 120);
  SetTabStop(true);
  SetColor(clWindow);
}

QWidget* TCustomGrid::CreateWidget(QWidget* parent) {
  QWidget* w = TCustomControl::CreateWidget(parent);
  vbar_ = new QScrollBar(Qt::Vertical, w);
  hbar_ = new QScrollBar(Qt::Horizontal, w);
  for (QScrollBar* bar : {vbar_, hbar_}) {
    bar->hide();
    bar->setAttribute(Qt::WA_NoMousePropagation);
    QObject::connect(bar, &QScrollBar::valueChanged, [this, bar](int v) {
      if (syncing_) return;
      GuardedCall([&] {
        if (bar == vbar_) SetTopRow(fixedRows_ + v);
        else SetLeftCol(fixedCols_ + v);
      });
    });
  }
  return w;
}

void TCustomGrid::InitWidget() {
  TCustomControl::InitWidget();
  ExistingWidget()->setFocusPolicy(Qt::StrongFocus);
  UpdateScrollBars();
}

void TCustomGrid::Changed() {
  col_ = std::clamp(col_, std::min(fixedCols_, ColCount() - 1), std::max(ColCount() - 1, 0));
  row_ = std::clamp(row_, std::min(fixedRows_, RowCount() - 1), std::max(RowCount() - 1, 0));
  topRow_ = std::clamp(topRow_, fixedRows_, std::max(fixedRows_, RowCount() - 1));
  leftCol_ = std::clamp(leftCol_, fixedCols_, std::max(fixedCols_, ColCount() - 1));
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetColCount(int v) {
  v = std::max(v, 1);
  colWidths_.resize(size_t(v), defaultColWidth_);
  fixedCols_ = std::min(fixedCols_, v - 1);
  Changed();
}

void TCustomGrid::SetRowCount(int v) {
  v = std::max(v, 1);
  rowHeights_.resize(size_t(v), defaultRowHeight_);
  fixedRows_ = std::min(fixedRows_, v - 1);
  Changed();
}

void TCustomGrid::SetFixedCols(int v) {
  if (v < 0 || v >= ColCount()) throw EInvalidOperation("Fixed column count must be less than column count");
  // The first cell after the fixed ones becomes current and leftmost, also when fixed cells go.
  fixedCols_ = v;
  col_ = v;
  leftCol_ = v;
  Changed();
}

void TCustomGrid::SetFixedRows(int v) {
  if (v < 0 || v >= RowCount()) throw EInvalidOperation("Fixed row count must be less than row count");
  fixedRows_ = v;
  row_ = v;
  topRow_ = v;
  Changed();
}

void TCustomGrid::SetDefaultColWidth(int v) {
  defaultColWidth_ = v;
  std::fill(colWidths_.begin(), colWidths_.end(), v);
  Changed();
}

void TCustomGrid::SetDefaultRowHeight(int v) {
  defaultRowHeight_ = v;
  std::fill(rowHeights_.begin(), rowHeights_.end(), v);
  Changed();
}

void TCustomGrid::SetColWidths(int col, int width) {
  colWidths_.at(size_t(col)) = std::max(width, 0);
  Changed();
}

void TCustomGrid::SetRowHeights(int row, int height) {
  rowHeights_.at(size_t(row)) = std::max(height, 0);
  Changed();
}

void TCustomGrid::SetGridLineWidth(int v) {
  gridLineWidth_ = std::max(v, 0);
  Changed();
}

void TCustomGrid::SetOptions(TGridOptions v) {
  options_ = v;
  Invalidate();
}

void TCustomGrid::SetFixedColor(TColor c) {
  fixedColor_ = c;
  Invalidate();
}

void TCustomGrid::SetScrollBars(int v) {
  scrollBars_ = v;
  UpdateScrollBars();
}

TGridRect TCustomGrid::Selection() const {
  if (options_ & goRowSelect) return {fixedCols_, row_, ColCount() - 1, row_};
  return {col_, row_, col_, row_};
}

int TCustomGrid::ClientWidth() const { return Width() - (vbar_ && vbar_->isVisibleTo(vbar_->parentWidget()) ? vbar_->sizeHint().width() : 0); }

int TCustomGrid::ClientHeight() const {
  return Height() - (hbar_ && hbar_->isVisibleTo(hbar_->parentWidget()) ? hbar_->sizeHint().height() : 0);
}

int TCustomGrid::ColumnX(int col) const {
  int x = 0;
  for (int c = 0; c < fixedCols_; ++c) {
    if (c == col) return x;
    x += colWidths_[size_t(c)] + gridLineWidth_;
  }
  if (col < leftCol_) return -1;
  for (int c = leftCol_; c < col; ++c) x += colWidths_[size_t(c)] + gridLineWidth_;
  return x;
}

int TCustomGrid::RowY(int row) const {
  int y = 0;
  for (int r = 0; r < fixedRows_; ++r) {
    if (r == row) return y;
    y += rowHeights_[size_t(r)] + gridLineWidth_;
  }
  if (row < topRow_) return -1;
  for (int r = topRow_; r < row; ++r) y += rowHeights_[size_t(r)] + gridLineWidth_;
  return y;
}

TRect TCustomGrid::CellRect(int col, int row) const {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return {};
  int x = ColumnX(col), y = RowY(row);
  if (x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight()) return {};
  return Bounds(x, y, colWidths_[size_t(col)], rowHeights_[size_t(row)]);
}

bool TCustomGrid::MouseToCell(int x, int y, int& col, int& row) const {
  col = row = -1;
  for (int c = 0; c < ColCount() && col < 0; ++c) {
    int cx = ColumnX(c);
    if (cx >= 0 && x >= cx && x < cx + colWidths_[size_t(c)] + gridLineWidth_) col = c;
  }
  for (int r = 0; r < RowCount() && row < 0; ++r) {
    int ry = RowY(r);
    if (ry >= 0 && y >= ry && y < ry + rowHeights_[size_t(r)] + gridLineWidth_) row = r;
  }
  if (col < 0 || row < 0 || x >= ClientWidth() || y >= ClientHeight()) {
    col = row = -1;
    return false;
  }
  return true;
}

int TCustomGrid::VisibleRowCount() const {
  int y = RowY(topRow_), n = 0;
  for (int r = topRow_; r < RowCount() && y + rowHeights_[size_t(r)] <= ClientHeight(); ++r, ++n)
    y += rowHeights_[size_t(r)] + gridLineWidth_;
  return n;
}

int TCustomGrid::VisibleColCount() const {
  int x = ColumnX(leftCol_), n = 0;
  for (int c = leftCol_; c < ColCount() && x + colWidths_[size_t(c)] <= ClientWidth(); ++c, ++n)
    x += colWidths_[size_t(c)] + gridLineWidth_;
  return n;
}

void TCustomGrid::SetTopRow(int v) {
  v = std::clamp(v, fixedRows_, std::max(fixedRows_, RowCount() - 1));
  if (v == topRow_) return;
  topRow_ = v;
  UpdateScrollBars();
  Invalidate();
  TopLeftChanged();
}

void TCustomGrid::SetLeftCol(int v) {
  v = std::clamp(v, fixedCols_, std::max(fixedCols_, ColCount() - 1));
  if (v == leftCol_) return;
  leftCol_ = v;
  UpdateScrollBars();
  Invalidate();
  TopLeftChanged();
}

void TCustomGrid::MoveTo(int col, int row) {
  col = std::clamp(col, fixedCols_, ColCount() - 1);
  row = std::clamp(row, fixedRows_, RowCount() - 1);
  if ((col == col_ && row == row_) || !SelectCell(col, row)) return;
  col_ = col;
  row_ = row;
  MakeVisible(col, row);
  Invalidate();
}

void TCustomGrid::MakeVisible(int col, int row) {
  if (row < topRow_) SetTopRow(row);
  else
    while (row >= topRow_ + std::max(VisibleRowCount(), 1) && topRow_ < row) SetTopRow(topRow_ + 1);
  if (col < leftCol_) SetLeftCol(col);
  else
    while (col >= leftCol_ + std::max(VisibleColCount(), 1) && leftCol_ < col) SetLeftCol(leftCol_ + 1);
}

void TCustomGrid::UpdateScrollBars() {
  if (!vbar_ || !ExistingWidget()) return;
  int totalH = 0, totalW = 0;
  for (int h : rowHeights_) totalH += h + gridLineWidth_;
  for (int w : colWidths_) totalW += w + gridLineWidth_;
  bool needV = (scrollBars_ & 2) && totalH > Height();
  bool needH = (scrollBars_ & 1) && totalW > Width();
  int vw = vbar_->sizeHint().width(), hh = hbar_->sizeHint().height();
  vbar_->setVisible(needV);
  hbar_->setVisible(needH);
  vbar_->setGeometry(Width() - vw, 0, vw, Height() - (needH ? hh : 0));
  hbar_->setGeometry(0, Height() - hh, Width() - (needV ? vw : 0), hh);
  syncing_ = true;
  int rowsScrollable = RowCount() - fixedRows_, colsScrollable = ColCount() - fixedCols_;
  vbar_->setRange(0, std::max(0, rowsScrollable - std::max(VisibleRowCount(), 1)));
  vbar_->setPageStep(std::max(VisibleRowCount(), 1));
  vbar_->setValue(topRow_ - fixedRows_);
  hbar_->setRange(0, std::max(0, colsScrollable - std::max(VisibleColCount(), 1)));
  hbar_->setPageStep(std::max(VisibleColCount(), 1));
  hbar_->setValue(leftCol_ - fixedCols_);
  syncing_ = false;
}

void TCustomGrid::Resize() {
  UpdateScrollBars();
  TCustomControl::Resize();
}

void TCustomGrid::Paint() {
  TCanvas& c = *Canvas();
  c.Brush()->SetColor(Color());
  c.FillRect(ClientRect());
  TGridRect sel = Selection();
  bool focused = Focused();
  auto rowsToPaint = [this](int fixed, int first, int count, int limit, auto rowSize) {
    std::vector<int> out;
    for (int i = 0; i < fixed; ++i) out.push_back(i);
    int pos = 0;
    for (int i = 0; i < fixed; ++i) pos += rowSize(i) + gridLineWidth_;
    for (int i = first; i < count && pos < limit; ++i) {
      out.push_back(i);
      pos += rowSize(i) + gridLineWidth_;
    }
    return out;
  };
  auto rows = rowsToPaint(fixedRows_, topRow_, RowCount(), ClientHeight(), [this](int r) { return rowHeights_[size_t(r)]; });
  auto cols = rowsToPaint(fixedCols_, leftCol_, ColCount(), ClientWidth(), [this](int x) { return colWidths_[size_t(x)]; });
  for (int r : rows) {
    for (int col : cols) {
      TRect rect = Bounds(ColumnX(col), RowY(r), colWidths_[size_t(col)], rowHeights_[size_t(r)]);
      bool fixed = r < fixedRows_ || col < fixedCols_;
      TGridDrawState state = fixed ? gdFixed : 0;
      bool selected = !fixed && col >= sel.Left && col <= sel.Right && r >= sel.Top && r <= sel.Bottom;
      bool isFocusCell = col == col_ && r == row_;
      if (selected && !(isFocusCell && focused && !(options_ & (goDrawFocusSelected | goRowSelect)))) state |= gdSelected;
      if (isFocusCell && focused) state |= gdFocused;
      c.Font()->Assign(*Font());
      if (defaultDrawing_) {
        c.Brush()->SetStyle(bsSolid);
        c.Brush()->SetColor(fixed ? fixedColor_ : (state & gdSelected) ? clHighlight : Color());
        if (state & gdSelected) c.Font()->SetColor(clHighlightText);
        c.FillRect(rect);
      }
      DrawCell(col, r, rect, state);
      if (defaultDrawing_ && (state & gdFocused) && !(options_ & goRowSelect)) c.DrawFocusRect(rect);
      // Lines right of and below the cell.
      bool vline = fixed ? (options_ & goFixedVertLine) : (options_ & goVertLine);
      bool hline = fixed ? (options_ & goFixedHorzLine) : (options_ & goHorzLine);
      c.Brush()->SetStyle(bsSolid);
      c.Brush()->SetColor(fixed ? clBlack : clSilver);
      if (vline && gridLineWidth_ > 0) c.FillRect(Rect(rect.Right, rect.Top, rect.Right + gridLineWidth_, rect.Bottom + gridLineWidth_));
      if (hline && gridLineWidth_ > 0) c.FillRect(Rect(rect.Left, rect.Bottom, rect.Right + gridLineWidth_, rect.Bottom + gridLineWidth_));
    }
  }
}

void TCustomGrid::KeyDown(uint16_t& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  int col = col_, row = row_;
  int page = std::max(VisibleRowCount(), 1);
  switch (key) {
    case VK_UP: --row; break;
    case VK_DOWN: ++row; break;
    case VK_LEFT: --col; break;
    case VK_RIGHT: ++col; break;
    case VK_PRIOR: row -= page; break;
    case VK_NEXT: row += page; break;
    case VK_HOME: col = fixedCols_; if (shift & ssCtrl) row = fixedRows_; break;
    case VK_END: col = ColCount() - 1; if (shift & ssCtrl) row = RowCount() - 1; break;
    default: return;
  }
  MoveTo(col, row);
  key = 0;
}

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    if (CanFocus() && !Focused()) SetFocus();
    int col, row;
    if (MouseToCell(x, y, col, row) && col >= fixedCols_ && row >= fixedRows_) MoveTo(col, row);
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

bool TCustomGrid::DoMouseWheel(TShiftState shift, int delta, TPoint mousePos) {
  if (TCustomControl::DoMouseWheel(shift, delta, mousePos)) return true;
  SetTopRow(topRow_ + (delta < 0 ? 3 : -3));
  return true;
}

// --- TDrawGrid ---

TDrawGrid::TDrawGrid(TComponent* owner) : TCustomGrid(owner) {}

void TDrawGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
  if (OnDrawCell) OnDrawCell(this, col, row, rect, state);
}

bool TDrawGrid::SelectCell(int col, int row) {
  bool can = true;
  if (OnSelectCell) OnSelectCell(this, col, row, can);
  return can;
}

void TDrawGrid::TopLeftChanged() {
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}
