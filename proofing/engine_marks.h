// The engine's own per-character marks (shadow: leave alone, emboss: spaced or tag separators,
// imprint: new-word candidate), kept beside the editor so that the user's formatting is never
// used or changed for them. Replacements in the text are mirrored with Splice.
#pragma once

#include <cstdint>
#include <vector>

enum TEngineMark : std::uint8_t { emkShadow = 1, emkEmboss = 2, emkImprint = 4 };

class TEngineMarks {
public:
  // Clears every mark for a text of `Length` characters.
  void Reset(int Length);
  void Set(int Start, int End, TEngineMark Mark, bool On);
  // True when a character of Start..End carries the mark.
  bool Any(int Start, int End, TEngineMark Mark) const;
  // The text from Start (OldLength characters) was replaced by NewLength characters. Splices
  // that move forward through the text are collected and applied in one go when needed.
  void Splice(int Start, int OldLength, int NewLength);

private:
  struct TSplice {
    int Start, OldLength, NewLength;
  };
  // Maps a range after every collected splice to the marks' own positions; applies the
  // collected splices first when the range lies before one of them.
  void Map(int& Start, int& End) const;
  void Flush() const;

  mutable std::vector<std::uint8_t> FMarks;
  mutable std::vector<TSplice> FPending;
  mutable int FShift = 0;  // characters added by the collected splices
  mutable int FPendingEnd = 0;  // the end of the last collected splice, in current positions
};
