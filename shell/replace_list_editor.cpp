#include "shell/replace_list_editor.h"

#include <algorithm>

#include "platform/gui/rich_edit_control.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_attributes.h"

namespace {

constexpr int kFirstWindow = 4096;

}  // namespace

int TRichEditReplaceTarget::TextLength() { return editor_.Control().TextLength(); }

std::u16string TRichEditReplaceTarget::TextRange(int start, int length) {
  return editor_.Control().TextRange(start, start + length);
}

int TRichEditReplaceTarget::Find(const std::u16string& pattern, int from, int to, bool backward, bool wholeWord,
                                 bool matchCase) {
  const int length = int(pattern.size());
  if (length == 0 || to - from < length) return -1;
  const int options = (backward ? stBackward : 0) | (wholeWord ? stWholeWord : 0) | (matchCase ? stMatchCase : 0);
  // Windows that grow from the starting end, overlapping by the pattern length, so that a
  // run of many matches reads the text near each match only, not the whole rest of the range.
  int chunk = kFirstWindow;
  int a = backward ? std::max(from, to - chunk) : from;
  int b = backward ? to : std::min(to, from + chunk);
  for (;;) {
    const int at = editor_.FindTextW(pattern, backward ? b : a, b - a, options);
    if (at >= 0) return at;
    if ((backward ? a : b) == (backward ? from : to)) return -1;
    chunk *= 2;
    if (backward) {
      b = a + length - 1;
      a = std::max(from, b - chunk);
    } else {
      a = b - (length - 1);
      b = std::min(to, a + chunk);
    }
  }
}

void TRichEditReplaceTarget::Replace(int start, int length, const std::u16string& text, const TColor* mark) {
  editor_.SetSelStart(start);
  editor_.SetSelLength(length);
  editor_.SetSelTextW(text);
  // Plain text has one format for the whole text: marking it would colour everything.
  if (mark && !text.empty() && !editor_.PlainText()) {
    editor_.SetSelStart(start);
    editor_.SetSelLength(int(text.size()));
    editor_.SelAttributes()->SetColor(*mark);
  }
  editor_.SetSelStart(start + int(text.size()));
}

bool TRichEditReplaceTarget::LinkFilterAllows(int start, int length, int filter) {
  editor_.SetSelStart(start);
  editor_.SetSelLength(length > 0 ? 1 : 0);
  const TTextAttributesW& attributes = *editor_.SelAttributes();
  switch (filter) {
    case 1: return attributes.Link();
    case 2: return !attributes.Link();
    case 3: return !attributes.Emboss();
    case 4: return !attributes.Imprint();
    default: return true;
  }
}
