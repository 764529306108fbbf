#include "proofing/grammar.h"

#include <algorithm>
#include <charconv>

#include "platform/files.h"
#include "platform/ini_document.h"
#include "proofing/word_routines.h"
#include "textcore/app_files.h"
#include "textcore/cyr_case.h"
#include "textcore/string_routines.h"

const std::array<std::string_view, 46> GrammarOptionNames = {
    "PerformFormatting", "PerformStatistical", "PerformAnalytical", "DetectMisspelledEnglish", "AssumeNoEnglish",
    "AssumeNoTranslit", "TranslateAdaptiveCyrillic", "DetectShortenedWords", "DetectAbbreviatedWords",
    "DetectNewWords", "SuspectNewWords", "DetectNames", "DetectMath", "DetectHTML", "PreserveSpecialSyntax",
    "TransformSpecialSyntax", "ConsiderMultipleVariants", "AutoUseFirstOfMultiple", "AutoUseSpellChecker",
    "AutoUseBestGuess", "AutoUseSingleSugg", "AllowUpCase", "AllowDownCase", "AllowSplit", "AllowPartialSplit",
    "AllowMergeAcrossHyphen", "AllowMergeAcrossSpace", "AllowResize", "NoPostValidate", "SkipRomanNumerals",
    "SkipAllCaps", "SkipMixedDigits", "SkipItalicText", "SkipQuotedText", "SkipBracedText", "HighlightOnly",
    "ShowOriginal", "PrepCaseSensitive", "PrepWholeWordsOnly", "OnFixedWord", "OnUnsure", "OnUnknownWord",
    "OnShortened", "OnName", "OnNewWord", "OnMultiVar"};

const std::array<std::string_view, kWordKindCount> EventColourKeys = {
    "ColorFixed", "ColorUnsure", "ColorUnknown", "ColorShortened", "ColorName",
    "ColorNewWord", "ColorMultiVar", "ColorCorrect", "ColorEnglish", "ColorRussian"};

const TEventColours& DefaultEventColours() {
  static const TEventColours colours = {0x800000, 0x000080, 0x0000FF, 0x808000, 0x008080,
                                        0x008000, 0xFF0000, 0, 0, 0};
  return colours;
}

namespace {

std::vector<std::string> SplitBlanks(std::string_view Text) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < Text.size()) {
    while (i < Text.size() && (Text[i] == ' ' || Text[i] == '\t')) ++i;
    const size_t start = i;
    while (i < Text.size() && Text[i] != ' ' && Text[i] != '\t') ++i;
    if (i > start) words.emplace_back(Text.substr(start, i - start));
  }
  return words;
}

bool ParseInt(std::string_view Text, int& Value) {
  Text = TrimText(Text);
  if (!Text.empty() && Text.front() == '+') Text.remove_prefix(1);
  const auto [end, error] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
  return error == std::errc() && end == Text.data() + Text.size() && !Text.empty();
}

// INI reads with a default, as the class library's reader gives them.
struct TIniReader {
  const IniDocument& Ini;
  std::string String(const std::string& Section, const std::string& Key, const std::string& Default = {}) const {
    const auto value = Ini.Value(Section, Key);
    return value ? *value : Default;
  }
  int Integer(const std::string& Section, const std::string& Key, int Default) const {
    int value = 0;
    const auto text = Ini.Value(Section, Key);
    return text && ParseInt(*text, value) ? value : Default;
  }
};

void ReadLimits(const std::string& Text, std::array<int, 99>& Limits) {
  Limits.fill(999);
  const std::vector<std::string> values = SplitBlanks(Text);
  for (size_t i = 0; i < values.size() && i < 30; ++i) {
    int value = 0;
    if (ParseInt(values[i], value)) Limits[i] = value;
  }
}

// One option of a scheme: codes per step; a step without code repeats the code before it.
void ReadOption(TQSchema& Schema, int Option, const std::string& Text) {
  const std::vector<std::string> codes = SplitBlanks(Text);
  int code = 0;
  for (int step = 0; step < kMaxSteps; ++step) {
    if (step < static_cast<int>(codes.size()) && !ParseInt(codes[step], code)) code = 0;
    switch (code) {
      case 0: case 1: Schema.StepOptions[step].set(Option, code == 1); break;
      case 2: case 3:
        if (!Schema.UserOptionSet.test(Option)) Schema.UserValues[Option] = code == 3;
        Schema.UserOptionSet.set(Option);
        break;
      case 4: case 5:
        if (!Schema.ModeOptionSet.test(Option)) Schema.ModeValues[Option] = code == 5;
        Schema.ModeOptionSet.set(Option);
        break;
      default: break;
    }
  }
}

}  // namespace

