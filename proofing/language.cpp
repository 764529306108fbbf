#include "proofing/language.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/single_byte_codec.h"
#include "proofing/record_bytes.h"
#include "textcore/text_utils.h"

namespace {

// Words shorter than this get no corrections two slips away (too many words are that near).
constexpr int kMinTwoEditLength = 4;

bool IsSmallLetter(char Ch) {
  const auto ch = static_cast<unsigned char>(Ch);
  return AnsiUpperChar(ch) != ch;
}

bool HasSmallLetter(const std::string& Text) { return std::any_of(Text.begin(), Text.end(), IsSmallLetter); }

std::vector<std::string> SplitAt(const std::string& Text, char Separator) {
  std::vector<std::string> pieces(1);
  for (char ch : Text) {
    if (ch == Separator) pieces.emplace_back();
    else pieces.back() += ch;
  }
  return pieces;
}

std::string Trim(const std::string& Text) {
  const size_t first = Text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return Text.substr(first, Text.find_last_not_of(" \t\r\n") - first + 1);
}

void SetUpWordList(TXStringList& List, LCID Lcid) {
  List.SetLocale(Lcid);
  List.SetSorted(false);
}

}  // namespace

TQLanguage::TQLanguage(const std::string& DescriptorFileName, const TSpellErrorEvent& OnError)
    : FDescriptorFileName(DescriptorFileName), FOnError(OnError) {
  bool complete = false;
  try {
    const std::string bytes = ReadFileBytes(DescriptorFileName);
    std::copy_n(bytes.begin(), std::min<size_t>(bytes.size(), kLanguageBlockSize), FBlock.Bytes.begin());
    SetUpWordList(FCommonWords, FBlock.Lcid());
    SetUpWordList(FOtherWords, FBlock.Lcid());
    SetUpWordList(FUserWords, FBlock.Lcid());
    size_t at = kLanguageBlockSize;
    complete = bytes.size() >= at;
    for (TXStringList* list : {&FCommonWords, &FOtherWords}) {
      if (!complete) break;
      if (bytes.size() < at + 2) {
        complete = false;
        break;
      }
      const size_t length = ReadU16(bytes, at);
      at += 2;
      complete = bytes.size() >= at + length;
      list->SetText(bytes.substr(at, std::min(length, bytes.size() - at)));
      at += length;
    }
  } catch (const EFileError&) {
    complete = false;
  }
  FLetters = FBlock.Alphabet() + AnsiUpperCase(FBlock.Alphabet());
  if (!complete && OnError) OnError("Language descriptor " + DescriptorFileName + " is corrupt.");

  const std::string name = ExtractFileName(DescriptorFileName);
  FUserFileName = ExtractFilePath(DescriptorFileName) + name.substr(0, name.find('.')) + ".qud";
  if (FileExists(FUserFileName)) {
    try {
      FUserWords.LoadFromFile(FUserFileName);
    } catch (const EFileError& error) {
      if (OnError) OnError(error.Message);
    }
  }

  const std::string frequencyFile = ExtractFilePath(DescriptorFileName) + name.substr(0, name.find('.')) + ".qwf";
  if (FileExists(frequencyFile)) FFrequencyFile = frequencyFile;
  const std::string letterModelFile = ExtractFilePath(DescriptorFileName) + name.substr(0, name.find('.')) + ".qlm";
  if (FileExists(letterModelFile)) FLetterModelFile = letterModelFile;
}

const TWordFrequencies& TQLanguage::Frequencies() const {
  if (!FFrequencyFile.empty()) {
    const std::string file = std::exchange(FFrequencyFile, {});
    try {
      FFrequencies.LoadFromFile(file);
    } catch (const EWordFrequencyError& error) {
      if (FOnError) FOnError(error.Message);
    }
  }
  return FFrequencies;
}

const TLetterModel& TQLanguage::LetterModel() const {
  if (!FLetterModelFile.empty()) {
    const std::string file = std::exchange(FLetterModelFile, {});
    try {
      FLetterModel.LoadFromFile(file);
    } catch (const ELetterModelError& error) {
      if (FOnError) FOnError(error.Message);
    }
  }
  return FLetterModel;
}

