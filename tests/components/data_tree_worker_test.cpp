// The position cache and the worker thread that builds it: pair counts and tops, the
// thread's life cycle, the queue, and structural changes while the worker runs.
#include <gtest/gtest.h>

#include <functional>
#include <thread>
#include <vector>

#include "components/data_tree_model.h"

namespace {

std::vector<TCacheEntry> BuiltCache(TDataTreeModel& tree) {
  tree.ValidateCache(0);
  tree.WaitForCache();
  return tree.CacheSnapshot()->Entries;
}

TEST(DataTreeWorker, PairsEveryTwoThousandVisibleNodesWithTheirTops) {
  struct Case { uint32_t visible; size_t pairs; };
  for (const Case& k : std::vector<Case>{{1, 1}, {2000, 1}, {2001, 2}, {4000, 2}, {4001, 3}}) {
    TDataTreeModel tree;
    tree.SetRootNodeCount(k.visible);
    auto cache = BuiltCache(tree);
    ASSERT_EQ(cache.size(), k.pairs) << k.visible;
    if (k.visible <= 2000) {
      EXPECT_EQ(cache[0].Node, nullptr);
      continue;
    }
    PDataNode n2000 = tree.RootNode()->FirstChild;
    for (int i = 1; i < 2000; ++i) n2000 = n2000->NextSibling;
    EXPECT_EQ(cache[0].Node, n2000);
    EXPECT_EQ(cache[0].Top, 1999u * 18);
    if (k.visible == 4001) {
      EXPECT_EQ(cache[2].Node, tree.RootNode()->LastChild);  // the closing pair
      EXPECT_EQ(cache[2].Top, 4000u * 18);
    }
  }
}

TEST(DataTreeWorker, NodeAtHeightAgreesWithAWalk) {
  TDataTreeModel tree;
  tree.SetRootNodeCount(3000);
  PDataNode mid = tree.RootNode()->FirstChild;
  for (int i = 0; i < 10; ++i) mid = mid->NextSibling;
  for (int i = 0; i < 5; ++i) tree.AddChild(mid);
  tree.ToggleNode(mid);
  tree.SetNodeHeight(mid->FirstChild, 40);
  tree.AddChild(mid->NextSibling);  // collapsed, with a child
  tree.AddChild(mid->FirstChild->NextSibling);
  auto check = [&](const char* cache) {
    SCOPED_TRACE(cache);
    uint32_t top = 0;
    int n = 0;
    for (PDataNode run = tree.GetFirstVisible(); run; run = tree.GetNextVisible(run), ++n) {
      if (n % 97 == 0 || n < 20 || n > 2990) {
        uint32_t found = 0;
        ASSERT_EQ(tree.GetNodeAtY(top + run->NodeHeight - 1, &found), run);
        EXPECT_EQ(found, top);
        EXPECT_EQ(tree.GetNodeTop(run), top);
      }
      top += run->NodeHeight;
    }
    EXPECT_EQ(tree.GetNodeAtY(top), nullptr);
  };
  BuiltCache(tree);
  check("with the cache");
  tree.InvalidateCache();
  check("without it");
}

TEST(DataTreeWorker, LastTreeEndsTheThreadAndANewTreeStartsOne) {
  {
    TDataTreeModel tree;
    EXPECT_TRUE(WorkerThreadRunning());
  }
  EXPECT_FALSE(WorkerThreadRunning());
  TDataTreeModel again;
  EXPECT_TRUE(WorkerThreadRunning());
}

// A builder that blocks until released, to hold the worker while trees queue.
struct Blocker : TCacheBuilder {
  std::atomic<bool> started{false}, release{false};
  void BuildCache(const std::atomic<bool>& stop) override {
    started = true;
    while (!release && !stop) std::this_thread::yield();
  }
};

TEST(DataTreeWorker, QueueHoldsATreeOnceAndIsDrained) {
  TDataTreeModel a, b;
  a.SetRootNodeCount(5000);
  b.SetRootNodeCount(5000);
  Blocker blocker;
  AddThreadReference();
  QueueValidation(&blocker);
  while (!blocker.started) std::this_thread::yield();
  a.InvalidateCache();
  b.InvalidateCache();
  a.ValidateCache(0);
  a.ValidateCache(0);
  b.ValidateCache(0);
  EXPECT_EQ(WorkerQueueLength(), 2);
  blocker.release = true;
  a.WaitForCache();
  b.WaitForCache();  // both built after one wake-up
  EXPECT_EQ(a.CacheSnapshot()->Entries.size(), 3u);
  EXPECT_EQ(b.CacheSnapshot()->Entries.size(), 3u);
  ReleaseThreadReference(&blocker);
}

// Every 2000th visible node and its top are in the cache, and a closing pair follows.
void ExpectCacheMatchesWalk(TDataTreeModel& tree, const std::vector<TCacheEntry>& cache) {
  uint32_t visible = tree.VisibleCount();
  ASSERT_EQ(cache.size(), (visible + 1999) / 2000);
  uint32_t top = 0, lastTop = 0;
  PDataNode run = tree.GetFirstVisible(), last = nullptr;
  for (uint32_t n = 1; run; ++n, run = tree.GetNextVisible(run)) {
    if (n % 2000 == 0) {
      ASSERT_EQ(cache[n / 2000 - 1].Node, run) << n;
      ASSERT_EQ(cache[n / 2000 - 1].Top, top) << n;
    }
    last = run;
    lastTop = top;
    top += run->NodeHeight;
  }
  EXPECT_EQ(cache.back().Node, last);
  EXPECT_EQ(cache.back().Top, lastTop);
}

// Structural changes race the worker: every change interrupts it and truncates the cache, so
// no reader ever sees a pair of a freed node. Run under ThreadSanitizer too.
TEST(DataTreeWorker, ChangesWhileTheWorkerBuildsStayConsistent) {
  TDataTreeModel tree;
  tree.SetRootNodeCount(20000);
  for (int round = 0; round < 200; ++round) {
    tree.ValidateCache(0);
    PDataNode victim = round % 3 == 0 ? tree.RootNode()->LastChild : nullptr;
    if (victim) tree.DeleteNode(victim);
    else if (round % 3 == 1) tree.AddChild(tree.GetFirst());
    else tree.ToggleNode(tree.GetFirst());
    if (victim) {
      for (const TCacheEntry& e : tree.CacheSnapshot()->Entries) ASSERT_NE(e.Node, victim);
    }
    tree.GetNodeAtY(int64_t(round) * 1000);
  }
  ExpectCacheMatchesWalk(tree, BuiltCache(tree));
}

// A change keeps the pairs above the changed place (so a view at the end of a large tree needs
// no walk from the top), and the worker rebuilds the rest as a build from scratch would.
TEST(DataTreeWorker, AChangeCutsTheCacheAtItsPlace) {
  struct Case {
    const char* name;
    std::function<void(TDataTreeModel&, PDataNode late)> change;
    bool keeps;  // pairs above the place stay
  };
  const Case cases[] = {
      {"delete", [](TDataTreeModel& t, PDataNode late) { t.DeleteNode(late); }, true},
      {"add last", [](TDataTreeModel& t, PDataNode) { t.AddChild(nullptr); }, true},
      {"add child", [](TDataTreeModel& t, PDataNode late) { t.AddChild(late); }, true},
      {"insert before", [](TDataTreeModel& t, PDataNode late) { t.InsertNode(late, amInsertBefore); }, true},
      {"collapse", [](TDataTreeModel& t, PDataNode late) { t.ToggleNode(late->Parent); }, true},
      {"height", [](TDataTreeModel& t, PDataNode late) { t.SetNodeHeight(late, 30); }, true},
      {"fewer children", [](TDataTreeModel& t, PDataNode late) { t.SetChildCount(late->Parent, 3); }, true},
      {"sort", [](TDataTreeModel& t, PDataNode late) {
         t.Sort(late->Parent, 0, false, [](TDataTreeModel*, PDataNode a, PDataNode b, int) {
           return int(a->Index) - int(b->Index);
         }, false);
       }, true},
      {"delete first", [](TDataTreeModel& t, PDataNode) { t.DeleteNode(t.GetFirst()); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TDataTreeModel tree;
    tree.SetRootNodeCount(100);
    for (PDataNode r = tree.GetFirst(); r; r = r->NextSibling) {
      tree.SetChildCount(r, 99);
      tree.ToggleNode(r);
    }
    const auto before = BuiltCache(tree);  // 10,000 visible nodes: 5 pairs
    PDataNode late = tree.RootNode()->LastChild->FirstChild->NextSibling;
    const uint32_t lateTop = tree.GetNodeTop(late);
    // The worker is held, so the cut cache is what a paint right after the change meets.
    Blocker blocker;
    AddThreadReference();
    QueueValidation(&blocker);
    while (!blocker.started) std::this_thread::yield();
    c.change(tree, late);
    const auto cut = tree.CacheSnapshot()->Entries;
    size_t above = 0;
    while (above < before.size() && before[above].Top < lateTop - 18) ++above;
    if (c.keeps) {
      ASSERT_GE(cut.size(), above);
      for (size_t i = 0; i < above; ++i) EXPECT_EQ(cut[i].Node, before[i].Node);
    } else {
      EXPECT_TRUE(cut.empty());
    }
    const PDataNode lastVisible = tree.GetLastVisible();
    uint32_t walked = 0;
    for (PDataNode run = tree.GetFirstVisible(); run != lastVisible; run = tree.GetNextVisible(run))
      walked += run->NodeHeight;
    EXPECT_EQ(tree.GetNodeTop(lastVisible), walked);
    EXPECT_EQ(tree.GetNodeAtY(walked), lastVisible);
    blocker.release = true;
    tree.WaitForCache();
    ExpectCacheMatchesWalk(tree, tree.CacheSnapshot()->Entries);
    ReleaseThreadReference(&blocker);
  }
}

}  // namespace
