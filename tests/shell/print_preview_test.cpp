// Printing from the main window: the File menu's page setup, print and print preview, and the
// preview window's pages, navigation, zoom, printing of chosen pages and clean-up.
#include <gtest/gtest.h>

#include <QColor>
#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QWidget>
#include <cstdio>
#include <filesystem>

#include "components/toolbar_controls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/menus.h"
#include "platform/gui/qt_bridge.h"
#include "shell/main_form.h"
#include "shell/preview_state.h"
#include "shell/rich_preview_form.h"
#include "tests/platform/temp_folder.h"
#include "tests/shell/operation_test_fixture.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_printer.h"
#include "textcore/win_registry.h"

#include "tests/support/pdf_text.h"

namespace {

void SendKey(TWinControl* control, int qtKey, const QString& text = QString()) {
  QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, text);
  QCoreApplication::sendEvent(control->Widget(), &press);
  QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier, text);
  QCoreApplication::sendEvent(control->Widget(), &release);
}

TEST(PreviewState, GeometryFollowsTheScreenAndTheAspect) {
  struct Case {
    int screenW, screenH;
    double aspect;
    int pageW, pageH, bitmapW, bitmapH;
  } const cases[] = {
      {1024, 768, 297.0 / 210.0, 437, 618, 428, 606},
      {1024, 768, 0, 874, 618, 857, 606},  // no aspect: 0.707
      {800, 600, 0.5, 700, 350, 686, 343}, // too wide for the screen
  };
  for (const Case& c : cases) {
    const TPreviewGeometry g = PreviewGeometry(c.screenW, c.screenH, c.aspect);
    EXPECT_EQ(g.PageWidth, c.pageW) << c.aspect;
    EXPECT_EQ(g.PageHeight, c.pageH) << c.aspect;
    EXPECT_EQ(g.ClientWidth, c.pageW + 50);
    EXPECT_EQ(g.ClientHeight, c.pageH + 50);
    EXPECT_EQ(g.BitmapWidth, c.bitmapW);
    EXPECT_EQ(g.BitmapHeight, c.bitmapH);
  }
}

TEST(PreviewState, TypedPageAndZoom) {
  struct Case {
    const char* typed;
    int index;
  } const cases[] = {{"2", 1}, {"99", 2}, {"0", 0}, {"-4", 0}, {"abc", 1}, {"", 1}};
  for (const Case& c : cases) EXPECT_EQ(TypedPageIndex(c.typed, 1, 2), c.index) << c.typed;

  TPreviewZoom zoom;
  EXPECT_EQ(zoom.Text(), "1.0");
  EXPECT_FALSE(zoom.CanZoomOut());
  for (int i = 0; i < 25; ++i) zoom.ZoomIn();
  EXPECT_EQ(zoom.Text(), "3.5");
  for (int i = 0; i < 30; ++i) zoom.ZoomOut();
  EXPECT_EQ(zoom.Text(), "1.0");
  EXPECT_FALSE(zoom.CanZoomOut());
}

class PrintMenuTest : public OperationTest {
protected:
  void SetUp() override {
    OperationTest::SetUp();
    pdf = std::filesystem::path(folder.Name()) / "printed.pdf";
    std::u16string text;
    for (int i = 1; i <= 130; ++i) text += u"Printed line " + std::u16string(1, u'A' + i % 26) + u"\r";
    SetText(text);
  }
  TMenuItem* Item(const char* name) { return dynamic_cast<TMenuItem*>(form->FindComponent(name)); }
  TempFolder folder;
  std::filesystem::path pdf;
};

TEST_F(PrintMenuTest, PrintGoesWhereThePrintDialogSays) {
  for (const char* name : {"PageSetup1", "PrintPreview1", "FilePrintItem"}) EXPECT_TRUE(Item(name)->Enabled()) << name;
  TScriptedDialogs dialogs;
  dialogs.Answer(TDialogKind::Print, 0);
  dialogs.Answer(TDialogKind::Print, 1, [this](TDialogRequest& r) {
    EXPECT_EQ(r.Printing.PaperWidth, 21000);  // the printer's paper is offered
    r.Printing.Printer.clear();
    r.Printing.OutputFile = pdf.string();
    r.Printing.PaperWidth = 14800;  // A5 chosen in the dialog
    r.Printing.PaperHeight = 21000;
  });
  Item("FilePrintItem")->Click();
  EXPECT_FALSE(std::filesystem::exists(pdf));
  Item("FilePrintItem")->Click();
  const std::string printed = PdfText(pdf.string());
  EXPECT_GE(PageCount(printed), 2);
  EXPECT_NE(printed.find("Printed line"), std::string::npos);
  EXPECT_EQ(PdfPageSize(pdf.string()), "420 x 595");  // A5
  EXPECT_EQ(form->RichPrinter->Title(), form->Caption());
}

TEST_F(PrintMenuTest, PageSetupStoresTheMargins) {
  TScriptedDialogs dialogs;
  dialogs.Answer(TDialogKind::PageSetup, 1, [](TDialogRequest& r) { r.Printing.MarginRight = 3000; });
  Item("PageSetup1")->Click();
  EXPECT_EQ(form->RichPrinter->MarginRight(), 30);
  EXPECT_EQ(TWinRegistry("Software\\Vortanel\\Other").ReadFloat("Printing", "RightMargin", 0), 30.0);
}

