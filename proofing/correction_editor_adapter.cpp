#include "proofing/correction_editor_adapter.h"

#include <string>

#include "platform/code_pages.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/rich_text.h"
#include "textcore/rich_edit.h"

TRichEditCorrectionEditor::~TRichEditCorrectionEditor() { SetRedraw(true); }

int TRichEditCorrectionEditor::TextLength() { return FEdit.Control().TextLength(); }

std::string TRichEditCorrectionEditor::TextRange(int Start, int End) {
  // One byte per character position: characters outside code page 1251 read as "?", and each
  // half of a surrogate pair too, so that the positions of the later text stay the control's.
  std::u16string text = FEdit.Control().TextRange(Start, End);
  for (char16_t& c : text)
    if (c >= 0xD800 && c <= 0xDFFF) c = u'?';
  return WideToAnsi(text, 1251);
}

void TRichEditCorrectionEditor::GetSelection(int& Start, int& End) {
  Start = FEdit.Control().SelStart();
  End = FEdit.Control().SelEnd();
}

void TRichEditCorrectionEditor::SetSelection(int Start, int End) { FEdit.Control().SetSel(Start, End); }

void TRichEditCorrectionEditor::Replace(int Start, int End, const std::string& Text) {
  FEdit.Control().SetSel(Start, End);
  FEdit.Control().ReplaceSel(AnsiToWide(Text, 1251));
}

void TRichEditCorrectionEditor::SetColour(int Start, int End, unsigned Colour) {
  TCharFormat format;
  format.Color = Colour;
  FEdit.Control().MarkRange(Start, End, format, CFM_COLOR);
}

void TRichEditCorrectionEditor::SetLanguage(int Start, int End, LCID Lcid) {
  TCharFormat format;
  format.Lcid = Lcid;
  FEdit.Control().MarkRange(Start, End, format, CFM_LCID);
}

bool TRichEditCorrectionEditor::HasLink(int Start, int End) {
  if (End <= Start) return false;
  if (!FEdit.Control().AutoLinkRanges(Start, End).empty()) return true;
  return FEdit.Control().CharFormatAt(Start).Link || FEdit.Control().CharFormatAt(End - 1).Link;
}

bool TRichEditCorrectionEditor::HasOutline(int Start, int End) {
  if (End <= Start) return false;
  return FEdit.Control().CharFormatAt(Start).Outline || FEdit.Control().CharFormatAt(End - 1).Outline;
}

void TRichEditCorrectionEditor::SetRedraw(bool On) {
  if (On == !FRedrawOff) return;
  FRedrawOff = !On;
  if (On) FEdit.EndUpdate();
  else FEdit.BeginUpdate();
}

void TRichEditCorrectionEditor::SetHideSelection(bool Hide) { FEdit.Control().HideSelection(Hide); }
