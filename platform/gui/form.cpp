#include "platform/gui/form.h"

#include <QApplication>
#include <QGuiApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "platform/exceptions.h"
#include "platform/gui/application.h"
#include "platform/gui/form_reader.h"
#include "platform/gui/graphics.h"
#include "platform/gui/menus.h"
#include "platform/gui/qt_bridge.h"
#include "platform/gui/std_controls.h"

QM_CLASS_INFO(TCustomForm, TWinControl, [](TClassBuilder<TCustomForm>& c) {
  c.Enum<TPosition>("Position", {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                                                 "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"}, &TCustomForm::Position, &TCustomForm::SetPosition);
  c.Enum<TFormBorderStyle>("BorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}, &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle);
  c.Set<TBorderIcons>("BorderIcons", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}, &TCustomForm::BorderIcons,
                      &TCustomForm::SetBorderIcons);
  c.Enum<TFormStyle>("FormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"}, &TCustomForm::FormStyle,
                     &TCustomForm::SetFormStyle);
  c.Enum<TWindowState>("WindowState", {"wsNormal", "wsMinimized", "wsMaximized"}, &TCustomForm::WindowState,
                       &TCustomForm::SetWindowState);
  c.Boolean("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview);
  c.Component<TWinControl>("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl);
  c.Component<TMainMenu>("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu);
  c.Integer("HelpContext", &TCustomForm::HelpContext, &TCustomForm::SetHelpContext);
  c.Integer("ModalResult", &TCustomForm::ModalResult, &TCustomForm::SetModalResult);
  c.Event("OnCreate", &TCustomForm::OnCreate);
  c.Event("OnDestroy", &TCustomForm::OnDestroy);
  c.Event("OnShow", &TCustomForm::OnShow);
  c.Event("OnHide", &TCustomForm::OnHide);
  c.Event("OnActivate", &TCustomForm::OnActivate);
  c.Event("OnDeactivate", &TCustomForm::OnDeactivate);
  c.Event("OnPaint", &TCustomForm::OnPaint);
  c.Event("OnClose", &TCustomForm::OnClose);
  c.Event("OnCloseQuery", &TCustomForm::OnCloseQuery);
  c.Event("OnShortCut", &TCustomForm::OnShortCut);
})

QM_CLASS_INFO(TForm, TCustomForm, [](TClassBuilder<TForm>&) {})

// The form's window: a menu bar (when the form has a menu) above the client area.
class TFormWidget : public QWidget {
public:
  TFormWidget(TCustomForm* form, QWidget* parent) : QWidget(parent), form_(form) {
    client_ = new TPaintWidget(form, form->canvas_.get(), [form] { form->Paint(); }, this);
    client_->setObjectName("client");
  }
  QWidget* Client() const { return client_; }
  // isHidden, not isVisible: the bar counts before the form is first shown too.
  int MenuHeight() const { return bar_ && !bar_->isHidden() ? bar_->sizeHint().height() : 0; }
  void SetMenuBar(QMenuBar* bar) {
    bar_ = bar;
    if (bar_) {
      bar_->setParent(this);
      bar_->show();
    }
    Layout();
  }
  void Layout() {
    int mh = MenuHeight();
    if (bar_) bar_->setGeometry(0, 0, width(), mh);
    client_->setGeometry(0, mh, width(), height() - mh);
  }

protected:
  void resizeEvent(QResizeEvent* e) override {
    Layout();
    QWidget::resizeEvent(e);
  }
  void closeEvent(QCloseEvent* e) override {
    e->ignore();
    GuardedCall([this] { form_->Close(); });
  }
  void changeEvent(QEvent* e) override {
    // The main window minimised or restored by the user is the application's.
    if (e->type() == QEvent::WindowStateChange && Application->MainForm() == form_)
      GuardedCall([this] {
        TNotifyEvent& event = isMinimized() ? Application->OnMinimize : Application->OnRestore;
        if (event) event(Application);
      });
    if (e->type() == QEvent::ActivationChange)
      GuardedCall([this] {
        if (isActiveWindow()) form_->Activate();
        else form_->Deactivate();
      });
    QWidget::changeEvent(e);
  }

private:
  TCustomForm* form_;
  QWidget* client_;
  QMenuBar* bar_ = nullptr;
};

// --- TCustomForm ---

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner), canvas_(std::make_unique<TCanvas>()) {
  TControl::SetVisible(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 320, 240);
  Screen->AddForm(this);
}

void TCustomForm::BeforeDestruction() {
  TWinControl::BeforeDestruction();
  if (destroyFired_) return;
  destroyFired_ = true;
  if (OnDestroy) GuardedCall([this] { OnDestroy(this); });
}

TCustomForm::~TCustomForm() {
  // A form deleted directly (not by its owner or Free), or whose construction failed, still
  // hears of it, but only as a form: handlers of the derived class it bound do not run.
  ReleaseHandlers();
  TCustomForm::BeforeDestruction();
  *lifetime_ = false;
  Screen->RemoveForm(this);
  if (modalLevel_) modalResult_ = mrCancel;
  DestroyComponents();
  if (WidgetCreated()) Widget()->hide();
}

namespace {
std::function<void(TCustomForm&)>& FormLayoutHook() {
  static std::function<void(TCustomForm&)> hook;
  return hook;
}
}  // namespace

void SetFormLayoutHook(std::function<void(TCustomForm&)> hook) { FormLayoutHook() = std::move(hook); }

void TCustomForm::ReadForm() {
  ReadComponentRes(*this);
  if (FormLayoutHook()) FormLayoutHook()(*this);
  if (OnCreate) OnCreate(this);
}

QWidget* TCustomForm::CreateWidget(QWidget* parent) {
  EnsureGuiApplication();
  auto* w = new TFormWidget(this, parent);
  w->setAttribute(Qt::WA_DeleteOnClose, false);
  return w;
}

QWidget* TCustomForm::ClientWidget() { return static_cast<TFormWidget*>(Widget())->Client(); }

int TCustomForm::ClientHeight() const {
  int menu = WidgetCreated() ? static_cast<TFormWidget*>(ExistingWidget())->MenuHeight() : 0;
  return Height() - menu;
}

void TCustomForm::InitWidget() {
  auto* w = static_cast<TFormWidget*>(ExistingWidget());
  ApplyWindowFlags();
  // The window's font first: the menu bar and the controls are then made with it, not changed.
  ApplyFontAndColor();
  if (menu_) w->SetMenuBar(menu_->QtMenuBar(w));
  TWinControl::InitWidget();
}

void TCustomForm::ApplyWindowFlags() {
  if (!WidgetCreated()) return;
  QWidget* w = ExistingWidget();
  Qt::WindowFlags flags = Qt::Window;
  switch (borderStyle_) {
    case bsNone: flags |= Qt::FramelessWindowHint; break;
    case bsToolWindow:
    case bsSizeToolWin: flags = Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint; break;
    case bsDialog: flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint; break;
    default:
      flags |= Qt::WindowTitleHint | Qt::CustomizeWindowHint;
      if (borderIcons_ & biSystemMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
      if (borderIcons_ & biMinimize) flags |= Qt::WindowMinimizeButtonHint;
      if (borderIcons_ & biMaximize) flags |= Qt::WindowMaximizeButtonHint;
      break;
  }
  if (formStyle_ == fsStayOnTop) flags |= Qt::WindowStaysOnTopHint;
  if (w->windowFlags() == flags) return;
  bool shown = w->isVisible();
  w->setWindowFlags(flags);
  if (shown) w->show();
}

void TCustomForm::TextChanged() {
  if (WidgetCreated()) ExistingWidget()->setWindowTitle(ToQ(text_));
}

void TCustomForm::SetBorderStyle(TFormBorderStyle s) {
  borderStyle_ = s;
  ApplyWindowFlags();
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
  borderIcons_ = icons;
  ApplyWindowFlags();
}

void TCustomForm::SetFormStyle(TFormStyle s) {
  formStyle_ = s;
  ApplyWindowFlags();
}

TWindowState TCustomForm::WindowState() const {
  if (WidgetCreated() && ExistingWidget()->isVisible()) {
    auto st = ExistingWidget()->windowState();
    if (st & Qt::WindowMinimized) return wsMinimized;
    if (st & Qt::WindowMaximized) return wsMaximized;
    return wsNormal;
  }
  return windowState_;
}

void TCustomForm::SetWindowState(TWindowState s) {
  windowState_ = s;
  if (!WidgetCreated() || !ExistingWidget()->isVisible()) return;
  QWidget* w = ExistingWidget();
  if (s == wsMinimized) w->showMinimized();
  else if (s == wsMaximized) w->showMaximized();
  else w->showNormal();
}

void TCustomForm::SetVisible(bool visible) {
  if (ComponentState() & csLoading) {
    visibleAfterLoad_ = visible;
    return;
  }
  if (visible == Visible()) return;
  if (visible) {
    QWidget* w = Widget();
    ApplyWindowFlags();
    PlaceOnFirstShow();
    TControl::SetVisible(true);
    DoShow();
    if (!Visible()) return;  // OnShow hid the form again
    if (windowState_ == wsMaximized) w->showMaximized();
    else if (windowState_ == wsMinimized) w->showMinimized();
    else w->show();
    if (activeControl_ && activeControl_->CanFocus()) activeControl_->SetFocus();
  } else {
    TControl::SetVisible(false);
    if (WidgetCreated()) {
      ExistingWidget()->hide();
      if (modalLevel_ == 0) ExistingWidget()->setWindowModality(Qt::NonModal);  // see ShowInputModal
    }
    DoHide();
  }
}

void TCustomForm::Loaded() {
  TWinControl::Loaded();
  if (visibleAfterLoad_) SetVisible(true);
}

void TCustomForm::PlaceOnFirstShow() {
  if (placed_) return;
  placed_ = true;
  TRect area = Screen->WorkAreaRect();
  auto centerOver = [this](TRect r) {
    SetBounds(r.Left + (r.Width() - Width()) / 2, r.Top + (r.Height() - Height()) / 2, Width(), Height());
  };
  switch (position_) {
    case poScreenCenter:
    case poDesktopCenter: centerOver(area); break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
      TCustomForm* over = position_ == poMainFormCenter ? Application->MainForm() : dynamic_cast<TCustomForm*>(Owner());
      if (over && over != this && over->Visible()) centerOver(over->BoundsRect());
      else centerOver(area);
      break;
    }
    default: break;
  }
}

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
}

