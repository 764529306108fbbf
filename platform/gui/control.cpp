#include "platform/gui/control.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/gui/keyboard_layouts.h"
#include "platform/gui/menus.h"
#include "platform/gui/mnemonics.h"
#include "platform/gui/qt_bridge.h"

namespace {

const char* const kControlProperty = "qmControl";
// Alt held during a mouse message: Windows reads it from the key state, here it travels in the
// message's key flags.
constexpr uintptr_t MK_ALT = 0x1000;

// Set while a key event is sent on to the widget after our handlers saw it, so that the
// widget's parents do not handle it a second time.
bool gRedispatching = false;

}  // namespace

QM_CLASS_INFO(TControl, TComponent, [](TClassBuilder<TControl>& c) {
  c.Integer("Left", &TControl::Left, &TControl::SetLeft);
  c.Integer("Top", &TControl::Top, &TControl::SetTop);
  c.Integer("Width", &TControl::Width, &TControl::SetWidth);
  c.Integer("Height", &TControl::Height, &TControl::SetHeight);
  c.Integer("ClientWidth", &TControl::ClientWidth, &TControl::SetClientWidth);
  c.Integer("ClientHeight", &TControl::ClientHeight, &TControl::SetClientHeight);
  c.Boolean("Visible", &TControl::Visible, &TControl::SetVisible);
  c.Boolean("Enabled", &TControl::Enabled, &TControl::SetEnabled);
  c.String("Caption", &TControl::Caption, &TControl::SetCaption);
  c.String("Text", &TControl::GetText, &TControl::SetText);
  c.String("Hint", &TControl::Hint, &TControl::SetHint);
  c.Boolean("ShowHint", &TControl::ShowHint, &TControl::SetShowHint);
  c.Enum<TAlign>("Align", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"}, &TControl::Align, &TControl::SetAlign);
  c.Set<TAnchors>("Anchors", {"akLeft", "akTop", "akRight", "akBottom"}, &TControl::Anchors, &TControl::SetAnchors);
  c.Object("Font", &TControl::Font);
  c.Boolean("ParentFont", &TControl::ParentFont, &TControl::SetParentFont);
  c.Color("Color", &TControl::Color, &TControl::SetColor);
  c.Boolean("ParentColor", &TControl::ParentColor, &TControl::SetParentColor);
  c.Component<TPopupMenu>("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
  c.Integer("Cursor", &TControl::Cursor, &TControl::SetCursor);
  c.Component<TBasicAction>("Action", &TControl::Action, &TControl::SetAction);
  c.Event("OnClick", &TControl::OnClick);
  c.Event("OnDblClick", &TControl::OnDblClick);
  c.Event("OnResize", &TControl::OnResize);
  c.Event("OnMouseDown", &TControl::OnMouseDown);
  c.Event("OnMouseUp", &TControl::OnMouseUp);
  c.Event("OnMouseMove", &TControl::OnMouseMove);
  c.Event("OnContextPopup", &TControl::OnContextPopup);
  c.Event("OnMouseWheel", &TControl::OnMouseWheel);
})

QM_CLASS_INFO(TWinControl, TControl, [](TClassBuilder<TWinControl>& c) {
  c.Integer("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder);
  c.Boolean("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop);
  c.Event("OnEnter", &TWinControl::OnEnter);
  c.Event("OnExit", &TWinControl::OnExit);
  c.Event("OnKeyDown", &TWinControl::OnKeyDown);
  c.Event("OnKeyUp", &TWinControl::OnKeyUp);
  c.Event("OnKeyPress", &TWinControl::OnKeyPress);
})

QM_CLASS_INFO(TCustomControl, TWinControl, [](TClassBuilder<TCustomControl>&) {})
QM_CLASS_INFO(TGraphicControl, TControl, [](TClassBuilder<TGraphicControl>&) {})

// --- TControlBridge ---

TControlBridge::TControlBridge(TControl* control, QWidget* widget) : control_(control) {
  widget->setProperty(kControlProperty, QVariant::fromValue<void*>(control));
  widget->installEventFilter(this);
  for (QWidget* inner : widget->findChildren<QWidget*>()) Adopt(inner);
}

void TControlBridge::Adopt(QWidget* inner) {
  if (inner->property(kControlProperty).isValid()) return;
  inner->setAttribute(Qt::WA_NoMousePropagation);
  inner->installEventFilter(this);
}

bool TControlBridge::eventFilter(QObject* watched, QEvent* event) {
  bool handled = false;
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      if (gRedispatching) return false;
      return HandleKey(static_cast<QKeyEvent*>(event), watched);
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
      return HandleMouse(static_cast<QMouseEvent*>(event));
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
      auto reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) return false;
      // Focus moving between the inner widgets of one control is no enter or exit.
      QWidget* other = QApplication::focusWidget();
      if (event->type() == QEvent::FocusOut && other && FindControl(other) == control_) return false;
      GuardedCall([&] { control_->Perform(event->type() == QEvent::FocusIn ? WM_SETFOCUS : WM_KILLFOCUS); });
      return false;
    }
    case QEvent::Resize:
    case QEvent::Move:
      if (watched == control_->widget_) {
        QWidget* w = control_->widget_;
        QRect g = w->isWindow() ? QRect(w->pos(), w->size()) : w->geometry();
        GuardedCall([&] { control_->UpdateBoundsFromWidget(g.x(), g.y(), g.width(), g.height()); });
      }
      return false;
    case QEvent::Enter:
    case QEvent::Leave:
      if (watched != control_->widget_) return false;
      GuardedCall([&] {
        bool enter = event->type() == QEvent::Enter;
        control_->Perform(enter ? CM_MOUSEENTER : CM_MOUSELEAVE);
        // The long part of the hint (after '|') goes to the application, for status bars.
        const std::string& hint = control_->Hint();
        size_t bar = hint.find('|');
        Application->SetHint(enter ? (bar == std::string::npos ? hint : hint.substr(bar + 1)) : std::string());
      });
      return false;
    case QEvent::Wheel: {
      auto* e = static_cast<QWheelEvent*>(event);
      TMessage m;
      m.Msg = WM_MOUSEWHEEL;
      TShiftState shift = ShiftFromQt(e->modifiers(), e->buttons());
      m.WParam = (uintptr_t(uint16_t(int16_t(e->angleDelta().y()))) << 16) | ((shift & ssShift) ? MK_SHIFT : 0) |
                 ((shift & ssCtrl) ? MK_CONTROL : 0);
      QPoint g = e->globalPosition().toPoint();
      m.LParam = MakeLParam(g.x(), g.y());
      GuardedCall([&] { control_->WindowProc(m); });
      return m.Result != 0;
    }
    case QEvent::ContextMenu: {
      auto* e = static_cast<QContextMenuEvent*>(event);
      GuardedCall([&] {
        QPoint local = control_->widget_ ? control_->widget_->mapFromGlobal(e->globalPos()) : e->pos();
        handled = control_->DoContextPopup(Point(local.x(), local.y()), Point(e->globalPos().x(), e->globalPos().y()));
      });
      return handled;
    }
    default: return false;
  }
}

bool TControlBridge::HandleMouse(QMouseEvent* e) {
  QPoint p = control_->widget_ ? control_->widget_->mapFromGlobal(e->globalPosition().toPoint()) : e->position().toPoint();
  TMessage m;
  auto button = e->button();
  int base = button == Qt::RightButton ? WM_RBUTTONDOWN : button == Qt::MiddleButton ? WM_MBUTTONDOWN : WM_LBUTTONDOWN;
  switch (e->type()) {
    case QEvent::MouseButtonPress: m.Msg = base; break;
    case QEvent::MouseButtonRelease: m.Msg = base + 1; break;
    case QEvent::MouseButtonDblClick: m.Msg = base + 2; break;
    default: m.Msg = WM_MOUSEMOVE; break;
  }
  auto buttons = e->buttons();
  m.WParam = ((buttons & Qt::LeftButton) ? MK_LBUTTON : 0) | ((buttons & Qt::RightButton) ? MK_RBUTTON : 0) |
             ((buttons & Qt::MiddleButton) ? MK_MBUTTON : 0) |
             ((e->modifiers() & Qt::ShiftModifier) ? MK_SHIFT : 0) |
             ((e->modifiers() & Qt::ControlModifier) ? MK_CONTROL : 0) |
             ((e->modifiers() & Qt::AltModifier) ? MK_ALT : 0);
  m.LParam = MakeLParam(p.x(), p.y());
  GuardedCall([&] { control_->WindowProc(m); });
  return m.Result != 0;
}

bool TControlBridge::HandleKey(QKeyEvent* e, QObject* watched) {
  auto* win = dynamic_cast<TWinControl*>(control_);
  if (!win) return false;
  bool press = e->type() == QEvent::KeyPress;
  TShiftState shift = ShiftFromQt(e->modifiers());
  uint16_t vk = VirtualKeyFromQt(e->key(), e->modifiers());
  bool consumed = false;
  QString text = e->text();
  GuardedCall([&] {
    if (vk) {
      TMessage m{press ? WM_KEYDOWN : WM_KEYUP, vk, intptr_t(shift), 0};
      win->WindowProc(m);
      if (m.WParam == 0) consumed = true;
    }
    if (!consumed && press && text.size() == 1 && !(shift & (ssCtrl | ssAlt))) {
      char16_t wide = char16_t(text.at(0).unicode());
      bool lossy = false;
      std::string ansi = WideToAnsi(std::u16string_view(&wide, 1), CP_ACP, &lossy);
      if (!lossy && ansi.size() == 1) {
        TMessage m{WM_CHAR, uintptr_t(static_cast<unsigned char>(ansi[0])), intptr_t(shift), 0};
        win->WindowProc(m);
        if (m.WParam == 0) consumed = true;
        else if (char(m.WParam) != ansi[0]) text = ToQ(std::string(1, char(m.WParam)));
      }
    }
  });
  if (consumed) return true;
  // Alt with a character key is a mnemonic, never text; a key that names none beeps.
  const bool alt = (e->modifiers() & Qt::AltModifier) && !(e->modifiers() & Qt::ControlModifier);
  if (alt && !text.isEmpty() && text.at(0).isPrint()) {
    if (press)
      GuardedCall([&] {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || !TriggerMnemonic(widget->window(), *e)) MessageBeep();
      });
    return true;
  }
  // Hand the (possibly changed) key on to the widget; its parents must not see it again.
  QKeyEvent copy(e->type(), e->key(), e->modifiers(), text, e->isAutoRepeat(), ushort(e->count()));
  gRedispatching = true;
  QCoreApplication::sendEvent(watched, &copy);
  gRedispatching = false;
  e->setAccepted(copy.isAccepted());
  return true;
}

