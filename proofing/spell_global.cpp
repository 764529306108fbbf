#include "proofing/spell_global.h"

#include <memory>

#include "platform/exceptions.h"
#include "platform/gui/dialogs.h"
#include "proofing/language.h"
#include "proofing/spell.h"
#include "proofing/validator.h"

namespace {

std::unique_ptr<TQSpell>& GlobalSpell() {
  static std::unique_ptr<TQSpell> spell;
  return spell;
}

}  // namespace

void InitializeSpelling(ISpellWindows* Windows, ISpellResults* Results, IUnpackView* UnpackView) {
  std::unique_ptr<TQSpell>& global = GlobalSpell();
  if (global) return;
  auto spell = std::make_unique<TQSpell>(Windows, Results);
  spell->OnError = [](const std::string& Message) { MessageDlg(Message, mtError, mbOK); };
  for (const TQValidator* validator : {&EnglishValidator(), &RussianValidator()})
    if (!validator->Damage().empty()) spell->OnError(validator->Damage());
  spell->LoadLanguages(DefaultDictionaryPath(), UnpackView);
  spell->EnableStandardDictionaries();
  global = std::move(spell);
}

void FinalizeSpelling() { GlobalSpell().reset(); }

TQSpell& SpellChecker() {
  if (!GlobalSpell()) throw EInvalidOperation("The spelling component is not initialized");
  return *GlobalSpell();
}

bool SpellingInitialized() { return GlobalSpell() != nullptr; }

bool HasDictionariesFor(unsigned Lcid) {
  const TQLanguage* language = GlobalSpell() ? GlobalSpell()->FindLanguage(Lcid) : nullptr;
  return language && language->DictionaryCount() > 0;
}
