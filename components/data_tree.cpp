#include "components/data_tree.h"

#include <algorithm>

#include "components/data_tree_geometry.h"
#include "platform/gui/application.h"
#include "platform/gui/canvas_clip.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/image_list.h"
#include "platform/gui/timer.h"
#include "platform/gui/wide_text.h"

namespace {

constexpr int kButtonSize = 9;

}  // namespace

TBaseDataTree::TBaseDataTree(TComponent* owner)
    : TScrollingControl(owner), background_(std::make_unique<TPicture>()), treeId_(0) {
  background_->OnChange = [this](TObject*) { InvalidateView(); };
  SetBounds(0, 0, 200, 100);
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
  RegisterTree();
  clipboardListener_ = Clipboard()->AddChangeListener([this] { ClipboardChanged(); });
}

TBaseDataTree::~TBaseDataTree() {
  IncludeState(tsDestroying);
  Clipboard()->RemoveChangeListener(clipboardListener_);
  if (ClipboardHoldsOurData()) Clipboard()->Clear();
  UnregisterTree();
  editLink_.reset();
  retiredLink_.reset();
  for (auto& [id, timer] : timers_) delete timer;
  timers_.clear();
}

// --- properties ---

void TBaseDataTree::SetIndent(int Value) {
  if (Value < 0 || Value == indent_) return;
  indent_ = Value;
  UpdateScrollBars(true);
  InvalidateView();
}

void TBaseDataTree::SetMargin(int Value) {
  if (Value < 0 || Value == margin_) return;
  margin_ = Value;
  InvalidateView();
}

void TBaseDataTree::SetOptions(TDataTreeOptions Value) {
  bool extendedOff = (Options() & voExtendedFocus) && !(Value & voExtendedFocus);
  bool dropChanged = (Options() ^ Value) & voAcceptOLEDrop;
  TDataTreeModel::SetOptions(Value);
  if (dropChanged && ExistingWidget()) RegisterDataDropTarget(*this, HasOption(voAcceptOLEDrop) ? this : nullptr);
  if (extendedOff && FocusedColumn() > 0) SetFocusedColumnValue(header_.MainColumn());
}

bool TBaseDataTree::TreeFocused() const { return Focused() || HasState(tsEditing); }

int TBaseDataTree::ImageIndex(PDataNode Node, TDTImageKind Kind, int Column) {
  int index = -1;
  if (OnGetImageIndex) OnGetImageIndex(this, Node, Kind, Column, index);
  return index;
}

// --- geometry ---

int TBaseDataTree::GetNodeWidth(PDataNode, int) { return 0; }

int TBaseDataTree::ContentOffset(PDataNode Node, int Column, bool WithImages) {
  int x = margin_;
  if (Column == header_.MainColumn() || Column < 0) {
    x += int(GetNodeLevel(Node) + (HasOption(voShowRoot) ? 1 : 0)) * indent_;
    if (HasOption(voCheckSupport) && Node->CheckType != ctNone) x += CheckImageSize + 2;
  }
  if (WithImages) {
    if (stateImages_ && ImageIndex(Node, ikState, Column) >= 0) x += stateImages_->Width() + 2;
    if (images_ && ImageIndex(Node, Selected(Node) ? ikSelected : ikNormal, Column) >= 0) x += images_->Width() + 2;
  }
  return x;
}

PDataNode TBaseDataTree::GetNodeAt(int, int Y) {
  if (Y < 0 || Y >= ClientHeight()) return nullptr;
  return GetNodeAtY(int64_t(Y) - offsetY_);
}

THitInfo TBaseDataTree::GetHitTestInfoAt(int X, int Y) {
  THitInfo hit;
  if (X < 0) hit.HitPositions |= hiToLeft;
  if (X >= ClientWidth()) hit.HitPositions |= hiToRight;
  if (Y < 0) hit.HitPositions |= hiAbove;
  if (Y >= ClientHeight()) hit.HitPositions |= hiBelow;
  if (hit.HitPositions) return hit;
  hit.HitNode = GetNodeAtY(int64_t(Y) - offsetY_);
  if (!hit.HitNode) {
    hit.HitPositions = hiNowhere;
    return hit;
  }
  PDataNode node = hit.HitNode;
  if (!node->Has(vsInitialized)) InitNode(node);
  hit.HitColumn = header_.UseColumns() ? header_.ColumnAt(X) : -1;
  if (hit.HitColumn > 0 && HasOption(voExtendedFocus) && HasOption(voAutoSpanColumns))
    for (int prev; ColumnIsEmpty(node, hit.HitColumn) && (prev = header_.PreviousVisible(hit.HitColumn)) >= 0;)
      hit.HitColumn = prev;
  int cellLeft = hit.HitColumn >= 0 ? header_.ColumnLeft(hit.HitColumn) : offsetX_;
  int d = X - cellLeft;
  bool main = hit.HitColumn == header_.MainColumn();
  if (main) {
    int edge = margin_ + int(GetNodeLevel(node) + (HasOption(voShowRoot) ? 1 : 0)) * indent_;
    if (d < edge) {
      hit.HitPositions = HasOption(voShowButtons) && d >= edge - indent_ ? hiOnItemButton : hiOnItemIndent;
      return hit;
    }
    d -= edge;
    if (HasOption(voCheckSupport) && node->CheckType != ctNone) {
      if (d < CheckImageSize + 2) {
        hit.HitPositions = hiOnItem | hiOnItemCheckbox;
        return hit;
      }
      d -= CheckImageSize + 2;
    }
  } else {
    d -= margin_;
  }
  int images = 0;
  if (stateImages_ && ImageIndex(node, ikState, hit.HitColumn) >= 0) images += stateImages_->Width() + 2;
  if (images_ && ImageIndex(node, Selected(node) ? ikSelected : ikNormal, hit.HitColumn) >= 0) images += images_->Width() + 2;
  if (d >= 0 && d < images) {
    hit.HitPositions = hiOnItem | hiOnItemImage;
    return hit;
  }
  d -= images;
  hit.HitPositions = d >= GetNodeWidth(node, hit.HitColumn) ? hiOnItemRight : hiOnItem | hiOnItemLabel;
  return hit;
}

