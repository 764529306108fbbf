#include "proofing/spell.h"

#include <algorithm>
#include <chrono>

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "textcore/app_files.h"
#include "textcore/text_utils.h"
#include "textcore/win_registry.h"

unsigned CodePageOf(LCID Lcid) {
  const unsigned codePage = LocaleAnsiCodePage(Lcid);
  return codePage ? codePage : SystemCodePage();
}

namespace {

constexpr int kContextBefore = 40;
constexpr int kContextLength = 80;
constexpr unsigned char kRightQuote = 146;

bool EndsSentence(char Ch) { return Ch == '.' || Ch == '!' || Ch == '?'; }

std::string TrimRight(std::string Text) {
  while (!Text.empty() && (Text.back() == ' ' || Text.back() == '\t' || Text.back() == '\r' || Text.back() == '\n' ||
                           Text.back() == '\v'))
    Text.pop_back();
  return Text;
}

}  // namespace

TCheckOptions TSpellOptions::CheckOptions() const {
  TCheckOptions options;
  options.set(0).set(2);
  options.set(ceAutoLanguage, AutoLanguage).set(ceTags, Tags).set(ceUrls, Urls).set(ceFiles, FileNames);
  options.set(ceMissingSpace, MissingSpaces).set(ceExtraSpace, ExtraSpaces).set(ceRepeated, Repeats);
  options.set(ceSuspect, Suspect).set(ceCapitals, Capitals);
  return options;
}

std::string WordClassCaption(TWordClass Kind) {
  switch (Kind) {
    case wcUnrecognized: return "Unrecognized words";
    case wcUrl: return "URLs";
    case wcFileName: return "File names";
    case wcMissingSpace: return "Missing space";
    case wcExtraSpace: return "Extra space";
    case wcRepeated: return "Repeated words";
    case wcSuspected: return "Suspected words";
    case wcUncapitalized: return "Uncapitalized sentence";
  }
  return {};
}

unsigned WordClassColour(TWordClass Kind) {
  switch (Kind) {
    case wcUnrecognized: return 0x000080;
    case wcMissingSpace:
    case wcExtraSpace: return 0x808000;
    case wcRepeated: return 0x800080;
    case wcSuspected: return 0x008000;
    case wcUncapitalized: return 0x800000;
    default: return 0xC0C0C0;
  }
}

std::string DefaultDictionaryPath() {
  TWinRegistry registry(HKEY_LOCAL_MACHINE, "Software\\Vortanel\\Shared");
  return IncludeTrailingPathDelimiter(registry.ReadString("Proof", "DicPath", AppDirFile("Dict")));
}

TQSpell::TQSpell(ISpellWindows* Windows, ISpellResults* Results) : FWindows(Windows), FResults(Results) {}

TQSpell::~TQSpell() {
  for (auto& language : FLanguages) language->CloseDictionaries();
}

void TQSpell::LoadLanguages(const std::string& Path, IUnpackView* UnpackView) {
  DictionaryPath = IncludeTrailingPathDelimiter(Path);
  for (auto& language : FLanguages) language->CloseDictionaries();
  FLanguages.clear();
  for (const auto& entry : ListDirectory(DictionaryPath, "*.qlx"))
    if (!entry.Directory) FLanguages.push_back(std::make_unique<TQLanguage>(DictionaryPath + entry.Name, OnError));
  for (const auto& entry : ListDirectory(DictionaryPath, "*.qdi")) {
    if (entry.Directory) continue;
    auto dictionary = std::make_unique<TQDictionary>(DictionaryPath + entry.Name, UnpackView);
    if (!dictionary->Damage().empty() && OnError)
      OnError("Dictionary " + DictionaryPath + entry.Name + " is corrupt: " + dictionary->Damage() + ".");
    if (TQLanguage* language = FindLanguage(dictionary->Lcid())) language->AddDictionary(std::move(dictionary));
  }
  for (auto& language : FLanguages) language->OpenDictionaries();
}

void TQSpell::EnableStandardDictionaries() {
  const std::pair<LCID, const char*> standard[] = {{LANG_ENGLISH_US, "en_uk"}, {LANG_RUSSIAN, "ru_yo"}};
  for (auto [lcid, name] : standard)
    if (TQLanguage* language = FindLanguage(lcid))
      if (TQDictionary* dictionary = language->FindDictionary(name)) dictionary->Enabled = true;
}

