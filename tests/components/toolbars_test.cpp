// Docks and toolbars: the arrangement of rows, the layout of a toolbar's controls, the floating
// frame and keeping it on the screen, the saved placement of every toolbar (one registry subkey
// each), docking and floating, the toolbar controls and the program's own glyphs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QWidget>

#include <map>

#include "components/flat_dock.h"
#include "components/toolbar_controls.h"
#include "components/toolbar_glyphs.h"
#include "platform/exceptions.h"
#include "platform/gui/control_grab.h"
#include "platform/gui/graphics.h"
#include "platform/gui/application.h"
#include "platform/gui/actions.h"
#include "platform/gui/float_window.h"
#include "platform/gui/image_list.h"
#include "platform/gui/qt_bridge.h"
#include "platform/gui/form.h"
#include "platform/gui/form_reader.h"
#include "platform/gui/menus.h"
#include "platform/gui/mouse_send.h"
#include "tests/platform/temp_folder.h"
#include "textcore/win_registry.h"

namespace {

TEST(ToolbarLayout, DockRowsSideBySidePushedBackAndWithoutGaps) {
  // Same row, overlapping places: side by side.
  auto a = ArrangeDock({{0, 0, 100, 20}, {0, 50, 80, 22}}, 500, false, false);
  EXPECT_EQ(a.Bars[1].Pos, 100);
  EXPECT_EQ(a.RowSizes, std::vector<int>{26});
  EXPECT_EQ(a.Thickness, 26);
  // A row longer than the dock is pushed back from its end, never before 0.
  a = ArrangeDock({{0, 0, 100, 20}, {0, 150, 100, 20}}, 220, false, false);
  EXPECT_EQ(a.Bars[0].Pos, 0);
  EXPECT_EQ(a.Bars[1].Pos, 120);
  a = ArrangeDock({{0, 0, 300, 20}, {0, 0, 100, 20}}, 220, false, false);
  EXPECT_EQ(a.Bars[0].Pos, 0);
  // Empty rows are removed (two in a row too); thin bars count as 8; offsets follow the rows.
  a = ArrangeDock({{0, 0, 50, 2}, {3, 0, 50, 20}, {5, 10, 50, 30}}, 500, false, false);
  EXPECT_EQ(a.Bars[1].Row, 1);
  EXPECT_EQ(a.Bars[2].Row, 2);
  EXPECT_EQ(a.RowSizes, (std::vector<int>{12, 24, 34}));
  EXPECT_EQ(a.Offsets, (std::vector<int>{0, 12, 36}));
  a = ArrangeDock({{2, 0, 50, 20}, {4, 0, 50, 20}}, 500, true, false);
  EXPECT_EQ(a.Bars[1].Row, 0);
  EXPECT_EQ(a.Bars[1].Pos, 50);
  // An empty dock: 1 pixel with FixAlign, else 0.
  EXPECT_EQ(ArrangeDock({}, 500, false, true).Thickness, 1);
  EXPECT_EQ(ArrangeDock({}, 500, false, false).Thickness, 0);
}

TEST(ToolbarLayout, FloatingFrameScreenAndDropRows) {
  const TRect work = Rect(0, 0, 1000, 700);
  EXPECT_EQ(MoveRectOnScreen(Rect(950, 650, 1050, 720), work, false), Rect(900, 630, 1000, 700));
  EXPECT_EQ(MoveRectOnScreen(Rect(-50, -20, 50, 30), work, false), Rect(0, 0, 100, 50));
  EXPECT_EQ(MoveRectOnScreen(Rect(-100, -100, 1200, 900), work, false), Rect(0, 0, 1300, 1000));
  EXPECT_EQ(MoveRectOnScreen(Rect(950, 650, 1050, 700), work, true), Rect(950, 650, 1050, 700));
  EXPECT_EQ(MoveRectOnScreen(Rect(2000, 50, 2100, 80), work, true), Rect(900, 50, 1000, 80));
  EXPECT_EQ(AddFloatFrame(Rect(10, 20, 110, 50), 3, 14), Rect(7, 20, 113, 70));
  EXPECT_EQ(RemoveFloatFrame(AddFloatFrame(Rect(10, 20, 110, 50), 3, 14), 3, 14), Rect(10, 20, 110, 50));
  bool newRow = false;
  EXPECT_EQ(DropRow({26, 26}, 13, newRow), 0);
  EXPECT_FALSE(newRow);
  EXPECT_EQ(DropRow({26, 26}, 3, newRow), 0);
  EXPECT_TRUE(newRow);
  EXPECT_EQ(DropRow({26, 26}, 28, newRow), 1);
  EXPECT_TRUE(newRow);
  EXPECT_EQ(DropRow({26, 26}, 40, newRow), 1);
  EXPECT_FALSE(newRow);
  EXPECT_EQ(DropRow({26, 26}, 90, newRow), 2);
  EXPECT_TRUE(newRow);
}

TEST(ToolbarLayout, ADockTakesADraggedToolbarNearIt) {
  const TRect top = Rect(0, 0, 500, 26), empty = Rect(0, 300, 500, 300), side = Rect(0, 0, 26, 400);
  struct Case {
    const char* what;
    TRect dock;
    TDockType type;
    TPoint p;
    double gx, gy;
    bool takes;
  } const cases[] = {
      {"inside", top, dtTopBottom, {50, 10}, 0.5, 0.5, true},
      {"15 above, hanging down", top, dtTopBottom, {50, -15}, 0.1, 0, true},
      {"25 above", top, dtTopBottom, {50, -25}, 0.1, 0, false},
      {"15 above, hanging up", top, dtTopBottom, {50, -15}, 0.1, 1, false},
      {"15 below, hanging up", top, dtTopBottom, {50, 41}, 0.1, 1, true},
      {"30 left, hanging right", top, dtTopBottom, {-30, 10}, 0, 0.5, true},
      {"30 left, hanging left", top, dtTopBottom, {-30, 10}, 1, 0.5, false},
      {"an empty dock", empty, dtTopBottom, {50, 305}, 0.5, 0.5, true},
      {"beside a side dock", side, dtLeftRight, {30, 100}, 0.5, 0.5, true},
      {"below a side dock", side, dtLeftRight, {10, 405}, 0.5, 0.5, false},
  };
  for (const Case& c : cases) {
    const int w = 100, h = 26;  // the toolbar there, gripped at (gx, gy)
    const TRect bar = Bounds(c.p.X - int(c.gx * w), c.p.Y - int(c.gy * h), w, h);
    EXPECT_EQ(DockTakes(c.dock, c.type, c.p, c.gx, c.gy, bar), c.takes) << c.what;
  }
  // Near enough, but the toolbar would not meet the dock.
  EXPECT_FALSE(DockTakes(top, dtTopBottom, {50, -15}, 0.1, 0, Bounds(40, -60, 100, 26)));
}

TEST(ToolbarLayout, ControlMarginsAndSeparatorLineBreaks) {
  const std::vector<TBarItem> items = {{23, 22}, {23, 22}, {6, 22, true}, {23, 22}, {40, 20}};
  // Docked top with a drag handle: start 11, end 2, before 2, after 2.
  TBarLayout l = LayoutBar(items, dtTopBottom, true, 0);
  EXPECT_EQ(l.Places[0], Bounds(11, 2, 23, 22));
  EXPECT_EQ(l.Places[2], Bounds(57, 2, 6, 22));
  EXPECT_EQ(l.Places[4], Bounds(86, 3, 40, 20));  // centred across the line
  EXPECT_EQ(l.Width, 128);
  EXPECT_EQ(l.Height, 26);
  // Without a handle a docked line starts at 2.
  EXPECT_EQ(LayoutBar(items, dtTopBottom, false, 0).Places[0].Left, 2);
  // Floating, wrapped after the separator: it collapses and the line advances by thickness + 6.
  l = LayoutBar(items, dtNotDocked, true, 60);
  EXPECT_EQ(l.Places[0], Bounds(4, 2, 23, 22));
  EXPECT_EQ(l.Collapsed, std::vector<int>{2});
  EXPECT_EQ(l.BreakLines, std::vector<int>{30});  // where the etched line goes
  EXPECT_EQ(l.Places[3], Bounds(4, 30, 23, 22));
  EXPECT_EQ(l.Places[4].Top, 52 + 1);  // a single control that does not fit: one thickness
  EXPECT_EQ(l.Height, 52 + 22 + 1);
  // Left/right docks use the separators' vertical size and lay the controls out downwards.
  l = LayoutBar({{23, 22}, {6, 22, true, true, 6, 9}, {23, 22}}, dtLeftRight, false, 0);
  EXPECT_EQ(l.Places[1], Bounds(2, 24, 23, 9));
  EXPECT_EQ(l.Places[2].Top, 33);
}

TEST(ToolbarLayout, FloatingSizesPartsAndCaption) {
  const std::vector<TBarItem> items = {{23, 22}, {23, 22}, {6, 22, true}, {23, 22}, {40, 20}};
  // Every size a wrap width gives, widest first; the wrap width reproduces it.
  const std::vector<TFloatSize> sizes = FloatSizes(items);
  ASSERT_GE(sizes.size(), 3u);
  EXPECT_EQ(sizes.front().Width, LayoutBar(items, dtNotDocked, true, 0).Width);
  EXPECT_EQ(sizes.front().Height, 25);
  for (size_t i = 0; i < sizes.size(); ++i) {
    const TBarLayout l = LayoutBar(items, dtNotDocked, true, sizes[i].Wrap);
    EXPECT_EQ(l.Width, sizes[i].Width);
    EXPECT_EQ(l.Height, sizes[i].Height);
    if (i > 0) EXPECT_TRUE(sizes[i].Width < sizes[i - 1].Width || sizes[i].Height != sizes[i - 1].Height);
  }
  EXPECT_EQ(NearestFloatSize(sizes, true, 1000).Width, sizes.front().Width);
  EXPECT_EQ(NearestFloatSize(sizes, false, 1000).Height, sizes.back().Height);
  EXPECT_EQ(NearestFloatSize(sizes, true, sizes[1].Width + 1).Wrap, sizes[1].Wrap);
  // A window 100 x 60 with a frame of 3 and a caption of 14: the close button is 13 square.
  EXPECT_EQ(FloatCloseRect(100, 3, 14), Rect(84, 3, 97, 16));
  struct Part { TPoint p; bool close; TFloatPart part; };
  for (const Part& k : std::vector<Part>{{{90, 8}, true, fpClose}, {{90, 8}, false, fpClient},
                                         {{1, 30}, true, fpLeft}, {{98, 30}, true, fpRight},
                                         {{50, 1}, true, fpTop}, {{50, 58}, true, fpBottom},
                                         {{1, 1}, true, fpClient}, {{98, 58}, true, fpClient},
                                         {{20, 8}, true, fpClient}, {{50, 30}, true, fpClient}})
    EXPECT_EQ(FloatHitTest(k.p, 100, 60, 3, 14, k.close), k.part) << k.p.X << "," << k.p.Y;
  // Captions: one character a pixel.
  auto measure = [](const std::string& t) { return int(t.size()); };
  EXPECT_EQ(FitCaption("Convert", 7, measure), "Convert");
  EXPECT_EQ(FitCaption("Paragraph", 8, measure), "Parag...");
  EXPECT_EQ(FitCaption("Paragraph", 2, measure), "Para...");  // never fewer than 4 before the dots
}

// A form with two docks and two toolbars, made from a layout.
const char* const kLayout = R"(
object F: TForm
  Width = 600
  Height = 400
  object DockTop: TFlatDock
    object TBFile: TFlatToolbar
      Caption = 'File'
      object BtnNew: TFlatToolbarButton
        GlyphName = 'FileNew'
      end
      object Sep1: TFlatToolbarSep
      end
      object BtnOpen: TFlatToolbarButton
        GlyphName = 'FileOpen'
      end
    end
    object TBEdit: TFlatToolbar
      Caption = 'Edit'
      DockPos = 157
      object BtnCut: TFlatToolbarButton
        GlyphName = 'EditCut'
      end
    end
  end
  object DockBottom: TFlatDock
    Position = dpBottom
    FixAlign = True
  end
end
)";

