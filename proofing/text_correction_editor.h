// The correction engine's editor over plain code page 1251 text held in memory: the quality
// program and callers without a window correct text through it.
#pragma once

#include <string>

#include "proofing/correction_editor.h"

class TTextCorrectionEditor : public ICorrectionEditor {
public:
  explicit TTextCorrectionEditor(std::string Text = {}) : Text(std::move(Text)) {}

  int TextLength() override { return static_cast<int>(Text.size()); }
  std::string TextRange(int Start, int End) override;
  void GetSelection(int& Start, int& End) override {
    Start = FSelStart;
    End = FSelEnd;
  }
  void SetSelection(int Start, int End) override;
  void Replace(int Start, int End, const std::string& NewText) override;
  // Plain text has no colours, languages, links or outline.
  void SetColour(int, int, unsigned) override {}
  void SetLanguage(int, int, LCID) override {}
  bool HasLink(int, int) override { return false; }
  bool HasOutline(int, int) override { return false; }
  void SetRedraw(bool) override {}
  void SetHideSelection(bool) override {}

  std::string Text;

private:
  int FSelStart = 0, FSelEnd = 0;
};
