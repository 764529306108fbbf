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

}  // namespace

void ColourEditorRange(TRichEditW& editor, int start, int end, TColor colour) {
  TCharFormat format;
  format.Color = uint32_t(ColorToRGB(colour));
  FormatRange(editor, start, end, format, CFM_COLOR);
}

void SetEditorRangeLanguage(TRichEditW& editor, int start, int end, unsigned lcid) {
  TCharFormat format;
  format.Lcid = lcid;
  FormatRange(editor, start, end, format, CFM_LCID);
}
