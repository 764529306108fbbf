// The data tree's keyboard, mouse, focus and in-place editing.
#include <algorithm>

#include "components/data_tree.h"
#include "platform/gui/application.h"

namespace {
constexpr uint16_t VK_OEM_PLUS = 0xBB, VK_OEM_MINUS = 0xBD, VK_F2 = 0x71;
}

void TBaseDataTree::WndProc(TMessage& Message) {
  // No exception of a handler reaches the toolkit: it is shown as the application shows it.
  try {
    if (Message.Msg == WM_PASTE) {
      PasteFromClipboard();
      return;
    }
    if (Message.Msg == CM_MOUSELEAVE) {
      StopTimer(ScrollTimer);
      ExcludeState(tsScrollPending | tsScrolling);
      SetHotNode(nullptr);
    }
    TScrollingControl::WndProc(Message);
  } catch (...) {
    Application->HandleException(this);
  }
}

// --- keyboard ---

void TBaseDataTree::KeyDown(uint16_t& Key, TShiftState Shift) {
  TScrollingControl::KeyDown(Key, Shift);
  PDataNode focused = FocusedNode();
  switch (Key) {
    case VK_PRIOR: case VK_NEXT: case VK_END: case VK_HOME:
    case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
      HandleNavigationKey(Key, Shift);
      break;
    case VK_ADD: case VK_OEM_PLUS:
      if (Shift & ssCtrl) FullExpand();
      else if (focused && !focused->Has(vsExpanded)) ToggleNode(focused);
      break;
    case VK_SUBTRACT: case VK_OEM_MINUS:
      if (Shift & ssCtrl) FullCollapse();
      else if (focused && focused->Has(vsExpanded)) ToggleNode(focused);
      break;
    case VK_MULTIPLY:
      if (focused && !focused->Has(vsExpanded)) FullExpand(focused);
      break;
    case VK_SPACE:
      if (focused && HasOption(voCheckSupport) && focused->CheckType != ctNone) {
        checkNode_ = focused;
        if (focused->CheckType == ctButton) focused->CheckState = csButtonPressed;
        CheckClick(focused);
      }
      break;
    case VK_F2:
      if (focused) EditNode(focused, FocusedColumn());
      break;
    case VK_ESCAPE:
      if (BandRunning() || bandPending_) EndBand();
      else if (IsEditing()) CancelEditNode();
      break;
    default: return;
  }
  Key = 0;
}

void TBaseDataTree::HandleNavigationKey(uint16_t Key, TShiftState Shift) {
  bool multi = HasOption(voMultiSelect);
  bool ctrl = Shift & ssCtrl;
  PDataNode focused = FocusedNode();
  PDataNode target = nullptr;
  switch (Key) {
    case VK_PRIOR:
    case VK_NEXT: {
      bool up = Key == VK_PRIOR;
      if (!focused) {
        target = up ? GetFirst() : GetLastVisible();
        break;
      }
      int sum = 0;
      target = focused;
      for (PDataNode next = up ? GetPreviousVisible(target) : GetNextVisible(target);
           next && sum + next->NodeHeight < ClientHeight(); next = up ? GetPreviousVisible(next) : GetNextVisible(next)) {
        sum += next->NodeHeight;
        target = next;
      }
      SetOffsetY(offsetY_ + (up ? sum : -sum));
      if (ctrl) target = nullptr;
      break;
    }
    case VK_HOME:
    case VK_END:
      target = Key == VK_HOME ? GetFirst() : GetLastVisible();
      if (ctrl) {
        ScrollIntoView(target, false);
        target = nullptr;
      }
      break;
    case VK_LEFT:
      if (ctrl) SetOffsetX(offsetX_ + indent_);
      else if (HasOption(voExtendedFocus) && header_.UseColumns()) {
        int prev = header_.PreviousVisible(FocusedColumn());
        if (prev >= 0) SetFocusedColumnValue(prev);
        InvalidateView();
      } else if (!focused) target = GetFirst();
      else if (focused->Has(vsExpanded) && focused->FirstChild && !Shift) ToggleNode(focused);
      else if (focused->Parent != RootNode()) target = focused->Parent;
      break;
    case VK_RIGHT:
      if (ctrl) SetOffsetX(offsetX_ - indent_);
      else if (HasOption(voExtendedFocus) && header_.UseColumns()) {
        int next = header_.NextVisible(FocusedColumn());
        if (next >= 0) SetFocusedColumnValue(next);
        InvalidateView();
      } else if (!focused) target = GetFirst();
      else if (!focused->Has(vsExpanded) && focused->Has(vsHasChildren) && !Shift) ToggleNode(focused);
      else target = GetFirstChild(focused);
      break;
    case VK_UP:
      if (ctrl) SetOffsetY(offsetY_ + DefaultNodeHeight());
      else target = focused ? GetPreviousVisible(focused) : GetLastVisible();
      break;
    case VK_DOWN:
      if (ctrl) SetOffsetY(offsetY_ - DefaultNodeHeight());
      else target = focused ? GetNextVisible(focused) : GetFirst();
      break;
    default: break;
  }
  if (!target) return;
  if (multi && (Shift & ssShift)) {
    if (!rangeAnchor_) rangeAnchor_ = focused ? focused : target;
    SelectNodes(rangeAnchor_, target, false);
    SetFocusedNode(target);
  } else {
    if (!(multi && ctrl)) ClearSelection();
    rangeAnchor_ = target;
    lastSelectionLevel_ = int(GetNodeLevel(target));
    SetFocusedNode(target);
    if (!(multi && ctrl)) AddToSelection(target);
  }
  ScrollIntoView(target, false);
}

