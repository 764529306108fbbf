// The string and draw trees in an offscreen form: hit testing, display rectangles,
// scrolling, keys, clicks, in-place editing, painting and the header.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "components/data_tree_draw.h"
#include "components/data_tree_string.h"
#include "platform/gui/application.h"
#include "platform/gui/control_grab.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/form.h"
#include "platform/gui/wide_edit.h"

namespace {

// A form with a string tree of `roots` top-level nodes named by number.
struct TreeForm {
  TForm form{nullptr};
  TDataStringTree* tree;
  explicit TreeForm(uint32_t roots, int width = 300, int height = 200) {
    form.SetBounds(0, 0, width + 40, height + 40);
    tree = new TDataStringTree(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, width, height);
    tree->OnGetText = [](TCustomDataStringTree* t, PDataNode n, int, TDSTTextType, std::u16string& text) {
      std::string s = "N" + std::to_string(n->Index) + "L" + std::to_string(t->GetNodeLevel(n));
      text.assign(s.begin(), s.end());
    };
    tree->SetRootNodeCount(roots);
    form.Show();
    Application->ProcessMessages();
  }
  // A mouse message at a client point.
  void Mouse(unsigned msg, int x, int y, uintptr_t keys = 0) {
    TPoint o = tree->ClientOrigin();
    tree->Perform(msg, keys, MakeLParam(x + o.X, y + o.Y));
  }
  void Key(uint16_t key, TShiftState shift = 0) { tree->Perform(WM_KEYDOWN, key, intptr_t(shift)); }
  int LineY(PDataNode n) { return tree->GetDisplayRect(n, -1, false).Top + 9; }
};

TEST(DataTreeView, HitTestPositions) {
  TreeForm f(3);
  TDataStringTree& t = *f.tree;
  PDataNode first = t.GetFirst();
  t.AddChild(first);
  int y = f.LineY(first);
  EXPECT_EQ(t.GetHitTestInfoAt(4 + 5, y).HitPositions, hiOnItemButton);  // first Indent (after Margin)
  EXPECT_EQ(t.GetHitTestInfoAt(4 + 18 + 2, y).HitPositions, hiOnItem | hiOnItemLabel);
  EXPECT_EQ(t.GetHitTestInfoAt(280, y).HitPositions, hiOnItemRight);
  THitInfo below = t.GetHitTestInfoAt(10, 150);
  EXPECT_EQ(below.HitPositions, hiNowhere);
  EXPECT_EQ(below.HitNode, nullptr);
  EXPECT_EQ(t.GetHitTestInfoAt(-1, -1).HitPositions, hiToLeft | hiAbove);
  EXPECT_EQ(t.GetHitTestInfoAt(t.ClientWidth(), t.ClientHeight()).HitPositions, hiToRight | hiBelow);

  t.SetOptions((t.Options() | voCheckSupport) & ~voShowButtons);
  t.SetCheckType(first, ctCheckBox);
  EXPECT_EQ(t.GetHitTestInfoAt(4 + 5, y).HitPositions, hiOnItemIndent);
  EXPECT_EQ(t.GetHitTestInfoAt(4 + 18 + 3, y).HitPositions, hiOnItem | hiOnItemCheckbox);
  // The label starts where the display rectangle's text starts.
  TRect text = t.GetDisplayRect(first, -1, true);
  EXPECT_EQ(text.Left, 4 + 18 + 18);
  EXPECT_EQ(t.GetHitTestInfoAt(text.Left, y).HitPositions, hiOnItem | hiOnItemLabel);
  EXPECT_EQ(t.GetHitTestInfoAt(text.Left - 1, y).HitPositions, hiOnItem | hiOnItemCheckbox);
}

TEST(DataTreeView, ScrollingRequestsWheelAndIntoView) {
  TreeForm small(3);
  TDataStringTree& s = *small.tree;
  s.ScrollRequest(true, SB_LINEDOWN, 0);
  EXPECT_EQ(s.OffsetY(), 0);  // everything fits: 0 wins
  s.ScrollRequest(true, SB_BOTTOM, 0);
  EXPECT_EQ(s.OffsetY(), 0);

  TreeForm f(100);
  TDataStringTree& t = *f.tree;
  EXPECT_EQ(t.RangeY(), 1800);
  t.ScrollRequest(true, SB_LINEDOWN, 0);
  EXPECT_EQ(t.OffsetY(), -18);
  t.ScrollRequest(true, SB_PAGEDOWN, 0);
  EXPECT_EQ(t.OffsetY(), -18 - t.ClientHeight());
  t.ScrollRequest(true, SB_LINEUP, 0);
  EXPECT_EQ(t.OffsetY(), -t.ClientHeight());
  t.ScrollRequest(true, SB_BOTTOM, 0);
  EXPECT_EQ(t.OffsetY(), t.ClientHeight() - 1800);  // the last node's bottom at the client bottom
  t.ScrollRequest(true, SB_TOP, 0);
  EXPECT_EQ(t.OffsetY(), 0);
  t.SetOffsetY(50);
  EXPECT_EQ(t.OffsetY(), 0);

  TPoint screen{0, 0};
  t.Perform(WM_MOUSEWHEEL, (uintptr_t(uint16_t(int16_t(-120))) << 16) | MK_CONTROL, MakeLParam(screen.X, screen.Y));
  EXPECT_EQ(t.OffsetY(), 0);  // a modifier: no scrolling
  t.Perform(WM_MOUSEWHEEL, uintptr_t(uint16_t(int16_t(-60))) << 16, 0);
  EXPECT_EQ(t.OffsetY(), 0);
  t.Perform(WM_MOUSEWHEEL, uintptr_t(uint16_t(int16_t(-60))) << 16, 0);
  EXPECT_EQ(t.OffsetY(), -18);  // two half notches make one

  PDataNode last = t.RootNode()->LastChild;
  PDataNode hidden = t.AddChild(t.AddChild(last));
  EXPECT_TRUE(t.ScrollIntoView(hidden, false));
  EXPECT_TRUE(t.IsVisible(hidden));
  TRect r = t.GetDisplayRect(hidden, -1, false);
  EXPECT_EQ(r.Bottom, t.ClientHeight());
  EXPECT_FALSE(t.ScrollIntoView(hidden, false));
}

TEST(DataTreeView, AutoScrollNearTheEdges) {
  TreeForm f(100);
  TDataStringTree& t = *f.tree;
  int h = t.ClientHeight();
  EXPECT_EQ(t.AutoScrollDirections({100, 3}), 0u);  // at the top already
  EXPECT_EQ(t.AutoScrollDirections({100, h - 3}), 8u);
  EXPECT_EQ(t.AutoScrollDirections({100, h / 2}), 0u);
  t.SetOptions(t.Options() | voAutoScroll);
  t.DoAutoScroll({100, h - 3});
  EXPECT_TRUE(t.HasState(tsScrollPending));
  t.TimerExpired(ScrollTimer);
  EXPECT_EQ(t.OffsetY(), -18);
  EXPECT_EQ(t.AutoScrollDirections({100, 3}), 2u);
  t.DoAutoScroll({100, h / 2});  // away from the edge: stops
  EXPECT_FALSE(t.HasState(tsScrollPending | tsScrolling));
}

TEST(DataTreeView, KeyboardNavigationAndExpansion) {
  TreeForm f(3);
  TDataStringTree& t = *f.tree;
  PDataNode a = t.GetFirst(), c = t.RootNode()->LastChild;
  PDataNode a1 = t.AddChild(a);
  t.AddChild(a1);
  f.Key(VK_UP);
  EXPECT_EQ(t.FocusedNode(), c);
  t.SetFocusedNode(nullptr);
  f.Key(VK_DOWN);
  EXPECT_EQ(t.FocusedNode(), a);
  EXPECT_TRUE(t.Selected(a));
  f.Key(VK_ADD);
  EXPECT_TRUE(t.Expanded(a));
  f.Key(VK_LEFT);
  EXPECT_FALSE(t.Expanded(a));
  f.Key(VK_RIGHT);
  EXPECT_TRUE(t.Expanded(a));
  f.Key(VK_RIGHT);
  EXPECT_EQ(t.FocusedNode(), a1);
  f.Key(VK_LEFT);
  EXPECT_EQ(t.FocusedNode(), a);
  f.Key(VK_SUBTRACT);
  EXPECT_FALSE(t.Expanded(a));
  f.Key(VK_MULTIPLY);
  EXPECT_TRUE(t.Expanded(a1));
  f.Key(VK_SUBTRACT, ssCtrl);
  EXPECT_FALSE(t.Expanded(a));
  f.Key(VK_ADD, ssCtrl);
  EXPECT_TRUE(t.Expanded(a1));
  f.Key(VK_END);
  EXPECT_EQ(t.FocusedNode(), c);
  f.Key(VK_HOME);
  EXPECT_EQ(t.FocusedNode(), a);
  EXPECT_EQ(t.SelectionCount(), 1);
}

TEST(DataTreeView, ClicksSelectToggleAndDoubleClick) {
  TreeForm f(6);
  TDataStringTree& t = *f.tree;
  t.SetOptions(t.Options() | voMultiSelect);
  std::vector<PDataNode> n;
  for (PDataNode r = t.GetFirst(); r; r = t.GetNextSibling(r)) n.push_back(r);
  int labelX = 4 + 18 + 6;
  f.Mouse(WM_LBUTTONDOWN, labelX, f.LineY(n[1]));
  f.Mouse(WM_LBUTTONUP, labelX, f.LineY(n[1]));
  f.Mouse(WM_LBUTTONDOWN, labelX, f.LineY(n[3]), MK_SHIFT);
  EXPECT_EQ(t.SelectionCount(), 3);
  f.Mouse(WM_LBUTTONDOWN, labelX, f.LineY(n[5]), MK_CONTROL);
  EXPECT_EQ(t.SelectionCount(), 4);
  f.Mouse(WM_LBUTTONDOWN, labelX, f.LineY(n[5]), MK_CONTROL);
  EXPECT_EQ(t.SelectionCount(), 3);
  f.Mouse(WM_LBUTTONDOWN, labelX, f.LineY(n[0]), MK_SHIFT);
  EXPECT_EQ(t.SelectionCount(), 2);  // exactly anchor..node
  f.Mouse(WM_LBUTTONDOWN, labelX, f.LineY(n[4]), MK_SHIFT | MK_CONTROL);
  EXPECT_EQ(t.SelectionCount(), 5);

  PDataNode parent = n[2];
  t.AddChild(parent);
  int dbl = 0;
  t.OnDblClick = [&](TObject*) { ++dbl; };
  f.Mouse(WM_LBUTTONDOWN, labelX, f.LineY(parent));
  f.Mouse(WM_LBUTTONUP, labelX, f.LineY(parent));
  f.Mouse(WM_LBUTTONDBLCLK, labelX, f.LineY(parent));
  EXPECT_EQ(dbl, 1);
  EXPECT_TRUE(t.Expanded(parent));
  // A double click on the button toggles once (by its press), not twice.
  f.Mouse(WM_LBUTTONDOWN, 9, f.LineY(parent));
  f.Mouse(WM_LBUTTONUP, 9, f.LineY(parent));
  f.Mouse(WM_LBUTTONDBLCLK, 9, f.LineY(parent));
  EXPECT_FALSE(t.Expanded(parent));
}

TEST(DataTreeView, RubberBandSelectsTheNodesItCovers) {
  TreeForm f(5);
  TDataStringTree& t = *f.tree;
  t.SetOptions(t.Options() | voMultiSelect);
  f.Mouse(WM_LBUTTONDOWN, 200, 120);  // below the last node
  f.Mouse(WM_MOUSEMOVE, 150, 100, MK_LBUTTON);
  EXPECT_TRUE(t.BandRunning());
  f.Mouse(WM_MOUSEMOVE, 10, 20, MK_LBUTTON);
  EXPECT_EQ(t.SelectionCount(), 4);  // lines 2 to 5 lie in 20..120
  EXPECT_FALSE(t.Selected(t.GetFirst()));
  f.Mouse(WM_MOUSEMOVE, 10, 60, MK_LBUTTON);
  EXPECT_EQ(t.SelectionCount(), 2);  // shrinking deselects
  f.Mouse(WM_LBUTTONUP, 10, 60);
  EXPECT_FALSE(t.BandRunning());
  EXPECT_EQ(t.SelectionCount(), 2);
}

TEST(DataTreeView, HandlerExceptionsStayInsideTheTree) {
  TreeForm f(2);
  TDataStringTree& t = *f.tree;
  std::string shown;
  Application->OnException = [&](TObject*, const Exception& e) { shown = e.Message; };
  t.OnFocusChanged = [](TDataTreeModel*, PDataNode, int) { throw EDataTreeError("boom"); };
  EXPECT_NO_THROW(f.Mouse(WM_LBUTTONDOWN, 30, 9));
  EXPECT_NO_THROW(f.Key(VK_DOWN));
  EXPECT_EQ(shown, "boom");
  Application->OnException = nullptr;
}

TEST(DataTreeView, TextsWidthsAndEditorLink) {
  TreeForm f(2);
  TDataStringTree& t = *f.tree;
  t.OnGetText = nullptr;
  PDataNode n = t.GetFirst();
  EXPECT_EQ(t.DoGetText(n, 0), u"Node");
  EXPECT_EQ(t.DoGetText(n, 3), u"Node");
  t.OnGetText = [](TCustomDataStringTree*, PDataNode, int, TDSTTextType, std::u16string& s) { s.clear(); };
  EXPECT_EQ(t.GetNodeWidth(t.AddChild(nullptr), 0), 8);  // an empty text
  int before = t.GetNodeWidth(n, 0);  // cached from painting, text and all
  EXPECT_GT(before, 8);
  EXPECT_EQ(t.GetNodeWidth(n, 0), before);
  TFont big;
  big.SetSize(30);
  t.Font()->Assign(big);
  EXPECT_EQ(t.GetNodeWidth(n, 0), 8);  // measured again after the font change

  t.SetOptions(t.Options() | voEditable);
  t.OnCreateEditor = [](TBaseDataTree*, PDataNode, int, std::unique_ptr<IDTEditLink>&) {};
  EXPECT_THROW(t.EditNode(n, -1), EDataTreeError);
}

TEST(DataTreeView, InPlaceEditing) {
  TreeForm f(2);
  TDataStringTree& t = *f.tree;
  t.SetOptions(t.Options() | voEditable);
  std::vector<std::u16string> newTexts;
  int cancelled = 0, edited = 0;
  t.OnNewText = [&](TCustomDataStringTree*, PDataNode, int, const std::u16string& s) { newTexts.push_back(s); };
  t.OnEditCancelled = [&](TBaseDataTree*, int) { ++cancelled; };
  t.OnEdited = [&](TBaseDataTree*, PDataNode, int) { ++edited; };
  PDataNode n = t.GetFirst();
  ASSERT_TRUE(t.EditNode(n, -1));
  TWideEdit* edit = nullptr;
  for (int i = 0; i < t.ControlCount(); ++i)
    if (auto* e = dynamic_cast<TWideEdit*>(t.Controls(i)); e && e->Visible()) edit = e;
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->WideText(), u"N0L0");
  edit->Perform(WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_FALSE(t.IsEditing());
  EXPECT_TRUE(newTexts.empty());  // unchanged: no new text
  EXPECT_EQ(edited, 1);

  ASSERT_TRUE(t.EditNode(n, -1));
  edit = nullptr;
  for (int i = 0; i < t.ControlCount(); ++i)
    if (auto* e = dynamic_cast<TWideEdit*>(t.Controls(i)); e && e->Visible()) edit = e;
  ASSERT_NE(edit, nullptr);
  int narrow = edit->Width();
  edit->SetWideText(u"A much longer text typed into the editor");
  edit->OnChange(edit);
  EXPECT_GT(edit->Width(), narrow);  // the editor grows with its text
  EXPECT_LE(edit->Left() + edit->Width(), t.ClientOrigin().X + t.ClientWidth() - 2);
  edit->Perform(WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(t.IsEditing());
  EXPECT_EQ(cancelled, 1);
  EXPECT_TRUE(newTexts.empty());
}

TEST(DataTreeView, HeaderTakesItsHeightAndColumnsSplitCells) {
  TreeForm f(3);
  TDataStringTree& t = *f.tree;
  int full = t.ClientHeight();
  TDTHeader& h = *t.Header();
  h.AddColumn()->SetWidth(149);
  h.AddColumn()->SetWidth(75);
  h.SetHeight(14);
  h.SetOptions(h.Options() | hoVisible | hoAutoResize);
  Application->ProcessMessages();
  EXPECT_EQ(t.ClientHeight(), full - 14);
  EXPECT_EQ(h.Column(0)->Width(), t.ClientWidth() - 75);
  PDataNode n = t.GetFirst();
  TRect cell1 = t.GetDisplayRect(n, 1, false);
  EXPECT_EQ(cell1.Left, h.Column(0)->Width());
  THitInfo hit = t.GetHitTestInfoAt(cell1.Left + 10, f.LineY(n));
  EXPECT_EQ(hit.HitColumn, 1);
  EXPECT_EQ(hit.HitPositions, hiOnItem | hiOnItemLabel);  // no indent in column 1
  // With spanning, a text runs on over an empty neighbour: hits there belong to its column.
  t.OnGetText = [](TCustomDataStringTree*, PDataNode, int c, TDSTTextType, std::u16string& s) {
    s = c == 0 ? u"A text" : u"";
  };
  t.SetOptions(t.Options() | voAutoSpanColumns | voExtendedFocus);
  EXPECT_EQ(t.GetHitTestInfoAt(cell1.Left + 10, f.LineY(n)).HitColumn, 0);
  int clicked = -1;
  t.OnHeaderClick = [&](TBaseDataTree*, int c, TMouseButton, TShiftState, int, int) { clicked = c; };
  f.Mouse(WM_LBUTTONDOWN, cell1.Left + 20, -5);
  f.Mouse(WM_LBUTTONUP, cell1.Left + 20, -5);
  EXPECT_EQ(clicked, 1);
}

TEST(DataTreeView, PaintsBackgroundLinesButtonsAndText) {
  TreeForm empty(0);
  TBitmap shot;
  GrabControl(*empty.tree, shot);
  TPoint o = empty.tree->ClientOrigin();
  for (int y : {5, 40, 90})
    for (int x : {5, 50, 150}) EXPECT_EQ(shot.Canvas()->Pixel(o.X + x, o.Y + y), ColorToRGB(clWindow));

  TreeForm f(2);
  TDataStringTree& t = *f.tree;
  t.TreeLineColor = clRed;
  PDataNode a = t.GetFirst();
  t.AddChild(a);
  Application->ProcessMessages();
  GrabControl(t, shot);
  o = t.ClientOrigin();
  auto count = [&](TRect r, TColor c) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) n += shot.Canvas()->Pixel(o.X + x, o.Y + y) == ColorToRGB(c);
    return n;
  };
  // The first line: a button frame in the line colour, 9 px wide, at Margin + 5.
  EXPECT_GT(count(Rect(9, 4, 18, 13), clRed), 8);
  // The second node has no children: no button, but its line.
  EXPECT_LT(count(Rect(9, 22, 18, 31), clRed), 8);
  EXPECT_GT(count(Rect(0, 18, 30, 36), clRed), 0);
  // Text pixels somewhere right of the indent.
  EXPECT_GT(36 * 60 - count(Rect(26, 0, 86, 36), clWindow), 20);