// --- TPaintWidget ---

TPaintWidget::TPaintWidget(TControl* control, TCanvas* canvas, std::function<void()> paint, QWidget* parent)
    : QWidget(parent), control_(control), canvas_(canvas), paint_(std::move(paint)) {}

void TPaintWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  QRect r = event->rect();
  canvas_->Attach(&painter, Rect(r.left(), r.top(), r.right() + 1, r.bottom() + 1));
  canvas_->Font()->Assign(*control_->Font());
  canvas_->Brush()->SetColor(control_->Color());
  GuardedCall(paint_);
  canvas_->Detach();
}

TControl* FindControl(QWidget* widget) {
  for (QWidget* w = widget; w; w = w->parentWidget()) {
    QVariant v = w->property(kControlProperty);
    if (v.isValid()) return static_cast<TControl*>(v.value<void*>());
  }
  return nullptr;
}

TWinControl* FocusedControl() {
  QWidget* focus = QApplication::focusWidget();
  return focus ? dynamic_cast<TWinControl*>(FindControl(focus)) : nullptr;
}

// --- TControl ---

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
  EnsureGuiApplication();
  WindowProc = [this](TMessage& m) { WndProc(m); };
  font_->OnChange = [this](TObject*) {
    parentFont_ = false;
    FontChanged();
  };
}