TQLanguage* TQSpell::FindLanguage(LCID Lcid) const {
  for (const auto& language : FLanguages)
    if (language->Lcid() == Lcid) return language.get();
  return nullptr;
}

bool TQSpell::IsValidWord(const std::string& Word, LCID Lcid) {
  if (Word.size() > size_t(kMaxDictWordLength)) return false;
  for (const auto& language : FLanguages)
    if ((Lcid == 0 || language->Lcid() == Lcid) && language->Active && language->CheckWord(Word)) return true;
  return false;
}

void TQSpell::Suggest(const std::string& Word, TSuggestionList& List, int Flags, LCID Lcid) {
  const auto started = std::chrono::steady_clock::now();
  List.Clear();
  for (const auto& language : FLanguages)
    if ((Lcid == 0 || language->Lcid() == Lcid) && language->CanSpell(Word) && language->Active) {
      const int from = List.Count();
      language->Suggest(Word, List, Flags);
      language->RankSuggestions(Word, List, from);
    }
  LastElapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  ++SuggestionCount;
}

LCID TQSpell::DetectLanguage(const std::u16string& Word, LCID Preferred) const {
  LCID canSpell = 0, fits = 0;
  for (const auto& language : FLanguages) {
    if (!language->FitsCodePage(Word)) continue;
    if (fits == 0) fits = language->Lcid();
    if (language->CanSpell(WideToAnsi(Word, CodePageOf(language->Lcid())))) {
      if (language->Lcid() == Preferred) return Preferred;
      if (canSpell == 0) canSpell = language->Lcid();
    }
  }
  return canSpell ? canSpell : fits ? fits : LANG_RUSSIAN;
}

// One check pass over the editor.
class TQSpell::TPass {
public:
  TPass(TQSpell& Spell, ISpellEditor& Editor, const TCheckOptions& Options, TSpellMode Mode)
      : S(Spell), E(Editor), O(Options), Automatic(Mode == TSpellMode::Automatic) {}

  void Run();
  // Asks about one finding of the results as the pass would, and fixes it when told to.
  void AskFinding(const TSpellFinding& Finding);
  bool Cancelled() const { return Stop; }

private:
  struct TWord {
    std::string Text;  // in the code page of Lcid
    int Start = 0, Length = 0;
    LCID Lcid = 0;
  };

  void CheckSpelling(TWord Word);
  bool Valid(const TWord& Word) { return S.IsValidWord(Word.Text, Word.Lcid); }
  bool ValidWithDot(TWord& Word);
  void Decide(const TWord& Word, bool IsValid);
  void Finding(TWordClass Kind, const TWord& Word);
  void Fix(TWordClass Kind, const TWord& Word);
  void Replace(int Start, int Length, const std::u16string& Text);
  std::u16string Wide(const TWord& Word) const { return AnsiToWide(Word.Text, CodePageOf(Word.Lcid)); }
  void ShowingWindow() { E.SetRedraw(true); }
  void WindowClosed() { E.SetRedraw(false); }

  TQSpell& S;
  ISpellEditor& E;
  TCheckOptions O;
  bool Automatic;
  std::u16string Text;
  int RangeEnd = -1;  // -1: unlimited
  int Shift = 0;      // change of the text length while the current token is examined
  bool Stop = false;
  std::vector<std::string> Extra;
  std::string Previous, PreviousButOne;
};

void TQSpell::TPass::Replace(int Start, int Length, const std::u16string& Replacement) {
  E.SetSelection(Start, Start + Length);
  E.ReplaceSelection(Replacement);
  const int delta = static_cast<int>(Replacement.size()) - Length;
  Shift += delta;
  if (RangeEnd >= 0) RangeEnd += delta;
  // The editor took the same change; mirror it rather than copying the whole text out again.
  Text.replace(Start, Length, Replacement);
}

