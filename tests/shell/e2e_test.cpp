// End to end: the real program opens a KOI-8 file named on its command line, the menu's
// "From KOI-8" converts it, and the editor holds readable Russian; closing asks about the
// changed document, and the answer No lets the program end. With "Auto-detect encoding in plain
// files" on (the default), the file opens as readable Russian at once.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/code_pages.h"
#include "platform/registry.h"
#include "tests/shell/program_test_util.h"

namespace {

using namespace std::chrono_literals;

// Stores a string value under a key of the program's settings for its run.
void StoreSetting(const ProgramFolders& f, const std::string& key, const std::string& name,
                  const std::string& value) {
  const char* saved = std::getenv("QUILLOMARK_CONFIG_DIR");
  const std::string previous = saved ? saved : "";
  ::setenv("QUILLOMARK_CONFIG_DIR", (f.Path("config") + "/").c_str(), 1);
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Vortanel\\Quillomark\\" + key, true));
    reg.WriteString(name, value);
  }
  if (saved)
    ::setenv("QUILLOMARK_CONFIG_DIR", previous.c_str(), 1);
  else
    ::unsetenv("QUILLOMARK_CONFIG_DIR");
}

// Stores "Auto-detect encoding in plain files" off in the settings of the program's run.
void DetectEncodingOff(const ProgramFolders& f) {
  StoreSetting(f, "Preferences", "CBEncOnOpen_Checked", "False");
}

TEST(EndToEnd, FromKoi8ThroughTheMenu) {
  ProgramFolders f;
  const std::u16string russian = u"Съешь же ещё этих мягких французских булок, да выпей чаю.";
  f.Write("letter.txt", WideToAnsi(russian, 20866));
  DetectEncodingOff(f);
  f.Write("run.script",
          "# convert, keep the result, then close without saving\n"
          "click KOI8toWin12511\n"
          "save-text " + f.Path("editor.txt") + "\n"
          "answer messagedlg 7\n"
          "close\n");
  ProgramRun run({f.Path("letter.txt")}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(30s), 0) << run.Stderr();
  EXPECT_EQ(ProgramRun::ReadText(f.Path("editor.txt")), WideToUtf8(russian));
  EXPECT_EQ(ProgramRun::ReadText(f.Path("letter.txt")), WideToAnsi(russian, 20866));  // not saved
}

TEST(EndToEnd, Utf8FileOpensAsItsTextAndSavesBackUnchanged) {
  ProgramFolders f;
  const std::string bytes = WideToUtf8(u"Привет, мир\nΕλλάδα — ёлки\n");
  f.Write("note.txt", bytes);
  f.Write("run.script",
          "wait-text Ελλάδα\n"
          "save-text " + f.Path("editor.txt") + "\n"
          "click FileSaveCmd\n"
          "close\n");
  ProgramRun run({f.Path("note.txt")}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(30s), 0) << run.Stderr();
  EXPECT_EQ(ProgramRun::ReadText(f.Path("editor.txt")), WideToUtf8(u"Привет, мир\rΕλλάδα — ёлки\r"));
  EXPECT_EQ(ProgramRun::ReadText(f.Path("note.txt")), bytes);
}

TEST(EndToEnd, Koi8FileOpensDecoded) {
  ProgramFolders f;
  const std::u16string russian = u"Съешь же ещё этих мягких французских булок, да выпей чаю.";
  f.Write("letter.txt", WideToAnsi(russian, 20866));
  f.Write("run.script",
          "save-text " + f.Path("editor.txt") + "\n"
          "close\n");
  ProgramRun run({f.Path("letter.txt")}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(30s), 0) << run.Stderr();
  EXPECT_EQ(ProgramRun::ReadText(f.Path("editor.txt")), WideToUtf8(russian));
  EXPECT_EQ(ProgramRun::ReadText(f.Path("letter.txt")), WideToAnsi(russian, 20866));  // the file stays
}

TEST(EndToEnd, SymbolKeysWorkBeforeTheSymbolWindowWasEverShown) {
  ProgramFolders f;
  f.Write("run.script",
          "key Ctrl+Alt+G\n"
          "wait-text °\n"
          "save-text " + f.Path("editor.txt") + "\n"
          "answer messagedlg 7\n"
          "close\n");
  ProgramRun run({}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(30s), 0) << run.Stderr();
  EXPECT_EQ(ProgramRun::ReadText(f.Path("editor.txt")), "°");  // the degree sign's key
}

// A damaged RTF that once made the reader write into freed memory opens as what it holds
// (here nothing) and the program ends normally.
TEST(EndToEnd, HostileRtfOpensWithoutFault) {
  ProgramFolders f;
  const std::string bytes =
      ProgramRun::ReadText(std::string(QM_FIXTURES_DIR) + "/hostile/rtf-level-text-grows.rtf");
  ASSERT_EQ(bytes.size(), 67u);
  f.Write("list.rtf", bytes);
  f.Write("run.script",
          "save-text " + f.Path("editor.txt") + "\n"
          "close\n");
  ProgramRun run({f.Path("list.rtf")}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(30s), 0) << run.Stderr();
  EXPECT_EQ(ProgramRun::ReadText(f.Path("editor.txt")), "");
  EXPECT_EQ(ProgramRun::ReadText(f.Path("list.rtf")), bytes);
}

// A toolbar moved into a dock made after it (the File toolbar into the bottom dock) comes
// back there at the next start and lets go of the dock when the program ends.
TEST(EndToEnd, ExitWithAToolbarInALaterDock) {
  ProgramFolders f;
  StoreSetting(f, "ToolbarPos\\TBFile", "DockedTo", "DockBottom");
  f.Write("run.script", "close\n");
  ProgramRun run({}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(30s), 0) << run.Stderr();
}

// The thesaurus plug-in takes the program's window classes from the program that loads it: the
// program must export every one it needs, or the command can only say the thesaurus is missing
// (an unexpected error box fails the script).
TEST(EndToEnd, ThesaurusPlugInLoadsIntoTheProgram) {
  ProgramFolders f;
  f.Write("run.script",
          "answer form 2\n"
          "click ToolsThesaurus\n"
          "close\n");
  ProgramRun run({}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(30s), 0) << run.Stderr();
}

}  // namespace
