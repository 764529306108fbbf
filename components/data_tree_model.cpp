#include "components/data_tree_model.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr size_t kCacheStep = 2000;

size_t Round8(size_t n) { return (n + 7) & ~size_t(7); }

}  // namespace

// --- construction ---

TDataTreeModel::TDataTreeModel() {
  AddThreadReference();
  root_ = MakeNode();
  cache_ = std::make_shared<TCacheSnapshot>();
}

TDataTreeModel::~TDataTreeModel() {
  IncludeState(tsDestroying);
  ReleaseThreadReference(&builder_);
  std::vector<PDataNode> gone;
  for (PDataNode run = root_->FirstChild; run;) {
    PDataNode next = run->NextSibling;
    FreeSubtree(run, gone);
    run = next;
  }
  root_->~TDataNode();
  std::free(root_);
}

PDataNode TDataTreeModel::MakeNode() {
  bool isRoot = root_ == nullptr;
  size_t internal = isRoot ? sizeof(void*) : Round8(size_t(TotalInternalDataSize()));
  size_t user = isRoot || nodeDataSize_ < 1 ? 0 : size_t(nodeDataSize_);
  void* block = std::calloc(1, sizeof(TDataNode) + internal + user);
  if (!block) throw std::bad_alloc();
  auto* node = new (block) TDataNode;
  node->NodeHeight = uint16_t(defaultNodeHeight_);
  node->TotalHeight = uint32_t(defaultNodeHeight_);
  if (isRoot) {
    node->States.store(vsInitialized | vsExpanded | vsHasChildren);
    TDataTreeModel* self = this;
    std::memcpy(reinterpret_cast<char*>(block) + sizeof(TDataNode), &self, sizeof self);
  }
  return node;
}

TDataTreeModel* TDataTreeModel::TreeOf(PDataNode Node) {
  if (!Node) return nullptr;
  while (Node->Parent) Node = Node->Parent;
  TDataTreeModel* tree;
  std::memcpy(&tree, reinterpret_cast<char*>(Node) + sizeof(TDataNode), sizeof tree);
  return tree;
}

void* TDataTreeModel::InternalData(PDataNode Node) const {
  if (!Node || Node == root_ || TotalInternalDataSize() < 1) return nullptr;
  return reinterpret_cast<char*>(Node) + sizeof(TDataNode);
}

void* TDataTreeModel::GetNodeData(PDataNode Node) {
  if (!Node || Node == root_) return nullptr;
  if (nodeDataSize_ == -1 && OnGetNodeDataSize) {
    int size = -1;
    OnGetNodeDataSize(this, size);
    if (size != -1) SetNodeDataSize(size);
  }
  if (nodeDataSize_ < 1) return nullptr;
  return reinterpret_cast<char*>(Node) + sizeof(TDataNode) + Round8(size_t(TotalInternalDataSize()));
}

// --- counts and heights ---

void TDataTreeModel::AdjustTotalCount(PDataNode Node, int64_t Delta) {
  for (PDataNode run = Node; run; run = run->Parent) run->TotalCount = uint32_t(int64_t(run->TotalCount) + Delta);
}

void TDataTreeModel::AdjustTotalHeight(PDataNode Node, int64_t Delta) {
  PDataNode run = Node;
  run->TotalHeight = uint32_t(int64_t(run->TotalHeight) + Delta);
  while (run->Parent && run->Parent->Has(vsExpanded)) {
    run = run->Parent;
    run->TotalHeight = uint32_t(int64_t(run->TotalHeight) + Delta);
  }
}

uint32_t TDataTreeModel::CountVisibleChildren(PDataNode Node) const {
  uint32_t count = 0;
  if (!Node->Has(vsExpanded)) return 0;
  for (PDataNode run = Node->FirstChild; run; run = run->NextSibling) {
    ++count;
    if (run->Has(vsExpanded) && run->FirstChild) count += CountVisibleChildren(run);
  }
  return count;
}

bool TDataTreeModel::IsVisible(PDataNode Node) const {
  if (!Node) return false;
  for (PDataNode run = Node->Parent; run; run = run->Parent)
    if (!run->Has(vsExpanded)) return false;
  return true;
}

unsigned TDataTreeModel::GetNodeLevel(PDataNode Node) const {
  unsigned level = 0;
  if (!Node || Node == root_) return 0;
  for (PDataNode run = Node->Parent; run && run != root_; run = run->Parent) ++level;
  return level;
}

bool TDataTreeModel::HasAsParent(PDataNode Node, PDataNode Parent) const {
  if (!Node || !Parent) return false;
  for (PDataNode run = Node->Parent; run; run = run->Parent)
    if (run == Parent) return true;
  return false;
}

void TDataTreeModel::SetNodeHeight(PDataNode Node, int Height) {
  if (!Node || Node == root_ || Height < 0 || Height == Node->NodeHeight) return;
  InvalidateCacheFrom(Node);
  int delta = Height - Node->NodeHeight;
  Node->NodeHeight = uint16_t(Height);
  AdjustTotalHeight(Node, delta);
  AfterStructureChange(nullptr, true);
}

// --- creating and deleting ---

void TDataTreeModel::SetChildCount(PDataNode Node, uint32_t Count) {
  if (!Node) Node = root_;
  if (Count == Node->ChildCount) {
    if (Count == 0) Node->Exclude(vsHasChildren);
    return;
  }
  InterruptValidation(&builder_);
  if (Count > Node->ChildCount) {
    uint32_t add = Count - Node->ChildCount;
    PDataNode firstNew = nullptr;
    uint32_t index = Node->LastChild ? Node->LastChild->Index + 1 : 0;
    for (uint32_t i = 0; i < add; ++i) {
      PDataNode child = MakeNode();
      child->Index = index++;
      child->Parent = Node;
      child->PrevSibling = Node->LastChild;
      if (Node->LastChild) Node->LastChild->NextSibling = child;
      else Node->FirstChild = child;
      Node->LastChild = child;
      if (!firstNew) firstNew = child;
    }
    Node->ChildCount = Count;
    Node->Include(vsHasChildren);
    AdjustTotalCount(Node, add);
    if (Node->Has(vsExpanded)) {
      AdjustTotalHeight(Node, int64_t(add) * defaultNodeHeight_);
      if (IsVisible(Node)) visibleCount_.fetch_add(add);
    }
    InvalidateCacheFrom(firstNew);
  } else {
    PDataNode firstGone = Node->LastChild;
    for (uint32_t i = Count + 1; i < Node->ChildCount && firstGone; ++i) firstGone = firstGone->PrevSibling;
    InvalidateCacheFrom(firstGone);
    while (Node->ChildCount > Count) DeleteNodeInternal(Node->LastChild);
  }
  AfterStructureChange(Node, true);
}

PDataNode TDataTreeModel::AddChild(PDataNode Parent) {
  if (!Parent) Parent = root_;
  SetChildCount(Parent, Parent->ChildCount + 1);
  return Parent->LastChild;
}