TRect TBaseDataTree::GetDisplayRect(PDataNode Node, int Column, bool TextOnly) {
  if (!Node || Node == RootNode() || Column == -2 || !IsVisible(Node)) return {};
  int top = int(GetNodeTop(Node)) + offsetY_;
  TRect r = Rect(offsetX_, top, offsetX_ + std::max(ClientWidth(), header_.UseColumns() ? header_.TotalWidth() : 0),
                 top + Node->NodeHeight);
  if (Column >= 0 && header_.UseColumns()) {
    r.Left = header_.ColumnLeft(Column);
    r.Right = r.Left + header_.Column(Column)->Width();
  }
  if (TextOnly) {
    if (!Node->Has(vsInitialized)) InitNode(Node);
    r.Left += ContentOffset(Node, Column, true);
    r.Right = std::min(r.Right, r.Left + GetNodeWidth(Node, Column));
  }
  return r;
}

// --- scrolling ---

int TBaseDataTree::RangeY() {
  PDataNode root = RootNode();
  int64_t total = std::max<int64_t>(root->TotalHeight, DefaultNodeHeight());
  return int(std::min<int64_t>(total - root->NodeHeight, INT32_MAX));
}

int TBaseDataTree::RangeX() {
  if (header_.UseColumns()) return header_.TotalWidth();
  int widest = 0;
  int height = 0;
  uint32_t top = 0;
  for (PDataNode run = GetNodeAtY(-int64_t(offsetY_), &top); run && height <= Height(); run = GetNextVisible(run)) {
    // Nodes not yet initialised are measured once painting has initialised them.
    if (run->Has(vsInitialized)) widest = std::max(widest, ContentOffset(run, -1, true) + GetNodeWidth(run, -1));
    height += run->NodeHeight;
  }
  return widest;
}

void TBaseDataTree::SetOffsetY(int Value) {
  // Clamped so that 0 wins when everything fits.
  Value = std::min(std::max(Value, ClientHeight() - RangeY()), 0);
  if (Value == offsetY_) return;
  offsetY_ = Value;
  InvalidateClient();
  if (!HasState(tsSizing) && !HasState(tsThumbTracking)) {
    UpdateVerticalScrollBar(true);
    if (!header_.UseColumns()) UpdateHorizontalScrollBar(true);
  }
}

void TBaseDataTree::SetOffsetX(int Value) {
  Value = std::min(std::max(Value, ClientWidth() - RangeX()), 0);
  if (Value == offsetX_) return;
  offsetX_ = Value;
  InvalidateClient();
  if (!HasState(tsSizing)) UpdateHorizontalScrollBar(true);
  if (header_.Options() & hoVisible) InvalidateStrip();
}

void TBaseDataTree::UpdateVerticalScrollBar(bool) {
  int range = RangeY();
  bool bar = (ScrollBars == ssVertical || ScrollBars == ssBoth) && range > ClientHeight();
  if (bar) SetScrollInfo(true, range, ClientHeight() + 1, -offsetY_, ScrollBarsAlwaysVisible);
  else SetScrollInfo(true, 0, 0, 0, ScrollBarsAlwaysVisible && ScrollBars != ssNone && ScrollBars != ssHorizontal);
  // The offset keeps in step with the range (also without a bar: keys still scroll).
  SetOffsetY(offsetY_);
}

void TBaseDataTree::UpdateHorizontalScrollBar(bool) {
  int range = RangeX();
  bool bar = (ScrollBars == ssHorizontal || ScrollBars == ssBoth) && range > ClientWidth();
  if (bar) SetScrollInfo(false, range, std::max(ClientWidth(), 0), -offsetX_, ScrollBarsAlwaysVisible);
  else SetScrollInfo(false, 0, 0, 0, ScrollBarsAlwaysVisible && ScrollBars != ssNone && ScrollBars != ssVertical);
  SetOffsetX(offsetX_);
}

