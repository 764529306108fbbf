#include "platform/string_list.h"

#include <utility>

#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/streams.h"

namespace {

const char kSortedListError[] = "Operation not allowed on sorted string list";
const char kDuplicateString[] = "String list does not allow duplicates";

// Restores BeginUpdate's count however the block ends.
class UpdateGuard {
public:
  explicit UpdateGuard(TStrings& list) : list_(list) { list_.BeginUpdate(); }
  ~UpdateGuard() { list_.EndUpdate(); }
  UpdateGuard(const UpdateGuard&) = delete;
  UpdateGuard& operator=(const UpdateGuard&) = delete;

private:
  TStrings& list_;
};

}  // namespace

// --- TStrings ------------------------------------------------------------------------------------

void TStrings::IndexError(int Index) {
  throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
}

TObject* TStrings::GetObject(int) const { return nullptr; }

void TStrings::Put(int Index, const std::string& S) {
  TObject* object = GetObject(Index);
  UpdateGuard update(*this);
  Delete(Index);
  InsertObject(Index, S, object);
}

void TStrings::PutObject(int, TObject*) {}

int TStrings::GetCapacity() const { return GetCount(); }

void TStrings::SetCapacity(int) {}

void TStrings::SetUpdateState(bool) {}

int TStrings::Add(const std::string& S) {
  int index = GetCount();
  Insert(index, S);
  return index;
}

int TStrings::AddObject(const std::string& S, TObject* AObject) {
  int index = Add(S);
  PutObject(index, AObject);
  return index;
}

void TStrings::Transaction(const std::function<void()>& change) {
  std::vector<std::pair<std::string, TObject*>> saved;
  int count = GetCount();
  saved.reserve(count);
  for (int i = 0; i < count; ++i) saved.emplace_back(Get(i), GetObject(i));
  UpdateGuard update(*this);
  try {
    change();
  } catch (...) {
    Clear();
    for (auto& [s, object] : saved) AddObject(s, object);
    throw;
  }
}

void TStrings::AddStrings(const TStrings& Strings) {
  // Copy first: `Strings` may be this list.
  std::vector<std::pair<std::string, TObject*>> items;
  for (int i = 0; i < Strings.GetCount(); ++i) items.emplace_back(Strings.Get(i), Strings.GetObject(i));
  Transaction([&] {
    for (auto& [s, object] : items) AddObject(s, object);
  });
}

void TStrings::Assign(const TStrings& Source) {
  if (&Source == this) return;
  Transaction([&] {
    Clear();
    for (int i = 0; i < Source.GetCount(); ++i) AddObject(Source.Get(i), Source.GetObject(i));
  });
}

void TStrings::Exchange(int Index1, int Index2) {
  std::string s1 = Get(Index1), s2 = Get(Index2);
  TObject* o1 = GetObject(Index1);
  TObject* o2 = GetObject(Index2);
  UpdateGuard update(*this);
  Put(Index1, s2);
  PutObject(Index1, o2);
  Put(Index2, s1);
  PutObject(Index2, o1);
}

int TStrings::CompareStrings(const std::string& S1, const std::string& S2) const {
  return AnsiCompareText(S1, S2);
}

int TStrings::IndexOf(const std::string& S) const {
  for (int i = 0, n = GetCount(); i < n; ++i)
    if (CompareStrings(Get(i), S) == 0) return i;
  return -1;
}

