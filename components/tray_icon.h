// TTrayIcon: one icon with a hint in the desktop's notification area: its mouse activity as
// component events, a popup menu, cycling through an image list, minimising the application to
// the tray. Where the desktop has no tray the icon is not shown and says so (IconVisible stays
// false, ShowIcon answers false), so a window is never hidden with no way back.
#pragma once

#include <memory>
#include <string>

#include "platform/gui/component.h"
#include "platform/gui/graphics.h"
#include "platform/gui/system_tray.h"

class TImageList;
class TPopupMenu;
class TTimer;

inline constexpr int kTrayTipLength = 63;

// The tip the tray shows: the hint cut to 63 characters, or none without ShowHint.
std::string TrayTip(const std::string& hint, bool showHint);

class TTrayIcon : public TComponent {
  QM_CLASS(TTrayIcon, TComponent)
public:
  explicit TTrayIcon(TComponent* owner);
  ~TTrayIcon() override;

  // The icon the tray shows: the program's own until another is set.
  TBitmap* Icon();
  void SetIcon(const TBitmap& icon);
  bool IconVisible() const { return iconVisible_; }
  void SetIconVisible(bool v);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& v);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  TImageList* IconList() const { return iconList_; }
  void SetIconList(TImageList* list);
  int IconIndex() const { return iconIndex_; }
  void SetIconIndex(int v);
  bool CycleIcons() const { return cycleIcons_; }
  void SetCycleIcons(bool v);
  int CycleInterval() const;
  void SetCycleInterval(int v);
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu);
  bool LeftPopup() const { return leftPopup_; }
  void SetLeftPopup(bool v) { leftPopup_ = v; }
  bool StartMinimized() const { return startMinimized_; }
  void SetStartMinimized(bool v) { startMinimized_ = v; }
  bool MinimizeToTray() const { return minimizeToTray_; }
  void SetMinimizeToTray(bool v) { minimizeToTray_ = v; }

  // Whether the desktop has a tray at all.
  bool TrayAvailable() const { return backend_->Available(); }
  // Adds, removes or updates the icon; false when the tray would not take it.
  virtual bool ShowIcon();
  virtual bool HideIcon();
  virtual bool ModifyIcon();
  void ShowMainForm();
  void HideMainForm();
  // The tray came back (the panel restarted): a visible icon is added again.
  void TaskbarCreated();
  // A mouse message of the icon (WM_LBUTTONDOWN ... WM_MBUTTONUP, WM_MOUSEMOVE).
  void IconMessage(unsigned msg);
  // One tick of the cycle timer.
  void CycleTick();
  // Replaces the tray (tests).
  void SetBackend(std::unique_ptr<TTrayBackend> backend);

  TNotifyEvent OnClick, OnDblClick;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  std::function<void(TObject* Sender, int NextIndex)> OnCycle;

protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  void Activated(TTrayActivation how);
  void ShowPopup();
  void ApplicationMinimized();
  // The icon was replaced: the tray is given it when it next shows the icon.
  void IconChanged();
  // Gives the tray the icon if it changed since the tray last had it.
  void PushIcon();

  std::unique_ptr<TTrayBackend> backend_;
  TBitmap icon_;
  bool iconDrawn_ = false;    // icon_ holds a picture (until then the program's icon stands for it)
  bool iconChanged_ = true;   // the tray has not had icon_ yet
  std::string hint_;
  bool iconVisible_ = true, showHint_ = false, enabled_ = true, cycleIcons_ = false, leftPopup_ = false;
  bool startMinimized_ = false, minimizeToTray_ = false, clicked_ = false, shown_ = false;
  TImageList* iconList_ = nullptr;
  int iconIndex_ = 0;
  TPopupMenu* popupMenu_ = nullptr;
  TTimer* timer_ = nullptr;
  TNotifyEvent previousOnMinimize_;
};