void TQSpell::TPass::Fix(TWordClass Kind, const TWord& Word) {
  const std::u16string wide = Wide(Word);
  const bool unchanged = Text.compare(Word.Start, Word.Length, wide) == 0;
  switch (Kind) {
    case wcMissingSpace:
      if (unchanged) {
        E.ResetBackground(Word.Start, Word.Start + Word.Length);
        Replace(Word.Start, Word.Length, wide + u" ");
      }
      break;
    case wcExtraSpace:
      Replace(Word.Start, Word.Length, u"");
      break;
    case wcRepeated:
      if (unchanged) Replace(Word.Start, Word.Length, u"");
      break;
    case wcUncapitalized: {
      E.ResetBackground(Word.Start, Word.Start + Word.Length);
      std::string raised = Word.Text;
      if (!raised.empty())
        raised[0] = static_cast<char>(AnsiUpperChar(static_cast<unsigned char>(raised[0]), CodePageOf(Word.Lcid)));
      Replace(Word.Start, Word.Length, AnsiToWide(raised, CodePageOf(Word.Lcid)));
      break;
    }
    default:
      break;
  }
}

void TQSpell::TPass::Finding(TWordClass Kind, const TWord& Word) {
  if (Automatic) {
    S.FResults->AddFinding(Word.Text, "", Word.Lcid, false, Kind, Word.Length, Word.Start);
    return;
  }
  int& forAll = S.FAnswers[Kind];
  if (forAll == 0) {
    E.SetSelection(Word.Start, Word.Start + Word.Length);
    ShowingWindow();
    const TFindingAnswer answer = S.FWindows->AskFinding(Kind, Word.Start, Word.Length);
    WindowClosed();
    switch (answer) {
      case TFindingAnswer::Cancel: Stop = true; return;
      case TFindingAnswer::Ignore: return;
      case TFindingAnswer::IgnoreAll: forAll = -1; return;
      case TFindingAnswer::FixAll: forAll = 1; break;
      case TFindingAnswer::Fix: break;
    }
  } else if (forAll < 0) {
    return;
  }
  Fix(Kind, Word);
}

void TQSpell::TPass::Decide(const TWord& Word, bool IsValid) {
  TWordQuestion question;
  if (IsValid) {
    if (TQLanguage* language = S.FindLanguage(Word.Lcid))
      language->SuggestMisprints(Word.Text, MisprintContextAt(Text, Word.Start, Word.Length, Word.Lcid),
                                 question.Suggestions);
    if (question.Suggestions.Count() == 0) return;
    if (Automatic) {
      S.FResults->AddFinding(Word.Text, question.Suggestions[0].Word, Word.Lcid, true, wcSuspected, Word.Length,
                             Word.Start);
      return;
    }
  } else if (Automatic) {
    S.FResults->AddFinding(Word.Text, "", Word.Lcid, true, wcUnrecognized, Word.Length, Word.Start);
    return;
  } else {
    S.Suggest(Word.Text, question.Suggestions, sfMisspelt, 0);
  }
  question.ProperCount = question.Suggestions.Count();
  for (const auto& extra : Extra)
    if (question.Suggestions.IndexOf(extra) < 0) question.Suggestions.Add(extra, 0, 0);
  question.Word = Word.Text;
  question.Lcid = Word.Lcid;
  question.Valid = IsValid;
  question.Start = Word.Start;
  question.Length = Word.Length;
  const int contextStart = std::max(0, Word.Start - kContextBefore);
  question.Context = Text.substr(contextStart, kContextLength);
  question.WordStart = Word.Start - contextStart;
  question.Replacement = question.Suggestions.Count() > 0 ? question.Suggestions[0].Word : std::string();
  E.SetSelection(Word.Start, Word.Start + Word.Length);
  ShowingWindow();
  const TPopupAnswer answer = S.FWindows->AskWord(question);
  WindowClosed();
  switch (answer) {
    case TPopupAnswer::Cancel:
      Stop = true;
      break;
    case TPopupAnswer::Add:
      S.FWindows->ShowAddWords(Word.Text, Word.Lcid, true);
      E.ResetBackground(Word.Start, Word.Start + Word.Length);
      break;
    case TPopupAnswer::Replace:
    case TPopupAnswer::ReplaceAll: {
      Replace(Word.Start, Word.Length, AnsiToWide(question.Replacement, CodePageOf(Word.Lcid)));
      const bool always = answer == TPopupAnswer::ReplaceAll;
      auto existing = std::find_if(S.FDecisions.begin(), S.FDecisions.end(), [&](const TDecision& d) {
        return d.Word == Word.Text && d.Replacement == question.Replacement;
      });
      if (existing == S.FDecisions.end()) S.FDecisions.push_back({Word.Text, question.Replacement, always});
      else if (always) existing->ReplaceAlways = true;
      break;
    }
    case TPopupAnswer::Ignore:
      E.ResetBackground(Word.Start, Word.Start + Word.Length);
      break;
    case TPopupAnswer::IgnoreAll: {
      const bool known = std::any_of(S.FDecisions.begin(), S.FDecisions.end(),
                                     [&](const TDecision& d) { return d.Word == Word.Text && d.Replacement.empty(); });
      if (!known) S.FDecisions.push_back({Word.Text, "", false});
      E.ResetBackground(Word.Start, Word.Start + Word.Length);
      break;
    }
  }
}