struct ToolbarForm {
  TForm form{nullptr};
  TFlatDock *top = nullptr, *bottom = nullptr;
  TFlatToolbar *file = nullptr, *edit = nullptr;
  ToolbarForm() {
    EnsureGuiApplication();
    ReadLayout(form, kLayout, "toolbars.qfm");
    top = dynamic_cast<TFlatDock*>(form.FindComponent("DockTop"));
    bottom = dynamic_cast<TFlatDock*>(form.FindComponent("DockBottom"));
    file = dynamic_cast<TFlatToolbar*>(form.FindComponent("TBFile"));
    edit = dynamic_cast<TFlatToolbar*>(form.FindComponent("TBEdit"));
  }
};

TEST(FlatDock, ToolbarsArrangeInTheirDockAndMoveBetweenDocks) {
  ToolbarForm f;
  ASSERT_TRUE(f.top && f.file && f.edit);
  EXPECT_EQ(f.file->DockedTo(), f.top);
  EXPECT_EQ(f.top->Toolbars().size(), 2u);
  EXPECT_EQ(f.edit->Left(), 157);
  EXPECT_EQ(f.top->Height(), 26);
  EXPECT_EQ(f.bottom->Height(), 1);  // empty, FixAlign
  EXPECT_EQ(f.file->Width(), 11 + 23 + 6 + 23 + 2);
  // Into the bottom dock and out to float; back by double-click into the default dock.
  f.edit->SetDockedTo(f.bottom);
  EXPECT_EQ(f.bottom->Height(), 26);
  EXPECT_EQ(f.top->Toolbars().size(), 1u);
  f.edit->ToggleDocking();
  EXPECT_TRUE(f.edit->Floating());
  f.edit->ToggleDocking();  // no default dock: nothing happens
  EXPECT_TRUE(f.edit->Floating());
  f.edit->SetDefaultDock(f.top);
  f.edit->ToggleDocking();
  EXPECT_EQ(f.edit->DockedTo(), f.top);
  EXPECT_EQ(f.edit->DockRow(), 0);
  EXPECT_EQ(f.edit->DockPos(), 0);  // before all others
  EXPECT_EQ(f.file->Left(), f.edit->Width());
  // Errors.
  EXPECT_THROW(f.top->SetPosition(dpLeft), EInvalidOperation);
  EXPECT_THROW(f.top->SetVisible(false), EInvalidOperation);
  auto* sep = new TFlatToolbarSep(&f.form);
  EXPECT_THROW(sep->SetParent(&f.form), EInvalidOperation);
  EXPECT_THROW(new TFlatDock(f.file), EInvalidOperation);
}

