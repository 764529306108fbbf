#include "platform/gui/common_controls.h"

#include <QProgressBar>
#include <QSlider>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>

#include "platform/gui/graphics.h"
#include "platform/gui/qt_bridge.h"
#include "platform/gui/std_controls.h"

QM_CLASS_INFO(TCollectionItem, TPersistent, [](TClassBuilder<TCollectionItem>&) {})

QM_CLASS_INFO(TTabSheet, TWinControl, [](TClassBuilder<TTabSheet>& c) {
  c.Component<TPageControl>("PageControl", &TTabSheet::PageControl, &TTabSheet::SetPageControl);
  c.Integer("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex);
  c.Boolean("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible);
  c.Integer("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex);
})

QM_CLASS_INFO(TPageControl, TWinControl, [](TClassBuilder<TPageControl>& c) {
  c.Component<TTabSheet>("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage);
  c.Event("OnChange", &TPageControl::OnChange);
  c.Event("OnChanging", &TPageControl::OnChanging);
})

QM_CLASS_INFO(TTrackBar, TWinControl, [](TClassBuilder<TTrackBar>& c) {
  c.Integer("Min", &TTrackBar::Min, &TTrackBar::SetMin);
  c.Integer("Max", &TTrackBar::Max, &TTrackBar::SetMax);
  c.Integer("Position", &TTrackBar::Position, &TTrackBar::SetPosition);
  c.Integer("Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency);
  c.Integer("LineSize", &TTrackBar::LineSize, &TTrackBar::SetLineSize);
  c.Integer("PageSize", &TTrackBar::PageSize, &TTrackBar::SetPageSize);
  c.Enum<TTrackBarOrientation>("Orientation", {"trHorizontal", "trVertical"}, &TTrackBar::Orientation, &TTrackBar::SetOrientation);
  c.Enum<TTickStyle>("TickStyle", {"tsNone", "tsAuto", "tsManual"}, &TTrackBar::TickStyle, &TTrackBar::SetTickStyle);
  c.Enum<TTickMark>("TickMarks", {"tmBottomRight", "tmTopLeft", "tmBoth"}, &TTrackBar::TickMarks, &TTrackBar::SetTickMarks);
  c.Event("OnChange", &TTrackBar::OnChange);
})

QM_CLASS_INFO(TProgressBar, TWinControl, [](TClassBuilder<TProgressBar>& c) {
  c.Integer("Min", &TProgressBar::Min, &TProgressBar::SetMin);
  c.Integer("Max", &TProgressBar::Max, &TProgressBar::SetMax);
  c.Integer("Position", &TProgressBar::Position, &TProgressBar::SetPosition);
  c.Integer("Step", &TProgressBar::Step, &TProgressBar::SetStep);
  c.Boolean("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth);
  c.Enum<TProgressBarOrientation>("Orientation", {"pbHorizontal", "pbVertical"}, &TProgressBar::Orientation,
                                  &TProgressBar::SetOrientation);
})

QM_CLASS_INFO(TUpDown, TWinControl, [](TClassBuilder<TUpDown>& c) {
  c.Integer("Min", &TUpDown::Min, &TUpDown::SetMin);
  c.Integer("Max", &TUpDown::Max, &TUpDown::SetMax);
  c.Integer("Position", &TUpDown::Position, &TUpDown::SetPosition);
  c.Integer("Increment", &TUpDown::Increment, &TUpDown::SetIncrement);
  c.Boolean("Wrap", &TUpDown::Wrap, &TUpDown::SetWrap);
  c.Boolean("Thousands", &TUpDown::Thousands, &TUpDown::SetThousands);
  c.Boolean("ArrowKeys", &TUpDown::ArrowKeys, &TUpDown::SetArrowKeys);
  c.Enum<TUDAlignButton>("AlignButton", {"udLeft", "udRight"}, &TUpDown::AlignButton, &TUpDown::SetAlignButton);
  c.Enum<TUDOrientation>("Orientation", {"udHorizontal", "udVertical"}, &TUpDown::Orientation, &TUpDown::SetOrientation);
  c.Component<TWinControl>("Associate", &TUpDown::Associate, &TUpDown::SetAssociate);
  c.Event("OnClick", &TUpDown::OnClick);
  c.Event("OnChanging", &TUpDown::OnChanging);
})

QM_CLASS_INFO(TStatusPanel, TCollectionItem, [](TClassBuilder<TStatusPanel>& c) {
  c.String("Text", &TStatusPanel::Text, &TStatusPanel::SetText);
  c.Integer("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth);
  c.Enum<TAlignment>("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}, &TStatusPanel::Alignment,
                     &TStatusPanel::SetAlignment);
  c.Enum<TStatusPanelStyle>("Style", {"psText", "psOwnerDraw"}, &TStatusPanel::Style, &TStatusPanel::SetStyle);
  c.Enum<TStatusPanelBevel>("Bevel", {"pbNone", "pbLowered", "pbRaised"}, &TStatusPanel::Bevel, &TStatusPanel::SetBevel);
})

QM_CLASS_INFO(TStatusBar, TCustomControl, [](TClassBuilder<TStatusBar>& c) {
  c.Collection("Panels", &TStatusBar::Panels);
  c.Boolean("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel);
  c.String("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText);
  c.Boolean("SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip);
  c.Event("OnDrawPanel", &TStatusBar::OnDrawPanel);
})

// --- TTabSheet ---

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {}

TTabSheet::~TTabSheet() {
  if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* pc) { SetParent(pc); }

void TTabSheet::SetParent(TWinControl* parent) {
  if (pageControl_ && parent != pageControl_) pageControl_->RemovePage(this);
  TWinControl::SetParent(parent);
  auto* pc = dynamic_cast<TPageControl*>(parent);
  if (pc && pc != pageControl_) pc->InsertPage(this);
}

int TTabSheet::PageIndex() const {
  if (!pageControl_) return -1;
  auto& pages = pageControl_->pages_;
  return int(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int index) {
  if (!pageControl_) return;
  auto& pages = pageControl_->pages_;
  index = std::clamp(index, 0, int(pages.size()) - 1);
  pages.erase(std::find(pages.begin(), pages.end(), this));
  pages.insert(pages.begin() + index, this);
  pageControl_->UpdateTabs();
}

void TTabSheet::SetTabVisible(bool v) {
  tabVisible_ = v;
  if (pageControl_) pageControl_->UpdateTabs();
}

void TTabSheet::TextChanged() {
  if (pageControl_) pageControl_->UpdateTabs();
}

// --- TPageControl ---

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 289, 193);
  SetTabStop(true);
}

TPageControl::~TPageControl() {
  Destroying();
  DestroyComponents();
  for (TTabSheet* page : pages_) page->pageControl_ = nullptr;
  pages_.clear();
}

QWidget* TPageControl::CreateWidget(QWidget* parent) {
  auto* tabs = new QTabWidget(parent);
  tabs->tabBar()->setAttribute(Qt::WA_NoMousePropagation);
  QObject::connect(tabs, &QTabWidget::currentChanged, [this, tabs](int index) {
    if (syncing_) return;
    GuardedCall([&] {
      TTabSheet* page = index >= 0 ? static_cast<TTabSheet*>(FindControl(tabs->widget(index))) : nullptr;
      if (page == active_) return;
      bool allow = true;
      if (OnChanging) OnChanging(this, allow);
      if (!allow) {
        UpdateTabs();
        return;
      }
      active_ = page;
      if (OnChange) OnChange(this);
    });
  });
  return tabs;
}

void TPageControl::InitWidget() {
  TWinControl::InitWidget();
  UpdateTabs();
}

void TPageControl::PlaceChildWidget(TControl* child) {
  if (!dynamic_cast<TTabSheet*>(child)) {
    TWinControl::PlaceChildWidget(child);
    return;
  }
  UpdateTabs();
}

// A page is made in the tab widget's page stack, where adding its tab puts it (moving it there
// afterwards would have Qt resolve the fonts and palettes of all its controls again).
QWidget* TPageControl::ChildHost(TControl* child) {
  QWidget* tabs = Widget();
  if (!dynamic_cast<TTabSheet*>(child)) return ClientWidget();
  auto* stack = tabs->findChild<QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly);
  return stack ? stack : tabs;
}

void TPageControl::InsertPage(TTabSheet* page) {
  page->pageControl_ = this;
  pages_.push_back(page);
  if (!active_ && page->tabVisible_) active_ = page;
  UpdateTabs();
}

void TPageControl::RemovePage(TTabSheet* page) {
  pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
  page->pageControl_ = nullptr;
  if (active_ == page) active_ = FindNextPage(nullptr, true);
  if (!(ComponentState() & csDestroying)) UpdateTabs();
}

// The tab widget shows the visible pages in order; hidden pages keep no tab. Only the tabs that
// differ change: each tab added or removed lays the tab bar out again.
void TPageControl::UpdateTabs() {
  auto* tabs = static_cast<QTabWidget*>(ExistingWidget());
  if (!tabs) return;
  std::vector<TTabSheet*> shown;
  for (TTabSheet* page : pages_)
    if (page->tabVisible_) shown.push_back(page);
  // A page's new widget comes back here (placing it) before this pass goes on.
  for (TTabSheet* page : shown) page->Widget();
  syncing_ = true;
  for (int i = tabs->count() - 1; i >= 0; --i) {
    TControl* page = FindControl(tabs->widget(i));
    if (std::find(shown.begin(), shown.end(), page) == shown.end()) tabs->removeTab(i);
  }
  for (int i = 0; i < int(shown.size()); ++i) {
    QWidget* w = shown[size_t(i)]->ExistingWidget();
    const QString caption = ToQ(shown[size_t(i)]->Caption());
    const int at = tabs->indexOf(w);
    if (at == i) {
      if (tabs->tabText(i) != caption) tabs->setTabText(i, caption);
      continue;
    }
    if (at >= 0) tabs->removeTab(at);
    tabs->insertTab(i, w, caption);
  }
  if (active_ && active_->tabVisible_ && active_->ExistingWidget()) tabs->setCurrentWidget(active_->ExistingWidget());
  for (TTabSheet* page : pages_)
    if (QWidget* w = page->ExistingWidget()) w->setVisible(page == active_ && page->tabVisible_);
  syncing_ = false;
}

TTabSheet* TPageControl::ActivePage() const { return active_; }

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->pageControl_ != this) return;
  active_ = page;
  UpdateTabs();
}

int TPageControl::ActivePageIndex() const { return active_ ? active_->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int index) {
  SetActivePage(index >= 0 && index < PageCount() ? pages_[size_t(index)] : nullptr);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward) const {
  int n = PageCount();
  if (n == 0) return nullptr;
  int start = current ? current->PageIndex() : (goForward ? -1 : n);
  for (int step = 1; step <= n; ++step) {
    int i = ((start + (goForward ? step : -step)) % n + n) % n;
    if (pages_[size_t(i)]->tabVisible_) return pages_[size_t(i)];
  }
  return nullptr;
}

void TPageControl::SelectNextPage(bool goForward) {
  TTabSheet* next = FindNextPage(active_, goForward);
  if (!next || next == active_) return;
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  if (!allow) return;
  SetActivePage(next);
  if (OnChange) OnChange(this);
}

// --- TTrackBar ---

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 150, 45);
  SetTabStop(true);
}

QWidget* TTrackBar::CreateWidget(QWidget* parent) {
  auto* s = new QSlider(parent);
  QObject::connect(s, &QSlider::valueChanged, [this](int v) {
    if (syncing_ || v == position_) return;
    GuardedCall([this, v] {
      position_ = v;
      if (OnChange) OnChange(this);
    });
  });
  return s;
}

void TTrackBar::InitWidget() {
  TWinControl::InitWidget();
  Apply();
}

void TTrackBar::Apply() {
  auto* s = static_cast<QSlider*>(ExistingWidget());
  if (!s) return;
  syncing_ = true;
  s->setOrientation(orientation_ == trHorizontal ? Qt::Horizontal : Qt::Vertical);
  s->setRange(min_, max_);
  s->setSingleStep(lineSize_);
  s->setPageStep(pageSize_);
  s->setTickInterval(frequency_);
  QSlider::TickPosition ticks = QSlider::NoTicks;
  if (tickStyle_ != tsNone)
    ticks = tickMarks_ == tmBoth ? QSlider::TicksBothSides : tickMarks_ == tmTopLeft ? QSlider::TicksAbove : QSlider::TicksBelow;
  s->setTickPosition(ticks);
  s->setValue(position_);
  syncing_ = false;
}

void TTrackBar::SetMin(int v) {
  min_ = v;
  if (max_ < min_) max_ = min_;
  SetPosition(position_);
  Apply();
}

void TTrackBar::SetMax(int v) {
  max_ = v;
  if (min_ > max_) min_ = max_;
  SetPosition(position_);
  Apply();
}

void TTrackBar::SetPosition(int v) {
  v = std::clamp(v, min_, max_);
  if (v == position_) return;
  position_ = v;
  Apply();
  if (OnChange && !(ComponentState() & csLoading)) OnChange(this);
}

void TTrackBar::SetFrequency(int v) {
  frequency_ = v;
  Apply();
}
void TTrackBar::SetLineSize(int v) {
  lineSize_ = v;
  Apply();
}
void TTrackBar::SetPageSize(int v) {
  pageSize_ = v;
  Apply();
}
void TTrackBar::SetOrientation(TTrackBarOrientation v) {
  orientation_ = v;
  Apply();
}
void TTrackBar::SetTickStyle(TTickStyle v) {
  tickStyle_ = v;
  Apply();
}
void TTrackBar::SetTickMarks(TTickMark v) {
  tickMarks_ = v;
  Apply();
}

// --- TProgressBar ---

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 150, 16); }

QWidget* TProgressBar::CreateWidget(QWidget* parent) {
  auto* p = new QProgressBar(parent);
  p->setTextVisible(false);
  return p;
}

void TProgressBar::InitWidget() {
  TWinControl::InitWidget();
  Apply();
}

void TProgressBar::Apply() {
  auto* p = static_cast<QProgressBar*>(ExistingWidget());
  if (!p) return;
  p->setOrientation(orientation_ == pbHorizontal ? Qt::Horizontal : Qt::Vertical);
  p->setRange(min_, std::max(min_, max_));
  p->setValue(position_);
}

void TProgressBar::SetMin(int v) {
  min_ = v;
  position_ = std::max(position_, min_);
  Apply();
}

void TProgressBar::SetMax(int v) {
  max_ = v;
  position_ = std::min(position_, max_);
  Apply();
}

void TProgressBar::SetPosition(int v) {
  position_ = std::clamp(v, min_, std::max(min_, max_));
  Apply();
}

void TProgressBar::StepIt() {
  int next = position_ + step_;
  position_ = next > max_ ? min_ + (next - max_) : next;
  position_ = std::clamp(position_, min_, std::max(min_, max_));
  Apply();
}

void TProgressBar::StepBy(int delta) { SetPosition(position_ + delta); }

void TProgressBar::SetOrientation(TProgressBarOrientation v) {
  orientation_ = v;
  Apply();
}

// --- TUpDown ---

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 15, 25); }

