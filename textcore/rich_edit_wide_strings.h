// TWideStrings: the program's abstract list of UTF-16 strings with attached objects, a locale
// for comparisons and update counting. Descendants store the items.
#pragma once

#include <string>

#include "platform/locale.h"
#include "platform/object.h"

class TStream;
class TStrings;

class TWideStrings : public TObject {
public:
  TWideStrings() = default;
  TWideStrings(const TWideStrings&) = delete;
  TWideStrings& operator=(const TWideStrings&) = delete;

  // --- Primitive slots -------------------------------------------------------------------------
  virtual std::u16string Get(int Index) const = 0;
  virtual int GetCount() const = 0;
  virtual TObject* GetObject(int Index) const { return nullptr; }
  // Replaces the string at `Index` (by default: delete and insert, keeping the object).
  virtual void Put(int Index, const std::u16string& S);
  virtual void PutObject(int Index, TObject* AObject) {}
  virtual void Insert(int Index, const std::u16string& S) = 0;
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;
  // Called by BeginUpdate with true on the first call and by EndUpdate with false on the last.
  virtual void SetUpdateState(bool Updating) {}
  virtual void SetLocale(LCID Locale) { FLocale = Locale; }
  virtual LCID GetLocale() const { return FLocale; }
  virtual void LoadFromFile(const std::string& FileName) = 0;
  virtual void LoadFromStream(TStream& Stream) = 0;
  virtual void SaveToFile(const std::string& FileName) const = 0;
  virtual void SaveToStream(TStream& Stream) const = 0;

  // --- Operations ------------------------------------------------------------------------------
  virtual int Add(const std::u16string& S);
  int AddObject(const std::u16string& S, TObject* AObject);
  virtual void AddStrings(const TWideStrings& Strings);
  // Copies strings and objects; from 8-bit strings each is converted with the system code page.
  void Assign(const TWideStrings& Source);
  void Assign(const TStrings& Source);
  void Exchange(int Index1, int Index2);
  void Move(int CurIndex, int NewIndex);
  // The first string equal to `S` by the locale, ignoring case; -1 when none.
  int IndexOf(const std::u16string& S) const;
  // Every string followed by CR LF.
  virtual std::u16string GetText() const;
  // Splits at CR, LF or CR LF and adds each part to an emptied list.
  virtual void SetText(const std::u16string& Text);

  void BeginUpdate();
  void EndUpdate();
  int Count() const { return GetCount(); }
  std::u16string Strings(int Index) const { return Get(Index); }

private:
  int FUpdateCount = 0;
  LCID FLocale = LOCALE_USER_DEFAULT;
};