void TGrammar::LoadSection(const IniDocument& Ini, const std::string& Section) {
  const auto entries = Ini.Entries(Section);
  if (ListMode) {
    for (const auto& [key, value] : entries) FLines.push_back(value ? key + "=" + *value : key);
    return;
  }
  RuleCount += static_cast<int>(entries.size());
  for (const auto& [key, value] : entries) {
    const int variants = AddRule(key, value.value_or(std::string()));
    ++Histogram[std::clamp(variants, 0, 50)];
  }
}

int TGrammar::AddRule(const std::string& Key, const std::string& Value) {
  const std::vector<std::string> tokens = SplitBlanks(Value);
  const std::string folded = CyrLowerCase(Key);
  if (const auto found = FIndex.find(folded); found != FIndex.end()) {
    TQRule& rule = FRules[found->second];
    const std::vector<std::string> held = SplitBlanks(rule.Value);
    for (const std::string& token : tokens) {
      if (std::find(held.begin(), held.end(), token) != held.end()) continue;
      if (rule.Value.find(" " + token + " ") != std::string::npos) continue;
      rule.Value += rule.Value.empty() ? token : " " + token;
    }
    return static_cast<int>(tokens.size());
  }
  FIndex.emplace(folded, static_cast<int>(FRules.size()));
  FRules.push_back(TQRule{Key, std::string(TrimText(Value))});
  FMaxKey = std::max(FMaxKey, static_cast<int>(Key.size()));
  return static_cast<int>(tokens.size());
}

const TQRule* TGrammar::Find(std::string_view Group) const {
  const auto found = FIndex.find(CyrLowerCase(Group));
  return found == FIndex.end() ? nullptr : &FRules[found->second];
}

void TGrammar::Clear() {
  FRules.clear();
  FIndex.clear();
  FLines.clear();
  FMaxKey = 0;
  RuleCount = 0;
  Histogram.fill(0);
}

TQSchema::TQSchema() {
  ChangeLimits.fill(999);
  NameChangeLimits.fill(999);
}

bool TQSchema::IsOptionOn(int Option) const {
  if (Option < 0 || Option >= kGrammarOptionCount) return false;
  if (UserOptionSet.test(Option)) return UserValues[Option];
  if (ModeOptionSet.test(Option)) {
    const bool automatic = !IsAutomatic || IsAutomatic();
    return automatic ? ModeValues[Option] : !ModeValues[Option];
  }
  return StepOptions[std::clamp(CurrentStep, 0, kMaxSteps - 1)].test(Option);
}

int TQSchema::GetChangeLimit(int Length) const {
  const int index = std::clamp(Length, 1, 99) - 1;
  return NamePass ? NameChangeLimits[index] : ChangeLimits[index];
}

void TQSchema::NextStep() {
  if (CurrentStep + 1 < static_cast<int>(Analytical.size()) && CurrentStep + 1 < kMaxSteps) ++CurrentStep;
  else Done = true;
}

TGrammar* TQSchema::CurrentGrammar() const {
  return CurrentStep < static_cast<int>(Analytical.size()) ? Analytical[CurrentStep] : nullptr;
}

const TQValidator* TGrammarContent::FindValidator(std::string_view Name) const {
  const std::string lower = CyrLowerCase(Name);
  for (const auto& [name, validator] : Validators)
    if (CyrLowerCase(name) == lower) return validator.get();
  return nullptr;
}

std::string ValidatorFileName(const std::string& Name) {
  const std::string full = AppDirFile(Name);
  const std::string path = ExtractFilePath(full);
  std::string file = CyrLowerCase(ExtractFileName(full));
  const std::string ext = ExtractFileExt(file);
  if (ext.empty() || ext == ".") file = ChangeFileExt(file, ".qgo");
  return path + file;
}

