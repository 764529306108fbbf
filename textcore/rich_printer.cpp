#include "textcore/rich_printer.h"

#include "platform/code_pages.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/gui/std_controls.h"
#include "textcore/print_settings.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_print_progress.h"

QM_CLASS_INFO(TRichPrinter, TComponent, [](TClassBuilder<TRichPrinter>& b) {
  using C = TRichPrinter;
  b.Enum<TMeasureUnit>("MeasureUnit", {"muMillimeters", "muInches"}, &C::MeasureUnit, &C::SetMeasureUnit)
      .Set<TPageBorders>("PageBorders", {"pbTop", "pbBottom", "pbLeft", "pbRight"}, &C::PageBorders,
                         &C::SetPageBorders)
      .Boolean("ShowProgress", &C::ShowProgress, &C::SetShowProgress)
      .Set<TPageOptions>("Options_Dialog", {"poDisableMargins", "poMargins", "poDisableOrientation",
                                            "poDisablePaper", "poDisablePrinter"},
                         &C::Options_Dialog, &C::SetOptions_Dialog)
      .String("MainRegKey", &C::MainRegKey, &C::SetMainRegKey)
      .String("Title", &C::Title, &C::SetTitle)
      .Event("OnBeginDoc", &C::OnBeginDoc)
      .Event("OnEndDoc", &C::OnEndDoc)
      .Event("OnAbortDoc", &C::OnAbortDoc)
      .Event("OnNewPage", &C::OnNewPage);
})

TRichPrinter::TRichPrinter(TComponent* owner) : TComponent(owner), printer_(std::make_unique<TPrinterDevice>()) {}

TRichPrinter::~TRichPrinter() { Status(""); }

void TRichPrinter::Loaded() {
  TComponent::Loaded();
  LoadSettings();
}

void TRichPrinter::LoadSettings() {
  const TPrintSettings s = LoadPrintSettings(mainRegKey_);
  unit_ = s.measurementUnits == 1 ? muInches : muMillimeters;
  printer_->SetPaper(s.paperWidth, s.paperHeight);
  SetLandscape(s.orientation == 1);
  SetMarginLeft(s.leftMargin);
  SetMarginTop(s.topMargin);
  SetMarginRight(s.rightMargin);
  SetMarginBottom(s.bottomMargin);
}

TPageSides TRichPrinter::Gutters() const { return PrinterGutters(printer_->Metrics(), unit_); }
double TRichPrinter::PaperLength() const { return PaperHeight(printer_->Metrics(), unit_); }
double TRichPrinter::PaperWidth() const { return ::PaperWidth(printer_->Metrics(), unit_); }

double TRichPrinter::Clamped(double value, bool vertical, bool leading) const {
  const TPageSides g = Gutters();
  if (vertical)
    return ClampMargin(value, leading ? g.Top : g.Bottom, PaperLength(), leading ? g.Bottom : g.Top);
  return ClampMargin(value, leading ? g.Left : g.Right, PaperWidth(), leading ? g.Right : g.Left);
}

void TRichPrinter::CheckIdle(const char* what) const {
  if (printer_->Printing()) throw ELinePrinter(std::string("Unable to change the ") + what + " while printing.");
}

void TRichPrinter::SetMarginTop(double v) {
  CheckIdle("top margin");
  margins_.Top = Clamped(v, true, true);
}

void TRichPrinter::SetMarginBottom(double v) {
  CheckIdle("bottom margin");
  margins_.Bottom = Clamped(v, true, false);
}

void TRichPrinter::SetMarginLeft(double v) {
  CheckIdle("left margin");
  margins_.Left = Clamped(v, false, true);
}

void TRichPrinter::SetMarginRight(double v) {
  CheckIdle("right margin");
  margins_.Right = Clamped(v, false, false);
}

void TRichPrinter::SetMeasureUnit(TMeasureUnit v) {
  if (v == unit_) return;
  for (double* length : {&margins_.Left, &margins_.Top, &margins_.Right, &margins_.Bottom, &borderOffset_,
                         &LogoTop, &LogoLeft, &LogoWidth, &LogoHeight})
    *length = ConvertLength(*length, unit_, v);
  unit_ = v;
}