void TDataTreeModel::SetRootNodeCount(uint32_t Count) {
  BeginUpdate();
  SetChildCount(root_, Count);
  EndUpdate();
}

void TDataTreeModel::SetDefaultNodeHeight(int Value) {
  if (Value == 0) Value = 18;
  if (Value == defaultNodeHeight_ || Value < 0 || Value > 0xFFFF) return;
  InvalidateCache();
  int delta = Value - defaultNodeHeight_;
  root_->NodeHeight = uint16_t(Value);
  root_->TotalHeight = uint32_t(int64_t(root_->TotalHeight) + delta);
  defaultNodeHeight_ = Value;
  if (updateCount_ == 0) {
    ValidateCache(0);
    UpdateScrollBars(true);
    InvalidateView();
  }
}

void TDataTreeModel::SetNodeDataSize(int Value) {
  if (Value < -1) Value = -1;
  if (Value == nodeDataSize_) return;
  uint32_t count = root_->ChildCount;
  Clear();
  nodeDataSize_ = Value;
  SetRootNodeCount(count);
}

void TDataTreeModel::NodeFreeing(PDataNode Node) {
  if (focusedNode_ == Node) focusedNode_ = nullptr;
  if (hotNode_ == Node) hotNode_ = nullptr;
  if (dropTarget_ == Node) dropTarget_ = nullptr;
  if (checkNode_ == Node) checkNode_ = nullptr;
  if (rangeAnchor_ == Node) rangeAnchor_ = nullptr;
  if (lastChangedNode_ == Node) lastChangedNode_ = nullptr;
  if (lastStructureChangedNode_ == Node) lastStructureChangedNode_ = nullptr;
}

void TDataTreeModel::DoFreeNode(PDataNode Node) {
  NodeFreeing(Node);
  // A node that carries data is told even when it was never initialised: its data may own
  // what the application put there.
  if ((Node->Has(vsInitialized) || nodeDataSize_ > 0) && OnFreeNode) OnFreeNode(this, Node);
  Node->~TDataNode();
  std::free(Node);
}

// Frees Node and its subtree (children first); selected nodes are collected for one packing.
void TDataTreeModel::FreeSubtree(PDataNode Node, std::vector<PDataNode>& selectedGone) {
  for (PDataNode run = Node->LastChild; run;) {
    PDataNode prev = run->PrevSibling;
    FreeSubtree(run, selectedGone);
    run = prev;
  }
  Node->Include(vsDeleting);
  if (Node->Has(vsSelected)) selectedGone.push_back(Node);
  DoFreeNode(Node);
}

void TDataTreeModel::DropFromSelection(std::vector<PDataNode>& gone) {
  if (gone.empty()) return;
  std::sort(gone.begin(), gone.end(), std::less<PDataNode>());
  std::vector<PDataNode> kept;
  kept.reserve(selection_.size());
  std::set_difference(selection_.begin(), selection_.end(), gone.begin(), gone.end(),
                      std::back_inserter(kept), std::less<PDataNode>());
  selection_.swap(kept);
  gone.clear();
  if (selection_.empty()) lastSelectionLevel_ = -1;
}

// The one deletion path: unlinks Node with every count adjusted, then frees its subtree.
void TDataTreeModel::DeleteNodeInternal(PDataNode Node) {
  PDataNode parent = Node->Parent;
  uint32_t visibleGone = 0;
  if (IsVisible(Node)) visibleGone = 1 + CountVisibleChildren(Node);
  UnlinkNode(Node);
  visibleCount_.fetch_sub(visibleGone);
  if (parent->ChildCount == 0) parent->Exclude(vsHasChildren);
  std::vector<PDataNode> gone;
  FreeSubtree(Node, gone);
  DropFromSelection(gone);
}

void TDataTreeModel::DeleteNode(PDataNode Node) {
  if (!Node || Node == root_ || Node->Has(vsDeleting)) return;
  InvalidateCacheFrom(Node);
  PDataNode parent = Node->Parent;
  DeleteNodeInternal(Node);
  AfterStructureChange(parent, true);
}

void TDataTreeModel::DeleteNodes(const std::vector<PDataNode>& Nodes) {
  std::vector<PDataNode> top;
  for (PDataNode n : Nodes)
    if (n && n != root_ && !n->Has(vsDeleting)) {
      n->Include(vsDeleting);
      top.push_back(n);
    }
  // Nodes under another listed node leave with it.
  top.erase(std::remove_if(top.begin(), top.end(), [&](PDataNode n) {
              for (PDataNode up = n->Parent; up && up != root_; up = up->Parent)
                if (up->Has(vsDeleting)) return true;
              return false;
            }), top.end());
  if (top.empty()) return;
  InvalidateCache();
  BeginUpdate();
  std::vector<PDataNode> parents, gone;
  for (PDataNode n : top) {
    PDataNode parent = n->Parent;
    uint32_t visibleGone = IsVisible(n) ? 1 + CountVisibleChildren(n) : 0;
    UnlinkNode(n, false);
    visibleCount_.fetch_sub(visibleGone);
    parents.push_back(parent);
    FreeSubtree(n, gone);
  }
  std::sort(parents.begin(), parents.end(), std::less<PDataNode>());
  parents.erase(std::unique(parents.begin(), parents.end()), parents.end());
  for (PDataNode parent : parents) {
    uint32_t index = 0;
    for (PDataNode run = parent->FirstChild; run; run = run->NextSibling) run->Index = index++;
    if (parent->ChildCount == 0) parent->Exclude(vsHasChildren);
  }
  DropFromSelection(gone);
  IncludeState(tsStructureChangePending);
  EndUpdate();
}

void TDataTreeModel::DeleteChildren(PDataNode Node, bool ResetHasChildren) {
  if (!Node) Node = root_;
  if (Node->ChildCount == 0 && !Node->FirstChild) {
    if (ResetHasChildren) Node->Exclude(vsHasChildren);
    return;
  }
  InvalidateCache();
  if (Node->Has(vsExpanded) && IsVisible(Node)) visibleCount_.fetch_sub(CountVisibleChildren(Node));
  std::vector<PDataNode> gone;
  for (PDataNode run = Node->LastChild; run;) {
    PDataNode prev = run->PrevSibling;
    FreeSubtree(run, gone);
    run = prev;
  }
  DropFromSelection(gone);
  AdjustTotalCount(Node, -int64_t(Node->TotalCount - 1));
  if (Node->Has(vsExpanded)) AdjustTotalHeight(Node, -int64_t(Node->TotalHeight - Node->NodeHeight));
  else Node->TotalHeight = Node->NodeHeight;
  Node->ChildCount = 0;
  Node->FirstChild = Node->LastChild = nullptr;
  if (ResetHasChildren) Node->Exclude(vsHasChildren);
  AfterStructureChange(Node, true);
}

