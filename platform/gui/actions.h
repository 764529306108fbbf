// Actions: a command with caption, hint, key, checked/enabled/visible state and handlers, to
// which menu items, buttons and other controls link; linked clients follow the action.
#pragma once

#include <vector>

#include "platform/gui/component.h"

class TActionList;
class TBasicAction;

// Whether the command component `source` (menu item, control, action) may fire now: the form
// that owns it decides (TCustomForm::AllowCommand); true for a component of no form.
bool CommandAllowedNow(TComponent* source);

// Implemented by what an action can drive (controls, menu items).
class TActionClient {
public:
  virtual ~TActionClient() = default;
  // The action's caption, hint, state or key changed.
  virtual void ActionChanged() = 0;

protected:
  // Moves the client's link `link` to `action` (nullptr unlinks): the old action forgets the
  // client; the new one tells it of its changes and `self` (the client as a component) of its
  // end, and the client takes its state at once.
  void LinkAction(TComponent* self, TBasicAction*& link, TBasicAction* action);
};

class TBasicAction : public TComponent {
  QM_CLASS(TBasicAction, TComponent)
public:
  explicit TBasicAction(TComponent* owner);
  ~TBasicAction() override;
  // Runs OnExecute (after OnUpdate); answers whether a handler ran.
  virtual bool Execute();
  // Runs OnUpdate, which sets the action's state before it is shown or run.
  virtual bool Update();
  void RegisterClient(TActionClient* client);
  void UnregisterClient(TActionClient* client);

  TNotifyEvent OnExecute, OnUpdate;

protected:
  // Tells every linked client that the action changed.
  void Change();

private:
  std::vector<TActionClient*> clients_;
};

class TAction : public TBasicAction {
  QM_CLASS(TAction, TBasicAction)
public:
  explicit TAction(TComponent* owner);
  ~TAction() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& v);
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut v);
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int v) { groupIndex_ = v; }
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int v) { helpContext_ = v; }
  const std::string& Category() const { return category_; }
  void SetCategory(const std::string& v) { category_ = v; }
  TActionList* ActionList() const { return actionList_; }
  void SetActionList(TActionList* list);
  // Runs the action only when enabled.
  bool Execute() override;
  // An action read inside an action list joins it.
  void SetParentComponent(TComponent* parent) override;

private:
  std::string caption_, hint_, category_;
  TShortCut shortCut_ = 0;
  bool checked_ = false, enabled_ = true, visible_ = true;
  int imageIndex_ = -1, groupIndex_ = 0, helpContext_ = 0;
  TActionList* actionList_ = nullptr;
  friend class TActionList;
};

class TImageList;

// A list of actions; the form's shortcuts reach them through IsShortCut.
class TActionList : public TComponent {
  QM_CLASS(TActionList, TComponent)
public:
  explicit TActionList(TComponent* owner);
  ~TActionList() override;
  int ActionCount() const { return int(actions_.size()); }
  TAction* Actions(int index) const { return actions_.at(size_t(index)); }
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images);
  // Runs the enabled action bound to `shortCut`; answers whether one ran.
  bool IsShortCut(TShortCut shortCut);
  // Runs every action's OnUpdate (the application does this when idle).
  void UpdateActions();
  // Every action list there is, oldest first: the idle work finds its lists without looking
  // through every component of every window.
  static const std::vector<TActionList*>& All();

  TNotifyEvent OnUpdate;

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  friend class TAction;
  std::vector<TAction*> actions_;
  TImageList* images_ = nullptr;
};