QWidget* TUpDown::CreateWidget(QWidget* parent) {
  auto* w = new QWidget(parent);
  auto* up = new QToolButton(w);
  auto* down = new QToolButton(w);
  up->setObjectName("up");
  down->setObjectName("down");
  up->setAutoRepeat(true);
  down->setAutoRepeat(true);
  up->setFocusPolicy(Qt::NoFocus);
  down->setFocusPolicy(Qt::NoFocus);
  QObject::connect(up, &QToolButton::clicked, [this] { GuardedCall([this] { Step(btNext); }); });
  QObject::connect(down, &QToolButton::clicked, [this] { GuardedCall([this] { Step(btPrev); }); });
  return w;
}

void TUpDown::InitWidget() {
  TWinControl::InitWidget();
  ArrangeArrows();
}

void TUpDown::ArrangeArrows() {
  QWidget* w = ExistingWidget();
  if (!w) return;
  auto* up = w->findChild<QToolButton*>("up");
  auto* down = w->findChild<QToolButton*>("down");
  if (orientation_ == udVertical) {
    up->setArrowType(Qt::UpArrow);
    down->setArrowType(Qt::DownArrow);
    up->setGeometry(0, 0, Width(), Height() / 2);
    down->setGeometry(0, Height() / 2, Width(), Height() - Height() / 2);
  } else {
    up->setArrowType(Qt::RightArrow);
    down->setArrowType(Qt::LeftArrow);
    down->setGeometry(0, 0, Width() / 2, Height());
    up->setGeometry(Width() / 2, 0, Width() - Width() / 2, Height());
  }
}