void TCustomForm::BringToFront() {
  if (!WidgetCreated() || !Visible()) return;
  QWidget* w = ExistingWidget();
  if (QGuiApplication::platformName() == "offscreen") return;  // nothing to raise, and it says so loudly
  w->raise();
  w->activateWindow();
}

bool TCustomForm::Active() const { return WidgetCreated() && ExistingWidget()->isActiveWindow(); }

bool CommandAllowedNow(TComponent* source) {
  for (TComponent* owner = source ? source->Owner() : nullptr; owner; owner = owner->Owner())
    if (auto* form = dynamic_cast<TCustomForm*>(owner)) return form->AllowCommand(source);
  return true;
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

TCloseAction TCustomForm::DoClose() {
  TCloseAction action = formStyle_ == fsMDIChild ? caMinimize : caHide;
  if (OnClose) OnClose(this, action);
  return action;
}

void TCustomForm::Close() {
  if (modalLevel_ > 0) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = DoClose();
  if (action == caNone) return;
  if (Application->MainForm() == this) {
    Hide();
    Application->Terminate();
    return;
  }
  switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Hide(); Release(); break;
    default: break;
  }
}

void TCustomForm::ShowInputModal() {
  if (Visible()) return;
  Widget()->setWindowModality(Qt::ApplicationModal);
  Show();
}

