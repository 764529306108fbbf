#include "components/data_tree_string.h"

#include <cstring>

#include "components/data_tree_geometry.h"
#include "platform/gui/canvas_clip.h"
#include "platform/gui/wide_edit.h"
#include "platform/gui/wide_text.h"
#include "platform/streams.h"

// The in-place editor: Enter ends the edit, Escape cancels it, Up and Down move like Left
// and Right, and losing the focus ends the edit.
class TDTEdit : public TWideEdit {
public:
  TDTEdit(TComponent* owner, TBaseDataTree* tree) : TWideEdit(owner), tree_(tree) {
    OnChange = [this](TObject*) { Grow(); };
  }

  // As wide as the text + 8 (at least 30), ending at the latest 6 pixels before the tree's
  // right client edge; the window is 4 wider.
  void Grow() {
    TCanvas& canvas = *tree_->Canvas();
    canvas.Font()->Assign(*tree_->Font());
    int left = Left() - tree_->ClientOrigin().X;
    int width = std::max(WideTextWidth(canvas, WideText()) + 8, 30);
    width = std::min(width, tree_->ClientWidth() - left - 6);
    SetWidth(std::max(width, 30) + 4);
  }

protected:
  void KeyDown(uint16_t& key, TShiftState shift) override {
    TWideEdit::KeyDown(key, shift);
    switch (key) {
      case VK_RETURN: key = 0; tree_->EndEditNode(); break;
      case VK_ESCAPE: key = 0; tree_->CancelEditNode(); break;
      case VK_UP: key = 0; SetCursorPosition(std::max(0, CursorPosition() - 1)); break;
      case VK_DOWN: key = 0; SetCursorPosition(CursorPosition() + 1); break;
      default: break;
    }
  }
  void DoExit() override {
    TWideEdit::DoExit();
    if (tree_->IsEditing()) tree_->EndEditNode();
  }

private:
  TBaseDataTree* tree_;
};

TCustomDataStringTree::TCustomDataStringTree(TComponent* owner) : TBaseDataTree(owner) {}
TCustomDataStringTree::~TCustomDataStringTree() = default;

void TCustomDataStringTree::SetDefaultText(const std::u16string& Value) {
  if (Value == defaultText_) return;
  defaultText_ = Value;
  FontChanged();
}

void TCustomDataStringTree::SetStringOptions(TDSTOptions Value) {
  if (Value == stringOptions_) return;
  stringOptions_ = Value;
  InvalidateView();
}

std::u16string TCustomDataStringTree::DoGetText(PDataNode Node, int Column, TDSTTextType TextType) {
  if (!Node->Has(vsInitialized)) InitNode(Node);
  std::u16string text = TextType == ttNormal ? defaultText_ : std::u16string();
  if (OnGetText) OnGetText(this, Node, Column, TextType, text);
  return text;
}

void TCustomDataStringTree::DoNewText(PDataNode Node, int Column, const std::u16string& Text) {
  if (OnNewText) OnNewText(this, Node, Column, Text);
  if (void* cache = InternalData(Node)) std::memset(cache, 0, 4);
}

std::u16string TCustomDataStringTree::NodeHintText(PDataNode Node, int Column) {
  if (HintMode == hmTooltip) return DoGetText(Node, Column);
  std::u16string text;
  if (OnGetHint) OnGetHint(this, Node, Column, ttNormal, text);
  return text;
}

int TCustomDataStringTree::EllipsisWidth() {
  TCanvas& canvas = *Canvas();
  canvas.Font()->Assign(*Font());
  return 3 * WideTextWidth(canvas, u".");
}

int TCustomDataStringTree::MeasureText(PDataNode Node, int Column, const std::u16string& Text) {
  TCanvas& canvas = *Canvas();
  canvas.Font()->Assign(*Font());
  if (OnPaintText) OnPaintText(this, canvas, Node, Column, ttNormal);
  return Text.empty() ? 8 : WideTextWidth(canvas, Text) + 8;
}

