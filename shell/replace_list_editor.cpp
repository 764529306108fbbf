#include "shell/replace_list_editor.h"

#include "platform/gui/rich_edit_control.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_attributes.h"

int TRichEditReplaceTarget::TextLength() { return editor_.Control().TextLength(); }

std::u16string TRichEditReplaceTarget::TextRange(int start, int length) {
  return editor_.Control().TextRange(start, start + length);
}

int TRichEditReplaceTarget::Find(const std::u16string& pattern, int from, int to, bool backward, bool wholeWord,
                                 bool matchCase) {
  if (to <= from) return -1;
  const int options = (backward ? stBackward : 0) | (wholeWord ? stWholeWord : 0) | (matchCase ? stMatchCase : 0);
  return editor_.FindTextW(pattern, backward ? to : from, to - from, options);
}

void TRichEditReplaceTarget::Replace(int start, int length, const std::u16string& text, const TColor* mark) {
  editor_.SetSelStart(start);
  editor_.SetSelLength(length);
  editor_.SetSelTextW(text);
  if (mark && !text.empty()) {
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
