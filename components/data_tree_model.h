// The widget-free model of the virtual data tree: node records created and initialised on
// demand, counts and heights, expansion, deletion, selection, check states, sorting,
// navigation, delayed change notification and the position cache built by the worker thread.
// A view derives from it and overrides the view hooks (repaint, scroll bars, timers).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "components/data_tree_node.h"
#include "components/data_tree_worker.h"

class TStream;
class TDataTreeModel;

// Option bits of TDataTreeOptions.
using TDataTreeOptions = uint32_t;
inline constexpr TDataTreeOptions voAcceptOLEDrop = 1u << 0, voAnimatedToggle = 1u << 1,
    voAutoDropExpand = 1u << 2, voAutoExpand = 1u << 3, voAutoScroll = 1u << 4,
    voAutoSpanColumns = 1u << 5, voAutoTristateTracking = 1u << 6, voCheckSupport = 1u << 7,
    voEditable = 1u << 8, voExtendedFocus = 1u << 9, voFullRowSelect = 1u << 10,
    voGridExtensions = 1u << 11, voHotTrack = 1u << 12, voInitOnSave = 1u << 13,
    voLevelSelectConstraint = 1u << 14, voMiddleClickSelect = 1u << 15, voMultiSelect = 1u << 16,
    voRightClickSelect = 1u << 17, voShowBackground = 1u << 18, voShowButtons = 1u << 19,
    voShowHorzGridLines = 1u << 20, voShowRoot = 1u << 21, voShowTreeLines = 1u << 22,
    voShowVertGridLines = 1u << 23, voToggleOnDblClick = 1u << 24;
inline constexpr TDataTreeOptions DefaultDataTreeOptions = 0x01682045;

// Tree state bits (one atomic word).
inline constexpr uint32_t tsChangePending = 1u << 0, tsStructureChangePending = 1u << 1,
    tsUpdating = 1u << 2, tsCutPending = 1u << 3, tsCopyPending = 1u << 4,
    tsClipboardFlushing = 1u << 5, tsPasting = 1u << 6, tsEditing = 1u << 7,
    tsEditPending = 1u << 8, tsOLEDragging = 1u << 9, tsDrawSelecting = 1u << 10,
    tsScrollPending = 1u << 11, tsScrolling = 1u << 12, tsThumbTracking = 1u << 13,
    tsSizing = 1u << 14, tsDestroying = 1u << 15, tsLoading = 1u << 16;

// Timer ids of the tree (expand on drag, edit, auto-scroll, change, structure change).
inline constexpr unsigned ExpandTimer = 1, EditTimer = 2, ScrollTimer = 4, ChangeTimer = 5,
    StructureChangeTimer = 6;

// One pair of the position cache: a visible node and the top of its line.
struct TCacheEntry {
  PDataNode Node = nullptr;
  uint32_t Top = 0;
};

// A published state of the position cache (never changed after publication).
struct TCacheSnapshot {
  std::vector<TCacheEntry> Entries;    // tree order
  std::vector<TCacheEntry> ByAddress;  // sorted by node address
};

using TDTNodeEvent = std::function<void(TDataTreeModel* Sender, PDataNode Node)>;
using TDTAllowEvent = std::function<void(TDataTreeModel* Sender, PDataNode Node, bool& Allowed)>;
using TDTInitNodeEvent = std::function<void(TDataTreeModel* Sender, PDataNode ParentNode, PDataNode Node,
                                            TDataNodeInitStates& InitialStates)>;
using TDTInitChildrenEvent = std::function<void(TDataTreeModel* Sender, PDataNode Node, uint32_t& ChildCount)>;
using TDTNodeDataSizeEvent = std::function<void(TDataTreeModel* Sender, int& NodeDataSize)>;
using TDTCheckingEvent = std::function<void(TDataTreeModel* Sender, PDataNode Node, TCheckState& NewState, bool& Allowed)>;
using TDTFocusChangingEvent = std::function<void(TDataTreeModel* Sender, PDataNode OldNode, PDataNode NewNode,
                                                 int OldColumn, int NewColumn, bool& Allowed)>;
using TDTFocusChangedEvent = std::function<void(TDataTreeModel* Sender, PDataNode Node, int Column)>;
using TDTHotChangeEvent = std::function<void(TDataTreeModel* Sender, PDataNode OldNode, PDataNode NewNode)>;
using TDTNodeMovingEvent = std::function<void(TDataTreeModel* Sender, PDataNode Node, PDataNode NewParent, bool& Allowed)>;
using TDTStreamEvent = std::function<void(TDataTreeModel* Sender, PDataNode Node, TStream& Stream)>;
// Compares two nodes for Sort: negative, 0 or positive.
using TDTCompareEvent = std::function<int(TDataTreeModel* Sender, PDataNode Node1, PDataNode Node2, int Column)>;
// IterateSubtree's callback; setting Abort stops the walk.
using TDTGetNodeProc = std::function<void(TDataTreeModel* Sender, PDataNode Node, bool& Abort)>;