TControl::~TControl() {
  Destroying();
  SetAction(nullptr);
  if (parent_) parent_->RemoveControl(this);
  parent_ = nullptr;
  DestroyWidget();
}

void TControl::SetParentComponent(TComponent* parent) {
  auto* win = dynamic_cast<TWinControl*>(parent);
  if (!win) TComponent::SetParentComponent(parent);
  SetParent(win);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (parent_) parent_->RemoveControl(this);
  parent_ = parent;
  if (parent_) {
    parent_->InsertControl(this);
    if (parentFont_ || parentColor_) ParentFontOrColorChanged();
    if (parent_->WidgetCreated()) {
      if (widget_) parent_->PlaceChildWidget(this);
      else Widget();
    }
    RequestAlign();
  } else if (widget_ && !widget_->isWindow()) {
    widget_->hide();
    widget_->setParent(nullptr);
  }
}

TCustomForm* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

QWidget* TControl::Widget() {
  if (widget_) return widget_;
  if (parent_) {
    parent_->Widget();  // the parent's widget makes its children's
    if (widget_) return widget_;
  }
  EnsureGuiApplication();
  // Made inside its final host: a widget re-parented after it has inner children has Qt
  // resolve the fonts and palettes of all of them again.
  QWidget* w = CreateWidget(parent_ ? parent_->ChildHost(this) : nullptr);
  widget_ = w;
  // Mouse messages go to the window under the mouse only, never on to its parent.
  w->setAttribute(Qt::WA_NoMousePropagation);
  bridge_ = std::make_unique<TControlBridge>(this, w);
  QObject::connect(w, &QObject::destroyed, bridge_.get(), [this, w] {
    if (widget_ == w) ForgetWidget();
  });
  InitWidget();
  if (parent_) parent_->PlaceChildWidget(this);
  return widget_;
}

