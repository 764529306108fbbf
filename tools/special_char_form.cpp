#include "tools/special_char_form.h"

#include <algorithm>

#include "components/form_placement.h"
#include "platform/files.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"
#include "tools/symbol_insert.h"
#include "tools/symbol_list.h"

TSpecialCharForm* SpecialCharForm = nullptr;

QM_CLASS_INFO(TSpecialCharForm, TForm, [](TClassBuilder<TSpecialCharForm>&) {})

TSpecialCharForm::TSpecialCharForm(TComponent* owner) : TForm(owner) {
  Handler("FormCreate", &TSpecialCharForm::FormCreate);
  Handler("FormResize", &TSpecialCharForm::FormResize);
  Handler("GridDrawCell", &TSpecialCharForm::GridDrawCell);
  Handler("GridSelectCell", &TSpecialCharForm::GridSelectCell);
  Handler("GridKeyDown", &TSpecialCharForm::GridKeyDown);
  Handler("GridMouseDown", &TSpecialCharForm::GridMouseDown);
  Handler("PopupMenu1Popup", &TSpecialCharForm::PopupMenu1Popup);
  Handler("InsertClick", &TSpecialCharForm::InsertClick);
  Handler("InsertFontClick", &TSpecialCharForm::InsertFontClick);
  Handler("AddClick", &TSpecialCharForm::AddClick);
  Handler("DeleteClick", &TSpecialCharForm::DeleteClick);
  Handler("ClearAllClick", &TSpecialCharForm::ClearAllClick);
  Handler("LoadDefaultsClick", &TSpecialCharForm::LoadDefaultsClick);
  Handler("MoreClick", &TSpecialCharForm::MoreClick);
  Field("Grid", Grid);
  Field("LabelKey", LabelKey);
  Field("PopupMenu1", PopupMenu1);
  Field("InsertItem", InsertItem);
  Field("InsertFontItem", InsertFontItem);
  Field("DeleteItem", DeleteItem);
  Field("FormStorage1", FormStorage1);
  ReadForm();
}

TSpecialCharForm::~TSpecialCharForm() {
  if (SpecialCharForm == this) SpecialCharForm = nullptr;
}

void TSpecialCharForm::FormCreate(TObject*) {
  SpecialCharForm = this;
  LoadSymbols();
}

void TSpecialCharForm::LoadSymbols() {
  symbols_ = LoadSymbolLines(ProgramFolder() + "symbols.dat");
  LayoutGrid();
}

void TSpecialCharForm::AddSymbol(int code, const std::string& fontName) {
  symbols_.push_back(std::to_string(code) + "=" + fontName);
  LayoutGrid();
}

bool TSpecialCharForm::FindHotKey(uint16_t key, TShiftState shift, char16_t& code, std::string& fontName) const {
  const int line = FindSymbolHotKey(symbols_, key, shift);
  if (line < 0) return false;
  const auto entry = ParseSymbolLine(symbols_[size_t(line)]);
  code = entry->Code;
  fontName = entry->Font;
  return true;
}

void TSpecialCharForm::InsertSymbol(char16_t code, const std::string& fontName) {
  if (Editor && code != 0) InsertSymbolInto(*Editor, code, fontName);
}

int TSpecialCharForm::CellLine(int col, int row) const {
  const int line = row * Grid->ColCount() + col;
  return col >= 0 && row >= 0 && line < int(symbols_.size()) ? line : -1;
}

int TSpecialCharForm::SelectedLine() const { return CellLine(Grid->Col(), Grid->Row()); }

void TSpecialCharForm::InsertSelected(bool editorFont) {
  const int line = SelectedLine();
  const auto entry = line < 0 ? std::nullopt : ParseSymbolLine(symbols_[size_t(line)]);
  if (!entry) return;
  InsertSymbol(entry->Code, editorFont ? std::string() : entry->Font);
  Hide();
}

void TSpecialCharForm::LayoutGrid() {
  const int columns = SymbolGridColumns(Width());
  Grid->SetColCount(columns);
  Grid->SetRowCount(SymbolGridRows(columns, int(symbols_.size())));
  Grid->Invalidate();
  ShowSelected();
}

void TSpecialCharForm::FormResize(TObject*) {
  if (Grid) LayoutGrid();
}

void TSpecialCharForm::GridDrawCell(TObject*, int col, int row, const TRect& rect, TGridDrawState) {
  const int line = CellLine(col, row);
  const auto entry = line < 0 ? std::nullopt : ParseSymbolLine(symbols_[size_t(line)]);
  if (!entry) return;
  TCanvas& canvas = *Grid->Canvas();
  canvas.Font()->SetName(entry->Font);
  canvas.Font()->SetSize(16);
  TRect r = rect;
  canvas.DrawTextW(std::u16string(1, entry->Code), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void TSpecialCharForm::GridSelectCell(TObject*, int col, int row, bool&) { ShowCell(col, row); }

void TSpecialCharForm::ShowSelected() { ShowCell(Grid->Col(), Grid->Row()); }

void TSpecialCharForm::ShowCell(int col, int row) {
  const int line = CellLine(col, row);
  const auto entry = line < 0 ? std::nullopt : ParseSymbolLine(symbols_[size_t(line)]);
  LabelKey->SetCaption(entry ? entry->Shortcut : std::string());
}

void TSpecialCharForm::GridKeyDown(TObject*, uint16_t& key, TShiftState shift) {
  const TShiftState mods = shift & (ssShift | ssCtrl | ssAlt);
  if (key == VK_RETURN && (mods == 0 || mods == ssCtrl)) {
    key = 0;
    InsertSelected(mods == ssCtrl);
    return;
  }
  if (key == VK_DELETE && mods == ssCtrl) {
    key = 0;
    DeleteClick(nullptr);
    return;
  }
  const int line = SelectedLine();
  const std::string text = SymbolShortcutText(key, shift);
  if (line < 0 || text.empty()) return;
  symbols_[size_t(line)] = WithShortcut(symbols_[size_t(line)], text);
  key = 0;
  ShowSelected();
}

void TSpecialCharForm::GridMouseDown(TObject*, TMouseButton button, TShiftState shift, int, int) {
  if (button == mbLeft && (shift & ssDouble)) InsertSelected((shift & ssCtrl) != 0);
  else ShowSelected();
}

void TSpecialCharForm::PopupMenu1Popup(TObject*) {
  const bool symbol = SelectedLine() >= 0;
  InsertItem->SetEnabled(symbol);
  InsertFontItem->SetEnabled(symbol);
  DeleteItem->SetEnabled(symbol);
}

void TSpecialCharForm::InsertClick(TObject*) { InsertSelected(false); }
void TSpecialCharForm::InsertFontClick(TObject*) { InsertSelected(true); }

void TSpecialCharForm::AddClick(TObject*) {
  if (OnShowCharMap) OnShowCharMap(this);
}

void TSpecialCharForm::DeleteClick(TObject*) {
  const int line = SelectedLine();
  if (line < 0) return;
  symbols_.erase(symbols_.begin() + line);
  LayoutGrid();
}

void TSpecialCharForm::ClearAllClick(TObject*) {
  symbols_.clear();
  LayoutGrid();
}

void TSpecialCharForm::LoadDefaultsClick(TObject*) {
  symbols_ = DefaultSymbolLines();
  LayoutGrid();
}

void TSpecialCharForm::MoreClick(TObject* sender) { AddClick(sender); }
