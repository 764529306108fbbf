#include "proofing/correction_engine.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fstream>

#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/ini_document.h"
#include "proofing/analyser.h"
#include "proofing/change_log.h"
#include "proofing/dictionary.h"
#include "proofing/grammar_cipher.h"
#include "proofing/language.h"
#include "proofing/spell.h"
#include "proofing/spell_global.h"
#include "proofing/word_routines.h"
#include "textcore/app_files.h"
#include "textcore/cp1251_literal.h"
#include "textcore/cyr_case.h"
#include "textcore/decipher.h"
#include "textcore/interface_hooks.h"
#include "textcore/string_routines.h"
#include "textcore/text_utils.h"

namespace {

constexpr Cp1251Literal kRussianSingleLetters(u8"АВИКОСУЯабвжикосуя");

bool FindSorted(const std::vector<std::string>& List, const std::string& Word) {
  if (std::binary_search(List.begin(), List.end(), Word)) return true;
  const std::string lower = CyrLowerCase(Word);
  return lower != Word && std::binary_search(List.begin(), List.end(), lower);
}

// A neuter noun in "-ие" as verse and older prose write it, with "ь" for the "и" ("значенье",
// "мирозданьем", "поколеньям"): the noun's stem, in small letters, and the ending after the sign;
// nothing when the word has no such ending.
std::pair<std::string, std::string> SoftSpelledNounInIe(const std::string& Word) {
  static constexpr Cp1251Literal kSign(u8"ь");
  static constexpr Cp1251Literal kEndings(u8" е я ю ем ям ями ях ");
  const std::string lower = CyrLowerCase(Word);
  const size_t sign = lower.rfind(kSign.view());
  if (sign == std::string::npos || sign < 2 || sign + 1 == lower.size()) return {};
  const std::string ending = lower.substr(sign + 1);
  if (kEndings.view().find(" " + ending + " ") == std::string_view::npos) return {};
  return {lower.substr(0, sign), ending};
}

std::string NowText() {
  const std::time_t now = std::time(nullptr);
  char text[32];
  std::strftime(text, sizeof text, "%d.%m.%Y %H:%M:%S", std::localtime(&now));
  return text;
}

// Switches a speller dictionary on for one pass and back to its state when the pass ends,
// however it ends.
class TDictionarySwitch {
public:
  TDictionarySwitch(TQSpell* Spell, const char* Name) {
    if (Spell == nullptr) return;
    if (TQLanguage* russian = Spell->FindLanguage(1049)) FDictionary = russian->FindDictionary(Name);
    if (FDictionary == nullptr) return;
    FWasOn = FDictionary->Enabled;
    FDictionary->Enabled = true;
  }
  ~TDictionarySwitch() {
    if (FDictionary != nullptr) FDictionary->Enabled = FWasOn;
  }
  TDictionarySwitch(const TDictionarySwitch&) = delete;
  TDictionarySwitch& operator=(const TDictionarySwitch&) = delete;

private:
  TQDictionary* FDictionary = nullptr;
  bool FWasOn = false;
};

}  // namespace

TQGrammar::TQGrammar(IAskView* View) : FDialog(View), FAnalyser(std::make_unique<TQAnalyser>(*this)) {
  FScanner.Owner = this;
  FScanner.OnWords = &TQGrammar::ProcessWordsCallback;
  FScanner.BatchSize = 12;
  FScanner.SeparatorChars = EngineWordDelimiters();
}

TQGrammar::~TQGrammar() = default;

TQSpell* TQGrammar::Speller() const {
  if (Spell != nullptr) return Spell;
  return SpellingInitialized() ? &SpellChecker() : nullptr;
}

