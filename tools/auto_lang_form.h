// TAutoLangForm: the "Verify Language" window. Runs of Latin text get the language 1033 and
// runs of Cyrillic text 1049 (language_runs.h finds them), optionally in a colour of each.
#pragma once

#include <string>

#include "platform/gui/form.h"
#include "tools/editor_range.h"

class TCheckBox;
class TEdit;
class TRichEditW;
class TColorMenu;
class TShape;

class TAutoLangForm : public TForm {
  QM_CLASS(TAutoLangForm, TForm)
public:
  explicit TAutoLangForm(TComponent* owner);
  ~TAutoLangForm() override;

  TCheckBox *CBEng = nullptr, *CBRus = nullptr;
  TShape *ColorEng = nullptr, *ColorRus = nullptr;
  TColorMenu* ColorMenu1 = nullptr;  // colour choice for a clicked swatch
  TEdit* EditIgnored = nullptr;  // characters that never end a run (code page 1251)
  std::string RegistryKey = kToolsRegistryKey;  // the choices live in its "AutoLang" section

  // Sets the languages (and colours) of the runs of the editor's selection (the whole text
  // without one); the caret ends at the start of the range. False when `step` stopped it.
  bool Execute(TRichEditW& editor, const TToolStep& step = nullptr);
  void LoadSettings();
  void SaveSettings();

private:
  void FormCreate(TObject* Sender);
  void FormDestroy(TObject* Sender);
  void ColorClick(TObject* Sender);
  void ColorMenu1ColorSelect(TObject* Sender, int ColorIndex, TColor Color);
};

extern TAutoLangForm* AutoLangForm;
