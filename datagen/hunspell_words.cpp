#include "datagen/hunspell_words.h"

#include <fstream>
#include <map>
#include <sstream>
#include <unordered_set>

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/files.h"

namespace {

using Flag = char16_t;

// One position of an affix condition: a character set, negated or not, or any character.
struct ConditionItem {
  std::u16string Chars;
  bool Negated = false;
  bool Any = false;
  bool Matches(char16_t Ch) const {
    if (Any) return true;
    return (Chars.find(Ch) != std::u16string::npos) != Negated;
  }
};

struct AffixRule {
  std::u16string Strip, Add;
  std::u16string ContinuationFlags;
  std::vector<ConditionItem> Condition;
};

struct AffixClass {
  bool Prefix = false;
  bool Cross = false;
  std::vector<AffixRule> Rules;
};

struct AffixData {
  std::map<Flag, AffixClass> Classes;
  Flag NeedAffix = 0, OnlyInCompound = 0, Forbidden = 0;
  bool FullStrip = false;
};

std::vector<std::string> SplitFields(const std::string& Line) {
  std::vector<std::string> fields;
  std::istringstream in(Line);
  for (std::string field; in >> field;) fields.push_back(field);
  return fields;
}

std::u16string Wide(const std::string& Text) { return Text == "0" ? std::u16string() : Utf8ToWide(Text); }

std::vector<ConditionItem> ParseCondition(const std::u16string& Text) {
  std::vector<ConditionItem> items;
  for (size_t i = 0; i < Text.size(); ++i) {
    ConditionItem item;
    if (Text[i] == u'.') {
      item.Any = true;
    } else if (Text[i] == u'[') {
      const size_t close = Text.find(u']', i);
      if (close == std::u16string::npos) throw Exception("Unclosed affix condition");
      size_t from = i + 1;
      if (from < close && Text[from] == u'^') {
        item.Negated = true;
        ++from;
      }
      item.Chars = Text.substr(from, close - from);
      i = close;
    } else {
      item.Chars = Text.substr(i, 1);
    }
    items.push_back(item);
  }
  return items;
}

AffixData ReadAffixFile(const std::string& FileName) {
  std::ifstream in(NativePath(FileName));
  if (!in) throw EFOpenError("Cannot open file \"" + FileName + "\"");
  AffixData data;
  AffixClass* current = nullptr;
  int pending = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    const auto fields = SplitFields(line);
    if (fields.empty() || fields[0][0] == '#') continue;
    const std::string& key = fields[0];
    if (key == "SET" && fields.size() > 1 && fields[1] != "UTF-8")
      throw Exception("Affix file " + FileName + " is not in UTF-8");
    if (key == "FLAG" || key == "AF" || key == "COMPLEXPREFIXES" || key == "CIRCUMFIX")
      throw Exception("Affix file feature " + key + " is not supported");
    if (key == "FULLSTRIP") data.FullStrip = true;
    if ((key == "NEEDAFFIX" || key == "ONLYINCOMPOUND" || key == "FORBIDDENWORD") && fields.size() > 1) {
      const Flag flag = Utf8ToWide(fields[1])[0];
      (key == "NEEDAFFIX" ? data.NeedAffix : key == "ONLYINCOMPOUND" ? data.OnlyInCompound : data.Forbidden) = flag;
    }
    if ((key == "PFX" || key == "SFX") && fields.size() >= 4) {
      const Flag flag = Utf8ToWide(fields[1])[0];
      if (pending == 0) {
        current = &data.Classes[flag];
        current->Prefix = key == "PFX";
        current->Cross = fields[2] == "Y";
        pending = std::stoi(fields[3]);
        continue;
      }
      AffixRule rule;
      rule.Strip = Wide(fields[2]);
      std::string add = fields[3];
      if (const size_t slash = add.find('/'); slash != std::string::npos) {
        rule.ContinuationFlags = Utf8ToWide(add.substr(slash + 1));
        add.erase(slash);
      }
      rule.Add = Wide(add);
      rule.Condition = ParseCondition(fields.size() > 4 ? Utf8ToWide(fields[4]) : u".");
      current->Rules.push_back(std::move(rule));
      --pending;
    }
  }
  return data;
}

bool SuffixApplies(const AffixRule& Rule, const std::u16string& Word, bool FullStrip) {
  const size_t n = Rule.Condition.size();
  if (Word.size() < n || Word.size() < Rule.Strip.size()) return false;
  if (Word.size() == Rule.Strip.size() && !FullStrip) return false;
  if (Word.compare(Word.size() - Rule.Strip.size(), Rule.Strip.size(), Rule.Strip) != 0) return false;
  for (size_t i = 0; i < n; ++i)
    if (!Rule.Condition[i].Matches(Word[Word.size() - n + i])) return false;
  return true;
}

