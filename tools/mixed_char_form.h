// TMixedCharForm: the "Mixed Characters" window. Words that mix look-alike Latin and Cyrillic
// letters become all of one alphabet, words of look-alike letters only are changed or marked,
// as its choices say (mixed_chars.h finds them).
#pragma once

#include <string>

#include "platform/gui/form.h"
#include "tools/editor_range.h"
#include "tools/mixed_chars.h"

class TCheckBox;
class TRadioButton;
class TRichEditW;
class TColorMenu;
class TShape;

class TMixedCharForm : public TForm {
  QM_CLASS(TMixedCharForm, TForm)
public:
  explicit TMixedCharForm(TComponent* owner);
  ~TMixedCharForm() override;

  TShape *ColorFix = nullptr, *ColorSusp = nullptr;
  TColorMenu* ColorMenu1 = nullptr;  // colour choice for a clicked swatch
  TCheckBox *CBMarkFixed = nullptr, *CBMarkSusp = nullptr;
  TRadioButton *RBAuto = nullptr, *RBRus = nullptr, *RBLat = nullptr;
  TRadioButton *RBAmbRus = nullptr, *RBAmbLat = nullptr, *RBAmbNone = nullptr;
  TNotifyEvent OnOptions;  // "Options...": set by the window that runs the tool
  std::string RegistryKey = kToolsRegistryKey;  // the choices live in its "MixedChar" section

  // Fixes and marks the words of the editor's selection (the whole text without one); the
  // caret ends at the start of the range. Answers the number of changed words; `changes`
  // hears the count after each word, `step` may stop the run.
  int Execute(TRichEditW& editor, const TToolStep& step = nullptr, const std::function<void(int)>& changes = nullptr);
  void LoadSettings();
  void SaveSettings();

private:
  void FormCreate(TObject* Sender);
  void FormDestroy(TObject* Sender);
  void ColorClick(TObject* Sender);
  void ColorMenu1ColorSelect(TObject* Sender, int ColorIndex, TColor Color);
  void Button3Click(TObject* Sender);
};

extern TMixedCharForm* MixedCharForm;