void TControl::ForgetWidget() { widget_ = nullptr; }

void TControl::AdoptInnerWidget(QWidget* inner) {
  if (bridge_) bridge_->Adopt(inner);
}

void TControl::InitWidget() {
  ApplyGeometry();
  ApplyFontAndColor();
  widget_->setEnabled(enabled_);
  SetHint(hint_);
  if (cursor_ != crDefault) widget_->setCursor(ToQtCursor(cursor_));
  widget_->setAttribute(Qt::WA_TransparentForMouseEvents, mouseTransparent_);
  TextChanged();
  if (!widget_->isWindow()) widget_->setVisible(visible_);
}

void TControl::DestroyWidget() {
  if (!widget_) return;
  QWidget* w = widget_;
  widget_ = nullptr;
  bridge_.reset();
  // Nothing the widget says while it goes may reach the control any more.
  QObject::disconnect(w, nullptr, nullptr, nullptr);
  w->blockSignals(true);
  delete w;
}

void TControl::RecreateWidget() {
  if (!widget_) return;
  DestroyWidget();
  Widget();
}

void TControl::ApplyGeometry() {
  if (!widget_) return;
  if (widget_->isWindow()) {
    // Moving a shown window reports the old size back at once: keep the new one apart.
    const int width = width_, height = height_;
    widget_->move(left_, top_);
    widget_->resize(width, height);
  } else {
    widget_->setGeometry(left_, top_, width_, height_);
  }
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (ChangeBounds(left, top, std::max(width, 0), std::max(height, 0), true)) RequestAlign();
}

void TControl::UpdateBoundsFromWidget(int left, int top, int width, int height) {
  ChangeBounds(left, top, width, height, false);
}

bool TControl::ChangeBounds(int left, int top, int width, int height, bool moveWidget) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return false;
  int oldW = width_, oldH = height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (moveWidget) ApplyGeometry();
  if (oldW != width || oldH != height) {
    if (auto* win = dynamic_cast<TWinControl*>(this)) {
      win->AnchorChildren(oldW, oldH);
      win->Realign();
    }
    Resize();
  }
  return true;
}

TPoint TControl::ClientToScreen(TPoint p) {
  QPoint g = Widget()->mapToGlobal(QPoint(p.X, p.Y));
  return {g.x(), g.y()};
}

TPoint TControl::ScreenToClient(TPoint p) {
  QPoint l = Widget()->mapFromGlobal(QPoint(p.X, p.Y));
  return {l.x(), l.y()};
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  if (widget_ && !widget_->isWindow()) widget_->setVisible(visible);
  VisibleChanged();
  RequestAlign();
}

bool TControl::Showing() const {
  if (!widget_) return false;
  return widget_->isVisible();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (widget_) widget_->setEnabled(enabled);
  EnabledChanged();
}

void TControl::SetText(const std::string& text) {
  if (text == GetText()) return;
  text_ = text;
  TextChanged();
}

void TControl::TextChanged() {}
void TControl::EnabledChanged() { Perform(CM_ENABLEDCHANGED); }
void TControl::VisibleChanged() { Perform(CM_VISIBLECHANGED); }

void TControl::SetHint(const std::string& hint) {
  hint_ = hint;
  if (!widget_) return;
  bool show = false;
  for (const TControl* c = this; c && !show; c = c->parent_) show = c->showHint_;
  std::string shortHint = hint.substr(0, hint.find('|'));
  widget_->setToolTip(show ? ToQ(shortHint) : QString());
}

