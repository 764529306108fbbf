// End to end: the real program removes HTML and transliterates through its Convert menu, using
// the rule files of its program folder and the find form's silent list replacement, cleans up
// scanned text and reads transliterated Russian back into Cyrillic, automatically or asking.
#include <gtest/gtest.h>

#include <filesystem>
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

// Automatic mode (chosen on the options page) converts the transliterated Russian and leaves the
// English paragraph and an English sentence among the Russian ones as they stand, asking nothing.
TEST(EndToEnd, DeTransliterateAutomaticallyOverMixedText) {
  ProgramFolders f;
  f.Write("mixed.txt",
          "Hello, my friend! The weather was fine yesterday, and it is fine today.\n"
          "Segodnja v Moskve pogoda horoshaja, i my idem guljat v park. The weather is fine. Ja ochen rad etomu.\n");
  f.Write("run.script",
          "answer form 1 click:BtnAuto\n"
          "click TranslittoWin12511\n"
          "save-text " + f.Path("cyrillic.txt") + "\n"
          "answer messagedlg 7\n"
          "close\n");
  ProgramRun run({f.Path("mixed.txt")}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(60s), 0) << run.Stderr();
  EXPECT_EQ(ProgramRun::ReadText(f.Path("cyrillic.txt")),
            WideToUtf8(u"Hello, my friend! The weather was fine yesterday, and it is fine today.\r"
                       u"Сегодня в Москве погода хорошая, и мы идем гулять в парк. The weather is fine. Я очень рад этому.\r"));
}

// Interactive mode asks about each converted word in the correction window: Replace All answers
// the word's later occurrences too, in their own letter case, Skip All keeps them Latin, Replace
// takes one.
TEST(EndToEnd, DeTransliterateInteractivelyAnsweringTheCorrectionWindow) {
  ProgramFolders f;
  f.Write("mixed.txt", "Pogoda segodnja, pogoda zavtra, Segodnja POGODA.\n");
  f.Write("run.script",
          "answer form 1\n"                          // the options page as it stands
          "answer form 1 click:BtnReplaceAll\n"      // Pogoda
          "answer form 1 click:Button1\n"            // segodnja: Skip All
          "answer form 1 click:BtnReplace\n"         // zavtra
          "click TranslittoWin12511\n"
          "asked Russian written in Latin letters\n"
          "save-text " + f.Path("answered.txt") + "\n"
          "answer messagedlg 7\n"
          "close\n");
  ProgramRun run({f.Path("mixed.txt")}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(60s), 0) << run.Stderr();
  EXPECT_EQ(ProgramRun::ReadText(f.Path("answered.txt")), WideToUtf8(u"Погода segodnja, погода завтра, Segodnja ПОГОДА.\r"));
}

// A question or modal window the script does not answer fails the run at once, naming the
// window and what it shows, and the program ends instead of waiting for a user.
TEST(EndToEnd, AnUnansweredQuestionFailsTheScript) {
  struct Case {
    const char* script;
    std::vector<std::string> said;
  };
  const Case cases[] = {
      // The correction window, asked through the dialog service.
      {"answer form 1\nclick TranslittoWin12511\n",
       {"nobody answered the dialog window AskForm", "\"Converted word\"", WideToUtf8(u"\"погода\"")}},
      // A window the program shows modally by itself.
      {"click GotoLine1\n", {"nobody answered the window GotoLineForm \"Go to\""}},
  };
  for (const Case& c : cases) {
    ProgramFolders f;
    f.Write("text.txt", "pogoda\n");
    f.Write("run.script", std::string(c.script) + "save-text " + f.Path("after.txt") + "\nclose\n");
    ProgramRun run({f.Path("text.txt")}, f.Env("run.script"));
    EXPECT_EQ(run.Wait(30s), 3) << c.script;
    for (const std::string& text : c.said) EXPECT_NE(run.Stderr().find(text), std::string::npos) << run.Stderr();
    EXPECT_FALSE(std::filesystem::exists(f.Path("after.txt"))) << "the script stops at the failure";
  }
}

}  // namespace
