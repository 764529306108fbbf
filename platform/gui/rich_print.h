// Printing the rich edit control's text page by page, with margins and page borders, to a
// printer of the system or to a PDF file.
#pragma once

#include <string>

class RichEditControl;

// Which border lines each page gets (bit flags).
enum TPrintBorder : unsigned { pbLeft = 1, pbTop = 2, pbRight = 4, pbBottom = 8 };

// One print job: page margins and border offset in millimetres from the paper's edges.
struct TRichPrintSetup {
  std::string pdfFile;   // print into this PDF file; empty: the printer `printerName`
  std::string printerName;
  std::u16string title;  // the job's document name
  bool landscape = false;
  double marginLeft = 25, marginTop = 25, marginRight = 25, marginBottom = 25;
  unsigned borders = 0;
  double borderOffset = 2;  // borders lie this far outside the text area
};

// Prints the control's text; pages are cut between lines, so no line is split, dropped or
// repeated. Returns the number of pages. Throws std::runtime_error when printing fails.
int PrintRichText(const RichEditControl& control, const TRichPrintSetup& setup);