void ReadGrammar(const IniDocument& Ini, TGrammarContent& Content, TEventColours& Colours, bool LoadAnalytical,
                 const std::function<std::string(const std::string&)>& ValidatorPath,
                 const std::function<void(const std::string&)>& OnProgress) {
  const TIniReader ini{Ini};
  auto progress = [&](const std::string& Text) {
    if (OnProgress) OnProgress(Text);
  };
  Content.HighlightPrepChanges = ini.Integer("BaseOptions", "HighlightPrepChanges", 0);
  Content.Info = ini.String("General", "Info", Content.Info);
  for (const auto& [key, value] : Ini.Entries("ValidPrefix")) Content.Prefixes.push_back(key);
  std::sort(Content.Prefixes.begin(), Content.Prefixes.end(),
            [](const std::string& a, const std::string& b) { return CyrLowerCase(a) < CyrLowerCase(b); });
  for (int kind = 0; kind < kWordKindCount; ++kind) {
    int colour = 0;
    if (const auto text = Ini.Value("BaseOptions", std::string(EventColourKeys[kind])); text && ParseInt(*text, colour))
      Colours[kind] = static_cast<unsigned>(colour);
    if (kind < 7) Content.EventCaptions[kind] = ini.String("ProcessOptions", std::string(GrammarOptionNames[39 + kind]));
  }

  for (int n = 1; n <= 9; ++n) {
    const std::string section = "Validator" + std::to_string(n);
    const std::string name(TrimText(ini.String(section, "Name")));
    if (name.empty()) break;
    progress("Loading grammar ... " + std::to_string(n));
    auto validator = std::make_unique<TQValidator>();
    const std::string alphabet(TrimText(ini.String(section, "Alphabet")));
    for (char c : CyrLowerCase(alphabet) + CyrUpperCase(alphabet)) validator->Alphabet.set(static_cast<unsigned char>(c));
    validator->Language = static_cast<uint16_t>(ini.Integer(section, "Language", 1049));
    const std::string file = ValidatorPath(name);
    if (FileExists(file)) validator->LoadFromFile(file);
    Content.Validators.emplace_back(name, std::move(validator));
  }

  int rulesRead = 0;
  for (int n = 1; n <= 9; ++n) {
    const std::string section = "Schema" + std::to_string(n);
    const std::string kinds[4] = {std::string(TrimText(ini.String(section, "Formatting"))),
                                  std::string(TrimText(ini.String(section, "Statistical"))),
                                  std::string(TrimText(ini.String(section, "Postprocess"))),
                                  std::string(TrimText(ini.String(section, "Analytical")))};
    if (kinds[1].empty() && kinds[3].empty()) continue;
    auto schema = std::make_unique<TQSchema>();
    schema->Index = static_cast<int>(Content.Schemes.size());
    schema->Id = ini.String(section, "Id", "Schema" + std::to_string(n));
    auto baseInt = [&](const char* Key, int Default) {
      return ini.Integer(section, Key, ini.Integer("BaseOptions", Key, Default));
    };
    auto baseString = [&](const char* Key) { return ini.String(section, Key, ini.String("BaseOptions", Key)); };
    schema->HelpContext = baseInt("HelpContext", 0);
    schema->LimitVariants = baseInt("LimitVariants", 1024);
    schema->LimitPrefix = baseInt("LimitPrefix", 3);
    schema->LimitDecline = baseInt("LimitDecline", 4);
    schema->LimitSpeller = baseInt("LimitSpeller", 7);
    schema->LimitSuggestions = baseInt("LimitSuggestions", 4);
    ReadLimits(baseString("LimitChanges"), schema->ChangeLimits);
    schema->NewWordTreshold = baseInt("NewWordTreshold", 0);
    ReadLimits(baseString("NameChanges"), schema->NameChangeLimits);
    schema->SkipSubstring = baseString("SkipSubstring");
    const std::string scope = CyrLowerCase(TrimText(baseString("ReplaceScope")));
    schema->ReplaceScope = scope == "all" ? 0 : scope == "url" ? 2 : 1;
    const std::string validatorName(TrimText(baseString("Validator")));
    if (!validatorName.empty()) {
      schema->Validator = Content.FindValidator(validatorName);
      if (schema->Validator == nullptr)
        Content.Warnings.push_back("Validator [" + validatorName + "] not found. Please reinstall the application.");
    }
    for (int option = 0; option < kGrammarOptionCount; ++option) {
      const std::string key(GrammarOptionNames[option]);
      ReadOption(*schema, option, ini.String(section, key, ini.String("BaseOptions", key, "0")));
    }

    std::vector<TGrammar*>* targets[4] = {&schema->Formatting, &schema->Statistical, &schema->Postprocess,
                                          &schema->Analytical};
    for (int kind = 0; kind < 4; ++kind) {
      if (kind == 3 && !LoadAnalytical) break;
      for (const std::string& listName : SplitBlanks(kinds[kind])) {
        TGrammar* list = nullptr;
        for (const auto& held : Content.Lists)
          if (held->Name == listName) list = held.get();
        if (list == nullptr) {
          Content.Lists.push_back(std::make_unique<TGrammar>(kind != 3));
          list = Content.Lists.back().get();
          list->Name = listName;
          size_t start = 0;
          while (start <= listName.size()) {
            size_t end = listName.find('+', start);
            if (end == std::string::npos) end = listName.size();
            const int before = list->RuleCount;
            list->LoadSection(Ini, listName.substr(start, end - start));
            rulesRead += list->RuleCount - before;
            progress("Loading rules ... " + std::to_string(rulesRead));
            start = end + 1;
          }
          if (list->ListMode) list->PreprocessCaption = ini.String("PreprocessOptions", listName);
        }
        if (targets[kind]->size() < 100) targets[kind]->push_back(list);
      }
    }
    Content.Schemes.push_back(std::move(schema));
  }
}
