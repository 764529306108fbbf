// TQLanguage: one language of the spelling checker: its descriptor (".qlx": locale, letters,
// letter tables, common words), the dictionaries of its locale, the user dictionary (".qud") and
// the word frequencies (".qwf").
// It says whether a word is valid, which corrections are near a word and whether a word can be
// written with its letters.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "proofing/dictionary.h"
#include "proofing/language_format.h"
#include "proofing/letter_model.h"
#include "proofing/misprint.h"
#include "proofing/suggestions.h"
#include "textcore/xstring_list.h"

// Shows an error message with an OK button.
using TSpellErrorEvent = std::function<void(const std::string& Message)>;

// Flags of TQLanguage::Suggest.
enum : int {
  sfTranspose = 1,
  sfCase = 2,
  sfInsert = 4,
  sfDelete = 8,
  sfSubstitute = 16,
  sfSplit = 32,
  sfMatchCase = 64,     // look-ups keep the case rule; letter tables bound the candidates
  sfAllLetters = 128,   // the whole alphabet at every position
  sfMisspelt = 0xBF,    // flags for an unknown word
  sfMisprint = 0x5D,    // flags for a valid word that may be a misprint
};

class TQLanguage : public TObject {
public:
  // Reads the descriptor and the user dictionary beside it; the word frequencies beside it are
  // read when first needed. A short or unreadable descriptor is reported through `OnError`
  // ("Language descriptor <name> is corrupt.") and kept as read; damaged word frequencies are
  // reported (when read) and left out.
  explicit TQLanguage(const std::string& DescriptorFileName, const TSpellErrorEvent& OnError = {});

  LCID Lcid() const { return FBlock.Lcid(); }
  std::string Name() const { return FBlock.Name(); }
  const TQLanguageBlock& Block() const { return FBlock; }
  const std::string& UserFileName() const { return FUserFileName; }
  // The alphabet followed by the alphabet in capitals.
  const std::string& Letters() const { return FLetters; }

  // Dictionaries (owned), in the order they were added.
  void AddDictionary(std::unique_ptr<TQDictionary> Dictionary);
  int DictionaryCount() const { return static_cast<int>(FDictionaries.size()); }
  TQDictionary& Dictionary(int Index) const { return *FDictionaries[Index]; }
  // The dictionary whose data file base name, in small letters, is `BaseName`; null when none.
  TQDictionary* FindDictionary(const std::string& BaseName) const;

  // The first enabled dictionary that holds the word, else the user dictionary.
  bool Lookup(const std::string& Word, std::string& Found, bool MatchCase);
  // Valid in this language: a known word, a known word or abbreviation of capitals with a final
  // dot, or a hyphenated word whose pieces pass.
  bool CheckWord(const std::string& Word);
  // Adds the known words at edit distance one from `Word` to `List` (flags above), step by step;
  // with sfAllLetters, when none is found, those two common slips away (from four letters on).
  void Suggest(const std::string& Word, TSuggestionList& List, int Flags);
  // Reorders the entries from `From` on so that the likeliest corrections of `Word` come first:
  // by CorrectionCost, and with word frequencies by the cost weighed against how common each
  // correction is (CandidateClass); entries of equal rank keep their order.
  void RankSuggestions(const std::string& Word, TSuggestionList& List, int From) const;
  // The frequency class of a correction; for two words, that of the pair, else that of the
  // rarer word less a penalty.
  int CandidateClass(const std::string& Candidate) const;
  // How unlikely the slip is that turning `Word` into `Candidate` undoes: 0 a change of case;
  // 1 swapped neighbours, a doubled letter typed single or a single one doubled, a left-out
  // insertion letter (a vowel) or a letter the similar-letters table pairs with the one typed;
  // 2 another left-out letter or a missing blank; 3 anything else. A name offered for a word in
  // small letters costs 2 more.
  int CorrectionCost(const std::string& Word, const std::string& Candidate) const;
  // Adds the frequent words that the valid `Word` is likely a slip for (see MisprintCandidates),
  // likeliest first, in the word's case; nothing without word frequencies, for a word in
  // capitals, or for a capitalised word after another word (a name) but names meant.
  void SuggestMisprints(const std::string& Word, const TMisprintContext& Context, TSuggestionList& List);
  // The word frequencies, read from the ".qwf" on the first call.
  const TWordFrequencies& Frequencies() const;
  // The letter model (".qlm" beside the descriptor), read on the first call; empty without one.
  const TLetterModel& LetterModel() const;
  // Every character from code 65 on is one of the language's letters.
  bool CanSpell(const std::string& Word) const;
  // The word survives a round trip through the language's code page.
  bool FitsCodePage(const std::u16string& Word) const;
  // In the common-words list (never suspected as a misprint).
  bool IsCommonWord(const std::string& Word) const;

  bool FindUserWord(const std::string& Word, std::string& Found, bool MatchCase) const;
  // Adds a trimmed, new and otherwise invalid word to the user dictionary and rewrites the
  // ".qud" atomically (written beside it, then renamed over it).
  void AddUserWord(const std::string& Word);
  const TXStringList& UserWords() const {
    SortWordLists();
    return FUserWords;
  }

  void OpenDictionaries();
  void CloseDictionaries();
  // Every dictionary to its on-by-default state.
  void SetDefaultDictionaries();
  // Every dictionary's Enabled into its saved copy.
  void SaveDictionaryStates();
  // The group rule: not ready dictionaries off; alone in their group, or in a group where some
  // ready dictionary's saved copy is set, their saved copy; else their default.
  void ReevaluateDictionaries();

  bool Active = true;

private:
  void AddSuggestion(const std::string& Word, const std::string& Candidate, int Position, int Kind,
                     TSuggestionList& List) const;
  // Adds the known words two slips away from `Word` (one edit of any kind, then a letter struck
  // extra, a letter doubled or two neighbours swapped); for a word one edit finds nothing for.
  void SuggestTwoEdits(const std::string& Word, TSuggestionList& List);
  // Adds the stored form of `Candidate` when a look-up finds it.
  void TryCandidate(const std::string& Word, const std::string& Candidate, int Position, int Flags,
                    TSuggestionList& List);

  // Sorts the word lists by the language's collation when they are first searched: the languages
  // are read at start-up, which needs no collation.
  void SortWordLists() const;

  std::string FDescriptorFileName;
  std::string FUserFileName;
  TQLanguageBlock FBlock;
  mutable TXStringList FCommonWords;
  mutable TXStringList FOtherWords;
  std::string FLetters;
  mutable TXStringList FUserWords;
  mutable bool FWordListsSorted = false;
  TSpellErrorEvent FOnError;
  mutable std::string FFrequencyFile;  // word frequencies still to be read
  mutable TWordFrequencies FFrequencies;
  mutable std::string FLetterModelFile;  // letter model still to be read
  mutable TLetterModel FLetterModel;
  std::vector<std::unique_ptr<TQDictionary>> FDictionaries;
};
