#include "proofing/spell_editor_adapter.h"

#include "platform/gui/rich_edit_control.h"
#include "textcore/rich_edit.h"
#include "platform/rich_text.h"

TRichEditSpellEditor::~TRichEditSpellEditor() { SetRedraw(true); }

std::u16string TRichEditSpellEditor::Text() { return FEdit.GetTextW(); }

void TRichEditSpellEditor::GetSelection(int& Start, int& End) {
  Start = FEdit.SelStart();
  End = Start + FEdit.SelLength();
}

void TRichEditSpellEditor::SetSelection(int Start, int End) { FEdit.Control().SetSel(Start, End); }

void TRichEditSpellEditor::ReplaceSelection(const std::u16string& Text) { FEdit.SetSelTextW(Text); }

LCID TRichEditSpellEditor::LanguageAt(int Position) {
  const LCID lcid = FEdit.Control().CharFormatAt(Position).Lcid;
  return lcid ? lcid : FEdit.Language();
}

void TRichEditSpellEditor::SetLanguage(int Start, int End, LCID Lcid) {
  TCharFormat format;
  format.Lcid = Lcid;
  FEdit.Control().MarkRange(Start, End, format, CFM_LCID);
}

void TRichEditSpellEditor::ResetBackground(int Start, int End) { MarkBackground(Start, End, RichAutoColor); }

void TRichEditSpellEditor::MarkBackground(int Start, int End, unsigned Colour) {
  TCharFormat format;
  format.BackColor = Colour;
  FEdit.Control().MarkRange(Start, End, format, CFM_BACKCOLOR);
}

void TRichEditSpellEditor::SetRedraw(bool On) {
  if (On == !FRedrawOff) return;
  FRedrawOff = !On;
  if (On) FEdit.EndUpdate();
  else FEdit.BeginUpdate();
}

void TRichEditSpellEditor::SetHideSelection(bool Hide) { FEdit.Control().HideSelection(Hide); }

void TRichEditSpellEditor::SetOnTextChange(TTextChange Handler) {
  if (!Handler) {
    FEdit.OnTextChange = nullptr;
    return;
  }
  FEdit.OnTextChange = [Handler = std::move(Handler)](TObject*, int Pos, int Removed, int Added) {
    Handler(Pos, Removed, Added);
  };
}
