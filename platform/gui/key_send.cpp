#include "platform/gui/key_send.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "platform/gui/control.h"
#include "platform/gui/qt_bridge.h"

namespace {

// The control's inner widget that has the focus takes the key, as typing would reach it.
QWidget* KeyTarget(TWinControl* control) {
  QWidget* target = control->Widget();
  if (QWidget* focused = QApplication::focusWidget(); focused && target->isAncestorOf(focused)) return focused;
  if (target->focusProxy()) return target->focusProxy();
  return target;
}

void SendKeyEvents(QWidget* target, int qtKey, Qt::KeyboardModifiers mods, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, qtKey, mods, text);
  QCoreApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, qtKey, mods, text);
  QCoreApplication::sendEvent(target, &release);
}

}  // namespace

void SendKeyTo(TWinControl* control, uint16_t key, TShiftState shift) {
  if (!control) return;
  Qt::KeyboardModifiers mods;
  if (shift & ssShift) mods |= Qt::ShiftModifier;
  if (shift & ssCtrl) mods |= Qt::ControlModifier;
  if (shift & ssAlt) mods |= Qt::AltModifier;
  SendKeyEvents(KeyTarget(control), QtKeyFromVirtual(key), mods, QString());
}

void TypeTextTo(TWinControl* control, const std::u16string& text) {
  if (!control) return;
  for (char16_t c : text) {
    const QChar character(c);
    int qtKey = character.toUpper().unicode();
    if (c == u'\r') qtKey = Qt::Key_Return;
    if (c == u'\t') qtKey = Qt::Key_Tab;
    const Qt::KeyboardModifiers mods = character.isUpper() ? Qt::ShiftModifier : Qt::NoModifier;
    SendKeyEvents(KeyTarget(control), qtKey, mods, QString(character));
  }
}
