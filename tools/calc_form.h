// TCalcForm: the "Graphic Calculator" window. It evaluates a formula in "x", shows the result in
// five number systems and as a colour, tabulates the formula over a range and plots it.
#pragma once

#include <string>
#include <vector>

#include "platform/gui/form.h"
#include "platform/gui/grids.h"
#include "tools/calc_result.h"
#include "tools/spinner_rules.h"

class TAdvSpinner;
class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TExSpinEdit;
class TFormStorage;
class TFuncPlotter;
class TListBox;
class TPageControl;
class TResizeGrid;
class TShape;
class TSpeedButton;

class TCalcForm : public TForm {
  QM_CLASS(TCalcForm, TForm)
public:
  explicit TCalcForm(TComponent* owner);
  ~TCalcForm() override;

  TComboBox* Edit1 = nullptr;  // the formula and its history
  TEdit* ResDec = nullptr;
  TShape* ResColor = nullptr;
  TListBox* ListBox1 = nullptr;
  TAdvSpinner* SpinGrad = nullptr;  // angle unit: degrees, radians, grads
  TAdvSpinner* SpinHex = nullptr;   // number system of the result
  TPageControl* Notebook1 = nullptr;
  TExSpinEdit *XRangeFrom = nullptr, *XRangeTo = nullptr, *XRangeStep = nullptr;
  TResizeGrid* Grid = nullptr;
  TExSpinEdit *XMin = nullptr, *XMax = nullptr, *YMin = nullptr, *YMax = nullptr, *SpinSteps = nullptr;
  TCheckBox *XSync = nullptr, *YSync = nullptr;
  TFuncPlotter* Plotter = nullptr;
  TFormStorage* FormStorage1 = nullptr;

  // Evaluates the formula: values table, result, history (the "Calculate" button).
  void Calculate();
  // The result shown (a colour chosen in the swatch's dialog replaces it).
  double Result() const { return result_; }
  void ShowResult(double value);
  // The view centred on the origin; zoomed in or out about the centre.
  void CentreView();
  void ZoomView(bool out);

private:
  void FormCreate(TObject* Sender);
  void BtnCalcClick(TObject* Sender);
  void BtnCopyClick(TObject* Sender);
  void Edit1KeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void SpinGradClick(TObject* Sender, TAdvSpinBtn Button);
  void SpinHexClick(TObject* Sender, TAdvSpinBtn Button);
  void ResColorMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void ListBox1DblClick(TObject* Sender);
  void GridKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void CopyCellsClick(TObject* Sender);
  void BoundsChange(TObject* Sender);
  void SpinStepsChange(TObject* Sender);
  void PlotterChange(TObject* Sender);
  void BtnCentreClick(TObject* Sender);
  void BtnZoomInClick(TObject* Sender);
  void BtnZoomOutClick(TObject* Sender);
  // Shows the plotter's view in the spin edits; the step follows the range.
  void ShowView();

  double result_ = 0;
  bool updating_ = false;
};

extern TCalcForm* CalcForm;