// A dock made after a toolbar goes before it when their form is freed (last made, first
// freed): the toolbars in it let go of it, and freeing them later touches no freed dock.
TEST(FlatDock, ToolbarsOutliveADockMadeAfterThem) {
  EnsureGuiApplication();
  auto* form = new TForm(nullptr);
  ReadLayout(*form, kLayout, "toolbars.qfm");
  auto* bottom = dynamic_cast<TFlatDock*>(form->FindComponent("DockBottom"));
  auto* file = dynamic_cast<TFlatToolbar*>(form->FindComponent("TBFile"));
  auto* edit = dynamic_cast<TFlatToolbar*>(form->FindComponent("TBEdit"));
  ASSERT_TRUE(bottom && file && edit);
  ASSERT_LT(file->ComponentIndex(), bottom->ComponentIndex());
  file->SetDockedTo(bottom);
  edit->SetDockedTo(bottom);
  TComponent::Free(bottom);
  EXPECT_EQ(file->DockedTo(), nullptr);
  EXPECT_EQ(edit->DockedTo(), nullptr);
  EXPECT_EQ(file->Parent(), nullptr);
  TComponent::Free(file);
  TComponent::Free(form);
  // The whole form, freed with a toolbar in the later dock.
  form = new TForm(nullptr);
  ReadLayout(*form, kLayout, "toolbars.qfm");
  dynamic_cast<TFlatToolbar*>(form->FindComponent("TBFile"))
      ->SetDockedTo(dynamic_cast<TFlatDock*>(form->FindComponent("DockBottom")));
  TComponent::Free(form);
}

