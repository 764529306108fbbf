#include "platform/registry.h"

#include <atomic>
#include <cstring>

#include "platform/exceptions.h"
#include "platform/number_text.h"
#include "platform/registry_store.h"
#include "platform/string_list.h"

namespace {

std::atomic<HKEY> g_nextHandle{1};

[[noreturn]] void InvalidType(const std::string& name) {
  throw ERegistryException("Invalid data type for '" + name + "'");
}
[[noreturn]] void GetFailed(const std::string& name) {
  throw ERegistryException("Failed to get data for '" + name + "'");
}
[[noreturn]] void SetFailed(const std::string& name) {
  throw ERegistryException("Failed to set data for '" + name + "'");
}

// `path` becomes the names joined by '\\' (its storage reused).
void JoinPath(const std::vector<std::string>& names, std::string& path) {
  path.clear();
  for (const std::string& name : names) {
    if (!path.empty()) path += '\\';
    path += name;
  }
}

// True when `path` is `prefix` or lies below it.
bool IsWithin(const std::vector<std::string>& path, const std::vector<std::string>& prefix) {
  if (path.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (RegFoldName(path[i]) != RegFoldName(prefix[i])) return false;
  return true;
}

// The key at `path`, created with its missing parents; true when anything was created.
bool CreatePath(RegKey& root, const std::vector<std::string>& path, RegKey*& key) {
  bool created = false;
  key = &root;
  for (const std::string& name : path) {
    RegKey* next = key->Subkey(name);
    if (next == nullptr) {
      next = &key->AddSubkey(name);
      created = true;
    }
    key = next;
  }
  return created;
}

}  // namespace

// --- TRegistry -----------------------------------------------------------------------------------

TRegistry::TRegistry() = default;

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY Value) {
  CloseKey();
  FRootKey = Value;
}

bool TRegistry::Resolve(const std::string& Key, std::vector<std::string>& Path) const {
  std::string_view rest(Key);
  bool absolute = !rest.empty() && rest.front() == '\\';
  if (absolute) rest.remove_prefix(1);
  if (!rest.empty() && rest.back() == '\\') rest.remove_suffix(1);
  // The names already in Path keep their storage for the new ones.
  size_t count = 0;
  auto add = [&Path, &count](std::string_view name) {
    if (count < Path.size())
      Path[count].assign(name);
    else
      Path.emplace_back(name);
    ++count;
  };
  if (!absolute && FCurrentKey != 0)
    for (const std::string& name : FCurrentNames) add(name);
  bool valid = true;
  for (size_t pos = 0; !rest.empty();) {
    size_t end = rest.find('\\', pos);
    if (end == std::string_view::npos) end = rest.size();
    if (end == pos || count == kRegMaxDepth) {
      valid = false;
      break;
    }
    add(rest.substr(pos, end - pos));
    if (end == rest.size()) break;
    pos = end + 1;
  }
  Path.resize(count);
  return valid;
}

bool TRegistry::Open(const std::string& Key, bool CanCreate, bool ReadOnly) {
  RegistryStore* store = RegistryStore::ForRoot(FRootKey);
  std::vector<std::string>& path = FOpenPath;
  if (store == nullptr || !Resolve(Key, path)) return false;
  TRegKeyCache found;
  bool exists = false;
  store->ReadKey(path, found, false, [&](const RegKey* key) { exists = key != nullptr; });
  if (!exists) {
    if (!CanCreate) return false;
    try {
      store->Modify([&](RegKey& root) {
        RegKey* key;
        return CreatePath(root, path, key);
      });
    } catch (const EFileError&) {
      return false;
    }
  }
  // The names of the key open before are kept for the next Open to reuse.
  FStore = store;
  FKeyCache = found;  // out of date when the key was created just now
  FCurrentKey = g_nextHandle++;
  std::swap(FCurrentNames, path);
  JoinPath(FCurrentNames, FCurrentPath);
  FReadOnly = ReadOnly;
  return true;
}

bool TRegistry::OpenKey(const std::string& Key, bool CanCreate) { return Open(Key, CanCreate, false); }

bool TRegistry::OpenKeyReadOnly(const std::string& Key) { return Open(Key, false, true); }

bool TRegistry::CreateKey(const std::string& Key) {
  RegistryStore* store = RegistryStore::ForRoot(FRootKey);
  std::vector<std::string> path;
  bool relative = Key.empty() || Key.front() != '\\';
  if (store == nullptr || !Resolve(Key, path) || (relative && FCurrentKey != 0 && FReadOnly)) {
    if (path.size() == kRegMaxDepth)
      throw ERegistryException("Failed to create key " + Key.substr(0, 80) + "...: a key lies at most " +
                               std::to_string(kRegMaxDepth) + " levels below its root key");
    throw ERegistryException("Failed to create key " + Key);
  }
  try {
    store->Modify([&](RegKey& root) {
      RegKey* key;
      return CreatePath(root, path, key);
    });
  } catch (const EFileError&) {
    throw ERegistryException("Failed to create key " + Key);
  }
  return true;
}

