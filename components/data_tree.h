// TBaseDataTree: the virtual data tree control. The node model with a window: painting
// through the canvas, the header, hit testing, keyboard and mouse, in-place editing,
// scrolling, hints, the clipboard and moving nodes by drag and drop.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "components/data_tree_header.h"
#include "components/data_tree_model.h"
#include "platform/gui/data_drag.h"
#include "platform/gui/scrolling_control.h"
#include "platform/gui/std_controls.h"

class TBaseDataTree;
class TImageList;
class TPicture;
class TTimer;

// Positions of a point relative to a node (GetHitTestInfoAt).
inline constexpr unsigned hiAbove = 1, hiBelow = 2, hiNowhere = 4, hiOnItem = 8, hiOnItemButton = 16,
    hiOnItemImage = 32, hiOnItemCheckbox = 64, hiOnItemIndent = 128, hiOnItemLabel = 256,
    hiOnItemRight = 512, hiToLeft = 0x800, hiToRight = 0x1000;

struct THitInfo {
  PDataNode HitNode = nullptr;
  int HitColumn = -1;
  unsigned HitPositions = 0;
};

enum TDTImageKind { ikNormal, ikSelected, ikState, ikOverlay };
enum TDropMode { dmNowhere, dmAbove, dmOnNode, dmBelow };
enum TItemEraseAction { eaDefault = 0, eaNone = 1, eaColor = 2 };
enum TCheckImageKind { ckLightCheck, ckDarkCheck, ckLightTick, ckDarkTick };
enum TDTHintMode { hmDefault, hmHint, hmHintAndDefault, hmTooltip };
enum TDTDragImageKind { diComplete, diMainColumnOnly, diNoImage };

// Clipboard formats offered (OLEFormats).
using TOLEFormats = unsigned;
inline constexpr TOLEFormats ofNative = 1, ofUnicodeText = 2, ofText = 4;
// Drop effects.
inline constexpr unsigned deNone = 0, deCopy = 1, deMove = 2, deLink = 4;

// The editor of a node's text in place.
class IDTEditLink {
public:
  virtual ~IDTEditLink() = default;
  // False refuses the edit.
  virtual bool PrepareEdit(TBaseDataTree* Tree, PDataNode Node, int Column) = 0;
  virtual void SetBounds(const TRect& R) = 0;
  virtual bool BeginEdit() = 0;
  // Ends the edit (the new text goes to the tree when it changed); false keeps it running.
  virtual bool EndEdit() = 0;
  virtual void CancelEdit() = 0;
};

using TDTCanvasEvent = std::function<void(TBaseDataTree* Sender, TCanvas& Canvas)>;
using TDTCellPaintEvent = std::function<void(TBaseDataTree* Sender, TCanvas& Canvas, PDataNode Node, int Column, const TRect& CellRect)>;
using TDTItemPaintEvent = std::function<void(TBaseDataTree* Sender, TCanvas& Canvas, PDataNode Node, const TRect& ItemRect)>;
using TDTBeforeItemPaintEvent = std::function<void(TBaseDataTree* Sender, TCanvas& Canvas, PDataNode Node, const TRect& ItemRect, bool& CustomDraw)>;
using TDTItemEraseEvent = std::function<void(TBaseDataTree* Sender, TCanvas& Canvas, PDataNode Node, const TRect& ItemRect,
                                             TColor& Color, TItemEraseAction& EraseAction)>;
using TDTHeaderDrawEvent = std::function<void(TDTHeader* Sender, TCanvas& Canvas, TDataTreeColumn& Column, const TRect& R,
                                              bool Hover, bool Pressed)>;
