// The data tree model without a window: counts and heights under lazy initialisation,
// collapse and deletion, navigation, selection, check states, sorting and notification.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "components/data_tree_model.h"

namespace {

// Walks the whole tree and checks every stored count against a recount.
struct Recount {
  uint32_t total = 0, height = 0;
};

Recount Check(const TDataTreeModel& tree, PDataNode node, bool& ok) {
  Recount r{1, node->NodeHeight};
  uint32_t children = 0, index = 0;
  PDataNode prev = nullptr;
  for (PDataNode c = node->FirstChild; c; c = c->NextSibling) {
    ok &= c->Parent == node && c->PrevSibling == prev && c->Index == index++;
    Recount sub = Check(tree, c, ok);
    r.total += sub.total;
    if (node->Has(vsExpanded)) r.height += sub.height;
    ++children;
    prev = c;
  }
  ok &= node->LastChild == prev && node->ChildCount == children;
  ok &= node->TotalCount == r.total && node->TotalHeight == r.height;
  return r;
}

uint32_t CountVisible(TDataTreeModel& tree) {
  uint32_t n = 0;
  for (PDataNode run = tree.GetFirstVisible(); run; run = tree.GetNextVisible(run)) ++n;
  return n;
}

void ExpectConsistent(TDataTreeModel& tree) {
  bool ok = true;
  Check(tree, tree.RootNode(), ok);
  EXPECT_TRUE(ok) << "stored counts, heights or links differ from a recount";
  EXPECT_EQ(tree.VisibleCount(), CountVisible(tree));
}

// A tree of `roots` top-level nodes with `children` children each, made through
// OnInitChildren (lazily).
struct LazyTree : TDataTreeModel {
  int inits = 0;
  LazyTree(uint32_t roots, uint32_t children, TDataNodeInitStates rootStates = ivsHasChildren) {
    OnInitNode = [=, this](TDataTreeModel*, PDataNode parent, PDataNode, TDataNodeInitStates& s) {
      ++inits;
      if (!parent) s |= rootStates;
    };
    OnInitChildren = [=](TDataTreeModel*, PDataNode, uint32_t& count) { count = children; };
    SetRootNodeCount(roots);
  }
};

TEST(DataTreeModel, NodeDataSizeDecidesWhetherNodesCarryData) {
  TDataTreeModel tree;
  PDataNode node = tree.AddChild(nullptr);
  EXPECT_EQ(tree.GetNodeData(node), nullptr);
  tree.SetNodeDataSize(-5);
  EXPECT_EQ(tree.NodeDataSize(), -1);
  tree.OnGetNodeDataSize = [](TDataTreeModel*, int& size) { size = 12; };
  PDataNode remade = tree.GetFirst();
  ASSERT_NE(tree.GetNodeData(remade), nullptr);
  EXPECT_EQ(tree.NodeDataSize(), 12);
  EXPECT_EQ(tree.RootNodeCount(), 1u);  // the nodes were made again with data
  EXPECT_EQ(tree.GetNodeData(tree.RootNode()), nullptr);
  EXPECT_EQ(*static_cast<int*>(tree.GetNodeData(tree.GetFirst())), 0);  // zero-filled
}

// Nodes that own their data get OnFreeNode when deleted and when the tree itself goes, so
// that nothing they hold is leaked, also when they were never initialised (shown).
TEST(DataTreeModel, EveryInitialisedNodeIsFreedAlsoWhenTheTreeGoes) {
  std::vector<std::string> freed;
  bool destroying = false;
  {
    TDataTreeModel tree;
    tree.SetNodeDataSize(sizeof(std::string*));
    tree.OnFreeNode = [&](TDataTreeModel* sender, PDataNode node) {
      auto** text = static_cast<std::string**>(sender->GetNodeData(node));
      freed.push_back(*text ? **text : "?");
      destroying = sender->HasState(tsDestroying);
      delete *text;
    };
    auto add = [&](PDataNode parent, const char* text) {
      PDataNode node = tree.AddChild(parent);
      *static_cast<std::string**>(tree.GetNodeData(node)) = new std::string(text);
      return node;
    };
    PDataNode a = add(nullptr, "a");
    add(a, "a1");
    PDataNode b = add(nullptr, "b");
    tree.DeleteNode(b);
    EXPECT_EQ(freed, std::vector<std::string>{"b"});
    EXPECT_FALSE(destroying);
    freed.clear();
  }
  EXPECT_EQ(freed, (std::vector<std::string>{"a1", "a"}));
  EXPECT_TRUE(destroying);
}

TEST(DataTreeModel, AddChildOnALeaf) {
  TDataTreeModel tree;
  tree.SetDefaultNodeHeight(0);
  EXPECT_EQ(tree.DefaultNodeHeight(), 18);
  PDataNode parent = tree.AddChild(nullptr);
  PDataNode child = tree.AddChild(parent);
  EXPECT_TRUE(parent->Has(vsHasChildren));
  EXPECT_EQ(child->Index, 0u);
  EXPECT_EQ(child->TotalCount, 1u);
  EXPECT_EQ(child->NodeHeight, 18);
  EXPECT_EQ(child->Align, 50);
  EXPECT_EQ(parent->TotalCount, 2u);
  EXPECT_EQ(parent->TotalHeight, 18u);  // collapsed
  ExpectConsistent(tree);
}

TEST(DataTreeModel, DeletingNodesKeepsCountsLinksAndFocus) {
  TDataTreeModel tree;
  PDataNode parent = tree.AddChild(nullptr);
  PDataNode only = tree.AddChild(parent);
  tree.SetFocusedNode(only);
  tree.DeleteNode(only);
  EXPECT_EQ(parent->ChildCount, 0u);
  EXPECT_EQ(parent->FirstChild, nullptr);
  EXPECT_EQ(parent->LastChild, nullptr);
  EXPECT_EQ(parent->TotalCount, 1u);
  EXPECT_FALSE(parent->Has(vsHasChildren));
  EXPECT_EQ(tree.FocusedNode(), nullptr);

  tree.SetRootNodeCount(4);
  PDataNode second = tree.RootNode()->FirstChild->NextSibling;
  PDataNode third = second->NextSibling;
  tree.DeleteNode(second);
  EXPECT_EQ(third->Index, 1u);
  ExpectConsistent(tree);
}

// Counts under lazy init, collapse and deletion, as a table of steps.
TEST(DataTreeModel, CountsAndHeightsFollowEveryStructuralChange) {
  struct Step {
    const char* what;
    std::function<void(LazyTree&)> run;
    uint32_t total, visible, rangeY;
  };
  std::vector<Step> steps = {
      {"three lazy roots", [](LazyTree&) {}, 3, 3, 54},
      {"expand the first", [](LazyTree& t) { t.ToggleNode(t.GetFirst()); }, 5, 5, 90},
      {"a visible grandchild level", [](LazyTree& t) {
         t.SetChildCount(t.GetFirst()->FirstChild, 2);
         t.ToggleNode(t.GetFirst()->FirstChild);
       }, 7, 7, 126},
      {"collapse the first", [](LazyTree& t) { t.ToggleNode(t.GetFirst()); }, 7, 3, 54},
      {"grow children of a hidden node", [](LazyTree& t) { t.SetChildCount(t.GetFirst()->FirstChild, 5); }, 10, 3, 54},
      {"expand again", [](LazyTree& t) { t.ToggleNode(t.GetFirst()); }, 10, 10, 180},
      {"shrink a visible branch", [](LazyTree& t) { t.SetChildCount(t.GetFirst()->FirstChild, 1); }, 6, 6, 108},
      {"expand the second", [](LazyTree& t) { t.ToggleNode(t.GetFirst()->NextSibling); }, 8, 8, 144},
      {"delete uninitialised children", [](LazyTree& t) { t.DeleteChildren(t.GetFirst()->NextSibling); }, 6, 6, 108},
      {"delete a branch", [](LazyTree& t) { t.DeleteChildren(t.GetFirst()); }, 3, 3, 54},
      {"delete a root", [](LazyTree& t) { t.DeleteNode(t.GetFirst()); }, 2, 2, 36},
      {"root count to zero", [](LazyTree& t) { t.SetRootNodeCount(0); }, 0, 0, 0},
  };
  LazyTree tree(3, 2);
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.run(tree);
    EXPECT_EQ(tree.TotalCount(), step.total);
    EXPECT_EQ(tree.VisibleCount(), step.visible);
    EXPECT_EQ(tree.RootNode()->TotalHeight - tree.RootNode()->NodeHeight, step.rangeY);
    ExpectConsistent(tree);
  }
}

