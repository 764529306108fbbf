#include "components/tray_icon.h"

#include <algorithm>

#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/gui/image_list.h"
#include "platform/gui/menus.h"
#include "platform/gui/system_tray.h"
#include "platform/gui/timer.h"

QM_CLASS_INFO(TTrayIcon, TComponent, [](TClassBuilder<TTrayIcon>& b) {
  using C = TTrayIcon;
  b.Object("Icon", &C::Icon)
      .Boolean("IconVisible", &C::IconVisible, &C::SetIconVisible)
      .String("Hint", &C::Hint, &C::SetHint)
      .Boolean("ShowHint", &C::ShowHint, &C::SetShowHint)
      .Boolean("Enabled", &C::Enabled, &C::SetEnabled)
      .Component<TImageList>("IconList", &C::IconList, &C::SetIconList)
      .Integer("IconIndex", &C::IconIndex, &C::SetIconIndex)
      .Boolean("CycleIcons", &C::CycleIcons, &C::SetCycleIcons)
      .Integer("CycleInterval", &C::CycleInterval, &C::SetCycleInterval)
      .Component<TPopupMenu>("PopupMenu", &C::PopupMenu, &C::SetPopupMenu)
      .Boolean("LeftPopup", &C::LeftPopup, &C::SetLeftPopup)
      .Boolean("StartMinimized", &C::StartMinimized, &C::SetStartMinimized)
      .Boolean("MinimizeToTray", &C::MinimizeToTray, &C::SetMinimizeToTray)
      .Event("OnClick", &C::OnClick)
      .Event("OnDblClick", &C::OnDblClick)
      .Event("OnMouseDown", &C::OnMouseDown)
      .Event("OnMouseUp", &C::OnMouseUp)
      .Event("OnMouseMove", &C::OnMouseMove)
      .Event("OnCycle", &C::OnCycle);
})

std::string TrayTip(const std::string& hint, bool showHint) {
  if (!showHint) return {};
  return hint.substr(0, std::min<size_t>(hint.size(), kTrayTipLength));
}

namespace {

// The program's icon: a "Q" on a blue square.
void DrawProgramIcon(TBitmap& b) {
  b.SetSize(32, 32);
  TCanvas* c = b.Canvas();
  c->Brush()->SetColor(RGB(0x30, 0x60, 0xB0));
  c->FillRect(Rect(0, 0, 32, 32));
  c->Font()->SetColor(clWhite);
  c->Font()->SetSize(18);
  c->Font()->SetStyle(fsBold);
  c->Brush()->SetStyle(bsClear);
  TRect r = Rect(0, 0, 32, 32);
  c->DrawText("Q", r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  c->Brush()->SetStyle(bsSolid);
}

}  // namespace

TTrayIcon::TTrayIcon(TComponent* owner) : TComponent(owner), backend_(CreateSystemTray()) {
  backend_->OnActivated = [this](TTrayActivation how) { Activated(how); };
  timer_ = new TTimer(this);
  timer_->SetEnabled(false);
  timer_->OnTimer = [this](TObject*) { CycleTick(); };
  if (Application) {
    previousOnMinimize_ = Application->OnMinimize;
    Application->OnMinimize = [this](TObject* sender) {
      if (previousOnMinimize_) previousOnMinimize_(sender);
      ApplicationMinimized();
    };
  }
}

TTrayIcon::~TTrayIcon() {
  if (shown_) backend_->Hide();
  if (Application) Application->OnMinimize = previousOnMinimize_;
  SetIconList(nullptr);
  SetPopupMenu(nullptr);
}

void TTrayIcon::SetBackend(std::unique_ptr<TTrayBackend> backend) {
  if (shown_) backend_->Hide();
  shown_ = false;
  backend_ = std::move(backend);
  iconChanged_ = true;
  backend_->OnActivated = [this](TTrayActivation how) { Activated(how); };
  if (iconVisible_ && !(ComponentState() & csLoading)) ShowIcon();
}

void TTrayIcon::Loaded() {
  TComponent::Loaded();
  if (startMinimized_ && Application) Application->SetShowMainForm(false);
  SetIconVisible(iconVisible_);
}

void TTrayIcon::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == iconList_) iconList_ = nullptr;
  if (component == popupMenu_) popupMenu_ = nullptr;
}

TBitmap* TTrayIcon::Icon() {
  // The caller may draw on it: the tray is given it again.
  if (!iconDrawn_) DrawProgramIcon(icon_);
  IconChanged();
  return &icon_;
}

void TTrayIcon::IconChanged() {
  iconDrawn_ = true;
  iconChanged_ = true;
}

void TTrayIcon::PushIcon() {
  if (!iconDrawn_) DrawProgramIcon(icon_);
  iconDrawn_ = true;
  if (!iconChanged_) return;
  backend_->SetIcon(icon_);
  iconChanged_ = false;
}

void TTrayIcon::SetIcon(const TBitmap& icon) {
  icon_.Assign(icon);
  IconChanged();
  ModifyIcon();
}

void TTrayIcon::SetHint(const std::string& v) {
  hint_ = v;
  ModifyIcon();
}

void TTrayIcon::SetShowHint(bool v) {
  showHint_ = v;
  ModifyIcon();
}

void TTrayIcon::SetIconVisible(bool v) {
  if (ComponentState() & csLoading) {
    iconVisible_ = v;
    return;
  }
  if (v) ShowIcon();
  else HideIcon();
}

