#include "platform/gui/data_drag.h"

#include <QDrag>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QPixmap>
#include <QWidget>

#include "platform/gui/clipboard.h"
#include "platform/gui/control.h"
#include "platform/gui/graphics.h"
#include "platform/gui/qt_bridge.h"

namespace {

// The formats of a drag's data that have clipboard numbers.
TDataDropInfo Describe(const QMimeData* mime, QWidget* control, QWidget* child, QPointF pos,
                       Qt::KeyboardModifiers mods, Qt::DropActions actions) {
  TDataDropInfo info;
  QPoint p = control->mapFromGlobal(child->mapToGlobal(pos.toPoint()));
  info.Point = {p.x(), p.y()};
  info.Shift = ShiftFromQt(mods);
  info.Allowed = unsigned(int(actions) & 7);
  for (const QString& type : mime->formats()) {
    static const QString prefix = "application/x-qt-windows-mime;value=\"";
    if (type.startsWith(prefix)) {
      QString name = type.mid(prefix.size());
      name.chop(1);
      info.Formats.push_back(RegisterClipboardFormat(name.toStdString()));
    } else if (type == "text/plain") {
      info.Formats.push_back(CF_UNICODETEXT);
    }
  }
  info.Data = [mime](unsigned format) {
    if (format == CF_UNICODETEXT) {
      QString text = mime->text();
      return std::string(reinterpret_cast<const char*>(text.utf16()), size_t(text.size()) * 2);
    }
    QByteArray bytes = mime->data(ClipboardMimeOf(format));
    return std::string(bytes.constData(), size_t(bytes.size()));
  };
  return info;
}

class TDropFilter : public QObject {
public:
  TDropFilter(TControl* control, TDataDropTarget* target) : control_(control), target_(target) {}

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* child = qobject_cast<QWidget*>(watched);
    QWidget* widget = control_->ExistingWidget();
    if (!child || !widget) return false;
    switch (event->type()) {
      case QEvent::DragEnter:
      case QEvent::DragMove: {
        auto* e = static_cast<QDragMoveEvent*>(event);
        unsigned effect = DROPEFFECT_NONE;
        TDataDropInfo info = Describe(e->mimeData(), widget, child, e->position(), e->modifiers(), e->possibleActions());
        GuardedCall([&] { effect = target_->DataDragOver(info, event->type() == QEvent::DragEnter); });
        if (effect == DROPEFFECT_NONE) {
          e->ignore();
        } else {
          e->setDropAction(Qt::DropAction(effect));
          e->accept();
        }
        return true;
      }
      case QEvent::DragLeave:
        GuardedCall([&] { target_->DataDragLeave(); });
        return true;
      case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(event);
        unsigned effect = DROPEFFECT_NONE;
        TDataDropInfo info = Describe(e->mimeData(), widget, child, e->position(), e->modifiers(), e->possibleActions());
        GuardedCall([&] { effect = target_->DataDrop(info); });
        if (effect == DROPEFFECT_NONE) {
          e->ignore();
        } else {
          e->setDropAction(Qt::DropAction(effect));
          e->accept();
        }
        return true;
      }
      default: return false;
    }
  }

private:
  TControl* control_;
  TDataDropTarget* target_;
};

}  // namespace

unsigned DoDataDrag(TControl& source, const TDragFormats& data, unsigned allowedEffects, const TBitmap* image,
                    TPoint hotSpot) {
  auto* drag = new QDrag(source.Widget());
  auto* mime = new QMimeData;
  for (const auto& [format, bytes] : data) {
    if (format == CF_UNICODETEXT) {
      mime->setText(QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.data()), qsizetype(bytes.size() / 2)));
    } else {
      QString type = ClipboardMimeOf(format);
      if (!type.isEmpty()) mime->setData(type, QByteArray(bytes.data(), qsizetype(bytes.size())));
    }
  }
  drag->setMimeData(mime);
  if (image && !image->Empty()) {
    QImage picture = image->Image().convertToFormat(QImage::Format_ARGB32);
    QRgb clear = ToQColor(image->TransparentColor()).rgb();
    for (int y = 0; y < picture.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
      for (int x = 0; x < picture.width(); ++x)
        if ((line[x] & 0xFFFFFF) == (clear & 0xFFFFFF)) line[x] = 0;
    }
    drag->setPixmap(QPixmap::fromImage(picture));
    drag->setHotSpot(QPoint(hotSpot.X, hotSpot.Y));
  }
  Qt::DropAction action = drag->exec(Qt::DropActions(int(allowedEffects) & 7), Qt::CopyAction);
  return unsigned(int(action) & 7);
}

void RegisterDataDropTarget(TControl& control, TDataDropTarget* target) {
  QWidget* widget = control.Widget();
  const char* key = "qmDataDropFilter";
  if (auto* old = widget->property(key).value<QObject*>()) {
    delete old;
    widget->setProperty(key, QVariant());
  }
  QList<QWidget*> widgets = widget->findChildren<QWidget*>();
  widgets.prepend(widget);
  for (QWidget* w : widgets) w->setAcceptDrops(target != nullptr);
  if (!target) return;
  auto* filter = new TDropFilter(&control, target);
  filter->setParent(widget);
  for (QWidget* w : widgets) w->installEventFilter(filter);
  widget->setProperty(key, QVariant::fromValue<QObject*>(filter));
}
