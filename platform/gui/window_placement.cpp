#include "platform/gui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "platform/gui/form.h"

TRect NormalFormBounds(TCustomForm& form) {
  QWidget* w = form.ExistingWidget();
  if (!w || !(w->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
    return form.BoundsRect();
  const QRect normal = w->normalGeometry();
  if (!normal.isValid()) return form.BoundsRect();
  // The outer corner lies the frame's width away from the client area's corner.
  const QPoint frame = w->pos() - w->geometry().topLeft();
  return Bounds(normal.x() + frame.x(), normal.y() + frame.y(), normal.width(), normal.height());
}

std::vector<TRect> MonitorRects() {
  std::vector<TRect> rects;
  for (QScreen* s : QGuiApplication::screens()) {
    const QRect g = s->geometry();
    rects.push_back(Bounds(g.x(), g.y(), g.width(), g.height()));
  }
  return rects;
}

void SetFormSizeLimits(TCustomForm& form, int minWidth, int minHeight, int maxWidth, int maxHeight) {
  QWidget* w = form.Widget();
  w->setMinimumSize(std::max(0, minWidth), std::max(0, minHeight));
  w->setMaximumSize(maxWidth > 0 ? maxWidth : QWIDGETSIZE_MAX, maxHeight > 0 ? maxHeight : QWIDGETSIZE_MAX);
  const bool fixed = minWidth > 0 && minWidth == maxWidth && minHeight > 0 && minHeight == maxHeight;
  if (fixed && (w->windowFlags() & Qt::WindowMaximizeButtonHint))
    w->setWindowFlag(Qt::WindowMaximizeButtonHint, false);
}
