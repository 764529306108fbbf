// TCollectForm: the "Clipboard" window. It shows the clipboard (text or picture) and, in capture mode,
// appends every new text that appears on the clipboard to the end of the main editor.
#pragma once

#include "platform/gui/form.h"
#include "tools/clip_collector.h"

class TClipboardViewer;
class TRichEditW;
class TSpeedButton;

class TCollectForm : public TForm {
  QM_CLASS(TCollectForm, TForm)
public:
  explicit TCollectForm(TComponent* owner);
  ~TCollectForm() override;

  TSpeedButton* BtnCollect = nullptr;  // "Capture Mode", down while capturing
  TClipboardViewer* ClipboardViewer1 = nullptr;  // the clipboard's contents
  // The editor captured text goes into (the main window's).
  TRichEditW* Editor = nullptr;
  // Runs when the window hides (the main window unchecks its menu item).
  TNotifyEvent OnHidden;

  // The clipboard changed (the viewer's OnChange): in capture mode new text is appended at the
  // editor's end without moving the user's caret. The program's own writes are not captured.
  void ClipboardChanged();

private:
  void FormCreate(TObject* Sender);
  void FormHide(TObject* Sender);
  void ClipboardViewer1Change(TObject* Sender);

  TClipCollector collector_;
};

extern TCollectForm* CollectForm;
