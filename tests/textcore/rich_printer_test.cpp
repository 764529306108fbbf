// The rich text printer: page geometry, margins kept on the paper, settings in the registry,
// the page setup dialog, and whole jobs printed to PDF and read back with pdftotext (every line
// once and in order, pages cut between lines, text at the margins).
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <string>

#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/form.h"
#include "platform/gui/form_reader.h"
#include "platform/gui/std_controls.h"
#include "tests/platform/temp_folder.h"
#include "textcore/print_layout.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_print_progress.h"
#include "textcore/rich_printer.h"
#include "textcore/win_registry.h"

#include "tests/support/pdf_text.h"

namespace {

const std::string Key = "Software\\Vortanel\\Other";

std::u16string NumberedLines(int count) {
  std::u16string text;
  for (int i = 1; i <= count; ++i) {
    const std::string n = std::to_string(1000 + i).substr(1);
    text += u"Line " + std::u16string(n.begin(), n.end()) + u" end\r";
  }
  return text;
}

// The numbers of the "Line NNN" lines, in the order the PDF holds them.
std::vector<int> PrintedLineNumbers(const std::string& printed) {
  std::vector<int> numbers;
  std::istringstream lines(printed);
  for (std::string line; std::getline(lines, line);)
    for (size_t at = line.find("Line "); at != std::string::npos; at = line.find("Line ", at + 1))
      numbers.push_back(std::atoi(line.c_str() + at + 5));
  return numbers;
}

class RichPrinterTest : public ::testing::Test {
protected:
  void SetUp() override {
    edit = std::make_unique<TRichEditW>(nullptr);
    printer = std::make_unique<TRichPrinter>(nullptr);
    printer->SetShowProgress(false);
    pdf = folder.Name() + "/out.pdf";
    printer->Printer().Select("", pdf);
    printer->LoadSettings();
  }
  TempFolder folder;
  ScopedEnv config{"QUILLOMARK_CONFIG_DIR", folder.Name()};
  std::unique_ptr<TRichEditW> edit;
  std::unique_ptr<TRichPrinter> printer;
  std::string pdf;
};

TEST(PrintLayout, LengthsPixelsAndPens) {
  EXPECT_EQ(LengthToPixels(25, muMillimeters, 600), 591);
  EXPECT_EQ(LengthToPixels(1, muInches, 300), 300);
  EXPECT_NEAR(ConvertLength(25.4, muMillimeters, muInches), 1.0, 1e-12);
  EXPECT_NEAR(ConvertLength(2, muMillimeters, muInches), 0.0787, 1e-4);
  EXPECT_NEAR(ConvertLength(1, muInches, muMillimeters), 25.4, 1e-12);
  for (const auto& [dpi, pen] : {std::pair{300, 0}, {600, 2}, {1199, 2}, {1200, 4}}) EXPECT_EQ(BorderPenWidth(dpi), pen) << dpi;
}

TEST(PrintLayout, MarginsStayOnThePaperAndMakeTheRectangle) {
  struct Case {
    double margin, gutter, paper, opposite, kept;
  } const cases[] = {{0, 4, 210, 5, 4}, {3.9, 4, 210, 5, 4}, {25, 4, 210, 5, 25}, {300, 4, 210, 5, 205}};
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(ClampMargin(c.margin, c.gutter, c.paper, c.opposite), c.kept) << c.margin;

  // 600 dpi, A4-sized paper with a 1/10-inch unprintable border (60 px) all round.
  TPrinterMetrics m{600, 600, 4842, 6896, 60, 60, 4962, 7016};
  const TPageSides gutters = PrinterGutters(m, muInches);
  EXPECT_NEAR(gutters.Left, 0.1, 1e-9);
  EXPECT_NEAR(gutters.Bottom, 0.1, 1e-9);
  const TRect r = PrintableRect(m, {1, 1, 1, 1}, gutters, muInches, 50);
  EXPECT_EQ(r.Left, 540);
  EXPECT_EQ(r.Top, 540);
  EXPECT_EQ(r.Right, 4842 - 540);
  EXPECT_EQ(r.Bottom, 6896 - 540);
  // The bottom margin is at least one line of the header font.
  EXPECT_EQ(PrintableRect(m, {1, 1, 1, 0.1}, gutters, muInches, 50).Bottom, 6896 - 50);
}

TEST_F(RichPrinterTest, SettingsComeFromTheRegistryWhateverWasSet) {
  printer->SetMarginTop(10);
  printer->LoadSettings();
  for (double margin : {printer->MarginTop(), printer->MarginBottom(), printer->MarginLeft(), printer->MarginRight()})
    EXPECT_EQ(margin, 25);
  TWinRegistry(Key).WriteInteger("Printing", "MeasurementUnits", 1);
  TWinRegistry(Key).WriteInteger("Printing", "Orientation", 1);
  printer->LoadSettings();
  EXPECT_EQ(printer->MeasureUnit(), muInches);
  EXPECT_EQ(printer->MarginLeft(), 1);
  EXPECT_TRUE(printer->Landscape());
}

// A printer read from a window's layout finds the system's printers only when first used, and
// then with the stored settings, whichever of them is asked first.
TEST_F(RichPrinterTest, PrinterOfALayoutHasItsStoredSettingsAtFirstUse) {
  TWinRegistry(Key).WriteInteger("Printing", "MeasurementUnits", 1);
  TWinRegistry(Key).WriteFloat("Printing", "LeftMargin", 1.5);
  TWinRegistry(Key).WriteInteger("Printing", "Orientation", 1);
  const std::vector<std::pair<const char*, std::function<void(TRichPrinter&)>>> firstUses = {
      {"margin", [](TRichPrinter& p) { EXPECT_EQ(p.MarginLeft(), 1.5); }},
      {"unit", [](TRichPrinter& p) { EXPECT_EQ(p.MeasureUnit(), muInches); }},
      {"orientation", [](TRichPrinter& p) { EXPECT_TRUE(p.Landscape()); }},
      {"device", [](TRichPrinter& p) { EXPECT_TRUE(p.Printer().Landscape()); }},
      {"margin set", [](TRichPrinter& p) {
         p.SetMarginTop(2);
         EXPECT_EQ(p.MarginTop(), 2);
         EXPECT_EQ(p.MarginLeft(), 1.5);
       }},
  };
  for (const auto& [name, use] : firstUses) {
    SCOPED_TRACE(name);
    TForm form(nullptr);
    ReadLayout(form, "object F: TForm\n  object P: TRichPrinter\n    MainRegKey = 'Software\\Vortanel\\Other'\n  end\nend\n",
               "printer.qfm");
    auto* p = dynamic_cast<TRichPrinter*>(form.FindComponent("P"));
    ASSERT_NE(p, nullptr);
    use(*p);
  }
}

TEST_F(RichPrinterTest, UnitSwitchConvertsLengthsAndMarginsKeepToThePaper) {
  printer->SetMarginLeft(25.4);
  printer->SetMeasureUnit(muInches);
  EXPECT_NEAR(printer->MarginLeft(), 1.0, 1e-12);
  EXPECT_NEAR(printer->BorderOffset(), 2 / 25.4, 1e-12);
  printer->SetMeasureUnit(muMillimeters);
  printer->SetMarginLeft(-5);  // the PDF printer has no unprintable border
  EXPECT_EQ(printer->MarginLeft(), printer->GutterLeft());
  printer->SetMarginTop(1000);
  EXPECT_NEAR(printer->MarginTop(), printer->PaperLength() - printer->GutterBottom(), 1e-9);
}

TEST_F(RichPrinterTest, PageSetupConfirmedTakesOverAndStores) {
  TScriptedDialogs dialogs;
  dialogs.Answer(TDialogKind::PageSetup, 1, [](TDialogRequest& r) {
    EXPECT_EQ(r.Printing.MarginLeft, 2500);  // hundredths of millimetres
    r.Printing.MarginLeft = 2000;
    r.Printing.MarginTop = 1550;
    r.Printing.Landscape = true;
  });
  dialogs.Answer(TDialogKind::PageSetup, 0, [](TDialogRequest& r) { r.Printing.MarginLeft = 100; });
  EXPECT_TRUE(printer->PageSetupDialog());
  EXPECT_EQ(printer->MarginLeft(), 20);
  EXPECT_TRUE(printer->Landscape());
  TWinRegistry reg(Key);
  EXPECT_EQ(reg.ReadFloat("Printing", "LeftMargin", 0), 20.0);
  EXPECT_EQ(reg.ReadFloat("Printing", "TopMargin", 0), 15.5);
  EXPECT_EQ(reg.ReadInteger("Printing", "Orientation", 0), 1);
  EXPECT_FALSE(printer->PageSetupDialog());
  EXPECT_EQ(printer->MarginLeft(), 20);
}

TEST_F(RichPrinterTest, ThePaperChosenInPageSetupIsPrintedOnAndKept) {
  TScriptedDialogs dialogs;
  dialogs.Answer(TDialogKind::PageSetup, 1, [](TDialogRequest& r) {
    EXPECT_EQ(r.Printing.PaperWidth, 21000);  // A4 to begin with
    r.Printing.PaperWidth = 21590;              // US Letter
    r.Printing.PaperHeight = 27940;
  });
  ASSERT_TRUE(printer->PageSetupDialog());
  edit->SetTextW(u"one page");
  printer->PrintRichEdit(*edit, 1);
  EXPECT_EQ(PdfPageSize(pdf), "612 x 792");
  EXPECT_EQ(TWinRegistry(Key).ReadInteger("Printing", "PaperWidth", 0), 21590);
  // The next start prints on it too.
  TRichPrinter again(nullptr);
  again.Printer().Select("", pdf);
  again.LoadSettings();
  EXPECT_EQ(again.Printer().PaperHeight(), 27940);
}

TEST_F(RichPrinterTest, LongTextKeepsEveryLineOnceAndInOrderAcrossPages) {
  edit->SetTextW(NumberedLines(250));
  printer->SetPageBorders(pbTop | pbBottom | pbLeft | pbRight);
  int begins = 0, ends = 0, pages = 0;
  printer->OnBeginDoc = [&](TObject*) { ++begins; };
  printer->OnEndDoc = [&](TObject*) { ++ends; };
  printer->OnNewPage = [&](TObject*) { ++pages; };
  printer->PrintRichEdit(*edit, 1);
  EXPECT_EQ(begins, 1);
  EXPECT_EQ(ends, 1);
  EXPECT_GT(pages, 2);
  EXPECT_EQ(printer->PageNumber(), pages);
  const std::string printed = PdfText(pdf);
  EXPECT_EQ(PageCount(printed), pages);
  std::vector<int> expected;
  for (int i = 1; i <= 250; ++i) expected.push_back(i);
  EXPECT_EQ(PrintedLineNumbers(printed), expected);
}

TEST_F(RichPrinterTest, LinesTallerThanThePageStillPrintEachOnItsOwnPage) {
  edit->SetTextW(NumberedLines(3));
  printer->SetMarginTop(148);
  printer->SetMarginBottom(148);  // leaves about a millimetre: less than a line
  printer->PrintRichEdit(*edit, 1);
  const std::string printed = PdfText(pdf);
  EXPECT_EQ(PageCount(printed), 3);
  EXPECT_EQ(PrintedLineNumbers(printed), (std::vector<int>{1, 2, 3}));
}

TEST_F(RichPrinterTest, EmptyTextPrintsOnePageAndCrossingMarginsAreRefused) {
  int pages = 0;
  printer->OnNewPage = [&](TObject*) { ++pages; };
  printer->PrintRichEdit(*edit, 1);
  EXPECT_EQ(pages, 1);
  EXPECT_EQ(PageCount(PdfText(pdf)), 1);
  printer->SetMarginLeft(120);
  printer->SetMarginRight(120);
  EXPECT_THROW(printer->PrintRichEdit(*edit, 1), ELinePrinter);
}

TEST_F(RichPrinterTest, WiderMarginsGiveMorePages) {
  edit->SetTextW(NumberedLines(120));
  int pages = 0;
  printer->OnNewPage = [&](TObject*) { ++pages; };
  printer->PrintRichEdit(*edit, 1);
  const int normal = pages;
  printer->SetMarginTop(100);
  printer->SetMarginBottom(100);
  pages = 0;
  printer->PrintRichEdit(*edit, 1);
  EXPECT_GT(pages, normal);
}

// The text starts at the left and top margins (points: 1 mm = 72 / 25.4 pt).
TEST_F(RichPrinterTest, TextStartsAtTheMargins) {
  edit->SetTextW(u"Word");
  for (const double margin : {10.0, 25.0, 40.0}) {
    printer->SetMarginLeft(margin);
    printer->SetMarginTop(margin);
    printer->PrintRichEdit(*edit, 1);
    const std::string boxes = PdfText(pdf, "-bbox");
    const size_t at = boxes.find("<word xMin=\"");
    ASSERT_NE(at, std::string::npos);
    double x = 0, y = 0;
    std::sscanf(boxes.c_str() + at, "<word xMin=\"%lf\" yMin=\"%lf\"", &x, &y);
    const double expected = margin * 72 / 25.4;
    EXPECT_NEAR(x, expected, 1.5) << margin;
    EXPECT_NEAR(y, expected, 4) << margin;
  }
}

TEST_F(RichPrinterTest, PrintingRefusesChangesAndReportsFailures) {
  edit->SetTextW(NumberedLines(5));
  std::string refused;
  printer->OnNewPage = [&](TObject*) {
    try {
      printer->SetMarginLeft(30);
    } catch (const ELinePrinter& e) {
      refused = e.Message;
    }
  };
  printer->PrintRichEdit(*edit, 1);
  EXPECT_EQ(refused, "Unable to change the left margin while printing.");
  EXPECT_FALSE(printer->Printer().Printing());

  printer->OnNewPage = nullptr;
  printer->Printer().Select("", folder.Name() + "/no/such/folder/out.pdf");
  EXPECT_THROW(printer->PrintRichEdit(*edit, 1), ELinePrinter);
  EXPECT_FALSE(printer->Printer().Printing());
}

TRichPrntProgDlg* ProgressWindow() {
  for (int i = 0; i < Screen->FormCount(); ++i)
    if (auto* dlg = dynamic_cast<TRichPrntProgDlg*>(Screen->Forms(i))) return dlg;
  return nullptr;
}

TEST_F(RichPrinterTest, ProgressWindowFollowsTheJobAndGoesAtItsEnd) {
  edit->SetTextW(NumberedLines(120));
  printer->SetShowProgress(true);
  printer->SetTitle("Report");
  std::vector<std::string> seen;
  printer->OnNewPage = [&](TObject*) {
    TRichPrntProgDlg* dlg = ProgressWindow();
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(dlg->Visible());
    seen.push_back(dlg->lblStatus->Caption() + "|" + dlg->lblTitle->Caption() + "|" + dlg->lblPageNumber->Caption());
  };
  printer->PrintRichEdit(*edit, 1);
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen[0], "Printing in progress|Report|1");
  EXPECT_EQ(seen[1], "Printing in progress|Report|2");
  EXPECT_EQ(ProgressWindow(), nullptr);
}

// Pages rendered for the preview are the pages printed.
class PageFiles : public TRichPreviewSink {
public:
  explicit PageFiles(std::string folder) : folder_(std::move(folder)) {}
  void SavePageMetafile(TPrinterDevice& device) override {
    files.push_back(folder_ + "/page" + std::to_string(files.size()));
    device.SavePicture(files.back());
  }
  std::vector<std::string> files;

private:
  std::string folder_;
};

TEST_F(RichPrinterTest, PreviewRendersThePagesPrinted) {
  edit->SetTextW(NumberedLines(120));
  int printed = 0;
  printer->OnNewPage = [&](TObject*) { ++printed; };
  printer->PrintRichEdit(*edit, 1);
  printer->OnNewPage = nullptr;
  PageFiles pages(folder.Name());
  double aspect = 0;
  printer->CreatePreview = [&](double a) -> TRichPreviewSink* {
    aspect = a;
    return &pages;
  };
  printer->PrintPreview(*edit);
  EXPECT_EQ(int(pages.files.size()), printed);
  EXPECT_NEAR(aspect, 297.0 / 210.0, 0.01);
  EXPECT_FALSE(printer->Printer().Printing());
}

}  // namespace
