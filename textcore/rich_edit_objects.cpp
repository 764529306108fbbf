// Objects inside the text of a TRichEditW. Here objects are pictures, embedded files and links
// to files, their data kept byte for byte; object servers, in-place editing and the object
// dialogs of other programs do not exist, so those commands answer as when none is installed.
#include "platform/rich_text.h"

#include "platform/gui/rich_edit_control.h"
#include "textcore/rich_edit.h"

bool TCustomRichEditW::CanPasteObject() const {
  TRichObject object;
  return control_->ClipboardObject(object);
}

// The Insert Object dialog lists the installed object servers: there are none.
bool TCustomRichEditW::InsertObjectDialog() { return false; }

// Paste Special offers an object only when one can be made from the clipboard; the one such
// entry here is the clipboard's picture or file, which is pasted as an object.
bool TCustomRichEditW::PasteSpecialDialog() {
  TRichObject object;
  if (!allowObjects_ || !control_->ClipboardObject(object)) return false;
  control_->InsertObject(object);
  control_->ScrollCaret();
  return true;
}

// Object properties come from the object's server: without one there is no dialog.
bool TCustomRichEditW::ObjectPropertiesDialog() { return false; }

// Without AllowObjects the control takes no objects: nothing is inserted.
void TCustomRichEditW::CreateObjectFromFile(const std::string& fileName, bool iconic) {
  if (allowObjects_) control_->InsertObject(RichEditControl::FileObject(fileName, false, iconic));
}

void TCustomRichEditW::CreateLinkToFile(const std::string& fileName, bool iconic) {
  if (allowObjects_) control_->InsertObject(RichEditControl::FileObject(fileName, true, iconic));
}
