// Printing the rich edit control's text page by page: the printer device (a printer of the
// system through CUPS, or a PDF file), its measures, page rendering cut between whole lines,
// recorded page pictures for the print preview, and a whole job with margins and borders.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/exceptions.h"
#include "platform/gui/gui_types.h"

class RichEditControl;
class TCanvas;

// A printer error; IoError when an output file could not be written.
class EPrinter : public Exception {
public:
  EPrinter(std::string message, bool ioError) : Exception(std::move(message)), IoError(ioError) {}
  bool IoError;
};

// A printer's measures in device pixels: resolution, the printable area (its size and its
// offset from the paper's corner) and the whole paper.
struct TPrinterMetrics {
  int DpiX = 0, DpiY = 0;
  int PageWidth = 0, PageHeight = 0;
  int OffsetX = 0, OffsetY = 0;
  int PaperWidth = 0, PaperHeight = 0;
};

// The printers of the system (CUPS), the default one first.
std::vector<std::string> SystemPrinterNames();

// One printer. Coordinates of drawing are device pixels from the printable area's corner.
// Without a printer of the system it prints into a PDF file, so there is always a printer.
class TPrinterDevice {
public:
  TPrinterDevice();
  ~TPrinterDevice();
  TPrinterDevice(const TPrinterDevice&) = delete;
  TPrinterDevice& operator=(const TPrinterDevice&) = delete;

  // A printer of the system by name, or (empty name) the PDF file `pdfFile`.
  void Select(const std::string& printerName, const std::string& pdfFile = "");
  const std::string& PrinterName() const;
  const std::string& PdfFile() const;
  TPrinterMetrics Metrics() const;
  bool Landscape() const;
  void SetLandscape(bool landscape);
  // The paper in hundredths of millimetres, upright; a size of 0 keeps the printer's own. A PDF
  // file starts on A4.
  int PaperWidth() const;
  int PaperHeight() const;
  void SetPaper(int width, int height);
  const std::u16string& Title() const;
  void SetTitle(const std::u16string& title);
  bool Printing() const;

  // The job: EPrinter on failure.
  void BeginDoc();
  void NewPage();
  void EndDoc();
  // Records the drawing into a page picture instead of the printer's page until SavePicture
  // writes it into `file` (the preview's page files).
  void BeginPicture();
  void SavePicture(const std::string& file);

  void DrawLine(int x1, int y1, int x2, int y2, int penWidth);
  // Draws the text of `control` from character `first` in `area` (whole lines only; a line
  // taller than the area gets it alone); answers the first character of the next page, or the
  // text length when the rest fits. The layout is kept until ClearFormatCache.
  int FormatRange(const RichEditControl& control, int first, const TRect& area);
  void ClearFormatCache();
  // The height of one line of text in this font on the printer (with external leading).
  int LineHeight(const std::string& fontName, int pointSize);
  // Draws a page picture file stretched over the whole printable area.
  void DrawPictureFile(const std::string& file);

  struct Impl;

private:
  std::unique_ptr<Impl> d;
};

// Draws a page picture file stretched over `dest` of a canvas; false when it cannot be read.
bool DrawPictureFile(const std::string& file, TCanvas& canvas, const TRect& dest);
