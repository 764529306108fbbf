// Cut, copy and paste of data tree nodes through the clipboard, within one tree, between
// trees and from another process; the text export; drop modes.
#include <gtest/gtest.h>

#include <unistd.h>

#include "components/data_tree_string.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/form.h"

namespace {

// A string tree whose nodes carry their name as user data (saved, loaded and shown).
struct NamedTree {
  TForm form{nullptr};
  TDataStringTree* tree;
  NamedTree() {
    tree = new TDataStringTree(&form);
    tree->SetParent(&form);
    tree->SetNodeDataSize(sizeof(char16_t) * 8);
    tree->SetOptions(tree->Options() | voMultiSelect);
    tree->OnGetText = [](TCustomDataStringTree* t, PDataNode n, int, TDSTTextType, std::u16string& s) {
      s = static_cast<const char16_t*>(t->GetNodeData(n));
    };
    tree->OnNewText = [](TCustomDataStringTree* t, PDataNode n, int, const std::u16string& s) {
      std::u16string name = s.substr(0, 7);
      std::copy(name.begin(), name.end(), static_cast<char16_t*>(t->GetNodeData(n)));
    };
  }
  PDataNode Add(PDataNode parent, const std::u16string& name) {
    PDataNode n = tree->AddChild(parent);
    tree->OnNewText(tree, n, -1, name);
    n->Include(vsInitialized);
    tree->InvalidateNode(n);
    return n;
  }
  std::u16string Dump() {
    std::u16string out;
    for (PDataNode r = tree->RootNode()->FirstChild; r; r = tree->GetNext(r)) {
      out.append(tree->GetNodeLevel(r), u'-');
      out += tree->DoGetText(r, -1) + u" ";
    }
    return out;
  }
};

TEST(DataTreeClipboard, TextOfAParentWithTwoChildren) {
  NamedTree t;
  PDataNode p = t.Add(nullptr, u"P");
  PDataNode c1 = t.Add(p, u"C1"), c2 = t.Add(p, u"C2");
  t.tree->InternalAddToSelection({p, c1, c2}, false);
  t.tree->CopyToClipboard();
  EXPECT_EQ(Clipboard()->AsUnicodeText(), u"P\r\tC1\r\tC2\r");
  EXPECT_TRUE(Clipboard()->HasFormat(TBaseDataTree::ReferenceFormat()));
  EXPECT_TRUE(Clipboard()->HasFormat(TBaseDataTree::NativeFormat()));
  t.tree->CancelCutOrCopy();
}

TEST(DataTreeClipboard, CopyWithoutSelectionLeavesTheClipboard) {
  NamedTree t;
  t.Add(nullptr, u"A");
  Clipboard()->SetAsText("keep");
  t.tree->CopyToClipboard();
  EXPECT_EQ(Clipboard()->AsText(), "keep");
}

TEST(DataTreeClipboard, CutInOneTreePasteInAnotherMovesTheNodes) {
  NamedTree a, b;
  PDataNode p = a.Add(nullptr, u"P");
  a.Add(p, u"C");
  a.Add(nullptr, u"Q");
  b.Add(nullptr, u"X");
  a.tree->SetSelected(p, true);
  a.tree->CutToClipboard();
  EXPECT_TRUE(p->Has(vsCutOrCopy));
  EXPECT_TRUE(b.tree->PasteFromClipboard());
  EXPECT_EQ(a.Dump(), u"Q ");
  EXPECT_EQ(b.Dump(), u"X P -C ");
}

TEST(DataTreeClipboard, CutAndPasteWithinOneTreeKeepsTheNodes) {
  NamedTree t;
  PDataNode p = t.Add(nullptr, u"P");
  t.Add(p, u"C");
  PDataNode q = t.Add(nullptr, u"Q");
  t.tree->SetSelected(p, true);
  t.tree->CutToClipboard();
  t.tree->SetFocusedNode(q);
  EXPECT_TRUE(t.tree->PasteFromClipboard());
  EXPECT_EQ(t.Dump(), u"Q -P --C ");
  EXPECT_FALSE(t.tree->HasState(tsCutPending));
  EXPECT_FALSE(p->Has(vsCutOrCopy));

  // A node cut and pasted into its own subtree stays where it is, subtree and all.
  PDataNode c = q->FirstChild->FirstChild;
  t.tree->ClearSelection();
  t.tree->SetSelected(q, true);
  t.tree->CutToClipboard();
  t.tree->SetFocusedNode(c);
  t.tree->PasteFromClipboard();
  EXPECT_EQ(t.Dump(), u"Q -P --C ");
}

TEST(DataTreeClipboard, DataFromAnotherProcessIsCopied) {
  NamedTree a, b;
  a.Add(nullptr, u"A");
  a.tree->SetSelected(a.tree->GetFirst(), true);
  a.tree->CutToClipboard();
  std::string native = Clipboard()->GetAsBytes(TBaseDataTree::NativeFormat());
  std::string reference = Clipboard()->GetAsBytes(TBaseDataTree::ReferenceFormat());
  uint32_t otherPid = uint32_t(getpid()) + 1;
  for (int k = 0; k < 4; ++k) reference[size_t(4 + k)] = char(uint8_t(otherPid >> (8 * k)));
  Clipboard()->Open();
  Clipboard()->SetAsBytes(TBaseDataTree::ReferenceFormat(), reference);
  Clipboard()->SetAsBytes(TBaseDataTree::NativeFormat(), native);
  Clipboard()->Close();
  EXPECT_TRUE(b.tree->PasteFromClipboard());
  EXPECT_EQ(a.Dump(), u"A ");
  EXPECT_EQ(b.Dump(), u"A ");
  EXPECT_FALSE(a.tree->HasState(tsCutPending));  // the clipboard is no longer a's
}

TEST(DataTreeClipboard, ForeignClipboardContentSurvivesAFormatChange) {
  NamedTree t;
  t.Add(nullptr, u"A");
  Clipboard()->SetAsText("foreign");
  t.tree->SetOLEFormats(ofNative);
  EXPECT_EQ(Clipboard()->AsText(), "foreign");
  t.tree->SetSelected(t.tree->GetFirst(), true);
  t.tree->CopyToClipboard();
  EXPECT_TRUE(Clipboard()->HasFormat(TBaseDataTree::NativeFormat()));
  EXPECT_FALSE(Clipboard()->HasFormat(CF_UNICODETEXT));
  t.tree->SetOLEFormats(ofNative | ofUnicodeText);
  EXPECT_FALSE(Clipboard()->HasFormat(TBaseDataTree::ReferenceFormat()));  // our own data went
}

TEST(DataTreeClipboard, ImpossibleBlockSizesLeaveTheTreeAlone) {
  NamedTree t;
  t.Add(nullptr, u"A");
  std::string bad("\xFF\x00\x00\x00\x01\x00\x00\x00", 8);
  EXPECT_THROW(t.tree->ProcessNativeData(nullptr, bad, nullptr, amAddChildLast, false), EDataTreeError);
  std::string corrupt = std::string("\x08\x00\x00\x00", 4) + std::string("\x01\x00\x00\x00\x40\x00\x00\x00", 8);
  EXPECT_THROW(t.tree->ProcessNativeData(nullptr, corrupt, nullptr, amAddChildLast, false), EDataTreeError);
  EXPECT_EQ(t.Dump(), u"A ");
}

TEST(DataTreeClipboard, DropModesAndDropsWithoutAHandler) {
  NamedTree a, b;
  TBaseDataTree* self = a.tree;
  struct Case { TBaseDataTree* source; TShiftState shift; unsigned allowed, effect; };
  for (const Case& k : std::vector<Case>{{b.tree, 0, deCopy | deMove, deCopy}, {self, 0, deCopy | deMove, deMove},
                                         {nullptr, 0, deCopy | deMove, deCopy}, {self, ssShift, deCopy | deMove, deMove},
                                         {b.tree, ssShift, deCopy | deMove, deMove}, {self, ssCtrl, deCopy | deMove, deCopy},
                                         {self, ssCtrl | ssShift, deCopy | deMove | deLink, deLink},
                                         {self, ssAlt, deCopy | deMove | deLink, deLink},
                                         {self, ssAlt, deCopy | deMove, deMove}, {self, 0, deCopy, deCopy}}) {
    EXPECT_EQ(a.tree->DetermineDropMode(k.source, k.shift, k.allowed), k.effect);
  }
  a.Add(nullptr, u"A");
  unsigned effect = deCopy;
  EXPECT_EQ(a.tree->DragOver(b.tree, {30, 5}, 0, deCopy | deMove), deNone);  // no handler: refused
  EXPECT_FALSE(a.tree->DropData(b.tree, {20, 5}, 0, effect));
  EXPECT_EQ(a.Dump(), u"A ");
  TDropMode seen = dmNowhere;
  a.tree->OnDragDrop = [&](TBaseDataTree*, TBaseDataTree*, const std::vector<unsigned>& formats, TShiftState, TPoint,
                           unsigned&, TDropMode mode) {
    seen = mode;
    EXPECT_EQ(formats.front(), TBaseDataTree::ReferenceFormat());
  };
  EXPECT_EQ(a.tree->DragOver(b.tree, {30, 16}, 0, deCopy | deMove), deCopy);
  EXPECT_EQ(a.tree->DropTarget(), a.tree->GetFirst());
  EXPECT_TRUE(a.tree->DropData(b.tree, {30, 16}, 0, effect));
  EXPECT_EQ(seen, dmOnNode);
  EXPECT_EQ(a.tree->DropTarget(), nullptr);
}

// A drop from another tree of this process reaches OnDragDrop with the dragged bytes.
TEST(DataTreeClipboard, WindowDropHandsTheNodesToTheHandler) {
  NamedTree a, b;
  PDataNode p = a.Add(nullptr, u"P");
  a.Add(p, u"C");
  a.tree->SetSelected(p, true);
  a.tree->CopyToClipboard();
  std::string reference = Clipboard()->GetAsBytes(TBaseDataTree::ReferenceFormat());
  std::string native = Clipboard()->GetAsBytes(TBaseDataTree::NativeFormat());
  a.tree->CancelCutOrCopy();
  b.Add(nullptr, u"X");
  b.tree->OnDragDrop = [&](TBaseDataTree* sender, TBaseDataTree* source, const std::vector<unsigned>&, TShiftState,
                           TPoint, unsigned& effect, TDropMode) {
    EXPECT_EQ(source, a.tree);
    sender->ProcessNativeData(nullptr, sender->DroppedData(TBaseDataTree::NativeFormat()), sender->DropTarget(),
                              amAddChildLast, false);
    effect = deCopy;
  };
  TDataDropInfo info;
  TPoint origin = b.tree->ClientOrigin();
  info.Point = {origin.X + 30, origin.Y + 9};
  info.Allowed = deCopy | deMove;
  info.Data = [&](unsigned f) { return f == TBaseDataTree::ReferenceFormat() ? reference : f == TBaseDataTree::NativeFormat() ? native : ""; };
  EXPECT_EQ(b.tree->DataDragOver(info, true), deCopy);
  EXPECT_EQ(b.tree->DataDrop(info), deCopy);
  EXPECT_EQ(b.Dump(), u"X -P --C ");
  EXPECT_EQ(a.Dump(), u"P -C ");
}

}  // namespace
