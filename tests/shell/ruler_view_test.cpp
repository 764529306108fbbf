// The main window's ruler: paragraph indents to marker positions and back, "Show Ruler", and
// a marker dragged on the real window indenting the paragraph of the selection.
#include <gtest/gtest.h>

#include "platform/gui/control_grab.h"
#include "platform/gui/graphics.h"
#include "platform/gui/menus.h"
#include "shell/ruler_indents.h"
#include "tests/shell/operation_test_fixture.h"
#include "textcore/ruler.h"

namespace {

TEST(RulerIndentMapping, IndentsToMarkers) {
  struct Case { TParaIndents indents; int width; TRulerPositions markers; } cases[] = {
      {{0, 0, 0}, 400, {0, 0, 390}},
      {{30, 15, 12}, 400, {40, 60, 374}},
      {{10, -10, 0}, 300, {13, 0, 290}},  // a hanging first line
  };
  for (const auto& c : cases)
    EXPECT_EQ(RulerPositions(c.indents, c.width), c.markers) << c.indents.First << "/" << c.indents.Left;
}

TEST(RulerIndentMapping, MarkersToIndents) {
  const TParaIndents current{30, 15, 12};
  struct Case { int id; TRulerPositions markers; TParaIndents expected; } cases[] = {
      {iiLeft, {40, 80, 374}, {30, 30, 12}},   // other lines from the first line
      {iiFirst, {80, 60, 374}, {60, -15, 12}},  // the left indent stays where it was
      {iiRight, {40, 60, 350}, {30, 15, 30}},
      {iiBox, {60, 80, 374}, {45, 15, 12}},
  };
  for (const auto& c : cases) EXPECT_EQ(IndentsFromRuler(c.id, c.markers, 400, current), c.expected) << "id " << c.id;
  // Each marker's own round trip.
  for (int id : {iiFirst, iiLeft, iiRight})
    EXPECT_EQ(IndentsFromRuler(id, RulerPositions(current, 400), 400, current), current) << "id " << id;
}

class RulerViewTest : public OperationTest {
protected:
  void SetUp() override {
    OperationTest::SetUp();
    if (!form->ShowRuler1) form->ShowRuler1 = new TMenuItem(form);  // the main menu's item
    form->SetBounds(0, 0, 700, 500);
  }
  void Drag(int id, int toX) {
    TanlRuler* r = form->Ruler1;
    const TRect m = r->MarkerRect(id);
    r->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(m.Left, m.Top + 1));
    r->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(toX, m.Top + 1));
    r->Perform(WM_LBUTTONUP, 0, MakeLParam(toX, m.Top + 1));
  }
};

TEST_F(RulerViewTest, ShowRulerTogglesTheRulerAboveTheEditor) {
  ASSERT_NE(form->Ruler1, nullptr);
  EXPECT_FALSE(form->Ruler1->Visible());
  form->ShowRuler1Click(form->ShowRuler1);
  EXPECT_TRUE(form->ShowRuler1->Checked());
  EXPECT_TRUE(form->Ruler1->Visible());
  EXPECT_EQ(form->Ruler1->Richedit(), form->Editor);
  EXPECT_LE(form->Ruler1->Top() + form->Ruler1->Height(), form->Editor->Top());
  EXPECT_EQ(form->Ruler1->Width(), form->ClientWidth());
  form->ShowRuler1Click(form->ShowRuler1);
  EXPECT_FALSE(form->Ruler1->Visible());
}

TEST_F(RulerViewTest, MarkersFollowAndSetTheParagraphIndents) {
  form->ShowRuler1Click(form->ShowRuler1);
  SetText(u"first\rsecond\rthird");
  form->Editor->SetSelStart(7);  // in "second"
  TRichEditW& e = *form->Editor;
  WriteIndents(e, ReadIndents(e), {30, 15, 12});
  form->UpdateRuler();
  TanlRuler* r = form->Ruler1;
  const int w = r->Width();
  EXPECT_EQ(r->IndentFirst(), 40);
  EXPECT_EQ(r->IndentLeft(), 60);
  EXPECT_EQ(r->IndentRight(), w - 10 - 16);

  // The left marker dragged to 87 snaps to 80: other lines 60 points in, 30 from the first.
  Drag(iiLeft, 87);
  EXPECT_EQ(ReadIndents(e), (TParaIndents{30, 30, 12}));
  // The right marker at 640 of 700 pixels: 50 - 10 pixels from the end, 37.5 points.
  ASSERT_EQ(w, 700);
  Drag(iiRight, 641);
  EXPECT_EQ(r->IndentRight(), 640);
  EXPECT_EQ(ReadIndents(e).Right, 38);
  // The box moves the first line and keeps the others relative to it.
  Drag(iiBox, 60);
  EXPECT_EQ(ReadIndents(e).First, 15);
  EXPECT_EQ(ReadIndents(e).Left, 30);
  // Only the selection's paragraph was indented.
  form->Editor->SetSelStart(0);
  EXPECT_EQ(ReadIndents(e), (TParaIndents{0, 0, 0}));
  form->UpdateRuler();
  EXPECT_EQ(r->IndentLeft(), 0);
  EXPECT_EQ(r->IndentRight(), 690);
  // A narrower window keeps the right marker at its distance from the end.
  form->SetBounds(0, 0, 600, 500);
  EXPECT_EQ(r->Width(), 600);
  EXPECT_EQ(r->IndentRight(), 590);
}

// Pixels of the ruler's picture in the colour of live text (scale and markers).
int LivePixels(TanlRuler& ruler) {
  TBitmap picture;
  GrabControl(ruler, picture);
  const TColor live = ColorToRGB(clWindowText);
  int count = 0;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) count += picture.Canvas()->Pixel(x, y) == live;
  return count;
}

TEST_F(RulerViewTest, PlainTextLeavesTheRulerIdle) {
  form->ShowRuler1Click(form->ShowRuler1);
  SetText(u"formatted");
  form->UpdateRuler();
  ASSERT_GT(LivePixels(*form->Ruler1), 0);
  form->UpdateViewMode(true);
  SetText(u"plain\rtext");
  form->UpdateRuler();
  EXPECT_FALSE(form->Ruler1->Enabled());
  EXPECT_EQ(LivePixels(*form->Ruler1), 0);  // it looks disabled
  Drag(iiLeft, 87);                          // and takes no drag
  EXPECT_EQ(form->Ruler1->IndentLeft(), 0);
  form->Ruler1IndentChange(form->Ruler1, iiLeft);
  EXPECT_EQ(ReadIndents(*form->Editor), (TParaIndents{0, 0, 0}));
}

}  // namespace
