#include "platform/gui/ext_controls.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QImage>
#include <QPainter>
#include <QRadioButton>
#include <algorithm>

#include "platform/gui/qt_bridge.h"

QM_CLASS_INFO(TPanel, TCustomControl, [](TClassBuilder<TPanel>& c) {
  c.Enum<TPanelBevel>("BevelOuter", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}, &TPanel::BevelOuter, &TPanel::SetBevelOuter);
  c.Enum<TPanelBevel>("BevelInner", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}, &TPanel::BevelInner, &TPanel::SetBevelInner);
  c.Integer("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth);
  c.Integer("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth);
  c.Enum<TAlignment>("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}, &TPanel::Alignment, &TPanel::SetAlignment);
})

QM_CLASS_INFO(TBevel, TGraphicControl, [](TClassBuilder<TBevel>& c) {
  c.Enum<TBevelShape>("Shape", {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"},
                      &TBevel::Shape, &TBevel::SetShape);
  c.Enum<TBevelStyle>("Style", {"bsLowered", "bsRaised"}, &TBevel::Style, &TBevel::SetStyle);
})

QM_CLASS_INFO(TShape, TGraphicControl, [](TClassBuilder<TShape>& c) {
  c.Enum<TShapeType>("Shape", {"stRectangle", "stSquare", "stRoundRect", "stRoundSquare", "stEllipse", "stCircle"},
                     &TShape::Shape, &TShape::SetShape);
  c.Object("Pen", &TShape::Pen);
  c.Object("Brush", &TShape::Brush);
})

QM_CLASS_INFO(TPicture, TPersistent, [](TClassBuilder<TPicture>&) {})

QM_CLASS_INFO(TImage, TGraphicControl, [](TClassBuilder<TImage>& c) {
  c.Boolean("Stretch", &TImage::Stretch, &TImage::SetStretch);
  c.Boolean("Center", &TImage::Center, &TImage::SetCenter);
  c.Boolean("Proportional", &TImage::Proportional, &TImage::SetProportional);
  c.Boolean("Transparent", &TImage::Transparent, &TImage::SetTransparent);
  c.Boolean("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize);
})

QM_CLASS_INFO(TPaintBox, TGraphicControl, [](TClassBuilder<TPaintBox>& c) { c.Event("OnPaint", &TPaintBox::OnPaint); })

QM_CLASS_INFO(TSplitter, TGraphicControl, [](TClassBuilder<TSplitter>& c) {
  c.Integer("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize);
  c.Boolean("Beveled", &TSplitter::Beveled, &TSplitter::SetBeveled);
  c.Enum<TResizeStyle>("ResizeStyle", {"rsNone", "rsLine", "rsUpdate", "rsPattern"}, &TSplitter::ResizeStyle,
                       &TSplitter::SetResizeStyle);
  c.Event("OnCanResize", &TSplitter::OnCanResize);
  c.Event("OnMoved", &TSplitter::OnMoved);
})

QM_CLASS_INFO(TRadioGroup, TGroupBox, [](TClassBuilder<TRadioGroup>& c) {
  c.Strings("Items", [](TRadioGroup& g) { return LinesOfStrings(*g.Items()); },
            [](TRadioGroup& g, const std::vector<std::string>& v) { AssignStrings(*g.Items(), v); });
  c.Integer("ItemIndex", &TRadioGroup::ItemIndex, &TRadioGroup::SetItemIndex);
  c.Integer("Columns", &TRadioGroup::Columns, &TRadioGroup::SetColumns);
})

// --- TPanel ---

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 185, 41); }

void TPanel::SetBevelOuter(TPanelBevel v) {
  bevelOuter_ = v;
  Invalidate();
  Realign();
}
void TPanel::SetBevelInner(TPanelBevel v) {
  bevelInner_ = v;
  Invalidate();
  Realign();
}
void TPanel::SetBevelWidth(int v) {
  bevelWidth_ = v;
  Invalidate();
  Realign();
}
void TPanel::SetBorderWidth(int v) {
  borderWidth_ = v;
  Invalidate();
  Realign();
}
void TPanel::SetAlignment(TAlignment a) {
  alignment_ = a;
  Invalidate();
}

void TPanel::AlignControls(TRect rect) {
  int inset = borderWidth_ + (bevelOuter_ != bvNone ? bevelWidth_ : 0) + (bevelInner_ != bvNone ? bevelWidth_ : 0);
  rect.Left += inset;
  rect.Top += inset;
  rect.Right -= inset;
  rect.Bottom -= inset;
  TCustomControl::AlignControls(rect);
}

void TPanel::Paint() {
  TCanvas& c = *Canvas();
  TRect r = ClientRect();
  c.Brush()->SetColor(Color());
  c.FillRect(r);
  auto bevel = [&](TPanelBevel b) {
    if (b == bvNone) return;
    bool lowered = b == bvLowered;
    if (b == bvSpace) Frame3D(c, r, Color(), Color(), bevelWidth_);
    else Frame3D(c, r, lowered ? clBtnShadow : clBtnHighlight, lowered ? clBtnHighlight : clBtnShadow, bevelWidth_);
  };
  bevel(bevelOuter_);
  Frame3D(c, r, Color(), Color(), borderWidth_);
  bevel(bevelInner_);
  if (!text_.empty()) {
    c.Brush()->SetStyle(bsClear);
    unsigned flags = DT_VCENTER | DT_SINGLELINE | (alignment_ == taCenter ? DT_CENTER : alignment_ == taRightJustify ? DT_RIGHT : DT_LEFT);
    c.DrawText(text_, r, flags);
  }
}

// --- TBevel ---

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 50, 50); }