TEST_F(PrintMenuTest, PreviewShowsPagesZoomsPrintsAndCleansUp) {
  SetText(form->Editor->GetTextW() + form->Editor->GetTextW());  // three pages or more
  Item("PrintPreview1")->Click();
  TRichPreviewForm* preview = RichPreviewForm;
  ASSERT_NE(preview, nullptr);
  EXPECT_TRUE(preview->Visible());
  const int count = preview->PageCount(), last = count - 1;
  ASSERT_GE(count, 3);
  EXPECT_EQ(preview->LastPage(), last);
  const std::string folder = preview->Folder();
  for (int i = 0; i < count; ++i) EXPECT_TRUE(std::filesystem::exists(PreviewPageFile(folder, i)));

  // Pages: buttons, keys and the page number typed stay within the pages.
  struct Step {
    std::function<void()> act;
    int page;
  } const steps[] = {
      {[&] { preview->BtnNextPageClick(nullptr); }, 1},
      {[&] { SendKey(preview, Qt::Key_PageDown); }, 2},
      {[&] { SendKey(preview, Qt::Key_End); }, last},
      {[&] { SendKey(preview, Qt::Key_PageDown); }, last},
      {[&] { SendKey(preview, Qt::Key_Home); }, 0},
      {[&] { preview->BtnPrevPageClick(nullptr); }, 0},
      {[&] { SendKey(preview, Qt::Key_End); }, last},
      {[&] { SendKey(preview, Qt::Key_PageUp); }, last - 1},
      {[&] {
         preview->EditPage->SetText("99");
         SendKey(preview->EditPage, Qt::Key_Return, "\r");
       }, last},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    steps[i].act();
    EXPECT_EQ(preview->PageIndex(), steps[i].page) << "step " << i;
    EXPECT_EQ(preview->EditPage->Text(), std::to_string(steps[i].page + 1)) << "step " << i;
  }

  // Zoom: never below 1.0; Zoom Out is enabled only above it.
  EXPECT_EQ(preview->EditZoom->Text(), "1.0");
  EXPECT_FALSE(preview->BtnZoomOut->Enabled());
  const int width = preview->Image1->Width();
  SendKey(preview, Qt::Key_Plus, "+");
  EXPECT_EQ(preview->EditZoom->Text(), "1.1");
  EXPECT_TRUE(preview->BtnZoomOut->Enabled());
  EXPECT_GT(preview->Image1->Width(), width);
  SendKey(preview, Qt::Key_Equal, "=");
  SendKey(preview, Qt::Key_Minus, "-");
  EXPECT_EQ(preview->EditZoom->Text(), "1.1");
  preview->EditZoomClick(nullptr);
  EXPECT_EQ(preview->EditZoom->Text(), "1.0");
  EXPECT_FALSE(preview->BtnZoomOut->Enabled());
  // The page box is flat until it is in use.
  auto corner = [&] {
    QCoreApplication::processEvents();
    return preview->EditPage->Widget()->grab().toImage().pixel(0, 0);
  };
  EXPECT_EQ(corner(), QColor(ToQColor(clBtnFace)).rgb());
  QEvent enter(QEvent::Enter), leave(QEvent::Leave);  // the mouse over it and away again
  QCoreApplication::sendEvent(preview->EditPage->Widget(), &enter);
  EXPECT_EQ(corner(), QColor(ToQColor(clBtnShadow)).rgb());
  QCoreApplication::sendEvent(preview->EditPage->Widget(), &leave);
  EXPECT_EQ(corner(), QColor(ToQColor(clBtnFace)).rgb());

  // Pages 2 to 3 are two jobs of one page each.
  TScriptedDialogs dialogs;
  dialogs.Answer(TDialogKind::Print, 1, [&](TDialogRequest& r) {
    EXPECT_EQ(r.Printing.FromPage, count);  // the page shown
    EXPECT_EQ(r.Printing.MaxPage, count);
    r.Printing.Printer.clear();
    r.Printing.OutputFile = pdf.string();
    r.Printing.PageRange = true;
    r.Printing.FromPage = 2;
    r.Printing.ToPage = count + 5;  // beyond the last page: up to it
  });
  SendKey(preview, Qt::Key_P, "p");
  const std::filesystem::path dir = pdf.parent_path();
  const std::string second = PdfText((dir / "printed-2.pdf").string());
  const std::string third = PdfText((dir / "printed-3.pdf").string());
  EXPECT_EQ(PageCount(second), 1);
  EXPECT_EQ(PageCount(third), 1);
  EXPECT_NE(second.find("Printed line"), std::string::npos);
  // The page is stretched over the printer's page as it was rendered: text at the 25 mm margin.
  const std::string boxes = PdfText((dir / "printed-2.pdf").string(), "-bbox");
  const size_t at = boxes.find("<word xMin=\"");
  ASSERT_NE(at, std::string::npos);
  double x = 0, y = 0;
  std::sscanf(boxes.c_str() + at, "<word xMin=\"%lf\" yMin=\"%lf\"", &x, &y);
  EXPECT_NEAR(x, 25 * 72 / 25.4, 1.5);
  EXPECT_FALSE(std::filesystem::exists(dir / "printed-1.pdf"));
  EXPECT_EQ(PageCount(PdfText((dir / ("printed-" + std::to_string(count) + ".pdf")).string())), 1);
  EXPECT_FALSE(std::filesystem::exists(dir / ("printed-" + std::to_string(count + 1) + ".pdf")));

  preview->SpeedButton2Click(nullptr);
  Application->ProcessMessages();
  EXPECT_EQ(RichPreviewForm, nullptr);
  EXPECT_FALSE(std::filesystem::exists(folder));
}

}  // namespace
