// The graphic calculator driven as the user drives it: results, number systems, the values
// table and its copy, refused input, the plot view and the stored settings.
#include <gtest/gtest.h>

#include <cmath>

#include "components/form_placement.h"
#include "components/spin_edit.h"
#include "platform/gui/application.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/std_controls.h"
#include "platform/string_list.h"
#include "preferences_test_env.h"
#include "textcore/win_registry.h"
#include "tools/adv_spinner.h"
#include "tools/calc_form.h"
#include "tools/expression_parser.h"
#include "tools/func_plotter.h"
#include "tools/resize_grid.h"

namespace {

class CalcFormTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    world = std::make_unique<TTestWorld>();
    dialogs = std::make_unique<TScriptedDialogs>();
    form = new TCalcForm(Application);
  }
  void TearDown() override {
    if (form) TComponent::Free(form);
    EXPECT_TRUE(dialogs->Unexpected().empty());
    dialogs.reset();
    SetAngleUnit(0);
  }
  void Calculate(const std::string& formula) {
    form->Edit1->SetText(formula);
    form->Calculate();
  }
  void Mouse(unsigned msg, int x, int y, uintptr_t keys = 0) {
    form->Plotter->Perform(msg, keys, MakeLParam(x, y));
  }
  // The spin edits show the plotter's view.
  void ExpectSpinsShowView() {
    const TPlotBounds& b = form->Plotter->View();
    EXPECT_NEAR(form->XMin->Value(), b.MinX, 1e-4);
    EXPECT_NEAR(form->XMax->Value(), b.MaxX, 1e-4);
    EXPECT_NEAR(form->YMin->Value(), b.MinY, 1e-4);
    EXPECT_NEAR(form->YMax->Value(), b.MaxY, 1e-4);
    EXPECT_DOUBLE_EQ(form->Plotter->Step(), (b.MaxX - b.MinX) / form->SpinSteps->AsInteger());
  }

  std::unique_ptr<TTestWorld> world;
  std::unique_ptr<TScriptedDialogs> dialogs;
  TCalcForm* form = nullptr;
};

TEST_F(CalcFormTest, DefaultFormulaTabulatesAndAnswersTheLastValue) {
  EXPECT_EQ(form->Caption(), "Graphic Calculator");
  form->Calculate();
  EXPECT_EQ(form->ResDec->GetText(), "110");
  EXPECT_EQ(form->Grid->Cells(0, 0), "X");
  EXPECT_EQ(form->Grid->Cells(1, 0), "Y");
  EXPECT_EQ(form->Grid->Cells(0, 1), "1");
  EXPECT_EQ(form->Grid->Cells(1, 1), "2");
  EXPECT_EQ(form->Grid->Cells(1, 10), "110");
  EXPECT_EQ(form->Grid->Cells(0, 11), "");
  EXPECT_EQ(form->Edit1->Items()->Count(), 1);
  EXPECT_EQ(form->ResColor->Brush()->Color(), TColor(110));
  static_cast<TButton*>(form->FindComponent("BtnCopy"))->Click();
  EXPECT_EQ(Clipboard()->AsText(), "110");
}

TEST_F(CalcFormTest, NumberSystemsAndTheirFallBacks) {
  form->SpinHex->SetPosition(nsHex);
  Calculate("255");
  EXPECT_EQ(form->ResDec->GetText(), "FF");
  EXPECT_EQ(form->ResColor->Brush()->Color(), TColor(0x0000FF));
  form->SpinHex->ChooseValue(nsRoman);
  EXPECT_EQ(form->ResDec->GetText(), "CCLV");
  Calculate("10^12");
  EXPECT_EQ(form->ResDec->GetText(), "Roman numerals are written for 0 to 3999 only.");
  // A fractional result falls back to decimal.
  form->SpinHex->SetPosition(nsHex);
  Calculate("3.5");
  EXPECT_EQ(form->SpinHex->Position(), nsDec);
  EXPECT_EQ(form->ResDec->GetText(), "3.5");
  // The angle unit follows its chooser.
  form->SpinGrad->SetPosition(2);
  Calculate("sin(100)");
  EXPECT_EQ(form->ResDec->GetText(), "1");
}