void TRegistry::CloseKey() {
  FStore = nullptr;
  FKeyCache = {};
  FCurrentKey = 0;
  FCurrentPath.clear();
  FCurrentNames.clear();
  FReadOnly = false;
}

bool TRegistry::DeleteKey(const std::string& Key) {
  RegistryStore* store = RegistryStore::ForRoot(FRootKey);
  std::vector<std::string> path;
  bool relative = Key.empty() || Key.front() != '\\';
  if (store == nullptr || !Resolve(Key, path) || path.empty() || (relative && FCurrentKey != 0 && FReadOnly))
    return false;
  bool deleted = false;
  try {
    store->Modify([&](RegKey& root) {
      RegKey* parent = root.Find(std::vector<std::string>(path.begin(), path.end() - 1));
      deleted = parent != nullptr && parent->RemoveSubkey(path.back());
      return deleted;
    });
  } catch (const EFileError&) {
    return false;
  }
  return deleted;
}

bool TRegistry::KeyExists(const std::string& Key) {
  RegistryStore* store = RegistryStore::ForRoot(FRootKey);
  std::vector<std::string> path;
  if (store == nullptr || !Resolve(Key, path)) return false;
  bool exists = false;
  store->Read([&](const RegKey& root) { exists = root.Find(path) != nullptr; });
  return exists;
}

bool TRegistry::HasSubKeys() {
  if (FCurrentKey == 0) return false;
  bool result = false;
  FStore->ReadKey(FCurrentNames, FKeyCache, false,
                  [&](const RegKey* key) { result = key != nullptr && !key->Subkeys.empty(); });
  return result;
}

void TRegistry::MoveKey(const std::string& OldName, const std::string& NewName, bool Delete) {
  RegistryStore* store = RegistryStore::ForRoot(FRootKey);
  std::vector<std::string> from, to;
  if (store == nullptr || !Resolve(OldName, from) || !Resolve(NewName, to) || from.empty() || to.empty() ||
      IsWithin(to, from) || FReadOnly)
    return;
  try {
    store->Modify([&](RegKey& root) {
      RegKey* source = root.Find(from);
      if (source == nullptr || root.Find(to) != nullptr) return false;
      std::unique_ptr<RegKey> copy = source->Clone();
      copy->Name = to.back();
      RegKey* parent;
      CreatePath(root, std::vector<std::string>(to.begin(), to.end() - 1), parent);
      parent->Subkeys[RegFoldName(to.back())] = std::move(copy);
      if (Delete) root.Find(std::vector<std::string>(from.begin(), from.end() - 1))->RemoveSubkey(from.back());
      return true;
    });
  } catch (const EFileError&) {
    throw ERegistryException("Failed to create key " + NewName);
  }
}

bool TRegistry::GetValue(const std::string& Name, uint32_t& Type, std::string& Data) {
  if (FCurrentKey == 0) return false;
  bool found = false;
  FStore->ReadKey(FCurrentNames, FKeyCache, false, [&](const RegKey* key) {
    const RegValue* value = key == nullptr ? nullptr : key->Value(Name);
    if (value == nullptr) return;
    found = true;
    Type = value->Type;
    Data = value->Data;
  });
  return found;
}

void TRegistry::PutData(const std::string& Name, uint32_t Type, std::string Data) {
  RegistryStore* store = FStore;
  if (FCurrentKey == 0 || FReadOnly) SetFailed(Name);
  // A value that already holds this data is left alone: no lock, no write.
  bool same = false;
  store->ReadKey(FCurrentNames, FKeyCache, true, [&](const RegKey* key) {
    const RegValue* value = key == nullptr ? nullptr : key->Value(Name);
    same = value != nullptr && value->Type == Type && value->Data == Data;
  });
  if (same) return;
  bool keyMissing = false;
  try {
    store->Modify([&](RegKey& root) {
      RegKey* key = root.Find(FCurrentNames);
      if (key == nullptr) {
        keyMissing = true;
        return false;
      }
      if (RegValue* value = key->Value(Name)) {
        if (value->Type == Type && value->Data == Data) return false;
        value->Type = Type;
        value->Data = std::move(Data);
      } else {
        key->SetValue(RegValue{Name, Type, std::move(Data)});
      }
      return true;
    });
  } catch (const EFileError&) {
    SetFailed(Name);
  }
  if (keyMissing) SetFailed(Name);
}

bool TRegistry::ValueExists(const std::string& Name) {
  uint32_t type;
  std::string data;
  return GetValue(Name, type, data);
}

