// TQAnalyser: the scans of a correction engine before and after its word pass: counting,
// marking mathematical and HTML text, collecting and marking new-word candidates, and
// validating the result. Its marks go to the engine's mark store, never into the user's
// formatting.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/string_list.h"
#include "proofing/text_scanner.h"

class TQGrammar;
class TQSchema;

class TQAnalyser : public TObject {
public:
  explicit TQAnalyser(TQGrammar& Engine);

  // Mode 0 starts a pass (range, counters, entry lists); 1 mathematical text, 2 HTML, 3 new-word
  // candidates, 4 marks candidates, 5 and 6 post-validation.
  void Scan(int Mode);
  // Drops candidates as the pass options say (a dropped one keeps its count negated).
  void DropCandidates(bool SuspectNew, bool PreserveSpecial);
  bool HasCandidates() const;
  // Strips one inflection ending from a word longer than `LimitDecline`.
  std::string StripEnding(const std::string& Word) const;
  bool IsAbbreviation(const std::string& Word, const std::string& Sep, bool HasNext) const;

  int RangeStart = 0, RangeLength = 0;
  std::string SkipSubstring;
  bool AssumeNoTranslit = false;
  int Counted = 0, Valid = 0, Fixed2 = 0, Fixed3 = 0;
  std::vector<std::string> Unrecognised, NewWordEntries;
  std::map<std::string, int> Candidates;  // word -> times seen (negated: dropped)
  std::vector<std::string> Shortened;     // sorted

private:
  static bool ScanWordCallback(TObject* Owner, TStringList& Words, TStringList& Separators, int Percent);
  bool ScanWord(TStringList& Words, TStringList& Separators, int Percent);
  bool Acceptable(const std::string& Word, bool Address) const;
  bool IsShortened(const std::string& Word) const;
  int CountOf(const std::string& Word) const;

  TQGrammar& FEngine;
  TTextScanner FScanner;
  int FMode = 0, FRemoved = 0;
  std::string FPreviousSep;
};
