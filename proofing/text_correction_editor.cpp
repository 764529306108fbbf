#include "proofing/text_correction_editor.h"

#include <algorithm>
#include <cstring>

const std::string& TTextCorrectionEditor::Text() {
  MoveGap(static_cast<size_t>(TextLength()));
  FBuffer.resize(FGapStart);
  FGapLength = 0;
  return FBuffer;
}

void TTextCorrectionEditor::SetText(std::string AText) {
  FBuffer = std::move(AText);
  FGapStart = FBuffer.size();
  FGapLength = 0;
}

void TTextCorrectionEditor::MoveGap(size_t Position) {
  char* buffer = FBuffer.data();
  if (Position < FGapStart)
    std::memmove(buffer + Position + FGapLength, buffer + Position, FGapStart - Position);
  else if (Position > FGapStart)
    std::memmove(buffer + FGapStart, buffer + FGapStart + FGapLength, Position - FGapStart);
  FGapStart = Position;
}

std::string TTextCorrectionEditor::TextRange(int Start, int End) {
  const int length = TextLength();
  const auto start = static_cast<size_t>(std::clamp(Start, 0, length));
  const auto end = static_cast<size_t>(std::clamp(End, static_cast<int>(start), length));
  std::string range;
  range.reserve(end - start);
  if (start < FGapStart) range.append(FBuffer, start, std::min(end, FGapStart) - start);
  if (end > FGapStart) {
    const size_t from = std::max(start, FGapStart);
    range.append(FBuffer, from + FGapLength, end - from);
  }
  return range;
}

void TTextCorrectionEditor::SetSelection(int Start, int End) {
  const int length = TextLength();
  FSelStart = std::clamp(std::min(Start, End), 0, length);
  FSelEnd = std::clamp(std::max(Start, End), 0, length);
}

void TTextCorrectionEditor::Replace(int Start, int End, const std::string& NewText) {
  const int length = TextLength();
  Start = std::clamp(Start, 0, length);
  End = std::clamp(End, Start, length);
  MoveGap(static_cast<size_t>(Start));
  FGapLength += static_cast<size_t>(End - Start);
  if (NewText.size() > FGapLength) {
    // The gap grows with the text, so that growing it costs a constant share of each byte.
    const size_t grow = NewText.size() - FGapLength + FBuffer.size() / 2 + 64;
    FBuffer.insert(FGapStart + FGapLength, grow, '\0');
    FGapLength += grow;
  }
  std::memcpy(FBuffer.data() + FGapStart, NewText.data(), NewText.size());
  FGapStart += NewText.size();
  FGapLength -= NewText.size();
  FSelStart = FSelEnd = Start + static_cast<int>(NewText.size());
}
