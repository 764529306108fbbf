#include "platform/gui/graphics.h"

#include <QFontMetrics>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPolygon>
#include <cmath>

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/gui/application.h"
#include "platform/gui/qt_bridge.h"

QM_CLASS_INFO(TFont, TPersistent, [](TClassBuilder<TFont>& c) {
  c.String("Name", &TFont::Name, &TFont::SetName);
  c.Integer("Size", &TFont::Size, &TFont::SetSize);
  c.Integer("Height", &TFont::Height, &TFont::SetHeight);
  c.Set<TFontStyles>("Style", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}, &TFont::Style, &TFont::SetStyle);
  c.Color("Color", &TFont::Color, &TFont::SetColor);
  c.Integer("Charset", &TFont::Charset, &TFont::SetCharset);
  c.Enum<TFontPitch>("Pitch", {"fpDefault", "fpVariable", "fpFixed"}, &TFont::Pitch, &TFont::SetPitch);
})

QM_CLASS_INFO(TPen, TPersistent, [](TClassBuilder<TPen>& c) {
  c.Color("Color", &TPen::Color, &TPen::SetColor);
  c.Integer("Width", &TPen::Width, &TPen::SetWidth);
  c.Enum<TPenStyle>("Style", {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"},
                    &TPen::Style, &TPen::SetStyle);
})

QM_CLASS_INFO(TBrush, TPersistent, [](TClassBuilder<TBrush>& c) {
  c.Color("Color", &TBrush::Color, &TBrush::SetColor);
  c.Enum<TBrushStyle>("Style", {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"},
                      &TBrush::Style, &TBrush::SetStyle);
})

QM_CLASS_INFO(TBitmap, TPersistent, [](TClassBuilder<TBitmap>& c) {
  c.Integer("Width", &TBitmap::Width, &TBitmap::SetWidth);
  c.Integer("Height", &TBitmap::Height, &TBitmap::SetHeight);
  c.Boolean("Transparent", &TBitmap::Transparent, &TBitmap::SetTransparent);
})

// --- TFont ---

TFont::TFont() = default;

void TFont::Assign(const TFont& o) {
  name_ = o.name_;
  size_ = o.size_;
  style_ = o.style_;
  color_ = o.color_;
  charset_ = o.charset_;
  pitch_ = o.pitch_;
  Changed();
}

bool TFont::operator==(const TFont& o) const {
  return name_ == o.name_ && size_ == o.size_ && style_ == o.style_ && color_ == o.color_ &&
         charset_ == o.charset_ && pitch_ == o.pitch_;
}

void TFont::Changed() {
  if (OnChange) OnChange(nullptr);
}

void TFont::SetName(const std::string& name) {
  if (name != name_) { name_ = name; Changed(); }
}
void TFont::SetSize(int points) {
  if (points != size_) { size_ = points; Changed(); }
}
int TFont::Height() const { return -((size_ * ScreenPixelsPerInch + 36) / 72); }
void TFont::SetHeight(int pixels) {
  int h = pixels < 0 ? -pixels : pixels;
  SetSize((h * 72 + ScreenPixelsPerInch / 2) / ScreenPixelsPerInch);
}
void TFont::SetStyle(TFontStyles style) {
  if (style != style_) { style_ = style; Changed(); }
}
void TFont::SetColor(TColor color) {
  if (color != color_) { color_ = color; Changed(); }
}
void TFont::SetCharset(int charset) {
  if (charset != charset_) { charset_ = charset; Changed(); }
}
void TFont::SetPitch(TFontPitch pitch) {
  if (pitch != pitch_) { pitch_ = pitch; Changed(); }
}

// --- TCanvas ---

namespace {

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

Qt::PenStyle QtPenStyle(TPenStyle s) {
  switch (s) {
    case psDash: return Qt::DashLine;
    case psDot: return Qt::DotLine;
    case psDashDot: return Qt::DashDotLine;
    case psDashDotDot: return Qt::DashDotDotLine;
    case psClear: return Qt::NoPen;
    default: return Qt::SolidLine;
  }
}

Qt::BrushStyle QtBrushStyle(TBrushStyle s) {
  switch (s) {
    case bsClear: return Qt::NoBrush;
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::FDiagPattern;
    case bsBDiagonal: return Qt::BDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
    default: return Qt::SolidPattern;
  }
}

QPainter::CompositionMode QtMode(TPenMode m) {
  switch (m) {
    case pmXor: return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    case pmNot: return QPainter::RasterOp_NotDestination;
    case pmNotCopy: return QPainter::RasterOp_NotSource;
    case pmMerge: return QPainter::RasterOp_SourceOrDestination;
    case pmMask: return QPainter::RasterOp_SourceAndDestination;
    default: return QPainter::CompositionMode_SourceOver;
  }
}

}  // namespace

TCanvas::TCanvas() = default;
TCanvas::~TCanvas() { Release(); }

void TCanvas::Attach(QPainter* painter, TRect clip) {
  Release();
  painter_ = painter;
  clip_ = clip;
}

void TCanvas::Detach() {
  painter_ = nullptr;
  image_ = nullptr;
}

void TCanvas::AttachImage(QImage* image) {
  Release();
  image_ = image;
  painter_ = nullptr;
}

void TCanvas::Release() {
  if (ownPainter_) {
    ownPainter_->end();
    ownPainter_.reset();
    painter_ = nullptr;
  }
}

QPainter* TCanvas::Painter() {
  if (!painter_ && image_ && !image_->isNull()) {
    ownPainter_ = std::make_unique<QPainter>(image_);
    painter_ = ownPainter_.get();
  }
  return painter_;
}

TRect TCanvas::ClipRect() const {
  if (image_) return Rect(0, 0, image_->width(), image_->height());
  return clip_;
}

void TCanvas::ApplyPen(bool withBrush) {
  QPainter* p = Painter();
  if (!p) return;
  QPen pen(ToQColor(pen_.Color()));
  pen.setWidth(pen_.Width());
  pen.setStyle(QtPenStyle(pen_.Style()));
  pen.setJoinStyle(Qt::MiterJoin);
  p->setPen(pen);
  if (withBrush) p->setBrush(QBrush(ToQColor(brush_.Color()), QtBrushStyle(brush_.Style())));
  else p->setBrush(Qt::NoBrush);
  p->setCompositionMode(image_ ? QtMode(pen_.Mode()) : QPainter::CompositionMode_SourceOver);
  p->setRenderHint(QPainter::Antialiasing, false);
}

void TCanvas::LineTo(int x, int y) {
  if (QPainter* p = Painter()) {
    ApplyPen(false);
    QPoint a(penPos_.X, penPos_.Y), b(x, y);
    // Windows leaves the end point out; a single-pixel step back keeps that.
    if (a != b && pen_.Width() == 1) {
      double dx = x - a.x(), dy = y - a.y(), len = std::max(std::abs(dx), std::abs(dy));
      QPointF end(x - dx / len, y - dy / len);
      p->drawLine(QPointF(a), end);
    }
  }
  penPos_ = {x, y};
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  QPainter* p = Painter();
  if (!p || x2 <= x1 || y2 <= y1) return;
  if (brush_.Style() != bsClear) {
    ApplyPen(true);
    p->fillRect(QRect(x1, y1, x2 - x1, y2 - y1), p->brush());
  }
  if (pen_.Style() != psClear) {
    ApplyPen(false);
    int w = pen_.Width();
    p->drawRect(QRectF(x1 + (w - 1) / 2.0, y1 + (w - 1) / 2.0, x2 - x1 - w, y2 - y1 - w));
  }
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int w, int h) {
  if (QPainter* p = Painter()) {
    ApplyPen(true);
    p->drawRoundedRect(QRectF(x1, y1, x2 - x1 - 1, y2 - y1 - 1), w / 2.0, h / 2.0);
  }
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  if (QPainter* p = Painter()) {
    ApplyPen(true);
    p->drawEllipse(QRectF(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
  }
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
  if (QPainter* p = Painter()) {
    ApplyPen(true);
    QPolygon poly;
    for (TPoint pt : points) poly << QPoint(pt.X, pt.Y);
    p->drawPolygon(poly);
  }
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
  if (QPainter* p = Painter()) {
    ApplyPen(false);
    QPolygon poly;
    for (TPoint pt : points) poly << QPoint(pt.X, pt.Y);
    p->drawPolyline(poly);
  }
}

void TCanvas::FillRect(const TRect& r) {
  if (QPainter* p = Painter(); p && brush_.Style() != bsClear)
    p->fillRect(ToQRect(r), QBrush(ToQColor(brush_.Color()), QtBrushStyle(brush_.Style())));
}

void TCanvas::FrameRect(const TRect& r) {
  QPainter* p = Painter();
  if (!p || r.Width() <= 0 || r.Height() <= 0) return;
  QColor c = ToQColor(brush_.Color());
  p->fillRect(QRect(r.Left, r.Top, r.Width(), 1), c);
  p->fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), c);
  p->fillRect(QRect(r.Left, r.Top, 1, r.Height()), c);
  p->fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), c);
}