// --- mouse ---

void TBaseDataTree::ClickSelect(PDataNode Node, TShiftState Shift) {
  bool multi = HasOption(voMultiSelect);
  bool ctrl = Shift & ssCtrl, shift = Shift & ssShift;
  if (multi && ctrl && shift) {
    SelectNodes(rangeAnchor_ ? rangeAnchor_ : Node, Node, true);
  } else if (multi && ctrl) {
    if (Selected(Node)) RemoveFromSelection(Node);
    else AddToSelection(Node);
    InvalidateNode(Node);
  } else if (multi && shift) {
    if (!rangeAnchor_) rangeAnchor_ = Node;
    SelectNodes(rangeAnchor_, Node, false);
  } else {
    if (!Selected(Node)) {
      ClearSelection();
      AddToSelection(Node);
    } else if (SelectionCount() > 1) {
      ClearSelection();
      AddToSelection(Node);
    }
    rangeAnchor_ = Node;
  }
}

void TBaseDataTree::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TScrollingControl::MouseDown(Button, Shift, X, Y);
  if (Shift & ssDouble) return;  // the double click is handled in DblClick
  if (Y < 0) {
    headerPressed_ = Button == mbLeft && header_.MouseDown(X, Y + StripHeight());
    if (!Focused() && CanFocus()) SetFocus();
    return;
  }
  bool selects = Button == mbLeft || (Button == mbMiddle && HasOption(voMiddleClickSelect)) ||
                 (Button == mbRight && HasOption(voRightClickSelect));
  if (!selects) return;
  lastPress_ = {X, Y};
  StopTimer(EditTimer);
  ExcludeState(tsEditPending);
  if (IsEditing()) EndEditNode();
  if (!Focused() && CanFocus() && Showing()) SetFocus();
  THitInfo hit = GetHitTestInfoAt(X, Y);
  PDataNode node = hit.HitNode;
  // A press beside the nodes may start a rubber band (multi-select only).
  if (Button == mbLeft && HasOption(voMultiSelect) && (!node || (hit.HitPositions & hiOnItemRight))) {
    bandPending_ = true;
    bandToggles_ = Shift & ssCtrl;
    bandStart_ = bandEnd_ = {X - offsetX_, Y - offsetY_};
    return;
  }
  if (!node) return;
  if ((hit.HitPositions & hiOnItemButton) && node->Has(vsHasChildren)) {
    ToggleNode(node);
    return;
  }
  bool wasFocused = node == FocusedNode();
  if (hit.HitColumn >= 0 && HasOption(voExtendedFocus)) SetFocusedColumnValue(hit.HitColumn);
  ClickSelect(node, Shift);
  SetFocusedNode(node);
  if (hit.HitPositions & hiOnItemCheckbox) {
    checkNode_ = node;
    CheckClick(node);
  }
  pendingEditNode_ = wasFocused && (hit.HitPositions & hiOnItemLabel) && Button == mbLeft ? node : nullptr;
  // A drag may start from a selected node when OnDragAllowed allows it.
  dragPending_ = false;
  if (Button == mbLeft && OnDragAllowed && Selected(node) && (hit.HitPositions & (hiOnItemLabel | hiOnItemImage))) {
    bool allowed = false;
    OnDragAllowed(this, node, hit.HitColumn, allowed);
    dragPending_ = allowed;
    dragStart_ = {X, Y};
  }
}