TEST_F(CalcFormTest, BadFormulasAndBadRangesAreReported) {
  Calculate("(1+2");
  EXPECT_EQ(form->ResDec->GetText(), "Error in expression");
  EXPECT_EQ(form->Plotter->Error(), peBrackets);
  EXPECT_EQ(TFuncPlotter::ErrorText(peBrackets), "Mismatched brackets");
  EXPECT_EQ(TFuncPlotter::ErrorText(7), "Unknown error (7)");
  EXPECT_EQ(form->Edit1->Items()->Count(), 0);

  // A step of zero would tabulate forever: refused, the result is taken at the range start.
  form->XRangeStep->SetValue(0);
  dialogs->Answer(TDialogKind::MessageDlg, mrOk);
  Calculate("x*2");
  ASSERT_EQ(dialogs->Asked().size(), 1u);
  EXPECT_EQ(dialogs->Asked()[0].Text, "The step must be greater than zero.");
  EXPECT_EQ(form->Grid->Cells(0, 1), "");
  EXPECT_EQ(form->ResDec->GetText(), "2");

  form->XRangeStep->SetValue(1);
  Calculate("1 div (x-10)");
  EXPECT_EQ(form->Grid->Cells(1, 9), "-1");
  EXPECT_EQ(form->Grid->Cells(1, 10), "");  // no value at x = 10
  EXPECT_EQ(form->ResDec->GetText(), "The formula has no value here");
}

TEST_F(CalcFormTest, GridCopiesTheSelectedCells) {
  form->Calculate();
  form->Grid->SetCol(0);
  form->Grid->SetRow(2);
  EXPECT_EQ(form->Grid->SelectionText(), "\t2\r\n");
  uint16_t key = VK_INSERT;
  form->Grid->OnKeyDown(form->Grid, key, ssCtrl);
  EXPECT_EQ(Clipboard()->AsText(), "\t2\r\n");
}

TEST_F(CalcFormTest, HistoryKeepsTwentyFormulas) {
  for (int i = 0; i < 21; ++i) Calculate("x+" + std::to_string(i));
  Calculate("x+15");
  ASSERT_EQ(form->Edit1->Items()->Count(), 20);
  EXPECT_EQ((*form->Edit1->Items())[0], "x+20");
  EXPECT_EQ((*form->Edit1->Items())[19], "x+1");
}

TEST_F(CalcFormTest, TheTableFitsItsColumnsToItsWidth) {
  TResizeGrid& grid = *form->Grid;
  grid.SetWidth(500);
  EXPECT_GT(grid.ColWidths(0) + grid.ColWidths(1), 400);  // not the two fixed 140-pixel columns
  grid.SetWidth(300);
  EXPECT_LT(grid.ColWidths(0) + grid.ColWidths(1), 300);
}

TEST_F(CalcFormTest, PanAndZoomKeepSpinEditsAndViewInAgreement) {
  form->Plotter->SetBounds(0, 0, 200, 100);
  ExpectSpinsShowView();
  form->ZoomView(false);
  EXPECT_NEAR(form->Plotter->View().MaxX, 20.0 / 3, 1e-9);
  ExpectSpinsShowView();
  form->ZoomView(true);
  EXPECT_NEAR(form->Plotter->View().MinX, -10, 1e-9);
  ExpectSpinsShowView();

  // Dragging right by 20 pixels moves the x range left by a tenth of its width.
  Mouse(WM_LBUTTONDOWN, 100, 50, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, 120, 50, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, 120, 50);
  EXPECT_NEAR(form->Plotter->View().MinX, -12, 1e-9);
  ExpectSpinsShowView();
  // A drag far to the left stops where the spin edits end (MinX at most -1).
  Mouse(WM_LBUTTONDOWN, 100, 50, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, -900, 50, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, -900, 50);
  EXPECT_EQ(form->Plotter->View().MinX, -1);
  EXPECT_NEAR(form->Plotter->View().MaxX, 19, 1e-9);
  ExpectSpinsShowView();

  // A right click centres the clicked point and zooms in.
  form->CentreView();
  Mouse(WM_RBUTTONUP, 100, 50);
  EXPECT_NEAR(form->Plotter->View().MaxY, 20.0 / 3, 1e-9);
  ExpectSpinsShowView();

  // A synchronised edit moves the opposite bound; a wide range keeps the step at the range
  // divided by the steps, not the old step.
  form->XSync->SetChecked(true);
  form->XMin->SetValue(-65535);
  EXPECT_EQ(form->Plotter->View().MaxX, 65535);
  ExpectSpinsShowView();
  EXPECT_DOUBLE_EQ(form->Plotter->Step(), 131070.0 / 100);
}

TEST_F(CalcFormTest, SettingsLiveInTheirOwnSection) {
  form->Edit1->SetText("sqrt(x)");
  form->SpinHex->SetPosition(nsBin);
  form->XMax->SetValue(20);
  form->FormStorage1->SaveFormPlacement();
  TComponent::Free(form);
  form = nullptr;
  TWinRegistry registry("Software\\Vortanel\\Quillomark");
  EXPECT_EQ(registry.ReadString("CalcForm", "Edit1_Text", ""), "sqrt(x)");
  EXPECT_EQ(registry.ReadString("CharGen", "Edit1_Text", "none"), "none");
  form = new TCalcForm(Application);
  EXPECT_EQ(form->Edit1->GetText(), "sqrt(x)");
  EXPECT_EQ(form->SpinHex->Position(), nsBin);
  EXPECT_EQ(form->Plotter->View().MaxX, 20);
}

}  // namespace