void TBaseDataTree::UpdateScrollBars(bool Repaint) {
  if (UpdateCount() > 0) return;
  UpdateVerticalScrollBar(Repaint);
  UpdateHorizontalScrollBar(Repaint);
}

void TBaseDataTree::ScrollRequest(bool Vertical, int Code, int Position) {
  if (Vertical) {
    switch (Code) {
      case SB_LINEUP: SetOffsetY(offsetY_ + DefaultNodeHeight()); break;
      case SB_LINEDOWN: SetOffsetY(offsetY_ - DefaultNodeHeight()); break;
      case SB_PAGEUP: SetOffsetY(offsetY_ + ClientHeight()); break;
      case SB_PAGEDOWN: SetOffsetY(offsetY_ - ClientHeight()); break;
      case SB_THUMBPOSITION:
      case SB_THUMBTRACK:
        IncludeState(tsThumbTracking);
        SetOffsetY(-Position);
        break;
      case SB_TOP: SetOffsetY(0); break;
      case SB_BOTTOM: SetOffsetY(-int(std::min<uint32_t>(RootNode()->TotalHeight, INT32_MAX))); break;
      case SB_ENDSCROLL:
        ExcludeState(tsThumbTracking);
        UpdateScrollBars(true);
        InvalidateView();
        break;
      default: break;
    }
  } else {
    switch (Code) {
      case SB_LINELEFT: SetOffsetX(offsetX_ + indent_); break;
      case SB_LINERIGHT: SetOffsetX(offsetX_ - indent_); break;
      case SB_PAGELEFT: SetOffsetX(offsetX_ + ClientWidth()); break;
      case SB_PAGERIGHT: SetOffsetX(offsetX_ - ClientWidth()); break;
      case SB_THUMBPOSITION:
      case SB_THUMBTRACK:
        IncludeState(tsThumbTracking);
        SetOffsetX(-Position);
        break;
      case SB_LEFT: SetOffsetX(0); break;
      case SB_RIGHT: SetOffsetX(-RangeX()); break;
      case SB_ENDSCROLL:
        ExcludeState(tsThumbTracking);
        UpdateHorizontalScrollBar(false);
        break;
      default: break;
    }
  }
  if (Code == SB_THUMBPOSITION) ExcludeState(tsThumbTracking);
}

bool TBaseDataTree::ScrollIntoView(PDataNode Node, bool Horizontally) {
  if (!Node || Node == RootNode()) return false;
  for (PDataNode run = Node->Parent; run && run != RootNode(); run = run->Parent)
    if (!run->Has(vsExpanded)) ToggleNode(run);
  int oldX = offsetX_, oldY = offsetY_;
  TRect r = GetDisplayRect(Node, header_.UseColumns() ? FocusedColumn() : -1, false);
  if (r.Top < 0) SetOffsetY(offsetY_ - r.Top);
  else if (r.Bottom > ClientHeight()) SetOffsetY(offsetY_ - (r.Bottom - ClientHeight()));
  if (Horizontally) {
    TRect t = GetDisplayRect(Node, header_.UseColumns() ? FocusedColumn() : -1, true);
    if (t.Left < 0) SetOffsetX(offsetX_ - t.Left);
    else if (t.Right > ClientWidth()) SetOffsetX(offsetX_ - std::min(t.Right - ClientWidth(), t.Left));
  }
  return oldX != offsetX_ || oldY != offsetY_;
}

unsigned TBaseDataTree::AutoScrollDirections(TPoint P) {
  unsigned d = 0;
  int half = DefaultNodeHeight() / 2;
  if (P.X < half && offsetX_ != 0) d |= 1;
  if (ClientWidth() - offsetX_ < RangeX() && P.X > ClientWidth() - half) d |= 4;
  if (P.Y < half && offsetY_ != 0) d |= 2;
  if (ClientHeight() - offsetY_ < RangeY() && P.Y > ClientHeight() - half) d |= 8;
  return d;
}

void TBaseDataTree::DoAutoScroll(TPoint P) {
  autoScrollPoint_ = P;
  if (!HasOption(voAutoScroll) || AutoScrollDirections(P) == 0) {
    StopTimer(ScrollTimer);
    ExcludeState(tsScrollPending | tsScrolling);
    return;
  }
  if (!HasState(tsScrollPending | tsScrolling)) {
    IncludeState(tsScrollPending);
    StartTimer(ScrollTimer, unsigned(std::max(AutoScrollDelay, 1)));
  }
}

void TBaseDataTree::Resize() {
  TScrollingControl::Resize();
  if (HasState(tsSizing)) return;
  IncludeState(tsSizing);
  header_.AutoFit();
  UpdateScrollBars(true);
  ExcludeState(tsSizing);
}

