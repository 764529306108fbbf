#include "tools/calc_form.h"

#include <cmath>

#include "components/form_placement.h"
#include "components/spin_edit.h"
#include "platform/exceptions.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/grids.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"
#include "platform/number_text.h"
#include "platform/string_list.h"
#include "tools/adv_spinner.h"
#include "tools/func_plotter.h"
#include "tools/resize_grid.h"
#include "tools/tool_messages.h"

TCalcForm* CalcForm = nullptr;

QM_CLASS_INFO(TCalcForm, TForm, [](TClassBuilder<TCalcForm>&) {})

namespace {

constexpr size_t kHistoryLength = 20;

std::vector<std::string> Lines(const TStrings& strings) {
  std::vector<std::string> lines;
  for (int i = 0; i < strings.Count(); ++i) lines.push_back(strings[i]);
  return lines;
}

}  // namespace

TCalcForm::TCalcForm(TComponent* owner) : TForm(owner) {
  Handler("FormCreate", &TCalcForm::FormCreate);
  Handler("BtnCalcClick", &TCalcForm::BtnCalcClick);
  Handler("BtnCopyClick", &TCalcForm::BtnCopyClick);
  Handler("Edit1KeyDown", &TCalcForm::Edit1KeyDown);
  Handler("SpinGradClick", &TCalcForm::SpinGradClick);
  Handler("SpinHexClick", &TCalcForm::SpinHexClick);
  Handler("ResColorMouseDown", &TCalcForm::ResColorMouseDown);
  Handler("ListBox1DblClick", &TCalcForm::ListBox1DblClick);
  Handler("GridKeyDown", &TCalcForm::GridKeyDown);
  Handler("CopyCellsClick", &TCalcForm::CopyCellsClick);
  Handler("BoundsChange", &TCalcForm::BoundsChange);
  Handler("SpinStepsChange", &TCalcForm::SpinStepsChange);
  Handler("PlotterChange", &TCalcForm::PlotterChange);
  Handler("BtnCentreClick", &TCalcForm::BtnCentreClick);
  Handler("BtnZoomInClick", &TCalcForm::BtnZoomInClick);
  Handler("BtnZoomOutClick", &TCalcForm::BtnZoomOutClick);
  Field("Edit1", Edit1);
  Field("ResDec", ResDec);
  Field("ResColor", ResColor);
  Field("ListBox1", ListBox1);
  Field("SpinGrad", SpinGrad);
  Field("SpinHex", SpinHex);
  Field("Notebook1", Notebook1);
  Field("XRangeFrom", XRangeFrom);
  Field("XRangeTo", XRangeTo);
  Field("XRangeStep", XRangeStep);
  Field("Grid", Grid);
  Field("XMin", XMin);
  Field("XMax", XMax);
  Field("YMin", YMin);
  Field("YMax", YMax);
  Field("SpinSteps", SpinSteps);
  Field("XSync", XSync);
  Field("YSync", YSync);
  Field("Plotter", Plotter);
  Field("FormStorage1", FormStorage1);
  updating_ = true;  // the layout's values are not the user's changes
  ReadForm();
  updating_ = false;
}

TCalcForm::~TCalcForm() {
  if (CalcForm == this) CalcForm = nullptr;
}

void TCalcForm::FormCreate(TObject*) {
  CalcForm = this;
  // The angle units and number systems in the interface language.
  SpinGrad->SetValueList({ToolMessage("CalcDegrees", "Degrees"), ToolMessage("CalcRadians", "Radians"),
                          ToolMessage("CalcGrads", "Grads")});
  SpinHex->SetValueList({ToolMessage("CalcDec", "Dec"), ToolMessage("CalcHex", "Hex"), ToolMessage("CalcOct", "Oct"),
                         ToolMessage("CalcBin", "Bin"), ToolMessage("CalcRoman", "Roman")});
  updating_ = true;
  FormStorage1->RestoreFormPlacement();
  updating_ = false;
  Plotter->SetView(LimitBounds({XMin->Value(), YMin->Value(), XMax->Value(), YMax->Value()}));
  ShowView();
  Plotter->SetFormula(Edit1->GetText());
}

