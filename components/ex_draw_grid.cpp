#include "components/ex_draw_grid.h"

#include <algorithm>

#include "components/form_placement.h"
#include "platform/gui/std_controls.h"

QM_CLASS_INFO(TExDrawGrid, TDrawGrid, [](TClassBuilder<TExDrawGrid>& b) {
  using C = TExDrawGrid;
  b.Boolean("FixedButtons", &C::FixedButtons, &C::SetFixedButtons)
      .Component<TFormPlacement>("IniStorage", &C::IniStorage, &C::SetIniStorage)
      .Event("OnCheckButton", &C::OnCheckButton)
      .Event("OnFixedCellClick", &C::OnFixedCellClick)
      .Event("OnShowEditor", &C::OnShowEditor)
      .Event("OnGetEditText", &C::OnGetEditText)
      .Event("OnSetEditText", &C::OnSetEditText)
      .Event("OnCancelEdit", &C::OnCancelEdit)
      .Event("OnColumnSized", &C::OnColumnSized);
})

TExDrawGrid::TExDrawGrid(TComponent* owner) : TDrawGrid(owner) {
  SetDefaultRowHeight(18);
  SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goDrawFocusSelected | goColSizing);
}

TExDrawGrid::~TExDrawGrid() { SetIniStorage(nullptr); }

void TExDrawGrid::SetFixedButtons(bool v) {
  fixedButtons_ = v;
  Invalidate();
}

void TExDrawGrid::SetIniStorage(TFormPlacement* storage) {
  if (storage == storage_) return;
  if (storage_) {
    storage_->RemoveLink(this);
    storage_->RemoveFreeNotification(this);
  }
  storage_ = storage;
  if (storage_) {
    storage_->AddLink(this);
    storage_->FreeNotification(this);
  }
}

void TExDrawGrid::Notification(TComponent* component, TOperation operation) {
  TDrawGrid::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == storage_) storage_ = nullptr;
  if (component == editor_) editor_ = nullptr;
}

std::string TExDrawGrid::StorageSection() const {
  return storage_->IniSection() + "\\" + (Owner() ? Owner()->ClassName() + "." : std::string()) + Name();
}

void TExDrawGrid::PlacementSaved(TFormPlacement& placement) {
  const std::string section = StorageSection();
  placement.EraseSection(section);
  for (int c = 0; c < ColCount(); ++c) placement.WriteInteger(section, "Item" + std::to_string(c), ColWidths(c));
}

void TExDrawGrid::PlacementRestored(TFormPlacement& placement) {
  const std::string section = StorageSection();
  for (int c = 0; c < ColCount(); ++c) {
    const int w = placement.ReadInteger(section, "Item" + std::to_string(c), -1);
    if (w >= 0) SetColWidths(c, w);
  }
}

void TExDrawGrid::PlacementGone(TFormPlacement& placement) {
  if (&placement == storage_) storage_ = nullptr;
}

void TExDrawGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
  TCanvas* c = Canvas();
  if (DefaultDrawing()) {
    c->Font()->Assign(*Font());
    const bool selected = (state & gdSelected) && (!(state & gdFocused) || (Options() & goDrawFocusSelected));
    if (state & gdFixed) c->Brush()->SetColor(FixedColor());
    else if (selected) {
      c->Brush()->SetColor(clHighlight);
      c->Font()->SetColor(clHighlightText);
    } else {
      c->Brush()->SetColor(Color());
    }
    c->FillRect(rect);
  }
  TRect content = rect;
  if (fixedButtons_ && (state & gdFixed)) {
    const bool pressed = col == pressedCol_ && row == pressedRow_;
    TRect frame = rect;
    Frame3D(*c, frame, pressed ? clBtnShadow : clBtnHighlight, pressed ? clBtnHighlight : clBtnShadow, 1);
    if (pressed) {  // the content moves by the line width
      content.Left += GridLineWidth();
      content.Top += GridLineWidth();
    }
  }
  TDrawGrid::DrawCell(col, row, content, state);
}

void TExDrawGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  int col = -1, row = -1;
  if (fixedButtons_ && button == mbLeft && MouseToCell(x, y, col, row) && IsFixed(col, row)) {
    bool enabled = true;
    if (OnCheckButton) OnCheckButton(this, col, row, enabled);
    if (enabled) {
      pressedCol_ = col;
      pressedRow_ = row;
      Invalidate();
    }
    return;
  }
  if (EditorVisible()) HideEditor(true);
  TDrawGrid::MouseDown(button, shift, x, y);
}

void TExDrawGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TDrawGrid::MouseUp(button, shift, x, y);
  if (pressedCol_ < 0) return;
  int col = -1, row = -1;
  const bool same = MouseToCell(x, y, col, row) && col == pressedCol_ && row == pressedRow_;
  pressedCol_ = pressedRow_ = -1;
  Invalidate();
  if (same && OnFixedCellClick) OnFixedCellClick(this, col, row);
}

bool TExDrawGrid::ShowEditor() {
  if (!(Options() & goEditing)) return false;
  bool allow = true;
  if (OnShowEditor) OnShowEditor(this, Col(), Row(), allow);
  if (!allow) return false;
  if (!editor_) {
    editor_ = new TEdit(this);
    editor_->FreeNotification(this);
    editor_->SetParent(this);
    editor_->OnKeyDown = [this](TObject*, uint16_t& key, TShiftState) {
      if (key == VK_RETURN) { HideEditor(true); key = 0; }
      else if (key == VK_ESCAPE) { HideEditor(false); key = 0; }
    };
  }
  editCol_ = Col();
  editRow_ = Row();
  std::string value;
  if (OnGetEditText) OnGetEditText(this, editCol_, editRow_, value);
  editor_->SetText(value);
  editor_->SetBoundsRect(CellRect(editCol_, editRow_));
  editor_->SetVisible(true);
  if (editor_->CanFocus()) editor_->SetFocus();
  return true;
}

bool TExDrawGrid::EditorVisible() const { return editor_ && editor_->Visible(); }

void TExDrawGrid::HideEditor(bool accept) {
  if (!EditorVisible()) return;
  editor_->SetVisible(false);
  if (accept) {
    if (OnSetEditText) OnSetEditText(this, editCol_, editRow_, editor_->Text());
  } else if (OnCancelEdit) {
    OnCancelEdit(this);
  }
  Invalidate();
}

void TExDrawGrid::KeyDown(uint16_t& key, TShiftState shift) {
  if (key == VK_RETURN && (Options() & goEditing) && !EditorVisible()) {
    ShowEditor();
    key = 0;
    return;
  }
  TDrawGrid::KeyDown(key, shift);
}