bool TBaseDataTree::DoMouseWheel(TShiftState Shift, int Delta, TPoint MousePos) {
  if (TScrollingControl::DoMouseWheel(Shift, Delta, MousePos)) return true;
  if (Shift & (ssShift | ssCtrl | ssAlt)) return false;
  // Small deltas (touchpads) add up to whole notches.
  wheelRest_ += Delta;
  int notches = wheelRest_ / 120;
  wheelRest_ %= 120;
  if (notches == 0) return true;
  if (ClientHeight() >= RangeY()) SetOffsetX(offsetX_ + notches * indent_);
  else SetOffsetY(offsetY_ + notches * DefaultNodeHeight());
  return true;
}

// --- view hooks ---

void TBaseDataTree::InitWidget() {
  TScrollingControl::InitWidget();
  SetStripHeight((header_.Options() & hoVisible) ? header_.Height() : 0);
  if (HasOption(voAcceptOLEDrop)) RegisterDataDropTarget(*this, this);
  UpdateScrollBars(false);
}

void TBaseDataTree::InvalidateNode(PDataNode) { InvalidateClient(); }
void TBaseDataTree::InvalidateToBottom(PDataNode) { InvalidateClient(); }
void TBaseDataTree::InvalidateView() {
  if (UpdateCount() == 0) InvalidateClient();
}

void TBaseDataTree::StartTimer(unsigned Id, unsigned Ms) {
  TTimer*& timer = timers_[Id];
  if (!timer) {
    timer = new TTimer(nullptr);
    timer->OnTimer = [this, Id](TObject*) { TimerExpired(Id); };
  }
  timer->SetEnabled(false);
  timer->SetInterval(std::max(1u, Ms));
  timer->SetEnabled(true);
}

void TBaseDataTree::StopTimer(unsigned Id) {
  auto at = timers_.find(Id);
  if (at != timers_.end() && at->second) at->second->SetEnabled(false);
}

void TBaseDataTree::TimerExpired(unsigned Id) {
  if (Id == EditTimer) {
    StopTimer(EditTimer);
    if (HasState(tsEditPending) && FocusedNode()) EditNode(FocusedNode(), FocusedColumn());
    ExcludeState(tsEditPending);
    return;
  }
  if (Id == ScrollTimer) {
    // One step in every direction that can still go; after the first, every AutoScrollInterval.
    unsigned dirs = AutoScrollDirections(autoScrollPoint_);
    if (dirs == 0) {
      StopTimer(ScrollTimer);
      ExcludeState(tsScrollPending | tsScrolling);
      return;
    }
    int stepY = std::min(DefaultNodeHeight(), std::max(ClientHeight(), 1));
    if (dirs & 2) SetOffsetY(offsetY_ + stepY);
    if (dirs & 8) SetOffsetY(offsetY_ - stepY);
    if (dirs & 1) SetOffsetX(offsetX_ + 8);
    if (dirs & 4) SetOffsetX(offsetX_ - 8);
    if (BandRunning()) {
      TRect old = BandRect(bandStart_, bandEnd_);
      bandEnd_ = {autoScrollPoint_.X - offsetX_, autoScrollPoint_.Y - offsetY_};
      UpdateBandSelection(old, BandRect(bandStart_, bandEnd_));
    }
    if (!HasState(tsScrolling)) {
      ExcludeState(tsScrollPending);
      IncludeState(tsScrolling);
      StartTimer(ScrollTimer, unsigned(std::max(AutoScrollInterval, 1)));
    }
    return;
  }
  if (Id == ExpandTimer) {
    StopTimer(ExpandTimer);
    if (DropTarget() && !DropTarget()->Has(vsExpanded)) ToggleNode(DropTarget());
    return;
  }
  TDataTreeModel::TimerExpired(Id);
}

void TBaseDataTree::SetRedraw(bool On) {
  if (ExistingWidget()) Perform(WM_SETREDRAW, On ? 1 : 0);
}

void TBaseDataTree::EndEditForFocusChange() { EndEditNode(); }

void TBaseDataTree::NodeFreeing(PDataNode Node) {
  TDataTreeModel::NodeFreeing(Node);
  if (editNode_ == Node) {
    if (editLink_) editLink_->CancelEdit();
    retiredLink_ = std::move(editLink_);
    editNode_ = nullptr;
    ExcludeState(tsEditing | tsEditPending);
  }
  if (pendingEditNode_ == Node) pendingEditNode_ = nullptr;
  dragSet_.erase(std::remove(dragSet_.begin(), dragSet_.end(), Node), dragSet_.end());
}

void TBaseDataTree::FontChanged() {
  TScrollingControl::FontChanged();
  InvalidateView();
}

// --- header ---

void TBaseDataTree::HeaderColumnResized(int Column) {
  if (OnColumnResize) OnColumnResize(this, Column);
}

void TBaseDataTree::HeaderChanged() {
  SetStripHeight((header_.Options() & hoVisible) ? header_.Height() : 0);
  InvalidateStrip();
  InvalidateView();
  if (UpdateCount() == 0 && !HasState(tsSizing)) UpdateHorizontalScrollBar(true);
}

