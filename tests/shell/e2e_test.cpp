// End to end: the real program opens a KOI-8 file named on its command line, the menu's
// "From KOI-8" converts it, and the editor holds readable Russian; closing asks about the
// changed document, and the answer No lets the program end.
#include <gtest/gtest.h>

#include "platform/code_pages.h"
#include "tests/shell/program_test_util.h"

namespace {

using namespace std::chrono_literals;

TEST(EndToEnd, FromKoi8ThroughTheMenu) {
  ProgramFolders f;
  const std::u16string russian = u"Съешь же ещё этих мягких французских булок, да выпей чаю.";
  f.Write("letter.txt", WideToAnsi(russian, 20866));
  f.Write("run.script",
          "# convert, keep the result, then close without saving\n"
          "click FromKOI\n"
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

}  // namespace
