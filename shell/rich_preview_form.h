// TRichPreviewForm: "Print Preview", the pages the rich text printer renders, one at a time,
// zoomable, with printing of chosen pages. The pages are picture files in a private folder,
// removed when the window closes.
#pragma once

#include <string>

#include "platform/gui/form.h"
#include "shell/preview_state.h"
#include "textcore/rich_printer.h"

class TFlatToolbar;
class TFlatToolbarButton;
class TFlatEdit;
class TImage;
class TPrintDialog;
class TScrollBox;

class TRichPreviewForm : public TForm, public TRichPreviewSink {
  QM_CLASS(TRichPreviewForm, TForm)
public:
  explicit TRichPreviewForm(TComponent* owner);
  ~TRichPreviewForm() override;
  // Sizes the window for the screen and the paper's aspect (height / width).
  void SetAspect(double aspect);
  // The printer whose orientation and title printing from the preview takes over.
  TRichPrinter* Printer = nullptr;

  TScrollBox* ScrollBox1 = nullptr;
  TImage* Image1 = nullptr;
  TFlatToolbar* FlatToolbar1 = nullptr;
  TFlatToolbarButton *BtnZoomIn = nullptr, *BtnZoomOut = nullptr, *BtnNextPage = nullptr,
                     *BtnPrevPage = nullptr, *SpeedButton2 = nullptr, *BtnPrint = nullptr;
  TFlatEdit *EditPage = nullptr, *EditZoom = nullptr;
  TPrintDialog* PrintDialog1 = nullptr;

  void SavePageMetafile(TPrinterDevice& device) override;
  int PageIndex() const { return shown_; }
  int LastPage() const { return last_; }
  int PageCount() const { return count_; }
  const TPreviewZoom& Zoom() const { return zoom_; }
  const std::string& Folder() const { return folder_; }
  // Shows page `index` (kept within the rendered pages).
  void ShowPage(int index);

  void BtnZoomInClick(TObject* Sender);
  void BtnZoomOutClick(TObject* Sender);
  void BtnNextPageClick(TObject* Sender);
  void BtnPrevPageClick(TObject* Sender);
  void BtnPrintClick(TObject* Sender);
  void SpeedButton2Click(TObject* Sender);
  void EditZoomClick(TObject* Sender);

private:
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void FormKeyPress(TObject* Sender, char& Key);
  void FormResize(TObject* Sender);
  void EditPageExit(TObject* Sender);
  void EditPageKeyPress(TObject* Sender, char& Key);
  void Image1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void ZoomChanged();
  void PaintPage();
  void CenterImage();
  void RemovePages();

  std::string folder_;
  TPreviewGeometry geometry_;
  int bitmapWidth_ = 0, bitmapHeight_ = 0;
  int shown_ = 0, last_ = -1, count_ = 0;
  TPreviewZoom zoom_;
};

// The one print preview window while it is open.
extern TRichPreviewForm* RichPreviewForm;
