// TRichPrinter: prints a TRichEditW page by page with margins and page borders, or renders the
// pages for the print preview; offers the page setup dialog and keeps the margins and the
// orientation in the registry section "Printing".
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/gui/component.h"
#include "platform/gui/rich_print.h"
#include "textcore/print_layout.h"

class TRichEditW;
class TRichPrntProgDlg;

// A printer error with the printer's own text.
class ELinePrinter : public EPrinter {
public:
  explicit ELinePrinter(std::string message) : EPrinter(std::move(message), false) {}
};

// Which border lines a page gets (a set of bits).
using TPageBorders = unsigned;
inline constexpr TPageBorders pbTop = 1, pbBottom = 2, pbLeft = 4, pbRight = 8;
// Flags of the page setup dialog (a set of bits).
using TPageOptions = unsigned;
inline constexpr TPageOptions poDisableMargins = 1, poMargins = 2, poDisableOrientation = 4,
    poDisablePaper = 8, poDisablePrinter = 16;

// Where previewed pages go (the print preview window).
class TRichPreviewSink {
public:
  virtual ~TRichPreviewSink() = default;
  // A page is rendered: the device holds its picture, to be saved as the next page file.
  virtual void SavePageMetafile(TPrinterDevice& device) = 0;
};

class TRichPrinter : public TComponent {
  QM_CLASS(TRichPrinter, TComponent)
public:
  explicit TRichPrinter(TComponent* owner);
  ~TRichPrinter() override;

  // Margins in MeasureUnit, kept between the gutters; ELinePrinter while printing. Reading them or
  // the unit makes the device first, so that the stored settings apply.
  double MarginTop() const { return Device(), margins_.Top; }
  void SetMarginTop(double v);
  double MarginBottom() const { return Device(), margins_.Bottom; }
  void SetMarginBottom(double v);
  double MarginLeft() const { return Device(), margins_.Left; }
  void SetMarginLeft(double v);
  double MarginRight() const { return Device(), margins_.Right; }
  void SetMarginRight(double v);
  // Switching the unit converts the margins, BorderOffset and the logo's lengths.
  TMeasureUnit MeasureUnit() const { return Device(), unit_; }
  void SetMeasureUnit(TMeasureUnit v);
  bool Landscape() const;
  void SetLandscape(bool v);
  // The paper in hundredths of millimetres, upright (0 keeps the printer's own).
  void SetPaper(int width, int height);
  std::string Title() const;
  void SetTitle(const std::string& v);
  TPageBorders PageBorders() const { return borders_; }
  void SetPageBorders(TPageBorders v) { borders_ = v; }
  double BorderOffset() const { return borderOffset_; }
  void SetBorderOffset(double v) { borderOffset_ = v; }
  bool ShowProgress() const { return showProgress_; }
  void SetShowProgress(bool v) { showProgress_ = v; }
  TPageOptions Options_Dialog() const { return options_; }
  void SetOptions_Dialog(TPageOptions v);
  double GutterTop() const { return Gutters().Top; }
  double GutterBottom() const { return Gutters().Bottom; }
  double GutterLeft() const { return Gutters().Left; }
  double GutterRight() const { return Gutters().Right; }
  // The paper's size in MeasureUnit.
  double PaperLength() const;
  double PaperWidth() const;
  const std::string& MainRegKey() const { return mainRegKey_; }
  void SetMainRegKey(const std::string& v) { mainRegKey_ = v; }
  // Stored only: nothing is drawn from the header, footer and logo.
  std::string Header = "{$TITLE}", Footer = "Page {$PAGE}", HeaderFormat = ">100", FooterFormat = ">100";
  std::string HeaderFontName = "Courier New";
  int HeaderFontSize = 10;
  double LogoTop = 0, LogoLeft = 0, LogoWidth = 25, LogoHeight = 20;

  // The printer (a system printer or a PDF file).
  TPrinterDevice& Printer() { return Device(); }
  // The page being printed.
  int PageNumber() const { return page_; }
  // Prints (or in preview mode renders) every page; ELinePrinter on failure.
  void PrintRichEdit(TRichEditW& richEdit, int firstPageNumber);
  // Renders the pages into a preview window made by CreatePreview.
  void PrintPreview(TRichEditW& richEdit);
  // The page setup dialog; when confirmed the settings are taken over and stored.
  bool PageSetupDialog();
  // Reads the settings of the registry.
  void LoadSettings();
  // Makes the preview window for a paper aspect (height / width); the program sets it.
  std::function<TRichPreviewSink*(double aspect)> CreatePreview;

  TNotifyEvent OnBeginDoc, OnEndDoc, OnAbortDoc, OnNewPage;

protected:
  void Loaded() override;

private:
  TPageSides Gutters() const;
  double Clamped(double value, bool vertical, bool leading) const;
  void CheckIdle(const char* what) const;
  void Status(const std::string& text);
  void StartPage();
  void FinishJob();

  // The device, made on first use; the stored settings are applied to it then.
  TPrinterDevice& Device() const;

  mutable std::unique_ptr<TPrinterDevice> printer_;
  mutable bool settingsPending_ = false;
  TPageSides margins_{25, 10, 25, 10};
  TMeasureUnit unit_ = muMillimeters;
  TPageBorders borders_ = 0;
  double borderOffset_ = 2;
  bool showProgress_ = true, preview_ = false;
  TPageOptions options_ = 0;
  std::string mainRegKey_ = "Software\\Vortanel\\Other";
  int page_ = 0;
  TRect area_;
  TRichPreviewSink* sink_ = nullptr;
  TRichPrntProgDlg* progress_ = nullptr;
};
