#include "textcore/xstring_list.h"

#include <utility>

#include "platform/exceptions.h"
#include "textcore/interface_hooks.h"
#include "textcore/locale_text.h"
#include "textcore/partition_sort.h"

namespace {

const char kSortedListError[] = "Operation not allowed on sorted string list";
const char kDuplicateString[] = "String list does not allow duplicates";
const char kChangeWhileSorting[] = "String list cannot be changed while it is being sorted";

// A string has capitals when it differs from its system lower case, whatever the list's locale.
bool HasCapitals(const std::string& s) { return AnsiLowerCase(s) != s; }

// Marks the list as sorting for the lifetime of the guard, also when the sort is left early.
class SortingFlag {
public:
  explicit SortingFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~SortingFlag() { flag_ = false; }
  SortingFlag(const SortingFlag&) = delete;
  SortingFlag& operator=(const SortingFlag&) = delete;

private:
  bool& flag_;
};

}  // namespace

TXStringList::TXStringList() = default;

void TXStringList::Changed() {}
void TXStringList::Changing() {}

void TXStringList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= GetCount()) IndexError(Index);
}

void TXStringList::CheckNotSorting() const {
  if (FSorting) throw EInvalidOperation(kChangeWhileSorting);
}

int TXStringList::Compare(const std::string& A, const std::string& B) const {
  if (FLengthSensitive && A.size() != B.size()) return B.size() < A.size() ? 1 : -1;
  return FCaseSensitive ? CompareLocale(A, B, FLocale) : CompareLocaleText(A, B, FLocale);
}

std::string TXStringList::Get(int Index) const {
  CheckIndex(Index);
  return FList[Index].String;
}

int TXStringList::GetCount() const { return static_cast<int>(FList.size()); }

TObject* TXStringList::GetObject(int Index) const {
  CheckIndex(Index);
  return FList[Index].Object;
}

void TXStringList::Put(int Index, const std::string& S) {
  CheckNotSorting();
  if (FSorted) throw EStringListError(kSortedListError);
  CheckIndex(Index);
  Changing();
  FList[Index].String = S;
  Changed();
}

void TXStringList::PutObject(int Index, TObject* AObject) {
  CheckNotSorting();
  CheckIndex(Index);
  Changing();
  FList[Index].Object = AObject;
  Changed();
}

int TXStringList::GetCapacity() const { return FCapacity; }

void TXStringList::SetCapacity(int NewCapacity) {
  CheckNotSorting();
  if (NewCapacity < GetCount()) {
    throw EStringListError("List capacity out of bounds (" + std::to_string(NewCapacity) + ")");
  }
  if (NewCapacity > static_cast<int>(FList.capacity())) {
    FList.reserve(NewCapacity);
  } else if (NewCapacity < static_cast<int>(FList.capacity())) {
    std::vector<Item> resized;
    resized.reserve(NewCapacity);
    for (Item& item : FList) resized.push_back(std::move(item));
    FList.swap(resized);
  }
  FCapacity = NewCapacity;
}

void TXStringList::SetUpdateState(bool Updating) {
  if (Updating) {
    Changing();
  } else {
    Changed();
  }
}

void TXStringList::InsertItem(int Index, const std::string& S) {
  if (GetCount() == FCapacity) {
    const int delta = FCapacity > 64 ? FCapacity / 4 : FCapacity > 8 ? 16 : 4;
    SetCapacity(FCapacity + delta);
  }
  Changing();
  FList.insert(FList.begin() + Index, Item{S, nullptr});
  Changed();
}

void TXStringList::DeleteItem(int Index) {
  Changing();
  FList.erase(FList.begin() + Index);
  Changed();
}

int TXStringList::Add(const std::string& S) {
  CheckNotSorting();
  if (!FSorted) {
    const int index = GetCount();
    InsertItem(index, S);
    return index;
  }
  int index = 0;
  if (!Find(S, index)) {
    InsertItem(index, S);
    return index;
  }
  switch (FDuplicates) {
    case dupAccept:
      InsertItem(index, S);
      break;
    case dupError:
      throw EStringListError(kDuplicateString);
    case dupIgnore:
      if (HasCapitals(FList[index].String) && !HasCapitals(S)) {
        DeleteItem(index);
        InsertItem(index, S);
      }
      break;
  }
  return index;
}