void TQGrammar::LoadGrammar() {
  const std::string grammar = AppDirFile(ExtractFileName(GrammarFile));
  const std::string rules = ChangeFileExt(grammar, ".qge");
  // Whatever happens below, the previous grammar is gone: no half-loaded scheme stays.
  FSchema = nullptr;
  FContent = TGrammarContent();
  FDialog.Colours = DefaultEventColours();
  if (!FileExists(rules))
    throw EInvalidOperation(Message("GrammarMissing",
                                    "The rule file \"%s\" of the grammar \"%s\" is missing. Please reinstall the application.",
                                    {ExtractFileName(rules), ExtractFileName(grammar)}));
  std::ifstream in(rules, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  bool general = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(DecipherString(line, UserCode, kGrammarMultiplier, kDecipherAddend));
    if (lines.back().find("[Ge") != std::string::npos) general = true;
  }
  if (!general) {
    UserCode = 0;
    throw EInvalidOperation(Message("GrammarUnreadable",
                                    "The rule file \"%s\" cannot be read: it is damaged or made for another key.",
                                    {ExtractFileName(rules)}));
  }
  IniDocument ini;
  ini.ParseLines(lines);
  TGrammarContent content;
  TEventColours colours = DefaultEventColours();
  ReadGrammar(ini, content, colours, (ExecMode & emPreprocessOnly) == 0, ValidatorFileName, OnLoadProgress);
  for (auto& schema : content.Schemes) schema->IsAutomatic = [this] { return IsAutomatic(); };
  FContent = std::move(content);
  FDialog.Colours = colours;
  if (OnMessage)
    for (const std::string& name : FContent.MissingValidators)
      OnMessage(Message("GrammarValidator", "Validator [%s] not found. Please reinstall the application.", {name}));
  UpdateAskForm();
}

void TQGrammar::UpdateAskForm() {
  FDialog.Caption = Translated(FContent.Info);
  FDialog.Schemes.clear();
  for (const auto& schema : FContent.Schemes) FDialog.Schemes.push_back(Translated(schema->Id));
  FDialog.SchemeIndex = FContent.Schemes.empty() ? -1 : 0;
  FDialog.Options.clear();
  FDialog.ClearEventRows();
  if (FContent.Schemes.empty()) return;
  const TQSchema& first = *FContent.Schemes.front();
  for (const auto* kind : {&first.Formatting, &first.Statistical, &first.Postprocess})
    for (TGrammar* list : *kind)
      if (!list->PreprocessCaption.empty())
        FDialog.Options.push_back(TAskOptionItem{Translated(list->PreprocessCaption), list->PreprocessCheck, -1, list});
  for (int option = 0; option < kGrammarOptionCount; ++option)
    if (first.UserOptionSet.test(option))
      FDialog.Options.push_back(
          TAskOptionItem{Message(std::string(GrammarOptionNames[option]), std::string(GrammarOptionNames[option]), {}),
                         first.UserValues[option], option, nullptr});
  for (int kind = 0; kind < 7; ++kind)
    if (!FContent.EventCaptions[kind].empty()) FDialog.AddEventRow(kind, Translated(FContent.EventCaptions[kind]));
  FDialog.ModePanel = !first.Analytical.empty();
  FDialog.HelpContext = first.HelpContext;
}

void TQGrammar::RefreshSettings() {
  if (!HasGrammar()) return;
  const int scheme = FDialog.SchemeIndex;
  UpdateAskForm();
  if (scheme >= 0 && scheme < static_cast<int>(FContent.Schemes.size())) FDialog.SchemeIndex = scheme;
}

void TQGrammar::ApplyDialogOptions() {
  const int index = FDialog.SchemeIndex;
  if (index < 0 || index >= static_cast<int>(FContent.Schemes.size())) return;
  FSchema = FContent.Schemes[index].get();
  FDialog.HelpContext = FSchema->HelpContext;
  for (const TAskOptionItem& item : FDialog.Options) {
    if (item.Option >= 0 && item.Option < kGrammarOptionCount) FSchema->UserValues[item.Option] = item.Checked;
    else if (item.List != nullptr) item.List->PreprocessCheck = item.Checked;
  }
}

