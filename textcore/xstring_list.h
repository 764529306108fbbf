// TXStringList: a string list whose order and equality follow a language: locale comparison
// (LCID, 1049 by default), optionally case-sensitive and optionally ordering shorter strings
// first, with a sort that keeps the interface responsive and a duplicate removal that keeps the
// small-letter form of words differing only in case.
#pragma once

#include <string>
#include <vector>

#include "platform/locale.h"
#include "platform/string_list.h"

class TXStringList : public TStrings {
public:
  TXStringList();

  // Items; an index outside the list raises EStringListError "List index out of bounds (%d)".
  std::string Get(int Index) const override;
  int GetCount() const override;
  TObject* GetObject(int Index) const override;
  // Not allowed on a sorted list ("Operation not allowed on sorted string list").
  void Put(int Index, const std::string& S) override;
  void PutObject(int Index, TObject* AObject) override;
  int GetCapacity() const override;
  // Resizes the storage to exactly NewCapacity items; less than Count raises EStringListError.
  void SetCapacity(int NewCapacity) override;
  // Changing when an update starts, Changed when it ends.
  void SetUpdateState(bool Updating) override;

  // Unsorted: appends. Sorted: inserts in order; an equal item is kept (dupIgnore: replaced
  // when it has capitals and S has none), added (dupAccept) or refused (dupError).
  int Add(const std::string& S) override;
  void Clear() override;
  void Delete(int Index) override;
  void Exchange(int Index1, int Index2) override;
  // Sorted: Find, -1 when absent; unsorted: the linear search of TStrings.
  int IndexOf(const std::string& S) const override;
  // Not allowed on a sorted list; Index may be 0..Count.
  void Insert(int Index, const std::string& S) override;
  // Moves an item (string and object); not allowed on a sorted list.
  void Move(int CurIndex, int NewIndex) override;

  // Binary search with the list's comparison: true when found; Index gets the first equal item
  // (unless duplicates are accepted) or the place where S belongs.
  virtual bool Find(const std::string& S, int& Index) const;
  // Sorts an unsorted list of two or more items, processing pending interface messages at each
  // partition step. While it runs, any change of the list raises EInvalidOperation.
  virtual void Sort();
  // On a sorted list: drops the capitalised one of each pair of equal neighbours (the
  // small-letter form survives) and an exact repeat; puts what it drops into Removed (may be
  // null), and a line "* A B" for equal pairs of different small-letter spelling, which stay.
  void RemoveDuplicates(TStrings* Removed);

  // The list's comparison of an item A with a string B: -1, 0 or 1.
  int Compare(const std::string& A, const std::string& B) const;

  bool Sorted() const { return FSorted; }
  // Switching sorting on sorts the list first; switching it off changes nothing else.
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value);
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);
  bool LengthSensitive() const { return FLengthSensitive; }
  void SetLengthSensitive(bool Value);
  // The locale of the comparison; only the low 16 bits are kept.
  LCID Locale() const { return FLocale; }
  void SetLocale(LCID Value);

protected:
  // Called after and before every change; empty here.
  virtual void Changed();
  virtual void Changing();

private:
  struct Item {
    std::string String;
    TObject* Object = nullptr;
  };
  void CheckIndex(int Index) const;
  // Raises EInvalidOperation while a sort runs.
  void CheckNotSorting() const;
  void InsertItem(int Index, const std::string& S);
  void DeleteItem(int Index);

  std::vector<Item> FList;
  int FCapacity = 0;
  bool FSorted = false;
  bool FCaseSensitive = false;
  bool FLengthSensitive = false;
  bool FSorting = false;
  TDuplicates FDuplicates = dupIgnore;
  LCID FLocale = LANG_RUSSIAN;
};
