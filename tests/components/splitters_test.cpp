// Splitters: the two-pane splitter's limits, layout, proportional resizing and dragging, its
// place kept through a size too small for its panes; the bar between two controls: limits, Esc,
// the resize of the first control.
#include <gtest/gtest.h>

#include "components/adv_splitter.h"
#include "components/ex_splitter.h"
#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/gui/form_reader.h"
#include "platform/gui/std_controls.h"

namespace {

TEST(SplitValues, LimitsLayoutAndBar) {
  TSplitLimits l;  // thickness 2, minimum sizes 10, no frames
  EXPECT_EQ(ClampSplitPosition(5, 100, l), 10);
  EXPECT_EQ(ClampSplitPosition(95, 100, l), 87);
  EXPECT_EQ(ClampSplitPosition(50, 100, l), 50);
  l.Frame1 = 1;
  l.Frame2 = 2;
  EXPECT_EQ(ClampSplitPosition(0, 100, l), 14);
  EXPECT_EQ(ClampSplitPosition(99, 100, l), 80);
  // Limits that cross: the upper one wins.
  EXPECT_EQ(ClampSplitPosition(5, 20, TSplitLimits{2, 15, 0, 15, 0}), 2);
  EXPECT_EQ(SplitLayout(soHorizontal, 200, 100, 40, 2).Pane2, Bounds(0, 42, 200, 58));
  EXPECT_EQ(SplitLayout(soVertical, 200, 100, 40, 2).Pane1, Bounds(0, 0, 40, 100));
  EXPECT_EQ(SplitLayout(soVertical, 200, 100, 40, 2).Pane2, Bounds(42, 0, 158, 100));
  EXPECT_TRUE(OverSplitBar(40, 42, 2));
  EXPECT_FALSE(OverSplitBar(40, 43, 2));
}

struct SplitterForm {
  TForm form{nullptr};
  TAdvSplitter* splitter = new TAdvSplitter(&form);
  SplitterForm() {
    EnsureGuiApplication();
    splitter->SetParent(&form);
  }
};

TEST(AdvSplitter, DefaultsCentreSwapAndOnePaneFilling) {
  SplitterForm f;
  TAdvSplitter* s = f.splitter;
  EXPECT_EQ(s->Width(), 100);
  EXPECT_EQ(s->Orientation(), soVertical);
  EXPECT_EQ(s->Position(), 50);
  EXPECT_EQ(s->Thickness(), 2);
  EXPECT_EQ(s->Pane1()->MinSize(), 10);
  EXPECT_EQ(s->Pane1()->FrameStyle(), ftLowered);
  EXPECT_EQ(s->GetPane(3), nullptr);
  s->SetBounds(0, 0, 300, 200);
  s->Pane1()->SetFrameStyle(ftNone);
  s->Pane2()->SetFrameStyle(ftNone);
  s->CenterPanes();
  EXPECT_EQ(s->Position(), 149);
  EXPECT_EQ(s->Pane2()->BoundsRect(), Bounds(151, 0, 149, 200));
  s->SetOrientation(soHorizontal);
  s->CenterPanes();
  EXPECT_EQ(s->Position(), 99);
  TAdvPane* first = s->Pane1();
  s->SwapPanes();
  EXPECT_EQ(s->Pane2(), first);
  EXPECT_EQ(first->Top(), 101);
  // One pane hidden: the other fills the control and the bar cannot be dragged.
  s->Pane2()->SetVisible(false);
  s->LayoutPanes();
  EXPECT_EQ(s->Pane1()->BoundsRect(), Bounds(0, 0, 300, 200));
  s->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(10, 99));
  EXPECT_FALSE(s->Dragging());
}

TEST(AdvSplitter, ProportionalResizeKeepsTheFractionAndATinySizeLosesNothing) {
  SplitterForm f;
  TAdvSplitter* s = f.splitter;
  s->SetProportionalResize(true);
  s->SetBounds(0, 0, 400, 100);
  s->SetPosition(100);
  s->SetBounds(0, 0, 800, 100);
  EXPECT_EQ(s->Position(), 200);
  s->SetBounds(0, 0, 200, 100);
  EXPECT_EQ(s->Position(), 50);
  // A size the panes do not fit in (a window laid out before it has its size) keeps the place.
  s->SetBounds(0, 0, 0, 100);
  s->SetBounds(0, 0, 5, 100);
  s->SetBounds(0, 0, 800, 100);
  EXPECT_EQ(s->Position(), 200);
  // A stored place set while the control is still small waits for the real size.
  SplitterForm g;
  g.splitter->SetBounds(0, 0, 20, 20);
  g.splitter->SetPosition(300);
  EXPECT_EQ(g.splitter->Position(), 300);
  g.splitter->SetBounds(0, 0, 600, 400);
  EXPECT_EQ(g.splitter->Position(), 300);
}

