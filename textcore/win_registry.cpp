#include "textcore/win_registry.h"

#include "platform/exceptions.h"

namespace {

// Reopens the key that was open when the guard was made (or closes the key when none was),
// however the block ends. It never raises: the store may fail to read while an error from it
// is already on its way to the caller, and the next call opens the key afresh anyway.
class KeepOpenKey {
public:
  KeepOpenKey(TRegistry& registry, bool wasOpen, const std::string& path)
      : registry_(registry), wasOpen_(wasOpen), path_("\\" + path) {}
  ~KeepOpenKey() {
    bool reopened = false;
    try {
      reopened = wasOpen_ && registry_.OpenKey(path_, false);
    } catch (const Exception&) {
    }
    if (!reopened) registry_.CloseKey();
  }
  KeepOpenKey(const KeepOpenKey&) = delete;
  KeepOpenKey& operator=(const KeepOpenKey&) = delete;

private:
  TRegistry& registry_;
  bool wasOpen_;
  std::string path_;
};

}  // namespace

TWinRegistry::TWinRegistry(const std::string& KeyPath) : TWinRegistry(HKEY_CURRENT_USER, KeyPath) {}

TWinRegistry::TWinRegistry(HKEY Root, const std::string& KeyPath) : FFileName(KeyPath) {
  SetRootKey(Root);
  FKeyOpen = OpenKey(KeyPath, true);
  if (FKeyOpen) FKeyPath = CurrentPath();
}

std::string TWinRegistry::SectionPath(const std::string& Section) const {
  // Sections are found below the key itself, never below whatever else might be open.
  std::string path = "\\" + FKeyPath;
  if (!Section.empty()) path += "\\" + Section;
  return path;
}

template <class T, class Read>
T TWinRegistry::ReadValue(const std::string& Section, const std::string& Ident, T fallback, Read read) {
  if (!FKeyOpen) return fallback;
  KeepOpenKey keep(*this, FKeyOpen, FKeyPath);
  if (!OpenKeyReadOnly(SectionPath(Section)) || !ValueExists(Ident)) return fallback;
  try {
    return read();
  } catch (const ERegistryException&) {
    return fallback;  // stored with another type (edited by hand or by another program)
  }
}

template <class Write>
void TWinRegistry::WriteValue(const std::string& Section, Write write) {
  if (!FKeyOpen) throw ERegistryException("Failed to create key " + FFileName);
  KeepOpenKey keep(*this, FKeyOpen, FKeyPath);
  if (!OpenKey(SectionPath(Section), true)) throw ERegistryException("Failed to create key " + Section);
  write();
}

std::string TWinRegistry::ReadString(const std::string& Section, const std::string& Ident,
                                     const std::string& Default) {
  return ReadValue<std::string>(Section, Ident, Default, [&] { return TRegistry::ReadString(Ident); });
}

void TWinRegistry::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) {
  WriteValue(Section, [&] { TRegistry::WriteString(Ident, Value); });
}

int TWinRegistry::ReadInteger(const std::string& Section, const std::string& Ident, int Default) {
  return ReadValue<int>(Section, Ident, Default, [&] { return TRegistry::ReadInteger(Ident); });
}

void TWinRegistry::WriteInteger(const std::string& Section, const std::string& Ident, int Value) {
  WriteValue(Section, [&] { TRegistry::WriteInteger(Ident, Value); });
}

bool TWinRegistry::ReadBool(const std::string& Section, const std::string& Ident, bool Default) {
  return ReadValue<bool>(Section, Ident, Default, [&] { return TRegistry::ReadInteger(Ident) != 0; });
}

void TWinRegistry::WriteBool(const std::string& Section, const std::string& Ident, bool Value) {
  WriteValue(Section, [&] { TRegistry::WriteInteger(Ident, Value ? 1 : 0); });
}

double TWinRegistry::ReadFloat(const std::string& Section, const std::string& Ident, double Default) {
  return ReadValue<double>(Section, Ident, Default, [&] { return TRegistry::ReadFloat(Ident); });
}

void TWinRegistry::WriteFloat(const std::string& Section, const std::string& Ident, double Value) {
  WriteValue(Section, [&] { TRegistry::WriteFloat(Ident, Value); });
}

void TWinRegistry::DeleteValue(const std::string& Section, const std::string& Ident) {
  if (!FKeyOpen) return;
  KeepOpenKey keep(*this, FKeyOpen, FKeyPath);
  if (OpenKey(SectionPath(Section), false)) TRegistry::DeleteValue(Ident);
}