void TXStringList::Clear() {
  CheckNotSorting();
  if (FList.empty()) return;
  Changing();
  std::vector<Item>().swap(FList);
  FCapacity = 0;
  Changed();
}

void TXStringList::Delete(int Index) {
  CheckNotSorting();
  CheckIndex(Index);
  DeleteItem(Index);
}

void TXStringList::Exchange(int Index1, int Index2) {
  CheckNotSorting();
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  std::swap(FList[Index1], FList[Index2]);
  Changed();
}

int TXStringList::IndexOf(const std::string& S) const {
  if (!FSorted) return TStrings::IndexOf(S);
  int index = 0;
  return Find(S, index) ? index : -1;
}

void TXStringList::Insert(int Index, const std::string& S) {
  CheckNotSorting();
  if (FSorted) throw EStringListError(kSortedListError);
  if (Index < 0 || Index > GetCount()) IndexError(Index);
  InsertItem(Index, S);
}

void TXStringList::Move(int CurIndex, int NewIndex) {
  // Checked before anything changes: the generic move deletes first and would lose the item
  // when the insertion is then refused.
  CheckNotSorting();
  if (FSorted) throw EStringListError(kSortedListError);
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  if (CurIndex == NewIndex) return;
  Changing();
  Item item = std::move(FList[CurIndex]);
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, std::move(item));
  Changed();
}

bool TXStringList::Find(const std::string& S, int& Index) const {
  bool found = false;
  int low = 0, high = GetCount() - 1;
  while (low <= high) {
    const int middle = low + (high - low) / 2;
    const int order = Compare(FList[middle].String, S);
    if (order < 0) {
      low = middle + 1;
    } else {
      high = middle - 1;
      if (order == 0) {
        found = true;
        if (FDuplicates != dupAccept) low = middle;
      }
    }
  }
  Index = low;
  return found;
}

void TXStringList::Sort() {
  CheckNotSorting();
  if (FSorted || GetCount() < 2) return;
  SortingFlag sorting(FSorting);
  Changing();
  PartitionSort(
      FList, 0, GetCount() - 1, [](const Item& item) { return item.String; },
      [this](const Item& item, const std::string& pivot) { return Compare(item.String, pivot); },
      [] { ProcessMessages(); });
  Changed();
}

void TXStringList::SetSorted(bool Value) {
  CheckNotSorting();
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TXStringList::SetDuplicates(TDuplicates Value) {
  CheckNotSorting();
  FDuplicates = Value;
}

void TXStringList::SetCaseSensitive(bool Value) {
  CheckNotSorting();
  FCaseSensitive = Value;
}

void TXStringList::SetLengthSensitive(bool Value) {
  CheckNotSorting();
  FLengthSensitive = Value;
}

void TXStringList::SetLocale(LCID Value) {
  CheckNotSorting();
  FLocale = Value & 0xFFFF;
}

// Pairs of neighbours are judged from the end of the list towards its start, each item against
// the nearest one after it that stays. One pass keeps the survivors (last first) and the list
// is rebuilt once, so a list of many repeats costs linear time; what goes is reported as it is
// judged, before the list changes.
void TXStringList::RemoveDuplicates(TStrings* Removed) {
  CheckNotSorting();
  if (Removed == this) throw EInvalidOperation("A string list cannot collect its own duplicates");
  if (GetCount() < 2) return;
  std::vector<int> kept{GetCount() - 1};
  for (int i = GetCount() - 2; i >= 0; --i) {
    const std::string &a = FList[i].String, &b = FList[kept.back()].String;
    if (Compare(a, b) != 0) {
      kept.push_back(i);
    } else if (HasCapitals(b) || (!HasCapitals(a) && a == b)) {
      if (Removed) Removed->Add(b);
      kept.back() = i;
    } else if (!HasCapitals(a)) {
      if (Removed) Removed->Add("* " + a + " " + b);
      kept.push_back(i);
    } else if (Removed) {
      Removed->Add(a);
    }
  }
  if (kept.size() == FList.size()) return;
  Changing();
  std::vector<Item> survivors;
  survivors.reserve(kept.size());
  for (auto it = kept.rbegin(); it != kept.rend(); ++it) survivors.push_back(std::move(FList[*it]));
  FList = std::move(survivors);
  Changed();
}