TEST(DataTreeModel, ChildrenAddedUnderAHiddenExpandedNodeAreNotVisible) {
  TDataTreeModel tree;
  PDataNode a = tree.AddChild(nullptr);
  PDataNode b = tree.AddChild(a);
  tree.AddChild(b);
  tree.ToggleNode(b);  // expanded, but inside the collapsed a
  tree.AddChild(b);
  EXPECT_EQ(tree.VisibleCount(), 1u);
  ExpectConsistent(tree);
}

TEST(DataTreeModel, DeletingManyNodesAtOnce) {
  TDataTreeModel tree;
  tree.SetOptions(tree.Options() | voMultiSelect);
  tree.SetRootNodeCount(10);
  std::vector<PDataNode> roots;
  for (PDataNode r = tree.GetFirst(); r; r = tree.GetNextSibling(r)) roots.push_back(r);
  PDataNode child = tree.AddChild(roots[2]);
  tree.AddChild(child);
  tree.FullExpand();
  tree.SetSelected(child, true);
  tree.SetSelected(roots[5], true);
  tree.SetFocusedNode(child);
  tree.DeleteNodes({roots[0], child, roots[2], roots[5], roots[9], nullptr, tree.RootNode()});
  EXPECT_EQ(tree.RootNodeCount(), 6u);
  EXPECT_EQ(tree.TotalCount(), 6u);
  EXPECT_EQ(tree.SelectionCount(), 0);
  EXPECT_EQ(tree.FocusedNode(), nullptr);
  EXPECT_EQ(tree.GetFirst(), roots[1]);
  ExpectConsistent(tree);
}

