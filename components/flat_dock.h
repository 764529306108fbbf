// Dockable toolbars: TFlatDock, a strip along one edge of a form holding toolbars in rows, and
// TFlatToolbar, a toolbar in a dock or floating in a small window of its own; the placement of
// every toolbar of a form is saved under a registry key (one subkey per toolbar Name).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "components/toolbar_layout.h"
#include "platform/gui/control.h"

class TFlatToolbar;
class TCustomForm;

// Reads and writes the toolbar placements of a form: (section = toolbar Name, value name).
using TPositionReadInt = std::function<int(const std::string& section, const std::string& name, int def)>;
using TPositionReadString = std::function<std::string(const std::string& section, const std::string& name, const std::string& def)>;
using TPositionWriteInt = std::function<void(const std::string& section, const std::string& name, int value)>;
using TPositionWriteString = std::function<void(const std::string& section, const std::string& name, const std::string& value)>;

enum TDockPosition { dpTop, dpBottom, dpLeft, dpRight };
using TDockBoundLines = unsigned;
inline constexpr TDockBoundLines blTop = 1, blBottom = 2, blLeft = 4, blRight = 8;
using TInsertRemoveEvent = std::function<void(TObject* Sender, bool Inserting, TFlatToolbar* Bar)>;

class TFlatDock : public TCustomControl {
  QM_CLASS(TFlatDock, TCustomControl)
public:
  explicit TFlatDock(TComponent* owner);
  // Lets go of its toolbars: a toolbar made before its dock outlives it when their form goes.
  ~TFlatDock() override;

  TDockPosition Position() const { return position_; }
  void SetPosition(TDockPosition v);
  TDockType DockType() const { return position_ == dpLeft || position_ == dpRight ? dtLeftRight : dtTopBottom; }
  bool AllowDrag() const { return allowDrag_; }
  void SetAllowDrag(bool v);
  TDockBoundLines BoundLines() const { return boundLines_; }
  void SetBoundLines(TDockBoundLines v);
  bool FixAlign() const { return fixAlign_; }
  void SetFixAlign(bool v);
  bool LimitToOneRow() const { return limitToOneRow_; }
  void SetLimitToOneRow(bool v);
  // The docked toolbars, in their order of arrival.
  const std::vector<TFlatToolbar*>& Toolbars() const { return bars_; }
  const std::vector<int>& RowSizes() const { return rowSizes_; }
  // Lays the toolbars out in rows and sizes the dock across.
  void ArrangeToolbars();
  void BeginUpdate() { ++updating_; }
  void EndUpdate();
  void SetVisible(bool visible) override;

  TInsertRemoveEvent OnInsertRemoveBar;

protected:
  void Paint() override;
  void Loaded() override;
  void Resize() override;
  void SetParentComponent(TComponent* parent) override;

private:
  friend class TFlatToolbar;
  void InsertBar(TFlatToolbar* bar);
  void RemoveBar(TFlatToolbar* bar);

  TDockPosition position_ = dpTop;
  bool allowDrag_ = true, fixAlign_ = false, limitToOneRow_ = false, arranging_ = false;
  TDockBoundLines boundLines_ = 0;
  int updating_ = 0;
  std::vector<TFlatToolbar*> bars_;
  std::vector<int> rowSizes_;
};

class TFlatToolbar : public TCustomControl {
  QM_CLASS(TFlatToolbar, TCustomControl)
public:
  explicit TFlatToolbar(TComponent* owner);
  ~TFlatToolbar() override;

