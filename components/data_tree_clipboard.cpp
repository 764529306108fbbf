// The data tree's clipboard: cut, copy and paste of nodes in the native format (the node
// stream without header), a reference naming the source tree by process and tree id, and
// the nodes' text; moving the nodes of a cut; the drop mode of a drag.
#include <unistd.h>

#include <algorithm>

#include "components/data_tree.h"
#include "platform/code_pages.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/graphics.h"
#include "platform/streams.h"

namespace {

void PutU32(std::string& out, uint32_t v) {
  for (int k = 0; k < 4; ++k) out += char(uint8_t(v >> (8 * k)));
}

uint32_t GetU32(const std::string& in, size_t at) {
  uint32_t v = 0;
  for (int k = 0; k < 4; ++k) v |= uint32_t(uint8_t(in[at + size_t(k)])) << (8 * k);
  return v;
}

}  // namespace

unsigned TBaseDataTree::NativeFormat() {
  static unsigned format = RegisterClipboardFormat("Data Tree Resource");
  return format;
}

unsigned TBaseDataTree::ReferenceFormat() {
  static unsigned format = RegisterClipboardFormat("Data Tree Reference");
  return format;
}

std::vector<PDataNode> TBaseDataTree::MarkedNodes(bool TopOnly) {
  std::vector<PDataNode> nodes;
  uint8_t mark = HasState(tsOLEDragging) ? vsSelected : vsCutOrCopy;
  for (PDataNode run = RootNode()->FirstChild; run;) {
    if (run->Has(mark)) {
      nodes.push_back(run);
      if (TopOnly) {
        // Skip the subtree: it travels with the node.
        PDataNode next = nullptr;
        for (PDataNode up = run; !next && up != RootNode(); up = up->Parent) next = up->NextSibling;
        run = next;
        continue;
      }
    }
    run = GetNext(run);
  }
  return nodes;
}

std::u16string TBaseDataTree::NodesText(const std::vector<PDataNode>& Nodes) {
  std::u16string text;
  bool columns = header_.UseColumns();
  for (PDataNode node : Nodes) {
    text.append(GetNodeLevel(node), u'\t');
    text += ClipboardText(node, columns ? 0 : -1);
    if (columns)
      for (int c = 1; c < header_.Count(); ++c) text += u'\t' + ClipboardText(node, c);
    text += u'\r';
  }
  return text;
}

bool TBaseDataTree::ReadReference(uint64_t& Id, uint32_t& Pid) const {
  std::string block = Clipboard()->GetAsBytes(ReferenceFormat());
  if (block.size() < 16 || GetU32(block, 0) != 12) return false;
  Pid = GetU32(block, 4);
  Id = uint64_t(GetU32(block, 8)) | uint64_t(GetU32(block, 12)) << 32;
  return true;
}

bool TBaseDataTree::ClipboardHoldsOurData() const {
  uint64_t id;
  uint32_t pid;
  return ReadReference(id, pid) && pid == uint32_t(getpid()) && id == treeId_;
}

void TBaseDataTree::ClipboardChanged() {
  // Another program (or tree) took the clipboard: a pending cut or copy is over.
  if (settingClipboard_ || !HasState(tsCutPending | tsCopyPending) || ClipboardHoldsOurData()) return;
  IncludeState(tsClipboardFlushing);
  CancelCutOrCopy();
  ExcludeState(tsClipboardFlushing);
}

TDragFormats TBaseDataTree::NodeData() {
  TDragFormats data;
  std::string reference;
  PutU32(reference, 12);
  PutU32(reference, uint32_t(getpid()));
  PutU32(reference, uint32_t(treeId_));
  PutU32(reference, uint32_t(treeId_ >> 32));
  data[ReferenceFormat()] = reference;
  if (oleFormats_ & ofNative) {
    TMemoryStream stream;
    for (PDataNode node : MarkedNodes(true)) WriteNode(stream, node);
    std::string native;
    PutU32(native, uint32_t(stream.Size()));
    native.append(stream.Memory(), size_t(stream.Size()));
    data[NativeFormat()] = native;
  }
  if (oleFormats_ & (ofUnicodeText | ofText)) {
    std::u16string text = NodesText(MarkedNodes(false));
    if (oleFormats_ & ofUnicodeText) data[CF_UNICODETEXT] = std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    else data[CF_TEXT] = WideToAnsi(text);
  }
  return data;
}

