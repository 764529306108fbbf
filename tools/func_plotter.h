// TFuncPlotter: draws the graph of a formula in "x" with its axes; the user pans it by dragging
// with the left button and zooms about a right-clicked point (out with Alt held).
#pragma once

#include <memory>
#include <string>

#include "platform/gui/control.h"
#include "platform/gui/graphics.h"
#include "tools/expression_parser.h"
#include "tools/plot_view.h"

class TFuncPlotter : public TGraphicControl {
  QM_CLASS(TFuncPlotter, TGraphicControl)
public:
  explicit TFuncPlotter(TComponent* owner);
  ~TFuncPlotter() override;

  // The formula, trimmed and parsed when set; Error() is its parse error code (0: none).
  const std::string& Formula() const { return formula_; }
  void SetFormula(const std::string& formula);
  int Error() const { return error_; }
  // The value of the formula at `x`; raises EMathError where it has none, EConvertError when it
  // did not parse.
  double ValueAt(double x) const;
  const TPlotBounds& View() const { return bounds_; }
  void SetView(const TPlotBounds& bounds);
  double Step() const { return step_; }
  void SetStep(double step);
  TPen* Pen() { return &pen_; }
  // Zooms about (cx, cy): in to 2/3 of every distance, out to 3/2; the step follows.
  void Zoom(double cx, double cy, bool out);
  // Draws the axes and the curve (or the parse error) on a canvas of that size.
  void PaintTo(TCanvas& canvas, int width, int height);
  // The painted text of a parse error code.
  static std::string ErrorText(int code);

  // The view changed by the mouse.
  TNotifyEvent OnChange;

protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
  void Changed();
  std::string formula_;
  TParser parser_;
  TVarDef* x_ = nullptr;
  std::unique_ptr<TCalculus> tree_;
  int error_ = peEmpty;
  TPlotBounds bounds_;
  double step_ = 0.002;
  TPen pen_;
  bool dragging_ = false;
  int dragX_ = 0, dragY_ = 0;
};