void TDataTreeModel::Clear() {
  BeginUpdate();
  DeleteChildren(root_, true);
  root_->Include(vsHasChildren);
  focusedNode_ = hotNode_ = dropTarget_ = checkNode_ = rangeAnchor_ = nullptr;
  selection_.clear();
  lastSelectionLevel_ = -1;
  EndUpdate();
}

void TDataTreeModel::AfterStructureChange(PDataNode Parent, bool Repaint) {
  if (updateCount_ > 0) {
    IncludeState(tsStructureChangePending);
    return;
  }
  ResumeCache();
  UpdateScrollBars(true);
  if (Repaint) InvalidateView();
  StructureChange(Parent == root_ ? nullptr : Parent);
}

// --- linking ---

void TDataTreeModel::LinkNode(PDataNode Node, PDataNode Dest, TDTNodeAttachMode Mode) {
  PDataNode parent;
  PDataNode before;  // the node Node goes in front of (nullptr: at the end)
  switch (Mode) {
    case amInsertBefore: parent = Dest->Parent; before = Dest; break;
    case amInsertAfter: parent = Dest->Parent; before = Dest->NextSibling; break;
    case amAddChildFirst: parent = Dest; before = Dest->FirstChild; break;
    default: parent = Dest; before = nullptr; break;
  }
  Node->Parent = parent;
  Node->NextSibling = before;
  Node->PrevSibling = before ? before->PrevSibling : parent->LastChild;
  if (Node->PrevSibling) Node->PrevSibling->NextSibling = Node;
  else parent->FirstChild = Node;
  if (before) before->PrevSibling = Node;
  else parent->LastChild = Node;
  Node->Index = Node->PrevSibling ? Node->PrevSibling->Index + 1 : 0;
  for (PDataNode run = Node->NextSibling; run; run = run->NextSibling) ++run->Index;
  ++parent->ChildCount;
  parent->Include(vsHasChildren);
  AdjustTotalCount(parent, Node->TotalCount);
  if (parent->Has(vsExpanded)) {
    AdjustTotalHeight(parent, Node->TotalHeight);
    if (IsVisible(Node)) visibleCount_.fetch_add(1 + CountVisibleChildren(Node));
  }
}

// Takes Node out of its parent's list; the counts of the ancestors drop (not VisibleCount).
void TDataTreeModel::UnlinkNode(PDataNode Node, bool Renumber) {
  PDataNode parent = Node->Parent;
  if (Renumber)
    for (PDataNode run = Node->NextSibling; run; run = run->NextSibling) --run->Index;
  if (Node->PrevSibling) Node->PrevSibling->NextSibling = Node->NextSibling;
  else parent->FirstChild = Node->NextSibling;
  if (Node->NextSibling) Node->NextSibling->PrevSibling = Node->PrevSibling;
  else parent->LastChild = Node->PrevSibling;
  --parent->ChildCount;
  AdjustTotalCount(parent, -int64_t(Node->TotalCount));
  if (parent->Has(vsExpanded)) AdjustTotalHeight(parent, -int64_t(Node->TotalHeight));
  Node->PrevSibling = Node->NextSibling = nullptr;
}

PDataNode TDataTreeModel::InsertNode(PDataNode Target, TDTNodeAttachMode Mode) {
  if (Mode == amNowhere) return nullptr;
  if (!Target || Target == root_) {
    Target = root_;
    if (Mode == amInsertBefore) Mode = amAddChildFirst;
    if (Mode == amInsertAfter) Mode = amAddChildLast;
  }
  InterruptValidation(&builder_);
  PDataNode node = MakeNode();
  LinkNode(node, Target, Mode);
  InvalidateCacheFrom(node);
  AfterStructureChange(node->Parent, true);
  return node;
}

// --- navigation ---

PDataNode TDataTreeModel::GetFirst() { return GetFirstChild(nullptr); }

PDataNode TDataTreeModel::GetFirstChild(PDataNode Node) {
  if (!Node) Node = root_;
  if (Node->Has(vsHasChildren) && Node->ChildCount == 0) InitChildren(Node);
  PDataNode child = Node->FirstChild;
  if (child && !child->Has(vsInitialized)) InitNode(child);
  return child;
}

PDataNode TDataTreeModel::GetNextSibling(PDataNode Node) {
  if (!Node || Node == root_) return nullptr;
  PDataNode next = Node->NextSibling;
  if (next && !next->Has(vsInitialized)) InitNode(next);
  return next;
}

PDataNode TDataTreeModel::GetPreviousSibling(PDataNode Node) const {
  return !Node || Node == root_ ? nullptr : Node->PrevSibling;
}

PDataNode TDataTreeModel::GetNext(PDataNode Node) const {
  if (!Node || Node == root_) return nullptr;
  if (Node->FirstChild) return Node->FirstChild;
  for (PDataNode run = Node; run != root_; run = run->Parent)
    if (run->NextSibling) return run->NextSibling;
  return nullptr;
}

PDataNode TDataTreeModel::GetNextVisible(PDataNode Node) const {
  if (!Node || Node == root_) return nullptr;
  // A hidden node: start from its topmost collapsed ancestor, which is visible.
  if (!IsVisible(Node)) {
    PDataNode top = Node;
    for (PDataNode run = Node->Parent; run != root_; run = run->Parent)
      if (!run->Has(vsExpanded)) top = run;
    Node = top;
  }
  if (Node->Has(vsExpanded) && Node->FirstChild) return Node->FirstChild;
  for (PDataNode run = Node; run != root_; run = run->Parent)
    if (run->NextSibling) return run->NextSibling;
  return nullptr;
}

PDataNode TDataTreeModel::GetPreviousVisible(PDataNode Node) const {
  if (!Node || Node == root_) return nullptr;
  if (!IsVisible(Node)) {
    PDataNode run = Node->Parent;
    while (run != root_ && !IsVisible(run)) run = run->Parent;
    return run == root_ ? nullptr : run;
  }
  if (!Node->PrevSibling) return Node->Parent == root_ ? nullptr : Node->Parent;
  PDataNode run = Node->PrevSibling;
  while (run->Has(vsExpanded) && run->LastChild) run = run->LastChild;
  return run;
}

PDataNode TDataTreeModel::GetFirstVisible() const { return root_->FirstChild; }

PDataNode TDataTreeModel::GetLastVisible(PDataNode Node) const {
  PDataNode run = Node ? Node : root_->LastChild;
  if (!run || !IsVisible(run)) return nullptr;
  while (run->Has(vsExpanded) && run->LastChild) run = run->LastChild;
  return run;
}

PDataNode TDataTreeModel::GetLast(PDataNode Node) {
  PDataNode run = Node ? Node : root_;
  PDataNode result = nullptr;
  for (;;) {
    if (run->Has(vsHasChildren) && run->ChildCount == 0) InitChildren(run);
    PDataNode last = run->LastChild;
    if (!last) break;
    if (!last->Has(vsInitialized)) InitNode(last);
    result = last;
    run = last;
  }
  return result;
}