// The tokens end before a dot, but an abbreviation is written with the dot that follows it
// ("etc.", "e.g.", "U.S.A."): the word takes that dot when it is valid only with it.
bool TQSpell::TPass::ValidWithDot(TWord& Word) {
  const int after = Word.Start + Word.Length;
  if (after >= static_cast<int>(Text.size()) || Text[after] != u'.') return false;
  TWord dotted = Word;
  dotted.Text += '.';
  ++dotted.Length;
  if (!Valid(dotted)) return false;
  Word = dotted;
  return true;
}

void TQSpell::TPass::CheckSpelling(TWord Word) {
  if (IsNumberLike(Word.Text)) return;
  bool valid = Valid(Word) || ValidWithDot(Word);
  if (!valid && O[ceAutoLanguage]) {
    const std::u16string wide = Wide(Word);
    for (const auto& language : S.FLanguages) {
      if (!language->Active || !language->FitsCodePage(wide)) continue;
      const std::string text = WideToAnsi(wide, CodePageOf(language->Lcid()));
      if (language->CheckWord(text)) {
        Word.Text = text;
        Word.Lcid = language->Lcid();
        E.SetLanguage(Word.Start, Word.Start + Word.Length, Word.Lcid);
        valid = true;
        break;
      }
    }
  }
  Extra.clear();
  for (auto d = S.FDecisions.rbegin(); d != S.FDecisions.rend(); ++d) {
    if (d->Word != Word.Text) continue;
    if (d->Replacement.empty()) return;
    if (d->ReplaceAlways) {
      Replace(Word.Start, Word.Length, AnsiToWide(d->Replacement, CodePageOf(Word.Lcid)));
      return;
    }
    Extra.push_back(d->Replacement);
  }
  if (!valid) {
    // Trailing and leading quotes, dots and slashes are not part of the word.
    auto quoteOrSlash = [](char c) { return c == '\'' || c == '/' || static_cast<unsigned char>(c) == kRightQuote; };
    while (!valid && Word.Text.size() > 1 && (quoteOrSlash(Word.Text.back()) || Word.Text.back() == '.')) {
      Word.Text.pop_back();
      --Word.Length;
      valid = Valid(Word);
    }
    if (!valid && Word.Text.size() > 1 && quoteOrSlash(Word.Text[0])) {
      Word.Text.erase(0, 1);
      ++Word.Start;
      --Word.Length;
      valid = Valid(Word);
    }
    if (!valid) {
      if (const size_t slash = Word.Text.find('/'); slash != std::string::npos) {
        Word.Text.resize(slash);
        Word.Length = static_cast<int>(slash);
        valid = Valid(Word);
      } else if (const size_t dot = Word.Text.find('.'); dot != std::string::npos) {
        TWord part = Word;
        part.Text.resize(dot + 1);
        part.Length = static_cast<int>(dot + 1);
        if (O[ceMissingSpace]) Finding(wcMissingSpace, part);
        if (Stop) return;
        Word = part;
        valid = Valid(Word);
      }
    }
  }
  if (valid) {
    if (O[ceSuspect] && !Word.Text.empty() && Word.Text.back() != '.') {
      const TQLanguage* language = S.FindLanguage(Word.Lcid);
      if (!language || !language->IsCommonWord(Word.Text)) Decide(Word, true);
    }
  } else {
    Decide(Word, false);
  }
}