bool TTrayIcon::ShowIcon() {
  PushIcon();
  ModifyIcon();
  shown_ = backend_->Show();
  iconVisible_ = shown_;  // no tray: the icon is not visible, and says so
  return shown_;
}

bool TTrayIcon::HideIcon() {
  backend_->Hide();
  shown_ = false;
  iconVisible_ = false;
  return true;
}

bool TTrayIcon::ModifyIcon() {
  // A hidden icon's picture is converted only when it is shown.
  if (shown_) PushIcon();
  backend_->SetToolTip(TrayTip(hint_, showHint_));
  return shown_;
}

void TTrayIcon::TaskbarCreated() {
  if (iconVisible_) ShowIcon();
}

void TTrayIcon::SetIconList(TImageList* list) {
  if (iconList_) iconList_->RemoveFreeNotification(this);
  iconList_ = list;
  if (iconList_) iconList_->FreeNotification(this);
  iconIndex_ = 0;
  SetIconIndex(0);
}

void TTrayIcon::SetIconIndex(int v) {
  if (!iconList_ || iconList_->Count() == 0) {
    iconIndex_ = 0;
    return;
  }
  iconIndex_ = std::clamp(v, 0, iconList_->Count() - 1);  // past the end: the last image
  iconList_->GetBitmap(iconIndex_, icon_);
  IconChanged();
  ModifyIcon();
}

void TTrayIcon::SetCycleIcons(bool v) {
  cycleIcons_ = v;
  if (v) SetIconIndex(0);
  timer_->SetEnabled(v);
}

int TTrayIcon::CycleInterval() const { return int(timer_->Interval()); }
void TTrayIcon::SetCycleInterval(int v) { timer_->SetInterval(unsigned(std::max(0, v))); }

void TTrayIcon::CycleTick() {
  if (!iconList_ || iconList_->Count() == 0) return;
  const int next = iconIndex_ + 1 >= iconList_->Count() ? 0 : iconIndex_ + 1;
  iconList_->GetBitmap(iconIndex_, icon_);
  IconChanged();
  if (OnCycle) OnCycle(this, next);
  ModifyIcon();
  iconIndex_ = next;
}

void TTrayIcon::SetPopupMenu(TPopupMenu* menu) {
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = menu;
  if (popupMenu_) popupMenu_->FreeNotification(this);
}

void TTrayIcon::ShowPopup() {
  if (!popupMenu_ || !popupMenu_->AutoPopup()) return;
  popupMenu_->SetPopupComponent(this);
  const TPoint p = CursorPos();
  popupMenu_->Popup(p.X, p.Y);
}

void TTrayIcon::IconMessage(unsigned msg) {
  if (!enabled_) return;
  switch (msg) {
    case WM_MOUSEMOVE:
      if (OnMouseMove) OnMouseMove(this, 0, 0, 0);
      break;
    case WM_LBUTTONDOWN:
      if (OnMouseDown) OnMouseDown(this, mbLeft, ssLeft, 0, 0);
      clicked_ = true;
      if (leftPopup_) ShowPopup();
      break;
    case WM_LBUTTONUP:
      if (clicked_) {
        clicked_ = false;
        if (OnClick) OnClick(this);
      }
      if (OnMouseUp) OnMouseUp(this, mbLeft, 0, 0, 0);
      break;
    case WM_LBUTTONDBLCLK:
      if (OnDblClick) OnDblClick(this);
      if (popupMenu_ && popupMenu_->AutoPopup() && !leftPopup_) {
        for (int i = 0; i < popupMenu_->Items()->Count(); ++i)
          if (TMenuItem* item = popupMenu_->Items()->Items(i); item->Default()) {
            item->Click();
            break;
          }
      }
      break;
    case WM_RBUTTONDOWN:
      if (OnMouseDown) OnMouseDown(this, mbRight, ssRight, 0, 0);
      ShowPopup();
      break;
    case WM_RBUTTONUP:
      if (OnMouseUp) OnMouseUp(this, mbRight, 0, 0, 0);
      break;
    case WM_MBUTTONDOWN:
      if (OnMouseDown) OnMouseDown(this, mbMiddle, ssMiddle, 0, 0);
      break;
    case WM_MBUTTONUP:
      if (OnMouseUp) OnMouseUp(this, mbMiddle, 0, 0, 0);
      break;
    default: break;
  }
}

void TTrayIcon::Activated(TTrayActivation how) {
  // The tray reports whole activations: each becomes the button messages it stands for.
  switch (how) {
    case TTrayActivation::Trigger: IconMessage(WM_LBUTTONDOWN); IconMessage(WM_LBUTTONUP); break;
    case TTrayActivation::DoubleClick: IconMessage(WM_LBUTTONDBLCLK); break;
    case TTrayActivation::MiddleClick: IconMessage(WM_MBUTTONDOWN); IconMessage(WM_MBUTTONUP); break;
    case TTrayActivation::Context: IconMessage(WM_RBUTTONDOWN); IconMessage(WM_RBUTTONUP); break;
  }
}

void TTrayIcon::ShowMainForm() {
  if (!Application || !Application->MainForm()) return;
  Application->Restore();
  Application->MainForm()->Show();
}

void TTrayIcon::HideMainForm() {
  if (Application && Application->MainForm()) Application->MainForm()->Hide();
}

void TTrayIcon::ApplicationMinimized() {
  // Only with an icon in the tray is the window hidden: otherwise nothing would bring it back.
  if (minimizeToTray_ && ShowIcon()) HideMainForm();
}
