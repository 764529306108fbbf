#include "platform/gui/mouse_send.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

namespace {

// The widget the button was pressed on, which takes the events until it is released.
QPointer<QWidget>& Pressed() {
  static QPointer<QWidget> pressed;
  return pressed;
}

// The widget under screen point `p`: tool windows and popups lie above the other windows.
QWidget* WidgetAt(const QPoint& p) {
  QWidget* below = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (!w->isVisible() || !w->geometry().contains(p) || w->testAttribute(Qt::WA_TransparentForMouseEvents) ||
        w->windowFlags().testFlag(Qt::WindowTransparentForInput))
      continue;
    const Qt::WindowType type = w->windowType();
    QWidget* child = w->childAt(w->mapFromGlobal(p));
    QWidget* at = child ? child : w;
    if (type == Qt::Tool || type == Qt::Popup) return at;
    if (!below) below = at;
  }
  return below;
}

}  // namespace

void SendMouseAt(TMouseAction action, TPoint p, TShiftState shift) {
  const QPoint global(p.X, p.Y);
  QCursor::setPos(global);
  QWidget* target = QWidget::mouseGrabber();
  const bool press = action == TMouseAction::Press || action == TMouseAction::DoubleClick;
  if (!target) target = press || !Pressed() ? WidgetAt(global) : Pressed().data();
  if (!target) return;
  Qt::KeyboardModifiers mods;
  if (shift & ssShift) mods |= Qt::ShiftModifier;
  if (shift & ssCtrl) mods |= Qt::ControlModifier;
  if (shift & ssAlt) mods |= Qt::AltModifier;
  const QEvent::Type type = action == TMouseAction::Press         ? QEvent::MouseButtonPress
                            : action == TMouseAction::DoubleClick ? QEvent::MouseButtonDblClick
                            : action == TMouseAction::Release     ? QEvent::MouseButtonRelease
                                                              : QEvent::MouseMove;
  const Qt::MouseButton button = action == TMouseAction::Move ? Qt::NoButton : Qt::LeftButton;
  const Qt::MouseButtons held = action == TMouseAction::Release ? Qt::NoButton
                                : press || Pressed() ? Qt::LeftButton
                                                     : Qt::NoButton;
  if (press) Pressed() = target;
  if (action == TMouseAction::Release) Pressed() = nullptr;
  const QPointF local = target->mapFromGlobal(QPointF(global));
  QMouseEvent event(type, local, QPointF(global), button, held, mods);
  QApplication::sendEvent(target, &event);
}
