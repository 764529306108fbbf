// The preferences' Association page: the file types the program opens on the desktop.
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/std_controls.h"
#include "platform/string_list.h"
#include "shell/association_rows.h"
#include "shell/file_association.h"
#include "shell/lang_messages.h"
#include "shell/open_save.h"
#include "shell/preferences.h"
#include "shell/preferences_key_list.h"

void TPrefForm::SetOpenSave(TOpenSave* openSave) {
  if (openSave_) openSave_->RemoveFreeNotification(this);
  openSave_ = openSave;
  if (openSave_) openSave_->FreeNotification(this);
}

void TPrefForm::Notification(TComponent* component, TOperation operation) {
  TForm::Notification(component, operation);
  if (operation == TOperation::opRemove && component == openSave_) openSave_ = nullptr;
}

void TPrefForm::AddAssociationRow(const std::string& extension) {
  const TAssociationRow row = AssociationRow(*ATShell1, extension, Application->ExeName());
  std::vector<THotKeyRow> rows = AssList->Rows();
  std::vector<std::string> descriptions;
  for (int i = 0; i < AssList->RowCount(); ++i) descriptions.push_back(AssList->ActionName(i));
  rows.push_back({row.Extension, row.Checked});
  descriptions.push_back(row.Description);
  AssList->SetRows(rows, descriptions);
}

void TPrefForm::FillAssociations() {
  AssList->SetRows({}, {});
  if (!openSave_) return;
  TStringList extensions;
  openSave_->GetKnownExtensions(extensions);
  for (int i = 0; i < extensions.Count(); ++i) AddAssociationRow(extensions[i]);
}

void TPrefForm::ApplyAssociations() {
  std::vector<TAssociationRow> rows;
  for (int i = 0; i < AssList->RowCount(); ++i)
    rows.push_back({AssList->Row(i).KeyText, AssList->ActionName(i), AssList->Row(i).Enabled});
  const std::vector<std::string> failed = ApplyAssociationRows(*ATShell1, rows, Application->ExeName());
  if (failed.empty()) return;
  std::string list;
  for (const std::string& ext : failed) list += (list.empty() ? "" : ", ") + ext;
  MessageDlg(GetLangMessage("AssocFailed") + " " + list, mtError, mbOK);
}

void TPrefForm::BtnSelectAllClick(TObject* Sender) {
  const bool check = static_cast<TComponent*>(Sender)->Tag() == 1;
  for (int i = 0; i < AssList->RowCount(); ++i) AssList->SetRow(i, {AssList->Row(i).KeyText, check});
}

void TPrefForm::SpeedButton1Click(TObject*) {
  std::string ext = EditAdd->GetText();
  if (!ext.empty() && ext[0] != '.') ext = "." + ext;
  for (char& c : ext)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  if (ext.size() > 1 && openSave_ && openSave_->AddPlainTextExtension(ext)) AddAssociationRow(ext);
  EditAdd->SetText("");
}
