#include "platform/gui/wide_text.h"

#include <QFontMetrics>
#include <QPainter>

#include "platform/gui/application.h"
#include "platform/gui/qt_bridge.h"

namespace {
QString ToQString(const std::u16string& text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}
}  // namespace

void WideTextOut(TCanvas& canvas, int x, int y, const std::u16string& text) {
  QPainter* p = canvas.Painter();
  if (!p) return;
  QFont f = ToQFont(*canvas.Font());
  p->setFont(f);
  QFontMetrics fm(f);
  QString s = ToQString(text);
  if (canvas.Brush()->Style() != bsClear)
    p->fillRect(QRect(x, y, fm.horizontalAdvance(s), fm.height()), ToQColor(canvas.Brush()->Color()));
  p->setPen(ToQColor(canvas.Font()->Color()));
  p->drawText(x, y + fm.ascent(), s);
}

void WideTextRect(TCanvas& canvas, const TRect& clip, int x, int y, const std::u16string& text) {
  QPainter* p = canvas.Painter();
  if (!p) return;
  p->save();
  p->setClipRect(QRect(clip.Left, clip.Top, clip.Width(), clip.Height()), Qt::IntersectClip);
  WideTextOut(canvas, x, y, text);
  p->restore();
}

int WideTextWidth(TCanvas& canvas, const std::u16string& text) {
  EnsureGuiApplication();
  return QFontMetrics(ToQFont(*canvas.Font())).horizontalAdvance(ToQString(text));
}

int FontLineHeight(TCanvas& canvas) {
  EnsureGuiApplication();
  return QFontMetrics(ToQFont(*canvas.Font())).height();
}
