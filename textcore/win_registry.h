// TWinRegistry: INI-style access to one registry key. Sections are subkeys of the key, idents are
// value names; a read answers its default when the section or the value is missing, or when the
// value has another type than the read asks for (the next write replaces it).
#pragma once

#include <string>

#include "platform/registry.h"

class TWinRegistry : public TRegistry {
public:
  // Opens KeyPath under HKEY_CURRENT_USER, creating it when missing.
  explicit TWinRegistry(const std::string& KeyPath);
  // Opens KeyPath under Root, creating it when missing. When it cannot be opened, reads answer
  // their defaults and writes raise ERegistryException.
  TWinRegistry(HKEY Root, const std::string& KeyPath);

  // The key path given at creation.
  const std::string& FileName() const { return FFileName; }

  // A REG_SZ (or REG_EXPAND_SZ) value.
  std::string ReadString(const std::string& Section, const std::string& Ident, const std::string& Default);
  void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value);
  // A REG_DWORD value.
  int ReadInteger(const std::string& Section, const std::string& Ident, int Default);
  void WriteInteger(const std::string& Section, const std::string& Ident, int Value);
  // An integer value, true when not 0; written as 1 or 0.
  bool ReadBool(const std::string& Section, const std::string& Ident, bool Default);
  void WriteBool(const std::string& Section, const std::string& Ident, bool Value);
  // An 8-byte floating-point number stored as binary data.
  double ReadFloat(const std::string& Section, const std::string& Ident, double Default);
  void WriteFloat(const std::string& Section, const std::string& Ident, double Value);
  // Deletes the value when the section exists.
  void DeleteValue(const std::string& Section, const std::string& Ident);

private:
  // Runs `read` with the section open when it exists and the value is there; otherwise, and
  // when the key could not be opened, answers `fallback`. The open key stays the same.
  template <class T, class Read>
  T ReadValue(const std::string& Section, const std::string& Ident, T fallback, Read read);
  // Runs `write` with the section open, created when missing. The open key stays the same.
  template <class Write>
  void WriteValue(const std::string& Section, Write write);
  // The absolute path of a section of the key.
  std::string SectionPath(const std::string& Section) const;

  std::string FFileName;
  bool FKeyOpen = false;
  std::string FKeyPath;  // the opened key below the root, without a leading '\'
};
