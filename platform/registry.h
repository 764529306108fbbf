// The registry: keys and typed values under predefined root keys, kept durably in the user's
// configuration folder (see registry_store.h), with the class library's TRegistry interface.
// Key paths use '\' between names; a path starting with '\' is absolute (from the root key),
// any other is relative to the open key (or the root key when none is open). Key and value
// names are compared without case and keep the case they were created with; the empty value
// name is a key's default value. Subkeys are listed in name order, values in creation order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/object.h"

class RegistryStore;
class TStrings;
struct RegKey;

// Where a key was found in a store's content, kept while that content stays unchanged (see
// RegistryStore::ReadKey).
struct TRegKeyCache {
  const RegKey* Key = nullptr;
  uint64_t Version = 0;  // of the content it was found in; 0 when none
};

using HKEY = uintptr_t;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;
inline constexpr HKEY HKEY_USERS = 0x80000003;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005;

// Value types.
inline constexpr uint32_t REG_NONE = 0;
inline constexpr uint32_t REG_SZ = 1;
inline constexpr uint32_t REG_EXPAND_SZ = 2;
inline constexpr uint32_t REG_BINARY = 3;
inline constexpr uint32_t REG_DWORD = 4;
inline constexpr uint32_t REG_MULTI_SZ = 7;

// The library's view of value types (REG_MULTI_SZ and others are rdUnknown).
enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegDataInfo {
  TRegDataType RegData = rdUnknown;
  int DataSize = 0;  // bytes; strings count their terminating zero
};

// Access to keys and values of one root key. Errors: ERegistryException "Invalid data type for
// '%s'" for a value of another type, "Failed to get data for '%s'" for a missing value where a
// number is needed, "Failed to set data for '%s'" when a value cannot be written (no key open,
// key opened read-only or deleted meanwhile). A store that cannot be saved keeps changes for the
// session (RegistryStore::SessionOnly). Keys lie at most kRegMaxDepth (512) levels deep. An open
// key stays in the store it was opened in: a new configuration folder is used from the next key
// opened (or path named) on.
class TRegistry : public TObject {
public:
  TRegistry();  // root key HKEY_CURRENT_USER, no key open
  ~TRegistry() override;
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  HKEY RootKey() const { return FRootKey; }
  // Closes the open key and changes the root key.
  void SetRootKey(HKEY Value);
  // The open key (a non-zero handle), 0 when none is open.
  HKEY CurrentKey() const { return FCurrentKey; }
  // The path of the open key below the root key, without a leading '\'.
  const std::string& CurrentPath() const { return FCurrentPath; }

  // Opens a key, creating it (with missing parents) when `CanCreate`; false when it does not
  // exist or cannot be created. "" opens the root key (or the open key again).
  bool OpenKey(const std::string& Key, bool CanCreate);
  // Opens an existing key for reading only.
  bool OpenKeyReadOnly(const std::string& Key);
  // Creates a key without opening it; raises "Failed to create key %s" when it cannot.
  bool CreateKey(const std::string& Key);
  void CloseKey();
  // Deletes a key with all its subkeys and values; false when it does not exist.
  bool DeleteKey(const std::string& Key);
  bool KeyExists(const std::string& Key);
  bool HasSubKeys();
  // Copies key `OldName` with everything below it to `NewName` (which must not exist, nor lie
  // below `OldName`), then deletes `OldName` when `Delete`.
  void MoveKey(const std::string& OldName, const std::string& NewName, bool Delete);

  bool ValueExists(const std::string& Name);
  // Replace `Strings` with the names of the open key's subkeys / values.
  void GetKeyNames(TStrings& Strings);
  void GetValueNames(TStrings& Strings);
  // False (and an empty Value) when the value does not exist.
  bool GetDataInfo(const std::string& ValueName, TRegDataInfo& Value);
  TRegDataType GetDataType(const std::string& ValueName);
  // Size in bytes, -1 when the value does not exist.
  int GetDataSize(const std::string& ValueName);
  bool DeleteValue(const std::string& Name);
  // Renames a value when it exists and `NewName` does not; otherwise does nothing.
  void RenameValue(const std::string& OldName, const std::string& NewName);

