#include "shell/rich_preview_form.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "components/flat_dock.h"
#include "components/toolbar_controls.h"
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/scroll_box.h"

TRichPreviewForm* RichPreviewForm = nullptr;

QM_CLASS_INFO(TRichPreviewForm, TForm, [](TClassBuilder<TRichPreviewForm>&) {})

namespace {

constexpr int kScrollStep = 20;

// A private folder for the page files, so that no other preview or program shares them.
std::string MakePageFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quillomark-preview-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw EFCreateError("Cannot create a folder for the print preview.");
  return pattern;
}

// The PDF file of one page's job: the page number goes before the extension, so that the
// jobs do not overwrite each other.
std::string PageJobFile(const std::string& file, int page) {
  const std::filesystem::path path(file);
  return (path.parent_path() / (path.stem().string() + "-" + std::to_string(page) + path.extension().string())).string();
}

}  // namespace

TRichPreviewForm::TRichPreviewForm(TComponent* owner) : TForm(owner), folder_(MakePageFolder()) {
  Handler("FormClose", &TRichPreviewForm::FormClose);
  Handler("FormKeyDown", &TRichPreviewForm::FormKeyDown);
  Handler("FormKeyPress", &TRichPreviewForm::FormKeyPress);
  Handler("FormResize", &TRichPreviewForm::FormResize);
  Handler("BtnZoomInClick", &TRichPreviewForm::BtnZoomInClick);
  Handler("BtnZoomOutClick", &TRichPreviewForm::BtnZoomOutClick);
  Handler("BtnNextPageClick", &TRichPreviewForm::BtnNextPageClick);
  Handler("BtnPrevPageClick", &TRichPreviewForm::BtnPrevPageClick);
  Handler("BtnPrintClick", &TRichPreviewForm::BtnPrintClick);
  Handler("SpeedButton2Click", &TRichPreviewForm::SpeedButton2Click);
  Handler("EditZoomClick", &TRichPreviewForm::EditZoomClick);
  Handler("EditPageExit", &TRichPreviewForm::EditPageExit);
  Handler("EditPageKeyPress", &TRichPreviewForm::EditPageKeyPress);
  Handler("Image1MouseDown", &TRichPreviewForm::Image1MouseDown);
  Field("ScrollBox1", ScrollBox1);
  Field("Image1", Image1);
  Field("FlatToolbar1", FlatToolbar1);
  Field("BtnZoomIn", BtnZoomIn);
  Field("BtnZoomOut", BtnZoomOut);
  Field("BtnNextPage", BtnNextPage);
  Field("BtnPrevPage", BtnPrevPage);
  Field("SpeedButton2", SpeedButton2);
  Field("BtnPrint", BtnPrint);
  Field("EditPage", EditPage);
  Field("EditZoom", EditZoom);
  Field("PrintDialog1", PrintDialog1);
  ReadForm();
  SetAspect(0);
}

TRichPreviewForm::~TRichPreviewForm() {
  RemovePages();
  std::error_code ignored;
  std::filesystem::remove(folder_, ignored);
  if (RichPreviewForm == this) RichPreviewForm = nullptr;
}

void TRichPreviewForm::SetAspect(double aspect) {
  geometry_ = PreviewGeometry(Screen->Width(), Screen->Height(), aspect);
  bitmapWidth_ = geometry_.BitmapWidth;
  bitmapHeight_ = geometry_.BitmapHeight;
  SetClientWidth(geometry_.ClientWidth);
  SetClientHeight(geometry_.ClientHeight + FlatToolbar1->Height());
  PaintPage();
}

void TRichPreviewForm::SavePageMetafile(TPrinterDevice& device) {
  device.SavePicture(PreviewPageFile(folder_, count_));
  last_ = count_++;
  PaintPage();
}

void TRichPreviewForm::ShowPage(int index) {
  index = std::clamp(index, 0, std::max(last_, 0));
  if (index == shown_) return;
  shown_ = index;
  PaintPage();
}

void TRichPreviewForm::PaintPage() {
  EditPage->SetText(std::to_string(shown_ + 1));
  TBitmap page(std::max(1, bitmapWidth_), std::max(1, bitmapHeight_));
  TCanvas& canvas = *page.Canvas();
  canvas.Brush()->SetColor(clWhite);
  canvas.FillRect({0, 0, page.Width(), page.Height()});
  if (shown_ <= last_) DrawPictureFile(PreviewPageFile(folder_, shown_), canvas, {0, 0, page.Width(), page.Height()});
  canvas.Brush()->SetColor(clBlack);
  canvas.FrameRect({0, 0, page.Width(), page.Height()});
  canvas.Release();
  Image1->Picture()->Assign(page);
  CenterImage();
}

void TRichPreviewForm::CenterImage() {
  Image1->SetLeft(std::max(0, (ScrollBox1->ClientWidth() - Image1->Width()) / 2));
  Image1->SetTop(std::max(0, (ScrollBox1->ClientHeight() - Image1->Height()) / 2));
}

void TRichPreviewForm::ZoomChanged() {
  BtnZoomOut->SetEnabled(zoom_.CanZoomOut());
  EditZoom->SetText(zoom_.Text());
  bitmapWidth_ = int(geometry_.PageWidth * zoom_.Factor() + 0.5);
  bitmapHeight_ = int(geometry_.PageHeight * zoom_.Factor() + 0.5);
  PaintPage();
}

