// The durable store behind TRegistry: one text file per root key in the user's configuration
// folder ("HKEY_CURRENT_USER.registry", ...), shared by every TRegistry of the process and safe
// for several processes at once.
//
// File format (UTF-8; program text is converted from and to the system code page):
//   QuillomarkRegistry 1                      first line: format name and version
//   ; comment                                 comments and blank lines are ignored
//   [Software\Vortanel]                       a key; "[]" is the root key itself
//   @=sz:"text"                               the key's default (unnamed) value
//   "Name"=sz:"a \"quoted\" \\ text\n"        REG_SZ
//   "Path"=expand_sz:"%HOME%"                 REG_EXPAND_SZ
//   "Count"=dword:0000000a                    REG_DWORD (hexadecimal)
//   "Pos"=binary:00,00,f0,3f                  REG_BINARY
//   "List"=multi_sz:"a","b"                   REG_MULTI_SZ
//   "Odd"=hex(9):01,02                        any other type, by number
//   EndOfRegistry                             last line: the file is complete
// Every key has its own line, parents before children; values belong to the key above them.
// Quoted strings escape \\ \" \n \r \t and other control characters as \xHH; key names escape
// '%' and control characters as %HH.
//
// Changes are made under an exclusive lock on "<file>.lock", always on the file's current
// content, and written atomically (temporary file, fsync, rename), so that two running copies
// lose none of each other's changes and a crash never leaves a half-written store. Reads use
// the content cached in memory until the file changes on disk; inside a TRegistryBatch the file
// is compared once per store, at the batch's first read of it.
//
// A damaged file (not our first line, a line that does not parse, a key nested deeper than
// kRegMaxDepth, or no last line because the file was cut short) is recovered: everything that
// parses is used and the damaged file is kept beside it as "<file>.damaged".
//
// A store that cannot be used keeps the program's changes for the running session only and
// says why (SessionOnly): a file of a newer format version (left untouched; the session starts
// from an empty store, that is, on defaults), a file that cannot be read (a folder, no
// permission), or a folder where the file cannot be written or created.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/files.h"
#include "platform/registry.h"

// One value: its name (case as created), type (REG_*) and data. String data is held without
// a terminating zero; REG_MULTI_SZ data as the strings each followed by a zero, then a zero.
struct RegValue {
  std::string Name;
  uint32_t Type = 0;
  std::string Data;
};

// The deepest a key may lie below its root key (as on Windows).
inline constexpr size_t kRegMaxDepth = 512;

// One key with its subkeys (by name without case) and values (in creation order, found by an
// index on their names). Freeing, copying and formatting a tree never recurse.
struct RegKey {
  std::string Name;
  std::map<std::string, std::unique_ptr<RegKey>> Subkeys;

  RegKey() = default;
  ~RegKey();
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;

  RegKey* Subkey(const std::string& name) const;
  // The subkey, created when missing.
  RegKey& AddSubkey(const std::string& name);
  bool RemoveSubkey(const std::string& name);
  const std::vector<RegValue>& Values() const { return FValues; }
  const RegValue* Value(const std::string& name) const;
  // The value to change in place; its name is changed only by RenameValue.
  RegValue* Value(const std::string& name);
  // Adds the value, or replaces the one of the same name (keeping its place).
  void SetValue(RegValue value);
  bool RemoveValue(const std::string& name);
  // Renames a value in its place; false when it is missing or the new name is taken.
  bool RenameValue(const std::string& oldName, const std::string& newName);
  // The key at `path` (names below this key), nullptr when missing.
  RegKey* Find(const std::vector<std::string>& path);
  const RegKey* Find(const std::vector<std::string>& path) const;
  std::unique_ptr<RegKey> Clone() const;

private:
  std::vector<RegValue> FValues;
  std::unordered_map<std::string, size_t> FValueIndex;  // folded name -> place in FValues
};

// The form of a key or value name that look-ups compare (case folded).
std::string RegFoldName(const std::string& name);