void TQSpell::TPass::Run() {
  Text = E.Text();
  int selStart = 0, selEnd = 0;
  E.GetSelection(selStart, selEnd);
  RangeEnd = selEnd > selStart ? selEnd : -1;
  int position = selStart;
  const int startLength = std::max<int>(1, static_cast<int>(Text.size()));
  if (Automatic) {
    S.FResults->Reset();
    E.SetHideSelection(true);
  }
  E.SetRedraw(false);
  while (!Stop && !S.FStopped) {
    const TEditorToken token = GetEditorWordAt(Text, position, O);
    if (token.End <= token.Start) break;
    if (RangeEnd >= 0 && token.WordEnd > RangeEnd + 2) break;
    S.FWindows->ProcessMessages();
    if (Automatic && S.FResults->Progress(static_cast<int>((int64_t(position) * 200 + startLength) / (2 * startLength))))
      break;
    Shift = 0;

    const std::u16string wide = Text.substr(token.Start, token.WordEnd - token.Start);
    const LCID textLanguage = E.LanguageAt(token.Start);
    LCID lcid = token.Kind != 2 ? S.DetectLanguage(wide, textLanguage) : textLanguage;
    if (lcid == 0) lcid = textLanguage;
    TWord word{WideToAnsi(wide, CodePageOf(lcid)), token.Start, token.WordEnd - token.Start, lcid};
    if (lcid != textLanguage && token.Kind != 2) E.SetLanguage(token.Start, token.WordEnd, lcid);

    if (token.InMarkup || token.Kind == 3 || token.Kind == 4 || token.Kind == 5) {
      position = token.End;
      continue;
    }
    if (token.Kind == 6 && O[ceMissingSpace]) {
      TWord withMark = word;
      withMark.Text = WideToAnsi(Text.substr(token.Start, token.End - token.Start), CodePageOf(lcid));
      withMark.Length = token.End - token.Start;
      Finding(wcMissingSpace, withMark);
    }
    if (token.Kind == 7 && O[ceExtraSpace]) {
      TWord space{WideToAnsi(Text.substr(token.WordEnd, token.End - token.WordEnd)), token.WordEnd,
                  token.End - token.WordEnd, lcid};
      Finding(wcExtraSpace, space);
    }
    // Words followed by punctuation are words too.
    if (!Stop && token.Kind != 2) CheckSpelling(word);

    const std::string current = TrimRight(WideToAnsi(Text.substr(token.Start, token.End + Shift - token.Start),
                                                     CodePageOf(lcid)));
    if (!Stop && O[ceRepeated] && token.Kind != 2 && Shift == 0 && !word.Text.empty() && word.Text == Previous) {
      TWord repeated{WideToAnsi(Text.substr(token.Start, token.End - token.Start), CodePageOf(lcid)), token.Start,
                     token.End - token.Start, lcid};
      Finding(wcRepeated, repeated);
    }
    if (!Stop && O[ceCapitals] && token.Kind != 2 && Shift == 0 && !Previous.empty() && !word.Text.empty() &&
        EndsSentence(Previous.back())) {
      // The word before the sentence mark: the previous token, or the one before a bare mark.
      std::string before = Previous;
      while (!before.empty() && (EndsSentence(before.back()) || before.back() == '"' || before.back() == ')'))
        before.pop_back();
      if (before.empty()) before = PreviousButOne;
      const std::string first = word.Text.substr(0, 1);
      if (AnsiUpperCase(first) != first && before.size() > 4 && S.IsValidWord(before, 0))
        Finding(wcUncapitalized, word);
    }
    // Runs of blanks after a word; line breaks are paragraph structure, not extra space.
    const std::u16string space = Text.substr(token.WordEnd + Shift, token.End - token.WordEnd);
    if (!Stop && O[ceExtraSpace] && token.Kind != 7 && space.size() >= 2 &&
        space.find_first_of(u"\r\n\v") == std::u16string::npos) {
      TWord extra{WideToAnsi(space.substr(1)), token.WordEnd + Shift + 1, static_cast<int>(space.size()) - 1, lcid};
      Finding(wcExtraSpace, extra);
    }
    PreviousButOne = Previous;
    Previous = current;
    position = token.End + Shift;
    if (O[ceSingleWord]) break;
  }
  if (Automatic) S.FWordsToAdd = S.FResults->ShowResults();
  E.SetHideSelection(false);
  E.SetRedraw(true);
}

void TQSpell::TPass::AskFinding(const TSpellFinding& F) {
  Text = E.Text();
  Finding(F.Kind, TWord{F.Word, F.Start, F.Length, F.Lcid});
}

