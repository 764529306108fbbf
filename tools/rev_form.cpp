#include "tools/rev_form.h"

#include "components/ex_splitter.h"
#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/std_controls.h"
#include "platform/string_list.h"
#include "textcore/rich_edit.h"
#include "tools/tool_messages.h"

TRevForm* RevForm = nullptr;

QM_CLASS_INFO(TRevForm, TForm, [](TClassBuilder<TRevForm>&) {})

TRevForm::TRevForm(TComponent* owner) : TForm(owner) {
  Handler("FormShow", &TRevForm::FormShow);
  Handler("ListClick", &TRevForm::ListClick);
  Handler("ListKeyUp", &TRevForm::ListKeyUp);
  Handler("SaveClick", &TRevForm::SaveClick);
  Handler("CloseWith", &TRevForm::CloseWith);
  Field("List", List);
  Field("Memo", Memo);
  Field("Splitter1", Splitter1);
  ReadForm();
  RevForm = this;
}

TRevForm::~TRevForm() {
  if (RevForm == this) RevForm = nullptr;
}

void TRevForm::SetEntries(std::vector<TRevEntry> entries) {
  entries_ = std::move(entries);
  List->Items()->Clear();
  for (const TRevEntry& entry : entries_) List->Items()->Add(entry.Name);
}

int TRevForm::Selected() const {
  const int index = List->ItemIndex();
  return index >= 0 && index < int(entries_.size()) ? index : -1;
}

void TRevForm::ShowSelected() {
  const int index = Selected();
  Memo->SetTextW(index < 0 ? std::u16string() : entries_[size_t(index)].Text);
}

bool TRevForm::SaveToFile() {
  TSaveDialog dialog(nullptr);
  dialog.SetDefaultExt("txt");
  dialog.SetFilter(ToolMessage("RevSaveFilter", "Text files (*.txt)|*.txt|All files (*.*)|*.*"));
  if (!dialog.Execute()) return false;
  std::u16string text;
  for (const char16_t c : Memo->GetTextW()) text += c == u'\r' ? std::u16string(u"\r\n") : std::u16string(1, c);
  if (!text.empty() && text.back() != u'\n') text += u"\r\n";
  try {
    WriteFileAtomic(dialog.FileName(), WideToUtf8(text));
  } catch (const Exception&) {
    throw EWriteError(ToolMessage("RevSaveFailed", "Cannot write the file") + ": " + dialog.FileName());
  }
  return true;
}

void TRevForm::FormShow(TObject*) {
  if (!entries_.empty()) List->SetItemIndex(0);
  ShowSelected();
}

void TRevForm::ListClick(TObject*) { ShowSelected(); }

void TRevForm::ListKeyUp(TObject*, uint16_t&, TShiftState) { ShowSelected(); }

void TRevForm::SaveClick(TObject*) {
  try {
    SaveToFile();
  } catch (const EWriteError& e) {
    ShowMessage(e.what());
  }
}

void TRevForm::CloseWith(TObject* sender) {
  // The menu items carry their result in Tag.
  SetModalResult(static_cast<TComponent*>(sender)->Tag());
}
