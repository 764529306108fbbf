// TWideEdit: a one-line edit whose text is UTF-16 (nothing is lost to the system code page),
// for editing texts in place. Keys arrive through the usual key handlers.
#pragma once

#include <string>

#include "platform/gui/control.h"

class TWideEdit : public TWinControl {
  QM_CLASS(TWideEdit, TWinControl)
public:
  explicit TWideEdit(TComponent* owner);
  ~TWideEdit() override;
  std::u16string WideText() const;
  void SetWideText(const std::u16string& text);
  // Whether the user changed the text since it was set.
  bool Modified() const { return modified_; }
  void SelectAll();
  int CursorPosition() const;
  void SetCursorPosition(int position);
  bool WantsKey(uint16_t key) const override { return key == VK_RETURN || key == VK_ESCAPE; }

  TNotifyEvent OnChange;

protected:
  QWidget* CreateWidget(QWidget* parent) override;

private:
  std::u16string text_;
  bool modified_ = false;
  bool syncing_ = false;
};