TEST(AdvSplitter, DraggingTheBarMovesItWithinTheLimits) {
  SplitterForm f;
  TAdvSplitter* s = f.splitter;
  s->SetBounds(0, 0, 300, 100);
  s->Pane1()->SetFrameStyle(ftNone);
  s->Pane2()->SetFrameStyle(ftNone);
  s->SetPosition(100);
  int resized = 0;
  s->OnPaneResize = [&](TObject*) { ++resized; };
  s->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(101, 50));
  ASSERT_TRUE(s->Dragging());
  s->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(150, 50));
  EXPECT_EQ(s->Pane1()->Width(), 100);  // without AutoUpdate the panes wait for the release
  s->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(295, 50));  // beyond pane 2's minimum: ignored
  s->Perform(WM_LBUTTONUP, 0, MakeLParam(150, 50));
  EXPECT_FALSE(s->Dragging());
  EXPECT_EQ(s->Position(), 150);
  EXPECT_EQ(s->Pane1()->Width(), 150);
  EXPECT_GT(resized, 0);
  s->SetAutoUpdate(true);
  s->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(150, 50));
  s->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(60, 50));
  EXPECT_EQ(s->Pane1()->Width(), 60);
  s->Perform(WM_LBUTTONUP, 0, MakeLParam(60, 50));
}

TEST(AdvSplitter, PanesOfALayoutTakeTheirSlotByTag) {
  EnsureGuiApplication();
  TForm form(nullptr);
  ReadLayout(form, R"(
object F: TForm
  Width = 400
  Height = 300
  object HistPanes: TAdvSplitter
    Align = alClient
    Orientation = soHorizontal
    Position = 120
    object Top1: TAdvPane
      Tag = 1
      object Memo1: TMemo
        Align = alClient
      end
    end
    object Bottom1: TAdvPane
      Tag = 2
    end
  end
end
)", "split.qfm");
  auto* s = dynamic_cast<TAdvSplitter*>(form.FindComponent("HistPanes"));
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Pane1(), form.FindComponent("Top1"));
  EXPECT_EQ(s->Pane2(), form.FindComponent("Bottom1"));
  EXPECT_EQ(s->Position(), 120);
  EXPECT_EQ(s->Pane1()->Height(), 120);
}

TEST(ExSplitter, DragResizesTheFirstControlWithinLimitsAndEscCancels) {
  EnsureGuiApplication();
  EXPECT_EQ(ClampToArea({5, 300}, Rect(20, 20, 180, 280)), (TPoint{20, 280}));
  EXPECT_EQ(SplitResize(100, 50, 30), 130);
  EXPECT_EQ(SplitResize(100, 50, 80), 149);
  EXPECT_EQ(SplitResize(100, 50, -200), 1);
  TForm form(nullptr);
  form.SetBounds(0, 0, 400, 300);
  auto* panel = new TPanel(&form);
  auto* memo = new TMemo(&form);
  auto* bar = new TExSplitter(&form);
  EXPECT_EQ(bar->Height(), 3);
  EXPECT_EQ(bar->Width(), 185);
  for (TControl* c : std::initializer_list<TControl*>{panel, memo, bar}) c->SetParent(&form);
  panel->SetBounds(0, 0, 100, 300);
  bar->SetBounds(100, 0, 3, 300);
  memo->SetBounds(103, 0, 297, 300);
  bar->SetControlFirst(panel);
  bar->SetControlSecond(memo);
  bar->SetControlSecond(&form);  // a form is refused
  EXPECT_EQ(bar->ControlSecond(), nullptr);
  bar->SetControlSecond(memo);
  EXPECT_EQ(bar->EffectiveAlign(), alLeft);
  // Esc cancels: nothing changes.
  bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(1, 10));
  bar->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(60, 10));
  uint16_t esc = VK_ESCAPE;
  form.OnKeyDown(&form, esc, 0);
  EXPECT_FALSE(bar->Dragging());
  bar->Perform(WM_LBUTTONUP, 0, MakeLParam(60, 10));
  EXPECT_EQ(panel->Width(), 100);
  EXPECT_TRUE(Application->ShowHint());
  // A drag to the far edge stops 20 pixels before it.
  bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(1, 10));
  bar->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(1000, 10));
  bar->Perform(WM_LBUTTONUP, 0, MakeLParam(1000, 10));
  EXPECT_EQ(panel->Width(), 100 + (380 - 101));
  // A refused move changes nothing.
  const int before = panel->Width();
  bar->OnPosChanging = [](TObject*, int, int, bool& allow) { allow = false; };
  bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(1, 10));
  bar->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(-50, 10));
  bar->Perform(WM_LBUTTONUP, 0, MakeLParam(-50, 10));
  EXPECT_EQ(panel->Width(), before);
}

}  // namespace