TEST(DataTreeModel, InitAllNodesCountsAndInitialisesEveryNode) {
  TDataTreeModel empty;
  EXPECT_EQ(empty.InitAllNodes(), 0u);
  LazyTree tree(3, 2);
  tree.inits = 0;
  EXPECT_EQ(tree.InitAllNodes(), 9u);
  EXPECT_EQ(tree.inits, 9);
  ExpectConsistent(tree);
}

TEST(DataTreeModel, LazyInitStates) {
  LazyTree none(1, 0);
  PDataNode n = none.GetFirst();
  EXPECT_EQ(none.GetFirstChild(n), nullptr);
  EXPECT_FALSE(n->Has(vsHasChildren));  // OnInitChildren answered 0

  LazyTree expanded(2, 3, ivsHasChildren | ivsExpanded);
  PDataNode first = expanded.GetFirst();
  EXPECT_TRUE(first->Has(vsExpanded));
  EXPECT_EQ(first->ChildCount, 3u);
  ExpectConsistent(expanded);

  LazyTree selected(2, 0, ivsSelected);
  selected.SetOptions(selected.Options() | voMultiSelect);
  selected.GetFirst();
  EXPECT_EQ(selected.SelectionCount(), 1);
}

TEST(DataTreeModel, SelectionStaysSortedAndSkipsDisabledNodes) {
  TDataTreeModel tree;
  tree.SetRootNodeCount(5);
  int changes = 0;
  tree.OnChange = [&](TDataTreeModel*, PDataNode) { ++changes; };
  PDataNode a = tree.GetFirst(), b = tree.GetNextSibling(a), c = tree.GetNextSibling(b);
  tree.SetSelected(a, true);
  tree.SetSelected(b, true);
  EXPECT_EQ(tree.SelectionCount(), 1);  // no voMultiSelect
  EXPECT_FALSE(tree.Selected(a));
  changes = 0;
  tree.SetSelected(b, true);
  EXPECT_EQ(changes, 0);

  tree.SetOptions(tree.Options() | voMultiSelect);
  EXPECT_EQ(tree.SelectionCount(), 0);  // switching multi-select clears
  c->Include(vsDisabled);
  EXPECT_EQ(tree.InternalAddToSelection({c, a, b, a}, false), 2);
  EXPECT_FALSE(tree.Selected(c));
  EXPECT_TRUE(std::is_sorted(tree.Selection().begin(), tree.Selection().end(), std::less<PDataNode>()));
  EXPECT_EQ(tree.GetNextSelected(tree.GetFirstSelected()), tree.Selection()[1]);

  PDataNode child = tree.AddChild(a);
  tree.ClearSelection();
  tree.SetOptions(tree.Options() | voLevelSelectConstraint);
  tree.InternalAddToSelection({a, child}, false);
  EXPECT_EQ(tree.SelectionCount(), 1);
  EXPECT_TRUE(tree.Selected(a));

  tree.DeleteNode(a);  // takes the selected node out of the selection
  EXPECT_EQ(tree.SelectionCount(), 0);
}

