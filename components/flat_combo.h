// Flat combo boxes: TFlatComboBox draws without a frame of its own until the mouse is over it
// or it has the focus; disabled, it shows its parent's colour and keeps its own for later.
#pragma once

#include "platform/gui/std_controls.h"

class TCustomFlatComboBox : public TComboBox {
  QM_CLASS(TCustomFlatComboBox, TComboBox)
public:
  explicit TCustomFlatComboBox(TComponent* owner);
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  // True while the frame is drawn raised (mouse over the control or focus in it).
  bool Raised() const;

protected:
  void InitWidget() override;
  void WndProc(TMessage& message) override;
  void EnabledChanged() override;
  void DoEnter() override;
  void DoExit() override;

private:
  void UpdateFrame();
  bool flat_ = false, mouseIn_ = false, focused_ = false;
  TColor enabledColor_ = clWindow;
};

class TFlatComboBox : public TCustomFlatComboBox {
  QM_CLASS(TFlatComboBox, TCustomFlatComboBox)
public:
  explicit TFlatComboBox(TComponent* owner) : TCustomFlatComboBox(owner) {}
};
