// End to end: the real program's dialogs as a user meets them. The processing options take
// effect as the window shows them, also when Preferences is cancelled; the correction dialog
// answers F1 with a message that no help is installed; the Find window offers no Help button it
// could not serve while its fields carry labels; Replace All keeps each match's case, marks only
// the replacements and says what it did; the spelling popup stands below the word it asks about.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/code_pages.h"
#include "platform/rich_text.h"
#include "platform/rtf_reader.h"
#include "tests/shell/program_test_util.h"

namespace {

using namespace std::chrono_literals;

// "Save original text to History" checked in the processing options, opened from Preferences
// or from a tool window, which is then cancelled: the next operation keeps the original text in
// the history (before, nothing did).
TEST(DialogsEndToEnd, TheProcessingOptionsTakeEffectWhenTheirWindowIsCancelled) {
  const struct {
    const char* command;  // what opens the window
    const char* window;
    const char* button;   // its "Options..." button
  } routes[] = {
      {"FileSettings", "PrefForm", "Button1"},
      {"FixMixedCharacters1", "MixedCharForm", "Button3"},
  };
  for (const auto& route : routes) {
    ProgramFolders f;
    f.Write("note.txt", "Some Text\n");
    f.Write("run.script",
            "wait-text Some\n"
            "click CaseUpper\n"
            "save-shown " + f.Path("before.txt") + "\n"
            "in-window " + route.window + " 2 click:" + route.button + "\n"
            "in-window SpeedForm 1 click:CBEnableHist\n"
            "click " + route.command + "\n"
            "click CaseLower\n"
            "save-shown " + f.Path("after.txt") + "\n"
            "save-text " + f.Path("editor.txt") + "\n"
            "answer messagedlg 7\n"
            "close\n");
    ProgramRun run({f.Path("note.txt")}, f.Env("run.script"));
    ASSERT_EQ(run.Wait(30s), 0) << route.window << "\n" << run.Stderr();
    EXPECT_EQ(ProgramRun::ReadText(f.Path("editor.txt")), "some Text\r") << route.window;  // the word at the caret
    const std::string before = ProgramRun::ReadText(f.Path("before.txt"));
    const std::string after = ProgramRun::ReadText(f.Path("after.txt"));
    EXPECT_EQ(before.find("MainForm.RevList\t"), std::string::npos) << route.window << ": the history starts off";
    EXPECT_NE(after.find("MainForm.RevList\t"), std::string::npos) << route.window << ": the history holds the change";
  }
}

TEST(DialogsEndToEnd, F1InTheCorrectionDialogSaysThatNoHelpIsInstalled) {
  ProgramFolders f;
  const std::string text = WideToUtf8(u"Мой KOT дома.");
  f.Write("scan.txt", text);
  // The options page shows, takes F1 (whose message is confirmed) and is cancelled.
  f.Write("run.script",
          "answer form 2 F1\n"
          "answer messagedlg 1\n"
          "click Kestrivancorrection1\n"
          "asked No help is installed for this window.\n"
          "save-text " + f.Path("editor.txt") + "\n"
          "close\n");
  ProgramRun run({f.Path("scan.txt")}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(30s), 0) << run.Stderr();
  EXPECT_EQ(ProgramRun::ReadText(f.Path("editor.txt")), text) << "the cancelled dialog ran nothing";
}

TEST(DialogsEndToEnd, TheFindWindowsPagesShowLabelledFieldsAndNoHelpButton) {
  ProgramFolders f;
  f.Write("note.txt", "some text to find\n");
  const char* const pages[] = {"Find1", "Replace1", "MultiReplace1", "FindbyAttributes1"};
  std::string script = "wait-text find\n";
  for (const char* page : pages) script += std::string("click ") + page + "\nsave-shown " + f.Path(page) + "\n";
  f.Write("run.script", script + "close\n");
  ProgramRun run({f.Path("note.txt")}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(30s), 0) << run.Stderr();
  for (const char* page : pages) {
    const std::string shown = ProgramRun::ReadText(f.Path(page));
    EXPECT_NE(shown.find("FindForm.Caption\t"), std::string::npos) << page << ": the window is up\n" << shown;
    EXPECT_EQ(shown.find("FindForm.BtnFormat"), std::string::npos) << page << "\n" << shown;
  }
  // The single search field and the replacement field are labelled.
  for (const char* label : {"FindForm.LabelFind", "FindForm.LabelReplace"})
    EXPECT_NE(ProgramRun::ReadText(f.Path("Replace1")).find(label), std::string::npos) << label;
}

// An RTF document of `text`, every character written as its Unicode value.
std::string RtfOf(const std::u16string& text) {
  std::string rtf = "{\\rtf1\\ansi\\ansicpg1251\\uc0 ";
  for (const char16_t c : text) rtf += "\\u" + std::to_string(int(c)) + " ";
  return rtf + "\\par}";
}

// Replace All from the Find window: each match keeps its case (a small one too), only the
// replacements are marked, the window says how many it replaced and, when none, that nothing
// was found; the status bar shows the new text's length at once, and again after Undo.
TEST(DialogsEndToEnd, ReplaceAllKeepsEachMatchsCaseAndMarksOnlyTheReplacements) {
  ProgramFolders f;
  f.Write("doc.rtf", RtfOf(u"а жизнь, Жизнь и ЖИЗНЬ."));
  f.Write("run.script",
          "wait-text ЖИЗНЬ\n"
          "click Replace1\n"
          "type-in FindForm.EditFind жизнь\n"
          "type-in FindForm.EditReplace Судьба\n"
          "answer messagedlg 1\n"
          "click FindForm.BtnAll\n"
          "asked Successfully replaced 3 elements.\n"
          "save-status " + f.Path("status.txt") + "\n"
          "answer messagedlg 1\n"
          "click FindForm.BtnAll\n"
          "asked Nothing was found, nothing was replaced.\n"
          "click FileSaveCmd\n"
          "click EditUndoItem\n"
          "save-text " + f.Path("undone-text.txt") + "\n"
          "save-status " + f.Path("undone.txt") + "\n"
          "answer messagedlg 7\n"
          "close\n");
  ProgramRun run({f.Path("doc.rtf")}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(30s), 0) << run.Stderr();
  const TRichDocument document = ReadRtf(ProgramRun::ReadText(f.Path("doc.rtf")));
  ASSERT_FALSE(document.Paragraphs.empty());
  std::u16string text, marked;
  for (const TRichRun& r : document.Paragraphs[0].Runs) {
    text += r.Text;
    marked += r.Format.Color == RichAutoColor ? std::u16string(r.Text.size(), u'_') : r.Text;
  }
  EXPECT_EQ(WideToUtf8(text), WideToUtf8(u"а судьба, Судьба и СУДЬБА."));
  EXPECT_EQ(WideToUtf8(marked), WideToUtf8(u"__судьба__Судьба___СУДЬБА_"));
  EXPECT_NE(ProgramRun::ReadText(f.Path("status.txt")).find("of 26"), std::string::npos)
      << ProgramRun::ReadText(f.Path("status.txt"));
  // Undo takes the replacements back and the status bar follows at once.
  const std::u16string undone = Utf8ToWide(ProgramRun::ReadText(f.Path("undone-text.txt")));
  EXPECT_NE(undone, text);
  EXPECT_NE(ProgramRun::ReadText(f.Path("undone.txt")).find("of " + std::to_string(undone.size())), std::string::npos)
      << ProgramRun::ReadText(f.Path("undone.txt"));
}

// One Undo takes back a whole Replace All, its colour marks with it, and one Redo makes it again;
// the step before it (the user's typing) stays.
TEST(DialogsEndToEnd, OneUndoTakesBackAWholeReplaceAllAndOneRedoRedoesIt) {
  ProgramFolders f;
  f.Write("doc.rtf", RtfOf(u"а жизнь, Жизнь и ЖИЗНЬ."));
  f.Write("run.script",
          "wait-text ЖИЗНЬ\n"
          "type Ж\n"
          "click Replace1\n"
          "type-in FindForm.EditFind жизнь\n"
          "type-in FindForm.EditReplace Судьба\n"
          "answer messagedlg 1\n"
          "click FindForm.BtnAll\n"
          "asked Successfully replaced 3 elements.\n"
          "click EditUndoItem\n"
          "click FileSaveCmd\n"
          "click Redo1\n"
          "save-text " + f.Path("redone.txt") + "\n"
          "click EditUndoItem\n"
          "click EditUndoItem\n"
          "save-text " + f.Path("typing-undone.txt") + "\n"
          "answer messagedlg 7\n"
          "close\n");
  ProgramRun run({f.Path("doc.rtf")}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(30s), 0) << run.Stderr();
  // After one Undo: the text as it was before the run, with no mark left.
  const TRichDocument undone = ReadRtf(ProgramRun::ReadText(f.Path("doc.rtf")));
  ASSERT_FALSE(undone.Paragraphs.empty());
  std::u16string text;
  for (const TRichRun& r : undone.Paragraphs[0].Runs) {
    text += r.Text;
    EXPECT_EQ(r.Format.Color, RichAutoColor) << WideToUtf8(r.Text);
  }
  EXPECT_EQ(WideToUtf8(text), WideToUtf8(u"Жа жизнь, Жизнь и ЖИЗНЬ."));
  EXPECT_EQ(ProgramRun::ReadText(f.Path("redone.txt")), WideToUtf8(u"Жа судьба, Судьба и СУДЬБА."));
  // The second Undo after the Redo takes back the typing before the run.
  EXPECT_EQ(ProgramRun::ReadText(f.Path("typing-undone.txt")), WideToUtf8(u"а жизнь, Жизнь и ЖИЗНЬ."));
}

// A check started with F7's menu item: the popup for the unknown first word of the document
// stands right below it, clear of its line (it used to open at the screen's corner).
TEST(DialogsEndToEnd, TheSpellingPopupStandsBelowTheWordItAsksAbout) {
  ProgramFolders f;
  f.Write("note.txt", "Wrold is here.\n");
  f.Write("run.script",
          "wait-text Wrold\n"
          "save-places " + f.Path("editor.txt") + " Editor\n"
          "in-window SCStart 1 click:BtnStart\n"
          "in-window SCPopup 3 place:" + f.Path("popup.txt") + "\n"
          "answer messagedlg 1\n"  // the check is complete
          "click CheckStart\n"
          "close\n");
  ProgramRun run({f.Path("note.txt")}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(30s), 0) << run.Stderr();
  std::ifstream editor(f.Path("editor.txt")), popup(f.Path("popup.txt"));
  std::string name, parent;
  int editorLeft = 0, editorTop = 0, left = 0, top = 0;
  ASSERT_TRUE(editor >> name >> parent >> editorLeft >> editorTop);
  ASSERT_TRUE(popup >> left >> top) << "the popup never showed";
  // The word's point is its character's place, raised to 20 pixels below the editor's top.
  EXPECT_EQ(top, editorTop + 20 + 20);
  EXPECT_GE(left, editorLeft);
  EXPECT_LE(left, editorLeft + 10);
}

// Add Words opens mid-screen before any check, and where the popup last stood after one (it
// used to open at the screen's corner).
TEST(DialogsEndToEnd, AddWordsOpensMidScreenThenWhereThePopupStood) {
  ProgramFolders f;
  f.Write("note.txt", "Wrold is here.\n");
  f.Write("run.script",
          "wait-text Wrold\n"
          "click AddSpellWords\n"
          "save-places " + f.Path("before.txt") + " SCAddWord\n"
          "click SCAddWord.BtnClose\n"
          "in-window SCStart 1 click:BtnStart\n"
          "in-window SCPopup 3 place:" + f.Path("popup.txt") + "\n"
          "answer messagedlg 1\n"
          "click CheckStart\n"
          "click AddSpellWords\n"
          "save-places " + f.Path("after.txt") + " SCAddWord\n"
          "close\n");
  ProgramRun run({f.Path("note.txt")}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(30s), 0) << run.Stderr();
  std::ifstream before(f.Path("before.txt")), after(f.Path("after.txt")), popup(f.Path("popup.txt"));
  std::string name, parent;
  int left = 0, top = 0, popupLeft = 0, popupTop = 0;
  ASSERT_TRUE(before >> name >> parent >> left >> top);
  EXPECT_GT(left, 100);
  EXPECT_GT(top, 100);
  ASSERT_TRUE(popup >> popupLeft >> popupTop);
  ASSERT_TRUE(after >> name >> parent >> left >> top);
  EXPECT_EQ(left, popupLeft);
  EXPECT_EQ(top, popupTop);
}

}  // namespace
