#include "platform/gui/control_grab.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include "platform/gui/control.h"
#include "platform/gui/graphics.h"

void GrabControl(TControl& control, TBitmap& bitmap) {
  QImage image = control.Widget()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
  bitmap.SetSize(image.width(), image.height());
  bitmap.Image() = image;
}