  TFlatDock* DockedTo() const { return dock_; }
  // Moves the toolbar into a dock, or floating (nullptr).
  void SetDockedTo(TFlatDock* dock);
  int DockRow() const { return dockRow_; }
  void SetDockRow(int v);
  int DockPos() const { return dockPos_; }
  void SetDockPos(int v);
  TFlatDock* DefaultDock() const { return defaultDock_; }
  void SetDefaultDock(TFlatDock* dock);
  bool CanDockTopBottom() const { return canTopBottom_; }
  void SetCanDockTopBottom(bool v) { canTopBottom_ = v; }
  bool CanDockLeftRight() const { return canLeftRight_; }
  void SetCanDockLeftRight(bool v) { canLeftRight_ = v; }
  bool CloseButton() const { return closeButton_; }
  void SetCloseButton(bool v) { closeButton_ = v; }
  // The floating window's rectangle without frame and caption, screen coordinates.
  TRect FloatingRect() const { return floatRect_; }
  void SetFloatingRect(const TRect& r) { floatRect_ = r; }
  int FloatRightX() const { return floatRightX_; }
  void SetFloatRightX(int v);
  bool Floating() const { return !dock_ && floating_; }
  void SetVisible(bool visible) override;
  // Shifts a floating toolbar into the work area (with the flag only when wholly off it).
  void MoveOnScreen(bool onlyIfOff);
  // Lays out the controls for the present place; answers the bare thickness for a dock type.
  void ArrangeControls();
  TBarLayout LayoutFor(TDockType type) const;
  // The floating window's close button: the toolbar is hidden, then OnClose.
  void CloseFloating();
  // Double-click on the toolbar: a floating one goes to DefaultDock (when there is one), a
  // docked one floats.
  void ToggleDocking();
  // Where a toolbar dragged to screen point `p` (gripped where the last press was) goes: the
  // first dock that takes it, top/bottom docks first, or floating (nullptr) when none does or
  // `floating` is asked for (Ctrl held).
  TFlatDock* DropTarget(TPoint p, bool floating) const;
  // The offset of the controls in the toolbar: past the frame and caption while floating.
  TPoint ControlOrigin() const;

  TNotifyEvent OnDockChanging, OnDockChanged, OnClose;

protected:
  void Paint() override;
  void Loaded() override;
  void SetParentComponent(TComponent* parent) override;
  void Notification(TComponent* component, TOperation operation) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void DblClick() override;
  void AlignControls(TRect rect) override {}

private:
  friend class TFlatDock;
  friend void LoadToolbarPositions(TComponent& form, const TPositionReadInt& readInt,
                                   const TPositionReadString& readString);
  enum TMouseMode { mmNone, mmMoving, mmSizing, mmClosing };
  void MakeFloating();
  TCustomForm* OwnerForm() const;
  std::vector<TBarItem> BarItems() const;
  void PaintFloating();
  // The drag: the rectangle the toolbar would take at screen point `p`, and its end there.
  TRect DragOutline(TPoint p, TFlatDock* target) const;
  void EndMoving(TPoint p, bool floating);
  void BeginSizing(TFloatPart edge, TPoint p);
  void TrackSizing(TPoint p);

  TFlatDock* dock_ = nullptr;
  TFlatDock* defaultDock_ = nullptr;
  int dockRow_ = 0, dockPos_ = -1, floatRightX_ = 0;
  bool canTopBottom_ = true, canLeftRight_ = true, closeButton_ = true, floating_ = false;
  bool arranging_ = false, closePushed_ = false;
  TRect floatRect_;
  TPoint grip_;                     // where the press was, in the toolbar
  TMouseMode mouseMode_ = mmNone;
  TFloatPart sizingEdge_ = fpClient;
  TRect sizingStart_;               // the window when sizing began
  std::vector<TFloatSize> sizes_;   // the sizes the window can take while sizing
};

void LoadToolbarPositions(TComponent& form, const TPositionReadInt& readInt, const TPositionReadString& readString);
void SaveToolbarPositions(TComponent& form, const TPositionWriteInt& writeInt, const TPositionWriteString& writeString);
// The same under a registry key of HKEY_CURRENT_USER (one subkey per toolbar).
void LoadToolbarPositionsFromRegistry(TComponent& form, const std::string& keyPath);
void SaveToolbarPositionsToRegistry(TComponent& form, const std::string& keyPath);
