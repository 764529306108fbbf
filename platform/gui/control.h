// TControl and its windowed, custom-painted and graphic kinds. Every control owns one Qt widget
// (made on first need by the virtual CreateWidget); Qt events reach the control as messages
// through WindowProc/WndProc and from there its virtual handlers and On... events.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/actions.h"
#include "platform/gui/component.h"

class QWidget;
class TWinControl;
class TPopupMenu;
class TFont;
class TCanvas;
class TCustomForm;
class TControlBridge;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
using TAnchors = unsigned;
inline constexpr TAnchors akLeft = 1, akTop = 2, akRight = 4, akBottom = 8;

// Messages of the layer itself (the class library's component messages).
inline constexpr unsigned CM_BASE = 0xB000, CM_ENABLEDCHANGED = CM_BASE + 3,
    CM_FONTCHANGED = CM_BASE + 5, CM_COLORCHANGED = CM_BASE + 6, CM_VISIBLECHANGED = CM_BASE + 9,
    CM_TEXTCHANGED = CM_BASE + 18, CM_MOUSEENTER = CM_BASE + 19, CM_MOUSELEAVE = CM_BASE + 20,
    CM_DIALOGKEY = CM_BASE + 22, CM_WANTSPECIALKEY = CM_BASE + 22 + 0x100;

class TControl : public TComponent, public TActionClient {
  QM_CLASS(TControl, TComponent)
public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  // The form this control sits on (the control itself for a form), or nullptr.
  TCustomForm* ParentForm() const;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  virtual int ClientWidth() const { return width_; }
  virtual int ClientHeight() const { return height_; }
  TRect ClientRect() const { return Rect(0, 0, ClientWidth(), ClientHeight()); }
  void SetClientWidth(int v) { SetWidth(width_ - ClientWidth() + v); }
  void SetClientHeight(int v) { SetHeight(height_ - ClientHeight() + v); }
  TPoint ClientToScreen(TPoint p);
  TPoint ScreenToClient(TPoint p);

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible with every parent visible up to a shown window.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);

  // Caption and Text are the same window text, in the system code page.
  std::string Caption() const { return GetText(); }
  std::string Text() const { return GetText(); }
  void SetCaption(const std::string& text) { SetText(text); }
  virtual std::string GetText() const { return text_; }
  virtual void SetText(const std::string& text);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);
  TAnchors Anchors() const { return anchors_; }
  void SetAnchors(TAnchors anchors) { anchors_ = anchors; }
  TFont* Font() const { return font_.get(); }
  void SetFont(const TFont& font);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool v);
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor);
  // Lets the mouse through to the parent, as a part the parent handles does.
  void SetMouseTransparent(bool v);
  // Whether Alt with the accelerator of the caption clicks the control (drawn buttons).
  virtual bool ClicksOnAccelerator() const { return false; }
  // The action whose caption, hint, enabled, visible and click the control follows.
  TBasicAction* Action() const { return action_; }
  void SetAction(TBasicAction* action);

  // Sends a message through WindowProc and answers its result.
  intptr_t Perform(unsigned msg, uintptr_t wParam = 0, intptr_t lParam = 0);
  // Where messages go first; replace it to hook the control (keep the old one to chain).
  std::function<void(TMessage&)> WindowProc;
  // The control's own message handling.
  virtual void WndProc(TMessage& message);

  void Invalidate();
  void Update();
  void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();
  // Fires OnClick (or the action) as a click on the control does.
  virtual void Click();
  // The context menu at `mousePos` (control coordinates; `screenPos` on the screen): by default
  // OnContextPopup, then PopupMenu. True when it was handled.
  virtual bool DoContextPopup(TPoint mousePos, TPoint screenPos);

  // The control's Qt widget, made on first need. For the platform layer and its subclasses.
  QWidget* Widget();
  bool WidgetCreated() const { return widget_ != nullptr; }
  // The widget when it exists, else nullptr (never makes one).
  QWidget* ExistingWidget() const { return widget_; }

  TNotifyEvent OnClick, OnDblClick, OnResize;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TContextPopupEvent OnContextPopup;
  TMouseWheelEvent OnMouseWheel;

protected:
  // Makes the control's widget as a child of `parent` (the parent control's client widget, or
  // nullptr for a window); the layer then applies every stored property to it.
  virtual QWidget* CreateWidget(QWidget* parent) = 0;
  // Applies the stored state to a new widget; overrides call the inherited version first.
  virtual void InitWidget();
  // Drops the widget (its state is kept in the fields); a later need makes a new one.
  virtual void DestroyWidget();
  // Makes the widget again, for properties that only take effect on a new window.
  void RecreateWidget();

  // Handlers called from WndProc.
  virtual void DblClick();
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  // The wheel turned by `delta` (120 a notch) over the control; true when handled.
  virtual bool DoMouseWheel(TShiftState shift, int delta, TPoint mousePos);
  virtual void Resize();
  // A change of the window text: the widget shows it.
  virtual void TextChanged();
  virtual void FontChanged();
  virtual void ColorChanged();
  virtual void EnabledChanged();
  virtual void VisibleChanged();
  // Whether the layer fires Click after a left press and release on the control (widgets that
  // click by themselves, such as buttons, say no).
  virtual bool ClickOnMouseUp() const { return true; }
  void Notification(TComponent* component, TOperation operation) override;
  void Loaded() override;
  void SetParentComponent(TComponent* parent) override;
  // Filters an inner child widget of the control's widget as part of the control.
  void AdoptInnerWidget(QWidget* inner);
  // Lets the parent re-place aligned controls after this one changed.
  void RequestAlign();
  // Stores the bounds Qt reports (user resizing, layout) without moving the widget again.
  void UpdateBoundsFromWidget(int left, int top, int width, int height);
  // Gives the widget the control's font and colours where it does not show them already.
  void ApplyFontAndColor();