  // The drag image shows only the selected nodes on the tree's colour.
  t.SetSelected(a, true);
  TBitmap image;
  t.MakeDragImage(image);
  EXPECT_EQ(image.Height(), t.ClientHeight());
  auto imageCount = [&](TRect r, TColor c) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) n += image.Canvas()->Pixel(x, y) == ColorToRGB(c);
    return n;
  };
  EXPECT_GT(imageCount(Rect(9, 4, 18, 13), clRed), 8);           // the selected node's button
  EXPECT_EQ(imageCount(Rect(0, 18, 18, 36), clRed), 0);          // the other node is left out
  EXPECT_EQ(image.TransparentColor(), ColorToRGB(clWindow));

  // A background picture is tiled behind the nodes and below them.
  TBitmap tile(16, 16);
  tile.Canvas()->Brush()->SetColor(clLime);
  tile.Canvas()->FillRect(Rect(0, 0, 16, 16));
  t.Background()->Assign(tile);
  t.SetOptions(t.Options() | voShowBackground);
  Application->ProcessMessages();
  GrabControl(t, shot);
  EXPECT_EQ(count(Rect(100, 60, 140, 100), clLime), 40 * 40);

  // An owner-drawn column is drawn by the handler.
  int drawn = 0;
  t.OnDrawHeader = [&](TDTHeader*, TCanvas&, TDataTreeColumn& c, const TRect&, bool, bool) { drawn += c.Index() + 1; };
  TDTHeader& h = *t.Header();
  h.AddColumn()->Style = vsOwnerDraw;
  h.SetOptions(h.Options() | hoVisible | hoOwnerDraw);
  Application->ProcessMessages();
  GrabControl(t, shot);
  EXPECT_GT(drawn, 0);
}

