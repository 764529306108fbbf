#include "shell/preferences_key_list.h"

#include <algorithm>

#include "platform/gui/graphics.h"

QM_CLASS_INFO(THotKeyColumn, TCollectionItem, [](TClassBuilder<THotKeyColumn>& c) {
  c.String("Caption", &THotKeyColumn::Caption, &THotKeyColumn::SetCaption);
  c.Integer("Width", &THotKeyColumn::Width, &THotKeyColumn::SetWidth);
})

QM_CLASS_INFO(THotKeyList, TCustomControl, [](TClassBuilder<THotKeyList>& c) {
  c.Collection("Columns", &THotKeyList::Columns);
})

namespace {

const int kCheckSize = 13;
const int kPadding = 4;

}  // namespace

void THotKeyColumn::SetCaption(const std::string& caption) {
  caption_ = caption;
  Changed();
}

void THotKeyColumn::SetWidth(int width) {
  width_ = std::max(width, 0);
  Changed();
}

THotKeyList::THotKeyList(TComponent* owner)
    : TCustomControl(owner), columns_(std::make_unique<TOwnedCollection<THotKeyColumn>>([this] { Invalidate(); })) {
  SetBounds(0, 0, 250, 150);
  SetColor(clWindow);
  SetTabStop(true);
}

THotKeyList::~THotKeyList() = default;

void THotKeyList::SetRow(int index, const THotKeyRow& row) {
  rows_.at(size_t(index)).Key = row;
  Invalidate();
}

void THotKeyList::SetActionName(int index, const std::string& name) {
  rows_.at(size_t(index)).Action = name;
  Invalidate();
}

void THotKeyList::SetRows(const std::vector<THotKeyRow>& rows, const std::vector<std::string>& actions) {
  rows_.clear();
  for (size_t i = 0; i < rows.size(); ++i) rows_.push_back({rows[i], i < actions.size() ? actions[i] : std::string()});
  if (selected_ >= RowCount()) selected_ = -1;
  Invalidate();
}

std::vector<THotKeyRow> THotKeyList::Rows() const {
  std::vector<THotKeyRow> rows;
  for (const TListRow& row : rows_) rows.push_back(row.Key);
  return rows;
}

void THotKeyList::SetSelected(int index) {
  selected_ = index >= 0 && index < RowCount() ? index : -1;
  Invalidate();
}

int THotKeyList::RowHeight() { return Canvas()->TextHeight("Wg") + 4; }

int THotKeyList::RowAt(int y) {
  if (y < HeaderHeight()) return -1;
  const int row = (y - HeaderHeight()) / RowHeight();
  return row < RowCount() ? row : -1;
}

TRect THotKeyList::CheckBoxRect(int row) {
  const int top = HeaderHeight() + row * RowHeight() + (RowHeight() - kCheckSize) / 2;
  return Bounds(kPadding, top, kCheckSize, kCheckSize);
}

void THotKeyList::Paint() {
  TCanvas& c = *Canvas();
  c.Font()->Assign(*Font());
  c.Brush()->SetColor(Color());
  c.FillRect(ClientRect());
  const int rowHeight = RowHeight();
  // Column edges: the first column also holds the check box.
  std::vector<int> edges = {0};
  for (int i = 0; i < columns_->Count(); ++i) edges.push_back(edges.back() + columns_->Items(i)->Width());
  auto cellRect = [&](int column, int top) {
    const int right = column + 1 < int(edges.size()) - 1 ? edges[size_t(column) + 1] : Width();
    return Rect(edges[size_t(column)], top, right, top + rowHeight);
  };
  auto drawText = [&](const std::string& text, TRect r) {
    r.Left += kPadding;
    r.Right -= kPadding;
    c.Brush()->SetStyle(bsClear);
    c.DrawText(text, r, DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  };

  for (int i = 0; i < columns_->Count(); ++i) {
    TRect r = cellRect(i, 0);
    r.Bottom = HeaderHeight();
    c.Brush()->SetStyle(bsSolid);
    c.Brush()->SetColor(clBtnFace);
    c.FillRect(r);
    c.Pen()->SetColor(clBtnShadow);
    c.MoveTo(r.Right - 1, r.Top);
    c.LineTo(r.Right - 1, r.Bottom - 1);
    c.LineTo(r.Left - 1, r.Bottom - 1);
    c.Font()->SetColor(clBtnText);
    drawText(columns_->Items(i)->Caption(), r);
  }

  for (int row = 0; row < RowCount(); ++row) {
    const int top = HeaderHeight() + row * rowHeight;
    const bool selected = row == selected_;
    c.Brush()->SetStyle(bsSolid);
    c.Brush()->SetColor(selected ? clHighlight : Color());
    c.FillRect(Rect(0, top, Width(), top + rowHeight));
    c.Font()->SetColor(selected ? clHighlightText : clWindowText);

    const TRect box = CheckBoxRect(row);
    c.Brush()->SetColor(clWindow);
    c.Pen()->SetColor(clWindowText);
    c.Rectangle(box);
    if (rows_[size_t(row)].Key.Enabled) {
      c.Polyline({Point(box.Left + 3, box.Top + 6), Point(box.Left + 5, box.Top + 9), Point(box.Left + 10, box.Top + 3)});
    }
    TRect keyCell = cellRect(0, top);
    keyCell.Left = box.Right;
    drawText(rows_[size_t(row)].Key.KeyText, keyCell);
    if (columns_->Count() > 1) drawText(rows_[size_t(row)].Action, cellRect(1, top));
  }
  if (Focused() && selected_ >= 0) {
    const int top = HeaderHeight() + selected_ * rowHeight;
    c.DrawFocusRect(Rect(0, top, Width(), top + rowHeight));
  }
}

void THotKeyList::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (CanFocus()) SetFocus();
  const int row = RowAt(y);
  if (button == mbLeft && row >= 0) {
    SetSelected(row);
    const TRect box = CheckBoxRect(row);
    if (x >= box.Left - 2 && x < box.Right + 2) {
      THotKeyRow key = Row(row);
      key.Enabled = !key.Enabled;
      SetRow(row, key);
    }
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void THotKeyList::KeyDown(uint16_t& key, TShiftState shift) {
  if ((key == VK_UP || key == VK_DOWN) && RowCount() > 0) {
    const int step = key == VK_UP ? -1 : 1;
    SetSelected(selected_ < 0 ? 0 : std::clamp(selected_ + step, 0, RowCount() - 1));
    key = 0;
    return;
  }
  TCustomControl::KeyDown(key, shift);
}
