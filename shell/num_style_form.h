// TNumStyleForm: the small borderless window that drops down under the numbering, line-spacing
// and underline-style buttons of the main window. Each change applies at once to the paragraph
// or selection of `Editor`; the window hides itself when it loses the focus.
#pragma once

#include "platform/gui/form.h"
#include "shell/formatting.h"

class TComboBox;
class TExSpinEdit;
class TPanel;
class TRichEditW;

class TNumStyleForm : public TForm {
  QM_CLASS(TNumStyleForm, TForm)
public:
  explicit TNumStyleForm(TComponent* owner);
  ~TNumStyleForm() override;

  TPanel *PanelNum = nullptr, *PanelLine = nullptr, *PanelUnder = nullptr;
  TComboBox *NumStyle = nullptr, *NumFollow = nullptr, *LineRule = nullptr, *UnderStyle = nullptr;
  TExSpinEdit *NumStart = nullptr, *LineSpace = nullptr;
  // The editor the window works on; set before showing it.
  TRichEditW* Editor = nullptr;
  // The choices used where the text has no numbering or underline of its own.
  TRememberedFormat Remembered;

  // 0 numbering, 1 line spacing, 2 underline: shows that panel alone, captioned, in the window.
  void ShowPanel(int index);

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormDeactivate(TObject* Sender);
  void NumStyleChange(TObject* Sender);
  void NumFollowChange(TObject* Sender);
  void NumStartChange(TObject* Sender);
  void LineRuleChange(TObject* Sender);
  void LineSpaceChange(TObject* Sender);
  void UnderStyleChange(TObject* Sender);

private:
  // The paragraph has a numbering of its own (not none and not bullets).
  bool Numbered() const;
  // Gives the paragraph the style and start the controls show.
  void ApplyNumbering();
  void ApplyLineSpacing();
  bool filling_ = false;  // set while FormShow fills the controls
};

// The program's one drop-down window, made at start-up.
extern TNumStyleForm* NumStyleForm;
// The drop-down window's remembered choices (the first ones while it does not exist).
TRememberedFormat RememberedFormat();
