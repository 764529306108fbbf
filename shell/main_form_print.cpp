// The main window's printing: page setup, print preview and printing of the editor's text.
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "shell/main_form.h"
#include "shell/rich_preview_form.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_printer.h"

void TMainForm::BindPrint() {
  Handler("PageSetup1Click", &TMainForm::PageSetup1Click);
  Handler("PrintPreview1Click", &TMainForm::PrintPreview1Click);
  Handler("FilePrintItemClick", &TMainForm::FilePrintItemClick);
  Field("RichPrinter", RichPrinter);
  Field("PrintDialog1", PrintDialog1);
}

void TMainForm::PageSetup1Click(TObject*) { RichPrinter->PageSetupDialog(); }

void TMainForm::PrintPreview1Click(TObject*) {
  RichPrinter->SetTitle(Caption());
  RichPrinter->CreatePreview = [this](double aspect) -> TRichPreviewSink* {
    // One preview at a time: a new one replaces the one open.
    delete RichPreviewForm;
    RichPreviewForm = new TRichPreviewForm(Application);
    RichPreviewForm->Printer = RichPrinter;
    RichPreviewForm->SetAspect(aspect);
    RichPreviewForm->Show();
    return RichPreviewForm;
  };
  RichPrinter->PrintPreview(*Editor);
}

void TMainForm::FilePrintItemClick(TObject*) {
  RichPrinter->SetTitle(Caption());
  TPrinterDevice& printer = RichPrinter->Printer();
  PrintDialog1->SetPrinter(printer.PrinterName());
  PrintDialog1->SetOutputFile(printer.PdfFile());
  PrintDialog1->SetPaper(printer.PaperWidth(), printer.PaperHeight());
  if (!PrintDialog1->Execute()) return;
  printer.Select(PrintDialog1->Printer(), PrintDialog1->OutputFile());
  RichPrinter->SetPaper(PrintDialog1->PaperWidth(), PrintDialog1->PaperHeight());
  RichPrinter->PrintRichEdit(*Editor, 1);
}
