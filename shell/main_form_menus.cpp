// The main window's menu commands that have no home of their own: paste special and objects,
// removing formatting, the history panes' arrangement, the Help menu, and the context menus of
// the bookmark tabs, the INI tree and the history memo.
#include <algorithm>

#include "components/adv_splitter.h"
#include "platform/rich_text.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/menus.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/gui/shell_open.h"
#include "platform/gui/std_controls.h"
#include "shell/about_box.h"
#include "shell/lang_messages.h"
#include "shell/main_form.h"
#include "shell/object_open.h"
#include "shell/preferences.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_attributes.h"
#include "tools/tool_messages.h"

const char* const kProductPage = "https://www.vortanel.com/quillomark/";

void TMainForm::BindMenus() {
  Handler("PasteRussian1Click", &TMainForm::PasteRussian1Click);
  Handler("PasteSpecial1Click", &TMainForm::PasteSpecial1Click);
  Handler("InsertObjectClick", &TMainForm::InsertObjectClick);
  Handler("ObjectOpenClick", &TMainForm::ObjectOpenClick);
  Handler("ObjectPropertiesClick", &TMainForm::ObjectPropertiesClick);
  Field("ObjectOpen1", ObjectOpen1);
  Field("ObjectProperties1", ObjectProperties1);
  Field("ObjectProperties2", ObjectProperties2);
  Field("PopupSepObject", PopupSepObject);
  Handler("EditToPlainClick", &TMainForm::EditToPlainClick);
  Handler("SplitPanesClick", &TMainForm::SplitPanesClick);
  Handler("CenterPanes1Click", &TMainForm::CenterPanes1Click);
  Handler("SwapPanes1Click", &TMainForm::SwapPanes1Click);
  Handler("QuillomarkWWWpage1Click", &TMainForm::QuillomarkWWWpage1Click);
  Handler("HelpAboutItemClick", &TMainForm::HelpAboutItemClick);
  Handler("ClearBookmarksClick", &TMainForm::ClearBookmarksClick);
}

void TMainForm::PasteSpecial1Click(TObject*) {
  Editor->PasteSpecialDialog();
}

void TMainForm::InsertObjectClick(TObject* Sender) {
  auto* item = dynamic_cast<TComponent*>(Sender);
  const std::string name = item ? item->Name() : std::string();
  if (name != "InsertPicture1" && name != "ObjectFromFile" && name != "LinkToFile") {
    Editor->InsertObjectDialog();  // Create New
    return;
  }
  // A picture, a file embedded or a file linked, each chosen in its file dialog first.
  TOpenDialog dialog(nullptr);
  dialog.SetFilter(name == "InsertPicture1"
                       ? ToolMessage("InsPictureFilter", "Pictures (*.png;*.jpg;*.jpeg)|*.png;*.jpg;*.jpeg|All files (*.*)|*.*")
                       : ToolMessage("InsFileFilter", "All files (*.*)|*.*"));
  dialog.SetOptions(dialog.Options() | ofFileMustExist);
  if (!dialog.Execute()) return;
  if (name == "LinkToFile") Editor->CreateLinkToFile(dialog.FileName(), false);
  else Editor->CreateObjectFromFile(dialog.FileName(), false);
}

void TMainForm::ObjectOpenClick(TObject*) {
  const std::optional<TRichObject> object = Editor->SelectedObject();
  if (object && !OpenObject(*object)) MessageDlg(GetLangMessage("ObjectOpenFailed"), mtError, mbOK);
}

void TMainForm::ObjectPropertiesClick(TObject*) { Editor->ObjectPropertiesDialog(); }

bool TMainForm::OpenObjectAt(int X, int Y) {
  // The nearest caret place is before or after the object clicked.
  const int position = Editor->CharFromPos({X, Y});
  for (int at : {position, position - 1}) {
    if (at < 0 || Editor->Control().TextRange(at, at + 1) != std::u16string(1, RichObjectChar)) continue;
    Editor->SetSelStart(at);
    Editor->SetSelLength(1);
    ObjectOpenClick(Editor);
    return true;
  }
  return false;
}

void TMainForm::EditToPlainClick(TObject*) {
  if (!PrefForm) return;
  const int start = Editor->SelStart(), length = Editor->SelLength();
  Editor->BeginUpdate();
  Editor->SetLanguage(1049);
  if (length > 0) {
    // Line breaks inside paragraphs become paragraph ends.
    std::u16string text = Editor->GetSelTextW();
    if (std::replace(text.begin(), text.end(), u'\v', u'\r'); text != Editor->GetSelTextW()) {
      Editor->SetSelTextW(text);
      Editor->SetSelStart(start);
      Editor->SetSelLength(length);
    }
  }
  Editor->SelAttributes()->Assign(*PrefForm->DefFont->Font());
  Editor->SelAttributes()->SetBackColor(PrefForm->Shape1->Brush()->Color());
  Editor->EndUpdate();
}

void TMainForm::SplitPanesClick(TObject* Sender) {
  auto* item = dynamic_cast<TComponent*>(Sender);
  HistPanes->SetOrientation(item && item->Tag() == 1 ? soHorizontal : soVertical);
}

void TMainForm::CenterPanes1Click(TObject*) { HistPanes->CenterPanes(); }

void TMainForm::SwapPanes1Click(TObject*) { HistPanes->SwapPanes(); }

void TMainForm::QuillomarkWWWpage1Click(TObject*) { ShellOpen(kProductPage); }

void TMainForm::HelpAboutItemClick(TObject*) {
  TAboutBox box(nullptr);
  ShowModalDialog(box);
}

void TMainForm::ClearBookmarksClick(TObject*) {
  ClearBookmarks();
  SaveBookmarks();
}
