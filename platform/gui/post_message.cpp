#include "platform/gui/post_message.h"

#include <QTimer>
#include <QWidget>

#include "platform/gui/control.h"
#include "platform/gui/qt_bridge.h"

void PostMessage(TWinControl* control, unsigned msg, uintptr_t wParam, intptr_t lParam) {
  if (!control) return;
  // The control's widget goes with the control: a call queued on it is dropped with it.
  QTimer::singleShot(0, control->Widget(), [control, msg, wParam, lParam] {
    GuardedCall([&] { control->Perform(msg, wParam, lParam); });
  });
}
