// TQGrammar: the correction engine. It runs a grammar (rule file, see grammar.h) over the text
// of an editor: the replacement lists first, then a word-by-word pass that builds variants of
// each word with the rules, judges them with the scheme's validator and the speller, replaces,
// colours and logs each word by its kind, and asks the user through the dialog when the mode
// requires it.
#pragma once

#include <functional>
#include <memory>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/string_list.h"
#include "proofing/ask_dialog.h"
#include "proofing/correction_editor.h"
#include "proofing/engine_marks.h"
#include "proofing/grammar.h"
#include "proofing/text_scanner.h"

class TQSpell;
class TQAnalyser;
class TQLanguage;

// Execution flags.
enum TExecMode : unsigned {
  emNoDialog = 1, emSimpleMatch = 2, emDebug = 4, emKeepSettings = 8, emCustomDictionary = 16,
  emLogChanges = 32, emPrompt = 64, emPreprocessOnly = 128, emBreakOnEvents = 256
};
using TExecModes = unsigned;

// Runs replacement lists over Start..End of the editor: the lines of the lists ("from=to"
// rules), match case, whole words only, mark the changes; returns the number of replacements.
// The shell sets it to the find form's list replacement; unset, the list steps are skipped.
using TListReplacer = std::function<int(const std::vector<std::string>& Lines, bool MatchCase, bool WholeWords,
                                        bool MarkChanges, bool Statistical, int Start, int End)>;

// The message key of a caption of a grammar file: "Grammar" and its letters and digits, each
// word capitalised ("Converted word|A word..." gives "GrammarConvertedWordAWord...").
std::string GrammarCaptionKey(const std::string& Caption);

class TQGrammar : public TObject {
public:
  explicit TQGrammar(IAskView* View = nullptr);
  ~TQGrammar() override;

  // Reads the grammar: "<GrammarFile>.qge" of the program folder through the line decipher.
  // A missing rule file, a wrong key or a text without "[Ge" leaves no grammar and raises
  // EInvalidOperation with the reason; the previous grammar is gone either way.
  void LoadGrammar();
  bool HasGrammar() const { return !FContent.Schemes.empty(); }
  // Shows the options page (unless emNoDialog) and takes its choices; false when cancelled or
  // when there is no grammar.
  bool Prepare();
  // The pass over the selection (or the whole text when nothing is selected). Raises
  // EInvalidOperation when no grammar is loaded; a second call during a pass returns at once.
  void Execute();
  void ExecuteMode(TExecModes Mode);
  // Prepare and, when it succeeds, ExecuteMode on another editor for one pass.
  void ExecuteOn(ICorrectionEditor& AEditor, TExecModes Mode);
  // Converts the selection, or the word before the caret, with a one-word pass (emPrompt when
  // `Prompt`), gives it the language of its first character and restores the selection.
  void ConvertCurrentWord(bool Prompt);
  // Takes the dialog's scheme and option choices.
  void ApplyDialogOptions();
  void SelectScheme(int Index);
  // Fills the dialog's options page from the grammar.
  void UpdateAskForm();
  // After a change of the preferences: the options page of a loaded grammar anew in the current
  // interface language, with the stored event colours; the chosen scheme stays.
  void RefreshSettings();
  // True when the dialog's automatic mode is chosen and emPrompt is off.
  bool IsAutomatic() const;
  // Asks a running pass to stop at the next check.
  void Stop() { FStopped = true; }
  bool Stopped() const { return FStopped; }

  // Conversion of the word just typed (mode 1: when it reads better; mode 2: always) on the
  // other keyboard layout. True when the word was converted.
  bool HandleTypedKey(int Mode, std::vector<std::string>* Suggestions = nullptr);

