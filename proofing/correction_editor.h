// The correction engine's view of an editor: code page 1251 text with one byte per character
// position (0-based), selection, in-place replacement, the marking colour and language of a
// range, and the user's link and outline attributes, which the engine reads but never changes.
#pragma once

#include <string>

#include "platform/locale.h"

class ICorrectionEditor {
public:
  virtual ~ICorrectionEditor() = default;
  virtual int TextLength() = 0;
  // The text from Start to End (End excluded).
  virtual std::string TextRange(int Start, int End) = 0;
  virtual void GetSelection(int& Start, int& End) = 0;
  virtual void SetSelection(int Start, int End) = 0;
  // Replaces Start..End by `Text`; the new text takes the format of the replaced one.
  virtual void Replace(int Start, int End, const std::string& Text) = 0;
  virtual void SetColour(int Start, int End, unsigned Colour) = 0;
  virtual void SetLanguage(int Start, int End, LCID Lcid) = 0;
  // True when a character of the range is a link (the user's, or a detected address).
  virtual bool HasLink(int Start, int End) = 0;
  virtual bool HasOutline(int Start, int End) = 0;
  virtual void SetRedraw(bool On) = 0;
  virtual void SetHideSelection(bool Hide) = 0;
};