void TQLanguage::AddDictionary(std::unique_ptr<TQDictionary> Dictionary) {
  FDictionaries.push_back(std::move(Dictionary));
}

TQDictionary* TQLanguage::FindDictionary(const std::string& BaseName) const {
  for (const auto& dictionary : FDictionaries) {
    const std::string file = ExtractFileName(dictionary->DataFileName());
    if (AnsiLowerCase(ChangeFileExt(file, "")) == BaseName) return dictionary.get();
  }
  return nullptr;
}

bool TQLanguage::Lookup(const std::string& Word, std::string& Found, bool MatchCase) {
  for (const auto& dictionary : FDictionaries)
    if (dictionary->Enabled && dictionary->FindWord(Word, Found, MatchCase)) return true;
  return FindUserWord(Word, Found, MatchCase);
}

void TQLanguage::SortWordLists() const {
  if (FWordListsSorted) return;
  FWordListsSorted = true;
  for (TXStringList* list : {&FCommonWords, &FOtherWords, &FUserWords}) list->SetSorted(true);
}

bool TQLanguage::FindUserWord(const std::string& Word, std::string& Found, bool MatchCase) const {
  SortWordLists();
  int index = 0;
  if (Word.empty() || !FUserWords.Find(Word, index)) return false;
  Found = FUserWords[index];
  return !MatchCase || MatchesStoredCase(Word, Found);
}

bool TQLanguage::CheckWord(const std::string& Word) {
  std::string found;
  if (Lookup(Word, found, true)) return true;
  std::string w = Word;
  if (!w.empty() && w.back() == '.') {
    w.pop_back();
    if (Lookup(w, found, true)) return true;
    // An abbreviation of single capitals: U.S.A.
    const auto pieces = SplitAt(w, '.');
    if (std::all_of(pieces.begin(), pieces.end(),
                    [](const std::string& p) { return p.size() <= 1 && !HasSmallLetter(p); }))
      return true;
  }
  if (w.find('-') == std::string::npos) return false;
  const auto pieces = SplitAt(w, '-');
  bool numberSeen = false;
  for (size_t k = 0; k < pieces.size(); ++k) {
    const std::string& piece = pieces[k];
    // Final: no hyphen follows, or the one that follows ends the word.
    const bool final = k + 1 == pieces.size() || (k + 2 == pieces.size() && pieces[k + 1].empty());
    if (!final) {
      if (IsNumberLike(piece)) {
        numberSeen = true;
        continue;
      }
      if (piece.size() >= 2 && (Lookup(piece, found, true) || Lookup(piece + "-", found, true))) continue;
      return false;
    }
    if (!Lookup(piece, found, true) && !Lookup("-" + piece, found, true) &&
        !(numberSeen && Lookup("#-" + piece, found, true)))
      return false;
  }
  return true;
}

void TQLanguage::AddSuggestion(const std::string& Word, const std::string& Candidate, int Position, int Kind,
                               TSuggestionList& List) const {
  if (Candidate.empty()) return;
  std::string c = Candidate;
  if (!HasSmallLetter(Word)) {
    c = AnsiUpperCase(c);
  } else if (HasSmallLetter(c)) {
    if (IsSmallLetter(c[0]) && !IsSmallLetter(Word[0]))
      c[0] = static_cast<char>(AnsiUpperChar(static_cast<unsigned char>(c[0])));
    if (c.size() > 1 && Word.size() > 1 && !IsSmallLetter(c[1]) && IsSmallLetter(Word[1]))
      c[1] = static_cast<char>(AnsiLowerChar(static_cast<unsigned char>(c[1])));
  }
  if (List.IndexOf(c) < 0) List.Add(c, Position, Kind);
}

void TQLanguage::TryCandidate(const std::string& Word, const std::string& Candidate, int Position, int Flags,
                              TSuggestionList& List) {
  std::string found;
  if (Lookup(Candidate, found, (Flags & sfMatchCase) != 0)) AddSuggestion(Word, found, Position, 1, List);
}