void TQGrammar::SelectScheme(int Index) {
  if (!HasGrammar()) LoadGrammar();
  FDialog.SchemeIndex = Index;
  ApplyDialogOptions();
}

bool TQGrammar::Prepare() {
  if (FBusy) return false;
  if (!HasGrammar()) LoadGrammar();
  if ((ExecMode & emNoDialog) == 0 && !FDialog.ShowOptions()) return false;
  ApplyDialogOptions();
  return FSchema != nullptr;
}

bool TQGrammar::IsAutomatic() const { return FDialog.Automatic && (ExecMode & emPrompt) == 0; }

void TQGrammar::ExecuteMode(TExecModes Mode) {
  const TExecModes saved = ExecMode;
  ExecMode = Mode;
  try {
    Execute();
  } catch (...) {
    ExecMode = saved;
    throw;
  }
  ExecMode = saved;
}

std::string GrammarCaptionKey(const std::string& Caption) {
  std::string key = "Grammar";
  bool wordStart = true;
  for (const char c : Caption) {
    const bool alnum = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (alnum) key += wordStart && c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
    wordStart = !alnum;
  }
  return key;
}

std::string TQGrammar::Translated(const std::string& Caption) const {
  const std::string text = MultiLanguage && !Caption.empty() ? MultiLanguage(GrammarCaptionKey(Caption)) : std::string();
  return text.empty() ? Caption : text;
}

std::string TQGrammar::Message(const std::string& Key, const std::string& Default,
                               const std::vector<std::string>& Args) const {
  const std::string text = MultiLanguage ? MultiLanguage(Key) : std::string();
  const std::string& format = text.empty() ? Default : text;
  std::string result;
  size_t next = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() && (format[i + 1] == 's' || format[i + 1] == 'd') && next < Args.size()) {
      result += Args[next++];
      ++i;
    } else {
      result += format[i];
    }
  }
  return result;
}

void TQGrammar::ExecuteOn(ICorrectionEditor& AEditor, TExecModes Mode) {
  ICorrectionEditor* saved = Editor;
  Editor = &AEditor;
  try {
    if (Prepare()) ExecuteMode(Mode);
  } catch (...) {
    Editor = saved;
    throw;
  }
  Editor = saved;
}

void TQGrammar::ConvertCurrentWord(bool Prompt) {
  if (Editor == nullptr || FBusy) return;
  int selStart = 0, selEnd = 0;
  Editor->GetSelection(selStart, selEnd);
  int start = selStart, end = selEnd;
  if (start == end) {
    const int from = std::max(0, selStart - 50);
    const std::string window = Editor->TextRange(from, std::min(Editor->TextLength(), selStart + 50));
    int wordStart = 0;
    std::string word, rest;
    if (!ExtractWordAt(window, selStart - 1 - from, wordStart, word, rest)) return;
    start = from + wordStart;
    end = start + static_cast<int>(word.size());
  }
  const int length = Editor->TextLength();
  Editor->SetSelection(start, end);
  if (Prompt) ExecuteMode(ExecMode | emPrompt);
  else Execute();
  // The pass may have made the word longer or shorter.
  const int newEnd = end + Editor->TextLength() - length;
  const std::string result = Editor->TextRange(start, newEnd);
  if (!result.empty())
    Editor->SetLanguage(start, newEnd, static_cast<unsigned char>(result[0]) >= 128 ? 1049 : 1033);
  if (selStart == selEnd) Editor->SetSelection(selStart + newEnd - end, selStart + newEnd - end);
  else Editor->SetSelection(start, newEnd);
}

bool TQGrammar::StopCheck() {
  if (FStopped) return true;
  ++FStatusCount;
  if (OnStatus && OnStatus(FStatusCount)) FStopped = true;
  return FStopped;
}