int TCustomForm::ShowModal() {
  if (Visible() || modalLevel_ > 0 || !Enabled())
    throw EInvalidOperation("Cannot make a visible window modal");
  QWidget* w = Widget();
  w->setWindowModality(Qt::ApplicationModal);
  // A window opened from a stay-on-top one must not open behind it: it stays on top as well
  // while it is modal.
  QWidget* opener = QApplication::activeWindow();
  const bool aboveOpener = opener && opener != w && (opener->windowFlags() & Qt::WindowStaysOnTopHint) &&
                           !(w->windowFlags() & Qt::WindowStaysOnTopHint);
  modalResult_ = mrNone;
  ++modalLevel_;
  std::weak_ptr<bool> alive = lifetime_;
  // The keyboard goes back where it was (the editor, say), not to the first control of the
  // window underneath.
  QPointer<QWidget> focused = QApplication::focusWidget();
  auto finish = [&] {
    if (alive.expired()) return;
    --modalLevel_;
    if (Visible()) Hide();
    if (WidgetCreated()) {
      ExistingWidget()->setWindowModality(Qt::NonModal);
      if (aboveOpener) ExistingWidget()->setWindowFlag(Qt::WindowStaysOnTopHint, false);
    }
    if (focused && focused->isVisible() && focused->isEnabled()) {
      focused->activateWindow();
      focused->setFocus(Qt::OtherFocusReason);
    }
  };
  try {
    Show();
    if (aboveOpener) {  // after Show, which sets the form's own flags
      w->setWindowFlag(Qt::WindowStaysOnTopHint, true);
      w->show();
      BringToFront();
    }
    for (;;) {
      if (modalResult_ == mrNone) Application->HandleMessage();
      if (alive.expired()) return mrCancel;
      if (modalResult_ == mrNone && Application->Terminated()) modalResult_ = mrCancel;
      if (modalResult_ == mrNone) continue;
      // Ending the loop goes through the close sequence; caNone keeps the form open.
      TCloseAction action = CloseQuery() ? DoClose() : caNone;
      if (action == caNone) {
        modalResult_ = mrNone;
        continue;
      }
      if (action == caFree) Release();
      break;
    }
  } catch (...) {
    finish();
    throw;
  }
  finish();
  return modalResult_;
}