public:
  // Called when the action changes: caption, hint, enabled, checked, visible follow it.
  void ActionChanged() override;

protected:

  std::string text_;

private:
  friend class TWinControl;
  friend class TControlBridge;
  void ApplyGeometry();
  // Stores new bounds (moving the widget to them when `moveWidget`); a new size re-places the
  // children and fires Resize. False when the bounds are unchanged.
  bool ChangeBounds(int left, int top, int width, int height, bool moveWidget);
  void ParentFontOrColorChanged();
  void ForgetWidget();

  TWinControl* parent_ = nullptr;
  QWidget* widget_ = nullptr;
  std::unique_ptr<TControlBridge> bridge_;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true, enabled_ = true, showHint_ = false;
  bool parentFont_ = true, parentColor_ = true;
  std::string hint_;
  TAlign align_ = alNone;
  TAnchors anchors_ = akLeft | akTop;
  std::unique_ptr<TFont> font_;
  TColor color_ = clBtnFace;
  TPopupMenu* popupMenu_ = nullptr;
  TCursor cursor_ = crDefault;
  TBasicAction* action_ = nullptr;
  bool mouseDown_ = false, mouseTransparent_ = false;
};

// A control with a window of its own: focus, tab order, child controls and keyboard events.
class TWinControl : public TControl {
  QM_CLASS(TWinControl, TControl)
public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // True once the window (Qt widget) exists.
  bool HandleAllocated() const { return WidgetCreated(); }
  void HandleNeeded() { Widget(); }

  int ControlCount() const { return int(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(size_t(index)); }
  bool ContainsControl(const TControl* control) const;
  // Places aligned child controls again.
  void Realign();
  void DisableAlign() { ++alignLock_; }
  void EnableAlign();

  virtual bool CanFocus() const;
  virtual void SetFocus();
  bool Focused() const;
  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool v);

  // Whether the control keeps Return/Esc/Tab/arrows for itself instead of the form's default
  // and cancel buttons (multi-line edits keep Return).
  virtual bool WantsKey(uint16_t key) const { return false; }

  TNotifyEvent OnEnter, OnExit;
  TKeyEvent OnKeyDown, OnKeyUp;
  TKeyPressEvent OnKeyPress;

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;
  void DestroyWidget() override;
  void Loaded() override;
  void WndProc(TMessage& message) override;
  void Resize() override;
  virtual void DoEnter();
  virtual void DoExit();
  // Key handlers; setting Key to 0 consumes the key. The form sees keys first under KeyPreview.
  virtual void KeyDown(uint16_t& key, TShiftState shift);
  virtual void KeyUp(uint16_t& key, TShiftState shift);
  virtual void KeyPress(char& key);
  // Places aligned children inside `rect` (the client area).
  virtual void AlignControls(TRect rect);
  // The widget that child controls' widgets are placed in (a page's area, a group's frame...).
  virtual QWidget* ClientWidget() { return Widget(); }
  // The widget `child`'s widget is made in: the client widget, unless the child's place is
  // elsewhere (pages go into the tab widget's page stack).
  virtual QWidget* ChildHost(TControl* child) { return ClientWidget(); }
  // Puts a child control's new widget into this control's window (pages go into tabs).
  virtual void PlaceChildWidget(TControl* child);

private:
  friend class TControl;
  friend class TControlBridge;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  void AnchorChildren(int oldWidth, int oldHeight);

  std::vector<TControl*> controls_;
  int alignLock_ = 0;
  bool aligning_ = false;
  bool tabStop_ = false;
  int tabOrder_ = -1;
};

// A windowed control that paints itself through Canvas in Paint.
class TCustomControl : public TWinControl {
  QM_CLASS(TCustomControl, TWinControl)
public:
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;
  // The canvas, valid while Paint runs (and for measuring text outside it).
  TCanvas* Canvas() const { return canvas_.get(); }

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  virtual void Paint();

private:
  friend class TPaintWidget;
  std::unique_ptr<TCanvas> canvas_;
};

// A control without a window of its own (labels, shapes, images), painted through Canvas.
class TGraphicControl : public TControl {
  QM_CLASS(TGraphicControl, TControl)
public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const { return canvas_.get(); }

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  virtual void Paint();

private:
  friend class TPaintWidget;
  std::unique_ptr<TCanvas> canvas_;
};

// The control of `widget` (or of its nearest ancestor that belongs to one), or nullptr.
TControl* FindControl(QWidget* widget);
// The control that has the keyboard focus, or nullptr when no window of ours has it.
TWinControl* FocusedControl();
