#include "components/flat_combo.h"

#include "platform/gui/combo_style.h"

QM_CLASS_INFO(TCustomFlatComboBox, TComboBox, [](TClassBuilder<TCustomFlatComboBox>& b) {
  b.Boolean("Flat", &TCustomFlatComboBox::Flat, &TCustomFlatComboBox::SetFlat);
})

QM_CLASS_INFO(TFlatComboBox, TCustomFlatComboBox, [](TClassBuilder<TFlatComboBox>&) {})

TCustomFlatComboBox::TCustomFlatComboBox(TComponent* owner) : TComboBox(owner) {}

void TCustomFlatComboBox::SetFlat(bool v) {
  flat_ = v;
  UpdateFrame();
}

bool TCustomFlatComboBox::Raised() const { return !flat_ || mouseIn_ || focused_; }

void TCustomFlatComboBox::UpdateFrame() {
  if (WidgetCreated()) SetComboFlat(*this, !Raised());
}

void TCustomFlatComboBox::InitWidget() {
  TComboBox::InitWidget();
  UpdateFrame();
}

void TCustomFlatComboBox::WndProc(TMessage& message) {
  if (message.Msg == CM_MOUSEENTER || message.Msg == CM_MOUSELEAVE) {
    mouseIn_ = message.Msg == CM_MOUSEENTER;
    UpdateFrame();
  }
  TComboBox::WndProc(message);
}

void TCustomFlatComboBox::DoEnter() {
  focused_ = true;
  UpdateFrame();
  TComboBox::DoEnter();
}

void TCustomFlatComboBox::DoExit() {
  focused_ = false;
  UpdateFrame();
  TComboBox::DoExit();
}

void TCustomFlatComboBox::EnabledChanged() {
  // Disabled, the box takes its parent's colour; enabled again, its own comes back.
  if (!Enabled()) {
    enabledColor_ = Color();
    if (Parent()) SetColor(Parent()->Color());
  } else {
    SetColor(enabledColor_);
  }
  TComboBox::EnabledChanged();
}