TEST(FlatDock, TheFloatingWindowsCloseButtonHidesTheToolbar) {
  ToolbarForm f;
  f.form.Show();
  int closed = 0;
  f.file->OnClose = [&](TObject*) { ++closed; };
  f.file->SetDockedTo(nullptr);
  ASSERT_TRUE(f.file->Floating());
  // The close button the toolbar draws at the right of its caption: pushed while held on it.
  const TRect close = FloatCloseRect(f.file->Width(), FloatFrameWidth(), FloatCaptionHeight());
  const TPoint on = f.file->ClientToScreen(Point(close.Left + 2, close.Top + 2));
  SendMouseAt(TMouseAction::Press, on);
  SendMouseAt(TMouseAction::Move, Point(on.X - 30, on.Y));
  SendMouseAt(TMouseAction::Release, Point(on.X - 30, on.Y));  // let go elsewhere: nothing
  EXPECT_TRUE(f.file->Visible());
  SendMouseAt(TMouseAction::Press, on);
  SendMouseAt(TMouseAction::Release, on);
  EXPECT_FALSE(f.file->Visible());
  EXPECT_EQ(closed, 1);
  f.file->Show();
  f.file->Widget()->close();  // a close asked for by the window system
  EXPECT_FALSE(f.file->Visible());
  EXPECT_EQ(closed, 2);
  std::map<std::string, int> saved;
  SaveToolbarPositions(f.form, [&](const std::string& s, const std::string& n, int v) { saved[s + "." + n] = v; },
                       [](const std::string&, const std::string&, const std::string&) {});
  EXPECT_EQ(saved["TBFile.Visible"], 0);
}

