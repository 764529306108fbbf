#include "platform/gui/rich_print.h"

#include <optional>

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

#include "platform/gui/graphics.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/gui/rich_edit_private.h"

namespace {

// One laid-out line: its first character and its top and bottom edges (document pixels).
struct TLaidLine {
  int start;
  double top, bottom;
  QTextBlock block;
  int index;
};

// Draws a page picture stretched over `dest`. Qt plays a picture scaled by the device's
// resolution against the picture's own, which the stretch takes back.
bool DrawScaled(QPainter& p, const QPicture& picture, const QRect& dest) {
  const QRect from = picture.boundingRect();
  if (from.width() <= 0 || from.height() <= 0 || !p.device()) return false;
  const double dpiX = double(picture.logicalDpiX()) / p.device()->logicalDpiX();
  const double dpiY = double(picture.logicalDpiY()) / p.device()->logicalDpiY();
  p.save();
  p.translate(dest.left(), dest.top());
  p.scale(dest.width() * dpiX / from.width(), dest.height() * dpiY / from.height());
  p.drawPicture(0, 0, picture);
  p.restore();
  return true;
}

}  // namespace

std::vector<std::string> SystemPrinterNames() {
  std::vector<std::string> names;
  const QString preferred = QPrinterInfo::defaultPrinterName();
  if (!preferred.isEmpty()) names.push_back(preferred.toStdString());
  for (const QString& name : QPrinterInfo::availablePrinterNames())
    if (name != preferred) names.push_back(name.toStdString());
  return names;
}

struct TPrinterDevice::Impl {
  QPrinter printer{QPrinter::HighResolution};
  std::optional<QPageSize> paper;  // chosen by the user; kept when the printer changes
  std::string name, pdf;
  std::u16string title;
  QPainter painter;
  std::unique_ptr<QPicture> picture;
  QPainter picturePainter;
  bool printing = false;
  // The layout of the text FormatRange draws, kept between its calls.
  const RichEditControl* control = nullptr;
  int width = -1;
  std::unique_ptr<QTextDocument> doc;
  std::vector<TLaidLine> lines;

  QPainter& Canvas() {
    if (picture) return picturePainter;
    if (!painter.isActive()) throw EPrinter("Printer is not currently printing.", false);
    return painter;
  }
  bool Laid(const RichEditControl& source, int textWidth) const {
    return doc && control == &source && width == textWidth;
  }
  void Layout(const RichEditControl& source, QTextDocument* copy, int textWidth) {
    control = &source;
    width = textWidth;
    doc.reset(copy);
    doc->documentLayout()->setPaintDevice(&printer);
    doc->setDocumentMargin(0);
    doc->setTextWidth(textWidth);
    doc->documentLayout()->documentSize();  // lays the whole text out
    lines.clear();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
      const QTextLayout* text = block.layout();
      for (int i = 0; i < text->lineCount(); ++i) {
        const QTextLine line = text->lineAt(i);
        const double top = text->position().y() + line.y();
        lines.push_back({block.position() + line.textStart(), top, top + line.height(), block, i});
      }
    }
  }
};

TPrinterDevice::TPrinterDevice() : d(std::make_unique<Impl>()) {
  const std::vector<std::string> printers = SystemPrinterNames();
  Select(printers.empty() ? std::string() : printers.front());
}

TPrinterDevice::~TPrinterDevice() {
  if (d->picture) d->picturePainter.end();
  if (d->painter.isActive()) d->painter.end();
}

void TPrinterDevice::Select(const std::string& printerName, const std::string& pdfFile) {
  if (d->printing) throw EPrinter("Cannot change the printer while printing.", false);
  const QPageLayout::Orientation orientation = d->printer.pageLayout().orientation();
  d->name = printerName;
  d->pdf = pdfFile;
  if (printerName.empty()) {
    d->printer.setOutputFormat(QPrinter::PdfFormat);
    d->printer.setOutputFileName(QString::fromStdString(pdfFile));
    d->printer.setPageSize(d->paper.value_or(QPageSize(QPageSize::A4)));
    d->printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
  } else {
    d->printer.setOutputFormat(QPrinter::NativeFormat);
    d->printer.setPrinterName(QString::fromStdString(printerName));
    if (d->paper) d->printer.setPageSize(*d->paper);
  }
  d->printer.setPageOrientation(orientation);
  ClearFormatCache();
}

const std::string& TPrinterDevice::PrinterName() const { return d->name; }
const std::string& TPrinterDevice::PdfFile() const { return d->pdf; }

TPrinterMetrics TPrinterDevice::Metrics() const {
  const int dpi = d->printer.resolution();
  const QRect paper = d->printer.pageLayout().fullRectPixels(dpi);
  const QRect page = d->printer.pageLayout().paintRectPixels(dpi);
  return {dpi, dpi, page.width(), page.height(), page.left(), page.top(), paper.width(), paper.height()};
}

int TPrinterDevice::PaperWidth() const {
  return int(d->printer.pageLayout().pageSize().size(QPageSize::Millimeter).width() * 100 + 0.5);
}

int TPrinterDevice::PaperHeight() const {
  return int(d->printer.pageLayout().pageSize().size(QPageSize::Millimeter).height() * 100 + 0.5);
}