  // Word tests with the speller and the auxiliary word list.
  bool IsEnglishWord(const std::string& Word) const;
  bool IsRussianWord(const std::string& Word) const;
  bool IsValidForScheme(const TQSchema& Schema, const std::string& Word) const;
  // Whether Word, ending in "-ии" or "-ий", is a form of a noun in "-ие" ("отношении",
  // "мнений"): the "-ие" and "-ия" forms of its stem are words.
  bool IsNounInIe(const std::string& Word) const;
  // Loads the auxiliary word list (one word a line); a name that does not exist as given is
  // taken from the program folder.
  void SetAuxDictionary(const std::string& Name);

  // Change log: "Logs/<LogFile or GrammarFile>.log" in the program folder.
  std::string LogPath() const;
  void AddLogEntry(const std::string& Original, const std::string& Replacement, int Kind);
  void WriteLog();
  void ClearLog();
  // The text before "=" of the first log line whose replacement is `Text`, without the
  // position and the mark; empty when there is none.
  std::string FindLogEntry(const std::string& Text) const;
  // The entries of the last pass, sorted.
  const std::vector<std::string>& LogEntries() const { return FLogEntries; }

  // Configuration.
  TExecModes ExecMode = emCustomDictionary;
  ICorrectionEditor* Editor = nullptr;
  TQSpell* Spell = nullptr;  // unset: the program's spelling component
  std::string GrammarFile;
  unsigned UserCode = 0;
  std::string LogFile;
  TListReplacer ListReplacer;
  TAskDialog& Dialog() { return FDialog; }
  const TEventColours& Colours() const { return FDialog.Colours; }

  // Events.
  std::function<bool(int Percent)> OnProgress;  // true stops the pass
  std::function<bool(int Count)> OnStatus;      // at each check between steps; true stops
  std::function<void(const std::string&)> OnLoadProgress;
  std::function<bool(int Step, int Fixed, int Valid, int Total)> OnNextStep;  // true ends the pass
  std::function<void()> OnEndProcess, OnEndPreprocess;
  // With emDebug, after the rules built the variants of a word: the segments (each its text
  // followed by its variants), the variants built, and the window caption
  // ("Debugging grammar " + the grammar file). The debug window shows them.
  std::function<void(const std::vector<std::vector<std::string>>& Segments, const std::vector<std::string>& Variants,
                     const std::string& Caption)>
      OnRuleDebug;
  // After a typed word was converted, with its new language: the shell beeps and switches the
  // keyboard layout.
  std::function<void(LCID Lcid)> OnTypedConversion;
  // Shows a message to the user (a missing validator, the debug positioning message).
  std::function<void(const std::string&)> OnMessage;
  // The interface language: a key of the language files' "Messages" section to its text (a
  // caption of the grammar is asked by GrammarCaptionKey); unset, or an empty answer, keeps the
  // built-in English text.
  std::function<std::string(const std::string& Key)> MultiLanguage;

  // What the last pass did.
  int ChangeCount() const { return FChangeCount; }
  const TGrammarContent& Content() const { return FContent; }
  TQSchema* CurrentScheme() const { return FSchema; }
  TEngineMarks& Marks() { return FMarks; }

private:
  friend class TQAnalyser;
  // The word pass (word_decision.cpp).
  static bool ProcessWordsCallback(TObject* Owner, TStringList& Words, TStringList& Separators, int Percent);
  bool ProcessWords(TStringList& Words, TStringList& Separators, int Percent);
  int GetVariants(std::string& Word, TExecModes Mode);
  void ApplyRules(const std::string& Word, std::vector<std::string>& Variants, std::string& Result);
  void ApplyWordResult(const std::string& Found, std::string Replacement, int Kind);
  int AskUser(int Kind, const std::string& Word, std::string& Replacement);
  bool Option(int Option) const { return FSchema != nullptr && FSchema->IsOptionOn(Option); }
  TQSpell* Speller() const;
  bool StopCheck();
  // The message `Key` in the interface language (else `Default`) with each "%s" or "%d" in
  // turn replaced by the next of `Args`.
  std::string Message(const std::string& Key, const std::string& Default, const std::vector<std::string>& Args) const;
  std::string Translated(const std::string& Caption) const;
  void RunListStep(const std::vector<TGrammar*>& Lists, bool Statistical, int Start, int End);