int TCustomDataStringTree::GetNodeWidth(PDataNode Node, int Column) {
  if (!Node || Node == RootNode()) return 0;
  bool cached = Column <= 0;
  uint32_t width = 0;
  if (cached) std::memcpy(&width, InternalData(Node), 4);
  if (width == 0) {
    width = uint32_t(MeasureText(Node, Column, DoGetText(Node, Column)));
    if (cached) std::memcpy(InternalData(Node), &width, 4);
  }
  return int(width);
}

void TCustomDataStringTree::FontChanged() {
  TBaseDataTree::FontChanged();
  for (PDataNode run = RootNode()->FirstChild; run; run = GetNext(run)) std::memset(InternalData(run), 0, 4);
}

void TCustomDataStringTree::InvalidateNode(PDataNode Node) {
  if (void* cache = InternalData(Node)) std::memset(cache, 0, 4);
  TBaseDataTree::InvalidateNode(Node);
}

TRect TCustomDataStringTree::TextRect(PDataNode Node, int Column) { return GetDisplayRect(Node, Column, true); }

void TCustomDataStringTree::DoPaintNode(TCanvas& Canvas, PDataNode Node, int Column, const TRect& Cell, const TRect& Content) {
  Canvas.Font()->Assign(*Font());
  if (HasOption(voHotTrack)) {
    TFontStyles style = Canvas.Font()->Style();
    Canvas.Font()->SetStyle(Node == HotNode() ? style | fsUnderline : style & ~fsUnderline);
  }
  std::u16string text = DoGetText(Node, Column);
  if (OnPaintText) OnPaintText(this, Canvas, Node, Column, ttNormal);
  else Canvas.Brush()->SetColor(Color());
  int offset = (Node->NodeHeight - FontLineHeight(Canvas)) / 2;
  bool focusedColumn = Column == FocusedColumn() || !Header()->UseColumns();
  if (focusedColumn || HasOption(voFullRowSelect)) {
    TRect fill = HasOption(voGridExtensions) ? Cell : Content;
    if (Selected(Node)) {
      if (TreeFocused()) {
        Canvas.Brush()->SetColor(clHighlight);
        Canvas.Font()->SetColor(clHighlightText);
      } else {
        Canvas.Brush()->SetColor(clBtnFace);
      }
      Canvas.FillRect(fill);
    } else if (Node == DropTarget() && DropMode() == dmOnNode) {
      Canvas.Brush()->SetColor(clHighlight);
      Canvas.Font()->SetColor(clHighlightText);
      Canvas.FillRect(fill);
    }
  }
  if (focusedColumn && TreeFocused() && Node == FocusedNode()) Canvas.DrawFocusRect(Content);
  if (Node->Has(vsDisabled) || !Enabled()) Canvas.Font()->SetColor(clGrayText);
  Canvas.Brush()->SetStyle(bsClear);
  if (!text.empty()) {
    if (Column >= 0) {
      int ellipsis = 3 * WideTextWidth(Canvas, u".");
      text = ShortenString(text, Content.Width() - 6, ellipsis, [&](const std::u16string& t) { return WideTextWidth(Canvas, t); });
    }
    WideTextRect(Canvas, Cell, Content.Left + 4, Content.Top + offset, text);
  }
  if (stringOptions_ & soShowStaticText) {
    std::u16string extra = DoGetText(Node, Column, ttStatic);
    if (!extra.empty()) {
      Canvas.Font()->Assign(*Font());
      if (OnPaintText) OnPaintText(this, Canvas, Node, Column, ttStatic);
      int staticOffset = (Node->NodeHeight - FontLineHeight(Canvas)) / 2;
      WideTextRect(Canvas, Cell, Content.Left + GetNodeWidth(Node, Column) + 4, Content.Top + staticOffset, extra);
    }
  }
  Canvas.Brush()->SetStyle(bsSolid);
}

std::unique_ptr<IDTEditLink> TCustomDataStringTree::CreateEditor(PDataNode Node, int Column) {
  if (OnCreateEditor) return TBaseDataTree::CreateEditor(Node, Column);
  return std::make_unique<TStringEditLink>();
}

