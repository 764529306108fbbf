#include "platform/gui/image_list.h"

#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include "platform/exceptions.h"
#include "platform/gui/graphics.h"
#include "platform/gui/qt_bridge.h"

QM_CLASS_INFO(TImageList, TComponent, [](TClassBuilder<TImageList>& c) {
  c.Integer("Width", &TImageList::Width, &TImageList::SetWidth);
  c.Integer("Height", &TImageList::Height, &TImageList::SetHeight);
  c.Boolean("Masked", &TImageList::Masked, &TImageList::SetMasked);
  c.Event("OnChange", &TImageList::OnChange);
})

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}
TImageList::~TImageList() = default;

void TImageList::Changed() {
  if (OnChange) OnChange(this);
}

void TImageList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) throw EInvalidOperation("Invalid image list index " + std::to_string(index));
}

void TImageList::SetWidth(int w) {
  if (w == width_) return;
  width_ = w;
  images_.clear();
  Changed();
}

void TImageList::SetHeight(int h) {
  if (h == height_) return;
  height_ = h;
  images_.clear();
  Changed();
}

namespace {

QImage MaskedImage(const QImage& source, TColor maskColor) {
  QImage img = source.convertToFormat(QImage::Format_ARGB32);
  if (maskColor == clNone) return img;
  QRgb key = ToQColor(maskColor == clDefault ? FromQColor(QColor(source.pixel(0, source.height() - 1))) : maskColor).rgb() | 0xFF000000u;
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x)
      if ((line[x] | 0xFF000000u) == key) line[x] = 0;
  }
  return img;
}

}  // namespace

int TImageList::Add(const TBitmap& bitmap, TColor maskColor) {
  const QImage& source = bitmap.Image();
  if (source.isNull()) return -1;
  QImage img = MaskedImage(source, maskColor);
  int first = Count();
  int pieces = std::max(1, img.width() / std::max(width_, 1));
  for (int i = 0; i < pieces; ++i) {
    QImage piece(width_, height_, QImage::Format_ARGB32);
    piece.fill(Qt::transparent);
    QPainter p(&piece);
    p.drawImage(0, 0, img.copy(i * width_, 0, width_, height_));
    p.end();
    images_.push_back(std::make_unique<QImage>(piece));
  }
  Changed();
  return first;
}

int TImageList::AddFromFile(const std::string& fileName, TColor maskColor) {
  TBitmap bitmap;
  bitmap.LoadFromFile(fileName);
  return Add(bitmap, maskColor);
}

void TImageList::Replace(int index, const TBitmap& bitmap, TColor maskColor) {
  CheckIndex(index);
  QImage img = MaskedImage(bitmap.Image(), maskColor).scaled(width_, height_);
  *images_[size_t(index)] = img;
  Changed();
}

void TImageList::Delete(int index) {
  CheckIndex(index);
  images_.erase(images_.begin() + index);
  Changed();
}

void TImageList::Clear() {
  images_.clear();
  Changed();
}

void TImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) const {
  if (index < 0 || index >= Count()) return;
  QPainter* p = canvas->Painter();
  if (!p) return;
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (enabled) {
    p->drawImage(x, y, *images_[size_t(index)]);
  } else {
    QIcon icon(QPixmap::fromImage(*images_[size_t(index)]));
    p->drawPixmap(x, y, icon.pixmap(width_, height_, QIcon::Disabled));
  }
}

void TImageList::GetBitmap(int index, TBitmap& bitmap) const {
  CheckIndex(index);
  bitmap.SetSize(width_, height_);
  QImage& target = bitmap.Image();
  target.fill(Qt::white);
  QPainter p(&target);
  p.drawImage(0, 0, *images_[size_t(index)]);
}

QIcon TImageList::QtIcon(int index) const {
  if (index < 0 || index >= Count()) return QIcon();
  return QIcon(QPixmap::fromImage(*images_[size_t(index)]));
}