void TBevel::SetShape(TBevelShape s) {
  shape_ = s;
  Invalidate();
}
void TBevel::SetStyle(TBevelStyle s) {
  style_ = s;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas& c = *Canvas();
  TColor c1 = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor c2 = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
  int w = Width(), h = Height();
  auto line = [&](TColor color, int x1, int y1, int x2, int y2) {
    c.Pen()->SetColor(color);
    c.MoveTo(x1, y1);
    c.LineTo(x2, y2);
  };
  TRect r = ClientRect();
  switch (shape_) {
    case bsBox: Frame3D(c, r, c1, c2, 1); break;
    case bsFrame: {
      TRect outer = Rect(0, 0, w, h), inner = Rect(1, 1, w, h);
      Frame3D(c, inner, c2, c2, 1);
      outer.Right -= 1;
      outer.Bottom -= 1;
      Frame3D(c, outer, c1, c1, 1);
      break;
    }
    case bsTopLine: line(c1, 0, 0, w, 0); line(c2, 0, 1, w, 1); break;
    case bsBottomLine: line(c1, 0, h - 2, w, h - 2); line(c2, 0, h - 1, w, h - 1); break;
    case bsLeftLine: line(c1, 0, 0, 0, h); line(c2, 1, 0, 1, h); break;
    case bsRightLine: line(c1, w - 2, 0, w - 2, h); line(c2, w - 1, 0, w - 1, h); break;
    case bsSpacer: break;
  }
}

// --- TShape ---

TShape::TShape(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 65, 65); }

void TShape::SetShape(TShapeType s) {
  shape_ = s;
  Invalidate();
}

void TShape::Paint() {
  TCanvas& c = *Canvas();
  c.Pen()->Assign(pen_);
  c.Brush()->Assign(brush_);
  int pw = pen_.Width();
  int x = pw / 2, y = pw / 2, w = Width() - pw + 1, h = Height() - pw + 1;
  if (shape_ == stSquare || shape_ == stRoundSquare || shape_ == stCircle) {
    int side = std::min(w, h);
    x += (w - side) / 2;
    y += (h - side) / 2;
    w = h = side;
  }
  switch (shape_) {
    case stRectangle:
    case stSquare: c.Rectangle(x, y, x + w, y + h); break;
    case stRoundRect:
    case stRoundSquare: c.RoundRect(x, y, x + w, y + h, std::min(w, h) / 4, std::min(w, h) / 4); break;
    default: c.Ellipse(x, y, x + w, y + h); break;
  }
}

