// TQuickForm: the quick conversion window. One click converts the main window's work text
// (encoding, transliteration) or the text in the window's own hidden editor (de-transliteration,
// clean-up of scanned text, keyboard layout); the modal result says which.
#pragma once

#include <functional>

#include "platform/gui/form.h"

class TComboBox;
class TQGrammar;
class TRichEditW;
class TSpeedButton;

// Modal results: the work text was converted, the window's editor was converted.
inline constexpr int kQuickWorkTextDone = 5, kQuickEditorDone = 6;

class TQuickForm : public TForm {
  QM_CLASS(TQuickForm, TForm)
public:
  explicit TQuickForm(TComponent* owner);
  ~TQuickForm() override;

  TComboBox *Enc1 = nullptr, *Enc2 = nullptr;  // "Win-1251", "DOS-866", "ISO-8859.5", "KOI-8", "Mac"
  TSpeedButton *BtnConvFwd = nullptr, *BtnConvBwd = nullptr, *BtnTransliterate = nullptr,
               *BtnDeTransliterate = nullptr, *BtnCleanup = nullptr, *BtnSwitchKbd = nullptr;
  TRichEditW* Editor = nullptr;  // hidden: the text of the editor conversions

  // Set by the main window: its work text recoded between two columns or transliterated, and
  // its two correction engines.
  std::function<void(int source, int target)> OnRecode;
  std::function<void()> OnTransliterate;
  TQGrammar *DeTransliterator = nullptr, *Cleaner = nullptr;
  // Around an engine's run on the window's editor (the shell shows its progress window); the
  // end comes also when the run fails.
  std::function<void()> OnEngineStart, OnEngineEnd;

private:
  void FormCreate(TObject* Sender);
  void ConvClick(TObject* Sender);
  void TransliterateClick(TObject* Sender);
  void EngineClick(TObject* Sender);
  void SwitchKbdClick(TObject* Sender);
  void LoadClick(TObject* Sender);
};

extern TQuickForm* QuickForm;
