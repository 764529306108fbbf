// The ruler: its scale, the rules its indents and margins keep, dragging markers and margin
// handlers with the events they fire, and the guide line across the attached editor.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gui/application.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/form.h"
#include "textcore/rich_edit.h"
#include "textcore/ruler.h"

namespace {

using M = TRulerMark;

TEST(RulerScale, TicksLinesAndNumbers) {
  // Tab distance 10: numbers every 40 pixels from the left margin, no "0".
  EXPECT_EQ(RulerMarks(35, 120, 10, 1, true),
            (std::vector<M>{{M::Large, 35, 0}, {M::Small, 45, 0}, {M::Large, 55, 0}, {M::Small, 65, 0},
                            {M::Number, 75, 1}, {M::Small, 85, 0}, {M::Large, 95, 0}, {M::Small, 105, 0},
                            {M::Number, 115, 2}}));
  // The factor multiplies the numbers; without numbers they stay large lines.
  auto withFactor = RulerMarks(0, 81, 10, 5, true);
  EXPECT_EQ(withFactor[4], (M{M::Number, 40, 5}));
  EXPECT_EQ(withFactor[8], (M{M::Number, 80, 10}));
  EXPECT_EQ(RulerMarks(0, 41, 10, 1, false)[4], (M{M::Large, 40, 0}));
  EXPECT_TRUE(RulerMarks(50, 50, 10, 1, true).empty());
}

TEST(RulerScale, SnapRoundsDown) {
  struct Case { int value, step, snapped; } cases[] = {{57, 10, 50}, {50, 10, 50}, {9, 10, 0}, {-3, 10, -10}, {7, 1, 7}};
  for (const auto& c : cases) EXPECT_EQ(SnapDown(c.value, c.step), c.snapped) << c.value << " by " << c.step;
}

TEST(RulerIndents, RulesOfNewValues) {
  TRulerIndents in;
  in.First = 20;
  in.Left = 20;
  in.Right = 170;
  struct Case { int id, value; bool allowed; } cases[] = {
      {iiLeft, 50, true},   {iiLeft, -1, false},    {iiLeft, 119, true},  {iiLeft, 120, false},  // right - 50
      {iiFirst, 120, false}, {iiFirst, 0, true},    {iiRight, 60, false}, {iiRight, 70, false},
      {iiRight, 71, true},  {iiRight, 295, true},   {iiRight, 296, false},  // width 300 - 4
  };
  for (const auto& c : cases)
    EXPECT_EQ(in.Allows(c.id, c.value, 300, 50), c.allowed) << "id " << c.id << " value " << c.value;
}

struct RulerForm {
  TForm form{nullptr};
  TanlRuler* ruler = new TanlRuler(&form);
  std::vector<std::string> events;
  RulerForm() {
    EnsureGuiApplication();
    form.SetBounds(0, 0, 400, 200);
    ruler->SetParent(&form);
    auto log = [this](const char* name) {
      return [this, name](TObject*, int id) { events.push_back(name + std::to_string(id)); };
    };
    ruler->OnIndentChange = log("change");
    ruler->OnIndentDrag = log("drag");
    ruler->OnIndentClick = log("click");
    ruler->OnIndentDblClick = log("dbl");
    ruler->OnMarginChange = log("mchange");
    ruler->OnMarginDrag = log("mdrag");
    ruler->OnMarginClick = log("mclick");
  }
  void Press(int x, int y, int extra = 0) {
    ruler->Perform(extra ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(x, y));
  }
  void Move(int x, int y) { ruler->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(x, y)); }
  void Release(int x, int y) { ruler->Perform(WM_LBUTTONUP, 0, MakeLParam(x, y)); }
};

TEST(Ruler, DefaultsAndSetters) {
  RulerForm f;
  TanlRuler* r = f.ruler;
  EXPECT_EQ(r->Width(), 300);
  EXPECT_EQ(r->Height(), 25);
  EXPECT_EQ(r->IndentFirst(), 45);
  EXPECT_EQ(r->IndentLeft(), 45);
  EXPECT_EQ(r->IndentRight(), 170);
  EXPECT_EQ(r->MarginLeft(), 30);
  EXPECT_EQ(r->MarginRight(), 20);
  r->SetIndentLeft(20);
  r->SetIndentFirst(20);
  r->SetMinIndentDist(50);
  r->SetIndentRight(60);  // 40 from the left indent: refused
  EXPECT_EQ(r->IndentRight(), 170);
  r->SetIndentRight(296);  // not less than width - 4
  EXPECT_EQ(r->IndentRight(), 170);
  // The box stands with the left indent.
  r->SetIndentLeft(70);
  EXPECT_EQ(r->MarkerRect(iiBox).Left, 70);
  // Margins: not negative, not beyond the width less the other margin and the side borders.
  r->SetMarginLeft(-1);
  r->SetMarginLeft(271);
  EXPECT_EQ(r->MarginLeft(), 30);
  r->SetMarginLeft(270);
  EXPECT_EQ(r->MarginLeft(), 270);
  // No drag: the setters fire nothing.
  EXPECT_TRUE(f.events.empty());
}