int TUpDown::Position() const {
  // The associated edit may have been typed into: its number is the position.
  if (auto* edit = dynamic_cast<TEdit*>(associate_)) {
    std::string digits;
    for (char ch : edit->Text()) {
      if (ch != ' ' && ch != ',' && ch != '\xA0') digits += ch;
    }
    try {
      size_t used = 0;
      int v = std::stoi(digits, &used);
      if (used == digits.size()) return std::clamp(v, min_, max_);
    } catch (const std::logic_error&) {
    }
  }
  return position_;
}

void TUpDown::SetPosition(int v) {
  position_ = std::clamp(v, std::min(min_, max_), std::max(min_, max_));
  UpdateAssociate();
}

void TUpDown::SetMin(int v) {
  min_ = v;
  SetPosition(position_);
}

void TUpDown::SetMax(int v) {
  max_ = v;
  SetPosition(position_);
}

void TUpDown::SetThousands(bool v) {
  thousands_ = v;
  UpdateAssociate();
}

void TUpDown::SetAlignButton(TUDAlignButton v) {
  alignButton_ = v;
  PlaceBesideAssociate();
}

void TUpDown::SetOrientation(TUDOrientation v) {
  orientation_ = v;
  ArrangeArrows();
}

void TUpDown::Step(TUDBtnType button) {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  if (!allow) return;
  int pos = Position() + (button == btNext ? increment_ : -increment_);
  if (pos > max_) pos = wrap_ ? min_ : max_;
  if (pos < min_) pos = wrap_ ? max_ : min_;
  SetPosition(pos);
  if (OnClick) OnClick(this, button);
}