void TControl::SetShowHint(bool v) {
  showHint_ = v;
  SetHint(hint_);
  if (auto* win = dynamic_cast<TWinControl*>(this))
    for (TControl* c : win->controls_) c->SetHint(c->hint_);
}

void TControl::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  RequestAlign();
}

void TControl::RequestAlign() {
  if (parent_ && !(ComponentState() & csLoading)) parent_->Realign();
}

void TControl::SetFont(const TFont& font) { font_->Assign(font); }

void TControl::SetParentFont(bool v) {
  parentFont_ = v;
  if (v) ParentFontOrColorChanged();
}

void TControl::SetColor(TColor color) {
  if (color == color_ && !parentColor_) return;
  color_ = color;
  parentColor_ = false;
  ColorChanged();
}

void TControl::SetParentColor(bool v) {
  parentColor_ = v;
  if (v) ParentFontOrColorChanged();
}

void TControl::ParentFontOrColorChanged() {
  if (!parent_) return;
  if (parentFont_ && !(*font_ == *parent_->font_)) {
    auto handler = std::move(font_->OnChange);
    font_->Assign(*parent_->font_);
    font_->OnChange = std::move(handler);
    FontChanged();
  }
  if (parentColor_ && color_ != parent_->color_) {
    color_ = parent_->color_;
    ColorChanged();
  }
  // The parent's new font or colour may have reached a widget that keeps its own.
  if (!parentFont_ || !parentColor_) ApplyFontAndColor();
}

void TControl::FontChanged() {
  ApplyFontAndColor();
  if (auto* win = dynamic_cast<TWinControl*>(this))
    for (TControl* c : win->controls_) c->ParentFontOrColorChanged();
  Perform(CM_FONTCHANGED);
}

void TControl::ColorChanged() {
  ApplyFontAndColor();
  if (auto* win = dynamic_cast<TWinControl*>(this))
    for (TControl* c : win->controls_) c->ParentFontOrColorChanged();
  Perform(CM_COLORCHANGED);
}

// A widget shows its parent widget's font and palette until it is given its own, and giving a
// widget the font or palette it already shows still sends a change through all its inner widgets
// (a combo box builds its drop-down list for it): only a difference is set. A widget that merely
// inherits what its control wants is checked again whenever the parent's change reaches it.
void TControl::ApplyFontAndColor() {
  if (!widget_) return;
  const QFont font = ToQFont(*font_);
  if (!(widget_->font() == font)) widget_->setFont(font);
  QPalette pal = widget_->palette();
  bool changed = false;
  auto set = [&](QPalette::ColorGroup group, QPalette::ColorRole role, const QColor& color) {
    if (pal.color(group, role) == color) return;
    pal.setColor(group, role, color);
    changed = true;
  };
  // The text colour of a disabled control stays the style's grey, so that it looks disabled.
  const QColor text = ToQColor(font_->Color());
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
      set(group, role, text);
  const QColor back = ToQColor(color_);
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base}) set(group, role, back);
  if (changed) widget_->setPalette(pal);
  widget_->setAutoFillBackground(widget_->isWindow() || (!parentColor_ && dynamic_cast<TWinControl*>(this)));
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = menu;
  if (menu) menu->FreeNotification(this);
}

void TControl::SetMouseTransparent(bool v) {
  mouseTransparent_ = v;
  if (widget_) widget_->setAttribute(Qt::WA_TransparentForMouseEvents, v);
}

void TControl::SetCursor(TCursor cursor) {
  cursor_ = cursor;
  if (widget_) {
    if (cursor == crDefault) widget_->unsetCursor();
    else widget_->setCursor(ToQtCursor(cursor));
  }
}

void TControl::SetAction(TBasicAction* action) { LinkAction(this, action_, action); }

void TControl::ActionChanged() {
  auto* a = dynamic_cast<TAction*>(action_);
  if (!a) return;
  SetCaption(a->Caption());
  SetHint(a->Hint());
  SetEnabled(a->Enabled());
  SetVisible(a->Visible());
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == popupMenu_) popupMenu_ = nullptr;
  if (component == action_) action_ = nullptr;
}

void TControl::Loaded() {
  TComponent::Loaded();
  RequestAlign();
}

