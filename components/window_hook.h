// TExWindowHook: lets a component see the messages of a windowed control before and after the
// control handles them. Hooks of one control run from the last attached to the first; a
// BeforeMessage handler that sets Handled keeps the message from the control (WM_DESTROY always
// goes on).
#pragma once

#include <functional>
#include <memory>

#include "platform/gui/control.h"

using THookMessageEvent = std::function<void(TObject* Sender, TMessage& Msg, bool& Handled)>;

class TExWindowHook : public TComponent {
  QM_CLASS(TExWindowHook, TComponent)
public:
  explicit TExWindowHook(TComponent* owner);
  ~TExWindowHook() override;

  bool Active() const { return active_; }
  void SetActive(bool v);
  TWinControl* WinControl() const { return control_; }
  void SetWinControl(TWinControl* control);

  THookMessageEvent BeforeMessage, AfterMessage;

  struct Record;

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  void Attach();
  void Detach();
  bool active_ = true;
  TWinControl* control_ = nullptr;
  std::shared_ptr<Record> record_;
};
