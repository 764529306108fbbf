#include "platform/gui/menus.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QWidgetAction>
#include <algorithm>

#include "platform/exceptions.h"
#include "platform/gui/application.h"
#include "platform/gui/graphics.h"
#include "platform/gui/image_list.h"
#include "platform/gui/qt_bridge.h"

QM_CLASS_INFO(TMenuItem, TComponent, [](TClassBuilder<TMenuItem>& c) {
  c.String("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
  c.String("Hint", &TMenuItem::Hint, &TMenuItem::SetHint);
  c.Integer("ShortCut", &TMenuItem::ShortCut, [](TMenuItem& m, int v) { m.SetShortCut(TShortCut(v)); });
  c.Boolean("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked);
  c.Boolean("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem);
  c.Boolean("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck);
  c.Integer("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex);
  c.Boolean("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled);
  c.Boolean("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible);
  c.Boolean("Default", &TMenuItem::Default, &TMenuItem::SetDefault);
  c.Integer("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex);
  c.Integer("HelpContext", &TMenuItem::HelpContext, &TMenuItem::SetHelpContext);
  c.Component<TBasicAction>("Action", &TMenuItem::Action, &TMenuItem::SetAction);
  c.Event("OnClick", &TMenuItem::OnClick);
  c.Event("OnDrawItem", &TMenuItem::OnDrawItem);
  c.Event("OnMeasureItem", &TMenuItem::OnMeasureItem);
})

namespace {

constexpr const char* kColumnsName = "qm_menu_columns";

// True while the component's owner frees all its components (this one goes with them).
bool OwnerDestroying(const TComponent& component) {
  return component.Owner() && (component.Owner()->ComponentState() & csDestroying);
}

// The widget of an owner-drawn item: sized and painted by the item's menu.
class TMenuItemView : public QWidget {
public:
  explicit TMenuItemView(TMenuItem* item) : item_(item) { setMouseTracking(true); }

  QSize sizeHint() const override {
    TCanvas canvas;
    int width = 0, height = 0;
    GuardedCall([&] {
      if (TMenu* menu = item_->GetParentMenu()) menu->MeasureMenuItem(item_, &canvas, width, height);
    });
    return QSize(width, height);
  }

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    TCanvas canvas;
    canvas.Attach(&painter, Rect(0, 0, width(), height()));
    TOwnerDrawState state = (hover_ && item_->Enabled() ? odSelected : 0) | (item_->Enabled() ? 0 : odDisabled | odGrayed) |
                            (item_->Checked() ? odChecked : 0) | (item_->Default() ? odDefault : 0);
    GuardedCall([&] {
      if (TMenu* menu = item_->GetParentMenu()) menu->DrawMenuItem(item_, &canvas, Rect(0, 0, width(), height()), state);
    });
    canvas.Detach();
  }
  void enterEvent(QEnterEvent*) override {
    hover_ = true;
    update();
  }
  void leaveEvent(QEvent*) override {
    hover_ = false;
    update();
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() != Qt::LeftButton || !item_->Enabled() || item_->IsLine()) return;
    // Close the whole menu chain first, as choosing a native item does.
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    TMenuItem* item = item_;
    GuardedCall([item] { item->Click(); });
  }

private:
  TMenuItem* item_;
  bool hover_ = false;
};

// Items with column breaks as one grid of flat buttons, a column begun by each break (with a
// bar for a bar break): Qt menus only wrap, they know no breaks of their own.
QWidgetAction* MenuColumns(QMenu* menu, const std::vector<TMenuItem*>& items, bool ownerDraw) {
  auto* grid = new QWidget;
  auto* row = new QHBoxLayout(grid);
  row->setContentsMargins(2, 2, 2, 2);
  row->setSpacing(2);
  QVBoxLayout* column = nullptr;
  for (TMenuItem* item : items) {
    if (!item->Visible()) continue;
    if (!column || item->Break() != mbNone) {
      if (column) column->addStretch();
      if (column && item->Break() == mbBarBreak) {
        auto* bar = new QFrame;
        bar->setFrameShape(QFrame::VLine);
        bar->setFrameShadow(QFrame::Sunken);
        row->addWidget(bar);
      }
      column = new QVBoxLayout;
      column->setSpacing(0);
      row->addLayout(column);
    }
    if (item->IsLine()) {
      auto* line = new QFrame;
      line->setFrameShape(QFrame::HLine);
      line->setFrameShadow(QFrame::Sunken);
      column->addWidget(line);
      continue;
    }
    if (ownerDraw) {
      column->addWidget(new TMenuItemView(item));
      continue;
    }
    auto* button = new QToolButton;
    button->setAutoRaise(true);
    button->setText(ToQCaption(item->Caption()));
    button->setEnabled(item->Enabled());
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    QFont font = button->font();
    font.setBold(item->Default());
    button->setFont(font);
    QObject::connect(button, &QToolButton::clicked, grid, [item] {
      // The whole menu closes, as after any menu choice, before the item runs.
      while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
      GuardedCall([item] { item->Click(); });
    });
    column->addWidget(button);
  }
  if (column) column->addStretch();
  auto* action = new QWidgetAction(menu);
  action->setObjectName(kColumnsName);
  action->setDefaultWidget(grid);
  return action;
}

}  // namespace

QM_CLASS_INFO(TMenu, TComponent, [](TClassBuilder<TMenu>& c) {
  c.Component<TImageList>("Images", &TMenu::Images, &TMenu::SetImages);
  c.Boolean("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw);
})

QM_CLASS_INFO(TMainMenu, TMenu, [](TClassBuilder<TMainMenu>&) {})

QM_CLASS_INFO(TPopupMenu, TMenu, [](TClassBuilder<TPopupMenu>& c) {
  c.Boolean("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup);
  c.Enum<TPopupAlignment>("Alignment", {"paLeft", "paRight", "paCenter"}, &TPopupMenu::Alignment, &TPopupMenu::SetAlignment);
  c.Event("OnPopup", &TPopupMenu::OnPopup);
})

std::string StripHotkey(const std::string& caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') out += '&', ++i;
      continue;
    }
    out += caption[i];
  }
  return out;
}

// --- TMenuItem ---

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
  Destroying();
  SetAction(nullptr);
  // Sub-items owned elsewhere stay alive but leave this menu; owned ones die with the owner.
  for (TMenuItem* item : items_) item->parent_ = nullptr;
  items_.clear();
  if (parent_) parent_->Remove(this);
  delete qmenu_;
  delete qaction_;
  delete qdrawn_;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (auto* item = dynamic_cast<TMenuItem*>(parent)) item->Add(this);
  else if (auto* menu = dynamic_cast<TMenu*>(parent)) menu->Items()->Add(this);
  else TComponent::SetParentComponent(parent);
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* item = this;
  while (item->parent_) item = item->parent_;
  return item->menu_;
}

void TMenuItem::Changed(bool structure) {
  UpdateQtAction();
  if (TMenu* menu = GetParentMenu()) menu->MenuChanged(structure);
}

void TMenuItem::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  bool lineChange = (caption == "-") != IsLine();
  caption_ = caption;
  Changed(lineChange);
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
  shortCut_ = shortCut;
  ownShortCut_ = true;
  Changed(false);
}

void TMenuItem::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  if (checked && radioItem_ && parent_)
    for (TMenuItem* sibling : parent_->items_)
      if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_ && sibling->checked_) {
        sibling->checked_ = false;
        sibling->UpdateQtAction();
      }
  Changed(false);
}

void TMenuItem::SetRadioItem(bool v) {
  radioItem_ = v;
  Changed(false);
}
void TMenuItem::SetEnabled(bool v) {
  enabled_ = v;
  Changed(false);
}
void TMenuItem::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Changed(true);
}
void TMenuItem::SetDefault(bool v) {
  default_ = v;
  Changed(false);
}
void TMenuItem::SetImageIndex(int v) {
  imageIndex_ = v;
  Changed(false);
}

void TMenuItem::SetAction(TBasicAction* action) { LinkAction(this, action_, action); }

void TMenuItem::ActionChanged() {
  auto* a = dynamic_cast<TAction*>(action_);
  if (!a) return;
  caption_ = a->Caption();
  hint_ = a->Hint();
  if (!ownShortCut_) shortCut_ = a->ShortCut();
  enabled_ = a->Enabled();
  checked_ = a->Checked();
  imageIndex_ = a->ImageIndex();
  bool visibleChange = visible_ != a->Visible();
  visible_ = a->Visible();
  Changed(visibleChange);
}

void TMenuItem::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == action_) action_ = nullptr;
}