class TDataTreeModel {
public:
  TDataTreeModel();
  virtual ~TDataTreeModel();
  TDataTreeModel(const TDataTreeModel&) = delete;
  TDataTreeModel& operator=(const TDataTreeModel&) = delete;

  // --- nodes and their data ---
  PDataNode RootNode() const { return root_; }
  // The user data area; nullptr for nil, the root, or NodeDataSize below 1.
  void* GetNodeData(PDataNode Node);
  // The tree's internal data area (4 bytes in the string tree), nullptr when there is none.
  void* InternalData(PDataNode Node) const;
  PDataNode AddChild(PDataNode Parent);
  // Grows or shrinks Node's (nil: the root's) children; shrinking deletes through DeleteNode.
  void SetChildCount(PDataNode Node, uint32_t Count);
  uint32_t RootNodeCount() const { return root_->ChildCount; }
  void SetRootNodeCount(uint32_t Count);
  int DefaultNodeHeight() const { return defaultNodeHeight_; }
  void SetDefaultNodeHeight(int Value);
  int NodeDataSize() const { return nodeDataSize_; }
  void SetNodeDataSize(int Value);
  void DeleteNode(PDataNode Node);
  void DeleteChildren(PDataNode Node, bool ResetHasChildren = false);
  // Deletes many nodes at once (nodes inside another listed node go with it); siblings are
  // renumbered once per parent, so long lists stay fast.
  void DeleteNodes(const std::vector<PDataNode>& Nodes);
  // Frees every node and rebuilds the root.
  void Clear();
  // A new node linked at Target (nil: the root) by Mode, uninitialised.
  PDataNode InsertNode(PDataNode Target, TDTNodeAttachMode Mode);
  // The node's level below the root (0 for top-level nodes).
  unsigned GetNodeLevel(PDataNode Node) const;
  // Whether Parent is an ancestor of Node.
  bool HasAsParent(PDataNode Node, PDataNode Parent) const;
  // Sets the node's height, keeping the totals right.
  void SetNodeHeight(PDataNode Node, int Height);
  uint32_t VisibleCount() const { return visibleCount_.load(std::memory_order_relaxed); }
  uint32_t TotalCount() const { return root_->TotalCount - 1; }

  // --- navigation ---
  PDataNode GetFirst();
  PDataNode GetFirstChild(PDataNode Node);
  PDataNode GetNextSibling(PDataNode Node);
  PDataNode GetPreviousSibling(PDataNode Node) const;
  // Pre-order successor over existing records (no initialisation).
  PDataNode GetNext(PDataNode Node) const;
  PDataNode GetNextVisible(PDataNode Node) const;
  PDataNode GetPreviousVisible(PDataNode Node) const;
  PDataNode GetFirstVisible() const;
  bool IsVisible(PDataNode Node) const;
  PDataNode GetLastVisible(PDataNode Node = nullptr) const;
  PDataNode GetLast(PDataNode Node = nullptr);
  PDataNode GetFirstSelected() const;
  PDataNode GetNextSelected(PDataNode Node) const;
  // 0 same node, 1 Node1 inside Node2, -1 Node2 inside Node1, else the sibling Index difference.
  int CompareNodePositions(PDataNode Node1, PDataNode Node2) const;

  // --- initialisation ---
  void InitNode(PDataNode Node);
  void InitChildren(PDataNode Node);
  void ReinitNode(PDataNode Node, bool Recursive);
  void ReinitChildren(PDataNode Node, bool Recursive);
  void ResetNode(PDataNode Node);
  // Initialises every node; answers the number of nodes.
  uint32_t InitAllNodes();
  PDataNode IterateSubtree(PDataNode Node, const TDTGetNodeProc& Callback, bool WithInit, bool SelectedOnly = false);
  uint32_t CountEnabledChildren(PDataNode Node, bool Recursive);
  void SetChildrenEnabled(PDataNode Node, bool Enabled, bool Recursive);

  // --- expansion ---
  void ToggleNode(PDataNode Node);
  bool Expanded(PDataNode Node) const { return Node && Node->Has(vsExpanded); }
  void SetExpanded(PDataNode Node, bool Value);
  // Expands (collapses) Node and its whole subtree; nil: the whole tree.
  void FullExpand(PDataNode Node = nullptr);
  void FullCollapse(PDataNode Node = nullptr);

