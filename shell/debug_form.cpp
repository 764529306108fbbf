#include "shell/debug_form.h"

#include <algorithm>

#include "components/adv_splitter.h"
#include "platform/gui/grids.h"
#include "platform/gui/graphics.h"
#include "platform/gui/std_controls.h"
#include "shell/status_bar_text.h"
#include "tools/tool_messages.h"

QM_CLASS_INFO(TDebugForm, TForm, [](TClassBuilder<TDebugForm>&) {})

TDebugForm::TDebugForm(TComponent* owner) : TForm(owner) {
  Handler("BtnContinueClick", &TDebugForm::BtnContinueClick);
  Field("Splitter", Splitter);
  Field("List", List);
  Field("Grid", Grid);
  Field("Status", Status);
  Field("BtnContinue", BtnContinue);
  ReadForm();
  Grid->OnDrawCell = [this](TObject*, int col, int row, const TRect& rect, TGridDrawState) {
    Grid->Canvas()->TextRect(rect, rect.Left + 2, rect.Top + 2, CellText(col, row));
  };
}

void TDebugForm::ShowRuleDebug(const std::vector<std::vector<std::string>>& Segments,
                               const std::vector<std::string>& Variants, const std::string& Caption) {
  columns_ = Segments;
  size_t rows = 10;
  for (const auto& column : columns_) rows = std::max(rows, column.size());
  Grid->SetColCount(std::max<int>(1, int(columns_.size())));
  Grid->SetRowCount(int(rows));
  Grid->Invalidate();
  List->Clear();
  for (const std::string& variant : Variants) List->Items()->Add(variant);
  SetCaption(Caption);
  Status->SetCaption(FillNumbers(ToolMessage("DebugVariants", "Variants: %d;"), {int(Variants.size())}));
  ShowModal();
}

std::string TDebugForm::CellText(int Col, int Row) const {
  if (Col < 0 || Row < 0 || Col >= int(columns_.size()) || Row >= int(columns_[size_t(Col)].size())) return {};
  return columns_[size_t(Col)][size_t(Row)];
}

void TDebugForm::BtnContinueClick(TObject*) { continue_ = true; }
