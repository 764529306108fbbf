#include "shell/association_rows.h"

#include <strings.h>

#include "platform/files.h"
#include "platform/registry.h"
#include "shell/file_association.h"
#include "shell/xdg_association.h"

const char* const kAssocBackupKey = "Software\\Vortanel\\Quillomark\\AssocBackup";

namespace {

// The previous default application of the extension's MIME type, kept beside its backup.
const char* const kDesktopDefault = "DesktopDefault";

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return s;
}

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return s;
}

bool AssociatedWith(const TFileAssociation& shell, const std::string& program) {
  return !shell.PathToApp.empty() && strcasecmp(shell.PathToApp.c_str(), program.c_str()) == 0;
}

// Opens (making it) the backup key of `ext`.
void OpenBackupKey(TRegistry& reg, const std::string& ext) {
  reg.SetRootKey(HKEY_CLASSES_ROOT);
  reg.OpenKey("\\" + std::string(kAssocBackupKey) + "\\" + ext, true);
}

bool Associate(TFileAssociation& shell, const std::string& ext, const std::string& program) {
  // Without an association before, the backup says so: restoring it leaves the type to nobody.
  TRegistry backup;
  if (!shell.SaveToKey(kAssocBackupKey)) {
    OpenBackupKey(backup, ext);
    backup.WriteString("", "");
  }
  const std::string bare = ext.substr(1);
  shell.PathToApp = shell.IconPath = program;
  shell.QuickView = shell.ShowInNew = false;
  if (shell.TypeName.empty()) shell.TypeName = bare + " file";
  shell.KeyName = shell.KeyName.empty() ? bare + "file" : "Quillomark";
  if (!shell.WriteAssociation()) return false;
  std::string previous;
  if (const std::string mime = MimeTypeOfExtension(ext); !mime.empty()) previous = SetDefaultApplication(mime, kDesktopEntryName);
  OpenBackupKey(backup, ext);
  backup.WriteString(kDesktopDefault, previous == kDesktopEntryName ? "" : previous);
  return true;
}

bool Restore(TFileAssociation& shell, const std::string& ext) {
  if (const std::string mime = MimeTypeOfExtension(ext); !mime.empty()) {
    TRegistry backup;
    OpenBackupKey(backup, ext);
    RestoreDefaultApplication(mime, backup.ValueExists(kDesktopDefault) ? backup.ReadString(kDesktopDefault) : "");
  }
  if (!shell.RestoreFromKey(kAssocBackupKey)) return false;
  // The program put back must still be there to open the files.
  return shell.PathToApp.empty() || FileExists(shell.PathToApp);
}

}  // namespace

TAssociationRow AssociationRow(TFileAssociation& shell, const std::string& extension, const std::string& program) {
  shell.SetExtension(Lower(extension));
  return {Upper(shell.Extension()), shell.TypeName, AssociatedWith(shell, program)};
}

std::vector<std::string> ApplyAssociationRows(TFileAssociation& shell, const std::vector<TAssociationRow>& rows,
                                              const std::string& program) {
  std::vector<std::string> failed;
  std::string mimeTypes;
  bool changed = false;
  for (const TAssociationRow& row : rows) {
    const std::string ext = Lower(row.Extension);
    shell.SetExtension(ext);
    const bool associated = AssociatedWith(shell, program);
    if (row.Checked != associated) {
      changed = true;
      if (!(row.Checked ? Associate(shell, ext, program) : Restore(shell, ext))) failed.push_back(row.Extension);
    }
    if (row.Checked)
      if (const std::string mime = MimeTypeOfExtension(ext); !mime.empty()) mimeTypes += mime + ";";
  }
  // The desktop entry lists what the program opens now.
  if (changed) WriteDesktopEntry(program, mimeTypes);
  return failed;
}