// Result of reading a store file.
struct RegParseResult {
  std::unique_ptr<RegKey> Root;
  bool Damaged = false;
  int DamagedLine = 0;  // first line that did not parse (1-based), 0 when the end is missing
};
// Parses the text of a store file; raises ERegistryException for a newer format version.
// Cost is linear in the text.
RegParseResult ParseRegistryText(const std::string& text, const std::string& fileName);
std::string FormatRegistryText(const RegKey& root, const std::string& rootName);

class RegistryFileLock;  // an exclusive lock on a store's lock file

class RegistryStore {
public:
  // The store of a root key (HKEY_CURRENT_USER...) in the current configuration folder;
  // nullptr for a root key we do not keep.
  static RegistryStore* ForRoot(uintptr_t rootKey);

  // Runs `read` over the current content (in a batch, as the batch first read it).
  void Read(const std::function<void(const RegKey& root)>& read);
  // Runs `read` over the key at `path` (nullptr when missing), as Read; when `latest`, over the
  // file's content as it is now also in a batch (for deciding whether a change is needed).
  // `cache` keeps the key found for the next call while the content stays the same.
  void ReadKey(const std::vector<std::string>& path, TRegKeyCache& cache, bool latest,
               const std::function<void(const RegKey* key)>& read);
  // Runs `change` over the content as it is on disk, under the lock; when it returns true the
  // content is written. When the store cannot be written, the change is kept for the session
  // (see SessionOnly).
  void Modify(const std::function<bool(RegKey& root)>& change);

  const std::string& FileName() const { return FFileName; }

  // Why the store keeps changes for this session only; Reason None while it is saved normally.
  struct TSessionOnly {
    enum TReason { None, NewerFormat, CannotRead, CannotWrite } Reason = None;
    std::string Detail;  // the error's text
  };
  TSessionOnly SessionOnly();
  // Where the damaged file read this session was kept ("" when none was damaged); what could be
  // read of it is in use.
  const std::string& DamagedCopy() const { return FDamagedCopy; }

  RegistryStore(std::string fileName, std::string rootName);
  ~RegistryStore();

  friend class TRegistryBatch;

private:
  // Reads the file into FRoot; turns session-only when it cannot be used.
  void Load();
  // Brings the content up to date with the file when it may differ; `latest` ignores the
  // batch's first look at the file.
  void Refresh(bool latest);
  // Applies `change` to the file's content under the lock and writes it (in a batch, when the
  // batch lets go of the store); false when the file turned out unusable before `change` ran.
  // File errors before that pass as EFileError.
  bool WriteThrough(const std::function<bool(RegKey& root)>& change);
  // Takes the lock and brings the content up to date with the file.
  std::unique_ptr<RegistryFileLock> LockCurrent();
  // Writes the content to the file (the lock held); turns session-only when it cannot.
  void WriteContent();
  // In a batch: writes what the batch changed and lets go of the lock.
  void EndBatch();
  // From now on changes stay in memory; the first reason is kept.
  void MakeSessionOnly(TSessionOnly::TReason reason, const std::string& detail);

  std::string FFileName;
  std::string FRootName;
  std::unique_ptr<RegKey> FRoot;
  std::optional<TFileStamp> FStamp;  // of the file FRoot was read from; empty when not loaded
  TSessionOnly FSessionOnly;
  std::string FDamagedCopy;
  std::unique_ptr<RegistryFileLock> FBatchLock;  // held by a batch since its first change here
  bool FBatchChanged = false;
  uint64_t FCheckedInBatch = 0;  // the batch whose first read here compared the file (see Refresh)
};

// While one lives, the process's changes to its stores are written together: a store is
// locked at the batch's first change to it and written once, when the batch ends or moves on
// to another store (one store is locked at a time, so two copies never wait for each other).
// Reads see the file as it was at the batch's first read of each store (and the batch's own
// changes); a change still starts from the file's current content. Other copies wait for the
// lock meanwhile, so keep a batch short, and end it before the user can be asked anything.
class TRegistryBatch {
public:
  TRegistryBatch();
  ~TRegistryBatch();
  TRegistryBatch(const TRegistryBatch&) = delete;
  TRegistryBatch& operator=(const TRegistryBatch&) = delete;

private:
  friend class RegistryStore;
  // Ends the batch's hold on the store it holds, if any; `next` is about to be changed.
  static void MoveTo(RegistryStore* next);
};
