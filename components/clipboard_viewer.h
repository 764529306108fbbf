// TClipboardViewer: a scroll box that always shows the clipboard's contents: a read-only plain
// text view for (Unicode) text or the unknown-format note, an image for pictures and icons. It
// follows every change of the clipboard and raises OnChange. Metafiles, palettes, OEM text and components
// never reach the clipboard on this system; component data from other programs is not read.
#pragma once

#include "platform/gui/scroll_box.h"

class TImage;

enum TClipboardViewFormat { cvDefault, cvEmpty, cvUnknown, cvText, cvBitmap, cvMetafile, cvPalette, cvOemText,
                            cvPicture, cvComponent, cvIcon };

// What the clipboard holds, for detection.
struct TClipboardContent {
  bool Any = false, Text = false, OemText = false, Bitmap = false, Metafile = false, Icon = false, Picture = false,
       Component = false, Palette = false;
};
// The first format shown of what the clipboard holds: text, OEM text, bitmap, metafile, icon,
// picture, component, palette, else unknown.
TClipboardViewFormat DetectViewFormat(const TClipboardContent& c);
// Whether the clipboard holds the data of a view format (cvText and later).
bool ViewFormatPresent(TClipboardViewFormat f, const TClipboardContent& c);

inline constexpr const char* kUnknownClipboardFormat = "Cannot display. Data in Clipboard is in an unknown format.";

class TClipboardViewer : public TScrollBox {
  QM_CLASS(TClipboardViewer, TScrollBox)
public:
  explicit TClipboardViewer(TComponent* owner);
  ~TClipboardViewer() override;

  TClipboardViewFormat ViewFormat() const { return viewFormat_; }
  // A format the clipboard lacks (or that cannot be shown) becomes cvDefault; the view follows.
  void SetViewFormat(TClipboardViewFormat f);
  // The format drawn: cvEmpty for an empty clipboard, else ViewFormat, else the detected one.
  TClipboardViewFormat DrawFormat() const;
  // Shows the clipboard again.
  void RebuildView();
  // The clipboard changed.
  void ClipboardChanged();
  // The child showing the contents (nullptr when the clipboard is empty).
  TControl* View() const { return view_; }

  TNotifyEvent OnChange;

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  TClipboardViewFormat viewFormat_ = cvDefault;
  TControl* view_ = nullptr;
  int listener_ = -1;
};

// What the program's clipboard holds now.
TClipboardContent CurrentClipboardContent();
