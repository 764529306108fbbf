// Pure geometry of the data tree: check images, tree lines, positions, drop marks, colours,
// tiling, the ellipsis rule, and the header's column arithmetic.
#include <gtest/gtest.h>

#include <vector>

#include "components/data_tree_geometry.h"
#include "components/data_tree_header.h"
#include "components/data_tree_model.h"

namespace {

TEST(DataTreeGeometry, CheckImageIndexTable) {
  struct Case { uint8_t type, state; bool dim, treeEnabled, nodeEnabled; int index; };
  for (const Case& k : std::vector<Case>{
           {ctNone, 0, false, true, true, -1}, {ctCheckBox, 0, false, true, true, 1}, {ctCheckBox, 0, true, true, true, 3},
           {ctCheckBox, 1, false, true, true, 2}, {ctCheckBox, 1, true, true, true, 4}, {ctCheckBox, 2, false, true, true, 1},
           {ctTriStateCheckBox, 2, false, true, true, 4}, {ctTriStateCheckBox, 2, true, true, true, 4},
           {ctRadioButton, 0, false, true, true, 5}, {ctRadioButton, 1, false, true, true, 6},
           {ctRadioButton, 1, true, true, true, 8}, {ctRadioButton, 0, true, true, true, 7},
           {ctButton, csButtonNormal, false, true, true, 9}, {ctButton, csButtonPressed, false, true, true, 10},
           {ctButton, csButtonNormal, false, false, true, 11}, {ctButton, csButtonPressed, false, true, false, 11}}) {
    EXPECT_EQ(CheckImageIndex(k.type, k.state, k.dim, k.treeEnabled, k.nodeEnabled), k.index)
        << int(k.type) << "/" << int(k.state) << " dim " << k.dim;
  }
}

TEST(DataTreeGeometry, LineTypesPerLevel) {
  TDataTreeModel tree;
  tree.SetRootNodeCount(3);
  PDataNode first = tree.GetFirst(), middle = first->NextSibling, last = middle->NextSibling;
  PDataNode child = tree.AddChild(first);
  EXPECT_EQ(LineTypes(first, tree.RootNode(), true), std::vector<int>{ltTopDown});
  EXPECT_EQ(LineTypes(middle, tree.RootNode(), true), std::vector<int>{ltTee});
  EXPECT_EQ(LineTypes(last, tree.RootNode(), true), std::vector<int>{ltLast});
  EXPECT_EQ(LineTypes(child, tree.RootNode(), true), (std::vector<int>{ltVertical, ltLast}));
  EXPECT_EQ(LineTypes(child, tree.RootNode(), false), std::vector<int>{ltLast});
  TDataTreeModel single;
  single.SetRootNodeCount(1);
  EXPECT_EQ(LineTypes(single.GetFirst(), single.RootNode(), true), std::vector<int>{ltOnlyRoot});
}

TEST(DataTreeGeometry, TreeLineSegments) {
  using S = std::vector<TLineSegment>;
  EXPECT_EQ(TreeLineSegments(ltTee, 0, 18, 0, 18, 8), (S{{{9, 0}, {9, 18}}, {{9, 8}, {18, 8}}}));
  EXPECT_EQ(TreeLineSegments(ltLast, 0, 18, 0, 18, 8), (S{{{9, 0}, {9, 8}}, {{9, 8}, {18, 8}}}));
  EXPECT_EQ(TreeLineSegments(ltTopDown, 0, 18, 0, 18, 8), (S{{{9, 18}, {9, 8}}, {{9, 8}, {18, 8}}}));
  EXPECT_EQ(TreeLineSegments(ltVertical, 18, 18, 36, 18, 44), (S{{{27, 36}, {27, 54}}}));
  EXPECT_EQ(TreeLineSegments(ltOnlyRoot, 0, 18, 0, 18, 8), (S{{{9, 8}, {18, 8}}}));
  EXPECT_TRUE(TreeLineSegments(ltNone, 0, 18, 0, 18, 8).empty());
}

TEST(DataTreeGeometry, PositionsMarksColoursAndTiles) {
  EXPECT_EQ(NodeVerticalPosition(18, 50, 0, 9), 8);
  EXPECT_EQ(NodeVerticalPosition(18, 50, 0, 9) - 9 / 2, 4);  // the button's top
  EXPECT_EQ(NodeVerticalPosition(18, 50, 16, 9), 9);
  EXPECT_EQ(NodeVerticalPosition(18, 0, 0, 0), 0);
  EXPECT_EQ(ButtonOffset(18, 9), 5);
  EXPECT_EQ(DropMarkPolygon(Rect(0, 0, 100, 18), true),
            (std::vector<TPoint>{{2, 0}, {98, 0}, {98, 6}, {94, 2}, {6, 2}, {2, 6}}));
  EXPECT_EQ(DropMarkPolygon(Rect(0, 0, 100, 18), false),
            (std::vector<TPoint>{{2, 17}, {98, 17}, {98, 10}, {93, 15}, {7, 15}, {2, 10}}));
  EXPECT_EQ(ImageListColor(clNone), 0xFFFFFFFFu);
  EXPECT_EQ(ImageListColor(clDefault), 0xFF000000u);
  EXPECT_EQ(ImageListColor(clRed), 0x0000FFu);
  EXPECT_EQ(TileOrigin(-5, 16), 11);
  EXPECT_EQ(TileOrigin(21, 16), 5);
}

TEST(DataTreeGeometry, ShortenString) {
  auto measure = [](const std::u16string& t) { return int(t.size()) * 6; };  // 6 px a unit
  struct Case { std::u16string text; int width; std::u16string expected; };
  for (const Case& k : std::vector<Case>{{u"", 100, u""},
                                         {u"abcdef", 0, u""},
                                         {u"abcdef", -3, u""},
                                         {u"abcdef", 36, u"abcdef"},          // exactly fits
                                         {u"abcdef", 35, u"a..."},            // 2 fit into 35 - 18: n - 1 = 1 kept
                                         {u"abcdef", 18, u""},                // not wider than the ellipsis
                                         {u"abcdef", 20, u"..."}}) {          // n = 0: nothing before "..."
    EXPECT_EQ(ShortenString(k.text, k.width, 18, measure), k.expected) << k.width;
  }
  // A surrogate pair is never cut in half.
  std::u16string pairs = u"\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600";
  std::u16string cut = ShortenString(pairs, 47, 18, measure);
  EXPECT_EQ(cut, u"\U0001F600...");
}

// A header owner with a fixed client width, recording resize events.
struct Owner : TDTHeaderOwner {
  int width = 230;
  std::vector<int> resized;
  int HeaderClientWidth() const override { return width; }
  int HeaderOffsetX() const override { return 0; }
  void HeaderColumnResized(int c) override { resized.push_back(c); }
  void HeaderChanged() override {}
  TImageList* HeaderImages() const override { return nullptr; }
  int HeaderEllipsisWidth(TCanvas&) override { return 9; }
  bool HeaderOwnerDraw(TCanvas&, TDataTreeColumn&, const TRect&, bool, bool) override { return false; }
};

TEST(DataTreeHeader, DefaultsAndWidthLimits) {
  Owner owner;
  TDTHeader header(&owner);
  EXPECT_EQ(header.Height(), 24);
  EXPECT_EQ(header.Options(), hoColumnResize | hoDrag);
  EXPECT_EQ(header.Style, hsThickButtons);
  EXPECT_EQ(hoAutoResize, 1u);
  EXPECT_EQ(hoVisible, 256u);
  TDataTreeColumn* c = header.AddColumn();
  EXPECT_EQ(c->Width(), 50);
  EXPECT_EQ(c->MaxWidth(), 10000);
  EXPECT_EQ(c->Spacing, 4);
  EXPECT_EQ(c->Margin, -1);
  c->SetMinWidth(50);
  c->SetWidth(20);
  EXPECT_EQ(c->Width(), 50);
  c->SetWidth(20000);
  EXPECT_EQ(c->Width(), 10000);
  c->SetMaxWidth(100);
  c->SetMinWidth(500);
  EXPECT_EQ(c->MinWidth(), 100);
  EXPECT_FALSE(owner.resized.empty());
}

TEST(DataTreeHeader, AutoSizeAndPositions) {
  Owner owner;
  TDTHeader header(&owner);
  TDataTreeColumn* main = header.AddColumn();
  TDataTreeColumn* second = header.AddColumn();
  second->SetWidth(75);
  owner.resized.clear();
  header.SetOptions(header.Options() | hoAutoResize | hoVisible);
  EXPECT_EQ(main->Width(), 155);
  owner.width = 60;
  header.AutoFit();
  EXPECT_EQ(main->Width(), 0);
  EXPECT_TRUE(owner.resized.empty());  // set without the event

  TDataTreeColumn* third = header.AddColumn();
  main->SetPosition(99);
  EXPECT_EQ(main->Position(), 2u);
  EXPECT_EQ(header.Positions(), (std::vector<int>{1, 2, 0}));
  EXPECT_EQ(header.ColumnAtPosition(0), second->Index());
  header.DeleteColumn(2);
  EXPECT_EQ(header.Count(), 2);
  (void)third;
}

TEST(DataTreeHeader, ColumnsOnlyWhileVisibleAndDividerZone) {
  Owner owner;
  TDTHeader header(&owner);
  header.AddColumn()->SetWidth(100);
  EXPECT_FALSE(header.UseColumns());
  EXPECT_EQ(header.MainColumn(), -1);
  header.SetOptions(header.Options() | hoVisible);
  EXPECT_TRUE(header.UseColumns());
  EXPECT_EQ(header.MainColumn(), 0);
  EXPECT_EQ(header.DividerAt(97), -1);
  EXPECT_EQ(header.DividerAt(98), 0);
  EXPECT_EQ(header.DividerAt(104), 0);
  EXPECT_EQ(header.DividerAt(105), -1);
  header.Column(0)->SetOptions(header.Column(0)->Options() & ~coResizable);
  EXPECT_EQ(header.DividerAt(100), -1);
}

}  // namespace