bool PrefixApplies(const AffixRule& Rule, const std::u16string& Word, bool FullStrip) {
  const size_t n = Rule.Condition.size();
  if (Word.size() < n || Word.size() < Rule.Strip.size()) return false;
  if (Word.size() == Rule.Strip.size() && !FullStrip) return false;
  if (Word.compare(0, Rule.Strip.size(), Rule.Strip) != 0) return false;
  for (size_t i = 0; i < n; ++i)
    if (!Rule.Condition[i].Matches(Word[i])) return false;
  return true;
}

class Expander {
public:
  explicit Expander(AffixData Data) : FData(std::move(Data)) {}

  void AddStem(const std::u16string& Stem, const std::u16string& Flags) {
    if (Has(Flags, FData.Forbidden)) {
      FForbidden.insert(Stem);
      return;
    }
    if (Has(Flags, FData.OnlyInCompound)) return;
    if (!Has(Flags, FData.NeedAffix)) FWords.insert(Stem);
    for (Flag flag : Flags) {
      const AffixClass* cls = Find(flag);
      if (!cls || cls->Prefix) continue;
      for (const auto& rule : cls->Rules) {
        if (!SuffixApplies(rule, Stem, FData.FullStrip)) continue;
        const std::u16string form = Stem.substr(0, Stem.size() - rule.Strip.size()) + rule.Add;
        AddDerived(form, rule.ContinuationFlags);
        if (cls->Cross) AddPrefixes(form, Flags, true);
        // Suffixes that allow a second suffix after them.
        for (Flag next : rule.ContinuationFlags) {
          const AffixClass* second = Find(next);
          if (!second || second->Prefix) continue;
          for (const auto& rule2 : second->Rules)
            if (SuffixApplies(rule2, form, FData.FullStrip))
              AddDerived(form.substr(0, form.size() - rule2.Strip.size()) + rule2.Add, rule2.ContinuationFlags);
        }
      }
    }
    AddPrefixes(Stem, Flags, false);
  }

  std::vector<std::u16string> Words() {
    std::vector<std::u16string> words;
    words.reserve(FWords.size());
    while (!FWords.empty()) {  // moved out one by one, so the set never coexists with a copy
      auto node = FWords.extract(FWords.begin());
      if (!FForbidden.count(node.value())) words.push_back(std::move(node.value()));
    }
    return words;
  }

private:
  static bool Has(const std::u16string& Flags, Flag F) { return F != 0 && Flags.find(F) != std::u16string::npos; }
  const AffixClass* Find(Flag F) const {
    const auto it = FData.Classes.find(F);
    return it == FData.Classes.end() ? nullptr : &it->second;
  }
  void AddDerived(const std::u16string& Form, const std::u16string& ContinuationFlags) {
    if (Has(ContinuationFlags, FData.Forbidden))
      FForbidden.insert(Form);
    else if (!Has(ContinuationFlags, FData.NeedAffix) && !Has(ContinuationFlags, FData.OnlyInCompound))
      FWords.insert(Form);
  }
  // The prefixes of `Flags` applied to `Word`; with `CrossOnly` only those that combine with suffixes.
  void AddPrefixes(const std::u16string& Word, const std::u16string& Flags, bool CrossOnly) {
    for (Flag flag : Flags) {
      const AffixClass* cls = Find(flag);
      if (!cls || !cls->Prefix || (CrossOnly && !cls->Cross)) continue;
      for (const auto& rule : cls->Rules)
        if (PrefixApplies(rule, Word, FData.FullStrip))
          AddDerived(rule.Add + Word.substr(rule.Strip.size()), rule.ContinuationFlags);
    }
  }

  AffixData FData;
  std::unordered_set<std::u16string> FWords, FForbidden;
};

}  // namespace

std::vector<std::u16string> ExpandHunspellDictionary(const std::string& AffFile, const std::string& DicFile) {
  Expander expander(ReadAffixFile(AffFile));
  std::ifstream in(NativePath(DicFile));
  if (!in) throw EFOpenError("Cannot open file \"" + DicFile + "\"");
  std::string line;
  std::getline(in, line);  // the stem count
  while (std::getline(in, line)) {
    const size_t end = line.find_first_of(" \t\r");
    std::string entry = line.substr(0, end);
    if (entry.empty()) continue;
    std::u16string flags;
    size_t slash = std::string::npos;
    for (size_t i = 0; i < entry.size(); ++i) {
      if (entry[i] == '\\' && i + 1 < entry.size() && entry[i + 1] == '/') {
        entry.erase(i, 1);
        continue;
      }
      if (entry[i] == '/') {
        slash = i;
        break;
      }
    }
    if (slash != std::string::npos) {
      flags = Utf8ToWide(entry.substr(slash + 1));
      entry.erase(slash);
    }
    if (!entry.empty()) expander.AddStem(Utf8ToWide(entry), flags);
  }
  return expander.Words();
}