PDataNode TDataTreeModel::GetFirstSelected() const { return selection_.empty() ? nullptr : selection_.front(); }

PDataNode TDataTreeModel::GetNextSelected(PDataNode Node) const {
  if (!Node || !Node->Has(vsSelected)) return nullptr;
  auto at = std::lower_bound(selection_.begin(), selection_.end(), Node, std::less<PDataNode>());
  if (at == selection_.end() || *at != Node || ++at == selection_.end()) return nullptr;
  return *at;
}

int TDataTreeModel::CompareNodePositions(PDataNode Node1, PDataNode Node2) const {
  if (Node1 == Node2) return 0;
  if (HasAsParent(Node1, Node2)) return 1;
  if (HasAsParent(Node2, Node1)) return -1;
  // Bring both to the same level, then climb until they are siblings.
  unsigned l1 = GetNodeLevel(Node1), l2 = GetNodeLevel(Node2);
  while (l1 > l2) { Node1 = Node1->Parent; --l1; }
  while (l2 > l1) { Node2 = Node2->Parent; --l2; }
  while (Node1->Parent != Node2->Parent) {
    Node1 = Node1->Parent;
    Node2 = Node2->Parent;
  }
  return int(int64_t(Node1->Index) - int64_t(Node2->Index));
}

// --- initialisation ---

void TDataTreeModel::InitChildren(PDataNode Node) {
  if (!Node || !Node->Has(vsHasChildren)) return;
  uint32_t count = Node->ChildCount;
  if (OnInitChildren) OnInitChildren(this, Node == root_ ? nullptr : Node, count);
  if (count == 0) {
    if (Node->ChildCount) DeleteChildren(Node, true);
    Node->Exclude(vsHasChildren);
  } else {
    SetChildCount(Node, count);
  }
}

void TDataTreeModel::InitNode(PDataNode Node) {
  if (!Node || Node == root_) return;
  TDataNodeInitStates states = 0;
  Node->Include(vsInitialized);
  if (OnInitNode) OnInitNode(this, Node->Parent == root_ ? nullptr : Node->Parent, Node, states);
  if (states & ivsDisabled) Node->Include(vsDisabled);
  if (states & ivsHasChildren) Node->Include(vsHasChildren);
  if (states & ivsSelected) InternalAddToSelection({Node}, false);
  if (states & ivsExpanded) {
    if (!Node->Has(vsExpanded)) ToggleNode(Node);
  } else if (Node->Has(vsExpanded) && Node->Has(vsHasChildren) && Node->ChildCount == 0) {
    InitChildren(Node);
  }
}

void TDataTreeModel::ReinitNode(PDataNode Node, bool Recursive) {
  if (Node && Node != root_) {
    Node->Exclude(vsChecking | vsCutOrCopy | vsDeleting);
    InitNode(Node);
  }
  if (Recursive) ReinitChildren(Node, true);
}

void TDataTreeModel::ReinitChildren(PDataNode Node, bool Recursive) {
  if (!Node) Node = root_;
  for (PDataNode run = Node->FirstChild; run; run = run->NextSibling) ReinitNode(run, Recursive);
}

void TDataTreeModel::ResetNode(PDataNode Node) {
  if (!Node || Node == root_) return;
  if (OnResetNode) OnResetNode(this, Node);
  if (Node->Has(vsExpanded)) ToggleNode(Node);
  DeleteChildren(Node, false);
  Node->States.fetch_and(vsSelected | vsDisabled);
  if (void* internal = InternalData(Node)) std::memset(internal, 0, size_t(TotalInternalDataSize()));
  InvalidateNode(Node);
}

uint32_t TDataTreeModel::InitAllNodes() {
  BeginUpdate();
  for (PDataNode run = GetFirst(); run;) {
    if (!run->Has(vsInitialized)) InitNode(run);
    if (run->Has(vsHasChildren) && run->ChildCount == 0) InitChildren(run);
    PDataNode next = run->FirstChild;
    if (next) {
      if (!next->Has(vsInitialized)) InitNode(next);
    } else {
      next = nullptr;
      for (PDataNode up = run; up != root_ && !next; up = up->Parent) next = up->NextSibling;
    }
    run = next;
  }
  EndUpdate();
  return root_->TotalCount - 1;
}

PDataNode TDataTreeModel::IterateSubtree(PDataNode Node, const TDTGetNodeProc& Callback, bool WithInit, bool SelectedOnly) {
  bool abort = false;
  if (SelectedOnly) {
    for (PDataNode run = Node ? Node : GetFirstSelected(); run; run = GetNextSelected(run)) {
      Callback(this, run, abort);
      if (abort) return run;
    }
    return nullptr;
  }
  PDataNode start = Node ? Node : root_;
  if (start == root_ && WithInit && root_->ChildCount == 0) InitChildren(root_);
  PDataNode run = start == root_ ? root_->FirstChild : start;
  while (run) {
    if (WithInit && !run->Has(vsInitialized)) InitNode(run);
    Callback(this, run, abort);
    if (abort) return run;
    if (WithInit && run->Has(vsHasChildren) && run->ChildCount == 0) InitChildren(run);
    PDataNode next = (WithInit || run->Has(vsInitialized)) ? run->FirstChild : nullptr;
    for (PDataNode up = run; !next && up != start && up != root_; up = up->Parent) next = up->NextSibling;
    run = next;
  }
  return nullptr;
}

uint32_t TDataTreeModel::CountEnabledChildren(PDataNode Node, bool Recursive) {
  uint32_t count = 0;
  for (PDataNode run = GetFirstChild(Node); run; run = GetNextSibling(run)) {
    if (!run->Has(vsDisabled)) ++count;
    if (Recursive) count += CountEnabledChildren(run, true);
  }
  return count;
}

void TDataTreeModel::SetChildrenEnabled(PDataNode Node, bool Enabled, bool Recursive) {
  if (!Node || Node == root_ || !Node->Has(vsHasChildren)) return;
  for (PDataNode run = GetFirstChild(Node); run; run = GetNextSibling(run)) {
    if (Enabled) run->Exclude(vsDisabled);
    else run->Include(vsDisabled);
    if (Recursive) SetChildrenEnabled(run, Enabled, true);
  }
  InvalidateView();
}

// --- expansion ---