void TBaseDataTree::PutOnClipboard() {
  TDragFormats data = NodeData();
  settingClipboard_ = true;
  try {
    TClipboard* clipboard = Clipboard();
    clipboard->Open();
    for (const auto& [format, bytes] : data) {
      if (format == CF_UNICODETEXT)
        clipboard->SetAsUnicodeText(std::u16string(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2));
      else if (format == CF_TEXT) clipboard->SetAsText(bytes);
      else clipboard->SetAsBytes(format, bytes);
    }
    clipboard->Close();
  } catch (...) {
    settingClipboard_ = false;
    throw EDataTreeError("Clipboard operation failed.");
  }
  settingClipboard_ = false;
}

void TBaseDataTree::CopyToClipboard() {
  if (SelectionCount() == 0) return;
  CancelCutOrCopy();
  IncludeState(tsCopyPending);
  for (PDataNode node : Selection())
    if (!node->Has(vsDisabled)) node->Include(vsCutOrCopy);
  PutOnClipboard();
  InvalidateView();
}

void TBaseDataTree::CutToClipboard() {
  if (SelectionCount() == 0) return;
  CancelCutOrCopy();
  IncludeState(tsCutPending);
  for (PDataNode node : Selection())
    if (!node->Has(vsDisabled)) node->Include(vsCutOrCopy);
  PutOnClipboard();
  IncludeState(tsCopyPending);
  InvalidateView();
}

void TBaseDataTree::CancelCutOrCopy() {
  if (!HasState(tsCutPending | tsCopyPending)) return;
  for (PDataNode run = RootNode()->FirstChild; run; run = GetNext(run)) run->Exclude(vsCutOrCopy);
  if (!HasState(tsClipboardFlushing) && ClipboardHoldsOurData()) {
    settingClipboard_ = true;
    Clipboard()->Clear();
    settingClipboard_ = false;
  }
  ExcludeState(tsCutPending | tsCopyPending | tsPasting);
  InvalidateView();
}

void TBaseDataTree::FinishCutOrCopy() {
  if (HasState(tsCutPending)) {
    DeleteNodes(MarkedNodes(true));
    ExcludeState(tsCutPending);
  } else if (HasState(tsCopyPending)) {
    for (PDataNode run = RootNode()->FirstChild; run; run = GetNext(run)) run->Exclude(vsCutOrCopy);
    ExcludeState(tsCopyPending);
  }
  ExcludeState(tsPasting);
  InvalidateView();
}

void TBaseDataTree::SetOLEFormats(TOLEFormats Value) {
  if (Value == oleFormats_) return;
  oleFormats_ = Value;
  // Only this tree's data goes; another program's clipboard content stays.
  if (ClipboardHoldsOurData()) {
    IncludeState(tsClipboardFlushing);
    settingClipboard_ = true;
    Clipboard()->Clear();
    settingClipboard_ = false;
    ExcludeState(tsClipboardFlushing);
    CancelCutOrCopy();
  }
}

bool TBaseDataTree::PasteFromClipboard() {
  TBaseDataTree* source = nullptr;
  uint64_t id;
  uint32_t pid;
  if (ReadReference(id, pid) && pid == uint32_t(getpid())) source = TreeFromId(id);
  if (!Clipboard()->HasFormat(NativeFormat())) return false;
  std::string native = Clipboard()->GetAsBytes(NativeFormat());
  bool cut = source && source->HasState(tsCutPending);
  if (source) source->IncludeState(tsPasting);
  bool done = ProcessNativeData(source, native, FocusedNode(), DefaultPasteMode, cut);
  if (source && cut) source->FinishCutOrCopy();
  else if (source) source->ExcludeState(tsPasting);
  return done;
}

