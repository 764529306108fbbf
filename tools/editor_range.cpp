#include "tools/editor_range.h"

#include "platform/gui/rich_edit_control.h"
#include "platform/rich_text.h"
#include "textcore/rich_edit.h"

TEditorRange EditorWorkRange(TRichEditW& editor) {
  if (editor.SelLength() > 0) return {editor.SelStart(), editor.GetSelTextW()};
  return {0, editor.GetTextW()};
}

namespace {

void FormatRange(TRichEditW& editor, int start, int end, const TCharFormat& format, uint32_t mask) {
  editor.Control().SetSel(start, end);
  editor.Control().SetCharFormat(format, mask, TRichFormatTarget::Selection);
}

TCharFormat ColourFormat(TColor colour) {
  TCharFormat format;
  format.Color = uint32_t(ColorToRGB(colour));
  return format;
}

TCharFormat LanguageFormat(unsigned lcid) {
  TCharFormat format;
  format.Lcid = lcid;
  return format;
}

}  // namespace

TEditorMarks::TEditorMarks(TRichEditW& editor) : editor_(editor), plain_(editor.PlainText()) {}

void TEditorMarks::Colour(int start, int end, TColor colour) {
  if (plain_) {
    colourSet_ = true;
    colour_ = colour;
  } else {
    FormatRange(editor_, start, end, ColourFormat(colour), CFM_COLOR);
  }
}

void TEditorMarks::Language(int start, int end, unsigned lcid) {
  if (plain_) {
    languageSet_ = true;
    lcid_ = lcid;
  } else {
    FormatRange(editor_, start, end, LanguageFormat(lcid), CFM_LCID);
  }
}

void TEditorMarks::Finish() {
  const int length = editor_.Control().TextLength();
  if (colourSet_) FormatRange(editor_, 0, length, ColourFormat(colour_), CFM_COLOR);
  if (languageSet_) FormatRange(editor_, 0, length, LanguageFormat(lcid_), CFM_LCID);
  colourSet_ = languageSet_ = false;
}
