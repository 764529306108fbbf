// TUnicodeForm: the "Locale Converter" window. It asks which way to convert (8-bit text read
// in the wrong code page up to Unicode, or Unicode down to a locale's 8-bit text) and the
// locale; the main window converts.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/gui/form.h"
#include "platform/locale.h"

class TComboBox;
class TRadioGroup;

class TUnicodeForm : public TForm {
  QM_CLASS(TUnicodeForm, TForm)
public:
  explicit TUnicodeForm(TComponent* owner);
  ~TUnicodeForm() override;

  TRadioGroup* RGMap = nullptr;      // 0 upgrade ANSI to Unicode, 1 downgrade Unicode to ANSI
  TComboBox* UnicodeLang = nullptr;  // the locales whose code pages the program has

  // The chosen locale; SetLanguage picks a locale of the list (else leaves the choice).
  LCID Language() const;
  void SetLanguage(LCID language);
  // Names the offered languages in the interface's language.
  void NameLanguages();

private:
  void FormCreate(TObject* Sender);
  void FormDestroy(TObject* Sender);
  std::vector<LCID> locales_;
};

extern TUnicodeForm* UnicodeForm;

// The selection's text converted by the locale converter: `upgrade` reads the system code
// page's bytes of `text` in `codePage`; otherwise `codePage`'s bytes are read in the system
// code page. Characters the code page that is written lacks stay as they are. `step` hears the
// progress now and then; when it asks to stop, EAbort is raised.
std::u16string ConvertLocaleText(std::u16string_view text, bool upgrade, unsigned codePage,
                                 const std::function<bool(int64_t position, int64_t total)>& step = nullptr);