// The mouse drags a toolbar out of its dock by a separator, moves the floating window by its
// separator, sizes it by its right edge (the controls wrap into lines instead of being cut off)
// and docks it again by its caption.
TEST(FlatDock, TheMouseDragsSizesAndDocksAToolbar) {
  ToolbarForm f;
  f.form.SetBounds(100, 100, 600, 400);
  f.form.Show();
  Application->ProcessMessages();
  auto* sep = dynamic_cast<TControl*>(f.form.FindComponent("Sep1"));
  auto drag = [](TPoint from, TPoint to, TShiftState shift = 0) {
    SendMouseAt(TMouseAction::Press, from);
    SendMouseAt(TMouseAction::Move, Point((from.X + to.X) / 2, (from.Y + to.Y) / 2), shift);
    SendMouseAt(TMouseAction::Move, to, shift);
    SendMouseAt(TMouseAction::Release, to, shift);
  };
  // Docked: a press on the separator is the toolbar's.
  drag(sep->ClientToScreen(Point(3, 10)), f.form.ClientToScreen(Point(300, 200)));
  ASSERT_TRUE(f.file->Floating());
  EXPECT_TRUE(f.top->Toolbars().size() == 1 && f.top->Toolbars()[0] == f.edit);
  const TPoint origin = f.file->ControlOrigin();
  EXPECT_EQ(origin, Point(FloatFrameWidth(), FloatFrameWidth() + FloatCaptionHeight()));
  // Floating: the separator moves the window.
  const TRect before = f.file->BoundsRect();
  drag(sep->ClientToScreen(Point(3, 10)), Point(sep->ClientToScreen(Point(3, 10)).X + 40, sep->ClientToScreen(Point(3, 10)).Y + 30));
  EXPECT_EQ(f.file->Left(), before.Left + 40);
  EXPECT_EQ(f.file->Top(), before.Top + 30);
  EXPECT_EQ(f.file->FloatingRect().Left, f.file->Left() + FloatFrameWidth());
  // The right edge pulled in: the buttons go onto lines of their own, all inside the frame.
  const TRect wide = f.file->BoundsRect();
  const TPoint edge = f.file->ClientToScreen(Point(wide.Width() - 1, wide.Height() / 2));
  drag(edge, Point(edge.X - 30, edge.Y));
  EXPECT_NE(f.file->FloatRightX(), 0);
  EXPECT_LT(f.file->Width(), wide.Width());
  EXPECT_GT(f.file->Height(), wide.Height());
  EXPECT_EQ(f.file->Left(), wide.Left);  // the left edge stays
  for (const char* name : {"BtnNew", "BtnOpen"}) {
    auto* b = dynamic_cast<TControl*>(f.form.FindComponent(name));
    EXPECT_GE(b->Left(), origin.X) << name;
    EXPECT_GE(b->Top(), origin.Y) << name;
    EXPECT_LE(b->Left() + b->Width(), f.file->Width() - FloatFrameWidth()) << name;
    EXPECT_LE(b->Top() + b->Height(), f.file->Height() - FloatFrameWidth()) << name;
  }
  EXPECT_GT(f.form.FindComponent("BtnOpen") ? dynamic_cast<TControl*>(f.form.FindComponent("BtnOpen"))->Top() : 0,
            dynamic_cast<TControl*>(f.form.FindComponent("BtnNew"))->Top());
  // Held Ctrl keeps it floating over a dock; without Ctrl the caption drags it into the dock.
  const TPoint caption = f.file->ClientToScreen(Point(origin.X + 8, FloatFrameWidth() + 2));
  const TPoint overBottom = f.bottom->ClientToScreen(Point(200, 0));
  drag(caption, f.bottom->ClientToScreen(Point(400, 0)), ssCtrl);
  EXPECT_TRUE(f.file->Floating());
  drag(f.file->ClientToScreen(Point(origin.X + 8, FloatFrameWidth() + 2)), overBottom);
  EXPECT_EQ(f.file->DockedTo(), f.bottom);
  EXPECT_EQ(f.bottom->Toolbars().size(), 1u);
  EXPECT_EQ(f.file->Top(), 0);
  EXPECT_EQ(dynamic_cast<TControl*>(f.form.FindComponent("BtnNew"))->Top(), 2);  // one line again, no frame
}