int TBaseDataTree::HeaderEllipsisWidth(TCanvas& Canvas) { return 3 * WideTextWidth(Canvas, u"."); }

bool TBaseDataTree::HeaderOwnerDraw(TCanvas& Canvas, TDataTreeColumn& Column, const TRect& R, bool Hover, bool Pressed) {
  if (!OnDrawHeader) return false;
  OnDrawHeader(&header_, Canvas, Column, R, Hover, Pressed);
  return true;
}

void TBaseDataTree::PaintStrip(TCanvas& Canvas, const TRect& R) {
  Canvas.Font()->Assign(*Font());
  header_.Paint(Canvas, R);
}

// --- painting ---

void TBaseDataTree::Paint() {
  TCanvas& canvas = *Canvas();
  if (OnBeforePaint) OnBeforePaint(this, canvas);
  PaintTree(canvas, canvas.ClipRect(), true, false, false);
  if (BandRunning()) {
    canvas.Font()->SetColor(clWhite);
    canvas.Brush()->SetColor(clBlack);
    canvas.DrawFocusRect(BandClientRect());
  }
  if (OnAfterPaint) OnAfterPaint(this, canvas);
}

void TBaseDataTree::PaintTree(TCanvas& Canvas, const TRect& Window, bool GridLines, bool MainColumnOnly, bool SelectedOnly) {
  Canvas.Font()->Assign(*Font());
  uint32_t top = 0;
  PDataNode node = GetNodeAtY(int64_t(Window.Top) - offsetY_, &top);
  int y = int(top) + offsetY_;
  while (node && y < Window.Bottom) {
    if (!node->Has(vsInitialized)) InitNode(node);
    bool paint = !SelectedOnly;
    for (PDataNode run = node; !paint && run && run != RootNode(); run = run->Parent) paint = run->Has(vsSelected);
    if (paint) PaintNodeLine(Canvas, node, y, Window, GridLines, MainColumnOnly);
    y += node->NodeHeight;
    node = GetNextVisible(node);
  }
  if (y < Window.Bottom && !SelectedOnly) EraseBackground(Canvas, Rect(Window.Left, std::max(y, Window.Top), Window.Right, Window.Bottom));
}

void TBaseDataTree::MakeDragImage(TBitmap& Image) {
  int width = header_.UseColumns() ? ClientWidth() : std::min(ClientWidth(), RangeX() + offsetX_);
  Image.SetSize(std::max(width, 1), std::max(ClientHeight(), 1));
  TCanvas& canvas = *Image.Canvas();
  canvas.Brush()->SetColor(Color());
  canvas.FillRect(Rect(0, 0, Image.Width(), Image.Height()));
  PaintTree(canvas, Rect(0, 0, Image.Width(), Image.Height()), false, DragImageKind == diMainColumnOnly, true);
  canvas.Release();
  Image.SetTransparent(true);
  Image.SetTransparentColor(ColorToRGB(Color()));
}

void TBaseDataTree::EraseBackground(TCanvas& Canvas, const TRect& R) {
  TBitmap* picture = background_->Bitmap();
  if (!HasOption(voShowBackground) || picture->Empty()) {
    Canvas.Brush()->SetColor(Color());
    Canvas.FillRect(R);
    return;
  }
  // Tiles continue the content's pattern, so that they move with scrolling.
  int w = picture->Width(), h = picture->Height();
  int startX = TileOrigin(R.Left - offsetX_, w), startY = TileOrigin(R.Top - offsetY_, h);
  TCanvasClip clip(Canvas, R);
  for (int y = R.Top - startY; y < R.Bottom; y += h)
    for (int x = R.Left - startX; x < R.Right; x += w) Canvas.Draw(x, y, *picture);
}

void TBaseDataTree::PaintButton(TCanvas& Canvas, int X, int Y, bool Expanded) {
  Canvas.Brush()->SetColor(Color());
  Canvas.Pen()->SetColor(TreeLineColor);
  Canvas.Pen()->SetStyle(psSolid);
  Canvas.Rectangle(X, Y, X + kButtonSize, Y + kButtonSize);
  Canvas.Pen()->SetColor(Font()->Color());
  int mid = kButtonSize / 2;
  Canvas.MoveTo(X + 2, Y + mid);
  Canvas.LineTo(X + kButtonSize - 2, Y + mid);
  if (!Expanded) {
    Canvas.MoveTo(X + mid, Y + 2);
    Canvas.LineTo(X + mid, Y + kButtonSize - 2);
  }
}