void TPrinterDevice::SetPaper(int width, int height) {
  if (width <= 0 || height <= 0) return;
  if (d->printing) throw EPrinter("Cannot change the paper while printing.", false);
  d->paper = QPageSize(QSizeF(width / 100.0, height / 100.0), QPageSize::Millimeter);
  d->printer.setPageSize(*d->paper);
  ClearFormatCache();
}

bool TPrinterDevice::Landscape() const { return d->printer.pageLayout().orientation() == QPageLayout::Landscape; }

void TPrinterDevice::SetLandscape(bool landscape) {
  d->printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  ClearFormatCache();
}

const std::u16string& TPrinterDevice::Title() const { return d->title; }

void TPrinterDevice::SetTitle(const std::u16string& title) {
  d->title = title;
  d->printer.setDocName(QString::fromStdU16String(title));
}

bool TPrinterDevice::Printing() const { return d->printing; }

void TPrinterDevice::BeginDoc() {
  if (d->printing) throw EPrinter("Printing in progress", false);
  if (!d->pdf.empty()) {
    // Qt reports nothing useful when the file cannot be made: try it first.
    QFile probe(QString::fromStdString(d->pdf));
    if (!probe.open(QIODevice::WriteOnly)) throw EPrinter("Cannot create file \"" + d->pdf + "\".", true);
  }
  if (!d->painter.begin(&d->printer)) throw EPrinter("Cannot start the print job.", false);
  d->printing = true;
}

void TPrinterDevice::NewPage() {
  if (!d->printing || !d->printer.newPage()) throw EPrinter("Cannot start a new page.", false);
}

void TPrinterDevice::EndDoc() {
  if (!d->printing) return;
  d->printing = false;
  const bool ended = d->painter.end();
  if (!ended || d->printer.printerState() == QPrinter::Error)
    throw EPrinter("The print job failed.", !d->pdf.empty());
}

void TPrinterDevice::BeginPicture() {
  if (d->picture) d->picturePainter.end();
  d->picture = std::make_unique<QPicture>();
  d->picturePainter.begin(d->picture.get());
}

void TPrinterDevice::SavePicture(const std::string& file) {
  if (!d->picture) return;
  // The page's size goes into the file when the recording ends.
  const TPrinterMetrics m = Metrics();
  d->picture->setBoundingRect(QRect(0, 0, m.PageWidth, m.PageHeight));
  d->picturePainter.end();
  const bool saved = d->picture->save(QString::fromStdString(file));
  d->picture.reset();
  if (!saved) throw EPrinter("Cannot create file \"" + file + "\".", true);
}

void TPrinterDevice::DrawLine(int x1, int y1, int x2, int y2, int penWidth) {
  QPainter& p = d->Canvas();
  QPen pen(Qt::black);
  pen.setWidth(penWidth);
  p.setPen(pen);
  p.drawLine(x1, y1, x2, y2);
}

int TPrinterDevice::FormatRange(const RichEditControl& control, int first, const TRect& area) {
  const int width = std::max(1, area.Width());
  if (!d->Laid(control, width)) d->Layout(control, control.d->doc.clone(), width);
  const std::vector<TLaidLine>& lines = d->lines;
  // The line holding `first`.
  size_t i = 0;
  while (i + 1 < lines.size() && lines[i + 1].start <= first) ++i;
  if (lines.empty()) return control.TextLength();
  const double top = lines[i].top;
  size_t end = i + 1;  // the first line always goes, so every page moves on
  while (end < lines.size() && lines[end].bottom - top <= area.Height()) ++end;
  QPainter& p = d->Canvas();
  p.save();
  p.translate(area.Left, area.Top - top);
  // Only the page's own lines are drawn: a clipped line would still be text in the file.
  for (size_t k = i; k < end; ++k) {
    const QTextLayout* text = lines[k].block.layout();
    text->lineAt(lines[k].index).draw(&p, text->position());
  }
  p.restore();
  return end < lines.size() ? lines[end].start : control.TextLength();
}

void TPrinterDevice::ClearFormatCache() {
  d->doc.reset();
  d->lines.clear();
  d->control = nullptr;
}

int TPrinterDevice::LineHeight(const std::string& fontName, int pointSize) {
  QFont font(QString::fromStdString(fontName));
  font.setPointSize(std::max(1, pointSize));
  return QFontMetrics(font, &d->printer).lineSpacing();
}

void TPrinterDevice::DrawPictureFile(const std::string& file) {
  const TPrinterMetrics m = Metrics();
  QPicture picture;
  if (!picture.load(QString::fromStdString(file))) throw EPrinter("Cannot read \"" + file + "\".", true);
  QPainter& p = d->Canvas();
  DrawScaled(p, picture, QRect(0, 0, m.PageWidth, m.PageHeight));
}

bool DrawPictureFile(const std::string& file, TCanvas& canvas, const TRect& dest) {
  QPicture picture;
  if (!picture.load(QString::fromStdString(file))) return false;
  QPainter* p = canvas.Painter();
  if (!p) return false;
  p->setRenderHint(QPainter::Antialiasing);
  p->setRenderHint(QPainter::TextAntialiasing);
  return DrawScaled(*p, picture, QRect(dest.Left, dest.Top, dest.Width(), dest.Height()));
}