using TDTGetImageEvent = std::function<void(TBaseDataTree* Sender, PDataNode Node, TDTImageKind Kind, int Column, int& Index)>;
using TDTHeaderClickEvent = std::function<void(TBaseDataTree* Sender, int Column, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TDTColumnEvent = std::function<void(TBaseDataTree* Sender, int Column)>;
using TDTCreateEditorEvent = std::function<void(TBaseDataTree* Sender, PDataNode Node, int Column, std::unique_ptr<IDTEditLink>& EditLink)>;
using TDTEditingEvent = std::function<void(TBaseDataTree* Sender, PDataNode Node, int Column, bool& Allowed)>;
using TDTEditEvent = std::function<void(TBaseDataTree* Sender, PDataNode Node, int Column)>;
using TDTDragOverEvent = std::function<void(TBaseDataTree* Sender, TBaseDataTree* Source, TShiftState Shift, TPoint Pt,
                                            TDropMode Mode, unsigned& Effect, bool& Accept)>;
using TDTDragDropEvent = std::function<void(TBaseDataTree* Sender, TBaseDataTree* Source, const std::vector<unsigned>& Formats,
                                            TShiftState Shift, TPoint Pt, unsigned& Effect, TDropMode Mode)>;
using TDTDragAllowedEvent = std::function<void(TBaseDataTree* Sender, PDataNode Node, int Column, bool& Allowed)>;

class TBaseDataTree : public TScrollingControl, public TDataTreeModel, public TDTHeaderOwner, public TDataDropTarget {
  QM_CLASS(TBaseDataTree, TScrollingControl)
public:
  explicit TBaseDataTree(TComponent* owner);
  ~TBaseDataTree() override;

  TDTHeader* Header() { return &header_; }
  int Indent() const { return indent_; }
  void SetIndent(int Value);
  int Margin() const { return margin_; }
  void SetMargin(int Value);
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* Value) { images_ = Value; InvalidateView(); }
  TImageList* StateImages() const { return stateImages_; }
  void SetStateImages(TImageList* Value) { stateImages_ = Value; InvalidateView(); }
  TColor TreeLineColor = clBtnFace, GridLineColor = clBtnFace, DropMarkColor = clSilver;
  // Tiled behind the nodes with voShowBackground.
  TPicture* Background() const { return background_.get(); }
  TCheckImageKind CheckImageKind = ckLightCheck;
  TScrollStyle ScrollBars = ssBoth;
  bool ScrollBarsAlwaysVisible = false;
  TDTHintMode HintMode = hmDefault;
  TDTDragImageKind DragImageKind = diComplete;
  TDTNodeAttachMode DefaultPasteMode = amAddChildLast;
  int AutoScrollDelay = 1000, AutoScrollInterval = 1;
  // Milliseconds before a click on the focused node's label starts an edit.
  int EditDelay = 1000;
  TOLEFormats OLEFormats() const { return oleFormats_; }
  // Changing the formats empties the clipboard only when it holds this tree's data.
  void SetOLEFormats(TOLEFormats Value);
  void SetBorderStyle(bool Single) { SetBorder(Single); }
  void SetOptions(TDataTreeOptions Value) override;

  // --- scrolling ---
  int OffsetX() const { return offsetX_; }
  int OffsetY() const { return offsetY_; }
  void SetOffsetX(int Value);
  void SetOffsetY(int Value);
  int RangeX();
  int RangeY();
  // A scroll-bar request (SB_ codes) as the bars send it.
  void ScrollRequest(bool Vertical, int Code, int Position) override;
  bool ScrollIntoView(PDataNode Node, bool Horizontally);
  void UpdateScrollBars(bool Repaint) override;
  void UpdateVerticalScrollBar(bool Repaint);
  void UpdateHorizontalScrollBar(bool Repaint);
  // Directions auto-scrolling takes at a client point (bits: 1 left, 2 up, 4 right, 8 down).
  unsigned AutoScrollDirections(TPoint P);
  // The auto-scroll check while dragging: scrolling starts after AutoScrollDelay near an edge.
  void DoAutoScroll(TPoint P);

  // --- geometry ---
  THitInfo GetHitTestInfoAt(int X, int Y);
  TRect GetDisplayRect(PDataNode Node, int Column, bool TextOnly);
  // The visible node at client y (nullptr none).
  PDataNode GetNodeAt(int X, int Y);
  // The node content's width in a column (0 in the base tree).
  virtual int GetNodeWidth(PDataNode Node, int Column);
  // Main-column content start of a node relative to the cell's left edge: margin, indent,
  // check image and images (the one geometry of painting, hit testing and display rects).
  int ContentOffset(PDataNode Node, int Column, bool WithImages);
  // Check image strip size.
  static constexpr int CheckImageSize = 16;

  // --- editing ---
  bool CanEdit(PDataNode Node);
  bool EditNode(PDataNode Node, int Column);
  bool EndEditNode();
  void CancelEditNode();
  bool IsEditing() const { return HasState(tsEditing); }
  // Whether a rubber-band selection is running, and its rectangle in client coordinates.
  bool BandRunning() const { return HasState(tsDrawSelecting); }
  TRect BandClientRect() const;
  PDataNode EditNodeValue() const { return editNode_; }
  int EditColumn() const { return editColumn_; }

  // --- clipboard and moving ---
  void CopyToClipboard();
  void CutToClipboard();
  bool PasteFromClipboard();
  void CancelCutOrCopy();
  void FinishCutOrCopy();
  // Inserts native data (a block of nodes as WriteNode writes them) at Target; Optimized moves
  // the marked nodes of Source instead (a cut within this process).
  bool ProcessNativeData(TBaseDataTree* Source, const std::string& Native, PDataNode Target,
                         TDTNodeAttachMode Mode, bool Optimized);
  unsigned DetermineDropMode(TBaseDataTree* Source, TShiftState Shift, unsigned AllowedEffects);
  // The text of the nodes of a clipboard operation (TAB per level, CR per line, no NUL).
  std::u16string NodesText(const std::vector<PDataNode>& Nodes);
  // The nodes of a cut or copy (marked), in tree order; TopOnly drops those under a marked node.
  std::vector<PDataNode> MarkedNodes(bool TopOnly);
  // The process-wide identity of this tree in the reference format (never reused).
  uint64_t TreeId() const { return treeId_; }
  // The live tree with that identity in this process, or nullptr.
  static TBaseDataTree* TreeFromId(uint64_t Id);
  // Native and reference clipboard format numbers.
  static unsigned NativeFormat();
  static unsigned ReferenceFormat();
  // A drop at a client point: OnDragDrop decides what happens; false without a handler.
  bool DropData(TBaseDataTree* Source, TPoint Pt, TShiftState Shift, unsigned& Effect);
  // While OnDragDrop runs: the dropped bytes of a format (empty when not offered).
  std::string DroppedData(unsigned Format) const { return dropData_ ? dropData_(Format) : std::string(); }
  // Starts dragging the selected nodes (copy or move); answers the effect the target took.
  unsigned DoDragDrop();
  // A drag over the tree at a client point: the drop target node and mode follow the mouse.
  unsigned DragOver(TBaseDataTree* Source, TPoint Pt, TShiftState Shift, unsigned Allowed);

  // --- painting ---
  // Paints the lines crossing `Window` (client coordinates) into `Canvas`; SelectedOnly paints only
  // lines of selected nodes or their descendants.
  void PaintTree(TCanvas& Canvas, const TRect& Window, bool GridLines, bool MainColumnOnly, bool SelectedOnly);
  // The picture of the dragged (selected) nodes on the tree's colour, as large as the client
  // area (without columns: no wider than the widest content).
  void MakeDragImage(TBitmap& Image);
  // The node text for hints and editors (empty in the base tree).
  virtual std::u16string NodeHintText(PDataNode Node, int Column) { return {}; }
  // The hint for a client point (empty: none) and its rectangle in client coordinates.
  virtual std::u16string HintAt(TPoint P, TRect& HintRect);

  // --- events ---
  TDTCanvasEvent OnBeforePaint, OnAfterPaint;
  TDTCellPaintEvent OnBeforeCellPaint, OnAfterCellPaint;
  TDTBeforeItemPaintEvent OnBeforeItemPaint;
  TDTItemPaintEvent OnAfterItemPaint, OnAfterItemErase;
  TDTItemEraseEvent OnBeforeItemErase;
  TDTGetImageEvent OnGetImageIndex;
  TDTHeaderClickEvent OnHeaderClick;
  TDTHeaderDrawEvent OnDrawHeader;
  TDTColumnEvent OnColumnResize, OnEditCancelled;
  TDTCreateEditorEvent OnCreateEditor;
  TDTEditingEvent OnEditing;
  TDTEditEvent OnEdited;
  TDTDragOverEvent OnDragOver;
  TDTDragDropEvent OnDragDrop;
  TDTDragAllowedEvent OnDragAllowed;

  void TimerExpired(unsigned Id) override;
  bool HintRequest(TPoint P, std::u16string& Text, TRect& R) override;
  // Drop target of the window (points relative to the control).
  unsigned DataDragOver(const TDataDropInfo& Info, bool Entering) override;
  void DataDragLeave() override;
  unsigned DataDrop(const TDataDropInfo& Info) override;
  // Repaints a node's line (after its data changed: cached measurements are dropped).
  void InvalidateNode(PDataNode Node) override;

protected:
  void Paint() override;
  void PaintStrip(TCanvas& Canvas, const TRect& R) override;
  void WndProc(TMessage& Message) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  bool WantsKey(uint16_t) const override { return true; }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void DblClick() override;
  bool DoMouseWheel(TShiftState Shift, int Delta, TPoint MousePos) override;
  void Resize() override;
  void DoEnter() override;
  void DoExit() override;
  void FontChanged() override;
  void InitWidget() override;

  // Model hooks.
  void InvalidateToBottom(PDataNode Node) override;
  void InvalidateView() override;
  void StartTimer(unsigned Id, unsigned Ms) override;
  void StopTimer(unsigned Id) override;
  void SetRedraw(bool On) override;
  void EndEditForFocusChange() override;
  void NodeFreeing(PDataNode Node) override;

  // Header owner.
  int HeaderClientWidth() const override { return ClientWidth(); }
  int HeaderOffsetX() const override { return offsetX_; }
  void HeaderColumnResized(int Column) override;
  void HeaderChanged() override;
  TImageList* HeaderImages() const override { return images_; }
  int HeaderEllipsisWidth(TCanvas& Canvas) override;
  bool HeaderOwnerDraw(TCanvas& Canvas, TDataTreeColumn& Column, const TRect& R, bool Hover, bool Pressed) override;

  // Paints a cell's content (nothing in the base tree).
  virtual void DoPaintNode(TCanvas& /*Canvas*/, PDataNode /*Node*/, int /*Column*/, const TRect& /*Cell*/,
                           const TRect& /*Content*/) {}
  // Whether a node's cell is empty (a text may then span into it; never in the base tree).
  virtual bool ColumnIsEmpty(PDataNode /*Node*/, int /*Column*/) { return false; }
  // The text of a node's column for clipboard text.
  virtual std::u16string ClipboardText(PDataNode /*Node*/, int /*Column*/) { return {}; }
  // The edit link for a node (nullptr: no editing in the base tree).
  virtual std::unique_ptr<IDTEditLink> CreateEditor(PDataNode Node, int Column);
  // Focus rectangle and selection colours depend on this.
  bool TreeFocused() const;
  TDropMode DropMode() const { return dropMode_; }
  int ImageIndex(PDataNode Node, TDTImageKind Kind, int Column);

private:
  void PaintNodeLine(TCanvas& Canvas, PDataNode Node, int Top, const TRect& Clip, bool GridLines, bool MainColumnOnly);
  void PaintCheckImage(TCanvas& Canvas, int X, int Y, PDataNode Node);
  void PaintButton(TCanvas& Canvas, int X, int Y, bool Expanded);
  // Fills `R` with the background picture (tiled from the content origin) or the colour.
  void EraseBackground(TCanvas& Canvas, const TRect& R);
  void ClickSelect(PDataNode Node, TShiftState Shift);
  void HandleNavigationKey(uint16_t Key, TShiftState Shift);
  void SetFocusToNode(PDataNode Node, TShiftState Shift, bool ClearFirst);
  void UpdateHotNode(int X, int Y);
  // The band's rectangle in content coordinates (normalised).
  TRect BandRect(TPoint A, TPoint B) const;
  // Selects or deselects the nodes whose membership differs between two bands.
  void UpdateBandSelection(const TRect& Old, const TRect& New);
  void EndBand();
  bool ReadReference(uint64_t& Id, uint32_t& Pid) const;
  bool ClipboardHoldsOurData() const;
  void ClipboardChanged();
  void PutOnClipboard();
  // The formats of the marked (or, while dragging, selected) nodes.
  TDragFormats NodeData();
  void UpdateDropTarget();
  TBaseDataTree* SourceOf(const TDataDropInfo& Info) const;
  void RegisterTree();
  void UnregisterTree();

  TDTHeader header_{this};
  int indent_ = 18, margin_ = 4;
  int offsetX_ = 0, offsetY_ = 0;
  int wheelRest_ = 0;
  TImageList* images_ = nullptr;
  TImageList* stateImages_ = nullptr;
  std::unique_ptr<TPicture> background_;
  TOLEFormats oleFormats_ = ofNative | ofUnicodeText | ofText;
  std::map<unsigned, TTimer*> timers_;
  std::unique_ptr<IDTEditLink> editLink_;
  std::unique_ptr<IDTEditLink> retiredLink_;  // an ended edit's link, kept until the next edit
  TPoint lastPress_;
  PDataNode editNode_ = nullptr;
  int editColumn_ = -1;
  bool headerPressed_ = false;
  PDataNode pendingEditNode_ = nullptr;
  TDropMode dropMode_ = dmNowhere;
  uint64_t treeId_;
  int clipboardListener_ = -1;
  std::function<std::string(unsigned)> dropData_;
  std::vector<PDataNode> dragSet_;
  TPoint dragStart_;
  bool dragPending_ = false;
  bool droppedOnSelf_ = false;
  TPoint autoScrollPoint_;
  // Rubber band: press point and current end in content coordinates.
  TPoint bandStart_, bandEnd_;
  bool bandPending_ = false, bandToggles_ = false;
  bool settingClipboard_ = false;
};
