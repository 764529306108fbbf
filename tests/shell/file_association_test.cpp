// The association of an extension with a program over the registry store's HKEY_CLASSES_ROOT.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/gui/dialogs.h"
#include "platform/registry.h"
#include "preferences_test_env.h"
#include "shell/file_association.h"

namespace {

void Put(const std::string& key, const std::string& value) {
  TRegistry reg;
  reg.SetRootKey(HKEY_CLASSES_ROOT);
  ASSERT_TRUE(reg.OpenKey(key, true));
  reg.WriteString("", value);
}

std::string Get(const std::string& key) {
  TRegistry reg;
  reg.SetRootKey(HKEY_CLASSES_ROOT);
  return reg.OpenKeyReadOnly(key) ? reg.ReadString("") : "<missing>";
}

bool Exists(const std::string& key) {
  TRegistry reg;
  reg.SetRootKey(HKEY_CLASSES_ROOT);
  return reg.KeyExists(key);
}

void PutTxt() {
  Put("\\.txt", "txtfile");
  Put("\\.txt\\ShellNew", "");
  Put("\\txtfile", "Text Document");
  Put("\\txtfile\\DefaultIcon", "i.ico");
  Put("\\txtfile\\Shell\\Open\\Command", "tools/EDIT.EXE %1");
  Put("\\txtfile\\Shell\\Print\\Command", "tools/EDIT.EXE /p %1");
  Put("\\txtfile\\QuickView", "");
}

// An existing program file of the test world, with a blank in its path.
std::string MakeProgram(const TTestWorld& world) {
  std::string path = world.ProgramFolder + "my editor";
  std::ofstream(path) << "x";
  return path;
}

TEST(FileAssociation, ExtensionGetsDotAndMissingKeyReadsEmpty) {
  TTestWorld world;
  TFileAssociation a;
  a.SetExtension("doc");
  EXPECT_EQ(a.Extension(), ".doc");
  EXPECT_FALSE(a.ReadAssociation());
  EXPECT_EQ(a.KeyName + a.TypeName + a.IconPath + a.PathToApp + a.ShellCommands, "");
  EXPECT_FALSE(a.ShowInNew || a.QuickView);
}

TEST(FileAssociation, ReadsAllFields) {
  TTestWorld world;
  PutTxt();
  TFileAssociation a;
  a.SetExtension(".txt");
  EXPECT_EQ(a.KeyName, "txtfile");
  EXPECT_EQ(a.TypeName, "Text Document");
  EXPECT_EQ(a.IconPath, "i.ico");
  EXPECT_EQ(a.PathToApp, "tools/EDIT.EXE");
  EXPECT_EQ(a.ShellCommands, "Print|tools/EDIT.EXE /p %1,");
  EXPECT_TRUE(a.QuickView);
  EXPECT_TRUE(a.ShowInNew);
}

TEST(FileAssociation, CommandProgramOfQuotedAndPlainCommands) {
  EXPECT_EQ(CommandProgram("\"/opt/my app/run\" \"%1\""), "/opt/my app/run");
  EXPECT_EQ(CommandProgram("C:\\X\\EDIT.exe /p %1"), "C:\\X\\EDIT.exe");
  EXPECT_EQ(CommandProgram("/usr/bin/ed %1"), "/usr/bin/ed");
}

TEST(FileAssociation, ExeUsesEditVerb) {
  TTestWorld world;
  Put("\\.exe", "exefile");
  Put("\\exefile\\Shell\\Edit\\Command", "tools/NOTE.EXE %1");
  TFileAssociation a;
  a.SetExtension("exe");
  EXPECT_EQ(a.PathToApp, "tools/NOTE.EXE");
  a.PathToApp = MakeProgram(world);
  ASSERT_TRUE(a.WriteAssociation());
  EXPECT_EQ(Get("\\exefile\\shell\\Edit\\command"), "\"" + a.PathToApp + "\" \"%1\"");
}

TEST(FileAssociation, WriteSkipsMissingProgramAndQuotesDocument) {
  TTestWorld world;
  TFileAssociation a;
  a.SetExtension(".qmx");
  a.KeyName = "Quillomark.qmx";
  a.TypeName = "Quillomark document";
  a.ShowInNew = true;
  a.PathToApp = world.ProgramFolder + "none";
  EXPECT_FALSE(a.WriteAssociation());
  EXPECT_FALSE(Exists("\\.qmx"));
  a.PathToApp = MakeProgram(world);
  ASSERT_TRUE(a.WriteAssociation());
  EXPECT_EQ(Get("\\.qmx"), "Quillomark.qmx");
  // A document path with blanks stays one argument.
  EXPECT_EQ(Get("\\Quillomark.qmx\\shell\\open\\command"), "\"" + a.PathToApp + "\" \"%1\"");
  TRegistry reg;
  reg.SetRootKey(HKEY_CLASSES_ROOT);
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\.qmx\\ShellNew"));
  EXPECT_TRUE(reg.ValueExists("Nullfile"));
}

TEST(FileAssociation, VerbsWithCommaAndBarSurviveRoundTrips) {
  TTestWorld world;
  TFileAssociation a;
  a.SetExtension(".qmx");
  a.KeyName = "qmxfile";
  a.PathToApp = MakeProgram(world);
  a.ShellCommands = "Run|rundll32 x.dll,Entry %1,Pipe|sh -c a|b,";
  ASSERT_TRUE(a.WriteAssociation());
  EXPECT_EQ(Get("\\qmxfile\\shell\\Run\\command"), "rundll32 x.dll,Entry %1");
  EXPECT_EQ(Get("\\qmxfile\\shell\\Pipe\\command"), "sh -c a|b \"%1\"");
  ASSERT_TRUE(a.ReadAssociation());
  std::string once = a.ShellCommands;
  ASSERT_TRUE(a.WriteAssociation());
  ASSERT_TRUE(a.ReadAssociation());
  EXPECT_EQ(a.ShellCommands, once);  // no second "%1" per round trip
}

TEST(FileAssociation, BackupFileRestoresAllFields) {
  TTestWorld world;
  TFileAssociation a;
  a.SetExtension(".qmx");
  a.KeyName = "qmxfile";
  a.TypeName = "Type";
  a.IconPath = "icon.png";
  a.PathToApp = MakeProgram(world);
  a.ShellCommands = "Print|lp %1,";
  a.ShowInNew = a.QuickView = true;
  a.ParamPos = ppAfter;
  std::string file = world.ProgramFolder + "backup.bin";
  a.SaveToFile(file);
  EXPECT_EQ(std::filesystem::file_size(file), 1539u);
  std::ifstream in(file, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes.substr(0, 8), std::string("\x07qmxfile"));
  EXPECT_EQ(bytes.substr(256, 5), std::string("\x04.qmx"));
  EXPECT_EQ(bytes[1537], 1);
  TFileAssociation b;
  b.LoadFromFile(file);
  EXPECT_EQ(b.Extension(), ".qmx");
  EXPECT_EQ(b.KeyName, "qmxfile");
  EXPECT_EQ(b.TypeName, "Type");
  EXPECT_EQ(b.IconPath, "icon.png");
  EXPECT_EQ(b.PathToApp, a.PathToApp);
  EXPECT_EQ(b.ShellCommands, "Print|lp %1,");
  EXPECT_TRUE(b.ShowInNew && b.QuickView);
}

TEST(FileAssociation, OverlongFieldIsRefusedNotCut) {
  TTestWorld world;
  TFileAssociation a;
  a.ShellCommands = std::string(300, 'v');
  EXPECT_THROW(a.SaveToFile(world.ProgramFolder + "b.bin"), Exception);
}

TEST(FileAssociation, MissingShortOrUnrestorableBackupIsReported) {
  TTestWorld world;
  std::string shortFile = world.ProgramFolder + "short.bin";
  std::ofstream(shortFile) << "abc";
  TFileAssociation a;
  a.SetExtension(".qmx");
  a.KeyName = "qmxfile";
  a.PathToApp = world.ProgramFolder + "gone";
  std::string stale = world.ProgramFolder + "stale.bin";
  a.SaveToFile(stale);
  TScriptedDialogs dialogs;
  dialogs.Answer(TDialogKind::MessageDlg, mrOk).Answer(TDialogKind::MessageDlg, mrOk)
      .Answer(TDialogKind::MessageDlg, mrOk);
  a.LoadFromFile("nope.bin");
  a.LoadFromFile(shortFile);
  a.LoadFromFile(stale);
  ASSERT_EQ(dialogs.Asked().size(), 3u);
  EXPECT_EQ(dialogs.Asked()[0].Text, "Could not open nope.bin");
  EXPECT_EQ(dialogs.Asked()[1].Text, "Could not open " + shortFile);
  EXPECT_NE(dialogs.Asked()[2].Text.find("Could not restore"), std::string::npos);
}

TEST(FileAssociation, KeyBackupRestoresOriginal) {
  TTestWorld world;
  std::string program = MakeProgram(world);
  Put("\\.txt", "txtfile");
  Put("\\txtfile", "Text Document");
  Put("\\txtfile\\Shell\\Open\\Command", "\"" + program + "\" \"%1\"");
  TFileAssociation a;
  a.SetExtension(".txt");
  ASSERT_TRUE(a.SaveToKey("Software\\Quillomark\\AssocBackup"));
  a.KeyName = "Quillomark.txt";
  ASSERT_TRUE(a.WriteAssociation());
  EXPECT_EQ(Get("\\.txt"), "Quillomark.txt");
  ASSERT_TRUE(a.RestoreFromKey("Software\\Quillomark\\AssocBackup"));
  EXPECT_EQ(Get("\\.txt"), "txtfile");
  EXPECT_EQ(a.PathToApp, program);
  TFileAssociation none;
  none.SetExtension(".zzz");
  EXPECT_FALSE(none.SaveToKey("Software\\Quillomark\\AssocBackup"));
  EXPECT_FALSE(none.RestoreFromKey("Software\\Quillomark\\AssocBackup"));
}

}  // namespace