void TDataTreeModel::ToggleInternal(PDataNode Node) {
  bool visible = IsVisible(Node);
  if (Node->Has(vsExpanded)) {
    bool allowed = true;
    if (OnCollapsing) OnCollapsing(this, Node, allowed);
    if (!allowed) return;
    InvalidateCacheFrom(Node);
    uint32_t hidden = visible ? CountVisibleChildren(Node) : 0;
    AdjustTotalHeight(Node, -int64_t(Node->TotalHeight - Node->NodeHeight));
    Node->Exclude(vsExpanded);
    visibleCount_.fetch_sub(hidden);
    if (OnCollapsed) OnCollapsed(this, Node);
  } else {
    bool allowed = true;
    if (OnExpanding) OnExpanding(this, Node, allowed);
    if (!allowed) return;
    if (!Node->Has(vsInitialized)) InitNode(Node);
    if (Node->Has(vsExpanded)) return;  // the initialisation expanded it
    if (Node->Has(vsHasChildren) && Node->ChildCount == 0) InitChildren(Node);
    InvalidateCacheFrom(Node);
    int64_t sum = 0;
    for (PDataNode run = Node->FirstChild; run; run = run->NextSibling) sum += run->TotalHeight;
    Node->Include(vsExpanded);
    AdjustTotalHeight(Node, sum);
    if (visible) visibleCount_.fetch_add(CountVisibleChildren(Node));
    if (OnExpanded) OnExpanded(this, Node);
  }
}

void TDataTreeModel::ToggleNode(PDataNode Node) {
  if (!Node || Node == root_) return;
  ToggleInternal(Node);
  if (updateCount_ == 0) {
    ResumeCache();
    UpdateScrollBars(true);
    if (Node->FirstChild) InvalidateToBottom(Node);
    else InvalidateNode(Node);
  }
}

void TDataTreeModel::SetExpanded(PDataNode Node, bool Value) {
  if (Node && Node != root_ && Node->Has(vsExpanded) != Value) ToggleNode(Node);
}

void TDataTreeModel::FullExpand(PDataNode Node) {
  BeginUpdate();
  PDataNode stop = Node ? Node : root_;
  for (PDataNode run = Node ? Node : GetFirst(); run;) {
    if (!run->Has(vsInitialized)) InitNode(run);
    if (run->Has(vsHasChildren) && !run->Has(vsExpanded)) ToggleInternal(run);
    PDataNode next = run->FirstChild;
    if (!next) {
      for (PDataNode up = run; up != stop && up != root_ && !next; up = up->Parent) next = up->NextSibling;
    } else if (!next->Has(vsInitialized)) {
      InitNode(next);
    }
    if (run == stop && !run->FirstChild) next = nullptr;
    run = next;
  }
  EndUpdate();
}

void TDataTreeModel::FullCollapse(PDataNode Node) {
  BeginUpdate();
  // Children first, so every collapse is cheap.
  std::vector<PDataNode> order;
  PDataNode start = Node ? Node : root_;
  std::vector<PDataNode> stack{start};
  while (!stack.empty()) {
    PDataNode n = stack.back();
    stack.pop_back();
    if (n != root_ && n->Has(vsExpanded)) order.push_back(n);
    for (PDataNode c = n->FirstChild; c; c = c->NextSibling)
      if (c->FirstChild) stack.push_back(c);
  }
  for (auto it = order.rbegin(); it != order.rend(); ++it) ToggleInternal(*it);
  EndUpdate();
}

// --- selection ---

int TDataTreeModel::InternalAddToSelection(std::vector<PDataNode> Candidates, bool AlreadyChecked) {
  if (!AlreadyChecked) {
    for (PDataNode& node : Candidates) {
      if (!node || node == root_ || node->Has(vsDisabled) || node->Has(vsSelected)) {
        node = nullptr;
        continue;
      }
      if (HasOption(voLevelSelectConstraint)) {
        int level = int(GetNodeLevel(node));
        if (lastSelectionLevel_ < 0) lastSelectionLevel_ = level;
        if (level != lastSelectionLevel_) {
          node = nullptr;
          continue;
        }
      }
      node->Include(vsSelected);
    }
  } else {
    for (PDataNode node : Candidates) node->Include(vsSelected);
  }
  Candidates.erase(std::remove(Candidates.begin(), Candidates.end(), nullptr), Candidates.end());
  if (Candidates.empty()) return 0;
  std::sort(Candidates.begin(), Candidates.end(), std::less<PDataNode>());
  Candidates.erase(std::unique(Candidates.begin(), Candidates.end()), Candidates.end());
  size_t old = selection_.size();
  selection_.insert(selection_.end(), Candidates.begin(), Candidates.end());
  std::inplace_merge(selection_.begin(), selection_.begin() + std::ptrdiff_t(old), selection_.end(), std::less<PDataNode>());
  return int(Candidates.size());
}

void TDataTreeModel::AddToSelection(PDataNode Node) {
  if (InternalAddToSelection({Node}, false) > 0) Change(Node);
}

void TDataTreeModel::RemoveFromSelection(PDataNode Node) {
  if (!Node || !Node->Has(vsSelected)) return;
  Node->Exclude(vsSelected);
  auto at = std::lower_bound(selection_.begin(), selection_.end(), Node, std::less<PDataNode>());
  if (at != selection_.end() && *at == Node) selection_.erase(at);
  if (selection_.empty()) lastSelectionLevel_ = -1;
  Change(Node);
}

void TDataTreeModel::ClearSelection() {
  if (selection_.empty()) return;
  for (PDataNode node : selection_) node->Exclude(vsSelected);
  selection_.clear();
  lastSelectionLevel_ = -1;
  InvalidateView();
  Change(nullptr);
}

void TDataTreeModel::SetSelected(PDataNode Node, bool Value) {
  if (!Node || Node == root_ || Node->Has(vsSelected) == Value) return;
  if (Value) {
    if (!HasOption(voMultiSelect)) ClearSelection();
    AddToSelection(Node);
  } else {
    RemoveFromSelection(Node);
  }
  if (IsVisible(Node)) InvalidateNode(Node);
}

void TDataTreeModel::SelectNodes(PDataNode From, PDataNode To, bool AddOnly) {
  if (!From) From = root_->FirstChild;
  if (!From || !To) return;
  if (!IsVisible(From)) {
    PDataNode run = From->Parent;
    while (run != root_ && !IsVisible(run)) run = run->Parent;
    if (run != root_) From = run;
  }
  if (CompareNodePositions(From, To) > 0) std::swap(From, To);
  if (!AddOnly) {
    for (PDataNode node : selection_) node->Exclude(vsSelected);
    selection_.clear();
  }
  std::vector<PDataNode> nodes;
  nodes.reserve(100);
  for (PDataNode run = From; run; run = GetNextVisible(run)) {
    nodes.push_back(run);
    if (run == To) break;
  }
  InternalAddToSelection(std::move(nodes), false);
  InvalidateView();
  if (updateCount_ == 0) Change(nullptr);
}

// --- check states ---

void TDataTreeModel::SetCheckType(PDataNode Node, TCheckType Value) {
  if (!Node || Node == root_) return;
  Node->CheckType = Value;
  Node->CheckState = Value == ctButton ? csButtonNormal : csUncheckedNormal;
  InvalidateNode(Node);
}

