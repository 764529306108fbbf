#include "platform/gui/float_window.h"

#include <algorithm>

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QRegion>
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
                       std::function<void()> onClose) {
  QWidget* w = control.Widget();
  const bool shown = w->isVisible();
  for (QObject* old : w->findChildren<QObject*>(CloseFilter::kName, Qt::FindDirectChildrenOnly)) delete old;
  if (floating) {
    w->setParent(form.Widget(), Qt::Tool | Qt::WindowDoesNotAcceptFocus | Qt::FramelessWindowHint);
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

namespace {

// The drag outline: a window shaped to a frame, filled with a half-tone pattern.
class OutlineWindow : public QWidget {
public:
  OutlineWindow()
      : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                             Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_ShowWithoutActivating);
  }
  void Place(const QRect& r, int thickness) {
    setGeometry(r);
    const QRect inner = QRect(QPoint(0, 0), r.size()).adjusted(thickness, thickness, -thickness, -thickness);
    setMask(QRegion(QRect(QPoint(0, 0), r.size())).subtracted(QRegion(inner)));
    show();
    raise();
  }

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.fillRect(rect(), QBrush(Qt::black, Qt::Dense4Pattern));
  }
};

OutlineWindow*& Outline() {
  static OutlineWindow* outline = nullptr;
  return outline;
}

}  // namespace

void ShowDragOutline(const TRect& r, int thickness) {
  EnsureGuiApplication();
  if (!Outline()) {
    Outline() = new OutlineWindow;
    QObject::connect(qApp, &QObject::destroyed, [] { Outline() = nullptr; });
  }
  Outline()->Place(QRect(r.Left, r.Top, r.Width(), r.Height()), std::max(1, thickness));
}

void HideDragOutline() {
  if (Outline()) Outline()->hide();
}

int FloatFrameWidth() {
  EnsureGuiApplication();
  return QApplication::style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
}

int FloatCaptionHeight() {
  EnsureGuiApplication();
  return QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight) - 1;
}
