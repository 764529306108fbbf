// The association of one file extension with a program, kept under HKEY_CLASSES_ROOT of the
// registry store: program id, type name, icon, open command, extra verbs, New-menu and quick-view
// flags; copies can be kept in a registry key or a 1539-byte backup file and put back.
#pragma once

#include <string>

#include "platform/gui/component.h"

enum TParamPos { ppBefore, ppAfter };

class TFileAssociation : public TComponent {
public:
  explicit TFileAssociation(TComponent* AOwner = nullptr);

  const std::string& Extension() const { return FExtension; }
  // Stores the extension with a leading "." and reads its association at once.
  void SetExtension(const std::string& Value);

  std::string KeyName, TypeName, IconPath, PathToApp;
  // Extra verbs: verb "|" command "," repeated.
  std::string ShellCommands;
  TParamPos ParamPos = ppBefore;
  bool ShowInNew = false, QuickView = false;

  // Reads the association of Extension; false (all fields cleared) when it has none.
  bool ReadAssociation();
  // Writes all fields when PathToApp names an existing file; false when it does not.
  bool WriteAssociation();
  // The backup record; a file that cannot be read, or a short one, reports "Could not open ".
  void SaveToFile(const std::string& FileName);
  void LoadFromFile(const std::string& FileName);
  // Copies the live association to {Path}\{Extension} / puts such a copy back; false when none.
  bool SaveToKey(const std::string& Path);
  bool RestoreFromKey(const std::string& Path);

private:
  // Reads / writes the association with its extension key at `ExtKey`.
  bool ReadFrom(const std::string& ExtKey);
  void WriteTo(const std::string& ExtKey);
  std::string OpenVerb() const;

  std::string FExtension;
};

// The program of a command line: a quoted first word without its quotes, else the text up to
// ".EXE" (any case) when that occurs, else the text before the first blank.
std::string CommandProgram(const std::string& Command);
