// The correction engine's editor over plain code page 1251 text held in memory: the quality
// program and callers without a window correct text through it.
#pragma once

#include <string>

#include "proofing/correction_editor.h"

class TTextCorrectionEditor : public ICorrectionEditor {
public:
  explicit TTextCorrectionEditor(std::string AText = {}) { SetText(std::move(AText)); }

  // The whole text.
  const std::string& Text();
  void SetText(std::string AText);

  int TextLength() override { return static_cast<int>(FBuffer.size() - FGapLength); }
  std::string TextRange(int Start, int End) override;
  void GetSelection(int& Start, int& End) override {
    Start = FSelStart;
    End = FSelEnd;
  }
  void SetSelection(int Start, int End) override;
  // Costs the text between this replacement and the one before it, so that a pass replacing
  // word after word through the text stays linear.
  void Replace(int Start, int End, const std::string& NewText) override;
  // Plain text has no colours, languages, links or outline.
  void SetColour(int, int, unsigned) override {}
  void SetLanguage(int, int, LCID) override {}
  bool HasLink(int, int) override { return false; }
  bool HasOutline(int, int) override { return false; }
  void SetRedraw(bool) override {}
  void SetHideSelection(bool) override {}

private:
  // The text with a gap of FGapLength unused bytes at FGapStart, where the last replacement was.
  void MoveGap(size_t Position);
  std::string FBuffer;
  size_t FGapStart = 0, FGapLength = 0;
  int FSelStart = 0, FSelEnd = 0;
};