// --- TPicture / TImage ---

TPicture::TPicture() : bitmap_(std::make_unique<TBitmap>()) {}
TPicture::~TPicture() = default;
int TPicture::Width() const { return bitmap_->Width(); }
int TPicture::Height() const { return bitmap_->Height(); }

void TPicture::LoadFromFile(const std::string& fileName) {
  bitmap_->LoadFromFile(fileName);
  if (OnChange) OnChange(this);
}

void TPicture::Assign(const TBitmap& bitmap) {
  bitmap_->Assign(bitmap);
  if (OnChange) OnChange(this);
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TPicture>()) {
  SetBounds(0, 0, 105, 105);
  picture_->OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage() = default;

TCanvas* TImage::Canvas() {
  if (picture_->Bitmap()->Empty()) picture_->Bitmap()->SetSize(Width(), Height());
  Invalidate();
  return picture_->Bitmap()->Canvas();
}

void TImage::PictureChanged() {
  if (autoSize_ && !picture_->Bitmap()->Empty()) SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
  Invalidate();
}

void TImage::SetStretch(bool v) {
  stretch_ = v;
  Invalidate();
}
void TImage::SetCenter(bool v) {
  center_ = v;
  Invalidate();
}
void TImage::SetProportional(bool v) {
  proportional_ = v;
  Invalidate();
}
void TImage::SetTransparent(bool v) {
  transparent_ = v;
  picture_->Bitmap()->SetTransparent(v);
  Invalidate();
}
void TImage::SetAutoSize(bool v) {
  autoSize_ = v;
  PictureChanged();
}

void TImage::Paint() {
  TBitmap& bmp = *picture_->Bitmap();
  if (bmp.Empty()) return;
  int w = bmp.Width(), h = bmp.Height();
  TRect r = Bounds(0, 0, w, h);
  if (stretch_ || (proportional_ && (w > Width() || h > Height()))) {
    if (proportional_ && w > 0 && h > 0) {
      double scale = std::min(double(Width()) / w, double(Height()) / h);
      w = int(w * scale);
      h = int(h * scale);
    } else {
      w = Width();
      h = Height();
    }
    r = Bounds(0, 0, w, h);
  }
  if (center_) r = Bounds((Width() - r.Width()) / 2, (Height() - r.Height()) / 2, r.Width(), r.Height());
  TGraphicControl::Canvas()->StretchDraw(r, bmp);
}

// --- TPaintBox ---

TPaintBox::TPaintBox(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 105, 105); }

void TPaintBox::Paint() {
  if (OnPaint) OnPaint(this);
}

// --- TSplitter ---

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 3, 100);
  SetAlign(alLeft);
  UpdateCursor();
}

void TSplitter::Loaded() {
  TGraphicControl::Loaded();
  UpdateCursor();
}

void TSplitter::UpdateCursor() { SetCursor(Align() == alTop || Align() == alBottom ? crVSplit : crHSplit); }

void TSplitter::SetBeveled(bool v) {
  beveled_ = v;
  Invalidate();
}

void TSplitter::Paint() {
  TCanvas& c = *Canvas();
  TRect r = ClientRect();
  c.Brush()->SetColor(Color());
  c.FillRect(r);
  if (beveled_) Frame3D(c, r, clBtnHighlight, clBtnShadow, 1);
}

