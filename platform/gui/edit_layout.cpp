#include "platform/gui/edit_layout.h"

#include <QLineEdit>

#include "platform/gui/std_controls.h"

void SetEditTextMargins(TCustomEdit& edit, int left, int right) {
  if (auto* line = qobject_cast<QLineEdit*>(edit.Widget())) line->setTextMargins(left, 0, right, 0);
}

void SetEditAlignment(TCustomEdit& edit, TAlignment alignment) {
  auto* line = qobject_cast<QLineEdit*>(edit.Widget());
  if (!line) return;
  const Qt::Alignment h = alignment == taRightJustify ? Qt::AlignRight
                          : alignment == taCenter     ? Qt::AlignHCenter
                                                      : Qt::AlignLeft;
  line->setAlignment(h | Qt::AlignVCenter);
}
