// TanlRuler: the horizontal ruler above a rich edit. A scale of ticks and numbers, page margins
// with draggable handlers, and four draggable indent markers (first line, left, right, and a box
// moving first and left together). Positions are pixels from the ruler's left edge; changes are
// reported through events, and a guide line runs across the attached editor while dragging.
#pragma once

#include <functional>
#include <vector>

#include "platform/gui/control.h"

class TPanel;

// Indent ids: first line, left, right, first and left together.
enum TIndentId { iiFirst = 0, iiLeft = 1, iiRight = 2, iiBox = 3 };
// Margin ids.
enum TMarginId { miLeft = 0, miRight = 1 };

using TIndentEvent = std::function<void(TObject* Sender, int IndentID)>;
using TMarginEvent = std::function<void(TObject* Sender, int MarginID)>;

// One mark of the scale at X: a small or large line, or a number (drawn in place of the line).
struct TRulerMark {
  enum TKind { Small, Large, Number } Kind;
  int X;
  int Value;  // the number, for Number marks
  bool operator==(const TRulerMark&) const = default;
};
// The marks from `origin` up to (not including) `limit`: a small line every `tabDist`, a large
// one every 2 x `tabDist`, and with `numbers` every 4 x `tabDist` the number
// (distance / (4 x tabDist)) x `factor`; the "0" at the origin stays a large line.
std::vector<TRulerMark> RulerMarks(int origin, int limit, int tabDist, int factor, bool numbers);
// `value` rounded down to a multiple of `step`.
int SnapDown(int value, int step);

// The three indents and the rules a new value must keep.
struct TRulerIndents {
  int First = 45, Left = 45, Right = 170;
  // Whether `value` may become indent `id` (iiFirst, iiLeft or iiRight) on a ruler `width`
  // pixels wide: not negative, less than width - 4, and first and left each more than
  // `minDist` left of the right indent.
  bool Allows(int id, int value, int width, int minDist) const;
};

class TanlRuler : public TCustomControl {
  QM_CLASS(TanlRuler, TCustomControl)
public:
  explicit TanlRuler(TComponent* owner);
  ~TanlRuler() override;

  // The control the guide line is drawn across; nullptr for none.
  TControl* Richedit() const { return richedit_; }
  void SetRichedit(TControl* v);
  int RulerTab() const { return rulerTab_; }
  void SetRulerTab(int v);  // 1..255
  int MinIndentDist() const { return minIndentDist_; }
  void SetMinIndentDist(int v) { minIndentDist_ = v; }
  int Factor() const { return factor_; }
  void SetFactor(int v);  // 1..30000
  int TabDist() const { return tabDist_; }
  void SetTabDist(int v);  // 1..30000

  int MarginLeft() const { return marginLeft_; }
  int MarginRight() const { return marginRight_; }
  // Ignored when unchanged, negative, or more than the width less the other margin and both
  // side borders; fire OnMarginDrag while that margin is dragged.
  void SetMarginLeft(int v) { SetMargin(miLeft, v); }
  void SetMarginRight(int v) { SetMargin(miRight, v); }
  int BorderLeft() const { return border_[0]; }
  int BorderUp() const { return border_[1]; }
  int BorderRight() const { return border_[2]; }
  int BorderDown() const { return border_[3]; }
  void SetBorderLeft(int v) { SetBorder(0, v); }
  void SetBorderUp(int v) { SetBorder(1, v); }
  void SetBorderRight(int v) { SetBorder(2, v); }
  void SetBorderDown(int v) { SetBorder(3, v); }

  int IndentFirst() const { return indents_.First; }
  int IndentLeft() const { return indents_.Left; }
  int IndentRight() const { return indents_.Right; }
  // Ignored unless TRulerIndents::Allows; the box follows the left indent. During a drag they
  // fire OnIndentDrag with the marker's id.
  void SetIndentFirst(int v) { SetIndent(iiFirst, v); }
  void SetIndentLeft(int v) { SetIndent(iiLeft, v); }
  void SetIndentRight(int v) { SetIndent(iiRight, v); }
  // Left and first indent together by RulerTab (both or neither), then OnIndentChange(iiBox).
  void IncIndent() { ShiftIndents(rulerTab_); }
  void DecIndent() { ShiftIndents(-rulerTab_); }

  bool ShowSmallLines() const { return show_[0]; }
  bool ShowLargeLines() const { return show_[1]; }
  bool ShowIndents() const { return show_[2]; }
  bool ShowNumbers() const { return show_[3]; }
  bool ShowMarginHandlers() const { return show_[4]; }
  void SetShowSmallLines(bool v) { SetShow(0, v); }
  void SetShowLargeLines(bool v) { SetShow(1, v); }
  void SetShowIndents(bool v) { SetShow(2, v); }
  void SetShowNumbers(bool v) { SetShow(3, v); }
  void SetShowMarginHandlers(bool v) { SetShow(4, v); }

  // The marker of indent `id` (iiFirst .. iiBox) in ruler coordinates.
  TRect MarkerRect(int id) const;
  // The marker under (x, y), or -1.
  int MarkerAt(int x, int y) const;
  // The indent or margin being dragged (-1 none).
  int DraggedIndent() const { return dragIndent_; }
  int DraggedMargin() const { return dragMargin_; }
  // The guide line across the editor, while a drag shows it (nullptr before the first drag).
  TPanel* GuideLine() const { return guide_; }

  TIndentEvent OnIndentChange, OnIndentDrag, OnIndentClick, OnIndentDblClick;
  TMarginEvent OnMarginChange, OnMarginDrag, OnMarginClick;

protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  void SetMargin(int id, int v);
  void SetBorder(int index, int v);
  void SetShow(int index, bool v);
  void SetIndent(int id, int v);
  // Moves left and first indent by `delta` when both new values are allowed.
  bool MoveBox(int delta);
  void ShiftIndents(int delta);
  // The x of the left / right margin handler.
  int MarginX(int id) const;
  // Shows the guide line at ruler x `x` across the editor; hides it for x < 0.
  void PlaceGuide(int x);
  void FireIndent(const TIndentEvent& event, int id);

  TControl* richedit_ = nullptr;
  int rulerTab_ = 10, minIndentDist_ = 50, factor_ = 1, tabDist_ = 10;
  int marginLeft_ = 30, marginRight_ = 20;
  int border_[4] = {5, 5, 5, 5};
  TRulerIndents indents_;
  bool show_[5] = {true, true, true, true, true};
  int dragIndent_ = -1, dragMargin_ = -1, grabOffset_ = 0;
  TPanel* guide_ = nullptr;
};