int TMenuItem::MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : int(it - items_.begin());
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (item->parent_) throw EInvalidOperation("Menu inserted twice");
  if (index < 0 || index > Count()) throw EInvalidOperation("Menu index out of range");
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  Changed(true);
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
  if (qmenu_ && item->qaction_) qmenu_->removeAction(item->qaction_);
  // While the owner frees all its components, nothing left shows this menu again: updating
  // it for every item removed would rebuild the menu bar once per item.
  if (!(ComponentState() & csDestroying) && !OwnerDestroying(*this)) Changed(true);
}

void TMenuItem::Delete(int index) {
  if (index < 0 || index >= Count()) throw EInvalidOperation("Menu index out of range");
  Remove(items_[size_t(index)]);
}

void TMenuItem::Clear() {
  while (!items_.empty()) delete items_.back();
}

TMenuItem* TMenuItem::Find(const std::string& caption) const {
  std::string wanted = StripHotkey(caption);
  for (TMenuItem* item : items_)
    if (SameName(StripHotkey(item->caption_), wanted)) return item;
  return nullptr;
}

void TMenuItem::Click() {
  if (!CommandAllowedNow(this)) return;
  if (autoCheck_ && !action_) SetChecked(!checked_);
  if (action_) action_->Execute();
  else if (OnClick) OnClick(this);
}

