// End to end: the real program removes HTML and transliterates through its Convert menu, using
// the rule files of its program folder and the find form's silent list replacement.
#include <gtest/gtest.h>

#include "platform/code_pages.h"
#include "tests/shell/program_test_util.h"

namespace {

using namespace std::chrono_literals;

TEST(EndToEnd, RemoveHtmlThenTransliterateThroughTheMenu) {
  ProgramFolders f;
  f.Write("page.txt", WideToAnsi(u"<b>Привет</b>, &laquo;мир&raquo; и Москва", 1251));
  f.Write("run.script",
          "click RemoveHTML1\n"
          "save-text " + f.Path("stripped.txt") + "\n"
          "click Transliterate1\n"
          "save-text " + f.Path("latin.txt") + "\n"
          "answer messagedlg 7\n"
          "close\n");
  ProgramRun run({f.Path("page.txt")}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(30s), 0) << run.Stderr();
  EXPECT_EQ(ProgramRun::ReadText(f.Path("stripped.txt")), WideToUtf8(u"Привет, «мир» и Москва"));
  EXPECT_EQ(ProgramRun::ReadText(f.Path("latin.txt")), "Privet, \xC2\xABmir\xC2\xBB i Moscow");
}

}  // namespace
