// The replace engine's view of a rich text control: its UTF-16 text, its find, replacement
// through the selection (undoable) and the character attributes of the link filter.
#pragma once

#include "shell/replace_list_engine.h"

class TCustomRichEditW;

class TRichEditReplaceTarget : public TReplaceTarget {
public:
  explicit TRichEditReplaceTarget(TCustomRichEditW& editor) : editor_(editor) {}
  int TextLength() override;
  std::u16string TextRange(int start, int length) override;
  int Find(const std::u16string& pattern, int from, int to, bool backward, bool wholeWord, bool matchCase) override;
  void Replace(int start, int length, const std::u16string& text, const TColor* mark) override;
  bool LinkFilterAllows(int start, int length, int filter) override;
  // While on (a replace run that edits only through this target), forward finds read one copy
  // of the whole text instead of windows near each match.
  void KeepTextCopy(bool keep);

private:
  // Forward finds read a copy of the whole text, taken once and kept while the replacements
  // made through this target lie before where the finds look: from `validFrom_` on, the text
  // is the copy's shifted by `shift_` (position = index + shift_). One character before
  // `validFrom_` is kept right in the copy for the whole-word test.
  bool CopyCovers(int from);
  std::u16string copy_;
  bool keepCopy_ = false, haveCopy_ = false;
  int validFrom_ = 0, shift_ = 0;
  TCustomRichEditW& editor_;
};