QAction* TMenuItem::QtAction() {
  if (!qaction_) {
    qaction_ = new QAction;
    QObject::connect(qaction_, &QAction::triggered, [this] { GuardedCall([this] { Click(); }); });
    QObject::connect(qaction_, &QAction::hovered, [this] {
      size_t bar = hint_.find('|');
      Application->SetHint(bar == std::string::npos ? hint_ : hint_.substr(bar + 1));
    });
    UpdateQtAction();
  }
  return qaction_;
}

QMenu* TMenuItem::QtMenu() {
  if (!qmenu_) {
    qmenu_ = new QMenu;
    // Opening a submenu clicks its item first (so handlers can fill it), then shows its items.
    QObject::connect(qmenu_, &QMenu::aboutToShow, [this] {
      GuardedCall([this] {
        if (OnClick) OnClick(this);
        BuildQtMenu(qmenu_);
      });
    });
  }
  return qmenu_;
}

void TMenuItem::UpdateQtAction() {
  if (!qaction_) return;
  QString text = ToQ(caption_);
  if (shortCut_) text += "\t" + ToQ(ShortCutToText(shortCut_));
  // A line carries no text: styles draw a separator's text as a section heading ("-").
  qaction_->setText(IsLine() ? QString() : text);
  qaction_->setSeparator(IsLine());
  qaction_->setCheckable(checked_ || radioItem_ || autoCheck_);
  qaction_->setChecked(checked_);
  qaction_->setEnabled(enabled_);
  qaction_->setVisible(visible_);
  qaction_->setStatusTip(ToQ(hint_));
  QFont f = qaction_->font();
  f.setBold(default_);
  qaction_->setFont(f);
  TMenu* menu = GetParentMenu();
  if (menu && menu->Images() && imageIndex_ >= 0 && imageIndex_ < menu->Images()->Count())
    qaction_->setIcon(menu->Images()->QtIcon(imageIndex_));
  else
    qaction_->setIcon(QIcon());
  if (!items_.empty()) qaction_->setMenu(QtMenu());
}

void TMenuItem::BuildQtMenu(QMenu* menu) {
  for (QAction* a : menu->actions()) {
    menu->removeAction(a);
    if (a->objectName() == kColumnsName) a->deleteLater();
  }
  if (std::any_of(items_.begin(), items_.end(), [](TMenuItem* item) { return item->visible_ && item->break_ != mbNone; })) {
    TMenu* owner = GetParentMenu();
    menu->addAction(MenuColumns(menu, items_, owner && owner->OwnerDraw()));
    return;
  }
  TMenu* owner = GetParentMenu();
  bool ownerDraw = owner && owner->OwnerDraw();
  for (TMenuItem* item : items_) {
    if (!item->visible_) continue;
    if (ownerDraw && item->items_.empty()) {
      if (!item->qdrawn_) {
        auto* drawn = new QWidgetAction(nullptr);
        drawn->setDefaultWidget(new TMenuItemView(item));
        item->qdrawn_ = drawn;
      }
      menu->addAction(item->qdrawn_);
      continue;
    }
    QAction* a = item->QtAction();
    item->UpdateQtAction();
    menu->addAction(a);
  }
}

