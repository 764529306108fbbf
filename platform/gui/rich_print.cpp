#include "platform/gui/rich_print.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/gui/rich_edit_control.h"
#include "platform/gui/rich_edit_private.h"

namespace {

// The top and bottom edges (document pixels) of every line of the laid-out document, in order.
std::vector<std::pair<double, double>> LineExtents(QTextDocument& doc) {
  std::vector<std::pair<double, double>> lines;
  doc.documentLayout()->documentSize();  // lays the whole text out
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    const QTextLayout* text = block.layout();
    for (int i = 0; i < text->lineCount(); ++i) {
      const QTextLine line = text->lineAt(i);
      const double top = text->position().y() + line.y();
      lines.emplace_back(top, top + line.height());
    }
  }
  return lines;
}

// Where each page starts (document pixels): a page takes whole lines while they fit; a line
// taller than a page takes a page of its own, so the job always moves on.
std::vector<double> PageStarts(const std::vector<std::pair<double, double>>& lines, double height) {
  std::vector<double> starts{0};
  for (const auto& [top, bottom] : lines)
    if (bottom - starts.back() > height && top > starts.back()) starts.push_back(top);
  return starts;
}

}  // namespace

int PrintRichText(const RichEditControl& control, const TRichPrintSetup& setup) {
  QPrinter printer(QPrinter::HighResolution);
  if (setup.pdfFile.empty()) {
    printer.setPrinterName(QString::fromStdString(setup.printerName));
  } else {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(setup.pdfFile));
  }
  printer.setDocName(QString::fromStdU16String(setup.title));
  printer.setPageOrientation(setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  printer.setFullPage(true);

  const double dpi = printer.resolution();
  auto px = [dpi](double mm) { return mm / 25.4 * dpi; };
  const QRectF paper = printer.pageLayout().fullRectPixels(printer.resolution());
  const QRectF area(px(setup.marginLeft), px(setup.marginTop),
                    paper.width() - px(setup.marginLeft) - px(setup.marginRight),
                    paper.height() - px(setup.marginTop) - px(setup.marginBottom));
  if (area.width() < 1 || area.height() < 1)
    throw std::runtime_error("The margins leave no room to print on the page.");

  std::unique_ptr<QTextDocument> doc(control.d->doc.clone());
  doc->documentLayout()->setPaintDevice(&printer);
  doc->setDocumentMargin(0);
  doc->setTextWidth(area.width());
  const std::vector<double> starts = PageStarts(LineExtents(*doc), area.height());
  const double end = doc->documentLayout()->documentSize().height();

  QPainter painter;
  if (!painter.begin(&printer))
    throw std::runtime_error("An error occured while preparing for printing.");
  QPen pen(Qt::black);
  pen.setWidthF(dpi / 600 * 2);
  for (size_t page = 0; page < starts.size(); ++page) {
    if (page > 0 && !printer.newPage())
      throw std::runtime_error("Cannot print another page. Disk may be full or system is out of memory.");
    const double top = starts[page];
    const double bottom = page + 1 < starts.size() ? starts[page + 1] : end;
    // Only the page's own lines are drawn: a clipped line would still be text in the file.
    painter.save();
    painter.translate(area.left(), area.top() - top);
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
      const QTextLayout* text = block.layout();
      for (int i = 0; i < text->lineCount(); ++i) {
        const QTextLine line = text->lineAt(i);
        const double y = text->position().y() + line.y();
        if (y >= top && y < bottom) line.draw(&painter, text->position());
      }
    }
    painter.restore();
    const QRectF frame = area.adjusted(-px(setup.borderOffset), -px(setup.borderOffset),
                                       px(setup.borderOffset), px(setup.borderOffset));
    painter.setPen(pen);
    if (setup.borders & pbLeft) painter.drawLine(frame.topLeft(), frame.bottomLeft());
    if (setup.borders & pbTop) painter.drawLine(frame.topLeft(), frame.topRight());
    if (setup.borders & pbRight) painter.drawLine(frame.topRight(), frame.bottomRight());
    if (setup.borders & pbBottom) painter.drawLine(frame.bottomLeft(), frame.bottomRight());
  }
  if (!painter.end() || printer.printerState() == QPrinter::Error)
    throw std::runtime_error(setup.pdfFile.empty() ? "An error occured while finishing printing."
                                                   : "Cannot print to a file. Disk may be full.");
  return static_cast<int>(starts.size());
}