TEST(FlatDock, PlacementsRoundTripThroughTheRegistry) {
  TempFolder folder;
  ScopedEnv config("QUILLOMARK_CONFIG_DIR", folder.Name());
  const std::string key = "Software\\Vortanel\\Quillomark\\ToolbarPos";
  {
    ToolbarForm f;
    // A key without values leaves every toolbar where the form put it.
    LoadToolbarPositionsFromRegistry(f.form, key);
    EXPECT_EQ(f.edit->Left(), 157);
    f.edit->SetDockedTo(f.bottom);
    f.file->SetDockedTo(nullptr);
    f.file->SetBounds(200, 150, f.file->Width(), f.file->Height());
    f.file->Hide();  // a hidden floating toolbar keeps its real place
    SaveToolbarPositionsToRegistry(f.form, key);
    TWinRegistry reg(key);
    EXPECT_EQ(reg.ReadString("TBFile", "DockedTo", ""), "nil");
    EXPECT_EQ(reg.ReadInteger("TBFile", "Visible", -1), 0);
    EXPECT_EQ(reg.ReadInteger("TBFile", "FloatLeft", -1), 200 + FloatFrameWidth());  // less the frame
    EXPECT_EQ(reg.ReadString("TBEdit", "DockedTo", ""), "DockBottom");
    EXPECT_EQ(reg.ReadInteger("TBEdit", "DockRow", -1), 0);
  }
  ToolbarForm f;
  {
    TWinRegistry reg(key);
    ASSERT_EQ(reg.ReadString("TBEdit", "DockedTo", ""), "DockBottom");
  }
  LoadToolbarPositionsFromRegistry(f.form, key);
  EXPECT_EQ(f.edit->DockedTo(), f.bottom);
  EXPECT_TRUE(f.file->Floating());
  EXPECT_FALSE(f.file->Visible());
  EXPECT_EQ(f.file->Left(), 200);
  EXPECT_EQ(f.file->Top(), 150);
  // A dock name that no longer exists leaves the toolbar where it is.
  TWinRegistry(key).WriteString("TBEdit", "DockedTo", "DockGone");
  ToolbarForm g;
  LoadToolbarPositionsFromRegistry(g.form, key);
  EXPECT_EQ(g.edit->DockedTo(), g.top);
}