TEST(DataTreeModel, NestedUpdatesFireOnlyAtTheOuterEnd) {
  TDataTreeModel tree;
  std::vector<std::string> events;
  tree.OnStructureChange = [&](TDataTreeModel*, PDataNode n) { events.push_back(n ? "structure(node)" : "structure(nil)"); };
  tree.OnChange = [&](TDataTreeModel*, PDataNode n) { events.push_back(n ? "change(node)" : "change(nil)"); };
  tree.BeginUpdate();
  tree.BeginUpdate();
  PDataNode n = tree.AddChild(nullptr);
  tree.SetSelected(n, true);
  tree.EndUpdate();
  EXPECT_TRUE(events.empty());
  tree.EndUpdate();
  EXPECT_EQ(events, (std::vector<std::string>{"structure(nil)", "change(nil)"}));
}

TEST(DataTreeModel, CompareNodePositions) {
  TDataTreeModel tree;
  tree.SetRootNodeCount(3);
  PDataNode a = tree.GetFirst(), c = tree.RootNode()->LastChild;
  PDataNode a1 = tree.AddChild(a), a2 = tree.AddChild(a);
  PDataNode a21 = tree.AddChild(a2);
  struct Case { PDataNode n1, n2; int expected; };
  for (const Case& k : std::vector<Case>{{a, a, 0}, {a21, a, 1}, {a, a21, -1}, {a1, a2, -1}, {a2, a1, 1},
                                         {a21, c, -2}, {c, a1, 2}, {a1, a21, -1}}) {
    EXPECT_EQ(tree.CompareNodePositions(k.n1, k.n2), k.expected);
  }
}

TEST(DataTreeModel, Navigation) {
  TDataTreeModel tree;
  tree.SetRootNodeCount(2);
  PDataNode a = tree.GetFirst(), b = tree.GetNextSibling(a);
  PDataNode a1 = tree.AddChild(a), a2 = tree.AddChild(a);
  PDataNode a21 = tree.AddChild(a2);
  EXPECT_EQ(tree.GetNextVisible(a), b);       // a collapsed
  EXPECT_EQ(tree.GetNextVisible(a21), b);     // hidden: from its visible ancestor
  EXPECT_EQ(tree.GetPreviousVisible(a21), a);
  tree.FullExpand();
  std::vector<PDataNode> order;
  for (PDataNode run = tree.GetFirstVisible(); run; run = tree.GetNextVisible(run)) order.push_back(run);
  EXPECT_EQ(order, (std::vector<PDataNode>{a, a1, a2, a21, b}));
  std::vector<PDataNode> back;
  for (PDataNode run = tree.GetLastVisible(); run; run = tree.GetPreviousVisible(run)) back.push_back(run);
  EXPECT_EQ(back, (std::vector<PDataNode>{b, a21, a2, a1, a}));
  EXPECT_EQ(tree.GetPreviousVisible(a), nullptr);
  EXPECT_EQ(tree.GetLast(), b);
  EXPECT_EQ(tree.GetLast(a), a21);
  EXPECT_EQ(tree.GetNextSibling(tree.RootNode()), nullptr);
  EXPECT_TRUE(tree.IsVisible(tree.RootNode()));
}

TEST(DataTreeModel, CallbacksNeverReceiveTheRoot) {
  TDataTreeModel tree;
  tree.SetRootNodeCount(2);
  tree.AddChild(tree.GetFirst());
  std::vector<PDataNode> seen;
  tree.IterateSubtree(nullptr, [&](TDataTreeModel*, PDataNode n, bool&) { seen.push_back(n); }, true);
  EXPECT_EQ(seen.size(), 3u);
  for (PDataNode n : seen) EXPECT_NE(n, tree.RootNode());
  PDataNode stopped = tree.IterateSubtree(nullptr, [&](TDataTreeModel*, PDataNode n, bool& abort) {
    abort = n->Parent != tree.RootNode();
  }, true);
  EXPECT_EQ(stopped, tree.GetFirst()->FirstChild);
  // A subtree walk stays inside the subtree.
  seen.clear();
  tree.IterateSubtree(tree.GetFirst(), [&](TDataTreeModel*, PDataNode n, bool&) { seen.push_back(n); }, true);
  EXPECT_EQ(seen.size(), 2u);
}