void TMenuItem::DrawItem(TCanvas* canvas, const TRect& rect, TOwnerDrawState state) {
  if (OnDrawItem) {
    OnDrawItem(this, canvas, rect, state & odSelected);
    return;
  }
  bool selected = state & odSelected;
  canvas->Brush()->SetColor(selected ? clHighlight : clMenu);
  canvas->FillRect(rect);
  if (IsLine()) {
    canvas->Pen()->SetColor(clBtnShadow);
    int y = (rect.Top + rect.Bottom) / 2;
    canvas->MoveTo(rect.Left + 2, y);
    canvas->LineTo(rect.Right - 2, y);
    return;
  }
  canvas->Font()->SetColor((state & odDisabled) ? clGrayText : selected ? clHighlightText : clMenuText);
  canvas->Font()->SetStyle((state & odDefault) ? fsBold : 0);
  canvas->Brush()->SetStyle(bsClear);
  TRect text = Rect(rect.Left + 20, rect.Top, rect.Right - 8, rect.Bottom);
  if (state & odChecked) {
    // A bullet for radio items, a tick for the others, in the text colour.
    int cx = rect.Left + 10, cy = (rect.Top + rect.Bottom) / 2;
    canvas->Pen()->SetColor(canvas->Font()->Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(canvas->Font()->Color());
    if (radioItem_) canvas->Ellipse(cx - 3, cy - 3, cx + 3, cy + 3);
    else canvas->Polyline({{cx - 4, cy}, {cx - 1, cy + 3}, {cx + 4, cy - 3}});
    canvas->Brush()->SetStyle(bsClear);
  }
  canvas->DrawText(caption_, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  if (shortCut_) canvas->DrawText(ShortCutToText(shortCut_), text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void TMenuItem::MeasureItem(TCanvas* canvas, int& width, int& height) {
  if (IsLine()) {
    width = 20;
    height = 8;
  } else {
    std::string shortcut = shortCut_ ? ShortCutToText(shortCut_) : std::string();
    width = 20 + canvas->TextWidth(StripHotkey(caption_)) + (shortcut.empty() ? 0 : 24 + canvas->TextWidth(shortcut)) + 8;
    height = canvas->TextHeight("Wg") + 6;
  }
  if (OnMeasureItem) OnMeasureItem(this, canvas, width, height);
}

// --- TMenu ---

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) { items_->menu_ = this; }

TMenu::~TMenu() {
  Destroying();
  DestroyComponents();
  delete items_;
}

void TMenu::SetImages(TImageList* images) {
  if (images_) images_->RemoveFreeNotification(this);
  images_ = images;
  if (images) images->FreeNotification(this);
  MenuChanged(false);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

namespace {

TMenuItem* FindShortCut(TMenuItem* root, TShortCut shortCut) {
  for (int i = 0; i < root->Count(); ++i) {
    TMenuItem* item = root->Items(i);
    if (!item->Visible()) continue;
    if (item->ShortCut() == shortCut && item->Enabled()) return item;
    // The items of a disabled submenu are out of reach, keys included.
    if (!item->Enabled()) continue;
    if (TMenuItem* found = FindShortCut(item, shortCut)) return found;
  }
  return nullptr;
}

}  // namespace

bool TMenu::IsShortCut(TShortCut shortCut) {
  if (!shortCut) return false;
  TMenuItem* item = FindShortCut(items_, shortCut);
  if (!item) return false;
  if (auto* a = dynamic_cast<TAction*>(item->Action())) a->Update();
  if (!item->Enabled()) return false;
  item->Click();
  return true;
}

// --- TMainMenu ---

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

TMainMenu::~TMainMenu() {
  Destroying();
  DestroyComponents();
  delete bar_;
}

QMenuBar* TMainMenu::QtMenuBar(QWidget* parent) {
  if (!bar_) {
    bar_ = new QMenuBar(parent);
    QObject::connect(bar_, &QObject::destroyed, [this] { bar_ = nullptr; });
    Rebuild();
  } else if (bar_->parentWidget() != parent) {
    bar_->setParent(parent);
  }
  return bar_;
}

void TMainMenu::MenuChanged(bool structure) {
  if (bar_ && structure && !(ComponentState() & csDestroying) && !OwnerDestroying(*this)) Rebuild();
}

void TMainMenu::Rebuild() {
  bar_->clear();
  for (int i = 0; i < Items()->Count(); ++i) {
    TMenuItem* item = Items()->Items(i);
    if (!item->Visible()) continue;
    QAction* a = item->QtAction();
    bar_->addAction(a);
  }
}

// --- TPopupMenu ---

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

TPopupMenu::~TPopupMenu() {
  Destroying();
  DestroyComponents();
  delete qmenu_;
}

QMenu* TPopupMenu::QtMenu() {
  if (!qmenu_) qmenu_ = new QMenu;
  return qmenu_;
}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  QMenu* menu = QtMenu();
  Items()->BuildQtMenu(menu);
  QPoint at(x, y);
  if (alignment_ == TPopupAlignment::paRight) at.rx() -= menu->sizeHint().width();
  else if (alignment_ == TPopupAlignment::paCenter) at.rx() -= menu->sizeHint().width() / 2;
  menu->popup(at);
}

std::string MenuItemUnreachable(const TMenuItem& item) {
  // From the top, as a user goes; the menu's own root item (no parent) is never shown.
  std::vector<const TMenuItem*> way;
  for (const TMenuItem* at = &item; at && at->Parent(); at = at->Parent()) way.insert(way.begin(), at);
  for (const TMenuItem* at : way) {
    const std::string name = at == &item ? "it" : "its menu " + StripHotkey(at->Caption());
    if (!at->Visible()) return name + " is hidden";
    if (!at->Enabled()) return name + " is disabled";
  }
  return {};
}
