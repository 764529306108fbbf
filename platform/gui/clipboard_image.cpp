#include "platform/gui/clipboard_image.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "platform/gui/application.h"
#include "platform/gui/graphics.h"

bool ClipboardHasImage() {
  EnsureGuiApplication();
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data && data->hasImage();
}

bool ClipboardImage(TBitmap& bitmap) {
  if (!ClipboardHasImage()) return false;
  const QImage image = QGuiApplication::clipboard()->image();
  if (image.isNull()) return false;
  bitmap.Image() = image.convertToFormat(QImage::Format_ARGB32);
  return true;
}

void SetClipboardImage(const TBitmap& bitmap) {
  EnsureGuiApplication();
  QGuiApplication::clipboard()->setImage(bitmap.Image());
}