void TQGrammar::RunListStep(const std::vector<TGrammar*>& Lists, bool Statistical, int Start, int End) {
  std::vector<std::string> lines;
  for (TGrammar* list : Lists)
    if (!list->PreprocessCheck) lines.insert(lines.end(), list->Lines().begin(), list->Lines().end());
  if (lines.empty() || !ListReplacer) return;
  FChangeCount += ListReplacer(lines, Option(goPrepCaseSensitive), Option(goPrepWholeWordsOnly),
                               FContent.HighlightPrepChanges > 0, Statistical, Start, End);
}

void TQGrammar::Execute() {
  if (FBusy || Editor == nullptr) return;
  if (TrimText(Editor->TextRange(0, Editor->TextLength())).empty()) return;
  if (!HasGrammar()) LoadGrammar();
  if (FSchema == nullptr) ApplyDialogOptions();
  if (FSchema == nullptr)
    throw EInvalidOperation(Message("GrammarNoScheme", "The grammar \"%s\" has no scheme to run.", {GrammarFile}));
  FBusy = true;
  struct TBusyGuard {
    TQGrammar& Engine;
    ~TBusyGuard() {
      Engine.FMarks.Reset(0);
      Engine.FBusy = false;
    }
  } busyGuard{*this};

  // Reset.
  FChangeCount = 0;
  Editor->SetHideSelection(true);
  FLogEntries.clear();
  FDialog.NewWords.clear();
  FDialog.ErrorWords.clear();
  FStopped = false;
  FStatusCount = 0;
  FPreviousReplacement.clear();
  FEnglishContext = false;
  FLatinContext = 0;
  FSoftSignsWritten = false;
  FYoWritten = false;
  FSoftSignsLeftOut = 0;
  FSeenReadings.clear();
  FInitialRead = FNoEnglish = false;
  FSentenceStart = true;
  FLastSeparator.clear();
  FWordBefore.clear();
  FClause.clear();
  FLatinHistory.clear();
  FSentence = FPassEvidence = 0;
  FCacheWord.clear();
  ForgetWordTests();
  int selStart = 0, selEnd = 0;
  Editor->GetSelection(selStart, selEnd);
  const bool selected = selEnd > selStart;
  FMarks.Reset(Editor->TextLength());

  TDictionarySwitch rare(Option(goTransformSpecialSyntax) || Option(goPreserveSpecialSyntax) ? Speller() : nullptr,
                         "ru_rare");
  auto finish = [&] {
    std::sort(FLogEntries.begin(), FLogEntries.end());
    if (OnEndProcess) OnEndProcess();
    if (selected) Editor->SetSelection(FAnalyser->RangeStart, FAnalyser->RangeStart + FAnalyser->RangeLength);
    else Editor->SetSelection(0, 0);
    Editor->SetHideSelection(false);
  };

  TQAnalyser& analyser = *FAnalyser;
  analyser.SkipSubstring = FSchema->SkipSubstring;
  analyser.AssumeNoTranslit = Option(goAssumeNoTranslit);
  analyser.Scan(0);
  // The marking scans: HTML, mathematical text and new words.
  auto markText = [&] {
    if (Option(goDetectHTML)) analyser.Scan(2);
    if (Option(goDetectMath)) analyser.Scan(1);
    if (Option(goDetectNewWords)) {
      analyser.Candidates.clear();
      analyser.Shortened.clear();
      analyser.Scan(3);
      analyser.DropCandidates(Option(goSuspectNewWords), Option(goPreserveSpecialSyntax));
    }
  };
  if (!StopCheck()) markText();
  if (OnNextStep && OnNextStep(1, 0, analyser.Valid, analyser.Counted)) return finish();
  if (!StopCheck() && Option(goDetectNewWords) && analyser.HasCandidates()) analyser.Scan(4);

  const int rangeStart = analyser.RangeStart;
  if (!StopCheck()) {
    const int changes = FChangeCount, length = Editor->TextLength();
    if (Option(goPerformFormatting))
      RunListStep(FSchema->Formatting, false, rangeStart, rangeStart + analyser.RangeLength);
    if (Option(goPerformStatistical))
      RunListStep(FSchema->Statistical, true, rangeStart, rangeStart + analyser.RangeLength);
    // The lists moved text under the marks: mark the changed text afresh.
    if (FChangeCount != changes) {
      analyser.RangeLength += Editor->TextLength() - length;
      FMarks.Reset(Editor->TextLength());
      analyser.Counted = analyser.Valid = analyser.Fixed2 = 0;
      markText();
      if (Option(goDetectNewWords) && analyser.HasCandidates()) analyser.Scan(4);
    }
  }
  if (OnEndPreprocess) OnEndPreprocess();
  if (!StopCheck() && !Option(goNoPostValidate)) analyser.Scan(5);
  if (OnNextStep && OnNextStep(2, analyser.Fixed2, analyser.Valid + analyser.Fixed2, analyser.Counted)) return finish();

  auto addAnalyserEntries = [&] {
    FLogEntries.insert(FLogEntries.end(), analyser.Unrecognised.begin(), analyser.Unrecognised.end());
    FLogEntries.insert(FLogEntries.end(), analyser.NewWordEntries.begin(), analyser.NewWordEntries.end());
    std::sort(FLogEntries.begin(), FLogEntries.end());
    if (ExecMode & emLogChanges) WriteLog();
  };
  if (FStopped || FSchema->Analytical.empty() || !Option(goPerformAnalytical)) {
    addAnalyserEntries();
    return finish();
  }

  // The word pass.
  FRangeStart = rangeStart;
  FOffset = 0;
  const std::string text = Editor->TextRange(rangeStart, rangeStart + analyser.RangeLength);
  FScanner.Scan(text);
  analyser.RangeLength += FOffset;
  if (!FStopped && !Option(goNoPostValidate)) analyser.Scan(6);
  if (ExecMode & emLogChanges) WriteLog();
  if (OnNextStep) OnNextStep(3, analyser.Fixed3, analyser.Valid + analyser.Fixed2 + analyser.Fixed3, analyser.Counted);
  finish();
}