// --- captions in the stream ---

void TCustomDataStringTree::WriteChunks(TStream& Stream, PDataNode Node) {
  TBaseDataTree::WriteChunks(Stream, Node);
  if (!(stringOptions_ & soSaveCaptions) || Node == RootNode() || !Node->Has(vsInitialized)) return;
  std::u16string caption = DoGetText(Node, Header()->MainColumn());
  if (caption.empty()) return;
  unsigned char header[8] = {3, 0, 0, 0};
  uint32_t size = uint32_t(caption.size() * 2);
  for (int k = 0; k < 4; ++k) header[4 + k] = uint8_t(size >> (8 * k));
  Stream.WriteBuffer(header, 8);
  std::string bytes;
  for (char16_t c : caption) {
    bytes += char(uint8_t(c));
    bytes += char(uint8_t(c >> 8));
  }
  Stream.WriteBuffer(bytes.data(), int(bytes.size()));
}

bool TCustomDataStringTree::ReadChunk(TStream& Stream, PDataNode Node, uint32_t ChunkType, uint32_t ChunkSize, int Depth) {
  if (ChunkType != 3) return TBaseDataTree::ReadChunk(Stream, Node, ChunkType, ChunkSize, Depth);
  int64_t end = Stream.Position() + ChunkSize;
  std::string bytes(ChunkSize / 2 * 2, '\0');
  if (!bytes.empty()) Stream.ReadBuffer(bytes.data(), int(bytes.size()));
  std::u16string caption;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) caption += char16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8);
  Stream.SetPosition(end);  // an odd size leaves no byte behind
  DoNewText(Node, Header()->MainColumn(), caption);
  return true;
}

// --- edit link ---

TStringEditLink::~TStringEditLink() { delete edit_; }

bool TStringEditLink::PrepareEdit(TBaseDataTree* Tree, PDataNode Node, int Column) {
  tree_ = dynamic_cast<TCustomDataStringTree*>(Tree);
  if (!tree_) return false;
  node_ = Node;
  column_ = Column;
  edit_ = new TDTEdit(nullptr, tree_);
  edit_->Hide();
  edit_->SetParent(tree_);
  edit_->Font()->Assign(*tree_->Font());
  edit_->SetWideText(tree_->DoGetText(Node, Column));
  return true;
}

void TStringEditLink::SetBounds(const TRect& R) {
  if (stopped_ || !edit_) return;
  int width = std::min(std::max(R.Width() + 4, 30), std::max(tree_->ClientWidth(), 30));
  // The editor sits on the client area, which starts below the header strip.
  edit_->SetBounds(R.Left, R.Top + tree_->StripHeight(), width, R.Height());
}

bool TStringEditLink::BeginEdit() {
  if (stopped_ || !edit_) return false;
  edit_->Show();
  edit_->SelectAll();
  if (edit_->CanFocus()) edit_->SetFocus();
  return true;
}

bool TStringEditLink::EndEdit() {
  if (stopped_) return true;
  stopped_ = true;
  if (edit_->Modified()) tree_->DoNewText(node_, column_, edit_->WideText());
  bool hadFocus = edit_->Focused();
  edit_->Hide();
  // The tree takes the focus back only from its own editor, never from another control.
  if (hadFocus && tree_->CanFocus()) tree_->SetFocus();
  return true;
}

void TStringEditLink::CancelEdit() {
  if (stopped_) return;
  stopped_ = true;
  if (edit_) edit_->Hide();
}

QM_CLASS_INFO(TCustomDataStringTree, TBaseDataTree, [](TClassBuilder<TCustomDataStringTree>&) {})
QM_CLASS_INFO(TDataStringTree, TCustomDataStringTree, [](TClassBuilder<TDataStringTree>& c) {
  c.Set<unsigned>("StringOptions", {"soSaveCaptions", "soShowStaticText"},
                  [](TDataStringTree& t) { return t.StringOptions(); },
                  [](TDataStringTree& t, unsigned v) { t.SetStringOptions(v); });
})
