// TTextScanner: cuts code page 1251 text into words, each with the run of separators that
// follows it, and hands them to its owner as a sliding window of BatchSize words.
#pragma once

#include <string>

#include "platform/object.h"
#include "platform/string_list.h"
#include "textcore/string_routines.h"

// Called for the first word of `Words` (the rest is look-ahead); true stops the scan.
// Objects of both lists are 0-based offsets in the scanned text (cast from TObject*).
using TScannerWordsEvent = bool (*)(TObject* Owner, TStringList& Words, TStringList& Separators, int Percent);

class TTextScanner : public TObject {
public:
  TTextScanner();

  // Scans `AText` from the start, calling OnWords for every word (see the header comment).
  void Scan(const std::string& AText);

  // The offset stored as the object of an entry of Words or Separators.
  static int OffsetOf(const TStringList& List, int Index);

  std::string Text;
  TScannerWordsEvent OnWords = nullptr;
  TObject* Owner = nullptr;
  TStringList Words;
  TStringList Separators;
  int BatchSize = 1;
  TCharSet SeparatorChars;
  bool HtmlAware = false;
};

// The default separator set: control characters, blank, the double quote, comma, semicolon,
// back quote, vertical bar, curly double quotes, bullet, em dash and angle quotes.
TCharSet DefaultScannerSeparators();
// The correction engine's separator set, also the word-delimiter set of its word routines.
TCharSet EngineWordDelimiters();