bool TQGrammar::Remembered(std::unordered_map<std::string, bool>& Answers, const std::string& Word,
                           bool (TQGrammar::*Test)(const std::string&) const) const {
  // A pass asks about the same words again and again (each variant of each word, the look-ahead
  // of every word). The answers hold while the dictionaries do: only during a pass, forgotten
  // after the dialog (it may add a word) and when they grow too many.
  if (!FBusy) return (this->*Test)(Word);
  if (const auto known = Answers.find(Word); known != Answers.end()) return known->second;
  if (Answers.size() >= kMostRememberedWords) Answers.clear();
  const bool answer = (this->*Test)(Word);
  Answers.emplace(Word, answer);
  return answer;
}

void TQGrammar::ForgetWordTests() {
  FEnglishAnswers.clear();
  FRussianAnswers.clear();
  FRussianReadings.clear();
  FSeenNames.clear();
}

bool TQGrammar::IsEnglishWord(const std::string& Word) const {
  return Remembered(FEnglishAnswers, Word, &TQGrammar::TestEnglishWord);
}

bool TQGrammar::IsRussianWord(const std::string& Word) const {
  return Remembered(FRussianAnswers, Word, &TQGrammar::TestRussianWord);
}

bool TQGrammar::IsNounInIe(const std::string& Word) const {
  static constexpr Cp1251Literal kIi(u8"ии"), kIj(u8"ий"), kIe(u8"ие"), kIa(u8"ия");
  if (Word.size() < 4) return false;
  std::string stem = CyrLowerCase(Word);
  const std::string_view end = std::string_view(stem).substr(stem.size() - 2);
  if (end != kIi.view() && end != kIj.view()) return false;
  stem.resize(stem.size() - 2);
  return IsRussianWord(stem + std::string(kIe.view())) && IsRussianWord(stem + std::string(kIa.view()));
}