bool TRichPrinter::Landscape() const { return printer_->Landscape(); }

void TRichPrinter::SetLandscape(bool v) {
  if (printer_->Printing()) throw ELinePrinter("Unable to change the orientation while printing");
  printer_->SetLandscape(v);
}

void TRichPrinter::SetPaper(int width, int height) {
  if (printer_->Printing()) throw ELinePrinter("Unable to change the paper while printing");
  printer_->SetPaper(width, height);
}

std::string TRichPrinter::Title() const { return WideToAnsi(printer_->Title()); }

void TRichPrinter::SetTitle(const std::string& v) {
  if (printer_->Printing()) throw ELinePrinter("Unable to change the title while printing");
  printer_->SetTitle(AnsiToWide(v));
}

void TRichPrinter::SetOptions_Dialog(TPageOptions v) {
  // Margins offered and margins disabled exclude each other: the one added last wins.
  if ((v & poMargins) && (v & poDisableMargins)) v &= ~(options_ & (poMargins | poDisableMargins));
  options_ = v;
}

void TRichPrinter::Status(const std::string& text) {
  if (text.empty()) {
    delete progress_;
    progress_ = nullptr;
    return;
  }
  if (!showProgress_) return;
  if (!progress_) {
    progress_ = new TRichPrntProgDlg(nullptr);
    progress_->Show();
  }
  progress_->lblStatus->SetCaption(text);
  progress_->lblTitle->SetCaption(Title());
  progress_->lblPageNumber->SetCaption(std::to_string(page_));
}

void TRichPrinter::StartPage() {
  Status("Printing in progress");
  if (OnNewPage) OnNewPage(this);
  const TPrinterMetrics m = printer_->Metrics();
  const int offsetX = LengthToPixels(borderOffset_, unit_, m.DpiX);
  const int offsetY = LengthToPixels(borderOffset_, unit_, m.DpiY);
  const TRect& r = area_;
  const int left = r.Left - offsetX, right = r.Right + offsetX, top = r.Top - offsetY, bottom = r.Bottom + offsetY;
  if (borders_ & pbTop) printer_->DrawLine(left, top, right, top, BorderPenWidth(m.DpiX));
  if (borders_ & pbBottom) printer_->DrawLine(left, bottom, right, bottom, BorderPenWidth(m.DpiX));
  if (borders_ & pbLeft) printer_->DrawLine(left, top, left, bottom, BorderPenWidth(m.DpiY));
  if (borders_ & pbRight) printer_->DrawLine(right, top, right, bottom, BorderPenWidth(m.DpiY));
}

void TRichPrinter::PrintRichEdit(TRichEditW& richEdit, int firstPageNumber) {
  const RichEditControl& control = richEdit.Control();
  const TPrinterMetrics m = printer_->Metrics();
  area_ = PrintableRect(m, margins_, Gutters(), unit_, printer_->LineHeight(HeaderFontName, HeaderFontSize));
  // Margins crossing each other would leave nothing to print on: refused before the job starts.
  if (area_.Width() < 1 || area_.Height() < 1)
    throw ELinePrinter("The margins leave no room to print on the page.");
  if (OnBeginDoc) OnBeginDoc(this);
  if (!preview_) {
    try {
      printer_->BeginDoc();
    } catch (const EPrinter& e) {
      throw ELinePrinter(e.IoError ? e.Message : "An error occured while preparing for printing.");
    }
  }
  try {
    Status(preview_ ? "Preparing for print preview" : "Preparing to print");
    page_ = firstPageNumber;
    StartPage();
    const int length = control.TextLength();
    printer_->ClearFormatCache();
    // Every range starts a line after the previous one, so the loop always ends.
    for (int next = printer_->FormatRange(control, 0, area_); next < length;) {
      if (preview_) {
        sink_->SavePageMetafile(*printer_);
        printer_->BeginPicture();
      } else {
        try {
          printer_->NewPage();
        } catch (const EPrinter&) {
          throw ELinePrinter("Cannot print another page. Disk may be full or system is out of memory.");
        }
      }
      ++page_;
      StartPage();
      next = printer_->FormatRange(control, next, area_);
    }
  } catch (...) {
    // The job is given up: the printer and the preview mode are left as before.
    printer_->ClearFormatCache();
    if (printer_->Printing()) {
      try {
        printer_->EndDoc();
      } catch (const EPrinter&) {
      }
    }
    preview_ = false;
    sink_ = nullptr;
    Status("");
    throw;
  }
  FinishJob();
}

