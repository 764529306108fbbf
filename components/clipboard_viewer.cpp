#include "components/clipboard_viewer.h"

#include "components/clipboard_icon.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/clipboard_image.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/std_controls.h"
#include "platform/code_pages.h"
#include "textcore/rich_edit.h"

QM_CLASS_INFO(TClipboardViewer, TScrollBox, [](TClassBuilder<TClipboardViewer>& b) {
  b.Enum<TClipboardViewFormat>("ViewFormat",
                               {"cvDefault", "cvEmpty", "cvUnknown", "cvText", "cvBitmap", "cvMetafile", "cvPalette",
                                "cvOemText", "cvPicture", "cvComponent", "cvIcon"},
                               &TClipboardViewer::ViewFormat, &TClipboardViewer::SetViewFormat)
      .Event("OnChange", &TClipboardViewer::OnChange);
})

TClipboardViewFormat DetectViewFormat(const TClipboardContent& c) {
  if (c.Text) return cvText;
  if (c.OemText) return cvOemText;
  if (c.Bitmap) return cvBitmap;
  if (c.Metafile) return cvMetafile;
  if (c.Icon) return cvIcon;
  if (c.Picture) return cvPicture;
  if (c.Component) return cvComponent;
  if (c.Palette) return cvPalette;
  return cvUnknown;
}

bool ViewFormatPresent(TClipboardViewFormat f, const TClipboardContent& c) {
  switch (f) {
    case cvText: return c.Text;
    case cvOemText: return c.OemText;
    case cvBitmap: return c.Bitmap;
    case cvMetafile: return c.Metafile;
    case cvIcon: return c.Icon;
    case cvPicture: return c.Picture;
    case cvComponent: return c.Component;
    case cvPalette: return c.Palette;
    default: return false;
  }
}

TClipboardContent CurrentClipboardContent() {
  TClipboardContent c;
  c.Any = !Clipboard()->Formats().empty() || ClipboardHasImage();
  c.Text = Clipboard()->HasFormat(CF_TEXT) || Clipboard()->HasFormat(CF_UNICODETEXT);
  c.Bitmap = ClipboardHasImage();
  c.Icon = ClipboardHasIcon();
  return c;
}

TClipboardViewer::TClipboardViewer(TComponent* owner) : TScrollBox(owner) {
  SetColor(clWindow);
  listener_ = Clipboard()->AddChangeListener([this] { ClipboardChanged(); });
  RebuildView();
}

TClipboardViewer::~TClipboardViewer() {
  if (listener_ >= 0) Clipboard()->RemoveChangeListener(listener_);
}

void TClipboardViewer::Notification(TComponent* component, TOperation operation) {
  TScrollBox::Notification(component, operation);
  if (operation == TOperation::opRemove && component == view_) view_ = nullptr;
}

TClipboardViewFormat TClipboardViewer::DrawFormat() const {
  const TClipboardContent c = CurrentClipboardContent();
  if (!c.Any) return cvEmpty;
  if (viewFormat_ != cvDefault) return viewFormat_;
  return DetectViewFormat(c);
}

void TClipboardViewer::SetViewFormat(TClipboardViewFormat f) {
  if (f >= cvText && !ViewFormatPresent(f, CurrentClipboardContent())) f = cvDefault;
  viewFormat_ = f;
  RebuildView();
}

void TClipboardViewer::ClipboardChanged() {
  const TClipboardContent c = CurrentClipboardContent();
  if (!c.Any) viewFormat_ = cvEmpty;
  else if (viewFormat_ >= cvText ? !ViewFormatPresent(viewFormat_, c) : viewFormat_ == cvEmpty) viewFormat_ = cvDefault;
  if (OnChange) OnChange(this);
  DisableAlign();
  RebuildView();
  EnableAlign();
}

void TClipboardViewer::RebuildView() {
  if (view_) {
    TControl* old = view_;
    view_ = nullptr;
    Free(old);
  }
  const TClipboardContent c = CurrentClipboardContent();
  if (!c.Any) return;  // blank in the viewer's own colour
  TClipboardViewFormat f = DrawFormat();
  if (f >= cvText && !ViewFormatPresent(f, c)) f = cvUnknown;
  if (f == cvBitmap || f == cvIcon || f == cvPicture || f == cvMetafile) {
    auto* image = new TImage(this);
    image->FreeNotification(this);
    TBitmap picture;
    const bool got = f == cvIcon ? IconFromClipboard(picture) : ClipboardImage(picture);
    if (got) image->Picture()->Assign(picture);
    image->SetAutoSize(true);
    image->SetParent(this);
    image->SetBounds(std::max(0, (ClientWidth() - picture.Width()) / 2), std::max(0, (ClientHeight() - picture.Height()) / 2),
                     picture.Width(), picture.Height());
    view_ = image;
    return;
  }
  // Text shows in every script it is in (Unicode), not only in the system code page.
  auto* memo = new TRichEditW(this);
  memo->FreeNotification(this);
  memo->SetPlainText(true);
  memo->SetParent(this);
  memo->SetAlign(alClient);
  memo->SetTextW(c.Text ? Clipboard()->AsUnicodeText() : Utf8ToWide(kUnknownClipboardFormat));
  memo->SetReadOnly(true);
  view_ = memo;
}