void TBaseDataTree::PaintCheckImage(TCanvas& Canvas, int X, int Y, PDataNode Node) {
  bool dim = Node->Has(vsDisabled) || Node == checkNode_ || !Enabled();
  int index = CheckImageIndex(Node->CheckType, Node->CheckState, dim, Enabled(), !Node->Has(vsDisabled));
  if (index < 0) return;
  bool dark = CheckImageKind == ckDarkCheck || CheckImageKind == ckDarkTick;
  TColor face = index == 3 || index == 4 || index == 7 || index == 8 || index == 11 ? clBtnFace : (dark ? clSilver : clWindow);
  TRect box = Rect(X + 2, Y + 2, X + 15, Y + 15);
  Canvas.Pen()->SetStyle(psSolid);
  Canvas.Pen()->SetColor(clBtnShadow);
  Canvas.Brush()->SetColor(face);
  if (index >= 5 && index <= 8) {
    Canvas.Ellipse(box);
    if (index == 6 || index == 8) {
      Canvas.Brush()->SetColor(clWindowText);
      Canvas.Ellipse(Rect(X + 6, Y + 6, X + 11, Y + 11));
    }
    return;
  }
  if (index >= 9) {
    TRect b = box;
    Canvas.FillRect(b);
    if (index == 10) Frame3D(Canvas, b, clBtnShadow, clBtnHighlight, 1);
    else Frame3D(Canvas, b, clBtnHighlight, clBtnShadow, 1);
    return;
  }
  Canvas.Rectangle(box);
  bool checked = index == 2 || (index == 4 && Node->CheckState == csCheckedNormal);
  bool mixed = Node->CheckState == csMixedNormal && Node->CheckType == ctTriStateCheckBox;
  Canvas.Pen()->SetColor(clWindowText);
  if (mixed) {
    Canvas.Brush()->SetColor(clGrayText);
    Canvas.FillRect(Rect(X + 5, Y + 5, X + 12, Y + 12));
  } else if (checked) {
    bool tick = CheckImageKind == ckLightTick || CheckImageKind == ckDarkTick;
    if (tick) {
      Canvas.Polyline({{X + 4, Y + 8}, {X + 7, Y + 11}, {X + 12, Y + 5}});
    } else {
      Canvas.MoveTo(X + 5, Y + 5);
      Canvas.LineTo(X + 12, Y + 12);
      Canvas.MoveTo(X + 11, Y + 5);
      Canvas.LineTo(X + 4, Y + 12);
    }
  }
}