void TBaseDataTree::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TScrollingControl::MouseUp(Button, Shift, X, Y);
  if (bandPending_ || BandRunning()) {
    EndBand();
    return;
  }
  if (headerPressed_) {
    headerPressed_ = false;
    int column = header_.MouseUp(X, Y + StripHeight());
    if (column >= 0 && OnHeaderClick) OnHeaderClick(this, column, Button, Shift, X, Y);
    return;
  }
  if (pendingEditNode_ && pendingEditNode_ == FocusedNode()) {
    THitInfo hit = GetHitTestInfoAt(X, Y);
    if (hit.HitNode == pendingEditNode_ && (hit.HitPositions & hiOnItemLabel) && CanEdit(pendingEditNode_)) {
      IncludeState(tsEditPending);
      StartTimer(EditTimer, unsigned(EditDelay));
    }
  }
  pendingEditNode_ = nullptr;
  dragPending_ = false;
}

void TBaseDataTree::MouseMove(TShiftState Shift, int X, int Y) {
  if ((bandPending_ || BandRunning()) && (Shift & ssLeft)) {
    TPoint end{X - offsetX_, Y - offsetY_};
    if (!BandRunning()) {
      if (std::abs(end.X - bandStart_.X) < 4 && std::abs(end.Y - bandStart_.Y) < 4) return;
      bandPending_ = false;
      IncludeState(tsDrawSelecting);
      if (!bandToggles_) ClearSelection();
      SetFocusedColumnValue(header_.MainColumn());
    }
    if (HasOption(voAutoScroll)) DoAutoScroll({X, Y});
    // Each coordinate stays between 0 and the larger of the client size and the range.
    end.X = std::clamp(end.X, 0, std::max(ClientWidth(), RangeX()));
    end.Y = std::clamp(end.Y, 0, std::max(ClientHeight(), RangeY()));
    if (end == bandEnd_) return;
    TRect old = BandRect(bandStart_, bandEnd_);
    bandEnd_ = end;
    UpdateBandSelection(old, BandRect(bandStart_, bandEnd_));
    InvalidateClient();
    return;
  }
  if (dragPending_ && (Shift & ssLeft) && (std::abs(X - dragStart_.X) >= 4 || std::abs(Y - dragStart_.Y) >= 4)) {
    dragPending_ = false;
    pendingEditNode_ = nullptr;
    DoDragDrop();
    return;
  }
  if (Y < 0 || headerPressed_) {
    header_.MouseMove(X, Y + StripHeight());
    SetCursor(header_.Sizing() || (header_.Options() & hoColumnResize && header_.DividerAt(X) >= 0) ? crHSplit : crDefault);
  } else {
    if (Cursor() == crHSplit) SetCursor(crDefault);
    if (HasOption(voHotTrack)) UpdateHotNode(X, Y);
  }
  TScrollingControl::MouseMove(Shift, X, Y);
}

// --- rubber band ---

TRect TBaseDataTree::BandRect(TPoint A, TPoint B) const {
  return Rect(std::min(A.X, B.X), std::min(A.Y, B.Y), std::max(A.X, B.X), std::max(A.Y, B.Y));
}

TRect TBaseDataTree::BandClientRect() const {
  TRect r = BandRect(bandStart_, bandEnd_);
  return Rect(r.Left + offsetX_, r.Top + offsetY_, r.Right + offsetX_, r.Bottom + offsetY_);
}

void TBaseDataTree::UpdateBandSelection(const TRect& Old, const TRect& New) {
  int top = std::min(Old.Top, New.Top), bottom = std::max(Old.Bottom, New.Bottom);
  uint32_t nodeTop = 0;
  int mainRight = header_.UseColumns() ? header_.ColumnLeft(0) - offsetX_ + header_.Column(0)->Width() : INT32_MAX;
  std::vector<PDataNode> add;
  bool changed = false;
  BeginUpdate();
  for (PDataNode run = GetNodeAtY(top, &nodeTop); run && int64_t(nodeTop) < bottom; run = GetNextVisible(run)) {
    if (!run->Has(vsInitialized)) InitNode(run);
    // The node's content span, in content coordinates, without Margin.
    int left = ContentOffset(run, header_.MainColumn(), true) - margin_ + (header_.UseColumns() ? header_.ColumnLeft(0) - offsetX_ : 0);
    int right = std::min(left + GetNodeWidth(run, header_.MainColumn()), mainRight);
    int lineTop = int(nodeTop), lineBottom = int(nodeTop) + run->NodeHeight;
    auto inside = [&](const TRect& b) {
      return b.Top < lineBottom && b.Bottom > lineTop && b.Left < right && b.Right > left;
    };
    bool was = inside(Old), now = inside(New);
    if (was != now) {
      bool select = bandToggles_ ? !Selected(run) : now;
      if (select) add.push_back(run);
      else RemoveFromSelection(run);
      changed = true;
    }
    nodeTop += run->NodeHeight;
  }
  if (!add.empty()) InternalAddToSelection(std::move(add), false);
  EndUpdate();
  if (changed) InvalidateView();
}

