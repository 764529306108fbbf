#include "components/data_tree_header.h"

#include <algorithm>

#include "components/data_tree_geometry.h"
#include "platform/gui/canvas_clip.h"
#include "platform/gui/image_list.h"
#include "platform/gui/wide_text.h"

// --- columns ---

void TDataTreeColumn::SetWidth(int Value) {
  Value = std::min(std::max(Value, minWidth_), maxWidth_);
  if (Value == width_) return;
  width_ = Value;
  header_->ColumnResized(this);
}

void TDataTreeColumn::SetMinWidth(int Value) {
  minWidth_ = std::clamp(Value, 0, maxWidth_);
  SetWidth(width_);
}

void TDataTreeColumn::SetMaxWidth(int Value) {
  maxWidth_ = std::clamp(Value, minWidth_, 10000);
  SetWidth(width_);
}

void TDataTreeColumn::SetPosition(unsigned Value) {
  unsigned last = unsigned(header_->Count() - 1);
  header_->ColumnMoved(this, std::min(Value, last));
}

void TDataTreeColumn::SetOptions(TDTColumnOptions Value) {
  if (Value == options_) return;
  options_ = Value;
  header_->Changed();
}

void TDataTreeColumn::SetText(const std::u16string& Value) {
  text_ = Value;
  header_->Changed();
}

// --- header ---

TDataTreeColumn* TDTHeader::AddColumn() {
  columns_.push_back(std::make_unique<TDataTreeColumn>(this, int(columns_.size())));
  columns_.back()->position_ = unsigned(positions_.size());
  positions_.push_back(int(columns_.size()) - 1);
  AutoFit();
  Changed();
  return columns_.back().get();
}

void TDTHeader::DeleteColumn(int Index) {
  if (Index < 0 || Index >= Count()) return;
  columns_.erase(columns_.begin() + Index);
  positions_.erase(std::find(positions_.begin(), positions_.end(), Index));
  for (int& p : positions_)
    if (p > Index) --p;
  for (size_t i = 0; i < columns_.size(); ++i) columns_[i]->index_ = int(i);
  for (size_t p = 0; p < positions_.size(); ++p) columns_[size_t(positions_[p])]->position_ = unsigned(p);
  AutoFit();
  Changed();
}

void TDTHeader::ClearColumns() {
  columns_.clear();
  positions_.clear();
  Changed();
}

void TDTHeader::ColumnMoved(TDataTreeColumn* Column, unsigned Position) {
  auto at = std::find(positions_.begin(), positions_.end(), Column->index_);
  positions_.erase(at);
  positions_.insert(positions_.begin() + Position, Column->index_);
  for (size_t p = 0; p < positions_.size(); ++p) columns_[size_t(positions_[p])]->position_ = unsigned(p);
  Changed();
}

void TDTHeader::ColumnResized(TDataTreeColumn* Column) {
  if (autoSizing_) return;
  owner_->HeaderColumnResized(Column->index_);
  AutoFit();
  Changed();
}

int TDTHeader::ColumnLeft(int Index) const {
  int left = owner_->HeaderOffsetX();
  for (int i : positions_) {
    if (i == Index) return left;
    if (columns_[size_t(i)]->Visible()) left += columns_[size_t(i)]->width_;
  }
  return left;
}

int TDTHeader::TotalWidth() const {
  int sum = 0;
  for (const auto& c : columns_)
    if (c->Visible()) sum += c->width_;
  return sum;
}

int TDTHeader::ColumnAt(int X) const {
  int left = owner_->HeaderOffsetX();
  for (int i : positions_) {
    const auto& c = columns_[size_t(i)];
    if (!c->Visible()) continue;
    if (X >= left && X < left + c->width_) return i;
    left += c->width_;
  }
  return -1;
}

int TDTHeader::DividerAt(int X) const {
  int left = owner_->HeaderOffsetX();
  for (int i : positions_) {
    const auto& c = columns_[size_t(i)];
    if (!c->Visible()) continue;
    int right = left + c->width_;
    if ((c->options_ & coResizable) && X > right - 3 && X < right + 5) return i;
    left = right;
  }
  return -1;
}

int TDTHeader::PreviousVisible(int Index) const {
  auto at = std::find(positions_.begin(), positions_.end(), Index);
  while (at != positions_.begin()) {
    --at;
    if (columns_[size_t(*at)]->Visible()) return *at;
  }
  return -1;
}

int TDTHeader::NextVisible(int Index) const {
  auto at = std::find(positions_.begin(), positions_.end(), Index);
  if (at == positions_.end()) return -1;
  for (++at; at != positions_.end(); ++at)
    if (columns_[size_t(*at)]->Visible()) return *at;
  return -1;
}

void TDTHeader::AutoFit() {
  if (!(options_ & hoAutoResize) || columns_.empty()) return;
  int index = std::clamp(autoSizeIndex_, 0, Count() - 1);
  int others = 0;
  for (const auto& c : columns_)
    if (c->Visible() && c->index_ != index) others += c->width_;
  autoSizing_ = true;
  columns_[size_t(index)]->width_ = std::max(0, owner_->HeaderClientWidth() - others);
  autoSizing_ = false;
}

void TDTHeader::SetOptions(TDTHeaderOptions Value) {
  if (Value == options_) return;
  options_ = Value;
  AutoFit();
  Changed();
}

