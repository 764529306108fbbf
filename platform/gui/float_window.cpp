#include "platform/gui/float_window.h"

#include <QApplication>
#include <QEvent>
#include <QStyle>
#include <QWidget>

#include "platform/gui/application.h"
#include "platform/gui/control.h"
#include "platform/gui/form.h"
#include "platform/gui/qt_bridge.h"

namespace {

// Turns the window manager's close of a floating window into the owner's decision.
class CloseFilter : public QObject {
public:
  CloseFilter(QObject* parent, std::function<void()> onClose) : QObject(parent), onClose_(std::move(onClose)) {
    setObjectName(kName);
  }
  static constexpr const char* kName = "qm-floating-close";
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() != QEvent::Close) return false;
    e->ignore();
    if (onClose_) GuardedCall(onClose_);
    return true;
  }

private:
  std::function<void()> onClose_;
};

}  // namespace

void SetFloatingWindow(TControl& control, TCustomForm& form, bool floating, const std::string& caption,
                       bool closeButton, std::function<void()> onClose) {
  QWidget* w = control.Widget();
  const bool shown = w->isVisible();
  for (QObject* old : w->findChildren<QObject*>(CloseFilter::kName, Qt::FindDirectChildrenOnly)) delete old;
  if (floating) {
    Qt::WindowFlags flags = Qt::Tool | Qt::WindowDoesNotAcceptFocus | Qt::WindowTitleHint;
    if (closeButton) flags |= Qt::WindowCloseButtonHint;
    w->setParent(form.Widget(), flags);
    w->installEventFilter(new CloseFilter(w, std::move(onClose)));
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
