#include "proofing/correction_editor_adapter.h"

#include <string>

#include "platform/code_pages.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/rich_text.h"
#include "textcore/rich_edit.h"

TRichEditCorrectionEditor::~TRichEditCorrectionEditor() { SetRedraw(true); }

int TRichEditCorrectionEditor::TextLength() { return FEdit.Control().TextLength(); }

std::string TRichEditCorrectionEditor::TextRange(int Start, int End) {
  // One byte per character position: characters outside code page 1251 read as "?".
  return WideToAnsi(FEdit.Control().TextRange(Start, End), 1251);
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
  if (!FEdit.Control().AutoLinkRanges(Start, End).empty()) return true;
  for (int i = Start; i < End; ++i)
    if (FEdit.Control().CharFormatAt(i).Link) return true;
  return false;
}

bool TRichEditCorrectionEditor::HasOutline(int Start, int End) {
  for (int i = Start; i < End; ++i)
    if (FEdit.Control().CharFormatAt(i).Outline) return true;
  return false;
}

void TRichEditCorrectionEditor::SetRedraw(bool On) {
  if (On == !FRedrawOff) return;
  FRedrawOff = !On;
  if (On) FEdit.EndUpdate();
  else FEdit.BeginUpdate();
}

void TRichEditCorrectionEditor::SetHideSelection(bool Hide) { FEdit.Control().HideSelection(Hide); }