  // --- selection ---
  bool Selected(PDataNode Node) const { return Node && Node->Has(vsSelected); }
  void SetSelected(PDataNode Node, bool Value);
  void AddToSelection(PDataNode Node);
  // Inserts candidates (checked unless AlreadyChecked); answers how many were added.
  int InternalAddToSelection(std::vector<PDataNode> Candidates, bool AlreadyChecked);
  void RemoveFromSelection(PDataNode Node);
  void ClearSelection();
  int SelectionCount() const { return int(selection_.size()); }
  const std::vector<PDataNode>& Selection() const { return selection_; }
  // Every visible node from From to To (in tree order) into the selection.
  void SelectNodes(PDataNode From, PDataNode To, bool AddOnly);

  // --- check states ---
  void SetCheckState(PDataNode Node, TCheckState Value);
  void SetCheckType(PDataNode Node, TCheckType Value);
  // A click on the node's check image (disabled nodes ignore it).
  void CheckClick(PDataNode Node);

  // --- focus ---
  PDataNode FocusedNode() const { return focusedNode_; }
  void SetFocusedNode(PDataNode Node);
  int FocusedColumn() const { return focusedColumn_; }
  PDataNode HotNode() const { return hotNode_; }
  PDataNode DropTarget() const { return dropTarget_; }

  // --- sorting ---
  void Sort(PDataNode Node, int Column, bool Ascending, const TDTCompareEvent& Compare, bool DoInit = true);

  // --- moving and copying between places and trees ---
  // Moves Node (or its children) to Target by Mode; another tree gets a copy and the nodes go.
  void MoveTo(PDataNode Node, PDataNode Target, TDTNodeAttachMode Mode, bool ChildrenOnly);
  // Copies Node (or its children) to Target; answers the new node (the last one).
  PDataNode CopyTo(PDataNode Node, PDataNode Target, TDTNodeAttachMode Mode, bool ChildrenOnly);
  // The tree a node belongs to.
  static TDataTreeModel* TreeOf(PDataNode Node);

  // --- stream format (little-endian chunks) ---
  void SaveToStream(TStream& Stream, PDataNode Node = nullptr);
  void LoadFromStream(TStream& Stream);
  void LoadFromFile(const std::string& FileName);
  void WriteNode(TStream& Stream, PDataNode Node);
  // Reads one node into an existing record; Depth counts nesting for the depth limit.
  void ReadNode(TStream& Stream, PDataNode Node, int64_t End = -1, int Depth = 0);
  // Reads nodes until `End`, each attached to Target by Mode (in order); answers the nodes read.
  std::vector<PDataNode> ReadNodes(TStream& Stream, int64_t End, PDataNode Target, TDTNodeAttachMode Mode);

  // --- update brackets and notification ---
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }
  void Change(PDataNode Node);
  void StructureChange(PDataNode Node);
  int ChangeDelay() const { return changeDelay_; }
  void SetChangeDelay(int Value) { changeDelay_ = Value; }
  // A tree timer ran out (the view's timers call this).
  virtual void TimerExpired(unsigned Id);

  TDataTreeOptions Options() const { return options_; }
  virtual void SetOptions(TDataTreeOptions Value);
  bool HasOption(TDataTreeOptions Option) const { return (options_ & Option) != 0; }
  uint32_t TreeStates() const { return states_.load(); }
  bool HasState(uint32_t State) const { return (states_.load() & State) != 0; }
  void IncludeState(uint32_t State) { states_.fetch_or(State); }
  void ExcludeState(uint32_t State) { states_.fetch_and(~State); }

  // --- position cache ---
  // Truncates the cache to StartIndex pairs (negative: 0) and queues a rebuild when needed.
  void ValidateCache(int StartIndex = 0);
  // Stops the worker on this tree and drops the whole cache (before any structural change).
  void InvalidateCache();
  // Stops the worker and cuts the cache before the visible node From, whose place or whose
  // subtree changes: the pairs above it stay right. A node not shown changes no place.
  void InvalidateCacheFrom(PDataNode From);
  // The published cache (may be empty).
  std::shared_ptr<const TCacheSnapshot> CacheSnapshot() const;
  // Waits until the worker has finished with this tree.
  void WaitForCache();
  // The visible node whose line covers content height Y (nullptr past the end); its top.
  PDataNode GetNodeAtY(int64_t Y, uint32_t* NodeTop = nullptr) const;
  // The top of a visible node's line in content coordinates.
  uint32_t GetNodeTop(PDataNode Node) const;
  // Builds the cache (on the worker thread).
  void BuildCache(const std::atomic<bool>& stop);

  // --- events ---
  // OnFreeNode comes for every initialised node or node with data, also when the tree itself
  // goes: then (tsDestroying) its view and owner may be gone, so it only frees the node's data.
  TDTInitNodeEvent OnInitNode;
  TDTInitChildrenEvent OnInitChildren;
  TDTNodeEvent OnFreeNode, OnResetNode, OnStructureChange, OnChange, OnExpanded, OnCollapsed,
      OnChecked, OnNodeCopied, OnNodeMoved;
  TDTNodeDataSizeEvent OnGetNodeDataSize;
  TDTAllowEvent OnExpanding, OnCollapsing, OnNodeCopying;
  TDTCheckingEvent OnChecking;
  TDTFocusChangingEvent OnFocusChanging;
  TDTFocusChangedEvent OnFocusChanged;
  TDTHotChangeEvent OnHotChange;
  TDTNodeMovingEvent OnNodeMoving;
  TDTStreamEvent OnLoadNode, OnSaveNode;

