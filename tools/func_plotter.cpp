#include "tools/func_plotter.h"

#include <cmath>

#include "platform/exceptions.h"
#include "tools/tool_messages.h"

QM_CLASS_INFO(TFuncPlotter, TGraphicControl,
              [](TClassBuilder<TFuncPlotter>& c) { c.Event("OnChange", &TFuncPlotter::OnChange); })

namespace {

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

TFuncPlotter::TFuncPlotter(TComponent* owner) : TGraphicControl(owner) {
  TControl::SetBounds(Left(), Top(), 65, 65);
  parser_.RegisterDefaults();
  x_ = &parser_.AddVariable("x");
}

TFuncPlotter::~TFuncPlotter() = default;

void TFuncPlotter::SetFormula(const std::string& formula) {
  formula_ = Trim(formula);
  tree_ = parser_.Parse(formula_, error_);
  Invalidate();
  if (OnChange) OnChange(this);
}

double TFuncPlotter::ValueAt(double x) const {
  if (!tree_) throw EConvertError(ErrorText(error_));
  x_->Value = x;
  return tree_->Evaluate();
}

void TFuncPlotter::SetView(const TPlotBounds& bounds) {
  bounds_ = bounds;
  Invalidate();
}

void TFuncPlotter::SetStep(double step) {
  step_ = step;
  Invalidate();
}

void TFuncPlotter::Zoom(double cx, double cy, bool out) {
  const double factor = out ? 1.5 : 2.0 / 3.0;
  bounds_ = ZoomBounds(bounds_, cx, cy, factor);
  step_ *= factor;
  Changed();
}

std::string TFuncPlotter::ErrorText(int code) {
  switch (code) {
    case peBrackets: return ToolMessage("PlotBrackets", "Mismatched brackets");
    case peExpression: return ToolMessage("PlotExpression", "Error in expression");
    case peEmpty: return ToolMessage("PlotEmpty", "No equation entered");
    default: return ToolMessage("PlotUnknown", "Unknown error") + " (" + std::to_string(code) + ")";
  }
}

void TFuncPlotter::Changed() {
  Invalidate();
  if (OnChange) OnChange(this);
}

void TFuncPlotter::Paint() { PaintTo(*Canvas(), Width(), Height()); }

void TFuncPlotter::PaintTo(TCanvas& canvas, int w, int h) {
  if (!tree_) {
    TRect r{0, 0, w, h};
    canvas.Brush()->SetStyle(bsClear);
    canvas.DrawText(ErrorText(error_), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    return;
  }
  const TPlotBounds& b = bounds_;
  canvas.Pen()->SetColor(clBlack);
  canvas.Pen()->SetWidth(1);
  if (b.MinY < 0 && 0 < b.MaxY) {
    const int py = PlotPixelY(b, 0, h);
    canvas.MoveTo(0, py);
    canvas.LineTo(w, py);
    if (b.MaxX - b.MinX < 100)
      for (double x = std::ceil(b.MinX); x <= b.MaxX; ++x) {
        canvas.MoveTo(PlotPixelX(b, x, w), py - 3);
        canvas.LineTo(PlotPixelX(b, x, w), py + 4);
      }
  }
  if (b.MinX < 0 && 0 < b.MaxX) {
    const int px = PlotPixelX(b, 0, w);
    canvas.MoveTo(px, 0);
    canvas.LineTo(px, h);
    if (b.MaxY - b.MinY < 100)
      for (double y = std::ceil(b.MinY); y <= b.MaxY; ++y) {
        canvas.MoveTo(px - 3, PlotPixelY(b, y, h));
        canvas.LineTo(px + 4, PlotPixelY(b, y, h));
      }
  }
  canvas.Pen()->Assign(pen_);
  const double step = PaintStep(b, step_);
  bool started = false;
  for (long long i = 0;; ++i) {
    const double x = b.MinX + double(i) * step;
    if (!(x < b.MaxX)) break;
    double y;
    try {
      y = ValueAt(x);
    } catch (const std::exception&) {
      continue;
    }
    if (!std::isfinite(y)) continue;
    const int px = PlotPixelX(b, x, w), py = PlotPixelY(b, y, h);
    if (started) canvas.LineTo(px, py);
    else canvas.MoveTo(px, py);
    started = true;
  }
}

void TFuncPlotter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  dragging_ = true;
  dragX_ = x;
  dragY_ = y;
}

void TFuncPlotter::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!dragging_ || (x == dragX_ && y == dragY_)) return;
  bounds_ = PanBounds(bounds_, x - dragX_, y - dragY_, Width(), Height());
  dragX_ = x;
  dragY_ = y;
  Changed();
}

void TFuncPlotter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (button == mbLeft) dragging_ = false;
  if (button != mbRight || Width() <= 0 || Height() <= 0) return;
  const TPlotBounds& b = bounds_;
  const double cx = b.MinX + (b.MaxX - b.MinX) * x / Width();
  const double cy = b.MaxY - (b.MaxY - b.MinY) * y / Height();
  const double dx = (b.MaxX - b.MinX) / 2, dy = (b.MaxY - b.MinY) / 2;
  bounds_ = LimitBounds({cx - dx, cy - dy, cx + dx, cy + dy});
  Zoom(cx, cy, (shift & ssAlt) != 0);
}
