// Edits with a button: the width rules, quoting of names with blanks, read-only and direct
// input, dropped files, and the file dialog run from the button (scripted).
#include <gtest/gtest.h>

#include "components/combo_edit.h"
#include "platform/gui/application.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/form.h"
#include "tests/platform/temp_folder.h"

namespace {

TEST(ComboEdit, ButtonWidthRulesAndQuoting) {
  EXPECT_EQ(NaturalButtonWidth(gkDefault, 18, 1, 16), 24);
  EXPECT_EQ(NaturalButtonWidth(gkDefault, 10, 1, 16), 21);
  EXPECT_EQ(NaturalButtonWidth(gkDefault, 36, 2, 16), 24);
  EXPECT_EQ(NaturalButtonWidth(gkDropDown, 10, 1, 16), 16);
  EXPECT_EQ(NaturalButtonWidth(gkEllipsis, 30, 1, 16), 21);
  EXPECT_EQ(QuoteFileName("/tmp/my file.txt"), "\"/tmp/my file.txt\"");
  EXPECT_EQ(QuoteFileName("/tmp/file.txt"), "/tmp/file.txt");
  EXPECT_EQ(QuoteFileName("\"/tmp/a b\""), "\"/tmp/a b\"");
  auto none = [](const std::string&) { return false; };
  auto all = [](const std::string&) { return true; };
  EXPECT_EQ(UnquoteFileName("\"/tmp/a b\"", none), "/tmp/a b");
  EXPECT_EQ(UnquoteFileName("\"/tmp/a b\"", all), "\"/tmp/a b\"");
  EXPECT_EQ(UnquoteFileName("\"", none), "\"");
}

struct EditForm {
  TForm form{nullptr};
  TFilenameEdit* edit = new TFilenameEdit(&form);
  EditForm() {
    EnsureGuiApplication();
    edit->SetParent(&form);
    edit->SetBounds(10, 10, 200, 21);
  }
};

TEST(FilenameEdit, DefaultsNamesAndReadOnlyRules) {
  EditForm f;
  TFilenameEdit* e = f.edit;
  EXPECT_EQ(e->DialogTitle(), "Browse");
  EXPECT_EQ(e->Filter(), "All files (*.*)|*.*");
  EXPECT_EQ(e->GlyphKind(), gkDefault);
  EXPECT_EQ(e->Height(), 21);
  EXPECT_EQ(e->ButtonWidth(), 22);  // the 16-pixel folder glyph + 6
  EXPECT_FALSE(e->Glyph()->Empty());
  e->SetFileName("/nowhere/out file.txt");
  EXPECT_EQ(e->Text(), "\"/nowhere/out file.txt\"");
  EXPECT_EQ(e->FileName(), "/nowhere/out file.txt");
  EXPECT_THROW(e->SetEditMask("999"), EComboEditError);
  e->SetEditMask("");
  // Read-only: a click does nothing. Direct input off: the edit takes no paste.
  int clicks = 0;
  e->OnButtonClick = [&](TObject*) { ++clicks; };
  e->OnBeforeDialog = [](TObject*, std::string&, bool& action) { action = false; };
  SetPropText(*e, "ReadOnly", "True");
  EXPECT_TRUE(e->ComboReadOnly());
  e->Button()->Click();
  EXPECT_EQ(clicks, 0);
  e->SetComboReadOnly(false);
  e->Button()->Click();
  EXPECT_EQ(clicks, 1);
  e->SetDirectInput(false);
  EXPECT_TRUE(e->ReadOnly());
  Clipboard()->SetAsText("pasted");
  e->Perform(WM_PASTE);
  EXPECT_EQ(e->FileName(), "/nowhere/out file.txt");
  // The click key presses the button from the keyboard.
  e->SetDirectInput(true);
  uint16_t key = VK_DOWN;
  e->Perform(WM_KEYDOWN, key, ssAlt);
  EXPECT_EQ(clicks, 2);
}

TEST(FilenameEdit, TheButtonRunsTheDialogUnlessTheEventCancels) {
  EditForm f;
  TFilenameEdit* e = f.edit;
  TempFolder folder;
  e->SetFileName(folder.Name() + "in.txt");
  TScriptedDialogs dialogs;
  // Cancelled before the dialog: no dialog at all.
  e->OnBeforeDialog = [](TObject*, std::string&, bool& action) { action = false; };
  e->Button()->Click();
  EXPECT_TRUE(dialogs.Asked().empty());
  e->OnBeforeDialog = nullptr;
  dialogs.Answer(TDialogKind::OpenFile, 1, [&](TDialogRequest& r) {
    EXPECT_EQ(r.InitialDir, folder.Name());
    EXPECT_EQ(r.Caption, "Browse");
    r.Value = folder.Name() + "chosen file.txt";
  });
  e->Button()->Click();
  EXPECT_EQ(e->FileName(), folder.Name() + "chosen file.txt");
  EXPECT_EQ(e->Text(), "\"" + folder.Name() + "chosen file.txt\"");
  // The after-dialog event may refuse the choice.
  dialogs.Answer(TDialogKind::SaveFile, 1, [&](TDialogRequest& r) { r.Value = "/x/y.txt"; });
  e->SetDialogKind(dkSave);
  EXPECT_EQ(e->DialogTitle(), "Browse");
  e->OnAfterDialog = [](TObject*, std::string&, bool& action) { action = false; };
  e->Button()->Click();
  EXPECT_EQ(e->FileName(), folder.Name() + "chosen file.txt");
  EXPECT_TRUE(dialogs.Unexpected().empty());
}

TEST(FilenameEdit, DroppedFilesGoIntoTheListWithMultiSelect) {
  EditForm f;
  TFilenameEdit* e = f.edit;
  int drops = 0;
  e->OnDropFiles = [&](TObject*) { ++drops; };
  e->DropFiles({"/a/one.txt"});
  EXPECT_EQ(drops, 0);  // not accepting files
  e->SetAcceptFiles(true);
  e->SetDialogOptions(e->DialogOptions() | ofAllowMultiSelect);
  e->DropFiles({"/a/one.txt", "/a/two.txt"});
  EXPECT_EQ(drops, 1);
  EXPECT_EQ(e->Files(), (std::vector<std::string>{"/a/one.txt", "/a/two.txt"}));
  EXPECT_EQ(e->FileName(), "/a/one.txt");
  e->SetDialogOptions(e->DialogOptions() & ~ofAllowMultiSelect);
  EXPECT_TRUE(e->Files().empty());
  e->DropFiles({"/a/three.txt"});
  EXPECT_EQ(e->FileName(), "/a/three.txt");
}

}  // namespace