// A named glyph is drawn when it is needed: a painted button shows it, asking for the glyph
// gives it, and a glyph set afterwards (a colour bar added) is what the button paints.
TEST(FlatToolbarButton, NamedGlyphIsDrawnWhenNeeded) {
  ToolbarForm f;
  f.form.Show();
  auto* button = dynamic_cast<TFlatToolbarButton*>(f.form.FindComponent("BtnNew"));
  ASSERT_NE(button, nullptr);
  button->SetDisplayMode(dmGlyphOnly);
  TBitmap expected, shot;
  ASSERT_TRUE(DrawToolbarGlyph("EditCut", expected));
  const auto painted = [&](TBitmap& glyph) {
    GrabControl(*button, shot);
    int same = 0;  // the glyph's own pixels found in the painted button, centred
    const int dx = (shot.Width() - 16) / 2, dy = (shot.Height() - 16) / 2;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        same += glyph.Canvas()->Pixel(x, y) != clFuchsia && shot.Canvas()->Pixel(x + dx, y + dy) == glyph.Canvas()->Pixel(x, y);
    return same;
  };
  button->SetGlyphName("EditCut");
  EXPECT_GT(painted(expected), 20);
  button->SetGlyphName("FileOpen");
  TBitmap open;
  open.Assign(*button->Glyph());
  TBitmap drawn;
  ASSERT_TRUE(DrawToolbarGlyph("FileOpen", drawn));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_EQ(open.Canvas()->Pixel(x, y), drawn.Canvas()->Pixel(x, y)) << x << "," << y;
  button->SetGlyphName("EditCut");
  TBitmap barred;
  barred.Assign(*button->Glyph());
  barred.Canvas()->Brush()->SetColor(clBlue);
  barred.Canvas()->FillRect(Rect(1, 12, 15, 16));
  button->SetGlyph(barred);
  EXPECT_EQ(button->Glyph()->Canvas()->Pixel(8, 14), clBlue);
  EXPECT_GT(painted(barred), 40);
}

// Pixels of a control as it is on the screen.
QImage Picture(TControl* c) {
  Application->ProcessMessages();
  return c->Widget()->grab().toImage();
}

// Rows of the picture that hold a pixel darker than mid grey (text).
int InkedRows(const QImage& image) {
  int rows = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 100) {
        ++rows;
        break;
      }
  return rows;
}

TEST(FlatToolbarButton, ActionImageWordWrapAndAccelerator) {
  ToolbarForm f;
  auto* images = new TImageList(&f.form);
  images->SetWidth(16);
  images->SetHeight(16);
  TBitmap red(16, 16);
  red.Canvas()->Brush()->SetColor(clRed);
  red.Canvas()->FillRect(Rect(0, 0, 16, 16));
  images->Add(red);
  auto* list = new TActionList(&f.form);
  list->SetImages(images);
  auto* action = new TAction(&f.form);
  action->SetActionList(list);
  action->SetCaption("&Zoom in now");
  action->SetImageIndex(0);
  int executed = 0;
  action->OnExecute = [&](TObject*) { ++executed; };
  // An empty glyph takes the action's image; a glyph of its own stays.
  auto* zoom = new TFlatToolbarButton(&f.form);
  zoom->SetParent(f.file);
  zoom->SetAction(action);
  ASSERT_FALSE(zoom->Glyph()->Empty());
  EXPECT_EQ(zoom->Glyph()->Canvas()->Pixel(8, 8), clRed);
  EXPECT_EQ(zoom->Caption(), "&Zoom in now");
  auto* own = dynamic_cast<TFlatToolbarButton*>(f.form.FindComponent("BtnOpen"));
  own->SetAction(action);
  EXPECT_NE(own->Glyph()->Canvas()->Pixel(8, 8), clRed);
  own->SetAction(nullptr);
  own->SetCaption("");  // the caption stays with the button
  // Word wrap: the caption takes several lines of a narrow, high button.
  zoom->SetDisplayMode(dmTextOnly);
  zoom->SetBounds(zoom->Left(), zoom->Top(), 44, 60);
  f.form.Show();
  const int oneLine = InkedRows(Picture(zoom));
  zoom->SetWordWrap(true);
  EXPECT_GT(InkedRows(Picture(zoom)), 2 * oneLine);
  // Alt with the accelerator clicks the button whose caption shows; a glyph-only one, or a
  // disabled one, is not clicked.
  auto* edit = new TFlatEdit(&f.form);
  edit->SetParent(f.edit);
  edit->SetFocus();
  auto altZ = [edit] {  // as the window system sends it: the key with its character
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Z, Qt::AltModifier, "z");
    QApplication::sendEvent(edit->Widget(), &press);
  };
  altZ();
  EXPECT_EQ(executed, 1);
  zoom->SetDisplayMode(dmGlyphOnly);
  altZ();
  EXPECT_EQ(executed, 1);
  zoom->SetDisplayMode(dmBoth);
  action->SetEnabled(false);
  altZ();
  EXPECT_EQ(executed, 1);
}