protected:
  // Bytes of internal data per node (0 here; 4 in the string tree).
  virtual int TotalInternalDataSize() const { return 0; }
  // --- view hooks (no-ops in the bare model) ---
  virtual void InvalidateNode(PDataNode) {}
  virtual void InvalidateToBottom(PDataNode) {}
  virtual void InvalidateView() {}
  virtual void UpdateScrollBars(bool /*Repaint*/) {}
  virtual void StartTimer(unsigned /*Id*/, unsigned /*Ms*/) {}
  virtual void StopTimer(unsigned /*Id*/) {}
  virtual void SetRedraw(bool /*On*/) {}
  // Focus moves: the view ends a running edit here.
  virtual void EndEditForFocusChange() {}
  // A node is about to be freed: drop every reference the view keeps to it.
  virtual void NodeFreeing(PDataNode Node);
  // Writes all chunks of a node (the string tree adds its caption).
  virtual void WriteChunks(TStream& Stream, PDataNode Node);
  // Interprets one chunk (header already read); false for an unknown type.
  virtual bool ReadChunk(TStream& Stream, PDataNode Node, uint32_t ChunkType, uint32_t ChunkSize, int Depth);
  // Fires the events through their dispatch routines.
  void DoFreeNode(PDataNode Node);
  virtual void DoChange(PDataNode Node);
  virtual void DoStructureChange(PDataNode Node);
  virtual void DoFocusChange(PDataNode Node, int Column);
  void SetHotNode(PDataNode Node);
  void SetDropTargetNode(PDataNode Node) { dropTarget_ = Node; }
  void SetFocusedColumnValue(int Column) { focusedColumn_ = Column; }
  // Number of visible descendants of an expanded node.
  uint32_t CountVisibleChildren(PDataNode Node) const;

  PDataNode checkNode_ = nullptr;   // the node whose check image is pressed
  PDataNode rangeAnchor_ = nullptr; // start of Shift ranges
  int lastSelectionLevel_ = -1;

private:
  PDataNode MakeNode();
  void FreeSubtree(PDataNode Node, std::vector<PDataNode>& selectedGone);
  void DropFromSelection(std::vector<PDataNode>& gone);
  void AdjustTotalCount(PDataNode Node, int64_t Delta);
  void AdjustTotalHeight(PDataNode Node, int64_t Delta);
  void AfterStructureChange(PDataNode Parent, bool Repaint);
  void LinkNode(PDataNode Node, PDataNode Dest, TDTNodeAttachMode Mode);
  void UnlinkNode(PDataNode Node, bool Renumber = true);
  void ToggleInternal(PDataNode Node);
  void DeleteNodeInternal(PDataNode Node);
  void RecomputeTriState(PDataNode Parent);
  void FixLoadedNode(PDataNode Node);
  PDataNode MergeSort(PDataNode Head, uint32_t Count, int Column, bool Ascending, const TDTCompareEvent& Compare);
  size_t CachePairsNeeded() const;
  // Cuts the published cache to its first `keep` pairs (the lock held).
  void CutCache(size_t keep);
  // Queues the rest of the cache after a change that kept its valid part.
  void ResumeCache();

  PDataNode root_ = nullptr;
  int nodeDataSize_ = 0;
  int defaultNodeHeight_ = 18;
  TDataTreeOptions options_ = DefaultDataTreeOptions;
  int updateCount_ = 0;
  std::atomic<uint32_t> states_{0};
  std::atomic<uint32_t> visibleCount_{0};
  std::vector<PDataNode> selection_;
  PDataNode focusedNode_ = nullptr;
  int focusedColumn_ = -1;
  PDataNode hotNode_ = nullptr;
  PDataNode dropTarget_ = nullptr;
  int changeDelay_ = 0;
  PDataNode lastChangedNode_ = nullptr;
  PDataNode lastStructureChangedNode_ = nullptr;
  // The worker's handle on this tree: not the tree itself, so that the worker never makes a
  // virtual call into a tree whose derived part is being destroyed.
  struct TBuilder : TCacheBuilder {
    TDataTreeModel* tree;
    explicit TBuilder(TDataTreeModel* t) : tree(t) {}
    void BuildCache(const std::atomic<bool>& stop) override { tree->BuildCache(stop); }
  } builder_{this};
  mutable std::mutex cacheLock_;
  std::shared_ptr<const TCacheSnapshot> cache_;
};