void TCalcForm::Calculate() {
  SetAngleUnit(std::max(SpinGrad->Position(), 0));
  Plotter->SetFormula(Edit1->GetText());
  Grid->ClearCells();
  Grid->SetCells(0, 0, "X");
  Grid->SetCells(1, 0, "Y");
  result_ = 0;
  if (Plotter->Error() != peNone) {
    ResDec->SetText(TFuncPlotter::ErrorText(peExpression));
    return;
  }
  const auto f = [this](double x) { return Plotter->ValueAt(x); };
  double lastX = XRangeFrom->Value();
  int rows = 1;
  try {
    for (const TValueRow& row : ValueTable(XRangeFrom->Value(), XRangeTo->Value(), XRangeStep->Value(), f)) {
      Grid->SetCells(0, rows, FormatFloat(row.X));
      Grid->SetCells(1, rows++, row.Y ? FormatFloat(*row.Y) : std::string());
      lastX = row.X;
    }
  } catch (const ECalcError& e) {
    ShowMessage(ToolMessage(e.Key, e.what()));
  }
  Grid->SetRowCount(std::max(100, rows));
  Grid->FitColumns();
  double value;
  try {
    value = Plotter->ValueAt(lastX);
  } catch (const std::exception&) {
    value = NAN;
  }
  if (!std::isfinite(value)) {
    ResDec->SetText(ToolMessage("CalcNoValue", "The formula has no value here"));
  } else {
    if (value != std::trunc(value)) SpinHex->SetPosition(nsDec);
    ShowResult(value);
  }
  std::vector<std::string> history = Lines(*Edit1->Items());
  AddToHistory(history, Plotter->Formula(), kHistoryLength);
  const std::string text = Edit1->GetText();
  Edit1->Items()->Clear();
  for (const std::string& line : history) Edit1->Items()->Add(line);
  Edit1->SetText(text);
}

void TCalcForm::ShowResult(double value) {
  result_ = value;
  try {
    ResDec->SetText(FormatCalcResult(value, TNumberSystem(std::clamp(SpinHex->Position(), 0, int(nsRoman)))));
  } catch (const ECalcError& e) {
    ResDec->SetText(ToolMessage(e.Key, e.what()));
  }
  ResColor->Brush()->SetColor(TColor(CalcResultColor(value)));
  ResColor->Invalidate();
}

void TCalcForm::BtnCalcClick(TObject*) { Calculate(); }

void TCalcForm::BtnCopyClick(TObject*) { Clipboard()->SetAsText(ResDec->GetText()); }

void TCalcForm::Edit1KeyDown(TObject*, uint16_t& key, TShiftState) {
  if (key != VK_RETURN) return;
  key = 0;
  Calculate();
}

void TCalcForm::SpinGradClick(TObject*, TAdvSpinBtn) {
  if (!updating_) Calculate();
}

void TCalcForm::SpinHexClick(TObject*, TAdvSpinBtn) {
  if (!updating_) ShowResult(result_);
}

void TCalcForm::ResColorMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
  TColorDialog dialog(nullptr);
  dialog.SetColor(TColor(CalcResultColor(result_)));
  if (dialog.Execute()) ShowResult(double(uint32_t(dialog.Color()) & 0xFFFFFFu));
}

void TCalcForm::ListBox1DblClick(TObject*) {
  const int index = ListBox1->ItemIndex();
  if (index >= 0) Edit1->SetText(Edit1->GetText() + (*ListBox1->Items())[index]);
}

void TCalcForm::GridKeyDown(TObject*, uint16_t& key, TShiftState shift) {
  if (key == VK_INSERT && (shift & ssCtrl)) Clipboard()->SetAsText(Grid->SelectionText());
}

void TCalcForm::CopyCellsClick(TObject*) { Clipboard()->SetAsText(Grid->SelectionText()); }

void TCalcForm::BoundsChange(TObject* sender) {
  if (updating_) return;
  TPlotBounds b = Plotter->View();
  auto apply = [](double& own, double& twin, double value, bool sync) {
    if (sync) twin -= value - own;
    own = value;
  };
  if (sender == XMin) apply(b.MinX, b.MaxX, XMin->Value(), XSync->Checked());
  else if (sender == XMax) apply(b.MaxX, b.MinX, XMax->Value(), XSync->Checked());
  else if (sender == YMin) apply(b.MinY, b.MaxY, YMin->Value(), YSync->Checked());
  else if (sender == YMax) apply(b.MaxY, b.MinY, YMax->Value(), YSync->Checked());
  Plotter->SetView(LimitBounds(b));
  ShowView();
}

void TCalcForm::SpinStepsChange(TObject*) {
  if (!updating_) ShowView();
}

void TCalcForm::PlotterChange(TObject*) { ShowView(); }

void TCalcForm::CentreView() {
  Plotter->SetView(CentreBounds(Plotter->View()));
  ShowView();
}

void TCalcForm::ZoomView(bool out) {
  const TPlotBounds& b = Plotter->View();
  Plotter->Zoom((b.MinX + b.MaxX) / 2, (b.MinY + b.MaxY) / 2, out);
}

void TCalcForm::BtnCentreClick(TObject*) { CentreView(); }
void TCalcForm::BtnZoomInClick(TObject*) { ZoomView(false); }
void TCalcForm::BtnZoomOutClick(TObject*) { ZoomView(true); }

void TCalcForm::ShowView() {
  if (!Plotter || !XMin) return;
  const TPlotBounds& b = Plotter->View();
  updating_ = true;
  XMin->SetValue(b.MinX);
  XMax->SetValue(b.MaxX);
  YMin->SetValue(b.MinY);
  YMax->SetValue(b.MaxY);
  updating_ = false;
  Plotter->SetStep(StepForRange(b, SpinSteps->AsInteger()));
}