TControl* TSplitter::FindControl() const {
  TWinControl* p = Parent();
  if (!p) return nullptr;
  // The control touching the splitter's side that faces the aligned edge.
  for (int i = 0; i < p->ControlCount(); ++i) {
    TControl* c = p->Controls(i);
    if (c == this || !c->Visible() || c->Align() != Align()) continue;
    switch (Align()) {
      case alLeft: if (c->Left() + c->Width() == Left()) return c; break;
      case alRight: if (c->Left() == Left() + Width()) return c; break;
      case alTop: if (c->Top() + c->Height() == Top()) return c; break;
      case alBottom: if (c->Top() == Top() + Height()) return c; break;
      default: break;
    }
  }
  return nullptr;
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  target_ = FindControl();
  if (!target_) return;
  bool horizontal = Align() == alLeft || Align() == alRight;
  TPoint screen = ClientToScreen({x, y});
  downPos_ = horizontal ? screen.X : screen.Y;
  startSize_ = horizontal ? target_->Width() : target_->Height();
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!target_ || !(shift & ssLeft)) return;
  bool horizontal = Align() == alLeft || Align() == alRight;
  TPoint screen = ClientToScreen({x, y});
  int delta = (horizontal ? screen.X : screen.Y) - downPos_;
  if (Align() == alRight || Align() == alBottom) delta = -delta;
  int size = std::max(startSize_ + delta, minSize_);
  bool accept = true;
  if (OnCanResize) OnCanResize(this, size, accept);
  if (!accept) return;
  if (horizontal) target_->SetWidth(size);
  else target_->SetHeight(size);
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (target_ && OnMoved) OnMoved(this);
  target_ = nullptr;
}

// --- TRadioGroup ---

TRadioGroup::TRadioGroup(TComponent* owner)
    : TGroupBox(owner), items_(std::make_unique<TControlItems>([this] {
        if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
        BuildButtons();
      })) {}

TRadioGroup::~TRadioGroup() { DestroyWidget(); }

QWidget* TRadioGroup::CreateWidget(QWidget* parent) {
  auto* box = static_cast<QGroupBox*>(TGroupBox::CreateWidget(parent));
  group_ = new QButtonGroup(box);
  group_->setExclusive(true);
  QObject::connect(group_, &QButtonGroup::idClicked, [this](int id) {
    if (id == itemIndex_) return;
    GuardedCall([this, id] {
      itemIndex_ = id;
      Click();
    });
  });
  return box;
}

void TRadioGroup::InitWidget() {
  TGroupBox::InitWidget();
  BuildButtons();
}

void TRadioGroup::BuildButtons() {
  QWidget* box = ExistingWidget();
  if (!box || !group_) return;
  for (QAbstractButton* b : group_->buttons()) {
    group_->removeButton(b);
    delete b;
  }
  for (int i = 0; i < items_->Count(); ++i) {
    auto* b = new QRadioButton(ToQ((*items_)[i]), box);
    b->setAttribute(Qt::WA_NoMousePropagation);
    group_->addButton(b, i);
    b->setChecked(i == itemIndex_);
    b->show();
  }
  ArrangeButtons();
}

void TRadioGroup::ArrangeButtons() {
  if (!group_) return;
  auto buttons = group_->buttons();
  if (buttons.isEmpty()) return;
  int cols = std::max(1, columns_);
  int rows = (int(buttons.size()) + cols - 1) / cols;
  int title = QFontMetrics(ToQFont(*Font())).height();
  int top = title + 2, left = 8;
  int colWidth = (Width() - left - 4) / cols;
  int rowHeight = std::max((Height() - top - 4) / rows, 1);
  for (QAbstractButton* b : buttons) {
    int i = group_->id(b);
    b->setGeometry(left + (i / rows) * colWidth, top + (i % rows) * rowHeight, colWidth, rowHeight);
  }
}

void TRadioGroup::SetItemIndex(int index) {
  if (index < -1 || index >= items_->Count()) index = -1;
  itemIndex_ = index;
  if (!group_) return;
  if (index < 0) {
    group_->setExclusive(false);
    for (QAbstractButton* b : group_->buttons()) b->setChecked(false);
    group_->setExclusive(true);
  } else if (QAbstractButton* b = group_->button(index)) {
    b->setChecked(true);
  }
}

void TRadioGroup::SetColumns(int v) {
  columns_ = std::clamp(v, 1, 16);
  ArrangeButtons();
}

void TRadioGroup::Resize() {
  ArrangeButtons();
  TGroupBox::Resize();
}

void TRadioGroup::EnabledChanged() {
  TGroupBox::EnabledChanged();
  if (group_)
    for (QAbstractButton* b : group_->buttons()) b->setEnabled(Enabled());
}
