#include "shell/unicode_form.h"

#include <algorithm>

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/std_controls.h"
#include "platform/locale_names.h"
#include "shell/preferences_key.h"
#include "textcore/win_registry.h"

TUnicodeForm* UnicodeForm = nullptr;

QM_CLASS_INFO(TUnicodeForm, TForm, [](TClassBuilder<TUnicodeForm>&) {})

namespace {

constexpr const char* kSection = "UnicodeConverter";
constexpr LCID kDefaultLanguage = 1049;
// The locales offered, each with an 8-bit code page the program converts.
constexpr LCID kOffered[] = {1049, 1058, 1059, 1026, 1071, 1087, 1033, 1031, 1036, 1040, 1034, 1029, 1045,
                             1038, 1050, 1048, 1032, 1055, 1037, 1025, 1061, 1062, 1063, 1066};

// Whether `c` survives a round trip through `codePage`.
bool Fits(char16_t c, unsigned codePage) {
  bool lossy = false;
  const std::string bytes = WideToAnsi(std::u16string_view(&c, 1), codePage, &lossy);
  return !lossy && AnsiToWide(bytes, codePage) == std::u16string(1, c);
}

}  // namespace

std::u16string ConvertLocaleText(std::u16string_view text, bool upgrade, unsigned codePage,
                                 const std::function<bool(int64_t position, int64_t total)>& step) {
  constexpr size_t kStepEvery = 64 * 1024;
  const unsigned system = SystemCodePage();
  const unsigned written = upgrade ? system : codePage, read = upgrade ? codePage : system;
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0, nextStep = 0;
  while (i < text.size()) {
    if (step && i >= nextStep) {
      if (step(int64_t(i), int64_t(text.size()))) throw EAbort("");
      nextStep = i + kStepEvery;
    }
    // Runs end at each step too (the code pages are single-byte: a run cut in two reads the same).
    const size_t limit = std::min(text.size(), i + kStepEvery);
    const bool fits = Fits(text[i], written);
    size_t j = i;
    while (j < limit && Fits(text[j], written) == fits) ++j;
    const std::u16string_view run = text.substr(i, j - i);
    out += fits ? AnsiToWide(WideToAnsi(run, written), read) : std::u16string(run);
    i = j;
  }
  return out;
}

TUnicodeForm::TUnicodeForm(TComponent* owner) : TForm(owner) {
  Handler("FormCreate", &TUnicodeForm::FormCreate);
  Handler("FormDestroy", &TUnicodeForm::FormDestroy);
  Field("RGMap", RGMap);
  Field("UnicodeLang", UnicodeLang);
  ReadForm();
}

TUnicodeForm::~TUnicodeForm() {
  if (UnicodeForm == this) UnicodeForm = nullptr;
}

void TUnicodeForm::FormCreate(TObject*) {
  UnicodeForm = this;
  for (const LCID lcid : kOffered)
    if (IsLocaleKnown(lcid) && LocaleAnsiCodePage(lcid) != 0) locales_.push_back(lcid);
  NameLanguages();
  TWinRegistry registry(kProductKey);
  RGMap->SetItemIndex(std::clamp(registry.ReadInteger(kSection, "RGMap_ItemIndex", 0), 0, 1));
  SetLanguage(kDefaultLanguage);
  SetLanguage(LCID(registry.ReadInteger(kSection, "UnicodeLang_Language", int(kDefaultLanguage))));
}

void TUnicodeForm::NameLanguages() {
  const int index = UnicodeLang->ItemIndex();
  UnicodeLang->Items()->BeginUpdate();
  UnicodeLang->Items()->Clear();
  for (const LCID lcid : locales_) UnicodeLang->Items()->Add(InterfaceLanguageName(lcid));
  UnicodeLang->Items()->EndUpdate();
  UnicodeLang->SetItemIndex(index);
}

void TUnicodeForm::FormDestroy(TObject*) {
  TWinRegistry registry(kProductKey);
  registry.WriteInteger(kSection, "RGMap_ItemIndex", RGMap->ItemIndex());
  registry.WriteInteger(kSection, "UnicodeLang_Language", int(Language()));
}

LCID TUnicodeForm::Language() const {
  const int index = UnicodeLang->ItemIndex();
  return index >= 0 && index < int(locales_.size()) ? locales_[size_t(index)] : kDefaultLanguage;
}

void TUnicodeForm::SetLanguage(LCID language) {
  const auto it = std::find(locales_.begin(), locales_.end(), language);
  if (it != locales_.end()) UnicodeLang->SetItemIndex(int(it - locales_.begin()));
}
