#include "proofing/engine_marks.h"

#include <algorithm>

void TEngineMarks::Reset(int Length) {
  FMarks.assign(static_cast<size_t>(std::max(Length, 0)), 0);
  FPending.clear();
  FShift = FPendingEnd = 0;
}

void TEngineMarks::Flush() const {
  if (FPending.empty()) return;
  std::vector<std::uint8_t> marks;
  marks.reserve(FMarks.size());
  int from = 0, shift = 0;  // next original position to copy; shift of the current positions
  for (const TSplice& splice : FPending) {
    const int originalStart = std::clamp(splice.Start - shift, from, static_cast<int>(FMarks.size()));
    marks.insert(marks.end(), FMarks.begin() + from, FMarks.begin() + originalStart);
    const int originalEnd = std::min(originalStart + splice.OldLength, static_cast<int>(FMarks.size()));
    const std::uint8_t keep = originalEnd > originalStart ? FMarks[originalStart] : 0;
    marks.insert(marks.end(), static_cast<size_t>(std::max(splice.NewLength, 0)), keep);
    from = originalEnd;
    shift += splice.NewLength - splice.OldLength;
  }
  marks.insert(marks.end(), FMarks.begin() + from, FMarks.end());
  FMarks.swap(marks);
  FPending.clear();
}

void TEngineMarks::Map(int& Start, int& End) const {
  if (FPending.empty()) return;
  if (Start < FPendingEnd) {
    Flush();
    FShift = 0;
    FPendingEnd = 0;
    return;
  }
  Start -= FShift;
  End -= FShift;
}

void TEngineMarks::Set(int Start, int End, TEngineMark Mark, bool On) {
  Map(Start, End);
  const int size = static_cast<int>(FMarks.size());
  for (int i = std::max(0, Start); i < std::min(End, size); ++i)
    FMarks[i] = On ? (FMarks[i] | Mark) : (FMarks[i] & ~Mark);
}

bool TEngineMarks::Any(int Start, int End, TEngineMark Mark) const {
  Map(Start, End);
  const int size = static_cast<int>(FMarks.size());
  for (int i = std::max(0, Start); i < std::min(End, size); ++i)
    if (FMarks[i] & Mark) return true;
  return false;
}

void TEngineMarks::Splice(int Start, int OldLength, int NewLength) {
  if (Start < FPendingEnd) {
    Flush();
    FShift = 0;
  }
  FPending.push_back(TSplice{Start, OldLength, NewLength});
  FShift += NewLength - OldLength;
  FPendingEnd = Start + NewLength;
}