int TStrings::IndexOfName(const std::string& Name) const {
  for (int i = 0, n = GetCount(); i < n; ++i) {
    std::string s = Get(i);
    auto eq = s.find('=');
    if (eq != std::string::npos && CompareStrings(s.substr(0, eq), Name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const {
  for (int i = 0, n = GetCount(); i < n; ++i)
    if (GetObject(i) == AObject) return i;
  return -1;
}

void TStrings::InsertObject(int Index, const std::string& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

void TStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  int count = GetCount();
  if (NewIndex < 0 || NewIndex >= count) IndexError(NewIndex);
  std::string s = Get(CurIndex);
  TObject* object = GetObject(CurIndex);
  UpdateGuard update(*this);
  Delete(CurIndex);
  InsertObject(NewIndex, s, object);
}

void TStrings::BeginUpdate() {
  // SetUpdateState(true) runs while the count is still 0, so that it can announce the change.
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (--FUpdateCount == 0) SetUpdateState(false);
}

std::string TStrings::GetTextStr() const {
  std::string text;
  for (int i = 0, n = GetCount(); i < n; ++i) {
    text += Get(i);
    text += "\r\n";
  }
  return text;
}

void TStrings::SetTextStr(const std::string& Value) {
  Transaction([&] {
    Clear();
    size_t pos = 0, size = Value.size();
    while (pos < size) {
      size_t end = Value.find_first_of("\r\n", pos);
      if (end == std::string::npos) end = size;
      Add(Value.substr(pos, end - pos));
      pos = end;
      if (pos < size && Value[pos] == '\r') ++pos;
      if (pos < size && Value[pos] == '\n') ++pos;
    }
  });
}

void TStrings::LoadFromFile(const std::string& FileName) { SetTextStr(ReadFileBytes(FileName)); }

void TStrings::LoadFromStream(TStream& Stream) {
  int64_t size = Stream.Size() - Stream.Position();
  std::string data(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (!data.empty()) Stream.ReadBuffer(data.data(), static_cast<int>(data.size()));
  SetTextStr(data);
}

void TStrings::SaveToFile(const std::string& FileName) const { WriteFileAtomic(FileName, GetTextStr()); }

void TStrings::SaveToStream(TStream& Stream) const {
  std::string text = GetTextStr();
  Stream.WriteBuffer(text.data(), static_cast<int>(text.size()));
}

std::string TStrings::Names(int Index) const {
  std::string s = Get(Index);
  auto eq = s.find('=');
  return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

std::string TStrings::Values(const std::string& Name) const {
  int index = IndexOfName(Name);
  return index < 0 ? std::string() : ValueFromIndex(index);
}

void TStrings::SetValues(const std::string& Name, const std::string& Value) {
  int index = IndexOfName(Name);
  if (Value.empty()) {
    if (index >= 0) Delete(index);
  } else if (index < 0) {
    Add(Name + "=" + Value);
  } else {
    Put(index, Name + "=" + Value);
  }
}

std::string TStrings::ValueFromIndex(int Index) const {
  std::string s = Get(Index);
  auto eq = s.find('=');
  return eq == std::string::npos ? std::string() : s.substr(eq + 1);
}

// --- TStringList ---------------------------------------------------------------------------------

void TStringList::CheckIndex(int Index, int Count) const {
  if (Index < 0 || Index >= Count) IndexError(Index);
}

std::string TStringList::Get(int Index) const {
  CheckIndex(Index, GetCount());
  return FList[Index].String;
}

int TStringList::GetCount() const { return static_cast<int>(FList.size()); }

TObject* TStringList::GetObject(int Index) const {
  CheckIndex(Index, GetCount());
  return FList[Index].Object;
}

void TStringList::Put(int Index, const std::string& S) {
  if (FSorted) throw EStringListError(kSortedListError);
  CheckIndex(Index, GetCount());
  Changing();
  FList[Index].String = S;
  Changed();
}

void TStringList::PutObject(int Index, TObject* AObject) {
  CheckIndex(Index, GetCount());
  Changing();
  FList[Index].Object = AObject;
  Changed();
}

int TStringList::GetCapacity() const { return static_cast<int>(FList.capacity()); }

void TStringList::SetCapacity(int NewCapacity) {
  if (NewCapacity < GetCount())
    throw EStringListError("List capacity out of bounds (" + std::to_string(NewCapacity) + ")");
  if (NewCapacity > GetCapacity()) {
    FList.reserve(NewCapacity);
  } else {
    std::vector<Item> resized;
    resized.reserve(NewCapacity);
    resized.assign(FList.begin(), FList.end());
    FList.swap(resized);
  }
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating)
    Changing();
  else
    Changed();
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

int TStringList::Add(const std::string& S) { return AddObject(S, nullptr); }

int TStringList::AddObject(const std::string& S, TObject* AObject) {
  int index = GetCount();
  if (FSorted && Find(S, index)) {
    if (FDuplicates == dupIgnore) return index;
    if (FDuplicates == dupError) throw EStringListError(kDuplicateString);
  }
  InsertItem(index, S, AObject);
  return index;
}

void TStringList::InsertItem(int Index, const std::string& S, TObject* AObject) {
  Changing();
  FList.insert(FList.begin() + Index, Item{S, AObject});
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  FList.clear();
  FList.shrink_to_fit();
  Changed();
}

void TStringList::Delete(int Index) {
  CheckIndex(Index, GetCount());
  Changing();
  FList.erase(FList.begin() + Index);
  Changed();
}

void TStringList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1, GetCount());
  CheckIndex(Index2, GetCount());
  Changing();
  std::swap(FList[Index1], FList[Index2]);
  Changed();
}

int TStringList::IndexOf(const std::string& S) const {
  if (!FSorted) return TStrings::IndexOf(S);
  int index;
  return Find(S, index) ? index : -1;
}

void TStringList::Insert(int Index, const std::string& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(int Index, const std::string& S, TObject* AObject) {
  if (FSorted) throw EStringListError(kSortedListError);
  if (Index < 0 || Index > GetCount()) IndexError(Index);
  InsertItem(Index, S, AObject);
}

void TStringList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  if (FSorted) throw EStringListError(kSortedListError);
  CheckIndex(CurIndex, GetCount());
  CheckIndex(NewIndex, GetCount());
  Changing();
  Item item = std::move(FList[CurIndex]);
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, std::move(item));
  Changed();
}

int TStringList::CompareStrings(const std::string& S1, const std::string& S2) const {
  return FCaseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

bool TStringList::Find(const std::string& S, int& Index) const {
  int low = 0, high = GetCount() - 1;
  bool found = false;
  while (low <= high) {
    int middle = (low + high) / 2;
    int c = CompareStrings(FList[middle].String, S);
    if (c < 0) {
      low = middle + 1;
    } else {
      high = middle - 1;
      if (c == 0) found = true;
    }
  }
  Index = low;
  return found;
}

void TStringList::QuickSort(int L, int R, const TCompare& Compare) {
  // Hoare partition over indices, as the compare function works on positions of this list.
  while (L < R) {
    int i = L, j = R, p = (L + R) / 2;
    do {
      // Bounded scans: a comparison that contradicts itself (one that never answers 0, say)
      // cannot lead them out of the range.
      while (i <= R && Compare(*this, i, p) < 0) ++i;
      while (j >= L && Compare(*this, j, p) > 0) --j;
      if (i <= j) {
        if (i != j) std::swap(FList[i], FList[j]);
        if (p == i)
          p = j;
        else if (p == j)
          p = i;
        ++i;
        --j;
      }
    } while (i <= j);
    // With a consistent comparison both parts are smaller than L..R already; these bounds keep
    // an inconsistent one from partitioning the whole range again forever.
    if (j >= R) j = R - 1;
    if (i <= L) i = L + 1;
    // Recurse into the smaller part so that the depth stays logarithmic.
    if (j - L < R - i) {
      QuickSort(L, j, Compare);
      L = i;
    } else {
      QuickSort(i, R, Compare);
      R = j;
    }
  }
}

void TStringList::SortBy(const TCompare& Compare) {
  if (GetCount() < 2) return;
  Changing();
  QuickSort(0, GetCount() - 1, Compare);
  Changed();
}

void TStringList::Sort() {
  if (FSorted) return;
  SortBy([](TStringList& list, int i, int j) {
    return list.CompareStrings(list.FList[i].String, list.FList[j].String);
  });
}

void TStringList::CustomSort(const TCompare& Compare) {
  if (FSorted) throw EStringListError(kSortedListError);
  SortBy(Compare);
}

void TStringList::SetSorted(bool Value) {
  if (Value == FSorted) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (Value == FCaseSensitive) return;
  FCaseSensitive = Value;
  if (FSorted) {
    FSorted = false;
    Sort();
    FSorted = true;
  }
}

void AssignStrings(TStrings& Strings, const std::vector<std::string>& Lines) {
  TStringList list;
  for (const std::string& line : Lines) list.Add(line);
  Strings.Assign(list);
}

std::vector<std::string> LinesOfStrings(const TStrings& Strings) {
  std::vector<std::string> lines;
  lines.reserve(size_t(Strings.Count()));
  for (int i = 0; i < Strings.Count(); ++i) lines.push_back(Strings[i]);
  return lines;
}
