// The node stream format byte for byte, reading back what was written, and damaged streams.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "components/data_tree_model.h"
#include "platform/streams.h"

namespace {

std::string Bytes(TMemoryStream& s) { return std::string(s.Memory(), size_t(s.Size())); }

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

const std::string kHeader = "45 20 56 00 54 00 01 00 10 00 46 20";

TEST(DataTreeStream, EmptyTreeIsTheHeaderOnly) {
  TDataTreeModel tree;
  TMemoryStream s;
  tree.SaveToStream(s);
  EXPECT_EQ(Hex(Bytes(s)), kHeader);
  tree.SetRootNodeCount(2);
  s.SetPosition(0);
  tree.LoadFromStream(s);
  EXPECT_EQ(tree.RootNodeCount(), 0u);
}

// The golden layout of a parent (expanded, checked box) with one leaf child and user data.
TEST(DataTreeStream, GoldenBytesOfTwoNodes) {
  TDataTreeModel tree;
  tree.SetOptions(tree.Options() & ~voInitOnSave);
  PDataNode parent = tree.AddChild(nullptr);
  PDataNode child = tree.AddChild(parent);
  parent->Include(vsInitialized | vsCutOrCopy);
  tree.ToggleNode(parent);
  parent->CheckType = ctCheckBox;
  parent->CheckState = csCheckedNormal;
  child->Include(vsInitialized);
  tree.OnSaveNode = [&](TDataTreeModel*, PDataNode n, TStream& s) {
    if (n == child) s.WriteBuffer("\x7F\x01", 2);
  };
  TMemoryStream s;
  tree.SaveToStream(s);
  const std::string childBytes =
      "01 00 00 00 1E 00 00 00 "                                     // anchor: 20 + 10 bytes
      "02 00 00 00 0C 00 00 00 00 00 00 00 12 00 00 00 01 32 00 00 "  // base: leaf, 18, initialised, align 50
      "04 00 00 00 02 00 00 00 7F 01";                               // user data
  const std::string expected = kHeader +
      " 01 00 00 00 3A 00 00 00 "                                    // anchor: 8 + 50 bytes
      "02 00 00 00 32 00 00 00 01 00 00 00 12 00 00 00 61 32 01 01 "  // base: 12 + the child's 38
      + childBytes;
  EXPECT_EQ(Hex(Bytes(s)), expected);  // cut-or-copy is never saved; no user chunk for the parent
}

TEST(DataTreeStream, LeafWithoutDataIsTwentyEightBytes) {
  TDataTreeModel tree;
  tree.SetRootNodeCount(1);
  TMemoryStream s;
  tree.WriteNode(s, tree.GetFirst());
  EXPECT_EQ(s.Size(), 28);
  EXPECT_EQ(Hex(Bytes(s)).substr(0, 23), "01 00 00 00 14 00 00 00");
}

TEST(DataTreeStream, RoundTripKeepsShapeStatesAndData) {
  TDataTreeModel source;
  source.SetNodeDataSize(sizeof(int));
  source.OnSaveNode = [](TDataTreeModel* t, PDataNode n, TStream& s) { s.WriteBuffer(t->GetNodeData(n), 4); };
  int next = 0;
  source.OnInitNode = [&](TDataTreeModel* t, PDataNode, PDataNode n, TDataNodeInitStates&) {
    *static_cast<int*>(t->GetNodeData(n)) = ++next;
  };
  source.SetRootNodeCount(3);
  PDataNode a = source.GetFirst();
  for (int i = 0; i < 3; ++i) source.AddChild(a);
  source.AddChild(source.GetFirstChild(a));
  source.FullExpand();
  source.ToggleNode(source.GetFirstChild(a));  // one collapsed branch inside
  source.SetNodeHeight(source.GetLast(), 30);
  TMemoryStream s;
  source.SaveToStream(s);

  TDataTreeModel target;
  target.SetNodeDataSize(sizeof(int));
  target.OnLoadNode = [](TDataTreeModel* t, PDataNode n, TStream& s) { s.ReadBuffer(t->GetNodeData(n), 4); };
  s.SetPosition(0);
  target.LoadFromStream(s);
  EXPECT_EQ(target.TotalCount(), source.TotalCount());
  EXPECT_EQ(target.VisibleCount(), source.VisibleCount());
  EXPECT_EQ(target.RootNode()->TotalHeight, source.RootNode()->TotalHeight);
  std::vector<int> a1, b1;
  for (PDataNode r = source.GetFirst(); r; r = source.GetNext(r)) a1.push_back(*static_cast<int*>(source.GetNodeData(r)));
  for (PDataNode r = target.GetFirst(); r; r = target.GetNext(r)) b1.push_back(*static_cast<int*>(target.GetNodeData(r)));
  EXPECT_EQ(a1, b1);
}

TEST(DataTreeStream, BadHeadersAndDamagedNodesLeaveTheTreeAsItWas) {
  TDataTreeModel good;
  good.SetRootNodeCount(2);
  good.AddChild(good.GetFirst());
  TMemoryStream saved;
  good.SaveToStream(saved);
  const std::string valid = Bytes(saved);
  struct Case { const char* what; std::string bytes; const char* message; };
  std::string badMagic = valid; badMagic[0] = 0x46;
  std::string version2 = valid; version2[6] = 2;
  std::string noAnchor = valid; noAnchor[12] = 9;
  std::string bigAnchor = valid; bigAnchor[16] = char(0xF0);
  std::string bigChildCount = valid; bigChildCount[28] = 7;
  std::string truncated = valid.substr(0, valid.size() - 3);
  std::vector<Case> cases = {
      {"short header", valid.substr(0, 7), "Unable to load tree structure, the format is wrong."},
      {"wrong magic", badMagic, "Unable to load tree structure, the format is wrong."},
      {"version 2", version2, "Unable to load tree structure, the version is unknown."},
      {"no anchor", noAnchor, "Stream data corrupt. A node's anchor chunk is missing."},
      {"anchor past the end", bigAnchor, "Stream data corrupt. A chunk is larger than the data that holds it."},
      {"more children than data", bigChildCount, nullptr},
      {"truncated", truncated, nullptr},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    TDataTreeModel tree;
    tree.SetRootNodeCount(4);
    TMemoryStream s;
    s.WriteBuffer(k.bytes.data(), int(k.bytes.size()));
    s.SetPosition(0);
    try {
      tree.LoadFromStream(s);
      ADD_FAILURE() << "no error";
    } catch (const EDataTreeError& e) {
      if (k.message) {
        EXPECT_EQ(e.Message, k.message);
      }
    }
    EXPECT_EQ(tree.RootNodeCount(), 4u);
    EXPECT_EQ(tree.VisibleCount(), 4u);
  }
}

TEST(DataTreeStream, VersionZeroLoadsAndUnknownChunksAreSkipped) {
  TDataTreeModel tree;
  tree.SetRootNodeCount(1);
  TMemoryStream s;
  tree.SaveToStream(s);
  std::string bytes = Bytes(s);
  bytes[6] = 0;
  // An extra chunk of type 9 inside the node: the anchor grows by its 8 + 2 bytes.
  bytes[16] = char(bytes[16] + 10);
  bytes += std::string("\x09\0\0\0\x02\0\0\0\xAB\xCD", 10);
  TMemoryStream in;
  in.WriteBuffer(bytes.data(), int(bytes.size()));
  in.SetPosition(0);
  TDataTreeModel target;
  target.LoadFromStream(in);
  EXPECT_EQ(target.RootNodeCount(), 1u);
  EXPECT_EQ(target.GetFirst()->NodeHeight, 18);
}

TEST(DataTreeStream, DeepNestingIsRefused) {
  // 2000 nested anchors: each base chunk says one child.
  std::string node;
  for (int i = 0; i < 2000; ++i) {
    std::string base = std::string("\x01\0\0\0\x12\0\0\0\x01\x32\0\0", 12) + node;
    if (i == 0) base[0] = 0;
    auto u32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    std::string chunk = u32(2) + u32(uint32_t(base.size())) + base;
    node = u32(1) + u32(uint32_t(chunk.size())) + chunk;
  }
  TDataTreeModel tree;
  TMemoryStream s;
  tree.SaveToStream(s);
  s.WriteBuffer(node.data(), int(node.size()));
  s.SetPosition(0);
  EXPECT_THROW(tree.LoadFromStream(s), EDataTreeError);
  EXPECT_EQ(tree.RootNodeCount(), 0u);
}

TEST(DataTreeStream, LoadedSelectionNeedsMultiSelectAndAnEnabledNode) {
  TDataTreeModel source;
  source.SetOptions(source.Options() | voMultiSelect);
  source.SetRootNodeCount(2);
  source.SetSelected(source.GetFirst(), true);
  source.SetSelected(source.GetFirst()->NextSibling, true);
  source.GetFirst()->Include(vsDisabled);
  TMemoryStream s;
  source.SaveToStream(s);
  for (bool multi : {false, true}) {
    TDataTreeModel target;
    if (multi) target.SetOptions(target.Options() | voMultiSelect);
    s.SetPosition(0);
    target.LoadFromStream(s);
    EXPECT_EQ(target.SelectionCount(), multi ? 1 : 0);
    EXPECT_FALSE(target.GetFirst()->Has(vsSelected));
  }
}

}  // namespace