intptr_t TControl::Perform(unsigned msg, uintptr_t wParam, intptr_t lParam) {
  TMessage m{msg, wParam, lParam, 0};
  WindowProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& m) {
  auto x = LParamX(m.LParam), y = LParamY(m.LParam);
  TShiftState shift = ((m.WParam & MK_SHIFT) ? ssShift : 0) | ((m.WParam & MK_CONTROL) ? ssCtrl : 0) |
                      ((m.WParam & MK_ALT) ? ssAlt : 0) | ((m.WParam & MK_LBUTTON) ? ssLeft : 0) |
                      ((m.WParam & MK_RBUTTON) ? ssRight : 0) | ((m.WParam & MK_MBUTTON) ? ssMiddle : 0);
  switch (m.Msg) {
    case WM_LBUTTONDOWN: mouseDown_ = true; MouseDown(mbLeft, shift, x, y); break;
    case WM_RBUTTONDOWN: MouseDown(mbRight, shift, x, y); break;
    case WM_MBUTTONDOWN: MouseDown(mbMiddle, shift, x, y); break;
    case WM_LBUTTONDBLCLK:
      mouseDown_ = false;
      MouseDown(mbLeft, shift | ssDouble, x, y);
      DblClick();
      break;
    case WM_RBUTTONDBLCLK: MouseDown(mbRight, shift | ssDouble, x, y); break;
    case WM_MBUTTONDBLCLK: MouseDown(mbMiddle, shift | ssDouble, x, y); break;
    case WM_LBUTTONUP: {
      bool wasDown = mouseDown_;
      mouseDown_ = false;
      MouseUp(mbLeft, shift, x, y);
      if (wasDown && ClickOnMouseUp() && ClientRect().Contains({x, y})) Click();
      break;
    }
    case WM_RBUTTONUP: MouseUp(mbRight, shift, x, y); break;
    case WM_MBUTTONUP: MouseUp(mbMiddle, shift, x, y); break;
    case WM_MOUSEMOVE: MouseMove(shift, x, y); break;
    case WM_MOUSEWHEEL: {
      int delta = int16_t(uint16_t(m.WParam >> 16));
      m.Result = DoMouseWheel(shift, delta, Point(LParamX(m.LParam), LParamY(m.LParam)));
      break;
    }
    case WM_SETTEXT: SetText(reinterpret_cast<const char*>(m.LParam)); m.Result = 1; break;
    case WM_GETTEXTLENGTH: m.Result = intptr_t(GetText().size()); break;
    case WM_GETTEXT: {
      // Copies at most WParam - 1 bytes and a terminating zero; answers the bytes copied.
      std::string text = GetText();
      auto* buffer = reinterpret_cast<char*>(m.LParam);
      size_t n = m.WParam > 0 ? std::min(text.size(), size_t(m.WParam) - 1) : 0;
      if (buffer && m.WParam > 0) {
        std::copy_n(text.data(), n, buffer);
        buffer[n] = 0;
      }
      m.Result = intptr_t(n);
      break;
    }
    default: break;
  }
}

void TControl::Click() {
  if (!CommandAllowedNow(this)) return;
  if (action_) action_->Execute();
  else if (OnClick) OnClick(this);
}

bool TControl::DoContextPopup(TPoint mousePos, TPoint screenPos) {
  bool handled = false;
  if (OnContextPopup) OnContextPopup(this, mousePos, handled);
  if (!handled && PopupMenu()) {
    PopupMenu()->SetPopupComponent(this);
    PopupMenu()->Popup(screenPos.X, screenPos.Y);
    handled = true;
  }
  return handled;
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}
void TControl::MouseDown(TMouseButton b, TShiftState s, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, b, s, x, y);
}
void TControl::MouseUp(TMouseButton b, TShiftState s, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, b, s, x, y);
}
void TControl::MouseMove(TShiftState s, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, s, x, y);
}
bool TControl::DoMouseWheel(TShiftState shift, int delta, TPoint mousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, shift, delta, mousePos, handled);
  return handled;
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::Invalidate() {
  if (widget_) widget_->update();
}
void TControl::Update() {
  if (widget_) widget_->repaint();
}
void TControl::Repaint() {
  if (widget_) widget_->repaint();
}

void TControl::BringToFront() {
  if (parent_) {
    auto& list = parent_->controls_;
    list.erase(std::find(list.begin(), list.end(), this));
    list.push_back(this);
  }
  if (widget_) widget_->raise();
  RequestAlign();
}

