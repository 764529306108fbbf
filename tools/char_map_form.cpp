#include "tools/char_map_form.h"

#include <cmath>

#include "components/font_combo.h"
#include "components/form_placement.h"
#include "components/spin_edit.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/std_controls.h"
#include "platform/string_list.h"
#include "tools/char_map.h"
#include "tools/symbol_insert.h"

TFormGenChar* FormGenChar = nullptr;

QM_CLASS_INFO(TFormGenChar, TForm, [](TClassBuilder<TFormGenChar>&) {})

TFormGenChar::TFormGenChar(TComponent* owner) : TForm(owner) {
  Handler("FormCreate", &TFormGenChar::FormCreate);
  Handler("FormShow", &TFormGenChar::FormShow);
  Handler("FontComboChange", &TFormGenChar::FontComboChange);
  Handler("EditSizeChange", &TFormGenChar::EditSizeChange);
  Handler("ComboBox1Change", &TFormGenChar::ComboBox1Change);
  Handler("EditFromChange", &TFormGenChar::EditFromChange);
  Handler("EditPreviewChange", &TFormGenChar::EditPreviewChange);
  Handler("GridDrawCell", &TFormGenChar::GridDrawCell);
  Handler("GridSelectCell", &TFormGenChar::GridSelectCell);
  Handler("GridMouseDown", &TFormGenChar::GridMouseDown);
  Handler("PaintBoxPaint", &TFormGenChar::PaintBoxPaint);
  Handler("BtnAddClick", &TFormGenChar::BtnAddClick);
  Handler("BtnInsertClick", &TFormGenChar::BtnInsertClick);
  Handler("BtnCopyClick", &TFormGenChar::BtnCopyClick);
  Field("FontCombo", FontCombo);
  Field("EditSize", EditSize);
  Field("EditFrom", EditFrom);
  Field("EditPreview", EditPreview);
  Field("ComboBox1", ComboBox1);
  Field("Grid", Grid);
  Field("PaintBox", PaintBox);
  Field("Label1", Label1);
  Field("FormStorage1", FormStorage1);
  applyingBlock_ = true;  // the layout's values are no choice of the user
  ReadForm();
  applyingBlock_ = false;
}

TFormGenChar::~TFormGenChar() {
  if (FormGenChar == this) FormGenChar = nullptr;
}

void TFormGenChar::FormCreate(TObject*) {
  FormGenChar = this;
  for (const std::string& caption : UnicodeBlockCaptions()) ComboBox1->Items()->Add(caption);
  applyingBlock_ = true;
  FormStorage1->RestoreFormPlacement();
  applyingBlock_ = false;
  ApplySize();
  ShowSelected();
}

void TFormGenChar::FormShow(TObject*) {
  if (ComboBox1->ItemIndex() < 0) ComboBox1->SetItemIndex(0);
  if (FontCombo->ItemIndex() < 0 && FontCombo->Items()->Count() > 0) FontCombo->SetItemIndex(0);
}

std::string TFormGenChar::FontName() const { return FontCombo->FontName(); }

int TFormGenChar::SelectedCode() const {
  return CellCode(int(std::lround(EditFrom->Value())), Grid->Col(), Grid->Row(), Grid->ColCount());
}

void TFormGenChar::ApplyBlock(int index) {
  if (index < 0 || index >= int(UnicodeBlockCaptions().size())) return;
  applyingBlock_ = true;
  ComboBox1->SetItemIndex(index);
  EditFrom->SetValue(BlockStart(UnicodeBlockCaptions()[size_t(index)]));
  applyingBlock_ = false;
  Grid->SetTopRow(0);
  Grid->Invalidate();
  ShowSelected();
}

void TFormGenChar::ApplySize() {
  const TCharGridShape shape = CharGridForSize(EditSize->AsInteger());
  Grid->SetColCount(shape.Columns);
  Grid->SetDefaultColWidth(shape.CellSize);
  Grid->SetDefaultRowHeight(shape.CellSize);
  EditFrom->SetIncrement(shape.Columns);
  Grid->Invalidate();
  ShowSelected();
}

void TFormGenChar::ShowSelected() {
  Label1->SetCaption(CharCodeLabel(SelectedCode()));
  PaintBox->Invalidate();
}

void TFormGenChar::InsertSelected() {
  const int code = SelectedCode();
  if (Editor && IsInsertableChar(code)) InsertSymbolInto(*Editor, char16_t(code), FontName());
}

void TFormGenChar::CopySelected() {
  const int code = SelectedCode();
  if (IsInsertableChar(code)) Clipboard()->SetAsUnicodeText(std::u16string(1, char16_t(code)));
}

void TFormGenChar::AddSelected() {
  const int code = SelectedCode();
  if (OnAddSymbol && IsInsertableChar(code)) OnAddSymbol(code, FontName());
}

void TFormGenChar::FontComboChange(TObject*) {
  Grid->Invalidate();
  PaintBox->Invalidate();
}

void TFormGenChar::EditSizeChange(TObject*) {
  if (!applyingBlock_) ApplySize();
}

void TFormGenChar::ComboBox1Change(TObject*) { ApplyBlock(ComboBox1->ItemIndex()); }

void TFormGenChar::EditFromChange(TObject*) {
  if (applyingBlock_) return;
  // The block list no longer tells where the grid starts.
  ComboBox1->SetItemIndex(-1);
  Grid->Invalidate();
  ShowSelected();
}

void TFormGenChar::EditPreviewChange(TObject*) { PaintBox->Invalidate(); }

void TFormGenChar::GridDrawCell(TObject*, int col, int row, const TRect& rect, TGridDrawState) {
  const int code = CellCode(int(std::lround(EditFrom->Value())), col, row, Grid->ColCount());
  if (!IsInsertableChar(code)) return;
  TCanvas& canvas = *Grid->Canvas();
  canvas.Font()->SetName(FontName());
  canvas.Font()->SetSize(EditSize->AsInteger());
  TRect r = rect;
  canvas.DrawTextW(std::u16string(1, char16_t(code)), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void TFormGenChar::GridSelectCell(TObject*, int col, int row, bool&) {
  Label1->SetCaption(CharCodeLabel(CellCode(int(std::lround(EditFrom->Value())), col, row, Grid->ColCount())));
  PaintBox->Invalidate();
}

void TFormGenChar::GridMouseDown(TObject*, TMouseButton button, TShiftState shift, int, int) {
  if (button != mbLeft) return;
  ShowSelected();
  if (shift & (ssDouble | ssCtrl)) InsertSelected();
}

void TFormGenChar::PaintBoxPaint(TObject*) {
  const int code = SelectedCode();
  if (!IsInsertableChar(code)) return;
  TCanvas& canvas = *PaintBox->Canvas();
  canvas.Font()->SetName(FontName());
  canvas.Font()->SetSize(EditPreview->AsInteger());
  TRect r{0, 0, PaintBox->Width(), PaintBox->Height()};
  canvas.DrawTextW(std::u16string(1, char16_t(code)), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void TFormGenChar::BtnAddClick(TObject*) { AddSelected(); }
void TFormGenChar::BtnInsertClick(TObject*) { InsertSelected(); }
void TFormGenChar::BtnCopyClick(TObject*) { CopySelected(); }
