#include "platform/registry_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <mutex>
#include <optional>
#include <string_view>

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/registry.h"

namespace {

constexpr char kHeader[] = "QuillomarkRegistry";
constexpr int kVersion = 1;
constexpr char kTrailer[] = "EndOfRegistry";

// Guards every store and the table of stores.
std::mutex g_mutex;

// The batches open (nested), the store the outermost one holds locked, and the number of the
// outermost batch (counted from 1), by which a store knows it was checked in this batch.
int g_batchDepth = 0;
RegistryStore* g_batchStore = nullptr;
uint64_t g_batchNumber = 0;

// Grows whenever a store's content in memory is read anew or changed: a TRegKeyCache of an
// older version may point at a key that is gone.
uint64_t g_contentVersion = 1;

const char kHex[] = "0123456789abcdef";

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// --- Writing ---

std::string QuoteText(const std::string& text) {
  std::string utf8 = AnsiToUtf8(text), out = "\"";
  for (unsigned char c : utf8) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          out += "\\x";
          out += kHex[c >> 4];
          out += kHex[c & 15];
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string EscapeKeyName(const std::string& name) {
  std::string out;
  for (unsigned char c : AnsiToUtf8(name)) {
    if (c < 0x20 || c == 0x7F || c == '%' || c == '\\') {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string HexBytes(std::string_view data) {
  std::string out;
  for (size_t i = 0; i < data.size(); ++i) {
    if (i > 0) out += ',';
    auto c = static_cast<unsigned char>(data[i]);
    out += kHex[c >> 4];
    out += kHex[c & 15];
  }
  return out;
}

std::vector<std::string> SplitMultiString(const std::string& data) {
  std::vector<std::string> items;
  size_t pos = 0;
  while (pos < data.size()) {
    size_t end = data.find('\0', pos);
    if (end == std::string::npos) end = data.size();
    if (end == pos) break;  // the terminating empty string
    items.push_back(data.substr(pos, end - pos));
    pos = end + 1;
  }
  return items;
}

std::string FormatValue(const RegValue& value) {
  std::string line = value.Name.empty() ? "@" : QuoteText(value.Name);
  line += '=';
  switch (value.Type) {
    case REG_SZ: return line + "sz:" + QuoteText(value.Data);
    case REG_EXPAND_SZ: return line + "expand_sz:" + QuoteText(value.Data);
    case REG_DWORD: {
      uint32_t n = 0;
      std::memcpy(&n, value.Data.data(), std::min<size_t>(4, value.Data.size()));
      char buffer[16];
      std::snprintf(buffer, sizeof buffer, "%08x", n);
      return line + "dword:" + buffer;
    }
    case REG_BINARY: return line + "binary:" + HexBytes(value.Data);
    case REG_MULTI_SZ: {
      line += "multi_sz:";
      bool first = true;
      for (const std::string& item : SplitMultiString(value.Data)) {
        if (!first) line += ',';
        line += QuoteText(item);
        first = false;
      }
      return line;
    }
    default: return line + "hex(" + std::to_string(value.Type) + "):" + HexBytes(value.Data);
  }
}

// Every key with its values, parents before children, without recursion.
void FormatKeys(const RegKey& root, std::string& out) {
  if (!root.Values().empty()) {
    out += "[]\n";
    for (const RegValue& value : root.Values()) out += FormatValue(value) + "\n";
  }
  struct Pending {
    const RegKey* key;
    std::string path;
  };
  std::vector<Pending> pending;
  auto pushChildren = [&pending](const RegKey& key, const std::string& path) {
    for (auto it = key.Subkeys.rbegin(); it != key.Subkeys.rend(); ++it)
      pending.push_back({it->second.get(), (path.empty() ? path : path + "\\") + EscapeKeyName(it->second->Name)});
  };
  pushChildren(root, "");
  while (!pending.empty()) {
    Pending next = std::move(pending.back());
    pending.pop_back();
    out += "[" + next.path + "]\n";
    for (const RegValue& value : next.key->Values()) out += FormatValue(value) + "\n";
    pushChildren(*next.key, next.path);
  }
}

// --- Reading ---

// Reads a quoted string at `pos` (program text); nullopt when malformed.
std::optional<std::string> ParseQuoted(std::string_view line, size_t& pos) {
  if (pos >= line.size() || line[pos] != '"') return std::nullopt;
  std::string utf8;
  for (++pos; pos < line.size(); ++pos) {
    char c = line[pos];
    if (c == '"') {
      ++pos;
      return Utf8ToAnsi(utf8);
    }
    if (c != '\\') {
      utf8 += c;
      continue;
    }
    if (++pos >= line.size()) return std::nullopt;
    switch (line[pos]) {
      case '\\': utf8 += '\\'; break;
      case '"': utf8 += '"'; break;
      case 'n': utf8 += '\n'; break;
      case 'r': utf8 += '\r'; break;
      case 't': utf8 += '\t'; break;
      case 'x': {
        if (pos + 2 >= line.size()) return std::nullopt;
        int high = HexDigit(line[pos + 1]), low = HexDigit(line[pos + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        utf8 += static_cast<char>(high * 16 + low);
        pos += 2;
        break;
      }
      default: return std::nullopt;
    }
  }
  return std::nullopt;
}

std::optional<std::string> ParseHexBytes(std::string_view text) {
  std::string data;
  if (text.empty()) return data;
  for (size_t pos = 0;; pos += 3) {
    if (pos + 2 > text.size()) return std::nullopt;
    int high = HexDigit(text[pos]), low = HexDigit(text[pos + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    data += static_cast<char>(high * 16 + low);
    if (pos + 2 == text.size()) return data;
    if (text[pos + 2] != ',') return std::nullopt;
  }
}

std::optional<std::vector<std::string>> ParseKeyPath(std::string_view inner) {
  std::vector<std::string> path;
  if (inner.empty()) return path;
  size_t pos = 0;
  for (;;) {
    size_t end = inner.find('\\', pos);
    if (end == std::string_view::npos) end = inner.size();
    std::string utf8;
    for (size_t i = pos; i < end; ++i) {
      if (inner[i] != '%') {
        utf8 += inner[i];
        continue;
      }
      if (i + 2 >= end) return std::nullopt;
      int high = HexDigit(inner[i + 1]), low = HexDigit(inner[i + 2]);
      if (high < 0 || low < 0) return std::nullopt;
      utf8 += static_cast<char>(high * 16 + low);
      i += 2;
    }
    if (utf8.empty() || path.size() == kRegMaxDepth) return std::nullopt;
    path.push_back(Utf8ToAnsi(utf8));
    if (end == inner.size()) return path;
    pos = end + 1;
  }
}

std::optional<RegValue> ParseValue(std::string_view line) {
  RegValue value;
  size_t pos = 0;
  if (!line.empty() && line[0] == '@') {
    pos = 1;
  } else {
    auto name = ParseQuoted(line, pos);
    if (!name || name->empty()) return std::nullopt;
    value.Name = *name;
  }
  if (pos >= line.size() || line[pos] != '=') return std::nullopt;
  size_t colon = line.find(':', ++pos);
  if (colon == std::string_view::npos) return std::nullopt;
  std::string_view type = line.substr(pos, colon - pos), data = line.substr(colon + 1);
  if (type == "sz" || type == "expand_sz") {
    value.Type = type == "sz" ? REG_SZ : REG_EXPAND_SZ;
    size_t at = 0;
    auto text = ParseQuoted(data, at);
    if (!text || at != data.size()) return std::nullopt;
    value.Data = *text;
  } else if (type == "dword") {
    if (data.empty() || data.size() > 8) return std::nullopt;
    uint32_t n = 0;
    for (char c : data) {
      int digit = HexDigit(c);
      if (digit < 0) return std::nullopt;
      n = n * 16 + static_cast<uint32_t>(digit);
    }
    value.Type = REG_DWORD;
    value.Data.assign(reinterpret_cast<const char*>(&n), 4);
  } else if (type == "multi_sz") {
    value.Type = REG_MULTI_SZ;
    size_t at = 0;
    while (at < data.size()) {
      auto item = ParseQuoted(data, at);
      if (!item || item->empty() || item->find('\0') != std::string::npos) return std::nullopt;
      value.Data += *item + '\0';
      if (at < data.size() && data[at++] != ',') return std::nullopt;
    }
    value.Data += '\0';
  } else {
    uint32_t number = REG_BINARY;
    if (type != "binary") {
      if (type.size() < 4 || type.substr(0, 4) != "hex(" || type.back() != ')') return std::nullopt;
      std::string digits(type.substr(4, type.size() - 5));
      if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
      number = static_cast<uint32_t>(std::stoul(digits));
    }
    auto bytes = ParseHexBytes(data);
    if (!bytes) return std::nullopt;
    value.Type = number;
    value.Data = *bytes;
  }
  return value;
}

struct RootInfo {
  uintptr_t key;
  const char* name;
};
const RootInfo kRoots[] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"}, {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"}, {HKEY_USERS, "HKEY_USERS"},
    {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"},
};

}  // namespace

// Holds an exclusive advisory lock on a lock file.
class RegistryFileLock {
public:
  explicit RegistryFileLock(const std::string& fileName) {
    fd_ = ::open(NativePath(fileName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0) throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
    while (::flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        int error = errno;
        ::close(fd_);
        throw EFOpenError("Cannot lock file \"" + fileName + "\". " + std::strerror(error));
      }
    }
  }
  ~RegistryFileLock() { ::close(fd_); }  // closing releases the lock
  RegistryFileLock(const RegistryFileLock&) = delete;
  RegistryFileLock& operator=(const RegistryFileLock&) = delete;

private:
  int fd_;
};

// --- RegKey --------------------------------------------------------------------------------------

std::string RegFoldName(const std::string& name) { return AnsiLowerCase(name); }

namespace {

// RegFoldName(name) in a buffer of this thread, for a look-up: valid until the next call.
const std::string& FoldForLookup(const std::string& name) {
  thread_local std::string folded;
  AnsiLowerCaseTo(folded, name);
  return folded;
}

}  // namespace

RegKey* RegKey::Subkey(const std::string& name) const {
  auto it = Subkeys.find(FoldForLookup(name));
  return it == Subkeys.end() ? nullptr : it->second.get();
}

RegKey& RegKey::AddSubkey(const std::string& name) {
  const std::string& folded = FoldForLookup(name);
  auto it = Subkeys.lower_bound(folded);
  if (it == Subkeys.end() || it->first != folded) {
    it = Subkeys.emplace_hint(it, folded, std::make_unique<RegKey>());
    it->second->Name = name;
  }
  return *it->second;
}

bool RegKey::RemoveSubkey(const std::string& name) { return Subkeys.erase(FoldForLookup(name)) != 0; }

RegKey::~RegKey() {
  // A deep tree is freed level by level, never by nested destructors.
  std::vector<std::unique_ptr<RegKey>> pending;
  for (auto& [folded, subkey] : Subkeys) pending.push_back(std::move(subkey));
  Subkeys.clear();
  while (!pending.empty()) {
    std::unique_ptr<RegKey> key = std::move(pending.back());
    pending.pop_back();
    for (auto& [folded, subkey] : key->Subkeys) pending.push_back(std::move(subkey));
    key->Subkeys.clear();
  }
}

const RegValue* RegKey::Value(const std::string& name) const {
  auto it = FValueIndex.find(FoldForLookup(name));
  return it == FValueIndex.end() ? nullptr : &FValues[it->second];
}

RegValue* RegKey::Value(const std::string& name) {
  return const_cast<RegValue*>(static_cast<const RegKey*>(this)->Value(name));
}

void RegKey::SetValue(RegValue value) {
  auto [it, added] = FValueIndex.try_emplace(FoldForLookup(value.Name), FValues.size());
  if (added)
    FValues.push_back(std::move(value));
  else
    FValues[it->second] = std::move(value);
}

bool RegKey::RemoveValue(const std::string& name) {
  auto it = FValueIndex.find(FoldForLookup(name));
  if (it == FValueIndex.end()) return false;
  const size_t place = it->second;
  FValueIndex.erase(it);
  FValues.erase(FValues.begin() + static_cast<std::ptrdiff_t>(place));
  for (auto& [folded, index] : FValueIndex)
    if (index > place) --index;
  return true;
}

bool RegKey::RenameValue(const std::string& oldName, const std::string& newName) {
  auto it = FValueIndex.find(RegFoldName(oldName));
  if (it == FValueIndex.end() || (Value(newName) != nullptr && RegFoldName(oldName) != RegFoldName(newName)))
    return false;
  const size_t place = it->second;
  FValueIndex.erase(it);
  FValueIndex[RegFoldName(newName)] = place;
  FValues[place].Name = newName;
  return true;
}

RegKey* RegKey::Find(const std::vector<std::string>& path) {
  return const_cast<RegKey*>(static_cast<const RegKey*>(this)->Find(path));
}

const RegKey* RegKey::Find(const std::vector<std::string>& path) const {
  const RegKey* key = this;
  for (const std::string& name : path)
    if ((key = key->Subkey(name)) == nullptr) return nullptr;
  return key;
}

std::unique_ptr<RegKey> RegKey::Clone() const {
  auto copy = std::make_unique<RegKey>();
  std::vector<std::pair<const RegKey*, RegKey*>> pending{{this, copy.get()}};
  while (!pending.empty()) {
    auto [from, to] = pending.back();
    pending.pop_back();
    to->Name = from->Name;
    to->FValues = from->FValues;
    to->FValueIndex = from->FValueIndex;
    for (const auto& [folded, subkey] : from->Subkeys) {
      auto& slot = to->Subkeys[folded];
      slot = std::make_unique<RegKey>();
      pending.push_back({subkey.get(), slot.get()});
    }
  }
  return copy;
}

// --- Text format ---------------------------------------------------------------------------------

RegParseResult ParseRegistryText(const std::string& text, const std::string& fileName) {
  RegParseResult result;
  result.Root = std::make_unique<RegKey>();
  RegKey* current = nullptr;
  bool ended = false;
  auto damage = [&](int lineNumber) {
    if (!result.Damaged) result.DamagedLine = lineNumber;
    result.Damaged = true;
  };

  int lineNumber = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + pos, end - pos);
    pos = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    if (lineNumber == 1) {
      std::string_view header(kHeader);
      if (line.size() > header.size() + 1 && line.substr(0, header.size()) == header &&
          line[header.size()] == ' ') {
        std::string version(line.substr(header.size() + 1));
        if (version == std::to_string(kVersion)) continue;
        if (version.find_first_not_of("0123456789") == std::string::npos && version.size() < 9 &&
            std::stoi(version) > kVersion)
          throw ERegistryException("The registry file \"" + fileName + "\" was written by a newer version (format " +
                                   version + ")");
      }
      damage(1);  // not our first line: read it as any other line
    }
    if (ended) {
      if (!line.empty()) damage(lineNumber);
      continue;
    }
    if (line.empty() || line[0] == ';') continue;
    if (line == kTrailer) {
      ended = true;
      continue;
    }
    if (line[0] == '[') {
      std::optional<std::vector<std::string>> path;
      if (line.back() == ']') path = ParseKeyPath(line.substr(1, line.size() - 2));
      if (!path) {
        current = nullptr;  // the values below belong to a key we cannot name
        damage(lineNumber);
        continue;
      }
      current = result.Root.get();
      for (const std::string& name : *path) current = &current->AddSubkey(name);
      continue;
    }
    std::optional<RegValue> value = current == nullptr ? std::nullopt : ParseValue(line);
    if (!value) {
      damage(lineNumber);
      continue;
    }
    current->SetValue(std::move(*value));
  }
  if (!ended) {
    if (!result.Damaged) result.DamagedLine = 0;
    result.Damaged = true;
  }
  return result;
}

std::string FormatRegistryText(const RegKey& root, const std::string& rootName) {
  std::string out = std::string(kHeader) + " " + std::to_string(kVersion) + "\n";
  out += "; " + rootName + " of Quillomark. Edit only while no copy of the program runs.\n";
  FormatKeys(root, out);
  out += kTrailer;
  out += "\n";
  return out;
}

// --- RegistryStore -------------------------------------------------------------------------------

RegistryStore::RegistryStore(std::string fileName, std::string rootName)
    : FFileName(std::move(fileName)), FRootName(std::move(rootName)) {}

RegistryStore::~RegistryStore() = default;

RegistryStore* RegistryStore::ForRoot(uintptr_t rootKey) {
  const RootInfo* root = std::find_if(std::begin(kRoots), std::end(kRoots),
                                      [rootKey](const RootInfo& info) { return info.key == rootKey; });
  if (root == std::end(kRoots)) return nullptr;
  std::string folder = UserConfigFolder();
  std::lock_guard lock(g_mutex);
  // Every store made this session, by file name; and those of the folder asked last, so that
  // an unchanged folder costs no look-up.
  static std::map<std::string, std::unique_ptr<RegistryStore>> stores;
  static std::string lastFolder;
  static RegistryStore* lastStores[std::size(kRoots)] = {};
  if (folder != lastFolder) {
    lastFolder = std::move(folder);
    std::fill(std::begin(lastStores), std::end(lastStores), nullptr);
  }
  RegistryStore*& cached = lastStores[root - kRoots];
  if (cached == nullptr) {
    std::string fileName = lastFolder + root->name + ".registry";
    auto& store = stores[fileName];
    if (!store) store = std::make_unique<RegistryStore>(fileName, root->name);
    cached = store.get();
  }
  return cached;
}

void RegistryStore::Load() {
  ++g_contentVersion;
  FStamp.reset();
  FRoot = std::make_unique<RegKey>();
  TFileStamp stamp = GetFileStamp(FFileName);
  if (!stamp.Exists) {
    FStamp = stamp;
    return;
  }
  std::string text;
  try {
    if (DirectoryExists(FFileName)) throw EFOpenError("Cannot open file \"" + FFileName + "\". It is a folder");
    text = ReadFileBytes(FFileName);
  } catch (const EFileError& e) {
    MakeSessionOnly(TSessionOnly::CannotRead, e.Message);
    return;
  }
  RegParseResult parsed;
  try {
    parsed = ParseRegistryText(text, FFileName);
  } catch (const ERegistryException& e) {
    MakeSessionOnly(TSessionOnly::NewerFormat, e.Message);  // the file stays as it is
    return;
  }
  if (parsed.Damaged) {
    // Keep the damaged file for the user; what could be read is used from now on.
    try {
      WriteFileAtomic(FFileName + ".damaged", text);
      FDamagedCopy = FFileName + ".damaged";
    } catch (const EFileError&) {
    }
  }
  FRoot = std::move(parsed.Root);
  FStamp = stamp;
}

void RegistryStore::MakeSessionOnly(TSessionOnly::TReason reason, const std::string& detail) {
  if (FSessionOnly.Reason == TSessionOnly::None) FSessionOnly = {reason, detail};
  FStamp.reset();
}

RegistryStore::TSessionOnly RegistryStore::SessionOnly() {
  std::lock_guard lock(g_mutex);
  return FSessionOnly;
}

void RegistryStore::Refresh(bool latest) {
  if (FSessionOnly.Reason != TSessionOnly::None) return;
  // While a batch holds the lock, no other copy can change the file; otherwise a batch looks at
  // the file once, and its later reads use the content the file had then.
  if (FStamp && (FBatchLock || (!latest && g_batchDepth > 0 && FCheckedInBatch == g_batchNumber))) return;
  if (!FStamp || GetFileStamp(FFileName) != *FStamp) Load();
  if (g_batchDepth > 0) FCheckedInBatch = g_batchNumber;
}

void RegistryStore::Read(const std::function<void(const RegKey& root)>& read) {
  std::lock_guard lock(g_mutex);
  Refresh(false);
  read(*FRoot);
}

void RegistryStore::ReadKey(const std::vector<std::string>& path, TRegKeyCache& cache, bool latest,
                            const std::function<void(const RegKey* key)>& read) {
  std::lock_guard lock(g_mutex);
  Refresh(latest);
  if (cache.Version != g_contentVersion) cache = {FRoot->Find(path), g_contentVersion};
  read(cache.Key);
}

std::unique_ptr<RegistryFileLock> RegistryStore::LockCurrent() {
  ForceDirectories(ExtractFilePath(FFileName));
  auto lock = std::make_unique<RegistryFileLock>(FFileName + ".lock");
  // Start from the file as it is now: another process may have changed it a moment ago. Every
  // writer replaces the file (a new inode), so an unchanged stamp means the content in memory is
  // the file's.
  if (!FStamp || GetFileStamp(FFileName) != *FStamp) Load();
  // Only one writer holds the lock: temporary files beside the store are left by a writer
  // that was killed.
  if (FSessionOnly.Reason == TSessionOnly::None) RemoveLeftoverTempFiles(FFileName);
  return lock;
}

void RegistryStore::WriteContent() {
  try {
    WriteFileAtomic(FFileName, FormatRegistryText(*FRoot, FRootName));
  } catch (const EFileError& e) {
    MakeSessionOnly(TSessionOnly::CannotWrite, e.Message);  // the change stays in memory
    return;
  }
  FStamp = GetFileStamp(FFileName);
}

bool RegistryStore::WriteThrough(const std::function<bool(RegKey& root)>& change) {
  std::unique_ptr<RegistryFileLock> lock;
  if (g_batchDepth > 0) {
    TRegistryBatch::MoveTo(this);
    if (!FBatchLock) FBatchLock = LockCurrent();
  } else {
    lock = LockCurrent();
  }
  if (FSessionOnly.Reason != TSessionOnly::None) return false;
  try {
    if (!change(*FRoot)) return true;
  } catch (...) {
    if (!FBatchLock) FStamp.reset();  // the content in memory may differ from the file now
    throw;
  }
  if (FBatchLock)
    FBatchChanged = true;
  else
    WriteContent();
  return true;
}

void RegistryStore::EndBatch() {
  if (FBatchChanged && FSessionOnly.Reason == TSessionOnly::None) WriteContent();
  FBatchChanged = false;
  FBatchLock.reset();
}

// --- TRegistryBatch ------------------------------------------------------------------------------

TRegistryBatch::TRegistryBatch() {
  std::lock_guard lock(g_mutex);
  if (g_batchDepth++ == 0) ++g_batchNumber;
}

TRegistryBatch::~TRegistryBatch() {
  std::lock_guard lock(g_mutex);
  if (--g_batchDepth == 0) MoveTo(nullptr);
}

void TRegistryBatch::MoveTo(RegistryStore* next) {
  if (g_batchStore == next) return;
  if (g_batchStore) g_batchStore->EndBatch();
  g_batchStore = next;
}

void RegistryStore::Modify(const std::function<bool(RegKey& root)>& change) {
  std::lock_guard lock(g_mutex);
  ++g_contentVersion;  // the change may remove or move any key
  if (FSessionOnly.Reason == TSessionOnly::None) {
    try {
      if (WriteThrough(change)) return;
    } catch (const EFileError& e) {
      MakeSessionOnly(TSessionOnly::CannotWrite, e.Message);
    }
  }
  // The store cannot be saved: the change lives in memory for the rest of the session.
  if (!FRoot) FRoot = std::make_unique<RegKey>();
  change(*FRoot);
}