void TRegistry::GetKeyNames(TStrings& Strings) {
  std::vector<std::string> names;
  if (FCurrentKey != 0) {
    FStore->ReadKey(FCurrentNames, FKeyCache, false, [&](const RegKey* key) {
      if (key != nullptr)
        for (const auto& [folded, subkey] : key->Subkeys) names.push_back(subkey->Name);
    });
  }
  AssignStrings(Strings, names);
}

void TRegistry::GetValueNames(TStrings& Strings) {
  std::vector<std::string> names;
  if (FCurrentKey != 0) {
    FStore->ReadKey(FCurrentNames, FKeyCache, false, [&](const RegKey* key) {
      if (key != nullptr)
        for (const RegValue& value : key->Values()) names.push_back(value.Name);
    });
  }
  AssignStrings(Strings, names);
}

bool TRegistry::GetDataInfo(const std::string& ValueName, TRegDataInfo& Value) {
  Value = TRegDataInfo();
  uint32_t type;
  std::string data;
  if (!GetValue(ValueName, type, data)) return false;
  switch (type) {
    case REG_SZ: Value.RegData = rdString; break;
    case REG_EXPAND_SZ: Value.RegData = rdExpandString; break;
    case REG_DWORD: Value.RegData = rdInteger; break;
    case REG_BINARY: Value.RegData = rdBinary; break;
    default: Value.RegData = rdUnknown;
  }
  bool terminated = type == REG_SZ || type == REG_EXPAND_SZ;
  Value.DataSize = static_cast<int>(data.size()) + (terminated ? 1 : 0);
  return true;
}

TRegDataType TRegistry::GetDataType(const std::string& ValueName) {
  TRegDataInfo info;
  GetDataInfo(ValueName, info);
  return info.RegData;
}

int TRegistry::GetDataSize(const std::string& ValueName) {
  TRegDataInfo info;
  return GetDataInfo(ValueName, info) ? info.DataSize : -1;
}

bool TRegistry::DeleteValue(const std::string& Name) {
  RegistryStore* store = FStore;
  if (FCurrentKey == 0 || FReadOnly) return false;
  bool deleted = false;
  try {
    store->Modify([&](RegKey& root) {
      RegKey* key = root.Find(FCurrentNames);
      deleted = key != nullptr && key->RemoveValue(Name);
      return deleted;
    });
  } catch (const EFileError&) {
    return false;
  }
  return deleted;
}

void TRegistry::RenameValue(const std::string& OldName, const std::string& NewName) {
  RegistryStore* store = FStore;
  if (FCurrentKey == 0 || FReadOnly) return;
  try {
    store->Modify([&](RegKey& root) {
      RegKey* key = root.Find(FCurrentNames);
      return key != nullptr && key->Value(NewName) == nullptr && key->RenameValue(OldName, NewName);
    });
  } catch (const EFileError&) {
    SetFailed(NewName);
  }
}

std::string TRegistry::ReadString(const std::string& Name) {
  uint32_t type;
  std::string data;
  if (!GetValue(Name, type, data)) return {};
  if (type != REG_SZ && type != REG_EXPAND_SZ) InvalidType(Name);
  return data;
}

void TRegistry::WriteString(const std::string& Name, const std::string& Value) { PutData(Name, REG_SZ, Value); }

std::string TRegistry::ReadExpandString(const std::string& Name) { return ReadString(Name); }

void TRegistry::WriteExpandString(const std::string& Name, const std::string& Value) {
  PutData(Name, REG_EXPAND_SZ, Value);
}

int TRegistry::ReadInteger(const std::string& Name) {
  uint32_t type;
  std::string data;
  if (!GetValue(Name, type, data)) GetFailed(Name);
  if (type != REG_DWORD || data.size() != 4) InvalidType(Name);
  int32_t value;
  std::memcpy(&value, data.data(), 4);
  return value;
}

void TRegistry::WriteInteger(const std::string& Name, int Value) {
  auto bits = static_cast<int32_t>(Value);
  PutData(Name, REG_DWORD, std::string(reinterpret_cast<const char*>(&bits), 4));
}

bool TRegistry::ReadBool(const std::string& Name) { return ReadInteger(Name) != 0; }

void TRegistry::WriteBool(const std::string& Name, bool Value) { WriteInteger(Name, Value ? 1 : 0); }

double TRegistry::ReadFloat(const std::string& Name) {
  uint32_t type;
  std::string data;
  if (!GetValue(Name, type, data)) GetFailed(Name);
  if (type != REG_BINARY || data.size() != sizeof(double)) InvalidType(Name);
  double value;
  std::memcpy(&value, data.data(), sizeof value);
  return value;
}

void TRegistry::WriteFloat(const std::string& Name, double Value) {
  PutData(Name, REG_BINARY, std::string(reinterpret_cast<const char*>(&Value), sizeof Value));
}

