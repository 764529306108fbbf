// The rows of the preferences' Association page: which file types the program opens on the
// desktop. Associating keeps the previous association under the product key's "AssocBackup"
// (and the previous default application of the type's MIME type, which the desktop entry and
// mimeapps.list follow); un-associating puts it back.
#pragma once

#include <string>
#include <vector>

class TFileAssociation;
class TStrings;

struct TAssociationRow {
  std::string Extension;    // ".TXT"
  std::string Description;  // the association's type name
  bool Checked = false;     // the program opens this type
  bool operator==(const TAssociationRow&) const = default;
};

// The registry key of the backups.
extern const char* const kAssocBackupKey;

// One row for an extension: checked when `program` is what opens it now.
TAssociationRow AssociationRow(TFileAssociation& shell, const std::string& extension, const std::string& program);
// Associates the checked rows not yet associated with `program` and restores the unchecked
// ones that are; answers the extensions that failed: not written, or nothing (or a program
// that no longer exists) to restore.
std::vector<std::string> ApplyAssociationRows(TFileAssociation& shell, const std::vector<TAssociationRow>& rows,
                                              const std::string& program);
