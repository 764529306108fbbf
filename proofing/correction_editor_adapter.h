// The correction engine's view of a rich text control: positions are the control's own (a
// paragraph end counts as one character), 8-bit text is code page 1251.
#pragma once

#include "proofing/correction_editor.h"

class TCustomRichEditW;

class TRichEditCorrectionEditor : public ICorrectionEditor {
public:
  explicit TRichEditCorrectionEditor(TCustomRichEditW& Edit) : FEdit(Edit) {}
  // Resumes redrawing when a pass left it suspended.
  ~TRichEditCorrectionEditor() override;

  int TextLength() override;
  std::string TextRange(int Start, int End) override;
  void GetSelection(int& Start, int& End) override;
  void SetSelection(int Start, int End) override;
  // One undo step; the new text takes the format of the replaced one.
  void Replace(int Start, int End, const std::string& Text) override;
  void SetColour(int Start, int End, unsigned Colour) override;
  void SetLanguage(int Start, int End, LCID Lcid) override;
  // The user's links and detected addresses.
  bool HasLink(int Start, int End) override;
  bool HasOutline(int Start, int End) override;
  void SetRedraw(bool On) override;
  void SetHideSelection(bool Hide) override;

private:
  TCustomRichEditW& FEdit;
  bool FRedrawOff = false;
};