void TQLanguage::Suggest(const std::string& Word, TSuggestionList& List, int Flags) {
  const int L = static_cast<int>(Word.size());
  // Every candidate of a longer word, the two halves of a split included, exceeds a record.
  if (L > 2 * kMaxDictWordLength) return;
  const bool matchCase = (Flags & sfMatchCase) != 0;
  const bool allLetters = (Flags & sfAllLetters) != 0;
  const int before = List.Count();
  const std::string alphabet = FBlock.Alphabet();
  std::string found;
  auto at = [&](int position) { return static_cast<unsigned char>(Word[position - 1]); };  // 1-based

  if (Flags & sfCase) {
    if (Lookup(Word, found, matchCase) && List.IndexOf(found) < 0) AddSuggestion(Word, found, 1, 1, List);
  }
  if ((Flags & sfTranspose) && L >= 2) {
    for (int i = 1; i <= L - 1; ++i) {
      if (at(i) == at(i + 1)) continue;
      std::string candidate = Word;
      std::swap(candidate[i - 1], candidate[i]);
      if (Lookup(candidate, found, matchCase)) AddSuggestion(Word, found, i, 2, List);
    }
  }
  if (Flags & sfInsert) {
    const int first = allLetters ? 1 : 2, last = allLetters ? L + 1 : L;
    for (int p = first; p <= last; ++p) {
      std::string letters = allLetters ? alphabet : FBlock.InsertionLetters();
      if (matchCase) {
        if (p < 2) continue;
        letters = FBlock.Following(at(p - 1));
      }
      for (char c : letters) TryCandidate(Word, Word.substr(0, p - 1) + c + Word.substr(p - 1), p, Flags, List);
    }
  }
  if (Flags & sfSubstitute) {
    // The whole alphabet everywhere, or (misprint test) the similar letters inside the word: not
    // at the first position, nor at the last, where a change mostly gives another form of the
    // same word (an ending) rather than the word the writer meant.
    if (allLetters || matchCase) {
      for (int i = allLetters ? 1 : 2; i <= (allLetters ? L : L - 1); ++i) {
        const std::string letters = allLetters ? alphabet : FBlock.Similar(at(i));
        for (char c : letters) {
          if (c == Word[i - 1]) continue;
          std::string candidate = Word;
          candidate[i - 1] = c;
          TryCandidate(Word, candidate, i, Flags, List);
        }
      }
    }
  }
  if ((Flags & sfDelete) && (L > 3 || (L > 1 && allLetters))) {
    for (int i = 1; i <= L; ++i) {
      if (matchCase) {
        if (i == 1 || i == L) continue;
        if (FBlock.Doubled(at(i - 1)).find(Word[i - 1]) == std::string::npos) continue;
      }
      if (i == 1 && L > 1 && Word[1] == '-') continue;
      if (i == L && L > 1 && Word[L - 2] == '-') continue;
      std::string candidate = Word;
      candidate.erase(i - 1, 1);
      TryCandidate(Word, candidate, -i, Flags, List);
    }
  }
  if (Flags & sfSplit) {
    for (int k = 2; k <= L; ++k) {
      const std::string left = Word.substr(0, k - 1);
      const std::string right = Word.substr(k - 1, kMaxDictWordLength);
      std::string leftForm, rightForm;
      if (((left.size() > 2 && right.size() > 2) || allLetters) && Lookup(left, leftForm, true) &&
          Lookup(right, rightForm, true))
        AddSuggestion(Word, leftForm + " " + rightForm, k, 1, List);
      if (Lookup(left + "-" + right, found, matchCase)) AddSuggestion(Word, found, k, 1, List);
    }
  }
  if (allLetters && List.Count() == before && L >= kMinTwoEditLength) SuggestTwoEdits(Word, List);
}