TEST(DataTreeModel, EnabledChildrenAndReset) {
  TDataTreeModel tree;
  PDataNode cat = tree.AddChild(nullptr);
  for (int i = 0; i < 3; ++i) tree.AddChild(cat);
  cat->FirstChild->Include(vsDisabled);
  EXPECT_EQ(tree.CountEnabledChildren(cat, false), 2u);
  tree.SetChildrenEnabled(cat, false, true);
  EXPECT_EQ(tree.CountEnabledChildren(cat, false), 0u);
  tree.SetSelected(cat, true);
  tree.ToggleNode(cat);
  tree.ResetNode(cat);
  EXPECT_EQ(cat->ChildCount, 0u);
  EXPECT_EQ(cat->States.load(), vsSelected);
  ExpectConsistent(tree);
}

TEST(DataTreeModel, CollapseAndExpandRestoreTotals) {
  TDataTreeModel tree;
  PDataNode top = tree.AddChild(nullptr);
  PDataNode mid = tree.AddChild(top);
  for (int i = 0; i < 4; ++i) tree.AddChild(mid);
  tree.FullExpand();
  EXPECT_EQ(tree.VisibleCount(), 6u);
  EXPECT_EQ(tree.RootNode()->TotalHeight, 18u * 7);
  tree.ToggleNode(mid);
  EXPECT_EQ(mid->TotalHeight, mid->NodeHeight);
  EXPECT_EQ(tree.VisibleCount(), 2u);
  EXPECT_EQ(top->TotalHeight, 36u);
  tree.ToggleNode(mid);
  EXPECT_EQ(tree.VisibleCount(), 6u);
  EXPECT_EQ(top->TotalHeight, 18u * 6);
  tree.FullCollapse();
  EXPECT_EQ(tree.VisibleCount(), 1u);
  ExpectConsistent(tree);
}

TEST(DataTreeModel, CheckStateNormalisationAndPropagation) {
  TDataTreeModel tree;
  tree.SetRootNodeCount(1);
  PDataNode n = tree.GetFirst();
  struct Case { TCheckType type; TCheckState set, expected; };
  for (const Case& k : std::vector<Case>{{ctCheckBox, csMixedNormal, csCheckedNormal},
                                         {ctCheckBox, csButtonPressed, csCheckedNormal},
                                         {ctButton, csCheckedNormal, csButtonNormal},
                                         {ctButton, csButtonPressed, csButtonPressed},
                                         {ctTriStateCheckBox, csMixedNormal, csMixedNormal}}) {
    tree.SetCheckType(n, k.type);
    n->CheckState = k.type == ctButton ? csUncheckedNormal : csButtonNormal;  // force a change
    tree.SetCheckState(n, k.set);
    EXPECT_EQ(n->CheckState, k.expected) << int(k.type) << " set " << int(k.set);
  }

  PDataNode group = tree.AddChild(nullptr);
  PDataNode r1 = tree.AddChild(group), r2 = tree.AddChild(group);
  tree.SetCheckType(r1, ctRadioButton);
  tree.SetCheckType(r2, ctRadioButton);
  tree.SetCheckState(r1, csCheckedNormal);
  r1->Include(vsDisabled);
  tree.SetCheckState(r2, csCheckedNormal);
  EXPECT_EQ(r1->CheckState, csUncheckedNormal);  // even the disabled sibling
  EXPECT_EQ(r2->CheckState, csCheckedNormal);

  PDataNode parent = tree.AddChild(nullptr);
  PDataNode c1 = tree.AddChild(parent), c2 = tree.AddChild(parent);
  tree.SetCheckType(parent, ctTriStateCheckBox);
  tree.SetCheckType(c1, ctCheckBox);
  tree.SetCheckType(c2, ctCheckBox);
  tree.SetCheckState(c1, csCheckedNormal);
  EXPECT_EQ(parent->CheckState, csMixedNormal);
  tree.SetCheckState(c2, csCheckedNormal);
  EXPECT_EQ(parent->CheckState, csCheckedNormal);
  tree.SetCheckState(parent, csUncheckedNormal);
  EXPECT_EQ(c1->CheckState, csUncheckedNormal);
  EXPECT_EQ(c2->CheckState, csUncheckedNormal);
}

