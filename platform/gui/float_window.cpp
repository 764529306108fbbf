#include "platform/gui/float_window.h"

#include <QApplication>
#include <QStyle>
#include <QWidget>

#include "platform/gui/application.h"
#include "platform/gui/control.h"
#include "platform/gui/form.h"
#include "platform/gui/qt_bridge.h"

void SetFloatingWindow(TControl& control, TCustomForm& form, bool floating, const std::string& caption) {
  QWidget* w = control.Widget();
  const bool shown = w->isVisible();
  if (floating) {
    w->setParent(form.Widget(), Qt::Tool | Qt::WindowDoesNotAcceptFocus | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    w->setAttribute(Qt::WA_ShowWithoutActivating);
    w->setWindowTitle(ToQ(caption));
    w->setMinimumSize(1, 1);
  } else if (w->isWindow()) {
    QWidget* parent = control.Parent() ? control.Parent()->Widget() : form.Widget();
    w->setParent(parent, Qt::Widget);
  }
  w->move(control.Left(), control.Top());
  w->resize(control.Width(), control.Height());
  if (shown || control.Visible()) w->show();
}

int FloatFrameWidth() {
  EnsureGuiApplication();
  return QApplication::style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
}

int FloatCaptionHeight() {
  EnsureGuiApplication();
  return QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight) - 1;
}