int TRegistry::ReadBinaryData(const std::string& Name, void* Buffer, int BufSize) {
  uint32_t type;
  std::string data;
  if (!GetValue(Name, type, data)) return 0;
  bool binary = type != REG_SZ && type != REG_EXPAND_SZ && type != REG_DWORD;
  if (!binary || static_cast<int64_t>(data.size()) > BufSize) InvalidType(Name);
  std::memcpy(Buffer, data.data(), data.size());
  return static_cast<int>(data.size());
}

void TRegistry::WriteBinaryData(const std::string& Name, const void* Buffer, int BufSize) {
  PutData(Name, REG_BINARY, std::string(static_cast<const char*>(Buffer), static_cast<size_t>(BufSize)));
}

std::vector<std::string> TRegistry::ReadMultiString(const std::string& Name) {
  uint32_t type;
  std::string data;
  if (!GetValue(Name, type, data)) return {};
  if (type != REG_MULTI_SZ) InvalidType(Name);
  std::vector<std::string> items;
  for (size_t pos = 0; pos < data.size();) {
    size_t end = data.find('\0', pos);
    if (end == std::string::npos) end = data.size();
    if (end == pos) break;
    items.push_back(data.substr(pos, end - pos));
    pos = end + 1;
  }
  return items;
}

void TRegistry::WriteMultiString(const std::string& Name, const std::vector<std::string>& Value) {
  std::string data;
  for (const std::string& item : Value) {
    if (item.empty() || item.find('\0') != std::string::npos) SetFailed(Name);
    data += item + '\0';
  }
  PutData(Name, REG_MULTI_SZ, data + '\0');
}

// --- TRegIniFile ---------------------------------------------------------------------------------

TRegIniFile::TRegIniFile(const std::string& FileName) : FFileName(FileName) { OpenKey(FileName, true); }

template <typename Action>
bool TRegIniFile::InSection(const std::string& Section, bool Create, Action action) {
  if (Section.empty()) {
    action();
    return true;
  }
  std::string home = "\\" + CurrentPath();
  bool wasOpen = CurrentKey() != 0;
  if (!OpenKey(Section, Create)) return false;
  try {
    action();
  } catch (...) {
    if (wasOpen) OpenKey(home, false);
    throw;
  }
  if (wasOpen) OpenKey(home, false);
  return true;
}

std::string TRegIniFile::ReadString(const std::string& Section, const std::string& Ident,
                                    const std::string& Default) {
  std::string result = Default;
  InSection(Section, false, [&] {
    if (ValueExists(Ident)) result = TRegistry::ReadString(Ident);
  });
  return result;
}

void TRegIniFile::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) {
  if (!InSection(Section, true, [&] { TRegistry::WriteString(Ident, Value); })) SetFailed(Ident);
}

int TRegIniFile::ReadInteger(const std::string& Section, const std::string& Ident, int Default) {
  int result = Default;
  InSection(Section, false, [&] {
    if (!ValueExists(Ident)) return;
    if (GetDataType(Ident) == rdString)
      result = ParseInteger(TRegistry::ReadString(Ident)).value_or(Default);
    else
      result = TRegistry::ReadInteger(Ident);
  });
  return result;
}

void TRegIniFile::WriteInteger(const std::string& Section, const std::string& Ident, int Value) {
  WriteString(Section, Ident, std::to_string(Value));
}

bool TRegIniFile::ReadBool(const std::string& Section, const std::string& Ident, bool Default) {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TRegIniFile::WriteBool(const std::string& Section, const std::string& Ident, bool Value) {
  WriteInteger(Section, Ident, Value ? 1 : 0);
}

void TRegIniFile::ReadSection(const std::string& Section, TStrings& Strings) {
  if (!InSection(Section, false, [&] { GetValueNames(Strings); })) Strings.Clear();
}

void TRegIniFile::ReadSections(TStrings& Strings) { GetKeyNames(Strings); }

void TRegIniFile::ReadSectionValues(const std::string& Section, TStrings& Strings) {
  std::vector<std::string> lines;
  InSection(Section, false, [&] {
    TStringList names;
    GetValueNames(names);
    for (int i = 0; i < names.Count(); ++i) {
      std::string name = names[i];
      std::string value = GetDataType(name) == rdInteger ? std::to_string(TRegistry::ReadInteger(name))
                                                         : TRegistry::ReadString(name);
      lines.push_back(name + "=" + value);
    }
  });
  AssignStrings(Strings, lines);
}

void TRegIniFile::EraseSection(const std::string& Section) { TRegistry::DeleteKey(Section); }

void TRegIniFile::DeleteKey(const std::string& Section, const std::string& Ident) {
  InSection(Section, false, [&] { DeleteValue(Ident); });
}