void TDTHeader::SetHeight(int Value) {
  if (Value < 0 || Value == height_) return;
  height_ = Value;
  Changed();
}

void TDTHeader::SetAutoSizeIndex(int Value) {
  autoSizeIndex_ = Value;
  AutoFit();
  Changed();
}

// --- painting ---

void TDTHeader::Paint(TCanvas& Canvas, const TRect& R) {
  Canvas.Brush()->SetColor(Background);
  Canvas.FillRect(R);
  int left = owner_->HeaderOffsetX();
  TImageList* images = owner_->HeaderImages();
  int ellipsis = owner_->HeaderEllipsisWidth(Canvas);
  for (int i : positions_) {
    TDataTreeColumn& c = *columns_[size_t(i)];
    if (!c.Visible()) continue;
    TRect cell = Rect(left, R.Top, left + c.width_, R.Bottom);
    left = cell.Right;
    if (cell.Right <= R.Left || cell.Left >= R.Right) continue;
    bool pressed = i == pressedColumn_;
    if ((options_ & hoOwnerDraw) && c.Style == vsOwnerDraw) {
      TCanvasClip clip(Canvas, cell);
      if (owner_->HeaderOwnerDraw(Canvas, c, cell, i == hotColumn_, pressed)) continue;
    }
    bool hot = Style == hsPlates && i == hotColumn_ && (c.options_ & coAllowClick) && (c.options_ & coEnabled);
    TRect edge = cell;
    if (Style == hsPlates && !pressed && !hot) {
      Canvas.Pen()->SetColor(clBtnShadow);
      Canvas.MoveTo(cell.Right - 2, cell.Top + 2);
      Canvas.LineTo(cell.Right - 2, cell.Bottom - 2);
      Canvas.Pen()->SetColor(clBtnHighlight);
      Canvas.MoveTo(cell.Right - 1, cell.Top + 2);
      Canvas.LineTo(cell.Right - 1, cell.Bottom - 2);
    } else if (pressed && Style != hsThickButtons) {
      Frame3D(Canvas, edge, clBtnShadow, clBtnHighlight, 1);
    } else {
      Frame3D(Canvas, edge, clBtnHighlight, clBtnShadow, 1);
    }
    TRect content = Rect(cell.Left + 2, cell.Top + 2, cell.Right - 2, cell.Bottom - 2);
    if (pressed) content = Rect(content.Left + 1, content.Top + 1, content.Right + 1, content.Bottom + 1);
    int x = content.Left + (c.Margin < 0 ? 4 : c.Margin);
    if (images && (options_ & hoShowImages) && c.ImageIndex >= 0) {
      images->Draw(&Canvas, x, content.Top + (content.Height() - images->Height()) / 2, c.ImageIndex);
      x += images->Width() + c.Spacing;
    }
    auto measure = [&](const std::u16string& t) { return WideTextWidth(Canvas, t); };
    std::u16string text = ShortenString(c.text_, content.Right - x, ellipsis, measure);
    int y = content.Top + (content.Height() - FontLineHeight(Canvas)) / 2;
    Canvas.Brush()->SetStyle(bsClear);
    TColor old = Canvas.Font()->Color();
    if (!(c.options_ & coEnabled)) {
      Canvas.Font()->SetColor(clBtnHighlight);
      WideTextRect(Canvas, content, x + 1, y + 1, text);
      Canvas.Font()->SetColor(clGrayText);
    }
    WideTextRect(Canvas, content, x, y, text);
    Canvas.Font()->SetColor(old);
    Canvas.Brush()->SetStyle(bsSolid);
  }
}

// --- mouse ---

bool TDTHeader::MouseDown(int X, int) {
  int divider = (options_ & hoColumnResize) ? DividerAt(X) : -1;
  if (divider >= 0) {
    sizingColumn_ = divider;
    sizingLeft_ = ColumnLeft(divider);
    return true;
  }
  int column = ColumnAt(X);
  if (column < 0) return false;
  pressedColumn_ = (columns_[size_t(column)]->options_ & coAllowClick) ? column : -1;
  if ((options_ & hoDrag) && (columns_[size_t(column)]->options_ & coMovable)) dragColumn_ = column;
  dragMoved_ = false;
  pressX_ = X;
  Changed();
  return true;
}

void TDTHeader::MouseMove(int X, int) {
  if (sizingColumn_ >= 0) {
    columns_[size_t(sizingColumn_)]->SetWidth(X - sizingLeft_);
    return;
  }
  if (dragColumn_ >= 0 && std::abs(X - pressX_) > 4) dragMoved_ = true;
  int hot = ColumnAt(X);
  if (hot != hotColumn_) {
    hotColumn_ = hot;
    if (options_ & hoHotTrack || Style == hsPlates) Changed();
  }
}

int TDTHeader::MouseUp(int X, int) {
  int clicked = -1;
  if (sizingColumn_ >= 0) {
    sizingColumn_ = -1;
  } else if (dragColumn_ >= 0 && dragMoved_) {
    int target = ColumnAt(X);
    if (target >= 0 && target != dragColumn_) columns_[size_t(dragColumn_)]->SetPosition(columns_[size_t(target)]->position_);
  } else if (pressedColumn_ >= 0 && ColumnAt(X) == pressedColumn_) {
    clicked = pressedColumn_;
  }
  pressedColumn_ = dragColumn_ = -1;
  dragMoved_ = false;
  Changed();
  return clicked;
}