void TCanvas::DrawFocusRect(const TRect& r) {
  QPainter* p = Painter();
  if (!p) return;
  p->save();
  if (image_) p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  QPen pen(image_ ? QColor(Qt::white) : ToQColor(clWindowText), 1, Qt::DotLine);
  p->setPen(pen);
  p->setBrush(Qt::NoBrush);
  p->drawRect(QRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1));
  p->restore();
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  EnsureGuiApplication();
  QPainter* p = Painter();
  if (!p) return;
  QFont f = ToQFont(font_);
  p->setFont(f);
  QFontMetrics fm(f);
  QString s = ToQ(text);
  if (brush_.Style() != bsClear)
    p->fillRect(QRect(x, y, fm.horizontalAdvance(s), fm.height()), ToQColor(brush_.Color()));
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  p->setPen(ToQColor(font_.Color()));
  p->drawText(x, y + fm.ascent(), s);
  penPos_ = {x + fm.horizontalAdvance(s), y};
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text) {
  QPainter* p = Painter();
  if (!p) return;
  p->save();
  p->setClipRect(ToQRect(r));
  if (brush_.Style() != bsClear) p->fillRect(ToQRect(r), ToQColor(brush_.Color()));
  TBrushStyle old = brush_.Style();
  brush_.SetStyle(bsClear);
  TextOut(x, y, text);
  brush_.SetStyle(old);
  p->restore();
}