void TUpDown::SetAssociate(TWinControl* control) {
  if (associate_) associate_->RemoveFreeNotification(this);
  associate_ = control;
  if (!control) return;
  control->FreeNotification(this);
  PlaceBesideAssociate();
  UpdateAssociate();
}

void TUpDown::PlaceBesideAssociate() {
  if (!associate_ || associate_->Parent() != Parent()) return;
  TWinControl* a = associate_;
  // The arrows take the edit's place at its side; the edit gives up that width.
  int width = Width();
  if (alignButton_ == udRight) {
    a->SetWidth(std::max(a->Width() - width, 0));
    SetBounds(a->Left() + a->Width(), a->Top(), width, a->Height());
  } else {
    SetBounds(a->Left(), a->Top(), width, a->Height());
    a->SetBounds(a->Left() + width, a->Top(), std::max(a->Width() - width, 0), a->Height());
  }
  ArrangeArrows();
}

void TUpDown::UpdateAssociate() {
  if (!associate_) return;
  std::string text = std::to_string(position_);
  if (thousands_) {
    bool neg = !text.empty() && text[0] == '-';
    std::string digits = neg ? text.substr(1) : text, grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
      if (i && (digits.size() - i) % 3 == 0) grouped += '\xA0';
      grouped += digits[i];
    }
    text = (neg ? "-" : "") + grouped;
  }
  associate_->SetText(text);
}

