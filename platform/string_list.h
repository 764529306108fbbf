// String lists: the abstract list of 8-bit strings with attached objects (`TStrings`) and the
// ordinary list that stores its items in memory (`TStringList`), with the class library's
// semantics: update counting, CR LF text, name=value lines, sorted lists and duplicates.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/object.h"

class TStream;

// An event without arguments beyond its sender.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// What a sorted `TStringList` does when asked to add a string it already holds.
enum TDuplicates { dupIgnore, dupAccept, dupError };

// The abstract string list. Descendants store the items and override the primitive slots
// (Get, GetCount, Put, Insert, Delete, Clear...); everything else is built from them.
// Objects are never owned by the list.
class TStrings : public TObject {
public:
  TStrings() = default;
  TStrings(const TStrings&) = delete;
  TStrings& operator=(const TStrings&) = delete;

  // --- Primitive slots -------------------------------------------------------------------------
  // The string at `Index`; an index outside 0..Count-1 raises EStringListError.
  virtual std::string Get(int Index) const = 0;
  virtual int GetCount() const = 0;
  // The object at `Index` (nil in lists that store none).
  virtual TObject* GetObject(int Index) const;
  // Replaces the string at `Index`, keeping its object.
  virtual void Put(int Index, const std::string& S);
  virtual void PutObject(int Index, TObject* AObject);
  // Room reserved for items; lists without storage of their own report Count.
  virtual int GetCapacity() const;
  virtual void SetCapacity(int NewCapacity);
  // Called by BeginUpdate with true on the first call and by EndUpdate with false on the last.
  virtual void SetUpdateState(bool Updating);

  // --- Operations ------------------------------------------------------------------------------
  // Appends `S` (in a sorted list: inserts it in order); returns its index.
  virtual int Add(const std::string& S);
  virtual int AddObject(const std::string& S, TObject* AObject);
  // Appends every string and object of `Strings`; on failure this list is left unchanged.
  virtual void AddStrings(const TStrings& Strings);
  // Replaces the content with that of `Source`; on failure this list is left unchanged.
  virtual void Assign(const TStrings& Source);
  virtual void Clear() = 0;
  virtual void Delete(int Index) = 0;
  // Swaps two items (strings and objects).
  virtual void Exchange(int Index1, int Index2);
  // Index of the first string equal to `S` by CompareStrings; -1 when none.
  virtual int IndexOf(const std::string& S) const;
  // Index of the first name=value line whose name equals `Name` by CompareStrings; -1 when none.
  virtual int IndexOfName(const std::string& Name) const;
  virtual int IndexOfObject(const TObject* AObject) const;
  // Inserts `S` before `Index` (0..Count) with a nil object.
  virtual void Insert(int Index, const std::string& S) = 0;
  virtual void InsertObject(int Index, const std::string& S, TObject* AObject);
  // Moves an item (string and object) from `CurIndex` to `NewIndex`.
  virtual void Move(int CurIndex, int NewIndex);
  // Replaces the content with the lines of the file / stream (from its position to its end).
  // A file that cannot be read raises EFOpenError or EReadError and leaves the list unchanged.
  virtual void LoadFromFile(const std::string& FileName);
  virtual void LoadFromStream(TStream& Stream);
  // Writes Text. Saving to a file replaces it atomically: the old file survives any failure.
  virtual void SaveToFile(const std::string& FileName) const;
  virtual void SaveToStream(TStream& Stream) const;
  // Compares two strings the way IndexOf and IndexOfName do (AnsiCompareText here).
  virtual int CompareStrings(const std::string& S1, const std::string& S2) const;