void TDataTreeModel::SetCheckState(PDataNode Node, TCheckState Value) {
  if (!Node || Node == root_ || Node->CheckState == Value || Node->Has(vsDisabled)) return;
  bool allowed = true;
  if (OnChecking) OnChecking(this, Node, Value, allowed);
  if (!allowed) return;
  Node->Include(vsChecking);
  if (Node->CheckType == ctButton) {
    if (Value != csButtonNormal && Value != csButtonPressed) Value = csButtonNormal;
  } else if (Value == csButtonNormal || Value == csButtonPressed) {
    Value = csCheckedNormal;
  }
  switch (Node->CheckType) {
    case ctCheckBox:
      Value = Value == csCheckedNormal || Value == csMixedNormal ? csCheckedNormal : csUncheckedNormal;
      break;
    case ctRadioButton:
      if (Value == csCheckedNormal || Value == csMixedNormal) {
        Value = csCheckedNormal;
        // Siblings are reset directly, so a disabled sibling cannot stay checked beside it.
        for (PDataNode run = Node->Parent->FirstChild; run; run = run->NextSibling) {
          if (run != Node && run->CheckType == ctRadioButton && run->CheckState != csUncheckedNormal) {
            run->CheckState = csUncheckedNormal;
            InvalidateNode(run);
          }
        }
      }
      break;
    case ctTriStateCheckBox:
      if (HasOption(voAutoTristateTracking) && (Value == csUncheckedNormal || Value == csCheckedNormal)) {
        for (PDataNode run = Node->FirstChild; run; run = run->NextSibling)
          if (run->CheckType == ctCheckBox || run->CheckType == ctTriStateCheckBox) SetCheckState(run, Value);
      }
      break;
    default: break;
  }
  Node->CheckState = Value;
  InvalidateNode(Node);
  if (HasOption(voAutoTristateTracking) && (Node->CheckType == ctCheckBox || Node->CheckType == ctTriStateCheckBox))
    RecomputeTriState(Node->Parent);
  if (OnChecked) OnChecked(this, Node);
  Node->Exclude(vsChecking);
}

void TDataTreeModel::RecomputeTriState(PDataNode Parent) {
  while (Parent && Parent != root_ && !Parent->Has(vsChecking) && !Parent->Has(vsDisabled) &&
         Parent->CheckType == ctTriStateCheckBox) {
    unsigned counted = 0, checked = 0;
    bool mixed = false;
    for (PDataNode run = Parent->FirstChild; run; run = run->NextSibling) {
      if (run->CheckType != ctCheckBox && run->CheckType != ctTriStateCheckBox) continue;
      ++counted;
      if (run->CheckState == csCheckedNormal) ++checked;
      if (run->CheckState == csMixedNormal) mixed = true;
    }
    uint8_t value = checked == 0 && !mixed ? csUncheckedNormal : checked < counted ? csMixedNormal : csCheckedNormal;
    Parent->CheckState = value;
    InvalidateNode(Parent);
    Parent = Parent->Parent;
  }
}

void TDataTreeModel::CheckClick(PDataNode Node) {
  if (!Node || Node == root_ || Node->Has(vsDisabled)) return;
  TCheckState value;
  switch (Node->CheckType) {
    case ctCheckBox: value = Node->CheckState == csCheckedNormal ? csUncheckedNormal : csCheckedNormal; break;
    case ctTriStateCheckBox: value = Node->CheckState == csCheckedNormal ? csUncheckedNormal : csCheckedNormal; break;
    case ctRadioButton: value = csCheckedNormal; break;
    case ctButton: value = csButtonNormal; break;
    default: return;
  }
  if (Node->CheckType == ctButton) Node->CheckState = csButtonPressed;  // released now
  SetCheckState(Node, value);
  if (checkNode_ == Node) checkNode_ = nullptr;
  InvalidateNode(Node);
}

// --- focus and hot node ---

void TDataTreeModel::SetFocusedNode(PDataNode Node) {
  if (Node == root_) Node = nullptr;
  if (Node == focusedNode_) return;
  bool allowed = true;
  if (OnFocusChanging) OnFocusChanging(this, focusedNode_, Node, focusedColumn_, focusedColumn_, allowed);
  if (!allowed) return;
  EndEditForFocusChange();
  PDataNode old = focusedNode_;
  if (HasOption(voAutoExpand) && old) {
    for (PDataNode run = old; run && run != root_; run = run->Parent) {
      if (Node && (run == Node || HasAsParent(Node, run))) break;
      if (run->Has(vsExpanded)) ToggleNode(run);
      if (!IsVisible(Node ? Node : run)) break;
    }
  }
  if (old) InvalidateNode(old);
  focusedNode_ = Node;
  DoFocusChange(Node, focusedColumn_);
  if (HasOption(voAutoExpand) && Node && !Node->Has(vsExpanded) && Node->Has(vsHasChildren)) ToggleNode(Node);
  if (Node) InvalidateNode(Node);
}

void TDataTreeModel::DoFocusChange(PDataNode Node, int Column) {
  if (OnFocusChanged) OnFocusChanged(this, Node, Column);
}

void TDataTreeModel::SetHotNode(PDataNode Node) {
  if (Node == hotNode_) return;
  PDataNode old = hotNode_;
  hotNode_ = Node;
  if (OnHotChange) OnHotChange(this, old, Node);
  if (old) InvalidateNode(old);
  if (Node) InvalidateNode(Node);
}

// --- sorting ---

PDataNode TDataTreeModel::MergeSort(PDataNode Head, uint32_t Count, int Column, bool Ascending,
                                    const TDTCompareEvent& Compare) {
  if (Count < 2) {
    if (Head) Head->NextSibling = nullptr;
    return Head;
  }
  uint32_t half = Count / 2;
  PDataNode second = Head;
  for (uint32_t i = 0; i < half; ++i) second = second->NextSibling;
  PDataNode a = MergeSort(Head, half, Column, Ascending, Compare);
  PDataNode b = MergeSort(second, Count - half, Column, Ascending, Compare);
  TDataNode dummy;
  PDataNode tail = &dummy;
  while (a && b) {
    int c = Compare(this, a, b, Column);
    bool takeFirst = Ascending ? c <= 0 : c >= 1;
    if (takeFirst) { tail->NextSibling = a; a = a->NextSibling; }
    else { tail->NextSibling = b; b = b->NextSibling; }
    tail = tail->NextSibling;
  }
  tail->NextSibling = a ? a : b;
  return dummy.NextSibling;
}

void TDataTreeModel::Sort(PDataNode Node, int Column, bool Ascending, const TDTCompareEvent& Compare, bool DoInit) {
  if (!Node) Node = root_;
  if (!Node->Has(vsHasChildren) || !Compare) return;
  if (Node->ChildCount == 0) InitChildren(Node);
  if (Node->ChildCount < 2) return;
  if (DoInit)
    for (PDataNode run = Node->FirstChild; run; run = run->NextSibling)
      if (!run->Has(vsInitialized)) InitNode(run);
  // Only the places below the first child can change.
  if (Node->Has(vsExpanded)) InvalidateCacheFrom(Node->FirstChild);
  else InterruptValidation(&builder_);
  PDataNode head = MergeSort(Node->FirstChild, Node->ChildCount, Column, Ascending, Compare);
  Node->FirstChild = head;
  PDataNode prev = nullptr;
  uint32_t index = 0;
  for (PDataNode run = head; run; run = run->NextSibling) {
    run->Index = index++;
    run->PrevSibling = prev;
    prev = run;
  }
  Node->LastChild = prev;
  if (updateCount_ == 0) {
    ResumeCache();
    InvalidateView();
  }
}