bool TQSpell::CheckRange(ISpellEditor& Editor, const TCheckOptions& CheckOptions, TSpellMode Mode) {
  if (!FWindows || (Mode == TSpellMode::Automatic && !FResults))
    throw EInvalidOperation("TQSpell needs its windows to check a document");
  FStopped = false;
  TPass pass(*this, Editor, CheckOptions, Mode);
  try {
    pass.Run();
  } catch (...) {
    FStopped = true;
    throw;
  }
  FStopped = true;
  return !pass.Cancelled();
}

void TQSpell::TrackChanges(ISpellEditor& Editor) {
  if (FEditor != &Editor) {
    if (FEditor) FEditor->SetOnTextChange(nullptr);
    FEditor = &Editor;
  }
  FResults->SetEditor(&Editor);
  Editor.SetOnTextChange([this](int Pos, int Removed, int Added) {
    if (FTracking || !FResults) return;
    FTracking = true;
    FResults->TextChanged(Pos, Removed, Added);
    FTracking = false;
  });
}

void TQSpell::ShowResults() {
  if (FResults && FResults->ShowResults() && FWindows) FWindows->ShowAddWords("", 0, false);
}

bool TQSpell::HasResults() const { return FResults && FResults->HasResults(); }

void TQSpell::CloseResults() {
  if (FEditor) FEditor->SetOnTextChange(nullptr);
  ReleaseEditor();
}

void TQSpell::ReleaseEditor() {
  FEditor = nullptr;
  if (!FResults) return;
  FResults->SetEditor(nullptr);
  FResults->CloseResults();
}

bool TQSpell::RecheckFinding(const TSpellFinding& Finding) {
  if (!FEditor || !FWindows || Running()) return false;
  const int end = static_cast<int>(FEditor->Text().size());
  if (Finding.Start < 0 || Finding.Start + Finding.Length > end) return true;
  if (Finding.Kind == wcUnrecognized || Finding.Kind == wcSuspected) {
    TCheckOptions options;
    options.set(0).set(2).set(ceSingleWord).set(ceSuspect, Finding.Kind == wcSuspected);
    FEditor->SetSelection(Finding.Start, Finding.Start);
    return CheckRange(*FEditor, options, TSpellMode::Interactive);
  }
  std::fill(std::begin(FAnswers), std::end(FAnswers), 0);
  TPass pass(*this, *FEditor, TCheckOptions(), TSpellMode::Interactive);
  FStopped = false;
  try {
    pass.AskFinding(Finding);
  } catch (...) {
    FStopped = true;
    throw;
  }
  FStopped = true;
  return !pass.Cancelled();
}

void TQSpell::CheckDocument(ISpellEditor& Editor, const TSpellOptions& Options) {
  if (Running()) Shutdown();
  if (OnStart) OnStart(this);
  int start = 0, end = 0;
  Editor.GetSelection(start, end);
  TSpellMode mode = TSpellMode::Interactive;
  TSpellScope scope = TSpellScope::FromCursor;
  if (!FWindows) throw EInvalidOperation("TQSpell needs its windows to check a document");
  if (!FWindows->AskStart(end > start, mode, scope)) return;
  if (scope == TSpellScope::WholeText) Editor.SetSelection(0, 0);
  if (mode == TSpellMode::Automatic && FResults) {
    FResults->Clear();
    const std::pair<TWordClass, bool> branches[] = {
        {wcUnrecognized, true},        {wcMissingSpace, Options.MissingSpaces}, {wcExtraSpace, Options.ExtraSpaces},
        {wcUncapitalized, Options.Capitals}, {wcRepeated, Options.Repeats},    {wcSuspected, Options.Suspect}};
    for (auto [kind, wanted] : branches) {
      if (!wanted) continue;
      std::string caption = OnQueryName ? OnQueryName(this, kind) : std::string();
      if (caption.empty()) caption = WordClassCaption(kind);
      FResults->AddBranch(kind, caption, WordClassColour(kind));
    }
  }
  FDecisions.clear();
  std::fill(std::begin(FAnswers), std::end(FAnswers), 0);
  FWordsToAdd = false;
  if (mode == TSpellMode::Automatic && FResults) TrackChanges(Editor);
  CheckRange(Editor, Options.CheckOptions(), mode);
  if (mode == TSpellMode::Automatic && FWordsToAdd)
    FWindows->ShowAddWords("", 0, true);
  else if (OnFinish)
    OnFinish(this);
}
