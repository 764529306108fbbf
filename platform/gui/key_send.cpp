#include "platform/gui/key_send.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "platform/gui/control.h"
#include "platform/gui/qt_bridge.h"

void SendKeyTo(TWinControl* control, uint16_t key, TShiftState shift) {
  if (!control) return;
  QWidget* target = control->Widget();
  // The control's inner widget that has the focus takes the key, as typing would reach it.
  if (QWidget* focused = QApplication::focusWidget(); focused && target->isAncestorOf(focused)) target = focused;
  else if (target->focusProxy()) target = target->focusProxy();
  Qt::KeyboardModifiers mods;
  if (shift & ssShift) mods |= Qt::ShiftModifier;
  if (shift & ssCtrl) mods |= Qt::ControlModifier;
  if (shift & ssAlt) mods |= Qt::AltModifier;
  const int qtKey = QtKeyFromVirtual(key);
  QKeyEvent press(QEvent::KeyPress, qtKey, mods);
  QCoreApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, qtKey, mods);
  QCoreApplication::sendEvent(target, &release);
}