  // REG_SZ or REG_EXPAND_SZ; "" when the value does not exist.
  std::string ReadString(const std::string& Name);
  void WriteString(const std::string& Name, const std::string& Value);
  std::string ReadExpandString(const std::string& Name);
  void WriteExpandString(const std::string& Name, const std::string& Value);
  // REG_DWORD; a missing value raises.
  int ReadInteger(const std::string& Name);
  void WriteInteger(const std::string& Name, int Value);
  // ReadInteger != 0; written as the integer 1 or 0.
  bool ReadBool(const std::string& Name);
  void WriteBool(const std::string& Name, bool Value);
  // 8 bytes of REG_BINARY holding a double; a missing value raises.
  double ReadFloat(const std::string& Name);
  void WriteFloat(const std::string& Name, double Value);
  // Copies binary data into Buffer and returns its size; 0 when the value does not exist; a
  // value that is not binary or larger than BufSize raises "Invalid data type for '%s'".
  int ReadBinaryData(const std::string& Name, void* Buffer, int BufSize);
  void WriteBinaryData(const std::string& Name, const void* Buffer, int BufSize);
  // REG_MULTI_SZ: a list of non-empty strings; empty when the value does not exist.
  std::vector<std::string> ReadMultiString(const std::string& Name);
  void WriteMultiString(const std::string& Name, const std::vector<std::string>& Value);

private:
  bool Open(const std::string& Key, bool CanCreate, bool ReadOnly);
  // The key path named by `Key` (absolute, or relative to the open key) into `Path`, whose
  // names' storage is reused; false when malformed.
  bool Resolve(const std::string& Key, std::vector<std::string>& Path) const;
  // Writes one value into the open key.
  void PutData(const std::string& Name, uint32_t Type, std::string Data);
  // The open key's value (type and data); false when missing.
  bool GetValue(const std::string& Name, uint32_t& Type, std::string& Data);

  HKEY FRootKey = HKEY_CURRENT_USER;
  HKEY FCurrentKey = 0;
  std::string FCurrentPath;
  std::vector<std::string> FCurrentNames;  // FCurrentPath split into names
  RegistryStore* FStore = nullptr;         // holds the open key
  std::vector<std::string> FOpenPath;      // Open's path being resolved
  TRegKeyCache FKeyCache;                  // where the open key was last found
  bool FReadOnly = false;
};

// INI-style access over a registry key (under HKEY_CURRENT_USER): sections are subkeys of the
// key named by the file name, idents are value names. Integers and Booleans are written as
// strings; reading accepts them as strings or as REG_DWORD values.
class TRegIniFile : public TRegistry {
public:
  explicit TRegIniFile(const std::string& FileName);

  const std::string& FileName() const { return FFileName; }
  std::string ReadString(const std::string& Section, const std::string& Ident, const std::string& Default);
  void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value);
  int ReadInteger(const std::string& Section, const std::string& Ident, int Default);
  void WriteInteger(const std::string& Section, const std::string& Ident, int Value);
  bool ReadBool(const std::string& Section, const std::string& Ident, bool Default);
  void WriteBool(const std::string& Section, const std::string& Ident, bool Value);
  // Value names of a section / subkey names / "name=value" lines of a section.
  void ReadSection(const std::string& Section, TStrings& Strings);
  void ReadSections(TStrings& Strings);
  void ReadSectionValues(const std::string& Section, TStrings& Strings);
  void EraseSection(const std::string& Section);
  void DeleteKey(const std::string& Section, const std::string& Ident);
  using TRegistry::DeleteKey;

private:
  // Runs `action` with the subkey `Section` open (created when `Create`), then reopens the
  // file's key; returns false without running it when the subkey cannot be opened.
  template <typename Action>
  bool InSection(const std::string& Section, bool Create, Action action);

  std::string FFileName;
};