void TControl::SendToBack() {
  if (parent_) {
    auto& list = parent_->controls_;
    list.erase(std::find(list.begin(), list.end(), this));
    list.insert(list.begin(), this);
  }
  if (widget_) widget_->lower();
  RequestAlign();
}

// --- TWinControl ---

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  Destroying();
  DestroyComponents();
  while (!controls_.empty()) controls_.back()->SetParent(nullptr);
}

QWidget* TWinControl::CreateWidget(QWidget* parent) { return new QWidget(parent); }

void TWinControl::InitWidget() {
  TControl::InitWidget();
  QWidget* w = Widget();
  if (!tabStop_) w->setFocusPolicy(Qt::NoFocus);
  for (TControl* c : controls_) {
    if (c->widget_) PlaceChildWidget(c);
    else c->Widget();
  }
  Realign();
}

void TWinControl::PlaceChildWidget(TControl* child) {
  QWidget* host = ChildHost(child);
  if (child->widget_->parentWidget() != host) {
    child->widget_->setParent(host);
    child->ApplyFontAndColor();  // what it inherited came from the old host
  }
  child->ApplyGeometry();
  child->widget_->setVisible(child->visible_);
}

void TWinControl::DestroyWidget() {
  for (TControl* c : controls_) c->DestroyWidget();
  TControl::DestroyWidget();
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
}

