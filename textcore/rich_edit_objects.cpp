// Objects inside the text of a TRichEditW. Here objects are pictures, embedded files and links
// to files, their data kept byte for byte; there are no object programs and no in-place
// editing, so new objects come from files and the clipboard only.
#include "platform/rich_text.h"

#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/gui/std_controls.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_object_dialogs.h"

bool TCustomRichEditW::CanPasteObject() const {
  TRichObject object;
  return allowObjects_ && control_->ClipboardObject(object);
}

// The files and the choice between embedding and linking come from the Insert Object form.
bool TCustomRichEditW::InsertObjectDialog() {
  if (!allowObjects_ || ReadOnly()) return false;
  TInsertObjectForm form(nullptr);
  if (ShowModalDialog(form) != mrOk) return false;
  if (form.LinkRadio->Checked()) CreateLinkToFile(form.FileEdit->Text(), form.IconCheck->Checked());
  else CreateObjectFromFile(form.FileEdit->Text(), form.IconCheck->Checked());
  return true;
}

// Offered whenever the clipboard holds anything the control can take, objects or not.
bool TCustomRichEditW::PasteSpecialDialog() {
  const std::vector<TPasteFormat> formats = control_->PasteFormats();
  if (formats.empty()) return false;
  TPasteSpecialForm form(nullptr, formats);
  if (ShowModalDialog(form) != mrOk) return false;
  const int index = form.FormatList->ItemIndex();
  if (index < 0 || index >= int(formats.size())) return false;
  return control_->PasteAs(formats[size_t(index)], form.IconCheck->Checked());
}

std::optional<TRichObject> TCustomRichEditW::SelectedObject() const {
  if (control_->SelectionType() != SEL_OBJECT) return std::nullopt;
  const int position = control_->SelStart();
  for (int i = 0, n = control_->ObjectCount(); i < n; ++i)
    if (control_->ObjectPosition(i) == position) return control_->Object(i);
  return std::nullopt;
}

// Only for a selection that is exactly one object.
bool TCustomRichEditW::ObjectPropertiesDialog() {
  const std::optional<TRichObject> selected = SelectedObject();
  if (!selected) return false;
  const TRichObject& object = *selected;
  const int position = control_->SelStart();
  TObjectPropsForm form(nullptr, object, ObjectLocation(title_, Application->Title()));
  if (ShowModalDialog(form) != mrOk) return false;
  if (!form.NewSource().empty()) {
    control_->InsertObject(RichEditControl::FileObject(form.NewSource(), true, !object.HasPicture));
    control_->SetSel(position, position + 1);
  }
  return true;
}

// Without AllowObjects the control takes no objects: nothing is inserted.
void TCustomRichEditW::CreateObjectFromFile(const std::string& fileName, bool iconic) {
  if (allowObjects_) control_->InsertObject(RichEditControl::FileObject(fileName, false, iconic));
}

void TCustomRichEditW::CreateLinkToFile(const std::string& fileName, bool iconic) {
  if (allowObjects_) control_->InsertObject(RichEditControl::FileObject(fileName, true, iconic));
}
