#include "textcore/rich_edit_wide_strings.h"

#include "platform/code_pages.h"
#include "platform/string_list.h"

void TWideStrings::Put(int Index, const std::u16string& S) {
  TObject* object = GetObject(Index);
  Delete(Index);
  Insert(Index, S);
  PutObject(Index, object);
}

int TWideStrings::Add(const std::u16string& S) {
  const int index = GetCount();
  Insert(index, S);
  return index;
}

int TWideStrings::AddObject(const std::u16string& S, TObject* AObject) {
  const int index = Add(S);
  PutObject(index, AObject);
  return index;
}

void TWideStrings::AddStrings(const TWideStrings& Strings) {
  BeginUpdate();
  for (int i = 0; i < Strings.GetCount(); ++i) AddObject(Strings.Get(i), Strings.GetObject(i));
  EndUpdate();
}

void TWideStrings::Assign(const TWideStrings& Source) {
  if (&Source == this) return;
  BeginUpdate();
  Clear();
  AddStrings(Source);
  EndUpdate();
}

void TWideStrings::Assign(const TStrings& Source) {
  BeginUpdate();
  Clear();
  for (int i = 0; i < Source.Count(); ++i) AddObject(AnsiToWide(Source.Get(i)), Source.GetObject(i));
  EndUpdate();
}

void TWideStrings::Exchange(int Index1, int Index2) {
  BeginUpdate();
  const std::u16string s1 = Get(Index1), s2 = Get(Index2);
  TObject* o1 = GetObject(Index1);
  TObject* o2 = GetObject(Index2);
  Put(Index1, s2);
  PutObject(Index1, o2);
  Put(Index2, s1);
  PutObject(Index2, o1);
  EndUpdate();
}

void TWideStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  BeginUpdate();
  const std::u16string s = Get(CurIndex);
  TObject* o = GetObject(CurIndex);
  Delete(CurIndex);
  Insert(NewIndex, s);
  PutObject(NewIndex, o);
  EndUpdate();
}

int TWideStrings::IndexOf(const std::u16string& S) const {
  const LCID locale = GetLocale();
  for (int i = 0; i < GetCount(); ++i)
    if (CompareLocaleStringsW(locale, true, Get(i), S) == 0) return i;
  return -1;
}

std::u16string TWideStrings::GetText() const {
  std::u16string text;
  for (int i = 0; i < GetCount(); ++i) {
    text += Get(i);
    text += u"\r\n";
  }
  return text;
}

void TWideStrings::SetText(const std::u16string& Text) {
  BeginUpdate();
  Clear();
  size_t start = 0;
  while (start < Text.size()) {
    size_t end = Text.find_first_of(u"\r\n", start);
    if (end == std::u16string::npos) end = Text.size();
    Add(Text.substr(start, end - start));
    start = end;
    if (start < Text.size() && Text[start] == u'\r') ++start;
    if (start < Text.size() && Text[start] == u'\n') ++start;
  }
  EndUpdate();
}

void TWideStrings::BeginUpdate() {
  if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TWideStrings::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}