TEST(Ruler, IncAndDecIndentMoveLeftAndFirstTogether) {
  RulerForm f;
  TanlRuler* r = f.ruler;
  r->SetIndentFirst(30);
  r->IncIndent();
  EXPECT_EQ(r->IndentLeft(), 55);
  EXPECT_EQ(r->IndentFirst(), 40);
  r->DecIndent();
  r->DecIndent();
  EXPECT_EQ(r->IndentLeft(), 35);
  EXPECT_EQ(r->IndentFirst(), 20);
  EXPECT_EQ(f.events, (std::vector<std::string>{"change3", "change3", "change3"}));
  // Neither moves when one of them cannot: the first indent would turn negative.
  f.events.clear();
  r->SetIndentFirst(5);
  r->DecIndent();
  EXPECT_EQ(r->IndentLeft(), 35);
  EXPECT_EQ(r->IndentFirst(), 5);
  EXPECT_TRUE(f.events.empty());
}

TEST(Ruler, DraggingAMarkerSnapsAndFiresItsEvents) {
  RulerForm f;
  TanlRuler* r = f.ruler;
  const TRect left = r->MarkerRect(iiLeft);
  f.Press(left.Left, left.Top + 1);  // grabbed at its left edge
  EXPECT_EQ(r->DraggedIndent(), iiLeft);
  f.Move(57, left.Top + 1);
  EXPECT_EQ(r->IndentLeft(), 50);
  EXPECT_EQ(r->IndentFirst(), 45);
  f.Release(57, left.Top + 1);
  EXPECT_EQ(r->DraggedIndent(), -1);
  EXPECT_EQ(f.events, (std::vector<std::string>{"click1", "drag1", "change1"}));

  // The box moves both by the same snapped distance, the grab offset kept.
  f.events.clear();
  const TRect box = r->MarkerRect(iiBox);
  f.Press(box.Left + 4, box.Top + 1);
  f.Move(box.Left + 4 + 23, box.Top + 1);
  f.Release(box.Left + 4 + 23, box.Top + 1);
  EXPECT_EQ(r->IndentLeft(), 70);
  EXPECT_EQ(r->IndentFirst(), 65);
  EXPECT_EQ(f.events, (std::vector<std::string>{"click3", "drag3", "change3"}));

  // A double click fires its own event and starts no drag.
  f.events.clear();
  const TRect right = r->MarkerRect(iiRight);
  f.Press(right.Left + 2, right.Top + 1, /*double*/ 1);
  EXPECT_EQ(r->DraggedIndent(), -1);
  f.Move(right.Left + 40, right.Top + 1);
  EXPECT_EQ(r->IndentRight(), 170);
  EXPECT_EQ(f.events, (std::vector<std::string>{"dbl2"}));
}

TEST(Ruler, MarginHandlersDragTheMargins) {
  RulerForm f;
  TanlRuler* r = f.ruler;
  // Left handler at border 5 + margin 30 = 35, reached within 3 pixels.
  f.Press(38, 12);
  EXPECT_EQ(r->DraggedMargin(), miLeft);
  f.Move(25, 12);
  f.Release(25, 12);
  EXPECT_EQ(r->MarginLeft(), 20);
  // Right handler at 300 - 20 - 5 = 275.
  f.Press(272, 12);
  f.Move(260, 12);
  f.Release(260, 12);
  EXPECT_EQ(r->MarginRight(), 35);
  EXPECT_EQ(f.events, (std::vector<std::string>{"mclick0", "mdrag0", "mchange0", "mclick1", "mdrag1", "mchange1"}));
  // Four pixels away is no handler; hidden handlers take no press.
  f.Press(29, 12);
  EXPECT_EQ(r->DraggedMargin(), -1);
  r->SetShowMarginHandlers(false);
  f.Press(25, 12);
  EXPECT_EQ(r->DraggedMargin(), -1);
}

TEST(Ruler, GuideLineCrossesTheEditorWhileDragging) {
  RulerForm f;
  TRichEditW* editor = new TRichEditW(&f.form);
  editor->SetParent(&f.form);
  f.ruler->SetBounds(0, 0, 300, 25);
  editor->SetBounds(0, 25, 300, 150);
  f.ruler->SetRichedit(editor);
  f.form.Show();
  f.ruler->Repaint();  // paints scale, handlers and markers
  const TRect left = f.ruler->MarkerRect(iiLeft);
  f.Press(left.Left, left.Top + 1);
  ASSERT_NE(f.ruler->GuideLine(), nullptr);
  EXPECT_TRUE(f.ruler->GuideLine()->Visible());
  EXPECT_EQ(f.ruler->GuideLine()->BoundsRect(), Bounds(45 + 4, 25, 1, 150));
  f.Move(80, left.Top + 1);
  EXPECT_EQ(f.ruler->GuideLine()->Left(), 80 + 4);
  f.Release(80, left.Top + 1);
  EXPECT_FALSE(f.ruler->GuideLine()->Visible());
  f.ruler->SetShowNumbers(false);
  f.ruler->SetShowIndents(false);
  f.ruler->Repaint();
  EXPECT_EQ(f.ruler->MarkerAt(f.ruler->MarkerRect(iiLeft).Left, left.Top + 1), -1);  // hidden markers take no press
  // The editor going away leaves the ruler without one.
  delete editor;
  EXPECT_EQ(f.ruler->Richedit(), nullptr);
  f.Press(f.ruler->MarkerRect(iiLeft).Left, left.Top + 1);
  f.Release(10, 10);
}

}  // namespace
