#include "proofing/text_correction_editor.h"

#include <algorithm>

std::string TTextCorrectionEditor::TextRange(int Start, int End) {
  const int length = TextLength();
  Start = std::clamp(Start, 0, length);
  End = std::clamp(End, Start, length);
  return Text.substr(Start, End - Start);
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
  Text.replace(Start, End - Start, NewText);
  FSelStart = FSelEnd = Start + static_cast<int>(NewText.size());
}