void TBaseDataTree::PaintNodeLine(TCanvas& Canvas, PDataNode Node, int Top, const TRect& Clip, bool GridLines,
                                  bool MainColumnOnly) {
  int h = Node->NodeHeight;
  bool useColumns = header_.UseColumns();
  int fullRight = std::max(Clip.Right, offsetX_ + (useColumns ? header_.TotalWidth() : RangeX()));
  TRect item = Rect(std::min(Clip.Left, offsetX_), Top, fullRight, Top + h);
  bool custom = false;
  if (OnBeforeItemPaint) OnBeforeItemPaint(this, Canvas, Node, item, custom);
  if (!custom) {
    TColor color = Color();
    TItemEraseAction action = eaDefault;
    if (OnBeforeItemErase) OnBeforeItemErase(this, Canvas, Node, item, color, action);
    if (action == eaDefault) {
      if (HasOption(voFullRowSelect) && Selected(Node)) {
        Canvas.Brush()->SetColor(TreeFocused() ? clHighlight : clBtnFace);
        Canvas.FillRect(item);
      } else {
        EraseBackground(Canvas, item);
      }
    } else if (action == eaColor) {
      Canvas.Brush()->SetColor(color);
      Canvas.FillRect(item);
    }
    if (OnAfterItemErase) OnAfterItemErase(this, Canvas, Node, item);

    struct Cell { int Column; TRect R; bool Last; };
    std::vector<Cell> cells;
    if (useColumns) {
      const std::vector<int>& positions = header_.Positions();
      int lastVisible = -1;
      for (int i : positions)
        if (header_.Column(i)->Visible()) lastVisible = i;
      for (int i : positions) {
        TDataTreeColumn* c = header_.Column(i);
        if (!c->Visible() || (MainColumnOnly && i != header_.MainColumn())) continue;
        int left = header_.ColumnLeft(i);
        if (left >= Clip.Right) break;
        cells.push_back({i, Rect(left, Top, left + c->Width(), Top + h), i == lastVisible});
      }
      // A text runs on over the empty visible columns that follow it.
      if (HasOption(voAutoSpanColumns) && !MainColumnOnly) {
        for (size_t k = 0; k < cells.size(); ++k) {
          if (ColumnIsEmpty(Node, cells[k].Column)) continue;
          while (k + 1 < cells.size() && ColumnIsEmpty(Node, cells[k + 1].Column)) {
            cells[k].R.Right = cells[k + 1].R.Right;
            cells[k].Last = cells[k + 1].Last;
            cells.erase(cells.begin() + std::ptrdiff_t(k) + 1);
          }
        }
      }
    } else {
      cells.push_back({-1, Rect(offsetX_, Top, fullRight, Top + h), true});
    }
    int imageHeight = images_ ? images_->Height() : stateImages_ ? stateImages_->Height() : 0;
    int vpos = NodeVerticalPosition(h, Node->Align, imageHeight, HasOption(voShowButtons) ? kButtonSize : 0);
    for (Cell& cell : cells) {
      if (cell.R.Right <= Clip.Left) continue;
      if (OnBeforeCellPaint) OnBeforeCellPaint(this, Canvas, Node, cell.Column, cell.R);
      Canvas.Pen()->SetStyle(psDot);
      Canvas.Pen()->SetColor(GridLineColor);
      if (GridLines && HasOption(voShowHorzGridLines)) {
        Canvas.MoveTo(cell.R.Left, cell.R.Bottom - 1);
        Canvas.LineTo(cell.R.Right, cell.R.Bottom - 1);
        --cell.R.Bottom;
      }
      if (GridLines && HasOption(voShowVertGridLines) && !(cell.Last && (header_.Options() & hoAutoResize))) {
        Canvas.MoveTo(cell.R.Right - 1, cell.R.Top);
        Canvas.LineTo(cell.R.Right - 1, cell.R.Bottom);
        --cell.R.Right;
      }
      TCanvasClip clip(Canvas, cell.R);
      int x = cell.R.Left + margin_;
      if (cell.Column == header_.MainColumn()) {
        int level = int(GetNodeLevel(Node)) + (HasOption(voShowRoot) ? 1 : 0);
        if (HasOption(voShowTreeLines)) {
          std::vector<int> types = LineTypes(Node, RootNode(), HasOption(voShowRoot));
          Canvas.Pen()->SetStyle(psDot);
          Canvas.Pen()->SetColor(TreeLineColor);
          for (size_t l = 0; l < types.size(); ++l)
            for (const TLineSegment& s : TreeLineSegments(types[l], x + int(l) * indent_, indent_, Top, h, Top + vpos)) {
              Canvas.MoveTo(s.A.X, s.A.Y);
              Canvas.LineTo(s.B.X, s.B.Y);
            }
        }
        Canvas.Pen()->SetStyle(psSolid);
        if (HasOption(voShowButtons) && Node->Has(vsHasChildren) && level > 0)
          PaintButton(Canvas, x + ButtonOffset(indent_, kButtonSize) + (level - 1) * indent_, Top + vpos - kButtonSize / 2,
                      Node->Has(vsExpanded));
        x += level * indent_;
        if (HasOption(voCheckSupport) && Node->CheckType != ctNone) {
          PaintCheckImage(Canvas, x - 1, Top + vpos - CheckImageSize / 2, Node);
          x += CheckImageSize + 2;
        }
      }
      bool disabled = Node->Has(vsDisabled) || !Enabled();
      if (stateImages_) {
        int index = ImageIndex(Node, ikState, cell.Column);
        if (index >= 0) {
          stateImages_->Draw(&Canvas, x, Top + vpos - stateImages_->Height() / 2, index, !disabled);
          x += stateImages_->Width() + 2;
        }
      }
      if (images_) {
        int index = ImageIndex(Node, Selected(Node) ? ikSelected : ikNormal, cell.Column);
        if (index >= 0) {
          int iy = Top + vpos - images_->Height() / 2;
          images_->Draw(&Canvas, x, iy, index, !disabled);
          int overlay = ImageIndex(Node, ikOverlay, cell.Column);
          if (overlay >= 0) images_->Draw(&Canvas, x, iy, overlay, !disabled);
          if (HasState(tsCutPending) && Node->Has(vsCutOrCopy)) {
            // Blended 25 % towards the highlight colour while a cut is pending.
            Canvas.Brush()->SetStyle(bsDiagCross);
            Canvas.Brush()->SetColor(clHighlight);
            Canvas.FillRect(Rect(x, iy, x + images_->Width(), iy + images_->Height()));
            Canvas.Brush()->SetStyle(bsSolid);
          }
          x += images_->Width() + 2;
        }
      }
      TRect content = Rect(x, Top, x + GetNodeWidth(Node, cell.Column), Top + h);
      if (useColumns) content.Right = std::min(content.Right, cell.R.Right);
      if (!(HasState(tsEditing) && Node == editNode_ && cell.Column == editColumn_))
        DoPaintNode(Canvas, Node, cell.Column, cell.R, content);
      if (OnAfterCellPaint) OnAfterCellPaint(this, Canvas, Node, cell.Column, cell.R);
    }
  }
  if (OnAfterItemPaint) OnAfterItemPaint(this, Canvas, Node, item);
  if (Node == DropTarget() && (dropMode_ == dmAbove || dropMode_ == dmBelow)) {
    Canvas.Brush()->SetColor(DropMarkColor);
    Canvas.Pen()->SetStyle(psClear);
    Canvas.Polygon(DropMarkPolygon(item, dropMode_ == dmAbove));
    Canvas.Pen()->SetStyle(psSolid);
  }
}

// --- hints ---

bool TBaseDataTree::HintRequest(TPoint P, std::u16string& Text, TRect& R) {
  Text = HintAt(P, R);
  return !Text.empty();
}

