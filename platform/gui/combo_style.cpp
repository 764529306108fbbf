#include "platform/gui/combo_style.h"

#include <QComboBox>

#include "platform/gui/std_controls.h"

void SetComboFlat(TComboBox& combo, bool flat) {
  if (auto* box = qobject_cast<QComboBox*>(combo.Widget())) box->setFrame(!flat);
}