void TRichPreviewForm::BtnZoomInClick(TObject*) {
  zoom_.ZoomIn();
  ZoomChanged();
}

void TRichPreviewForm::BtnZoomOutClick(TObject*) {
  zoom_.ZoomOut();
  ZoomChanged();
}

void TRichPreviewForm::EditZoomClick(TObject*) {
  zoom_.Reset();
  ZoomChanged();
}

void TRichPreviewForm::Image1MouseDown(TObject*, TMouseButton Button, TShiftState, int, int) {
  if (Button == mbRight) EditZoomClick(this);
}

void TRichPreviewForm::BtnNextPageClick(TObject*) { ShowPage(shown_ + 1); }
void TRichPreviewForm::BtnPrevPageClick(TObject*) { ShowPage(shown_ - 1); }
void TRichPreviewForm::SpeedButton2Click(TObject*) { Close(); }

void TRichPreviewForm::EditPageExit(TObject*) {
  const int index = TypedPageIndex(EditPage->Text(), shown_, last_);
  if (index != shown_) ShowPage(index);
  else EditPage->SetText(std::to_string(shown_ + 1));
}

void TRichPreviewForm::EditPageKeyPress(TObject*, char& Key) {
  if (Key != '\r') return;
  Key = 0;
  EditPageExit(this);
}

void TRichPreviewForm::FormKeyDown(TObject*, uint16_t& Key, TShiftState) {
  TControlScrollBar* horz = ScrollBox1->HorzScrollBar();
  TControlScrollBar* vert = ScrollBox1->VertScrollBar();
  switch (Key) {
    case VK_PRIOR: ShowPage(shown_ - 1); break;
    case VK_NEXT: ShowPage(shown_ + 1); break;
    case VK_HOME: ShowPage(0); break;
    case VK_END: ShowPage(last_); break;
    case VK_LEFT: horz->SetPosition(horz->Position() - kScrollStep); break;
    case VK_RIGHT: horz->SetPosition(horz->Position() + kScrollStep); break;
    case VK_UP: vert->SetPosition(vert->Position() - kScrollStep); break;
    case VK_DOWN: vert->SetPosition(vert->Position() + kScrollStep); break;
    default: return;
  }
  Key = 0;
}

void TRichPreviewForm::FormKeyPress(TObject*, char& Key) {
  if (ActiveControl() == EditPage && Key != '+' && Key != '=' && Key != '-') return;
  switch (Key) {
    case '+':
    case '=': BtnZoomInClick(this); break;
    case '-': if (zoom_.CanZoomOut()) BtnZoomOutClick(this); break;
    case 'P':
    case 'p': BtnPrintClick(this); break;
    default: return;
  }
  Key = 0;
}

void TRichPreviewForm::FormResize(TObject*) { CenterImage(); }

void TRichPreviewForm::BtnPrintClick(TObject*) {
  if (count_ == 0) return;
  const TCursor cursor = Screen->Cursor();
  Screen->SetCursor(crHourGlass);
  struct TRestore {
    TCursor cursor;
    ~TRestore() { Screen->SetCursor(cursor); }
  } restore{cursor};
  PrintDialog1->SetMinPage(1);
  PrintDialog1->SetMaxPage(count_);
  PrintDialog1->SetFromPage(shown_ + 1);
  PrintDialog1->SetToPage(shown_ + 1);
  if (Printer && PrintDialog1->Printer().empty() && PrintDialog1->OutputFile().empty()) {
    PrintDialog1->SetPrinter(Printer->Printer().PrinterName());
    PrintDialog1->SetOutputFile(Printer->Printer().PdfFile());
  }
  if (!PrintDialog1->Execute()) return;
  int from = 0, to = last_;
  if (PrintDialog1->PrintRange() == prPageNums) {
    from = std::clamp(PrintDialog1->FromPage() - 1, 0, last_);
    to = std::clamp(PrintDialog1->ToPage() - 1, from, last_);
  }
  // Each page is a job of its own.
  for (int page = from; page <= to; ++page) {
    TPrinterDevice device;
    const std::string& file = PrintDialog1->OutputFile();
    device.Select(PrintDialog1->Printer(), file.empty() || from == to ? file : PageJobFile(file, page + 1));
    if (Printer) {
      // The pages were laid out on the preview's paper: printed on the same.
      device.SetPaper(Printer->Printer().PaperWidth(), Printer->Printer().PaperHeight());
      device.SetLandscape(Printer->Landscape());
      device.SetTitle(Printer->Printer().Title());
    }
    device.BeginDoc();
    device.DrawPictureFile(PreviewPageFile(folder_, page));
    device.EndDoc();
  }
}

void TRichPreviewForm::FormClose(TObject*, TCloseAction& Action) {
  RemovePages();
  Action = caFree;
}

void TRichPreviewForm::RemovePages() {
  for (int i = 0; i <= last_; ++i) {
    std::error_code ignored;
    std::filesystem::remove(PreviewPageFile(folder_, i), ignored);
  }
  last_ = -1;
  count_ = 0;
  shown_ = 0;
}