int TCanvas::DrawText(const std::string& text, TRect& r, unsigned flags) { return DrawTextW(AnsiToWide(text), r, flags); }

int TCanvas::DrawTextW(const std::u16string& text, TRect& r, unsigned flags) {
  EnsureGuiApplication();
  QFont f = ToQFont(font_);
  QFontMetrics fm(f);
  int qflags = (flags & DT_CENTER) ? Qt::AlignHCenter : (flags & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
  qflags |= (flags & DT_VCENTER) ? Qt::AlignVCenter : (flags & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
  if (flags & DT_WORDBREAK) qflags |= Qt::TextWordWrap;
  if (flags & DT_SINGLELINE) qflags |= Qt::TextSingleLine;
  if (!(flags & DT_NOPREFIX)) qflags |= Qt::TextShowMnemonic;
  QString s = QString::fromUtf16(text.data(), qsizetype(text.size()));
  if (flags & DT_END_ELLIPSIS) s = fm.elidedText(s, Qt::ElideRight, r.Width());
  QRect bound = fm.boundingRect(ToQRect(r), qflags, s);
  if (flags & DT_CALCRECT) {
    r.Right = r.Left + bound.width();
    r.Bottom = r.Top + bound.height();
    return bound.height();
  }
  if (QPainter* p = Painter()) {
    p->setFont(f);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->setPen(ToQColor(font_.Color()));
    p->drawText(ToQRect(r), qflags, s);
  }
  return bound.height();
}

int TCanvas::TextWidth(const std::string& text) {
  EnsureGuiApplication();
  return QFontMetrics(ToQFont(font_)).horizontalAdvance(ToQ(text));
}

int TCanvas::TextHeight(const std::string& text) {
  EnsureGuiApplication();
  return QFontMetrics(ToQFont(font_)).height();
}

namespace {

QImage Drawable(const TBitmap& bitmap) {
  const QImage& img = bitmap.Image();
  if (!bitmap.Transparent()) return img;
  QImage masked = img.convertToFormat(QImage::Format_ARGB32);
  QRgb key = ToQColor(bitmap.TransparentColor()).rgb() | 0xFF000000u;
  for (int y = 0; y < masked.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
    for (int x = 0; x < masked.width(); ++x)
      if ((line[x] | 0xFF000000u) == key) line[x] = 0;
  }
  return masked;
}

}  // namespace

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
  if (QPainter* p = Painter()) {
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->drawImage(x, y, Drawable(bitmap));
  }
}

void TCanvas::StretchDraw(const TRect& r, const TBitmap& bitmap) {
  if (QPainter* p = Painter()) {
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->drawImage(ToQRect(r), Drawable(bitmap));
  }
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) {
  if (!source.image_) return;
  source.Release();
  QImage part = source.image_->copy(ToQRect(sourceRect));
  if (QPainter* p = Painter()) {
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->drawImage(ToQRect(dest), part);
  }
}

TColor TCanvas::Pixel(int x, int y) {
  if (!image_ || x < 0 || y < 0 || x >= image_->width() || y >= image_->height()) return clNone;
  Release();
  return FromQColor(QColor(image_->pixel(x, y)));
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  if (!image_ || x < 0 || y < 0 || x >= image_->width() || y >= image_->height()) {
    if (QPainter* p = Painter()) p->fillRect(QRect(x, y, 1, 1), ToQColor(color));
    return;
  }
  Release();
  image_->setPixel(x, y, ToQColor(color).rgb());
}

// --- TBitmap ---

TBitmap::TBitmap() : image_(std::make_unique<QImage>()) {}

TBitmap::TBitmap(int width, int height) : TBitmap() { SetSize(width, height); }

TBitmap::~TBitmap() {
  if (canvas_) canvas_->Release();
}

void TBitmap::Assign(const TBitmap& other) {
  Image() = other.Image().copy();
  transparent_ = other.transparent_;
  transparentColor_ = other.transparentColor_;
}

int TBitmap::Width() const { return image_->width(); }
int TBitmap::Height() const { return image_->height(); }
bool TBitmap::Empty() const { return image_->isNull() || image_->width() == 0 || image_->height() == 0; }

void TBitmap::SetSize(int w, int h) {
  if (w == Width() && h == Height()) return;
  QImage& img = Image();
  QImage sized(std::max(w, 0), std::max(h, 0), QImage::Format_RGB32);
  sized.fill(Qt::white);
  if (!img.isNull()) {
    QPainter p(&sized);
    p.drawImage(0, 0, img);
  }
  img = sized;
}

TCanvas* TBitmap::Canvas() {
  if (!canvas_) {
    canvas_ = std::make_unique<TCanvas>();
    canvas_->AttachImage(image_.get());
  }
  return canvas_.get();
}

QImage& TBitmap::Image() {
  if (canvas_) canvas_->Release();
  return *image_;
}

const QImage& TBitmap::Image() const {
  if (canvas_) canvas_->Release();
  return *image_;
}

void TBitmap::LoadFromFile(const std::string& fileName) {
  QString name = QString::fromStdString(AnsiToUtf8(fileName));
  QImageReader reader(name);
  QImage loaded = reader.read();
  if (loaded.isNull()) {
    if (reader.error() == QImageReader::FileNotFoundError)
      throw EFOpenError("Cannot open file \"" + fileName + "\"");
    throw EReadError("Cannot read the picture in \"" + fileName + "\"");
  }
  Image() = loaded.convertToFormat(loaded.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

void TBitmap::SaveToFile(const std::string& fileName) {
  QString name = QString::fromStdString(AnsiToUtf8(fileName));
  const char* format = name.endsWith(".png", Qt::CaseInsensitive) ? "PNG" : "BMP";
  if (!Image().save(name, format)) throw EFCreateError("Cannot create file \"" + fileName + "\"");
}

TColor TBitmap::TransparentColor() const {
  if (transparentColor_ != clDefault) return transparentColor_;
  const QImage& img = Image();
  if (img.isNull() || img.height() == 0) return clNone;
  return FromQColor(QColor(img.pixel(0, img.height() - 1)));
}

void Frame3D(TCanvas& canvas, TRect& r, TColor topColor, TColor bottomColor, int width) {
  TPen* pen = canvas.Pen();
  pen->SetWidth(1);
  pen->SetStyle(psSolid);
  for (int i = 0; i < width; ++i) {
    --r.Bottom;
    --r.Right;
    pen->SetColor(topColor);
    canvas.Polyline({{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}});
    pen->SetColor(bottomColor);
    canvas.Polyline({{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left - 1, r.Bottom}});
    ++r.Left;
    ++r.Top;
  }
}