  // Nested BeginUpdate/EndUpdate calls; SetUpdateState sees only the outermost pair.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // --- Properties ------------------------------------------------------------------------------
  int Count() const { return GetCount(); }
  int Capacity() const { return GetCapacity(); }
  std::string Strings(int Index) const { return Get(Index); }
  void SetStrings(int Index, const std::string& S) { Put(Index, S); }
  std::string operator[](int Index) const { return Get(Index); }
  TObject* Objects(int Index) const { return GetObject(Index); }
  void SetObjects(int Index, TObject* AObject) { PutObject(Index, AObject); }
  // Every line followed by CR LF. Setting splits on CR LF, LF or CR (a final line end adds
  // no empty line) and keeps every other byte, NUL included.
  std::string Text() const { return GetTextStr(); }
  void SetText(const std::string& Value) { SetTextStr(Value); }
  virtual std::string GetTextStr() const;
  virtual void SetTextStr(const std::string& Value);
  // The part of line `Index` before its first '='; empty when the line has none.
  std::string Names(int Index) const;
  // The part after the first '=' of the line named `Name`; empty when there is none.
  std::string Values(const std::string& Name) const;
  // Sets the value of the line named `Name`, adding the line when missing; an empty value
  // deletes the line.
  void SetValues(const std::string& Name, const std::string& Value);
  // The part of line `Index` after its first '='; empty when the line has none.
  std::string ValueFromIndex(int Index) const;

protected:
  // Raises EStringListError "List index out of bounds (%d)".
  [[noreturn]] static void IndexError(int Index);

private:
  // Runs `change` between BeginUpdate and EndUpdate; when it throws, restores the content
  // it had before and rethrows.
  void Transaction(const std::function<void()>& change);

  int FUpdateCount = 0;
};

// The ordinary string list: items in memory, optionally kept sorted.
class TStringList : public TStrings {
public:
  // Compares items `Index1` and `Index2` of `List` (negative, 0, positive).
  using TCompare = std::function<int(TStringList& List, int Index1, int Index2)>;

  TStringList() = default;

  std::string Get(int Index) const override;
  int GetCount() const override;
  TObject* GetObject(int Index) const override;
  void Put(int Index, const std::string& S) override;
  void PutObject(int Index, TObject* AObject) override;
  int GetCapacity() const override;
  void SetCapacity(int NewCapacity) override;
  void SetUpdateState(bool Updating) override;

  int Add(const std::string& S) override;
  int AddObject(const std::string& S, TObject* AObject) override;
  void Clear() override;
  void Delete(int Index) override;
  void Exchange(int Index1, int Index2) override;
  // On a sorted list: Find; otherwise the linear search.
  int IndexOf(const std::string& S) const override;
  void Insert(int Index, const std::string& S) override;
  void InsertObject(int Index, const std::string& S, TObject* AObject) override;
  // Not allowed on a sorted list.
  void Move(int CurIndex, int NewIndex) override;
  // AnsiCompareStr when CaseSensitive, AnsiCompareText otherwise.
  int CompareStrings(const std::string& S1, const std::string& S2) const override;

  // Binary search of a sorted list: true when found; `Index` gets the first equal item or,
  // when none, the place where `S` belongs.
  virtual bool Find(const std::string& S, int& Index) const;
  // Sorts by CompareStrings (does nothing to a sorted list, which already is).
  virtual void Sort();
  // Sorts by `Compare`; not allowed to change the order of a sorted list.
  virtual void CustomSort(const TCompare& Compare);

  bool Sorted() const { return FSorted; }
  // Switching sorting on sorts the list first; switching it off changes nothing else.
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  // Changing the case sensitivity of a sorted list sorts it again.
  void SetCaseSensitive(bool Value);

  // Called before and after every change made outside BeginUpdate/EndUpdate.
  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

protected:
  virtual void Changed();
  virtual void Changing();

private:
  struct Item {
    std::string String;
    TObject* Object = nullptr;
  };
  void CheckIndex(int Index, int Count) const;
  void InsertItem(int Index, const std::string& S, TObject* AObject);
  void QuickSort(int L, int R, const TCompare& Compare);
  void SortBy(const TCompare& Compare);

  std::vector<Item> FList;
  bool FSorted = false;
  bool FCaseSensitive = false;
  TDuplicates FDuplicates = dupIgnore;
};

// Replaces the content of `Strings` with `Lines` (nil objects) as one change.
void AssignStrings(TStrings& Strings, const std::vector<std::string>& Lines);
// The items of `Strings`, in order.
std::vector<std::string> LinesOfStrings(const TStrings& Strings);
