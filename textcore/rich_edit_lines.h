// The lines of a TRichEditW: its paragraphs, as 8-bit strings in the control's code page
// (Lines) and as UTF-16 strings (WideLines). Lines also loads and saves the whole text, or the
// selection, as plain text, Unicode text or RTF (rich_edit_streaming.h).
#pragma once

#include "platform/string_list.h"
#include "textcore/rich_edit_wide_strings.h"

class TCustomRichEditW;

class TWideRichEditStringsW : public TWideStrings {
public:
  explicit TWideRichEditStringsW(TCustomRichEditW& owner) : owner_(owner) {}

  // The paragraphs; an empty last paragraph is not counted.
  int GetCount() const override;
  // The paragraph's text without its end; empty for an index that names none.
  std::u16string Get(int Index) const override;
  // Replaces the paragraph's text (not undoable).
  void Put(int Index, const std::u16string& S) override;
  // Inserts S as a paragraph before paragraph `Index`, or after the last one for an Index
  // past it (nothing when that paragraph is empty or absent). Raises EOutOfResources
  // "RichEdit line insertion error" when the text did not land where it belongs.
  void Insert(int Index, const std::u16string& S) override;
  void Delete(int Index) override;
  void Clear() override;
  void SetUpdateState(bool Updating) override;
  // The paragraphs of `Text` in one change, without change events.
  void SetText(const std::u16string& Text) override;
  void AddStrings(const TWideStrings& Strings) override;
  void SetLocale(LCID Locale) override;
  LCID GetLocale() const override;
  void LoadFromFile(const std::string& FileName) override;
  void LoadFromStream(TStream& Stream) override;
  void SaveToFile(const std::string& FileName) const override;
  void SaveToStream(TStream& Stream) const override;

private:
  TCustomRichEditW& owner_;
};

class TRichEditStringsW : public TStrings {
public:
  explicit TRichEditStringsW(TCustomRichEditW& owner) : owner_(owner) {}

  int GetCount() const override;
  std::string Get(int Index) const override;
  void Put(int Index, const std::string& S) override;
  void Insert(int Index, const std::string& S) override;
  void Delete(int Index) override;
  void Clear() override;
  void SetUpdateState(bool Updating) override;
  void AddStrings(const TStrings& Strings) override;
  void SetTextStr(const std::string& Value) override;

  // Loading replaces the text (or the selection, with SelectedInOut) in the control's
  // InputFormat; saving writes it in its OutputFormat (rich_edit_streaming.h).
  void LoadFromFile(const std::string& FileName) override;
  void LoadFromStream(TStream& Stream) override;
  // Writes a new file beside the old one and puts it in its place only when complete.
  void SaveToFile(const std::string& FileName) const override;
  void SaveToStream(TStream& Stream) const override;

private:
  TCustomRichEditW& owner_;
};
