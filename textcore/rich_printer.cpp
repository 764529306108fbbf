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

TRichPrinter::TRichPrinter(TComponent* owner) : TComponent(owner) {}

TRichPrinter::~TRichPrinter() { Status(""); }

void TRichPrinter::Loaded() {
  TComponent::Loaded();
  // Finding the system's printers is slow: the settings wait for the device's first use.
  if (printer_) LoadSettings();
  else settingsPending_ = true;
}

TPrinterDevice& TRichPrinter::Device() const {
  if (!printer_) {
    printer_ = std::make_unique<TPrinterDevice>();
    if (settingsPending_) {
      settingsPending_ = false;
      const_cast<TRichPrinter*>(this)->LoadSettings();
    }
  }
  return *printer_;
}

void TRichPrinter::LoadSettings() {
  const TPrintSettings s = LoadPrintSettings(mainRegKey_);
  unit_ = s.measurementUnits == 1 ? muInches : muMillimeters;
  Device().SetPaper(s.paperWidth, s.paperHeight);
  SetLandscape(s.orientation == 1);
  SetMarginLeft(s.leftMargin);
  SetMarginTop(s.topMargin);
  SetMarginRight(s.rightMargin);
  SetMarginBottom(s.bottomMargin);
}

TPageSides TRichPrinter::Gutters() const { return PrinterGutters(Device().Metrics(), unit_); }
double TRichPrinter::PaperLength() const { return PaperHeight(Device().Metrics(), unit_); }
double TRichPrinter::PaperWidth() const { return ::PaperWidth(Device().Metrics(), unit_); }

double TRichPrinter::Clamped(double value, bool vertical, bool leading) const {
  const TPageSides g = Gutters();
  if (vertical)
    return ClampMargin(value, leading ? g.Top : g.Bottom, PaperLength(), leading ? g.Bottom : g.Top);
  return ClampMargin(value, leading ? g.Left : g.Right, PaperWidth(), leading ? g.Right : g.Left);
}

void TRichPrinter::CheckIdle(const char* what) const {
  if (Device().Printing()) throw ELinePrinter(std::string("Unable to change the ") + what + " while printing.");
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
  Device();  // the stored settings first
  if (v == unit_) return;
  for (double* length : {&margins_.Left, &margins_.Top, &margins_.Right, &margins_.Bottom, &borderOffset_,
                         &LogoTop, &LogoLeft, &LogoWidth, &LogoHeight})
    *length = ConvertLength(*length, unit_, v);
  unit_ = v;
}

bool TRichPrinter::Landscape() const { return Device().Landscape(); }

void TRichPrinter::SetLandscape(bool v) {
  if (Device().Printing()) throw ELinePrinter("Unable to change the orientation while printing");
  Device().SetLandscape(v);
}

void TRichPrinter::SetPaper(int width, int height) {
  if (Device().Printing()) throw ELinePrinter("Unable to change the paper while printing");
  Device().SetPaper(width, height);
}

std::string TRichPrinter::Title() const { return WideToAnsi(Device().Title()); }

void TRichPrinter::SetTitle(const std::string& v) {
  if (Device().Printing()) throw ELinePrinter("Unable to change the title while printing");
  Device().SetTitle(AnsiToWide(v));
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
  const TPrinterMetrics m = Device().Metrics();
  const int offsetX = LengthToPixels(borderOffset_, unit_, m.DpiX);
  const int offsetY = LengthToPixels(borderOffset_, unit_, m.DpiY);
  const TRect& r = area_;
  const int left = r.Left - offsetX, right = r.Right + offsetX, top = r.Top - offsetY, bottom = r.Bottom + offsetY;
  if (borders_ & pbTop) Device().DrawLine(left, top, right, top, BorderPenWidth(m.DpiX));
  if (borders_ & pbBottom) Device().DrawLine(left, bottom, right, bottom, BorderPenWidth(m.DpiX));
  if (borders_ & pbLeft) Device().DrawLine(left, top, left, bottom, BorderPenWidth(m.DpiY));
  if (borders_ & pbRight) Device().DrawLine(right, top, right, bottom, BorderPenWidth(m.DpiY));
}

void TRichPrinter::PrintRichEdit(TRichEditW& richEdit, int firstPageNumber) {
  const RichEditControl& control = richEdit.Control();
  const TPrinterMetrics m = Device().Metrics();
  area_ = PrintableRect(m, margins_, Gutters(), unit_, Device().LineHeight(HeaderFontName, HeaderFontSize));
  // Margins crossing each other would leave nothing to print on: refused before the job starts.
  if (area_.Width() < 1 || area_.Height() < 1)
    throw ELinePrinter("The margins leave no room to print on the page.");
  if (OnBeginDoc) OnBeginDoc(this);
  if (!preview_) {
    try {
      Device().BeginDoc();
    } catch (const EPrinter& e) {
      throw ELinePrinter(e.IoError ? e.Message : "An error occured while preparing for printing.");
    }
  }
  try {
    Status(preview_ ? "Preparing for print preview" : "Preparing to print");
    page_ = firstPageNumber;
    StartPage();
    const int length = control.TextLength();
    Device().ClearFormatCache();
    // Every range starts a line after the previous one, so the loop always ends.
    for (int next = Device().FormatRange(control, 0, area_); next < length;) {
      if (preview_) {
        sink_->SavePageMetafile(Device());
        Device().BeginPicture();
      } else {
        try {
          Device().NewPage();
        } catch (const EPrinter&) {
          throw ELinePrinter("Cannot print another page. Disk may be full or system is out of memory.");
        }
      }
      ++page_;
      StartPage();
      next = Device().FormatRange(control, next, area_);
    }
  } catch (...) {
    // The job is given up: the printer and the preview mode are left as before.
    Device().ClearFormatCache();
    if (Device().Printing()) {
      try {
        Device().EndDoc();
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
  Device().ClearFormatCache();
  Status(preview_ ? "Finished preparing for preview" : "Finished printing");
  if (preview_) {
    TRichPreviewSink* sink = sink_;
    preview_ = false;
    sink_ = nullptr;
    Status("");
    sink->SavePageMetafile(Device());
  } else {
    Status("");
    try {
      Device().EndDoc();
    } catch (const EPrinter& e) {
      throw ELinePrinter(e.IoError ? "Cannot print to a file. Disk may be full." : "An error occured while finishing printing.");
    }
  }
  if (OnEndDoc) OnEndDoc(this);
}

void TRichPrinter::PrintPreview(TRichEditW& richEdit) {
  if (!CreatePreview) throw EInvalidOperation("TRichPrinter has no print preview window");
  const TPrinterMetrics m = Device().Metrics();
  const double aspect = m.PaperWidth > 0 ? double(m.PaperHeight) / m.PaperWidth : 0;
  sink_ = CreatePreview(aspect);
  preview_ = true;
  Device().BeginPicture();
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
  v.Printer = Device().PrinterName();
  v.OutputFile = Device().PdfFile();
  v.Landscape = Landscape();
  v.PaperWidth = Device().PaperWidth();
  v.PaperHeight = Device().PaperHeight();
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
  s.paperWidth = Device().PaperWidth();
  s.paperHeight = Device().PaperHeight();
  SavePrintSettings(mainRegKey_, s);
  return true;
}