void TWinControl::RemoveControl(TControl* control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  if (control->widget_ && !(ComponentState() & csDestroying)) {
    control->widget_->hide();
    control->widget_->setParent(nullptr);
  }
  if (!(ComponentState() & csDestroying)) Realign();
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

void TWinControl::EnableAlign() {
  if (alignLock_ > 0 && --alignLock_ == 0) Realign();
}

void TWinControl::Realign() {
  if (alignLock_ || aligning_ || (ComponentState() & (csLoading | csDestroying))) return;
  aligning_ = true;
  try {
    AlignControls(ClientRect());
  } catch (...) {
    aligning_ = false;
    throw;
  }
  aligning_ = false;
}

void TWinControl::AlignControls(TRect rect) {
  auto take = [&](TAlign align) {
    std::vector<TControl*> list;
    for (TControl* c : controls_)
      if (c->align_ == align && c->visible_) list.push_back(c);
    std::stable_sort(list.begin(), list.end(), [align](TControl* a, TControl* b) {
      switch (align) {
        case alTop: return a->top_ < b->top_;
        case alBottom: return a->top_ + a->height_ > b->top_ + b->height_;
        case alLeft: return a->left_ < b->left_;
        case alRight: return a->left_ + a->width_ > b->left_ + b->width_;
        default: return false;
      }
    });
    return list;
  };
  for (TControl* c : take(alTop)) {
    c->SetBounds(rect.Left, rect.Top, rect.Width(), c->height_);
    rect.Top += c->height_;
  }
  for (TControl* c : take(alBottom)) {
    c->SetBounds(rect.Left, rect.Bottom - c->height_, rect.Width(), c->height_);
    rect.Bottom -= c->height_;
  }
  for (TControl* c : take(alLeft)) {
    c->SetBounds(rect.Left, rect.Top, c->width_, std::max(rect.Height(), 0));
    rect.Left += c->width_;
  }
  for (TControl* c : take(alRight)) {
    c->SetBounds(rect.Right - c->width_, rect.Top, c->width_, std::max(rect.Height(), 0));
    rect.Right -= c->width_;
  }
  for (TControl* c : take(alClient)) c->SetBounds(rect.Left, rect.Top, std::max(rect.Width(), 0), std::max(rect.Height(), 0));
}

void TWinControl::AnchorChildren(int oldWidth, int oldHeight) {
  if (ComponentState() & csLoading) return;
  int dw = width_ - oldWidth, dh = height_ - oldHeight;
  if (oldWidth == 0 && oldHeight == 0) return;
  for (TControl* c : controls_) {
    if (c->align_ != alNone) continue;
    int l = c->left_, t = c->top_, w = c->width_, h = c->height_;
    if (c->anchors_ & akRight) {
      if (c->anchors_ & akLeft) w += dw;
      else l += dw;
    }
    if (c->anchors_ & akBottom) {
      if (c->anchors_ & akTop) h += dh;
      else t += dh;
    }
    c->SetBounds(l, t, w, h);
  }
}

void TWinControl::Loaded() {
  TControl::Loaded();
  Realign();
}

void TWinControl::Resize() {
  TControl::Resize();
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void TWinControl::SetFocus() {
  if (TCustomForm* form = ParentForm(); form && form != this) form->SetActiveControl(this);
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  QWidget* w = Widget();
  if (w->focusProxy()) w = w->focusProxy();
  w->setFocus(Qt::OtherFocusReason);
}

bool TWinControl::Focused() const {
  QWidget* focus = QApplication::focusWidget();
  return focus && FindControl(focus) == this;
}

int TWinControl::TabOrder() const {
  if (!parent_) return tabOrder_;
  int order = 0;
  for (TControl* c : parent_->controls_) {
    if (c == this) return order;
    if (dynamic_cast<TWinControl*>(c)) ++order;
  }
  return -1;
}

void TWinControl::SetTabOrder(int order) {
  tabOrder_ = order;
  if (!parent_ || order < 0) return;
  // Keep the windowed siblings in tab order; the widgets follow the same chain.
  auto& list = parent_->controls_;
  list.erase(std::find(list.begin(), list.end(), this));
  int seen = 0;
  auto it = list.begin();
  for (; it != list.end(); ++it)
    if (dynamic_cast<TWinControl*>(*it) && seen++ == order) break;
  list.insert(it, this);
  QWidget* prev = nullptr;
  for (TControl* c : list)
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->widget_) {
      if (prev) QWidget::setTabOrder(prev, w->widget_);
      prev = w->widget_;
    }
}

void TWinControl::SetTabStop(bool v) {
  tabStop_ = v;
  if (widget_) widget_->setFocusPolicy(v ? Qt::StrongFocus : Qt::NoFocus);
}

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_KEYUP: {
      uint16_t key = uint16_t(m.WParam);
      TShiftState shift = TShiftState(m.LParam);
      bool down = m.Msg == WM_KEYDOWN;
      TCustomForm* form = ParentForm();
      if (down && form && key != VK_SHIFT && key != VK_CONTROL && key != VK_MENU &&
          form->IsShortCut(ShortCut(key, shift & (ssShift | ssCtrl | ssAlt)))) {
        m.WParam = 0;
        return;
      }
      if (form && form != this && form->KeyPreview()) {
        auto* preview = static_cast<TWinControl*>(form);
        if (down) preview->KeyDown(key, shift);
        else preview->KeyUp(key, shift);
      }
      if (key) {
        if (down) KeyDown(key, shift);
        else KeyUp(key, shift);
      }
      if (key && down && form && (key == VK_RETURN || key == VK_ESCAPE) && !WantsKey(key) &&
          form->DialogKey(key, shift))
        key = 0;
      m.WParam = key;
      return;
    }
    case WM_CHAR: {
      char key = char(m.WParam);
      TCustomForm* form = ParentForm();
      if (form && form != this && form->KeyPreview()) static_cast<TWinControl*>(form)->KeyPress(key);
      if (key) KeyPress(key);
      m.WParam = static_cast<unsigned char>(key);
      return;
    }
    case WM_SETFOCUS:
      if (TCustomForm* form = ParentForm(); form && form != this) form->FocusChanged(this);
      DoEnter();
      return;
    case WM_KILLFOCUS: DoExit(); return;
    case WM_SETREDRAW:
      if (QWidget* w = ExistingWidget()) {
        w->setUpdatesEnabled(m.WParam != 0);
        if (m.WParam) w->update();
      }
      return;
    default: TControl::WndProc(m);
  }
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}
void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}
void TWinControl::KeyDown(uint16_t& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}
void TWinControl::KeyUp(uint16_t& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}
void TWinControl::KeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

// --- TCustomControl / TGraphicControl ---

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), canvas_(std::make_unique<TCanvas>()) {}
TCustomControl::~TCustomControl() { DestroyWidget(); }

QWidget* TCustomControl::CreateWidget(QWidget* parent) {
  return new TPaintWidget(this, canvas_.get(), [this] { Paint(); }, parent);
}

void TCustomControl::Paint() {}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), canvas_(std::make_unique<TCanvas>()) {}
TGraphicControl::~TGraphicControl() { DestroyWidget(); }

QWidget* TGraphicControl::CreateWidget(QWidget* parent) {
  return new TPaintWidget(this, canvas_.get(), [this] { Paint(); }, parent);
}

void TGraphicControl::Paint() {}
