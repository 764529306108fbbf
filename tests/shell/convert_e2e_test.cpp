// End to end: the real program removes HTML and transliterates through its Convert menu, using
// the rule files of its program folder and the find form's silent list replacement, and cleans
// up scanned text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

TEST(EndToEnd, OcrCleanUpThroughTheMenu) {
  ProgramFolders f;
  f.Write("scan.txt", WideToUtf8(u"В н и м а н и е! Мой KOT усль|шал, что 0ни пришли 3а дом."));
  // The options page of the clean-up is confirmed as it stands.
  f.Write("run.script",
          "answer form 1\n"
          "click Kestrivancorrection1\n"
          "save-text " + f.Path("clean.txt") + "\n"
          "answer messagedlg 7\n"
          "close\n");
  ProgramRun run({f.Path("scan.txt")}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(30s), 0) << run.Stderr();
  EXPECT_EQ(ProgramRun::ReadText(f.Path("clean.txt")), WideToUtf8(u"Внимание! Мой КОТ услышал, что они пришли за дом."));
}

// The script clicks only what a user could click, and says why it cannot.
TEST(EndToEnd, ScriptRefusesWhatNoUserCanClick) {
  struct Case {
    const char* document;  // the file opened at start; nullptr: none, a new document
    const char* item;
    const char* reason;
  };
  const Case cases[] = {
      {"", "Transliterate1", "a user cannot click Transliterate1: it is disabled"},  // no text
      {"", "KOI8toWin12511", "its menu Change Encoding is disabled"},
      {"text", "SendToHistory1", "its menu History is hidden"},
      {"text", "EditCutCmd", "a user cannot click EditCutCmd: it is disabled"},  // no selection
      {nullptr, "EditUndoItem", "a user cannot click EditUndoItem: it is disabled"},  // nothing done yet
  };
  for (const Case& c : cases) {
    ProgramFolders f;
    std::vector<std::string> args;
    if (c.document) {
      f.Write("doc.txt", c.document);
      args.push_back(f.Path("doc.txt"));
    }
    f.Write("run.script", std::string("click ") + c.item + "\nclose\n");
    ProgramRun run(args, f.Env("run.script"));
    EXPECT_EQ(run.Wait(30s), 3) << c.item;
    EXPECT_NE(run.Stderr().find(c.reason), std::string::npos) << run.Stderr();
  }
}

}  // namespace