void TBaseDataTree::EndBand() {
  bandPending_ = false;
  ExcludeState(tsDrawSelecting);
  StopTimer(ScrollTimer);
  ExcludeState(tsScrollPending | tsScrolling);
  InvalidateClient();
}

void TBaseDataTree::UpdateHotNode(int X, int Y) {
  THitInfo hit = GetHitTestInfoAt(X, Y);
  PDataNode hot = nullptr;
  if (hit.HitNode && ((hit.HitPositions & hiOnItemLabel) || HasOption(voFullRowSelect))) hot = hit.HitNode;
  SetHotNode(hot);
}

void TBaseDataTree::DblClick() {
  StopTimer(EditTimer);
  ExcludeState(tsEditPending);
  TScrollingControl::DblClick();
  THitInfo hit = GetHitTestInfoAt(lastPress_.X, lastPress_.Y);
  if (!hit.HitNode) return;
  if (hit.HitPositions & hiOnItemCheckbox) {
    CheckClick(hit.HitNode);
  } else if (hit.HitPositions & hiOnItemButton) {
    // The press of this double click toggled the node already.
  } else if (HasOption(voToggleOnDblClick) &&
             ((hit.HitPositions & (hiOnItemLabel | hiOnItemImage)) || HasOption(voFullRowSelect))) {
    ToggleNode(hit.HitNode);
  }
}

void TBaseDataTree::DoEnter() {
  TScrollingControl::DoEnter();
  InvalidateView();
}

void TBaseDataTree::DoExit() {
  TScrollingControl::DoExit();
  for (unsigned id : {ExpandTimer, EditTimer, ScrollTimer}) StopTimer(id);
  ExcludeState(tsEditPending | tsScrollPending | tsScrolling);
  InvalidateView();
}

// --- editing ---

bool TBaseDataTree::CanEdit(PDataNode Node) {
  bool allowed = HasOption(voEditable) && Enabled() && Node && !Node->Has(vsDisabled);
  if (OnEditing && Node) OnEditing(this, Node, editColumn_, allowed);
  return allowed;
}

std::unique_ptr<IDTEditLink> TBaseDataTree::CreateEditor(PDataNode Node, int Column) {
  std::unique_ptr<IDTEditLink> link;
  if (OnCreateEditor) {
    OnCreateEditor(this, Node, Column, link);
    if (!link) throw EDataTreeError("Edit link must not be nil.");
  }
  return link;
}

bool TBaseDataTree::EditNode(PDataNode Node, int Column) {
  SetFocusedNode(Node);
  editColumn_ = Column;
  PDataNode focused = FocusedNode();
  if (!focused || !CanEdit(focused)) return false;
  if (!focused->Has(vsInitialized)) InitNode(focused);
  StopTimer(ScrollTimer);
  StopTimer(EditTimer);
  ExcludeState(tsEditPending);
  std::unique_ptr<IDTEditLink> link = CreateEditor(focused, Column);
  if (!link) return false;
  ScrollIntoView(focused, true);
  if (!link->PrepareEdit(this, focused, Column)) return false;
  retiredLink_.reset();
  editLink_ = std::move(link);
  editNode_ = focused;
  editLink_->SetBounds(GetDisplayRect(focused, Column, true));
  InvalidateNode(focused);
  if (editLink_->BeginEdit()) IncludeState(tsEditing);
  return IsEditing();
}

bool TBaseDataTree::EndEditNode() {
  if (!IsEditing() || !editLink_) return false;
  ExcludeState(tsEditing);
  if (!editLink_->EndEdit()) {
    IncludeState(tsEditing);
    return false;
  }
  PDataNode node = editNode_;
  // The link is released later: its editor may be the one whose key ended the edit.
  retiredLink_ = std::move(editLink_);
  editNode_ = nullptr;
  InvalidateView();
  if (OnEdited && node) OnEdited(this, node, editColumn_);
  ExcludeState(tsEditPending);
  return true;
}

void TBaseDataTree::CancelEditNode() {
  if (!IsEditing() || !editLink_) return;
  ExcludeState(tsEditing | tsEditPending);
  editLink_->CancelEdit();
  retiredLink_ = std::move(editLink_);
  editNode_ = nullptr;
  InvalidateView();
  if (CanFocus() && Showing()) SetFocus();
  if (OnEditCancelled) OnEditCancelled(this, editColumn_);
}
