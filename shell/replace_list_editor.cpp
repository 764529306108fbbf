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

void TRichEditReplaceTarget::KeepTextCopy(bool keep) {
  keepCopy_ = keep;
  haveCopy_ = false;
  if (!keep) std::u16string().swap(copy_);
}

bool TRichEditReplaceTarget::CopyCovers(int from) {
  if (!keepCopy_) return false;
  const int length = TextLength();
  if (haveCopy_ && from >= validFrom_ && int(copy_.size()) + shift_ == length) return true;
  // Anything else changed the text, or the find looks before the last replacement: read anew.
  copy_ = editor_.Control().TextRange(0, length);
  haveCopy_ = true;
  validFrom_ = shift_ = 0;
  return true;
}

int TRichEditReplaceTarget::Find(const std::u16string& pattern, int from, int to, bool backward, bool wholeWord,
                                 bool matchCase) {
  const int length = int(pattern.size());
  if (length == 0 || to - from < length) return -1;
  const int options = (backward ? stBackward : 0) | (wholeWord ? stWholeWord : 0) | (matchCase ? stMatchCase : 0);
  if (!backward && CopyCovers(from)) {
    const unsigned flags = FR_DOWN | (wholeWord ? FR_WHOLEWORD : 0) | (matchCase ? FR_MATCHCASE : 0);
    const int at = RichEditControl::FindInText(copy_, pattern, from - shift_, to - shift_, flags);
    return at < 0 ? -1 : at + shift_;
  }
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
  const int lengthBefore = TextLength();
  editor_.SetSelStart(start);
  editor_.SetSelLength(length);
  editor_.SetSelTextW(text);
  // The copy still holds what follows the replacement; the character just before that is the
  // replacement's last (or, when it was a deletion, the text's before it).
  const int end = start + int(text.size());
  const int before = end - 1 - (shift_ + int(text.size()) - length);
  if (haveCopy_ && start >= validFrom_ && end > 0 && before >= 0 &&
      TextLength() == lengthBefore + int(text.size()) - length) {
    shift_ += int(text.size()) - length;
    validFrom_ = end;
    copy_[size_t(before)] = text.empty() ? editor_.Control().TextRange(end - 1, end)[0] : text.back();
  } else {
    haveCopy_ = false;
  }
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
