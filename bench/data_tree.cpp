// Speed and memory of the data tree with a million nodes: building, expanding everything,
// scrolling to the end and painting, single changes with their repaint at the top and the end,
// selecting, sorting and streaming out and in.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstring>

#include "components/data_tree_string.h"
#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/streams.h"

namespace {

constexpr uint32_t kRoots = 1000, kChildren = 999;  // 1,000,000 nodes in all

size_t HeapInUse() { return mallinfo2().uordblks; }

// Builds roots with children through SetChildCount (records made at once, initialised lazily).
void Build(TDataTreeModel& tree) {
  tree.BeginUpdate();
  tree.SetRootNodeCount(kRoots);
  for (PDataNode r = tree.RootNode()->FirstChild; r; r = r->NextSibling) tree.SetChildCount(r, kChildren);
  tree.EndUpdate();
}

void BM_BuildMillion(benchmark::State& state) {
  size_t perNode = 0;
  for (auto _ : state) {
    size_t before = HeapInUse();
    TDataTreeModel tree;
    tree.SetNodeDataSize(int(sizeof(int)));
    Build(tree);
    perNode = (HeapInUse() - before) / tree.TotalCount();
    benchmark::DoNotOptimize(tree.TotalCount());
  }
  state.counters["heap_bytes_per_node"] = double(perNode);
  state.counters["record_bytes"] = double(sizeof(TDataNode));
}
BENCHMARK(BM_BuildMillion)->Unit(benchmark::kMillisecond);

void BM_AddChildMillion(benchmark::State& state) {
  for (auto _ : state) {
    TDataTreeModel tree;
    tree.BeginUpdate();
    for (uint32_t i = 0; i < kRoots; ++i) {
      PDataNode r = tree.AddChild(nullptr);
      for (uint32_t k = 0; k < kChildren; ++k) tree.AddChild(r);
    }
    tree.EndUpdate();
  }
}
BENCHMARK(BM_AddChildMillion)->Unit(benchmark::kMillisecond);

void BM_ExpandAllAndCache(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    TDataTreeModel tree;
    Build(tree);
    state.ResumeTiming();
    tree.FullExpand();
    tree.WaitForCache();
    benchmark::DoNotOptimize(tree.VisibleCount());
  }
}
BENCHMARK(BM_ExpandAllAndCache)->Unit(benchmark::kMillisecond);

// A shown string tree with every node visible.
struct ShownTree {
  TForm form{nullptr};
  TDataStringTree* tree;
  ShownTree() {
    form.SetBounds(0, 0, 500, 700);
    tree = new TDataStringTree(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 480, 660);
    tree->OnGetText = [](TCustomDataStringTree*, PDataNode n, int, TDSTTextType, std::u16string& s) {
      s = u"Node " + std::u16string(1, char16_t(u'0' + n->Index % 10));
    };
    Build(*tree);
    tree->FullExpand();
    form.Show();
    Application->ProcessMessages();
    tree->WaitForCache();
  }
};

void BM_ScrollToEndAndPaint(benchmark::State& state) {
  ShownTree shown;
  for (auto _ : state) {
    shown.tree->ScrollRequest(true, SB_TOP, 0);
    shown.tree->Repaint();
    shown.tree->ScrollRequest(true, SB_BOTTOM, 0);
    shown.tree->Repaint();
  }
}
BENCHMARK(BM_ScrollToEndAndPaint)->Unit(benchmark::kMillisecond);

void BM_SelectLastAndToggle(benchmark::State& state) {
  ShownTree shown;
  PDataNode lastRoot = shown.tree->RootNode()->LastChild;
  for (auto _ : state) {
    shown.tree->SetFocusedNode(lastRoot->LastChild);
    shown.tree->SetSelected(lastRoot->LastChild, true);
    shown.tree->ScrollIntoView(lastRoot->LastChild, false);
    shown.tree->ToggleNode(lastRoot);
    shown.tree->ToggleNode(lastRoot);
    shown.tree->Repaint();
  }
}
BENCHMARK(BM_SelectLastAndToggle)->Unit(benchmark::kMillisecond);

// One structural change and its repaint while the view shows the top (0) or the end (1) of the
// million nodes: deleting a node, collapsing a root, adding a node outside an update (each where
// the view is), and deleting a node at the other end.
enum TChange { kDelete, kCollapse, kAddChild, kDeleteFar };

void BM_ChangeAndRepaint(benchmark::State& state) {
  ShownTree shown;
  TDataStringTree& tree = *shown.tree;
  const bool atEnd = state.range(1) != 0;
  tree.ScrollRequest(true, atEnd ? SB_BOTTOM : SB_TOP, 0);
  tree.Repaint();
  auto root = [&] { return atEnd ? tree.RootNode()->LastChild : tree.RootNode()->FirstChild; };
  for (auto _ : state) {
    switch (TChange(state.range(0))) {
      case kDelete:
        tree.DeleteNode(atEnd ? root()->LastChild : root()->FirstChild);
        break;
      case kCollapse:
        tree.ToggleNode(root());
        break;
      case kAddChild:
        tree.AddChild(atEnd ? nullptr : root());
        break;
      case kDeleteFar:
        tree.DeleteNode(atEnd ? tree.RootNode()->FirstChild->FirstChild : tree.RootNode()->LastChild->LastChild);
        break;
    }
    tree.Repaint();
    if (TChange(state.range(0)) == kCollapse) {  // back as it was, outside the measure
      state.PauseTiming();
      tree.ToggleNode(root());
      tree.Repaint();
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_ChangeAndRepaint)
    ->ArgNames({"change", "at_end"})
    ->ArgsProduct({{kDelete, kCollapse, kAddChild, kDeleteFar}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

void BM_SortMillion(benchmark::State& state) {
  TDataTreeModel tree;
  tree.SetNodeDataSize(int(sizeof(uint32_t)));
  tree.SetRootNodeCount(kRoots * (kChildren + 1));
  uint32_t seed = 12345;
  for (PDataNode r = tree.RootNode()->FirstChild; r; r = r->NextSibling) {
    seed = seed * 1103515245u + 12345u;
    std::memcpy(tree.GetNodeData(r), &seed, sizeof seed);
  }
  bool ascending = true;
  auto compare = [](TDataTreeModel* t, PDataNode a, PDataNode b, int) {
    uint32_t x = *static_cast<uint32_t*>(t->GetNodeData(a)), y = *static_cast<uint32_t*>(t->GetNodeData(b));
    return x < y ? -1 : x > y ? 1 : 0;
  };
  for (auto _ : state) {
    tree.Sort(nullptr, 0, ascending, compare, false);
    ascending = !ascending;
  }
}
BENCHMARK(BM_SortMillion)->Unit(benchmark::kMillisecond);

void BM_StreamOutAndIn(benchmark::State& state) {
  TDataTreeModel tree;
  tree.SetOptions(tree.Options() & ~voInitOnSave);
  Build(tree);
  for (PDataNode r = tree.RootNode()->FirstChild; r; r = tree.GetNext(r)) r->Include(vsInitialized);
  size_t bytes = 0;
  for (auto _ : state) {
    TMemoryStream stream;
    tree.SaveToStream(stream);
    bytes = size_t(stream.Size());
    stream.SetPosition(0);
    TDataTreeModel copy;
    copy.LoadFromStream(stream);
    benchmark::DoNotOptimize(copy.TotalCount());
  }
  state.counters["stream_bytes_per_node"] = double(bytes) / tree.TotalCount();
}
BENCHMARK(BM_StreamOutAndIn)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