void TQLanguage::SuggestTwoEdits(const std::string& Word, TSuggestionList& List) {
  // Every single edit of the word, each followed by one of the common second slips: a letter
  // left out or struck extra, two neighbours swapped, a letter doubled.
  const std::string alphabet = FBlock.Alphabet();
  std::vector<std::string> first;
  for (size_t i = 0; i < Word.size(); ++i) {
    first.push_back(Word.substr(0, i) + Word.substr(i + 1));
    if (i + 1 < Word.size() && Word[i] != Word[i + 1]) {
      std::string swapped = Word;
      std::swap(swapped[i], swapped[i + 1]);
      first.push_back(swapped);
    }
    for (char c : alphabet) {
      if (c != Word[i]) first.push_back(Word.substr(0, i) + c + Word.substr(i + 1));
      first.push_back(Word.substr(0, i) + c + Word.substr(i));
    }
  }
  for (char c : alphabet) first.push_back(Word + c);
  std::unordered_set<std::string> tried;
  std::string found;
  const auto tryWord = [&](const std::string& candidate) {
    if (tried.insert(candidate).second && Lookup(candidate, found, false)) AddSuggestion(Word, found, 1, 1, List);
  };
  for (const std::string& edited : first) {
    for (size_t i = 0; i < edited.size(); ++i) {
      tryWord(edited.substr(0, i) + edited.substr(i + 1));
      tryWord(edited.substr(0, i + 1) + edited.substr(i));
      if (i + 1 < edited.size() && edited[i] != edited[i + 1]) {
        std::string swapped = edited;
        std::swap(swapped[i], swapped[i + 1]);
        tryWord(swapped);
      }
    }
  }
}

int TQLanguage::CorrectionCost(const std::string& Word, const std::string& Candidate) const {
  // The locale's letters; for a code page we hold no case table of, the system's.
  unsigned codePage = LocaleAnsiCodePage(Lcid());
  if (FindSingleByteCodec(ResolveCodePage(codePage)) == nullptr) codePage = CP_ACP;
  auto lower = [codePage](std::string Text) {
    for (char& ch : Text) ch = static_cast<char>(AnsiLowerChar(static_cast<unsigned char>(ch), codePage));
    return Text;
  };
  const std::string w = lower(Word), c = lower(Candidate);
  const bool name = !Word.empty() && !Candidate.empty() && IsSmallLetter(Word[0]) && c[0] != Candidate[0];
  const size_t n = w.size(), m = c.size();
  size_t prefix = 0, suffix = 0;
  while (prefix < n && prefix < m && w[prefix] == c[prefix]) ++prefix;
  while (suffix < n - prefix && suffix < m - prefix && w[n - 1 - suffix] == c[m - 1 - suffix]) ++suffix;
  // The letter at `At` of `Text` stands beside the same letter.
  auto doubled = [](const std::string& Text, size_t At) {
    return (At > 0 && Text[At - 1] == Text[At]) || (At + 1 < Text.size() && Text[At + 1] == Text[At]);
  };
  int cost = 3;
  if (c.find(' ') != std::string::npos && w.find(' ') == std::string::npos) {
    cost = 2;
  } else if (n == m) {
    if (prefix == n) {
      cost = 0;
    } else if (n - prefix - suffix == 2 && w[prefix] == c[prefix + 1] && w[prefix + 1] == c[prefix]) {
      cost = 1;
    } else if (n - prefix - suffix == 1) {
      const auto typed = static_cast<unsigned char>(w[prefix]), meant = static_cast<unsigned char>(c[prefix]);
      const bool similar = FBlock.Similar(typed).find(static_cast<char>(meant)) != std::string::npos ||
                           FBlock.Similar(meant).find(static_cast<char>(typed)) != std::string::npos;
      cost = similar ? 1 : 3;
    }
  } else if (m == n + 1) {
    const bool vowel = FBlock.InsertionLetters().find(c[prefix]) != std::string::npos;
    cost = doubled(c, prefix) || vowel ? 1 : 2;
  } else if (n == m + 1) {
    cost = doubled(w, prefix) ? 1 : 3;
  }
  return name ? cost + 2 : cost;
}

int TQLanguage::CandidateClass(const std::string& Candidate) const {
  // A word split in two is as common as the pair in prose; a pair never seen, as its rarer
  // half, less a penalty (most splits are a letter struck extra somewhere).
  constexpr int kUnseenPair = 24;
  const TWordFrequencies& frequencies = Frequencies();
  const size_t blank = Candidate.find(' ');
  if (blank == std::string::npos) return frequencies.ClassOf(FrequencyKey(Candidate, Lcid()));
  const std::string left = FrequencyKey(Candidate.substr(0, blank), Lcid());
  const std::string right = FrequencyKey(Candidate.substr(blank + 1), Lcid());
  if (const int pair = frequencies.ClassOf(PairKey(left, right)); pair > 0) return pair;
  return std::min(frequencies.ClassOf(left), frequencies.ClassOf(right)) - kUnseenPair;
}

