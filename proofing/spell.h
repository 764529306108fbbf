// TQSpell: the spelling component. It loads every language and dictionary of the dictionary
// folder, answers word tests and suggestion requests, and runs the document check over an
// editor, asking its windows (interactive mode) or filling the results window (automatic mode).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "proofing/editor_tokens.h"
#include "proofing/language.h"
#include "proofing/spell_findings.h"
#include "proofing/spell_interfaces.h"

// The check boxes of the options window that shape a document check.
struct TSpellOptions {
  bool AutoLanguage = true, Suspect = true, MissingSpaces = true, ExtraSpaces = true;
  bool Capitals = true, Repeats = true, Urls = true, FileNames = true, Tags = true;
  // The option set of a check: elements 0 and 2 always, the others from the check boxes.
  TCheckOptions CheckOptions() const;
};

// The code page of a language's 8-bit words (the system code page for an unknown LCID).
unsigned CodePageOf(LCID Lcid);

// The caption of a finding kind in the results tree; empty for kinds without one.
std::string WordClassCaption(TWordClass Kind);
// The colour (0x00BBGGRR) of a finding kind's branch.
unsigned WordClassColour(TWordClass Kind);

// The dictionary folder: the string "DicPath" of HKEY_LOCAL_MACHINE
// "Software\Vortanel\Shared\Proof", by default the folder "Dict" of the program folder; it ends
// with a path delimiter.
std::string DefaultDictionaryPath();

class TQSpell : public TObject {
public:
  explicit TQSpell(ISpellWindows* Windows = nullptr, ISpellResults* Results = nullptr);
  ~TQSpell() override;

  // Frees the languages held, then loads every "*.qlx" and "*.qdi" of `Path` (unpacking packed
  // dictionaries through `UnpackView`) and opens the dictionaries.
  void LoadLanguages(const std::string& Path, IUnpackView* UnpackView = nullptr);
  // Switches on the dictionaries "en_uk" of 1033 and "ru_yo" of 1049.
  void EnableStandardDictionaries();
  std::string DictionaryPath;
  TSpellErrorEvent OnError;
  TNotifyEvent OnStart, OnFinish;
  // Gives a caption for a finding kind; an empty answer keeps the built-in one.
  std::function<std::string(TObject* Sender, TWordClass Kind)> OnQueryName;

  int LanguageCount() const { return static_cast<int>(FLanguages.size()); }
  TQLanguage& Language(int Index) const { return *FLanguages[Index]; }
  TQLanguage* FindLanguage(LCID Lcid) const;

  // Valid in an active language with the LCID (0: any); words of 41 characters or more never are.
  bool IsValidWord(const std::string& Word, LCID Lcid);
  // Clears `List` and fills it from every active language (LCID or any) that can spell the word,
  // each language's corrections ranked likeliest first (TQLanguage::RankSuggestions).
  void Suggest(const std::string& Word, TSuggestionList& List, int Flags, LCID Lcid);
  // The LCID to check a word in: the first language that can spell it (the preferred one when
  // it can), else the first whose code page holds it, else 1049.
  LCID DetectLanguage(const std::u16string& Word, LCID Preferred) const;

  // The document check: asks the start window, then runs the pass (see CheckRange). The
  // automatic mode leaves its findings in the results window, following the editor's changes
  // until CloseResults: the editor must live until then.
  void CheckDocument(ISpellEditor& Editor, const TSpellOptions& Options);
  // Runs one check pass from the selection or caret with `CheckOptions` in the given mode;
  // false when the user cancelled it.
  bool CheckRange(ISpellEditor& Editor, const TCheckOptions& CheckOptions, TSpellMode Mode);

  // The results window of the last automatic check: shown again (repeat rule and marking),
  // whether it holds results, and closed (the editor is let go).
  void ShowResults();
  bool HasResults() const;
  void CloseResults();
  // Lets go of the editor without touching it (it is being destroyed); the results close.
  void ReleaseEditor();
  // The editor of the last check whose results are kept (null: none).
  ISpellEditor* Editor() const { return FEditor; }
  // Checks one finding of the results again, interactively: a word through the correction
  // popup, any other finding through the finding window; false when the user cancelled.
  bool RecheckFinding(const TSpellFinding& Finding);
  // Asks a running check to stop.
  void Shutdown() { FStopped = true; }
  bool Running() const { return !FStopped; }

  // The time of the last suggestion request in seconds, and the number of requests.
  double LastElapsed = 0;
  int SuggestionCount = 0;
  // The decision list of the current check: "word=replacement" or "word=" (ignore); the flag
  // says whether to replace every time.
  struct TDecision {
    std::string Word, Replacement;
    bool ReplaceAlways = false;
  };
  const std::vector<TDecision>& Decisions() const { return FDecisions; }

private:
  class TPass;
  friend class TPass;

  ISpellWindows* FWindows;
  ISpellResults* FResults;
  ISpellEditor* FEditor = nullptr;  // followed by the change tracker while results are kept
  bool FTracking = false;           // the change tracker is at work (no re-entry)
  void TrackChanges(ISpellEditor& Editor);
  std::vector<std::unique_ptr<TQLanguage>> FLanguages;
  std::vector<TDecision> FDecisions;
  bool FStopped = true;
  bool FWordsToAdd = false;  // the results window collected words for the user dictionaries
  int FAnswers[11] = {};  // "for all" answers of the findings by kind: 1 fix, -1 ignore
};