void TCustomForm::Release() {
  std::weak_ptr<bool> alive = lifetime_;
  QTimer::singleShot(0, [this, alive] {
    if (!alive.expired()) delete this;
  });
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == activeControl_) return;
  if (activeControl_) activeControl_->RemoveFreeNotification(this);
  activeControl_ = control;
  if (control) {
    control->FreeNotification(this);
    if (Visible() && !(ComponentState() & csLoading) && control->CanFocus() && !control->Focused()) control->SetFocus();
  }
}

void TCustomForm::FocusChanged(TWinControl* control) {
  if (control == activeControl_) return;
  if (activeControl_) activeControl_->RemoveFreeNotification(this);
  activeControl_ = control;
  if (control) control->FreeNotification(this);
}

void TCustomForm::SetMenu(TMainMenu* menu) {
  if (menu_) menu_->RemoveFreeNotification(this);
  menu_ = menu;
  if (menu) menu->FreeNotification(this);
  if (WidgetCreated()) {
    auto* w = static_cast<TFormWidget*>(ExistingWidget());
    w->SetMenuBar(menu ? menu->QtMenuBar(w) : nullptr);
    Realign();
  }
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == activeControl_) activeControl_ = nullptr;
  if (component == menu_) {
    menu_ = nullptr;
    if (WidgetCreated() && !(ComponentState() & csDestroying)) static_cast<TFormWidget*>(ExistingWidget())->SetMenuBar(nullptr);
  }
}

namespace {

// Every button on the form, in the order of the controls.
void CollectButtons(TWinControl* parent, std::vector<TButton*>& out) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (auto* b = dynamic_cast<TButton*>(c)) out.push_back(b);
    if (auto* w = dynamic_cast<TWinControl*>(c)) CollectButtons(w, out);
  }
}

bool Usable(TButton* b) {
  for (TControl* c = b; c; c = c->Parent())
    if (!c->Visible() && !dynamic_cast<TCustomForm*>(c)) return false;
  for (TControl* c = b; c; c = c->Parent())
    if (!c->Enabled()) return false;
  return true;
}

}  // namespace

bool TCustomForm::DialogKey(uint16_t key, TShiftState shift) {
  if (shift & (ssAlt | ssCtrl)) return false;
  std::vector<TButton*> buttons;
  CollectButtons(this, buttons);
  if (key == VK_RETURN) {
    // A focused button takes Enter itself; otherwise the default button does.
    for (TButton* b : buttons)
      if (b == activeControl_ && b->Focused() && Usable(b)) {
        b->Click();
        return true;
      }
    for (TButton* b : buttons)
      if (b->Default() && Usable(b)) {
        b->Click();
        return true;
      }
  } else if (key == VK_ESCAPE) {
    for (TButton* b : buttons)
      if (b->Cancel() && Usable(b)) {
        b->Click();
        return true;
      }
  }
  return false;
}

bool TCustomForm::IsShortCut(TShortCut shortCut) {
  if (OnShortCut) {
    bool handled = false;
    OnShortCut(this, uint16_t(shortCut & 0x0FFF), ((shortCut & scShift) ? ssShift : 0) | ((shortCut & scCtrl) ? ssCtrl : 0) |
                                                      ((shortCut & scAlt) ? ssAlt : 0), handled);
    if (handled) return true;
  }
  if (menu_ && menu_->IsShortCut(shortCut)) return true;
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* list = dynamic_cast<TActionList*>(Components(i)); list && list->IsShortCut(shortCut)) return true;
  return false;
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::Activate() {
  if (active_) return;
  active_ = true;
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
  if (!active_) return;
  active_ = false;
  if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

// --- TForm ---

TForm::TForm(TComponent* owner) : TCustomForm(owner) {}