void TUpDown::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == associate_) associate_ = nullptr;
}

// --- TStatusPanel / TStatusBar ---

void TStatusPanel::SetText(const std::string& v) {
  if (v == text_) return;
  text_ = v;
  Changed();
}
void TStatusPanel::SetWidth(int v) {
  width_ = v;
  Changed();
}
void TStatusPanel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Changed();
}
void TStatusPanel::SetStyle(TStatusPanelStyle v) {
  style_ = v;
  Changed();
}
void TStatusPanel::SetBevel(TStatusPanelBevel v) {
  bevel_ = v;
  Changed();
}

TStatusBar::TStatusBar(TComponent* owner)
    : TCustomControl(owner), panels_(std::make_unique<TOwnedCollection<TStatusPanel>>([this] { Invalidate(); })) {
  SetBounds(0, 0, 200, 19);
  SetAlign(alBottom);
}

TStatusBar::~TStatusBar() { DestroyWidget(); }

void TStatusBar::SetSimplePanel(bool v) {
  simplePanel_ = v;
  Invalidate();
}

void TStatusBar::SetSimpleText(const std::string& v) {
  simpleText_ = v;
  Invalidate();
}

void TStatusBar::SetSizeGrip(bool v) {
  sizeGrip_ = v;
  Invalidate();
}