// --- updates and notification ---

void TDataTreeModel::BeginUpdate() {
  if (updateCount_++ == 0) {
    InvalidateCache();
    SetRedraw(false);
    IncludeState(tsUpdating);
  }
}

void TDataTreeModel::EndUpdate() {
  if (updateCount_ == 0 || --updateCount_ > 0) return;
  ExcludeState(tsUpdating);
  ValidateCache(0);
  SetRedraw(true);
  UpdateScrollBars(true);
  if (HasState(tsStructureChangePending)) {
    ExcludeState(tsStructureChangePending);
    DoStructureChange(nullptr);
  }
  if (HasState(tsChangePending)) {
    ExcludeState(tsChangePending);
    StopTimer(ChangeTimer);
    DoChange(nullptr);
  }
  InvalidateView();
}

void TDataTreeModel::DoChange(PDataNode Node) {
  StopTimer(ChangeTimer);
  if (OnChange) OnChange(this, Node);
}

void TDataTreeModel::DoStructureChange(PDataNode Node) {
  StopTimer(StructureChangeTimer);
  if (OnStructureChange) OnStructureChange(this, Node);
}

void TDataTreeModel::Change(PDataNode Node) {
  if (updateCount_ > 0) {
    IncludeState(tsChangePending);
    return;
  }
  if (changeDelay_ <= 0) {
    DoChange(Node);
    return;
  }
  lastChangedNode_ = Node;
  IncludeState(tsChangePending);
  StartTimer(ChangeTimer, unsigned(changeDelay_));
}

void TDataTreeModel::StructureChange(PDataNode Node) {
  if (updateCount_ > 0 || changeDelay_ > 0) {
    if (changeDelay_ > 0 && updateCount_ == 0) {
      lastStructureChangedNode_ = Node;
      StartTimer(StructureChangeTimer, unsigned(changeDelay_));
    }
    IncludeState(tsStructureChangePending);
    return;
  }
  DoStructureChange(Node);
}

void TDataTreeModel::TimerExpired(unsigned Id) {
  if (Id == ChangeTimer) {
    StopTimer(ChangeTimer);
    if (HasState(tsChangePending)) {
      ExcludeState(tsChangePending);
      DoChange(lastChangedNode_);
    }
  } else if (Id == StructureChangeTimer) {
    StopTimer(StructureChangeTimer);
    if (HasState(tsStructureChangePending)) {
      ExcludeState(tsStructureChangePending);
      DoStructureChange(lastStructureChangedNode_);
    }
  }
}

void TDataTreeModel::SetOptions(TDataTreeOptions Value) {
  TDataTreeOptions changed = Value ^ options_;
  if (!changed) return;
  bool clear = (changed & voMultiSelect) || ((changed & voLevelSelectConstraint) && (Value & voLevelSelectConstraint));
  options_ = Value;
  if (clear) ClearSelection();
  InvalidateView();
}

// --- moving and copying ---

void TDataTreeModel::MoveTo(PDataNode Node, PDataNode Target, TDTNodeAttachMode Mode, bool ChildrenOnly) {
  if (Mode == amNowhere || !Node || Node == root_) return;
  TDataTreeModel* targetTree = Target ? TreeOf(Target) : this;
  if (!Target) {
    Target = root_;
    Mode = amAddChildFirst;
  }
  if (Target == targetTree->root_) {
    if (Mode == amInsertBefore) Mode = amAddChildFirst;
    if (Mode == amInsertAfter) Mode = amAddChildLast;
  }
  bool allowed = true;
  if (OnNodeMoving) OnNodeMoving(this, Node, Target == targetTree->root_ ? nullptr : Target, allowed);
  if (!allowed) return;
  PDataNode newParent = Mode == amAddChildFirst || Mode == amAddChildLast ? Target : Target->Parent;
  if (targetTree == this) {
    if (Target == Node || HasAsParent(Target, Node) || (newParent == Node))
      throw EDataTreeError("Target node cannot be a child node of the node to be moved.");
    std::vector<PDataNode> moving;
    if (ChildrenOnly) for (PDataNode c = Node->FirstChild; c; c = c->NextSibling) moving.push_back(c);
    else moving.push_back(Node);
    BeginUpdate();
    for (PDataNode m : moving) {
      uint32_t visibleGone = IsVisible(m) ? 1 + CountVisibleChildren(m) : 0;
      PDataNode oldParent = m->Parent;
      UnlinkNode(m);
      visibleCount_.fetch_sub(visibleGone);
      if (oldParent->ChildCount == 0 && oldParent != root_) oldParent->Exclude(vsHasChildren);
      LinkNode(m, Target, Mode);
      if (Mode == amInsertBefore || Mode == amAddChildFirst) {
        // Keep the children's order when several go to the front.
        Target = m;
        Mode = amInsertAfter;
      }
      if (OnNodeMoved) OnNodeMoved(this, m);
    }
    EndUpdate();
  } else {
    std::vector<PDataNode> moving;
    if (ChildrenOnly) for (PDataNode c = Node->FirstChild; c; c = c->NextSibling) moving.push_back(c);
    else moving.push_back(Node);
    targetTree->BeginUpdate();
    for (PDataNode m : moving) {
      PDataNode copy = CopyTo(m, Target, Mode, false);
      if (copy && OnNodeMoved) OnNodeMoved(this, copy);
      if (copy && (Mode == amInsertBefore || Mode == amAddChildFirst)) {
        Target = copy;
        Mode = amInsertAfter;
      }
    }
    targetTree->EndUpdate();
    DeleteNodes(moving);
  }
}

size_t TDataTreeModel::CachePairsNeeded() const {
  uint32_t visible = VisibleCount();
  return visible < 2 ? 0 : (visible + kCacheStep - 1) / kCacheStep;
}

// --- position cache ---

void TDataTreeModel::InvalidateCache() {
  InterruptValidation(&builder_);
  std::lock_guard guard(cacheLock_);
  if (!cache_->Entries.empty()) cache_ = std::make_shared<TCacheSnapshot>();
}

void TDataTreeModel::CutCache(size_t keep) {
  if (keep >= cache_->Entries.size()) return;
  auto truncated = std::make_shared<TCacheSnapshot>();
  truncated->Entries.assign(cache_->Entries.begin(), cache_->Entries.begin() + std::ptrdiff_t(keep));
  truncated->ByAddress = truncated->Entries;
  std::sort(truncated->ByAddress.begin(), truncated->ByAddress.end(),
            [](const TCacheEntry& a, const TCacheEntry& b) { return std::less<PDataNode>()(a.Node, b.Node); });
  cache_ = truncated;
}