std::u16string TBaseDataTree::HintAt(TPoint P, TRect& HintRect) {
  HintRect = {};
  if (!ShowHint() || HasState(tsEditing | tsEditPending | tsOLEDragging | tsDrawSelecting) || header_.Sizing()) return {};
  if (P.Y < 0) {
    // Over the header: the column's hint, shown below the strip.
    int column = (header_.Options() & hoShowHint) ? header_.ColumnAt(P.X) : -1;
    if (column < 0 || header_.Column(column)->Hint.empty()) return {};
    const std::u16string& hint = header_.Column(column)->Hint;
    HintRect = Rect(P.X, 0, P.X + WideTextWidth(*Canvas(), hint) + 8, FontLineHeight(*Canvas()) + 4);
    return hint;
  }
  if (HintMode == hmDefault) return {};
  THitInfo hit = GetHitTestInfoAt(P.X, P.Y);
  if (!hit.HitNode) return {};
  std::u16string text = NodeHintText(hit.HitNode, hit.HitColumn);
  if (text.empty()) return {};
  if (HintMode == hmTooltip) {
    TRect r = GetDisplayRect(hit.HitNode, hit.HitColumn, true);
    int visibleRight = hit.HitColumn >= 0 ? std::min(ClientWidth(), header_.ColumnLeft(hit.HitColumn) +
                                                                          header_.Column(hit.HitColumn)->Width())
                                          : ClientWidth();
    int fullRight = r.Left + GetNodeWidth(hit.HitNode, hit.HitColumn) + margin_;
    if (fullRight <= visibleRight) return {};
    HintRect = Rect(r.Left, r.Top, r.Left + WideTextWidth(*Canvas(), text) + 8, r.Top + hit.HitNode->NodeHeight + 2);
  } else {
    TRect line = GetDisplayRect(hit.HitNode, -1, false);
    HintRect = Rect(P.X, line.Bottom, P.X + WideTextWidth(*Canvas(), text) + 8, line.Bottom + hit.HitNode->NodeHeight + 2);
  }
  return text;
}

// --- registry of live trees (the reference clipboard format names a tree by id) ---

namespace {
std::map<uint64_t, TBaseDataTree*>& LiveTrees() {
  static std::map<uint64_t, TBaseDataTree*> trees;
  return trees;
}
uint64_t gNextTreeId = 1;
}  // namespace

void TBaseDataTree::RegisterTree() {
  treeId_ = gNextTreeId++;
  LiveTrees()[treeId_] = this;
}

void TBaseDataTree::UnregisterTree() { LiveTrees().erase(treeId_); }

TBaseDataTree* TBaseDataTree::TreeFromId(uint64_t Id) {
  auto at = LiveTrees().find(Id);
  return at == LiveTrees().end() ? nullptr : at->second;
}

QM_CLASS_INFO(TBaseDataTree, TScrollingControl, [](TClassBuilder<TBaseDataTree>& c) {
  c.Integer("DefaultNodeHeight", [](TBaseDataTree& t) { return t.DefaultNodeHeight(); },
            [](TBaseDataTree& t, int v) { t.SetDefaultNodeHeight(v); });
  c.Integer("NodeDataSize", [](TBaseDataTree& t) { return t.NodeDataSize(); },
            [](TBaseDataTree& t, int v) { t.SetNodeDataSize(v); });
  c.Integer("RootNodeCount", [](TBaseDataTree& t) { return int(t.RootNodeCount()); },
            [](TBaseDataTree& t, int v) { t.SetRootNodeCount(uint32_t(std::max(v, 0))); });
  c.Integer("Indent", [](TBaseDataTree& t) { return t.Indent(); }, [](TBaseDataTree& t, int v) { t.SetIndent(v); });
  c.Integer("Margin", [](TBaseDataTree& t) { return t.Margin(); }, [](TBaseDataTree& t, int v) { t.SetMargin(v); });
  c.Integer("ChangeDelay", [](TBaseDataTree& t) { return t.ChangeDelay(); },
            [](TBaseDataTree& t, int v) { t.SetChangeDelay(v); });
  c.template Set<unsigned>("Options",
      {"voAcceptOLEDrop", "voAnimatedToggle", "voAutoDropExpand", "voAutoExpand", "voAutoScroll",
       "voAutoSpanColumns", "voAutoTristateTracking", "voCheckSupport", "voEditable", "voExtendedFocus",
       "voFullRowSelect", "voGridExtensions", "voHotTrack", "voInitOnSave", "voLevelSelectConstraint",
       "voMiddleClickSelect", "voMultiSelect", "voRightClickSelect", "voShowBackground", "voShowButtons",
       "voShowHorzGridLines", "voShowRoot", "voShowTreeLines", "voShowVertGridLines", "voToggleOnDblClick"},
      [](TBaseDataTree& t) { return unsigned(t.Options()); }, [](TBaseDataTree& t, unsigned v) { t.SetOptions(v); });
  c.Color("TreeLineColor", [](TBaseDataTree& t) { return t.TreeLineColor; },
          [](TBaseDataTree& t, TColor v) { t.TreeLineColor = v; t.Invalidate(); });
})