TEST(DataTreeModel, CheckClickTransitions) {
  TDataTreeModel tree;
  tree.SetRootNodeCount(1);
  PDataNode n = tree.GetFirst();
  struct Case { TCheckType type; uint8_t from, to; bool disabled; };
  for (const Case& k : std::vector<Case>{{ctCheckBox, 1, 0, false}, {ctCheckBox, 0, 1, false},
                                         {ctCheckBox, 2, 1, false}, {ctTriStateCheckBox, 1, 0, false},
                                         {ctTriStateCheckBox, 0, 1, false}, {ctTriStateCheckBox, 2, 1, false},
                                         {ctRadioButton, 0, 1, false}, {ctButton, 4, 3, false},
                                         {ctCheckBox, 0, 0, true}}) {
    n->CheckType = k.type;
    n->CheckState = k.from;
    if (k.disabled) n->Include(vsDisabled);
    else n->Exclude(vsDisabled);
    tree.CheckClick(n);
    EXPECT_EQ(n->CheckState, k.to) << int(k.type) << " from " << int(k.from);
  }
}

TEST(DataTreeModel, SortIsStableAscendingAndReversesTiesDescending) {
  TDataTreeModel tree;
  tree.SetNodeDataSize(sizeof(int) * 2);
  tree.SetRootNodeCount(3);
  int keys[3][2] = {{2, 'a'}, {1, 0}, {2, 'b'}};
  int i = 0;
  for (PDataNode run = tree.GetFirst(); run; run = tree.GetNextSibling(run), ++i)
    std::memcpy(tree.GetNodeData(run), keys[i], sizeof keys[i]);
  auto compare = [](TDataTreeModel* t, PDataNode x, PDataNode y, int) {
    return static_cast<int*>(t->GetNodeData(x))[0] - static_cast<int*>(t->GetNodeData(y))[0];
  };
  auto order = [&] {
    std::string s;
    for (PDataNode run = tree.GetFirst(); run; run = tree.GetNextSibling(run)) {
      int* d = static_cast<int*>(tree.GetNodeData(run));
      s += std::to_string(d[0]) + (d[1] ? std::string(1, char(d[1])) : "") + " ";
    }
    return s;
  };
  tree.Sort(nullptr, 0, true, compare);
  EXPECT_EQ(order(), "1 2a 2b ");
  tree.Sort(nullptr, 0, false, compare);
  EXPECT_EQ(order(), "2b 2a 1 ");
  EXPECT_EQ(tree.RootNode()->FirstChild->Index, 0u);
  EXPECT_EQ(tree.RootNode()->LastChild->Index, 2u);
  EXPECT_EQ(tree.RootNode()->FirstChild->PrevSibling, nullptr);
  ExpectConsistent(tree);
}

TEST(DataTreeModel, MovingNodesWithinAndBetweenTrees) {
  TDataTreeModel a, b;
  PDataNode p = a.AddChild(nullptr);
  PDataNode c1 = a.AddChild(p);
  a.AddChild(c1);
  PDataNode q = a.AddChild(nullptr);
  EXPECT_THROW(a.MoveTo(p, c1, amAddChildLast, false), EDataTreeError);
  EXPECT_EQ(c1->Parent, p);
  a.MoveTo(c1, q, amAddChildFirst, false);
  EXPECT_EQ(q->FirstChild, c1);
  EXPECT_FALSE(p->Has(vsHasChildren));
  ExpectConsistent(a);
  a.MoveTo(q, nullptr, amAddChildLast, false);  // nil target: first child of the root
  EXPECT_EQ(a.GetFirst(), q);
  a.MoveTo(q, b.RootNode(), amAddChildLast, false);
  EXPECT_EQ(a.TotalCount(), 1u);
  EXPECT_EQ(b.TotalCount(), 3u);
  ExpectConsistent(a);
  ExpectConsistent(b);
}

}  // namespace
