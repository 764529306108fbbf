#include "textcore/rich_edit_lines.h"

#include "platform/gui/rich_edit_control.h"
#include "platform/streams.h"
#include "textcore/locale_text.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_streaming.h"

namespace {

// The text that a list of lines makes in the control: each line followed by a paragraph end.
std::u16string ParagraphsOf(const std::u16string& text) {
  std::u16string out;
  out.reserve(text.size() + 1);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of(u"\r\n", start);
    if (end == std::u16string::npos) end = text.size();
    out.append(text, start, end - start);
    out += u'\r';
    start = end;
    if (start < text.size() && text[start] == u'\r') ++start;
    if (start < text.size() && text[start] == u'\n') ++start;
  }
  return out;
}

// Keeps the control's OnSelectionChange unset while it lives, for changes made line by line.
class TSelectionEventsOff {
public:
  explicit TSelectionEventsOff(TCustomRichEditW& owner)
      : owner_(owner), saved_(std::move(owner.OnSelectionChange)) {
    owner_.OnSelectionChange = nullptr;
  }
  ~TSelectionEventsOff() { owner_.OnSelectionChange = std::move(saved_); }
  TSelectionEventsOff(const TSelectionEventsOff&) = delete;
  TSelectionEventsOff& operator=(const TSelectionEventsOff&) = delete;

private:
  TCustomRichEditW& owner_;
  TNotifyEvent saved_;
};

}  // namespace

// --- UTF-16 lines ------------------------------------------------------------------------------

int TWideRichEditStringsW::GetCount() const {
  const RichEditControl& c = owner_.Control();
  int count = c.LineCount();
  if (count > 0 && c.LineLength(c.LineIndex(count - 1)) == 0) --count;
  return count;
}

std::u16string TWideRichEditStringsW::Get(int Index) const {
  return Index < 0 ? std::u16string() : owner_.Control().Line(Index);
}

void TWideRichEditStringsW::Put(int Index, const std::u16string& S) {
  if (Index < 0) return;
  RichEditControl& c = owner_.Control();
  const int start = c.LineIndex(Index);
  if (start < 0) return;
  c.SetSel(start, start + c.LineLength(start));
  c.ReplaceSel(S, false);
}

void TWideRichEditStringsW::Insert(int Index, const std::u16string& S) {
  if (Index < 0) return;
  RichEditControl& c = owner_.Control();
  int at = c.LineIndex(Index);
  std::u16string text;
  if (at >= 0) {
    text = S + u'\r';
  } else {
    at = c.LineIndex(Index - 1);
    if (at < 0) return;
    const int length = c.LineLength(at);
    if (length == 0) return;
    at += length;
    text = u'\r' + S;
  }
  c.SetSel(at, at);
  c.ReplaceSel(text, false);
  if (c.SelStart() != at + int(text.size())) throw EOutOfResources("RichEdit line insertion error");
}

void TWideRichEditStringsW::Delete(int Index) {
  if (Index < 0) return;
  RichEditControl& c = owner_.Control();
  const int start = c.LineIndex(Index);
  if (start < 0) return;
  int end = c.LineIndex(Index + 1);
  if (end < 0) end = start + c.LineLength(start);
  c.SetSel(start, end);
  c.ReplaceSel(u"", false);
}

void TWideRichEditStringsW::Clear() { owner_.Clear(); }

void TWideRichEditStringsW::SetUpdateState(bool Updating) {
  owner_.Control().SetRedraw(!Updating);
  // The end of an update is announced as one change of the text.
  if (!Updating) owner_.Change();
}

void TWideRichEditStringsW::SetText(const std::u16string& Text) {
  ++owner_.changeLock_;
  try {
    owner_.Clear();
    owner_.Control().SetText(ParagraphsOf(Text));
  } catch (...) {
    --owner_.changeLock_;
    throw;
  }
  --owner_.changeLock_;
}

void TWideRichEditStringsW::AddStrings(const TWideStrings& Strings) {
  TSelectionEventsOff quiet(owner_);
  TWideStrings::AddStrings(Strings);
}

void TWideRichEditStringsW::SetLocale(LCID Locale) { owner_.SetLanguage(Locale); }
LCID TWideRichEditStringsW::GetLocale() const { return owner_.Language(); }
void TWideRichEditStringsW::LoadFromFile(const std::string& FileName) { owner_.Lines()->LoadFromFile(FileName); }
void TWideRichEditStringsW::LoadFromStream(TStream& Stream) { owner_.Lines()->LoadFromStream(Stream); }
void TWideRichEditStringsW::SaveToFile(const std::string& FileName) const { owner_.Lines()->SaveToFile(FileName); }
void TWideRichEditStringsW::SaveToStream(TStream& Stream) const { owner_.Lines()->SaveToStream(Stream); }

// --- 8-bit lines -------------------------------------------------------------------------------

int TRichEditStringsW::GetCount() const { return owner_.WideLines()->GetCount(); }

std::string TRichEditStringsW::Get(int Index) const {
  return WideStringToAnsi(owner_.WideLines()->Get(Index), owner_.CodePage());
}

void TRichEditStringsW::Put(int Index, const std::string& S) {
  owner_.WideLines()->Put(Index, AnsiToWideString(S, owner_.CodePage()));
}

void TRichEditStringsW::Insert(int Index, const std::string& S) {
  owner_.WideLines()->Insert(Index, AnsiToWideString(S, owner_.CodePage()));
}

void TRichEditStringsW::Delete(int Index) { owner_.WideLines()->Delete(Index); }
void TRichEditStringsW::Clear() { owner_.Clear(); }
void TRichEditStringsW::SetUpdateState(bool Updating) { owner_.WideLines()->SetUpdateState(Updating); }

void TRichEditStringsW::AddStrings(const TStrings& Strings) {
  TSelectionEventsOff quiet(owner_);
  TStrings::AddStrings(Strings);
}

void TRichEditStringsW::SetTextStr(const std::string& Value) {
  owner_.WideLines()->SetText(AnsiToWideString(Value, owner_.CodePage()));
}

void TRichEditStringsW::LoadFromFile(const std::string& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TRichEditStringsW::LoadFromStream(TStream& Stream) { LoadRichEditStream(owner_, Stream); }

void TRichEditStringsW::SaveToFile(const std::string& FileName) const {
  TMemoryStream stream;
  SaveToStream(stream);
  stream.SaveToFile(FileName);
}

void TRichEditStringsW::SaveToStream(TStream& Stream) const { SaveRichEditStream(owner_, Stream); }