TEST(DataTreeView, DrawTreeHasNoContentAndWidthFour) {
  TForm form(nullptr);
  auto* tree = new TDataDrawTree(&form);
  tree->SetParent(&form);
  tree->SetRootNodeCount(2);
  PDataNode n = tree->GetFirst();
  EXPECT_EQ(tree->GetNodeWidth(n, -1), 4);
  EXPECT_EQ(tree->GetHitTestInfoAt(4 + 18 + 3, 9).HitPositions, hiOnItem | hiOnItemLabel);
  EXPECT_EQ(tree->GetHitTestInfoAt(4 + 18 + 4, 9).HitPositions, hiOnItemRight);
  EXPECT_EQ(tree->HintSize(n, -1), TRect{});
  tree->OnGetHintSize = [](TDataDrawTree*, PDataNode, int, TRect& r) { r = Rect(0, 0, 40, 20); };
  EXPECT_EQ(tree->HintSize(n, -1).Width(), 40);
}

TEST(DataTreeView, HintsForCutTextsNodeHintsAndColumns) {
  TreeForm f(2);
  TDataStringTree& t = *f.tree;
  t.OnGetText = [](TCustomDataStringTree*, PDataNode n, int c, TDSTTextType, std::u16string& s) {
    s = n->Index == 0 && c == 0 ? u"A rather long text that cannot fit" : u"Short";
  };
  TDTHeader& h = *t.Header();
  h.AddColumn()->SetWidth(80);
  h.AddColumn()->SetWidth(80);
  h.Column(1)->Hint = u"Second column";
  h.SetOptions(h.Options() | hoVisible | hoShowHint);
  PDataNode first = t.GetFirst(), second = first->NextSibling;
  t.InvalidateNode(first);  // its text changed: measure again
  t.InvalidateNode(second);
  TRect r;
  t.HintMode = hmTooltip;
  EXPECT_TRUE(t.HintAt({40, f.LineY(first)}, r).empty());  // ShowHint is off
  t.SetShowHint(true);
  std::u16string hint = t.HintAt({40, f.LineY(first)}, r);
  EXPECT_EQ(hint, u"A rather long text that cannot fit");
  EXPECT_EQ(r.Left, t.GetDisplayRect(first, 0, true).Left);  // placed over the text
  EXPECT_EQ(r.Height(), first->NodeHeight + 2);
  EXPECT_TRUE(t.HintAt({40, f.LineY(second)}, r).empty());  // fits: no hint
  EXPECT_EQ(t.HintAt({100, -5}, r), u"Second column");
  EXPECT_TRUE(t.HintAt({20, -5}, r).empty());  // a column without a hint

  t.HintMode = hmHint;
  t.OnGetHint = [](TCustomDataStringTree*, PDataNode n, int, TDSTTextType, std::u16string& s) {
    if (n->Index == 1) s = u"Node hint";
  };
  EXPECT_EQ(t.HintAt({40, f.LineY(second)}, r), u"Node hint");
  EXPECT_TRUE(t.HintAt({40, f.LineY(first)}, r).empty());
}

TEST(DataTreeView, ChangeDelayGivesOneEventForTheLastNode) {
  TreeForm f(3);
  TDataStringTree& t = *f.tree;
  t.SetOptions(t.Options() | voMultiSelect);
  t.SetChangeDelay(50);
  std::vector<PDataNode> changes;
  t.OnChange = [&](TDataTreeModel*, PDataNode n) { changes.push_back(n); };
  PDataNode last = nullptr;
  for (PDataNode r = t.GetFirst(); r; r = t.GetNextSibling(r)) {
    t.SetSelected(r, true);
    last = r;
  }
  EXPECT_TRUE(changes.empty());
  for (int i = 0; i < 100 && changes.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    Application->ProcessMessages();
  }
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0], last);
}

}  // namespace
