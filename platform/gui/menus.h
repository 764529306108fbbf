// Menus: the form's main menu, popup menus and their items (a tree of TMenuItem), realised
// as Qt menus when shown. A caption "-" is a separator; "&" marks the accelerator.
#pragma once

#include <vector>

#include "platform/gui/actions.h"

class QAction;
class QMenu;
class QMenuBar;
class QWidget;
class TMenu;
class TImageList;
class TCanvas;

using TMenuDrawItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, const TRect& ARect, bool Selected)>;
using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;

// Where an item starts a new column of its menu: not at all, plainly, or after a bar.
enum TMenuBreakKind { mbNone, mbBreak, mbBarBreak };

class TMenuItem : public TComponent, public TActionClient {
  QM_CLASS(TMenuItem, TComponent)
public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint) { hint_ = hint; }
  TShortCut ShortCut() const { return shortCut_; }
  // A key of the item's own, kept (and shown) whatever key its action has.
  void SetShortCut(TShortCut shortCut);
  bool Checked() const { return checked_; }
  // Checking a radio item unchecks the other radio items of its group in the same menu.
  void SetChecked(bool checked);
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool v);
  bool AutoCheck() const { return autoCheck_; }
  void SetAutoCheck(bool v) { autoCheck_ = v; }
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int v) { groupIndex_ = v; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Default() const { return default_; }
  void SetDefault(bool v);
  TMenuBreakKind Break() const { return break_; }
  void SetBreak(TMenuBreakKind v) { break_ = v; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int v) { helpContext_ = v; }
  bool IsLine() const { return caption_ == "-"; }
  TBasicAction* Action() const { return action_; }
  void SetAction(TBasicAction* action);

  int Count() const { return int(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(size_t(index)); }
  TMenuItem* Parent() const { return parent_; }
  int MenuIndex() const;
  int IndexOf(const TMenuItem* item) const;
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  // Takes the item out of this menu without freeing it.
  void Remove(TMenuItem* item);
  // Takes item `index` out (without freeing it, as the class library does).
  void Delete(int index);
  // Frees every sub-item.
  void Clear();
  // The sub-item whose caption without "&" equals `caption` (case-insensitive), or nullptr.
  TMenuItem* Find(const std::string& caption) const;
  // The menu the item belongs to (through its parents), or nullptr.
  TMenu* GetParentMenu() const;
  // Runs the action or OnClick (toggling Checked first under AutoCheck).
  virtual void Click();

  void ActionChanged() override;
  // Owner drawing (when the menu's OwnerDraw is on): OnDrawItem draws the item, else a plain
  // caption is drawn; OnMeasureItem may change the size measured for it.
  virtual void DrawItem(TCanvas* canvas, const TRect& rect, TOwnerDrawState state);
  virtual void MeasureItem(TCanvas* canvas, int& width, int& height);

  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

  // For the layer: the Qt action showing the item, and its submenu.
  QAction* QtAction();
  QMenu* QtMenu();
  // Fills `menu` with the visible sub-items.
  void BuildQtMenu(QMenu* menu);

protected:
  void SetParentComponent(TComponent* parent) override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  friend class TMenu;
  void UpdateQtAction();
  void Changed(bool structure);

  std::string caption_, hint_;
  TShortCut shortCut_ = 0;
  bool ownShortCut_ = false;
  bool checked_ = false, radioItem_ = false, autoCheck_ = false, enabled_ = true, visible_ = true, default_ = false;
  int groupIndex_ = 0, imageIndex_ = -1, helpContext_ = 0;
  TMenuBreakKind break_ = mbNone;
  TBasicAction* action_ = nullptr;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on the root item of a menu
  std::vector<TMenuItem*> items_;
  QAction* qaction_ = nullptr;
  QAction* qdrawn_ = nullptr;  // the owner-drawn form of the item
  QMenu* qmenu_ = nullptr;
};

class TMenu : public TComponent {
  QM_CLASS(TMenu, TComponent)
public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;
  // The root item; the menu's entries are its sub-items.
  TMenuItem* Items() const { return items_; }
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images);
  // Runs the enabled, visible item bound to `shortCut`; answers whether one ran.
  bool IsShortCut(TShortCut shortCut);
  // Called when an item of the menu changed (captions, structure).
  virtual void MenuChanged(bool structure) {}
  // With OwnerDraw the items of popups and submenus (those without sub-items) are drawn and
  // measured through DrawMenuItem and MeasureMenuItem, which by default ask the item.
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool v) { ownerDraw_ = v; }
  virtual void DrawMenuItem(TMenuItem* item, TCanvas* canvas, const TRect& rect, TOwnerDrawState state) {
    item->DrawItem(canvas, rect, state);
  }
  virtual void MeasureMenuItem(TMenuItem* item, TCanvas* canvas, int& width, int& height) {
    item->MeasureItem(canvas, width, height);
  }

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  TMenuItem* items_;
  TImageList* images_ = nullptr;
  bool ownerDraw_ = false;
};

// The menu bar of a form (its Menu property).
class TMainMenu : public TMenu {
  QM_CLASS(TMainMenu, TMenu)
public:
  explicit TMainMenu(TComponent* owner);
  ~TMainMenu() override;
  // For the layer: the bar shown in `parent`, made on first need.
  QMenuBar* QtMenuBar(QWidget* parent);
  void MenuChanged(bool structure) override;

private:
  void Rebuild();
  QMenuBar* bar_ = nullptr;
};

// Scoped: the paragraph alignments of rich text use the name paCenter too.
enum class TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
  QM_CLASS(TPopupMenu, TMenu)
public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;
  // Shows the menu at screen point (x, y) after OnPopup.
  virtual void Popup(int x, int y);
  // The control the menu was last opened for.
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* c) { popupComponent_ = c; }
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool v) { autoPopup_ = v; }
  TPopupAlignment Alignment() const { return alignment_; }
  void SetAlignment(TPopupAlignment a) { alignment_ = a; }
  // For the layer and tests: the Qt menu of the last popup.
  QMenu* QtMenu();

  TNotifyEvent OnPopup;

private:
  TComponent* popupComponent_ = nullptr;
  bool autoPopup_ = true;
  TPopupAlignment alignment_ = TPopupAlignment::paLeft;
  QMenu* qmenu_ = nullptr;
};

// Removes the accelerator marks of a caption ("&File" -> "File", "&&" -> "&").
std::string StripHotkey(const std::string& caption);

// Why a user cannot reach `item` now ("hidden" or "disabled", naming the first submenu on the
// way from the top that is, or the item); empty when all of them are visible and enabled.
std::string MenuItemUnreachable(const TMenuItem& item);