bool TBaseDataTree::ProcessNativeData(TBaseDataTree* Source, const std::string& Native, PDataNode Target,
                                      TDTNodeAttachMode Mode, bool Optimized) {
  if (Optimized && Source) {
    std::vector<PDataNode> nodes = Source->MarkedNodes(true);
    PDataNode target = Target ? Target : RootNode();
    // Front modes take the nodes last to first, so that their order is kept.
    if (Mode == amAddChildFirst || Mode == amInsertBefore) std::reverse(nodes.begin(), nodes.end());
    BeginUpdate();
    if (Source != this) Source->BeginUpdate();
    for (PDataNode node : nodes) {
      // A moved node loses its mark, so that finishing the cut keeps it; a node that cannot
      // move (the target or one of its ancestors) loses it too and stays where it is.
      node->Exclude(vsCutOrCopy);
      for (PDataNode run = node->FirstChild; run && Source->HasAsParent(run, node); run = Source->GetNext(run))
        run->Exclude(vsCutOrCopy);
      if (node == target || HasAsParent(target, node)) continue;
      Source->MoveTo(node, target, Mode, false);
    }
    if (Source != this) Source->EndUpdate();
    EndUpdate();
    return true;
  }
  // The block's count is checked against the bytes that are really there.
  if (Native.size() < 4) return false;
  uint32_t count = GetU32(Native, 0);
  if (count > Native.size() - 4) throw EDataTreeError("Clipboard operation failed.");
  TMemoryStream stream;
  stream.WriteBuffer(Native.data() + 4, int(count));
  stream.SetPosition(0);
  BeginUpdate();
  try {
    std::vector<PDataNode> nodes = ReadNodes(stream, stream.Size(), Target, Mode);
    for (PDataNode node : nodes) {
      bool allowed = true;
      if (OnNodeCopying) OnNodeCopying(this, node, allowed);
      if (!allowed) DeleteNode(node);
      else if (OnNodeCopied) OnNodeCopied(this, node);
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  return true;
}

unsigned TBaseDataTree::DetermineDropMode(TBaseDataTree* Source, TShiftState Shift, unsigned AllowedEffects) {
  unsigned effect = AllowedEffects;
  if (Source != this) {
    if (AllowedEffects & deCopy) effect = deCopy;
  } else if (AllowedEffects & deMove) {
    effect = deMove;
  }
  bool shift = Shift & ssShift, ctrl = Shift & ssCtrl, alt = Shift & ssAlt;
  if (shift && !ctrl && !alt && (AllowedEffects & deMove)) effect = deMove;
  else if (ctrl && !shift && !alt && (AllowedEffects & deCopy)) effect = deCopy;
  else if (((ctrl && shift) || (alt && !ctrl && !shift)) && (AllowedEffects & deLink)) effect = deLink;
  return effect;
}

// --- drag and drop ---

TBaseDataTree* TBaseDataTree::SourceOf(const TDataDropInfo& Info) const {
  std::string reference = Info.Data ? Info.Data(ReferenceFormat()) : std::string();
  if (reference.size() < 16 || GetU32(reference, 0) != 12 || GetU32(reference, 4) != uint32_t(getpid())) return nullptr;
  return TreeFromId(uint64_t(GetU32(reference, 8)) | uint64_t(GetU32(reference, 12)) << 32);
}

unsigned TBaseDataTree::DoDragDrop() {
  CancelCutOrCopy();
  SetDropTargetNode(nullptr);
  IncludeState(tsOLEDragging);
  dragSet_ = MarkedNodes(true);
  droppedOnSelf_ = false;
  unsigned effect = deNone;
  try {
    TBitmap image;
    if (DragImageKind != diNoImage) MakeDragImage(image);
    effect = DoDataDrag(*this, NodeData(), deCopy | deMove, DragImageKind != diNoImage ? &image : nullptr, dragStart_);
  } catch (...) {
    ExcludeState(tsOLEDragging);
    dragSet_.clear();
    throw;
  }
  ExcludeState(tsOLEDragging);
  // A move to another place takes the nodes away here; a drop on this tree moved them itself.
  if (effect == deMove && !droppedOnSelf_) DeleteNodes(dragSet_);
  dragSet_.clear();
  return effect;
}

unsigned TBaseDataTree::DragOver(TBaseDataTree* Source, TPoint Pt, TShiftState Shift, unsigned Allowed) {
  unsigned effect = DetermineDropMode(Source, Shift, Allowed);
  THitInfo hit = GetHitTestInfoAt(Pt.X, Pt.Y);
  TDropMode mode = dmNowhere;
  if (hit.HitNode) {
    if (hit.HitPositions & (hiOnItemLabel | hiOnItemImage | hiOnItemCheckbox)) mode = dmOnNode;
    else {
      TRect line = GetDisplayRect(hit.HitNode, -1, false);
      mode = Pt.Y < line.Top + line.Height() / 2 ? dmAbove : dmBelow;
    }
  }
  if (hit.HitNode != DropTarget()) {
    StopTimer(ExpandTimer);
    if (hit.HitNode && hit.HitNode->Has(vsHasChildren) && HasOption(voAutoDropExpand)) StartTimer(ExpandTimer, 1000);
  }
  SetDropTargetNode(hit.HitNode);
  dropMode_ = mode;
  DoAutoScroll(Pt);
  bool accept = true;
  if (OnDragOver) OnDragOver(this, Source, Shift, Pt, mode, effect, accept);
  // Without a drop handler nothing would be inserted: the drop is refused, not faked.
  if (!accept || !OnDragDrop) effect = deNone;
  InvalidateView();
  return effect;
}

unsigned TBaseDataTree::DataDragOver(const TDataDropInfo& Info, bool) {
  TPoint origin = ClientOrigin();
  return DragOver(SourceOf(Info), {Info.Point.X - origin.X, Info.Point.Y - origin.Y}, Info.Shift, Info.Allowed);
}

void TBaseDataTree::DataDragLeave() {
  StopTimer(ExpandTimer);
  StopTimer(ScrollTimer);
  ExcludeState(tsScrollPending | tsScrolling);
  SetDropTargetNode(nullptr);
  dropMode_ = dmNowhere;
  InvalidateView();
}

unsigned TBaseDataTree::DataDrop(const TDataDropInfo& Info) {
  TPoint origin = ClientOrigin();
  TPoint pt{Info.Point.X - origin.X, Info.Point.Y - origin.Y};
  TBaseDataTree* source = SourceOf(Info);
  unsigned effect = DragOver(source, pt, Info.Shift, Info.Allowed);
  if (effect == deNone) {
    DataDragLeave();
    return deNone;
  }
  dropData_ = Info.Data;
  try {
    if (!DropData(source, pt, Info.Shift, effect)) effect = deNone;
  } catch (...) {
    dropData_ = nullptr;
    throw;
  }
  dropData_ = nullptr;
  if (source == this) droppedOnSelf_ = true;
  return effect;
}

bool TBaseDataTree::DropData(TBaseDataTree* Source, TPoint Pt, TShiftState Shift, unsigned& Effect) {
  StopTimer(ExpandTimer);
  StopTimer(ScrollTimer);
  ExcludeState(tsScrollPending | tsScrolling);
  if (!DropTarget()) {
    THitInfo hit = GetHitTestInfoAt(Pt.X, Pt.Y);
    SetDropTargetNode(hit.HitNode);
    if (hit.HitNode) dropMode_ = (hit.HitPositions & hiOnItemLabel) ? dmOnNode : dmBelow;
  }
  TDropMode mode = dropMode_;
  bool handled = false;
  if (OnDragDrop) {
    std::vector<unsigned> formats{ReferenceFormat()};
    if (oleFormats_ & ofNative) formats.push_back(NativeFormat());
    if (oleFormats_ & ofUnicodeText) formats.push_back(CF_UNICODETEXT);
    if (oleFormats_ & ofText) formats.push_back(CF_TEXT);
    OnDragDrop(this, Source, formats, Shift, Pt, Effect, mode);
    handled = true;
  }
  SetDropTargetNode(nullptr);
  dropMode_ = dmNowhere;
  InvalidateView();
  return handled;
}