bool TQGrammar::TestEnglishWord(const std::string& Word) const {
  if (Word.empty()) return false;
  TQSpell* spell = Speller();
  return (spell != nullptr && spell->IsValidWord(Word, 1033)) || FindSorted(FAuxWords, Word);
}

bool TQGrammar::TestRussianWord(const std::string& Word) const {
  if (Word.empty()) return false;
  size_t i = 0;
  while (i < Word.size() && (std::isdigit(static_cast<unsigned char>(Word[i])) || Word[i] == '+' || Word[i] == '-')) ++i;
  bool letters = false;
  for (size_t j = i; j < Word.size(); ++j) {
    const auto ch = static_cast<unsigned char>(Word[j]);
    if (IsCyrillicLetter(ch)) letters = true;
    else if (ch != ' ' && ch != '-' && ch != '.' && ch != 0x85) return false;
  }
  if (!letters) return false;
  if (Word.size() == 1) return std::string_view(kRussianSingleLetters).find(Word[0]) != std::string_view::npos;
  TQSpell* spell = Speller();
  if (spell != nullptr && spell->IsValidWord(Word, 1049)) return true;
  if (FindSorted(FAuxWords, Word)) return true;
  // "значенье" is a word when "значение" and "значения" are.
  if (const auto [stem, ending] = SoftSpelledNounInIe(Word); !stem.empty()) {
    static constexpr Cp1251Literal kI(u8"и");
    static constexpr Cp1251Literal kIe(u8"ие");
    static constexpr Cp1251Literal kIa(u8"ия");
    const std::string i(kI.view()), ie(kIe.view()), ia(kIa.view());
    if (IsRussianWord(stem + ie) && IsRussianWord(stem + ia) && IsRussianWord(stem + i + ending))
      return true;
  }
  std::string plain = Word;  // "ё" read as "е"
  std::replace(plain.begin(), plain.end(), '\xB8', '\xE5');
  std::replace(plain.begin(), plain.end(), '\xA8', '\xC5');
  return plain != Word && ((spell != nullptr && spell->IsValidWord(plain, 1049)) || FindSorted(FAuxWords, plain));
}

bool TQGrammar::IsValidForScheme(const TQSchema& Schema, const std::string& Word) const {
  if (Schema.Validator == nullptr) return false;
  switch (Schema.Validator->Language) {
    case 1033: return IsEnglishWord(Word);
    case 1049: return IsRussianWord(Word);
    default: {
      TQSpell* spell = Speller();
      return (spell != nullptr && spell->IsValidWord(Word, Schema.Validator->Language)) || FindSorted(FAuxWords, Word);
    }
  }
}

void TQGrammar::SetAuxDictionary(const std::string& Name) {
  FAuxWords.clear();
  if (Name.empty()) return;
  const std::string file = FileExists(Name) ? Name : AppDirFile(Name);
  std::ifstream in(file, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    const std::string word(TrimText(line));
    if (!word.empty()) FAuxWords.push_back(word);
  }
  std::sort(FAuxWords.begin(), FAuxWords.end());
}

std::string TQGrammar::LogPath() const {
  const std::string name = ExtractFileName(LogFile.empty() ? GrammarFile : LogFile);
  return UserStateFolder() + "Logs/" + ChangeFileExt(name, ".log");
}

void TQGrammar::AddLogEntry(const std::string& Original, const std::string& Replacement, int Kind) {
  if (ExecMode & emDebug) return;
  const bool changed = Replacement != Original && !Replacement.empty() && !Option(goHighlightOnly);
  const std::string entry =
      MakeLogEntry(Kind, FWordStart, changed || Kind == wkShortened || Kind == wkNewWord, Original, Replacement);
  // Sorted when the pass ends (or the log is written): inserting in order would cost the
  // entries of every later kind at each change.
  FLogEntries.push_back(entry);
}

void TQGrammar::WriteLog() {
  std::sort(FLogEntries.begin(), FLogEntries.end());
  const std::string path = LogPath();
  ForceDirectories(ExtractFilePath(path));
  AppendLog(path, FLogEntries, NowText());
}

