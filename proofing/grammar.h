// The rule file of the correction engine read into rule lists, rules and schemes. The rule file
// is INI text: "General", "BaseOptions", "ProcessOptions", "ValidPrefix", "Validator1".."9",
// "Schema1".."9", "PreprocessOptions" and the rule sections the schemes name.
#pragma once

#include <array>
#include <bitset>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "proofing/validator.h"

class IniDocument;

// The options of a scheme, in the rule file's order; the event keys follow at 39-45.
enum TGrammarOption : int {
  goPerformFormatting, goPerformStatistical, goPerformAnalytical, goDetectMisspelledEnglish, goAssumeNoEnglish,
  goAssumeNoTranslit, goTranslateAdaptiveCyrillic, goDetectShortenedWords, goDetectAbbreviatedWords,
  goDetectNewWords, goSuspectNewWords, goDetectNames, goDetectMath, goDetectHTML, goPreserveSpecialSyntax,
  goTransformSpecialSyntax, goConsiderMultipleVariants, goAutoUseFirstOfMultiple, goAutoUseSpellChecker,
  goAutoUseBestGuess, goAutoUseSingleSugg, goAllowUpCase, goAllowDownCase, goAllowSplit, goAllowPartialSplit,
  goAllowMergeAcrossHyphen, goAllowMergeAcrossSpace, goAllowResize, goNoPostValidate, goSkipRomanNumerals,
  goSkipAllCaps, goSkipMixedDigits, goSkipItalicText, goSkipQuotedText, goSkipBracedText, goHighlightOnly,
  goShowOriginal, goPrepCaseSensitive, goPrepWholeWordsOnly
};
inline constexpr int kGrammarOptionCount = 39;
inline constexpr int kMaxSteps = 10;
// The 39 option names followed by the seven event keys "OnFixedWord" .. "OnMultiVar".
extern const std::array<std::string_view, 46> GrammarOptionNames;

// Word kinds of the engine: they select the event, the marking colour and the log section.
enum TWordKind : int {
  wkFixed, wkUnsure, wkUnknown, wkShortened, wkName, wkNewWord, wkMultiVar, wkCorrect, wkEnglish, wkRussian
};
inline constexpr int kWordKindCount = 10;
// The colour (0x00BBGGRR) of each word kind.
using TEventColours = std::array<unsigned, kWordKindCount>;
// Navy, maroon, red, teal, olive, green, blue, then black for the three "correct" kinds.
const TEventColours& DefaultEventColours();
// The colour keys "ColorFixed" .. "ColorRussian" of "BaseOptions".
extern const std::array<std::string_view, kWordKindCount> EventColourKeys;

// One rule of an analytical list: a letter group and its blank-separated variants.
struct TQRule {
  std::string Key;
  std::string Value;
};

// A rule list. Replacement lists (formatting, statistical, postprocess) keep their lines as
// read; analytical lists hold rules found by key without regard to case.
class TGrammar {
public:
  explicit TGrammar(bool ListMode) : ListMode(ListMode) {}

  // Appends the lines (list mode) or the rules of an INI section.
  void LoadSection(const IniDocument& Ini, const std::string& Section);
  // Adds a rule, or merges the new variants into the rule of the same key; returns the number
  // of variants in `Value`.
  int AddRule(const std::string& Key, const std::string& Value);
  // The rule of a letter group (compared without case); null when there is none.
  const TQRule* Find(std::string_view Group) const;
  void Clear();

  int Count() const { return static_cast<int>(ListMode ? FLines.size() : FRules.size()); }
  const std::vector<std::string>& Lines() const { return FLines; }
  const std::vector<TQRule>& Rules() const { return FRules; }
  // The longest key of the list, in characters.
  int MaxKeyLength() const { return FMaxKey; }

  const bool ListMode;
  std::string Name;
  std::string PreprocessCaption;  // empty: not a preprocessing option
  bool PreprocessCheck = false;
  int RuleCount = 0;                 // keys read into rules
  std::array<int, 51> Histogram{};   // entry k: rules read with k variants

private:
  std::vector<TQRule> FRules;
  std::unordered_map<std::string, int> FIndex;  // lower-cased key -> rule
  std::vector<std::string> FLines;
  int FMaxKey = 0;
};

// One scheme of the rule file: options per step, limits and the lists it runs.
class TQSchema {
public:
  TQSchema();

  // A user option gives its check, a mode option its value in automatic mode (the inverse in
  // interactive mode), any other the bit of the current step.
  bool IsOptionOn(int Option) const;
  // The change limit of a word length (clamped to 1..99); the name limits during the name pass.
  int GetChangeLimit(int Length) const;
  void ResetSteps() { CurrentStep = 0; Done = false; }
  void NextStep();
  // The analytical list of the current step; null when there is none.
  TGrammar* CurrentGrammar() const;

  std::array<std::bitset<40>, kMaxSteps> StepOptions;
  std::array<int, 99> ChangeLimits, NameChangeLimits;
  int NewWordTreshold = 0;
  const TQValidator* Validator = nullptr;
  std::bitset<40> UserOptionSet, ModeOptionSet;
  int ReplaceScope = 1;  // 0 all, 1 normal, 2 url
  std::array<bool, kGrammarOptionCount> UserValues{}, ModeValues{};
  int LimitPrefix = 3, LimitDecline = 4, LimitSpeller = 7, LimitVariants = 1024, LimitSuggestions = 4;
  int HelpContext = 0;
  int Index = 0;
  std::string Id, SkipSubstring;
  std::vector<TGrammar*> Analytical, Statistical, Formatting, Postprocess;
  int CurrentStep = 0;
  bool Done = false;
  bool NamePass = false;
  // Whether the engine runs in automatic mode (for mode options); unset counts as automatic.
  std::function<bool()> IsAutomatic;
};

// Everything one rule file gives the engine.
struct TGrammarContent {
  std::string Info = "Quillomark Translation Engine";
  int HighlightPrepChanges = 0;
  std::array<std::string, kWordKindCount> EventCaptions;  // "OnFixedWord" .. "OnMultiVar"; empty: no row
  std::vector<std::string> Prefixes;                      // "ValidPrefix" keys, sorted
  std::vector<std::pair<std::string, std::unique_ptr<TQValidator>>> Validators;
  std::vector<std::unique_ptr<TQSchema>> Schemes;
  std::vector<std::unique_ptr<TGrammar>> Lists;           // every list, each once
  std::vector<std::string> Warnings;                      // messages for the user

  const TQValidator* FindValidator(std::string_view Name) const;
};

// Reads the deciphered rule file. `Colours` starts from the caller's table and takes the colours
// the file gives. Validator files are looked for with `ValidatorPath(name)`; analytical lists are
// read only when `LoadAnalytical`. `OnProgress` (may be empty) gets the loading texts.
void ReadGrammar(const IniDocument& Ini, TGrammarContent& Content, TEventColours& Colours, bool LoadAnalytical,
                 const std::function<std::string(const std::string&)>& ValidatorPath,
                 const std::function<void(const std::string&)>& OnProgress);
// The file of a validator: its name in the program folder, the file part lower-cased, with
// ".qgo" when it has no extension.
std::string ValidatorFileName(const std::string& Name);
