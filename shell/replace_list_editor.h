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

private:
  TCustomRichEditW& editor_;
};