// The flat edit's border: flat in button face while not in use; a sunken edge while it has the
// focus, or the mouse while no other flat edit has the focus.
TEST(FlatEdit, BorderShowsOnlyWhileInUse) {
  ToolbarForm f;
  auto* first = new TFlatEdit(&f.form);
  auto* second = new TFlatEdit(&f.form);
  first->SetParent(f.edit);
  second->SetParent(f.file);
  f.form.Show();
  const QRgb face = QColor(ToQColor(clBtnFace)).rgb(), shadow = QColor(ToQColor(clBtnShadow)).rgb(),
             window = QColor(ToQColor(clWindow)).rgb();
  auto corner = [](TControl* c, int at) { return Picture(c).pixel(at, at); };
  EXPECT_EQ(corner(first, 0), face);
  EXPECT_EQ(corner(first, 1), face);
  EXPECT_EQ(corner(first, 2), window);
  first->SetFocus();
  EXPECT_TRUE(first->InUse());
  EXPECT_EQ(corner(first, 0), shadow);
  EXPECT_EQ(corner(first, 1), face);
  // The mouse over the other one: it lights up only while no flat edit has the focus.
  QEvent enter(QEvent::Enter);
  QApplication::sendEvent(second->Widget(), &enter);
  EXPECT_FALSE(second->InUse());
  EXPECT_EQ(corner(second, 0), face);
  first->Widget()->clearFocus();
  Application->ProcessMessages();
  EXPECT_TRUE(second->InUse());
  EXPECT_EQ(corner(second, 0), shadow);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(second->Widget(), &leave);
  EXPECT_EQ(corner(second, 0), face);
}

TEST(FlatToolbarButton, DropdownComboWidthMenuPlaceAndGlyphs) {
  ToolbarForm f;
  auto* button = dynamic_cast<TFlatToolbarButton*>(f.form.FindComponent("BtnNew"));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->Width(), 23);
  EXPECT_EQ(button->Height(), 22);
  EXPECT_EQ(button->Spacing(), 4);
  EXPECT_EQ(button->Margin(), -1);
  button->SetDropdownCombo(true);
  button->SetDropdownCombo(true);
  EXPECT_EQ(button->Width(), 34);  // widened once
  button->SetDropdownCombo(false);
  EXPECT_EQ(button->Width(), 23);
  auto* menu = new TPopupMenu(&f.form);
  button->SetDropdownMenu(menu);
  f.form.Show();
  bool right = false;
  const TPoint below = button->MenuPoint(right);
  EXPECT_FALSE(right);
  EXPECT_EQ(below, button->ClientToScreen(Point(0, button->Height())));
  // Docked right: left of the button, right-aligned at its top-left.
  auto* dockRight = new TFlatDock(&f.form);
  dockRight->SetName("DockRight");
  dockRight->SetParent(&f.form);
  dockRight->SetPosition(dpRight);
  f.file->SetDockedTo(dockRight);
  const TPoint left = button->MenuPoint(right);
  EXPECT_TRUE(right);
  EXPECT_EQ(left, button->ClientToScreen(Point(0, 0)));
  EXPECT_THROW(button->SetGlyphName("NoSuchGlyph"), EInvalidOperation);
  // Every glyph of the program's toolbars exists and is drawn.
  for (const std::string& name : ToolbarGlyphNames()) {
    TBitmap b;
    ASSERT_TRUE(DrawToolbarGlyph(name, b)) << name;
    int painted = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) painted += b.Canvas()->Pixel(x, y) != clFuchsia;
    EXPECT_GT(painted, 8) << name;
  }
  EXPECT_GE(ToolbarGlyphNames().size(), 44u);
  auto* edit = new TFlatEdit(&f.form);
  EXPECT_EQ(edit->Height(), 19);
  edit->SetParent(f.file);
  edit->Font()->SetSize(14);
  EXPECT_EQ(edit->Height(), edit->FittingHeight());
}

}  // namespace
