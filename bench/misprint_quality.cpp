// Quality of the misprint test of valid words on prose the word frequencies were not counted
// from (the held-out part that datagen/corpus.py writes into the build tree). Two figures per
// language, both through the automatic document check with only the misprint test on:
// - flagged: the share of the words of the held-out prose reported as suspected misprints
//   (goal: at most 1 %);
// - caught: the share of real-word slips reported at their place, where a slip is a frequent
//   word of the prose (seen 64 times or more) changed by one keyboard slip (a neighbouring key
//   struck instead, a letter left out, a neighbouring key struck as well, two letters swapped)
//   into another valid but rare word (seen at most 3 times), one slip per line (goal: at least
//   half); "meant first" is the share whose first suggestion is the word that was damaged.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "platform/code_pages.h"
#include "platform/files.h"
#include "proofing/spell.h"

namespace {

struct TLanguageCase {
  LCID Lcid;
  const char* Corpus;
  const char* Name;
  std::vector<std::u16string> KeyboardRows;
};

const TLanguageCase kLanguages[] = {
    {LANG_ENGLISH_US, "en", "English", {u"qwertyuiop", u"asdfghjkl", u"zxcvbnm"}},
    {LANG_RUSSIAN, "ru", "Russian", {u"йцукенгшщзхъ", u"фывапролджэ", u"ячсмитьбю"}}};

TQSpell& Spell() {
  static TQSpell* spell = [] {
    auto* s = new TQSpell();
    s->LoadLanguages(QM_PROGRAM_DIR "/Dict");
    s->EnableStandardDictionaries();
    return s;
  }();
  return *spell;
}

// An editor over plain text in one language.
class TTextEditor : public ISpellEditor {
public:
  TTextEditor(std::u16string Text, LCID Lcid) : FText(std::move(Text)), FLcid(Lcid) {}
  std::u16string Text() override { return FText; }
  void GetSelection(int& Start, int& End) override { Start = End = 0; }
  void SetSelection(int, int) override {}
  void ReplaceSelection(const std::u16string&) override {}
  LCID LanguageAt(int) override { return FLcid; }
  void SetLanguage(int, int, LCID) override {}
  void ResetBackground(int, int) override {}
  void MarkBackground(int, int, unsigned) override {}
  void SetOnTextChange(TTextChange) override {}
  void SetRedraw(bool) override {}
  void SetHideSelection(bool) override {}

private:
  std::u16string FText;
  LCID FLcid;
};

class TNoWindows : public ISpellWindows {
public:
  bool AskStart(bool, TSpellMode&, TSpellScope&) override { return true; }
  TPopupAnswer AskWord(TWordQuestion&) override { return TPopupAnswer::Cancel; }
  TFindingAnswer AskFinding(TWordClass, int, int) override { return TFindingAnswer::Cancel; }
  void ShowAddWords(const std::string&, LCID, bool) override {}
  void ProcessMessages() override {}
};

struct TSuspicion {
  int Start;
  std::string Word, Suggestion;
};

class TCollectedResults : public ISpellResults {
public:
  void Clear() override {}
  void AddBranch(TWordClass, const std::string&, unsigned) override {}
  void Reset() override {}
  bool Progress(int) override { return false; }
  void AddFinding(const std::string& Word, const std::string& Second, LCID, bool, TWordClass Kind, int,
                  int Start) override {
    if (Kind == wcSuspected) Found.push_back({Start, Word, Second});
  }
  bool ShowResults() override { return false; }
  bool HasResults() override { return !Found.empty(); }
  void CloseResults() override {}
  void SetEditor(ISpellEditor*) override {}
  void TextChanged(int, int, int) override {}
  std::vector<TSuspicion> Found;
};

// The suspected misprints of an automatic check of `Text` with only the misprint test on.
std::vector<TSuspicion> Suspicions(const std::u16string& Text, LCID Lcid) {
  TNoWindows windows;
  TCollectedResults results;
  TTextEditor editor(Text, Lcid);
  TCheckOptions options;
  options.set(0).set(2).set(ceSuspect);
  TQSpell& spell = Spell();
  TQSpell check(&windows, &results);
  check.LoadLanguages(spell.DictionaryPath);
  check.EnableStandardDictionaries();
  check.CheckRange(editor, options, TSpellMode::Automatic);
  return results.Found;
}

struct TWordSpan {
  size_t Start, Length;
};

// The runs of the language's letters in a line.
std::vector<TWordSpan> Words(const std::u16string& Line, const TQLanguage& Language) {
  const unsigned codePage = LocaleAnsiCodePage(Language.Lcid());
  auto letter = [&](char16_t ch) {
    if (ch < 65) return false;
    bool lossy = false;
    const std::string byte = WideToAnsi(std::u16string(1, ch), codePage, &lossy);
    return !lossy && Language.Letters().find(byte[0]) != std::string::npos;
  };
  std::vector<TWordSpan> words;
  for (size_t i = 0; i < Line.size();) {
    if (!letter(Line[i])) {
      ++i;
      continue;
    }
    size_t end = i;
    while (end < Line.size() && letter(Line[end])) ++end;
    words.push_back({i, end - i});
    i = end;
  }
  return words;
}

// Keys struck by mistake for `Ch`: its neighbours on the keyboard.
std::u16string Neighbours(char16_t Ch, const std::vector<std::u16string>& Rows) {
  std::u16string near;
  for (size_t r = 0; r < Rows.size(); ++r) {
    const size_t at = Rows[r].find(Ch);
    if (at == std::u16string::npos) continue;
    for (size_t other = 0; other < Rows.size(); ++other) {
      if (other + 1 < r || other > r + 1) continue;
      // The row below is shifted half a key to the right.
      const long from = static_cast<long>(at) - (other == r ? 1 : other > r ? 1 : 0);
      const long to = static_cast<long>(at) + (other == r ? 1 : other > r ? 0 : 1);
      for (long k = from; k <= to; ++k)
        if (k >= 0 && k < static_cast<long>(Rows[other].size()) && !(other == r && k == long(at)))
          near += Rows[other][k];
    }
  }
  return near;
}

// The slips of a word: every neighbouring key instead of each letter, each letter left out, a
// neighbouring key struck after each letter and each pair of neighbours swapped.
std::vector<std::u16string> Slips(const std::u16string& Word, const std::vector<std::u16string>& Rows) {
  std::vector<std::u16string> slips;
  for (size_t i = 0; i < Word.size(); ++i) {
    for (char16_t c : Neighbours(Word[i], Rows)) {
      std::u16string changed = Word;
      changed[i] = c;
      slips.push_back(changed);
      slips.push_back(Word.substr(0, i + 1) + c + Word.substr(i + 1));
    }
    if (Word.size() > 2) slips.push_back(Word.substr(0, i) + Word.substr(i + 1));
    if (i + 1 < Word.size() && Word[i] != Word[i + 1]) {
      std::u16string swapped = Word;
      std::swap(swapped[i], swapped[i + 1]);
      slips.push_back(swapped);
    }
  }
  return slips;
}

struct TQuality {
  int Words = 0, Flagged = 0, Slips = 0, Caught = 0, MeantFirst = 0;
  std::vector<std::string> FlaggedExamples, MissedExamples;  // UTF-8: "word > suggestion", "slip < meant"
};

constexpr size_t kExamples = 40;

TQuality Measure(const TLanguageCase& Case) {
  TQSpell& spell = Spell();
  const TQLanguage& language = *spell.FindLanguage(Case.Lcid);
  const TWordFrequencies& frequencies = language.Frequencies();
  const unsigned codePage = LocaleAnsiCodePage(Case.Lcid);
  const std::u16string text =
      Utf8ToWide(ReadFileBytes(std::string(QM_CORPUS_DIR "/") + Case.Corpus + "_test.txt"));
  TQuality quality;

  std::u16string damaged;
  struct TSlip {
    size_t Start, Length;
    std::string Meant;
  };
  std::vector<TSlip> slips;
  std::mt19937 random(12345);
  for (size_t lineStart = 0; lineStart < text.size();) {
    size_t lineEnd = text.find(u'\n', lineStart);
    if (lineEnd == std::u16string::npos) lineEnd = text.size();
    std::u16string line = text.substr(lineStart, lineEnd - lineStart);
    lineStart = lineEnd + 1;
    const auto words = Words(line, language);
    quality.Words += static_cast<int>(words.size());
    // One slip a line, in a frequent word chosen at random.
    std::vector<std::pair<size_t, std::u16string>> options;
    for (const TWordSpan& span : words) {
      const std::u16string word = line.substr(span.Start, span.Length);
      const std::string ansi = WideToAnsi(word, codePage);
      if (frequencies.ClassOf(FrequencyKey(ansi, Case.Lcid)) < FrequencyClass(64) ||
          !spell.IsValidWord(ansi, Case.Lcid))
        continue;
      for (const std::u16string& slip : Slips(word, Case.KeyboardRows)) {
        const std::string slipAnsi = WideToAnsi(slip, codePage);
        if (FrequencyKey(slipAnsi, Case.Lcid) == FrequencyKey(ansi, Case.Lcid)) continue;
        if (frequencies.ClassOf(FrequencyKey(slipAnsi, Case.Lcid)) <= FrequencyClass(3) &&
            spell.IsValidWord(slipAnsi, Case.Lcid))
          options.emplace_back(span.Start, slip);
      }
    }
    if (!options.empty()) {
      const auto& [at, slip] = options[random() % options.size()];
      size_t length = 0;
      for (const TWordSpan& span : words)
        if (span.Start == at) length = span.Length;
      slips.push_back({damaged.size() + at, slip.size(), WideToAnsi(line.substr(at, length), codePage)});
      line.replace(at, length, slip);
    }
    damaged += line + u"\r";
  }
  const auto flagged = Suspicions(text, Case.Lcid);
  quality.Flagged = static_cast<int>(flagged.size());
  auto utf8 = [codePage](const std::string& Ansi) { return WideToUtf8(AnsiToWide(Ansi, codePage)); };
  for (size_t i = 0; i < flagged.size() && i < kExamples; ++i)
    quality.FlaggedExamples.push_back(utf8(flagged[i].Word) + " > " + utf8(flagged[i].Suggestion));

  const auto found = Suspicions(damaged, Case.Lcid);
  quality.Slips = static_cast<int>(slips.size());
  size_t f = 0;
  for (const TSlip& slip : slips) {
    while (f < found.size() && static_cast<size_t>(found[f].Start) < slip.Start) ++f;
    if (f < found.size() && static_cast<size_t>(found[f].Start) == slip.Start) {
      ++quality.Caught;
      if (FrequencyKey(found[f].Suggestion, Case.Lcid) == FrequencyKey(slip.Meant, Case.Lcid)) ++quality.MeantFirst;
    } else if (quality.MissedExamples.size() < kExamples) {
      quality.MissedExamples.push_back(utf8(WideToAnsi(damaged.substr(slip.Start, slip.Length), codePage)) + " < " +
                                       utf8(slip.Meant));
    }
  }
  return quality;
}

double Percent(int Part, int Whole) { return Whole ? 100.0 * Part / Whole : 0; }

void BM_MisprintQuality(benchmark::State& state) {
  const TLanguageCase& language = kLanguages[state.range(0)];
  TQuality quality;
  for (auto _ : state) quality = Measure(language);
  state.counters["flagged_%"] = Percent(quality.Flagged, quality.Words);
  state.counters["caught_%"] = Percent(quality.Caught, quality.Slips);
  state.counters["meant_first_%"] = Percent(quality.MeantFirst, quality.Slips);
  state.SetLabel(language.Name);
  std::printf("%-8s words %7d  flagged %5d (%.2f %%)   slips %5d  caught %5d (%.1f %%)  meant first %.1f %%\n",
              language.Name, quality.Words, quality.Flagged, Percent(quality.Flagged, quality.Words), quality.Slips,
              quality.Caught, Percent(quality.Caught, quality.Slips), Percent(quality.MeantFirst, quality.Slips));
  std::printf("  flagged in correct prose (word > suggestion):");
  for (const auto& example : quality.FlaggedExamples) std::printf(" %s;", example.c_str());
  std::printf("\n  slips missed (slip < word meant):");
  for (const auto& example : quality.MissedExamples) std::printf(" %s;", example.c_str());
  std::printf("\n");
}

}  // namespace

BENCHMARK(BM_MisprintQuality)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