void TQLanguage::RankSuggestions(const std::string& Word, TSuggestionList& List, int From) const {
  if (From < 0 || From >= List.Count()) return;
  // A unit of the slip's cost weighs as much as this many frequency classes (four classes are
  // twice the occurrences).
  constexpr int kCostWeight = 8;
  std::vector<std::pair<int, TSuggestion>> ranked;
  for (auto it = List.Items.begin() + From; it != List.Items.end(); ++it) {
    const int cost = CorrectionCost(Word, it->Word);
    ranked.emplace_back(Frequencies().Empty() ? cost : cost * kCostWeight - CandidateClass(it->Word), std::move(*it));
  }
  std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t i = 0; i < ranked.size(); ++i) List.Items[From + i] = std::move(ranked[i].second);
}

void TQLanguage::SuggestMisprints(const std::string& Word, const TMisprintContext& Context, TSuggestionList& List) {
  // Words in capitals are mostly abbreviations; a capitalised word after another word is
  // mostly a name, unless the word meant is one too.
  if (Word.empty() || !HasSmallLetter(Word)) return;
  const bool name = !IsSmallLetter(Word[0]) && !Context.Previous.empty();
  std::string found;
  for (const auto& key : MisprintCandidates(Frequencies(), FBlock, FrequencyKey(Word, Lcid()), Context))
    if (Lookup(key, found, false) && !(name && IsSmallLetter(found[0]))) AddSuggestion(Word, found, 1, 1, List);
}

bool TQLanguage::CanSpell(const std::string& Word) const {
  return std::all_of(Word.begin(), Word.end(), [this](char ch) {
    return static_cast<unsigned char>(ch) < 65 || FLetters.find(ch) != std::string::npos;
  });
}

bool TQLanguage::FitsCodePage(const std::u16string& Word) const {
  const unsigned codePage = LocaleAnsiCodePage(Lcid());
  if (codePage == 0) return false;
  return AnsiToWide(WideToAnsi(Word, codePage), codePage) == Word;
}

bool TQLanguage::IsCommonWord(const std::string& Word) const {
  SortWordLists();
  return FCommonWords.IndexOf(Word) >= 0;
}

void TQLanguage::AddUserWord(const std::string& Word) {
  const std::string word = Trim(Word);
  std::string found;
  if (word.empty() || FindUserWord(word, found, true) || CheckWord(word)) return;
  FUserWords.Add(word);
  WriteFileAtomic(FUserFileName, FUserWords.Text());
}

void TQLanguage::OpenDictionaries() {
  for (const auto& dictionary : FDictionaries) dictionary->Open();
}

void TQLanguage::CloseDictionaries() {
  for (const auto& dictionary : FDictionaries) dictionary->Close();
}

void TQLanguage::SetDefaultDictionaries() {
  for (const auto& dictionary : FDictionaries) dictionary->Enabled = dictionary->Header().OnByDefault() > 0;
}

void TQLanguage::SaveDictionaryStates() {
  for (const auto& dictionary : FDictionaries) dictionary->SavedEnabled = dictionary->Enabled;
}

void TQLanguage::ReevaluateDictionaries() {
  for (const auto& dictionary : FDictionaries) {
    if (!dictionary->IsReady()) {
      dictionary->Enabled = false;
      continue;
    }
    int readyInGroup = 0;
    bool savedInGroup = false;
    for (const auto& other : FDictionaries) {
      if (other->Header().GroupNumber() != dictionary->Header().GroupNumber() || !other->IsReady()) continue;
      ++readyInGroup;
      savedInGroup = savedInGroup || other->SavedEnabled;
    }
    dictionary->Enabled = readyInGroup == 1 || savedInGroup ? dictionary->SavedEnabled
                                                             : dictionary->Header().OnByDefault() > 0;
  }
}