  TGrammarContent FContent;
  TQSchema* FSchema = nullptr;
  TAskDialog FDialog;
  std::unique_ptr<TQAnalyser> FAnalyser;
  TTextScanner FScanner;
  TEngineMarks FMarks;
  std::vector<std::string> FAuxWords;  // sorted
  std::vector<std::string> FLogEntries;  // sorted when a pass ends

  // Pass state.
  bool FBusy = false, FStopped = false;
  int FRangeStart = 0, FOffset = 0, FChangeCount = 0;
  int FWordStart = 0, FWordEnd = 0;  // the found text in the editor
  std::string FNextWord, FPreviousReplacement, FCacheWord, FVariantText, FBestGuess;
  bool FEnglishContext = false, FSeveralVariants = false, FAnswered = false;
  // What the Latin words around the current one are, by the evidence of the look-ahead words
  // and the last Latin words of the pass (see LatinEvidence): +1 transliterated Russian,
  // -1 English, 0 unclear.
  int FLatinContext = 0;
  bool FAllVariants = false;       // the rules build every variant, even after a valid one
  bool FSoftSignsWritten = false;  // a Latin word of the pass wrote a soft sign with an apostrophe
  bool FYoWritten = false;         // a Latin word of the pass wrote "ё" with letters of its own
  int FSoftSignsLeftOut = 0;       // Latin words of the pass that only a soft sign made words
  // The last evidence of Latin words the pass has judged, with the sentence of each (counted
  // from the start of the pass; a paragraph ends a sentence).
  struct TLatinEvidence {
    int Evidence, Sentence;
  };
  std::vector<TLatinEvidence> FLatinHistory;
  int FSentence = 0;
  int FPassEvidence = 0;  // the evidence of every Latin word the pass has judged, summed
  int LatinContext(const TStringList& Words, const TStringList& Separators);
  // What a Latin word tells of its language: +1 when the rules read it as a Russian word and the
  // English list lacks it, -1 for an English word that reads as no Russian word, 0 otherwise (or
  // not Latin).
  int LatinEvidence(const std::string& Word);
  // The first word the scheme accepts that a short search of the rules' steps makes of `Word`;
  // empty when none (remembered for the pass).
  std::string RussianReadingOf(const std::string& Word);
  bool ReadsAsRussian(const std::string& Word) { return !RussianReadingOf(Word).empty(); }
  std::unordered_map<std::string, std::string> FRussianReadings;
  int FSearchStepLimit = 0;  // of the rules' variant search; 0: the full search
  // When set, the rules' variant search follows only the beginnings of words it accepts.
  std::function<bool(const std::string&)> FPrefixFilter;
  bool FPlainReading = false;  // the rules read every group, whatever the validator says
  bool FInitialRead = false;   // the last word was an initial or a capitalised word read as Cyrillic
  bool FNoEnglish = false;     // the current word is no English word (a name after an initial)
  bool FSentenceStart = true;  // the current word begins a sentence
  std::string FLastSeparator;  // the separators after the last word of the scan
  std::string FWordBefore;     // the Cyrillic word just before the current one, only blanks between
  std::vector<std::string> FClause;  // the last words of the current one's clause, in small letters
  // What the words before the current one in its clause, or the word `After` it, want of a verb
  // that reads with or without a soft sign: +1 an infinitive ("надо говорить", "верить можно"),
  // -1 a finite form ("он говорит"), 0 either.
  int ExpectedVerbForm(const std::string& After) const;
  // The frequency class of Word; of a word of hyphenated parts, the sum of its parts' classes,
  // a capitalised part the prose counts only as a name as its name ("Природа-мать",
  // "Мельников-Сторквист"), for the prose seldom counts such a word whole.
  int PartsFrequencyClass(const std::string& Word) const;
  // Every reading of the first step, validator or not (their ranks in FVariantRanks).
  std::vector<std::string> PlainReadings(const std::string& Word);
  // The reading of each group by its first rule variant, validator or not; empty when none.
  std::string FirstReading(const std::string& Word);
  // Of the first step's readings of Word, validator or not, the one the letter model of the
  // scheme's language and the rules' order together make likeliest (the guess for a name);
  // without a letter model the first reading.
  std::string LikeliestReading(const std::string& Word);
  // Of the readings of every step of a capitalised Latin Word (a name, also in capitals or a
  // double name), validator or not, the one the prose writes most often as a name the
  // dictionaries lack ("Volter": "Вольтер"); empty when the prose has none of them (remembered
  // for the pass).
  std::string ReadingOfSeenName(const std::string& Word);
  std::unordered_map<std::string, std::string> FSeenNames;  // its answers during a pass
  // Of the readings of every step of Word, validator or not, the one whose key (KeyOf) the prose
  // counts most often, with its frequency class; empty and 0 when it counts none.
  std::pair<std::string, int> MostSeenReading(const std::string& Word, const std::function<std::string(const std::string&)>& KeyOf);
  // The reading of a Latin initial that the prose writes most often before a reading of the
  // Latin Name after it ("E. Krotkii": "Э."); else the rules' first reading.
  std::string InitialBefore(const std::string& Initial, const std::string& Name);
  // The speller's language of the scheme's validator (Russian without one); none without a speller.
  const TQLanguage* SchemeLanguage() const;
  // The frequency class of a word in the prose of the scheme's language (0: never seen); with
  // `Before`, that of the two words together.
  int FrequencyClass(const std::string& Word, const std::string& Before = {}) const;
  // `Found`, accepted at the current step, or the most frequent other reading of `Word`: one of
  // the same step that is more frequent, or one of a later step that is clearly more frequent.
  std::string MostFrequentReading(const std::string& Word, const std::string& Found);
  // `Found`, a word the current step's rules made of `Word`, or another reading of the step
  // that is more frequent by `Margin` frequency classes.
  std::string MostFrequentOfStep(const std::string& Word, const std::string& Found, int Margin);
  // A valid short word, or a reading of it that is far more frequent.
  std::string FarMoreFrequentReading(const std::string& Word);
  // `Reading` with "ё" for an "е" where the prose writes the word with "ё" more often than not.
  std::string WithWrittenYo(const std::string& Reading) const;
  // Keeps the evidence of a Latin word the pass has judged.
  void NoteLatinWord(const std::string& Word);
  // How many of the letters spaced out from Words[0] on make its word, that word in `Joined`;
  // 0 when the first letter stays a word of its own.
  int JoinSpacedLetters(const TStringList& Words, const TStringList& Separators, std::string& Joined);
  std::vector<std::string> FFirstVariants, FStepVariants, FCollected;
  bool FFirstVariantsLater = false;  // the first step built no variant, a later one FFirstVariants
  // Of the variants of the last ApplyRules: their ranks and the readings below the first they
  // take ("i=й"); the readings that the pass has seen alone make a word valid.
  std::vector<int> FVariantRanks;
  std::vector<std::vector<std::string>> FVariantReadings;
  std::map<std::string, int> FSeenReadings;
  int FStatusCount = 0;
  static constexpr size_t kMostRememberedWords = 1 << 17;
  // The word tests' answers during a pass (see Remembered).
  mutable std::unordered_map<std::string, bool> FEnglishAnswers, FRussianAnswers;
  bool Remembered(std::unordered_map<std::string, bool>& Answers, const std::string& Word,
                  bool (TQGrammar::*Test)(const std::string&) const) const;
  void ForgetWordTests();
  bool TestEnglishWord(const std::string& Word) const;
  bool TestRussianWord(const std::string& Word) const;
};
