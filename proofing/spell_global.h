// The program's one spelling component and the two module-wide validators: made once at
// start-up, before the program's windows, and freed when the program ends.
#pragma once

class TQSpell;
class ISpellWindows;
class ISpellResults;
class IUnpackView;

// Loads the validators ("english.qgo", "russian.qgo" in the program folder), creates the
// spelling component over `Windows` and `Results`, loads every language and dictionary of the
// dictionary folder (DefaultDictionaryPath; packed dictionaries unpack through `UnpackView`)
// and switches on "en_uk" and "ru_yo". Errors of the spelling files are shown in a message
// box. A second call does nothing.
void InitializeSpelling(ISpellWindows* Windows = nullptr, ISpellResults* Results = nullptr,
                        IUnpackView* UnpackView = nullptr);
// Frees the spelling component; a later InitializeSpelling makes a new one.
void FinalizeSpelling();
// The spelling component; raises EInvalidOperation before InitializeSpelling.
TQSpell& SpellChecker();
// True once InitializeSpelling has made the spelling component.
bool SpellingInitialized();
// True when the spelling component holds a language of `Lcid` with at least one dictionary.
bool HasDictionariesFor(unsigned Lcid);
