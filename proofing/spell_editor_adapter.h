// The spelling component's view of a rich text control: the editor of a document check.
#pragma once

#include "proofing/spell_interfaces.h"

class TCustomRichEditW;

// Works on the control's own text and positions (a paragraph end counts as one character).
// The language of a position is the one its characters carry, else the control's Language.
class TRichEditSpellEditor : public ISpellEditor {
public:
  explicit TRichEditSpellEditor(TCustomRichEditW& Edit) : FEdit(Edit) {}
  // Resumes redrawing when a check left it suspended.
  ~TRichEditSpellEditor() override;

  std::u16string Text() override;
  void GetSelection(int& Start, int& End) override;
  void SetSelection(int Start, int End) override;
  // Replaces the selection (one undo step); the new text takes the format of the replaced one.
  void ReplaceSelection(const std::u16string& Text) override;
  LCID LanguageAt(int Position) override;
  void SetLanguage(int Start, int End, LCID Lcid) override;
  void ResetBackground(int Start, int End) override;
  void MarkBackground(int Start, int End, unsigned Colour) override;
  // Holds the control's update lock while redrawing is off, so nested locks keep working.
  void SetRedraw(bool On) override;
  // Hides the selection's highlight without changing the control's HideSelection property.
  void SetHideSelection(bool Hide) override;
  // Follows the control's OnTextChange.
  void SetOnTextChange(TTextChange Handler) override;

private:
  TCustomRichEditW& FEdit;
  bool FRedrawOff = false;
};