void TDataTreeModel::InvalidateCacheFrom(PDataNode From) {
  InterruptValidation(&builder_);
  if (!From || From == root_) {
    InvalidateCache();
    return;
  }
  auto cache = CacheSnapshot();
  if (cache->Entries.empty() || !IsVisible(From)) return;
  size_t keep = 0;
  if (cache->Entries.front().Node) {
    const uint32_t top = GetNodeTop(From);
    keep = size_t(std::lower_bound(cache->Entries.begin(), cache->Entries.end(), top,
                                   [](const TCacheEntry& e, uint32_t y) { return e.Top < y; }) -
                  cache->Entries.begin());
    // The last pair may close a finished walk rather than mark a step: it is always redone.
    keep = std::min(keep, cache->Entries.size() - 1);
  }
  std::lock_guard guard(cacheLock_);
  CutCache(keep);
}

void TDataTreeModel::ValidateCache(int StartIndex) {
  InterruptValidation(&builder_);
  size_t needed = CachePairsNeeded();
  {
    std::lock_guard guard(cacheLock_);
    CutCache(StartIndex < 0 ? 0 : size_t(StartIndex));
    const auto& entries = cache_->Entries;
    if (!entries.empty() && entries.front().Node && entries.size() == needed) return;
    if (needed <= 1 && entries.size() == 1 && !entries.front().Node) return;
  }
  QueueValidation(&builder_);
}

void TDataTreeModel::ResumeCache() { ValidateCache(int(CacheSnapshot()->Entries.size())); }

void TDataTreeModel::WaitForCache() { WaitForValidation(&builder_); }

std::shared_ptr<const TCacheSnapshot> TDataTreeModel::CacheSnapshot() const {
  std::lock_guard guard(cacheLock_);
  return cache_;
}

// Runs on the worker thread. The interface thread changes no structure while this runs (it
// interrupts first), and builds into a private array that is published at the end.
void TDataTreeModel::BuildCache(const std::atomic<bool>& stop) {
  auto built = std::make_shared<TCacheSnapshot>();
  uint32_t visible = VisibleCount();
  if (visible < kCacheStep + 1) {
    built->Entries.push_back({nullptr, 0});
  } else {
    size_t needed = (visible + kCacheStep - 1) / kCacheStep;
    std::shared_ptr<const TCacheSnapshot> old = CacheSnapshot();
    PDataNode run;
    uint64_t top;
    size_t ordinal;  // 1-based number of `run` among the visible nodes
    if (!old->Entries.empty() && old->Entries.front().Node && old->Entries.size() <= needed) {
      built->Entries = old->Entries;
      if (built->Entries.size() == needed) built->Entries.pop_back();  // redo the closing pair
    }
    if (!built->Entries.empty()) {
      run = built->Entries.back().Node;
      top = built->Entries.back().Top;
      ordinal = built->Entries.size() * kCacheStep;
    } else {
      run = root_->FirstChild;
      top = 0;
      ordinal = 1;
    }
    bool stopped = false;
    PDataNode last = run;
    uint64_t lastTop = top;
    while (run && built->Entries.size() < needed) {
      if (stop.load(std::memory_order_relaxed)) {
        stopped = true;
        break;
      }
      if (ordinal % kCacheStep == 0 && (built->Entries.empty() || built->Entries.back().Node != run))
        built->Entries.push_back({run, uint32_t(top)});
      last = run;
      lastTop = top;
      top += run->NodeHeight;
      run = GetNextVisible(run);
      ++ordinal;
    }
    if (!stopped && !run && built->Entries.size() < needed && last &&
        (built->Entries.empty() || built->Entries.back().Node != last))
      built->Entries.push_back({last, uint32_t(lastTop)});
  }
  built->ByAddress = built->Entries;
  std::sort(built->ByAddress.begin(), built->ByAddress.end(),
            [](const TCacheEntry& a, const TCacheEntry& b) { return std::less<PDataNode>()(a.Node, b.Node); });
  std::lock_guard guard(cacheLock_);
  cache_ = built;
}

PDataNode TDataTreeModel::GetNodeAtY(int64_t Y, uint32_t* NodeTop) const {
  if (Y < 0) return nullptr;
  PDataNode run = root_->FirstChild;
  uint64_t top = 0;
  auto cache = CacheSnapshot();
  if (!cache->Entries.empty() && cache->Entries.front().Node) {
    // The last pair at or above Y, then a walk of at most one step's nodes.
    auto at = std::upper_bound(cache->Entries.begin(), cache->Entries.end(), uint64_t(Y),
                               [](uint64_t y, const TCacheEntry& e) { return y < e.Top; });
    if (at != cache->Entries.begin()) {
      --at;
      run = at->Node;
      top = at->Top;
    }
  }
  // Forward from there, over whole subtrees that end above Y: a part of the cache cut by a
  // change far above costs the siblings on the way, not every node.
  while (run) {
    if (uint64_t(Y) < top + run->NodeHeight) {
      if (NodeTop) *NodeTop = uint32_t(top);
      return run;
    }
    if (run->Has(vsExpanded) && run->FirstChild && uint64_t(Y) < top + run->TotalHeight) {
      top += run->NodeHeight;
      run = run->FirstChild;
      continue;
    }
    top += run->Has(vsExpanded) ? run->TotalHeight : run->NodeHeight;
    while (run != root_ && !run->NextSibling) run = run->Parent;
    run = run == root_ ? nullptr : run->NextSibling;
  }
  return nullptr;
}

uint32_t TDataTreeModel::GetNodeTop(PDataNode Node) const {
  // Through the cache: back over at most one step of visible nodes to a node with a pair.
  auto cache = CacheSnapshot();
  if (!cache->ByAddress.empty() && cache->ByAddress.front().Node && IsVisible(Node)) {
    auto less = [](const TCacheEntry& e, PDataNode n) { return std::less<PDataNode>()(e.Node, n); };
    uint64_t above = 0;
    PDataNode run = Node;
    for (size_t steps = 0; steps <= kCacheStep; ++steps) {
      auto at = std::lower_bound(cache->ByAddress.begin(), cache->ByAddress.end(), run, less);
      if (at != cache->ByAddress.end() && at->Node == run) return uint32_t(at->Top + above);
      PDataNode prev = GetPreviousVisible(run);
      if (!prev) return uint32_t(above);  // the first visible node
      above += prev->NodeHeight;
      run = prev;
    }
  }
  // Otherwise the heights before the node: the siblings' totals on the way up.
  uint64_t top = 0;
  for (PDataNode run = Node; run && run != root_; run = run->Parent) {
    for (PDataNode s = run->PrevSibling; s; s = s->PrevSibling) top += s->TotalHeight;
    if (run->Parent != root_) top += run->Parent->NodeHeight;
  }
  return uint32_t(top);
}