void TRichPrinter::FinishJob() {
  printer_->ClearFormatCache();
  Status(preview_ ? "Finished preparing for preview" : "Finished printing");
  if (preview_) {
    TRichPreviewSink* sink = sink_;
    preview_ = false;
    sink_ = nullptr;
    Status("");
    sink->SavePageMetafile(*printer_);
  } else {
    Status("");
    try {
      printer_->EndDoc();
    } catch (const EPrinter& e) {
      throw ELinePrinter(e.IoError ? "Cannot print to a file. Disk may be full." : "An error occured while finishing printing.");
    }
  }
  if (OnEndDoc) OnEndDoc(this);
}

void TRichPrinter::PrintPreview(TRichEditW& richEdit) {
  if (!CreatePreview) throw EInvalidOperation("TRichPrinter has no print preview window");
  const TPrinterMetrics m = printer_->Metrics();
  const double aspect = m.PaperWidth > 0 ? double(m.PaperHeight) / m.PaperWidth : 0;
  sink_ = CreatePreview(aspect);
  preview_ = true;
  printer_->BeginPicture();
  try {
    PrintRichEdit(richEdit, 1);
  } catch (...) {
    preview_ = false;
    sink_ = nullptr;
    throw;
  }
}

bool TRichPrinter::PageSetupDialog() {
  TDialogRequest r;
  r.Kind = TDialogKind::PageSetup;
  r.Caption = r.Text = "Page Setup";
  if (options_ & poDisableMargins) r.Flags |= psdDisableMargins;
  if (options_ & poDisableOrientation) r.Flags |= psdDisableOrientation;
  if (options_ & poDisablePaper) r.Flags |= psdDisablePaper;
  if (options_ & poDisablePrinter) r.Flags |= psdDisablePrinter;
  if (unit_ == muInches) r.Flags |= psdInches;
  const double scale = unit_ == muInches ? 1000 : 100;
  TPrintValues& v = r.Printing;
  v.Printer = printer_->PrinterName();
  v.OutputFile = printer_->PdfFile();
  v.Landscape = Landscape();
  v.PaperWidth = printer_->PaperWidth();
  v.PaperHeight = printer_->PaperHeight();
  v.MarginLeft = int(margins_.Left * scale + 0.5);
  v.MarginTop = int(margins_.Top * scale + 0.5);
  v.MarginRight = int(margins_.Right * scale + 0.5);
  v.MarginBottom = int(margins_.Bottom * scale + 0.5);
  DialogService().Ask(r);
  if (!r.Result) return false;
  SetPaper(v.PaperWidth, v.PaperHeight);
  SetLandscape(v.Landscape);
  SetMarginLeft(v.MarginLeft / scale);
  SetMarginTop(v.MarginTop / scale);
  SetMarginRight(v.MarginRight / scale);
  SetMarginBottom(v.MarginBottom / scale);
  TPrintSettings s;
  s.measurementUnits = unit_ == muInches ? 1 : 0;
  s.leftMargin = margins_.Left;
  s.topMargin = margins_.Top;
  s.rightMargin = margins_.Right;
  s.bottomMargin = margins_.Bottom;
  s.orientation = Landscape() ? 1 : 0;
  s.paperWidth = printer_->PaperWidth();
  s.paperHeight = printer_->PaperHeight();
  SavePrintSettings(mainRegKey_, s);
  return true;
}
