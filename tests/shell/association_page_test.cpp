// The preferences' Association page: rows for the known file types, associating them with the
// program (registry store, desktop entry and mimeapps.list in a temporary XDG home) and putting
// the previous programs back, with failures reported; adding a type; selecting all or none.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/form.h"
#include "platform/gui/std_controls.h"
#include "platform/registry.h"
#include "shell/file_association.h"
#include "shell/open_save.h"
#include "shell/preferences.h"
#include "shell/preferences_key_list.h"
#include "shell/xdg_association.h"
#include "tests/shell/preferences_test_env.h"

namespace {

class AssociationPageTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    world.WriteProgramFile("english.lng", ReadFileBytes(std::string(QM_SOURCE_DIR) + "/data/english.lng"));
    Remember("XDG_DATA_HOME", world.ProgramFolder + "xdg-data");
    Remember("XDG_DATA_DIRS", world.ProgramFolder + "system");
    ForceDirectories(world.ProgramFolder + "system/mime");
    WriteFileAtomic(world.ProgramFolder + "system/mime/globs2",
                    "# weight:type:glob\n50:text/plain:*.txt\n40:application/x-other:*.txt\n50:application/rtf:*.rtf\n");
    os = new TOpenSave(Application);
    form = std::make_unique<TPrefForm>(Application);
    form->SetOpenSave(os);
    program = Application->ExeName();
  }
  void TearDown() override {
    form.reset();
    TComponent::Free(os);
    for (auto& [name, value] : saved)
      if (value.first) ::setenv(name.c_str(), value.second.c_str(), 1);
      else ::unsetenv(name.c_str());
  }
  void Remember(const std::string& name, const std::string& value) {
    const char* old = std::getenv(name.c_str());
    saved[name] = {old != nullptr, old ? old : ""};
    ::setenv(name.c_str(), value.c_str(), 1);
  }
  // The row of `ext` (".TXT") in the list, -1 when none.
  int Row(const std::string& ext) const {
    for (int i = 0; i < form->AssList->RowCount(); ++i)
      if (form->AssList->Row(i).KeyText == ext) return i;
    return -1;
  }
  void Check(const std::string& ext, bool checked) {
    const int i = Row(ext);
    ASSERT_GE(i, 0) << ext;
    form->AssList->SetRow(i, {ext, checked});
  }
  // Opens the window, lets `edit` change the page and closes it with OK.
  void Session(const std::function<void()>& edit) {
    form->Show();
    edit();
    form->SetModalResult(mrOk);
    form->Hide();
  }
  static std::string Classes(const std::string& key) {
    TRegistry reg;
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    return reg.OpenKeyReadOnly(key) ? reg.ReadString("") : "<none>";
  }
  // An association of `ext` with `command` as another program left it.
  static void Foreign(const std::string& ext, const std::string& keyName, const std::string& command) {
    TRegistry reg;
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    reg.OpenKey("\\" + ext, true);
    reg.WriteString("", keyName);
    reg.OpenKey("\\" + keyName, true);
    reg.WriteString("", "Text Document");
    reg.OpenKey("\\" + keyName + "\\Shell\\Open\\Command", true);
    reg.WriteString("", command);
  }

  TTestWorld world;
  std::map<std::string, std::pair<bool, std::string>> saved;
  TOpenSave* os = nullptr;
  std::unique_ptr<TPrefForm> form;
  std::string program;
};

TEST_F(AssociationPageTest, AssociatingAndRestoringRoundTrip) {
  Foreign(".txt", "txtfile", "/bin/cat %1");
  SetDefaultApplication("text/plain", "viewer.desktop");
  form->Show();
  ASSERT_GE(Row(".TXT"), 0);
  EXPECT_FALSE(form->AssList->Row(Row(".TXT")).Enabled);
  EXPECT_EQ(form->AssList->ActionName(Row(".TXT")), "Text Document");
  form->Hide();

  Session([&] { Check(".TXT", true); });
  EXPECT_EQ(Classes("\\.txt"), "Quillomark");
  EXPECT_EQ(Classes("\\Quillomark\\shell\\Open\\command"), "\"" + program + "\" \"%1\"");
  EXPECT_EQ(Classes("\\Software\\Vortanel\\Quillomark\\AssocBackup\\.txt"), "txtfile");
  EXPECT_EQ(DefaultApplication("text/plain"), kDesktopEntryName);
  const std::string entry = ReadFileBytes(world.ProgramFolder + "xdg-data/applications/quillomark.desktop");
  EXPECT_NE(entry.find(" %f\n"), std::string::npos) << entry;
  EXPECT_NE(entry.find("MimeType=text/plain;\n"), std::string::npos) << entry;

  // Shown again: the row is checked; unchecking puts the other program back everywhere.
  Session([&] {
    EXPECT_TRUE(form->AssList->Row(Row(".TXT")).Enabled);
    Check(".TXT", false);
  });
  TFileAssociation txt;
  txt.SetExtension("txt");
  EXPECT_EQ(txt.KeyName, "txtfile");
  EXPECT_EQ(txt.PathToApp, "/bin/cat");
  EXPECT_EQ(DefaultApplication("text/plain"), "viewer.desktop");

  // A type nobody opened before goes back to nobody.
  Session([&] { Check(".RTF", true); });
  EXPECT_EQ(Classes("\\.rtf"), "rtffile");  // a type of its own: "rtf" + "file"
  EXPECT_EQ(Classes("\\rtffile"), "rtf file");
  Session([&] { Check(".RTF", false); });
  TFileAssociation rtf;
  rtf.SetExtension("rtf");
  EXPECT_EQ(rtf.PathToApp, "");
  EXPECT_EQ(DefaultApplication("application/rtf"), "");
}

TEST_F(AssociationPageTest, RestoringAProgramThatIsGoneIsReported) {
  Foreign(".txt", "txtfile", "/nonexistent-qm/editor %1");
  Session([&] { Check(".TXT", true); });
  TScriptedDialogs dialogs;
  dialogs.Answer(TDialogKind::MessageDlg, mrOk);
  Session([&] { Check(".TXT", false); });
  ASSERT_EQ(dialogs.Asked().size(), 1u);
  EXPECT_EQ(dialogs.Asked()[0].Text,
            "These file types could not be associated, or their previous programs could not be restored: .TXT");
  EXPECT_EQ(dialogs.Asked()[0].DlgType, mtError);
}

TEST_F(AssociationPageTest, AddingATypeAndSelectingAllOrNone) {
  form->Show();
  const int rows = form->AssList->RowCount();
  ASSERT_GT(rows, 1);
  form->EditAdd->SetText("xyz");
  form->SpeedButton1->Click();
  EXPECT_EQ(form->AssList->RowCount(), rows + 1);
  EXPECT_EQ(Row(".XYZ"), rows);
  EXPECT_EQ(form->EditAdd->GetText(), "");
  // Known already: no second row.
  form->EditAdd->SetText(".XYZ");
  form->SpeedButton1->Click();
  EXPECT_EQ(form->AssList->RowCount(), rows + 1);

  form->BtnSelectAll->Click();
  for (int i = 0; i < form->AssList->RowCount(); ++i) EXPECT_TRUE(form->AssList->Row(i).Enabled) << i;
  form->BtnDeselectAll->Click();
  for (int i = 0; i < form->AssList->RowCount(); ++i) EXPECT_FALSE(form->AssList->Row(i).Enabled) << i;
  form->SetModalResult(mrCancel);
  form->Hide();
  // Cancel associates nothing.
  EXPECT_EQ(Classes("\\.xyz"), "<none>");
}

}  // namespace
