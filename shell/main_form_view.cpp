// The main window's views: formatted and plain text, word wrap, zoom, and "Copy Info".
#include "components/flat_dock.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/menus.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/gui/std_controls.h"
#include "shell/lang_messages.h"
#include "shell/main_form.h"
#include "shell/preferences.h"
#include "shell/status_bar_text.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_messages.h"

void TMainForm::BindView() {
  Handler("ViewFormattedClick", &TMainForm::ViewFormattedClick);
  Handler("ViewPlainClick", &TMainForm::ViewPlainClick);
  Handler("WordWrap1Click", &TMainForm::WordWrap1Click);
  Handler("ZoomBoxChange", &TMainForm::ZoomBoxChange);
  Handler("ZoomBoxKeyDown", &TMainForm::ZoomBoxKeyDown);
  Handler("CopyField1Click", &TMainForm::CopyField1Click);
  Field("ViewFormatted", ViewFormatted);
  Field("ViewPlain", ViewPlain);
  Field("WordWrap1", WordWrap1);
  Field("ZoomBox", ZoomBox);
  Field("CopyInfo1", CopyInfo1);
}

std::u16string TMainForm::EditorText() const { return Editor->GetTextW(); }

bool TMainForm::PlainView() const { return Editor->PlainText(); }

void TMainForm::PutEditorText(const std::u16string& text) {
  const bool edited = Editor->Modified(), modified = DocModified();
  Editor->SetTextW(text);
  Editor->SetModified(edited);
  SetModified(modified);
  // A text put in whole is no edit the bookmarks follow.
  bookmarkLines_ = bookmarkLength_ = 0;
}

void TMainForm::UpdateViewMode(bool plain) {
  Editor->SetPlainText(plain);
  ShowViewState();
  ApplyPreferences();  // links are found in the formatted view only
  if (plain && PrefForm) {
    // The whole plain text takes the default font; the caret goes to the start.
    Editor->SelectAll();
    ApplyDefaultFont();
    Editor->SetSelStart(0);
    Editor->SetSelLength(0);
  }
}

void TMainForm::ShowViewState() {
  // The editor's mode is the one source of the view; what shows it follows here.
  const bool plain = PlainView(), switched = plain != ViewPlain->Checked();
  ViewFormatted->SetChecked(!plain);
  ViewPlain->SetChecked(plain);
  // The formatting toolbars, their menu items and the commands of formatted text belong to the
  // formatted view (a toolbar the user hid stays hidden until the view changes).
  if (switched)
    for (TFlatToolbar* bar : {TBFont, TBParagraph, TBLanguage}) bar->SetVisible(!plain);
  for (const char* name : {"FontTB", "ParagraphTB", "LanguageTB", "InsertPicture1", "InsertObject1", "PasteSpecial1",
                           "ConvertToPlainText1"})
    if (auto* item = dynamic_cast<TMenuItem*>(FindComponent(name))) item->SetVisible(!plain);
  UpdateRuler();
}

void TMainForm::ViewFormattedClick(TObject*) {
  LeaveIniView();
  UpdateViewMode(false);
}

void TMainForm::ViewPlainClick(TObject*) {
  if (!ConfirmPlainView()) return;
  LeaveIniView();
  UpdateViewMode(true);
}

bool TMainForm::ConfirmPlainView() {
  if (Editor->PlainText() || Editor->Control().TextLength() == 0) return true;
  if (MessageDlg(GetLangMessage("MainConfirmPlain"), mtWarning, mbOKCancel) != mrOk) return false;
  // Setting the text again drops every format; the document keeps its modified state.
  const bool modified = Editor->Modified();
  Editor->SetTextW(Editor->GetTextW());
  Editor->SetModified(modified);
  return true;
}

void TMainForm::WordWrap1Click(TObject* Sender) {
  if (Sender == WordWrap1) WordWrap1->SetChecked(!WordWrap1->Checked());
  Editor->SetWordWrap(WordWrap1->Checked());
  RevMemo->SetWordWrap(WordWrap1->Checked());
  UpdateStatusBar();
}

void TMainForm::ZoomBoxChange(TObject*) {
  const std::optional<int> zoom = ParseZoom(ZoomBox->GetText());
  if (!zoom) {
    // Refused: the editor keeps its zoom and the box shows it again.
    MessageDlg(GetLangMessage("MainBadZoom"), mtError, mbOK);
    ZoomBox->SetText(std::to_string(Zoom()) + "%");
    return;
  }
  Editor->Perform(EM_SETZOOM, uintptr_t(*zoom), 100);
}

void TMainForm::ZoomBoxKeyDown(TObject*, uint16_t& Key, TShiftState) {
  // A typed zoom applies on Enter (or when the box loses the focus), not at every keystroke.
  if (Key != VK_RETURN) return;
  Key = 0;
  ZoomBoxChange(ZoomBox);
}

int TMainForm::Zoom() {
  int numerator = 0, denominator = 0;
  Editor->Perform(EM_GETZOOM, reinterpret_cast<uintptr_t>(&numerator), reinterpret_cast<intptr_t>(&denominator));
  return numerator > 0 && denominator > 0 ? int(int64_t(numerator) * 100 / denominator) : 100;
}

void TMainForm::CopyField1Click(TObject*) {
  if (Editor->SelLength() <= 0) return;
  Clipboard()->SetAsText(
      CopyInfoText(Editor->SelStart(), Editor->SelLength(), Editor->GetCaretLine(), Editor->GetCaretColumn()));
}
