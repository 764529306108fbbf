// TReformatForm: the "Reformat" window. Its choices say what the reformat engine
// (reformat.h) does; Execute makes the engine's edits in the editor and marks the changed words.
#pragma once

#include <string>

#include "platform/gui/form.h"
#include "tools/editor_range.h"
#include "tools/reformat.h"

class TCheckBox;
class TQGrammar;
class TRadioGroup;
class TRichEditW;
class TColorMenu;
class TShape;

class TReformatForm : public TForm {
  QM_CLASS(TReformatForm, TForm)
public:
  explicit TReformatForm(TComponent* owner);
  ~TReformatForm() override;

  TCheckBox *CBUndoHyphen = nullptr, *CBUndoJustify = nullptr, *CBParagraphs = nullptr, *CBMultiCol = nullptr,
            *CBDeQuote = nullptr, *CBMarkChanged = nullptr, *CBMarkSkipped = nullptr;
  TShape *ColorChanged = nullptr, *ColorSkipped = nullptr;
  TColorMenu* ColorMenu1 = nullptr;  // colour choice for a clicked swatch
  TRadioGroup* RGParagraph = nullptr;
  std::string RegistryKey = kToolsRegistryKey;  // the choices live in its "Reformat" section

  TReformatOptions Options() const;
  // Reformats the editor's selection (the whole text without one): columns first, then the
  // joining of lines and words, whose merges `Engine`'s word tests decide. The selection is
  // collapsed at the end. False when `step` stopped it (the edits made so far stay).
  bool Execute(TQGrammar& Engine, TRichEditW& Editor, const TToolStep& step = nullptr);
  void LoadSettings();
  void SaveSettings();

private:
  void FormCreate(TObject* Sender);
  void FormDestroy(TObject* Sender);
  void ColorClick(TObject* Sender);
  void ColorMenu1ColorSelect(TObject* Sender, int ColorIndex, TColor Color);
  // Makes `edits` of the text that starts at `start`, back to front; colours the marked words.
  bool ApplyEdits(TRichEditW& editor, int start, const std::vector<TReformatEdit>& edits, const TToolStep& step);
};

extern TReformatForm* ReformatForm;