TRect TStatusBar::PanelRect(int index) const {
  int x = 0;
  for (int i = 0; i < panels_->Count(); ++i) {
    int w = i == panels_->Count() - 1 ? std::max(Width() - x, 0) : panels_->Items(i)->Width();
    if (i == index) return Rect(x, 2, x + w - 2, Height());
    x += w;
  }
  return {};
}

int TStatusBar::PanelAt(int x) const {
  if (simplePanel_) return -1;
  for (int i = 0; i < panels_->Count(); ++i) {
    TRect r = PanelRect(i);
    if (x >= r.Left && x < r.Right + 2) return i;
  }
  return -1;
}

void TStatusBar::Paint() {
  TCanvas& c = *Canvas();
  c.Brush()->SetColor(Color());
  c.FillRect(ClientRect());
  auto drawText = [&](const std::string& text, TRect r, TAlignment a) {
    c.Brush()->SetStyle(bsClear);
    r.Left += 2;
    r.Right -= 2;
    c.DrawText(text, r, DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS |
                            (a == taCenter ? DT_CENTER : a == taRightJustify ? DT_RIGHT : DT_LEFT));
  };
  if (simplePanel_) {
    drawText(simpleText_, Rect(0, 2, Width(), Height()), taLeftJustify);
    return;
  }
  for (int i = 0; i < panels_->Count(); ++i) {
    TStatusPanel* panel = panels_->Items(i);
    TRect r = PanelRect(i);
    if (panel->Bevel() != pbNone) {
      TRect frame = r;
      bool lowered = panel->Bevel() == pbLowered;
      Frame3D(c, frame, lowered ? clBtnShadow : clBtnHighlight, lowered ? clBtnHighlight : clBtnShadow, 1);
    }
    TRect inner = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    if (panel->Style() == psOwnerDraw) {
      if (OnDrawPanel) OnDrawPanel(this, panel, inner);
    } else {
      drawText(panel->Text(), inner, panel->Alignment());
    }
  }
}