void TQGrammar::ClearLog() {
  if ((ExecMode & emLogChanges) && FileExists(LogPath())) std::remove(LogPath().c_str());
}

std::string TQGrammar::FindLogEntry(const std::string& Text) const {
  return (ExecMode & emLogChanges) ? FindInLog(LogPath(), Text) : std::string();
}

bool TQGrammar::HandleTypedKey(int Mode, std::vector<std::string>* Suggestions) {
  if (FBusy || Editor == nullptr) return false;
  FBusy = true;
  ForgetWordTests();
  struct TGuard {
    bool& Busy;
    ~TGuard() { Busy = false; }
  } guard{FBusy};
  int selStart = 0, selEnd = 0;
  Editor->GetSelection(selStart, selEnd);
  int start = selStart, length = selEnd - selStart;
  std::string word;
  if (length == 0) {
    const int from = std::max(0, selStart - 50);
    const std::string window = Editor->TextRange(from, std::min(Editor->TextLength(), selStart + 50));
    int wordStart = 0;
    std::string rest;
    if (!ExtractWordAt(window, selStart - 1 - from, wordStart, word, rest)) return false;
    if (!rest.empty() && rest[0] == '>') return false;
    start = from + wordStart;
    length = static_cast<int>(word.size());
  } else if (Mode == 2) {
    word = Editor->TextRange(selStart, selEnd);
  } else {
    return false;
  }
  if (TrimText(word).empty()) return false;
  const std::string converted = RetypeLayout(word);
  if (converted == word) return false;
  auto known = [this](const std::string& w) {
    const std::string t(TrimText(w));
    if (t.empty()) return false;
    const bool latin = static_cast<unsigned char>(t[0]) < 128;
    if ((latin ? IsEnglishWord(t) : IsRussianWord(t)) || IsNumberLike(w)) return true;
    if (t.size() <= 2) return false;
    std::string rest = t;
    while (!rest.empty() && std::strchr("\"',.:;<>[]{}\x92", rest.back()) != nullptr) rest.pop_back();
    return !rest.empty() && (latin ? IsEnglishWord(rest) : IsRussianWord(rest));
  };
  bool convert = Mode == 2;
  if (Mode == 1) {
    const bool typedRussian = static_cast<unsigned char>(TrimText(word)[0]) >= 128;
    const std::string& russian = typedRussian ? word : converted;
    const std::string& english = typedRussian ? converted : word;
    const bool byScore = typedRussian ? EnglishScore(english) < RussianScore(russian)
                                      : RussianScore(russian) < EnglishScore(english);
    if (known(word)) {
      TQSpell* spell = Speller();
      TQLanguage* language = spell ? spell->FindLanguage(typedRussian ? 1033 : 1049) : nullptr;
      convert = known(converted) && language != nullptr && language->IsCommonWord(converted);
    } else {
      convert = known(converted) || (CyrUpperCase(word) != word && byScore);
    }
  }
  const std::string result = convert ? converted : word;
  const LCID lcid = static_cast<unsigned char>(result[0]) < 128 ? 1033 : 1049;
  if (Suggestions != nullptr && !known(result) && !IsUrlLike(result)) {
    Suggestions->clear();
    if (TQSpell* spell = Speller()) {
      TSuggestionList list;
      spell->Suggest(result, list, 0xBF, lcid);
      for (int i = 0; i < list.Count(); ++i) Suggestions->push_back(list[i].Word);
    }
    Suggestions->insert(Suggestions->begin(), "+ " + result);
  }
  if (convert) Editor->Replace(start, start + length, result);
  Editor->SetLanguage(start, start + length, lcid);
  if (convert && OnTypedConversion) OnTypedConversion(lcid);
  if (convert) Editor->SetSelection(start + length, start + length);
  else Editor->SetSelection(selStart, selEnd);
  return convert;
}
