// Bookmarks (names, adjustment, the ".qb" file) and the INI view (detection, the line-keeping
// round trip, sections edited one at a time and written back on save and on leaving the view).
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
#include "platform/gui/actions.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/menus.h"
#include "shell/bookmarks.h"
#include "shell/ini_text.h"
#include "shell/open_save.h"
#include "tests/platform/temp_folder.h"
#include "tests/shell/operation_test_fixture.h"

namespace {

TEST(Bookmarks, Names) {
  EXPECT_EQ(BookmarkName(1, ""), "1");
  EXPECT_EQ(BookmarkName(2, "  Chapter\r\none "), "2. Chapter  one");
  EXPECT_EQ(BookmarkName(3, std::string(40, 'x')), "3. " + std::string(27, 'x') + "...");
  EXPECT_EQ(BookmarkFileName("/d/a.txt"), "/d/a.txt.qb");
  EXPECT_NE(BookmarkFileName("/d/a.txt"), BookmarkFileName("/d/a.rtf"));
}

TEST(Bookmarks, AdjustmentTable) {
  struct Case {
    const char* what;
    int caret, lengthDelta, lineDelta;
    int position, topLine;  // before
    int newPosition, newTopLine;
  };
  const Case cases[] = {
      {"typing 5 before", 15, 5, 0, 20, 3, 25, 3},
      {"typing at the mark", 15, 5, 0, 10, 3, 15, 3},
      {"typing after", 30, 5, 0, 20, 3, 20, 3},
      {"a new line before", 11, 1, 1, 20, 3, 21, 4},
      {"deleting before", 5, -5, 0, 20, 3, 15, 3},
      {"deleting across it", 5, -30, -2, 20, 3, 5, 1},
      {"deleting after", 25, -5, 0, 20, 3, 20, 3},
  };
  for (const Case& c : cases) {
    std::vector<TBookmark> marks{{c.position, c.topLine, "m"}};
    MoveBookmarks(marks, c.caret, c.lengthDelta, c.lineDelta);
    EXPECT_EQ(marks[0].Position, c.newPosition) << c.what;
    EXPECT_EQ(marks[0].TopLine, c.newTopLine) << c.what;
  }
}

TEST(Bookmarks, FileLinesRoundTripAndDamagedLinesAreSkipped) {
  const std::vector<TBookmark> marks = ParseBookmarks("120|3=2. Chapter\r\nbad line\r\nx|1=y\r\n5|z=w\r\n7|0=a=b|c\n");
  ASSERT_EQ(marks.size(), 2u);
  EXPECT_EQ(marks[0].Position, 120);
  EXPECT_EQ(marks[0].TopLine, 3);
  EXPECT_EQ(marks[0].Name, "2. Chapter");
  EXPECT_EQ(marks[1].Name, "a=b|c");
  EXPECT_EQ(FormatBookmarks(marks), "120|3=2. Chapter\r\n7|0=a=b|c\r\n");
  EXPECT_EQ(ParseBookmarks(FormatBookmarks(marks)).size(), 2u);
}

TEST(IniText, DetectionTakesOnlyRealIniTexts) {
  struct Case {
    std::u16string text;
    bool ini;
  };
  const Case cases[] = {
      {u"[Main]\rKey=Value\r\r; comment\r# other\r[Next]\rA=1", true},
      {u"  \r[Main]\rKey=Value", true},
      {u"[2024-01-01 10:00] started\r[2024-01-01 10:01] stopped", false},
      {u"[2024-01-01 10:00] server started", false},
      {u"[1, 2, 3]", false},
      {u"[\r  {\"a\": 1}\r]", false},
      {u"[link](http://x) and text", false},
      {u"[Main]\rjust a sentence", false},
      {u"Key=Value\r[Main]", true},  // keys before the first section
      {u"[One]\r[Two]", false},
      {u"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(LooksLikeIni(c.text), c.ini) << &c - cases;
}

TEST(IniText, RoundTripKeepsEveryLine) {
  const std::u16string texts[] = {
      u"; preamble\r\rtop=1\r[Default]\rA=1\r\r; c\r[ Spaced ]\rB=2\r",
      u"no sections at all\rsecond line",
      u"[One]",
      u"[One]\r\r[Two]\r",
      u"",
  };
  for (const std::u16string& text : texts) EXPECT_EQ(JoinIni(SplitIni(text)), text);
  std::vector<TIniSection> sections = SplitIni(u"pre\r[a]\rx=1");
  ASSERT_EQ(sections.size(), 2u);
  EXPECT_EQ(sections[0].Name, u"Default");
  EXPECT_FALSE(sections[0].HasHeader);
  sections[1].Name = u"b";
  sections.push_back(TIniSection{u"<new section>", true, {}, {}});
  EXPECT_EQ(JoinIni(sections), u"pre\r[b]\rx=1\r[<new section>]");
}

class BookmarksIniTest : public OperationTest {
protected:
  void Type(int at, const std::u16string& text) {
    form->Editor->SetSelStart(at);
    form->Editor->SetSelLength(0);
    form->Editor->SetSelTextW(text);
    form->AdjustBookmarks();
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = folder.Name() + name;
    WriteFileAtomic(path, bytes);
    return path;
  }
  TempFolder folder;
  TScriptedDialogs dialogs;
};

TEST_F(BookmarksIniTest, BookmarksFollowTheTextAndTheirFile) {
  SetText(u"0123456789 chapter one\rsecond line of text");
  form->AdjustBookmarks();
  form->Editor->SetSelStart(11);
  form->Editor->SetSelLength(7);
  form->FindAddBookmarkExecute(form);
  ASSERT_EQ(form->Bookmarks().size(), 1u);
  EXPECT_EQ(form->Bookmarks()[0].Name, "1. chapter");
  EXPECT_TRUE(form->BmPanel->Visible());
  form->Editor->SetSelLength(0);
  form->FindAddBookmarkUpdate(form);
  EXPECT_FALSE(form->FindAddBookmark->Enabled());  // one is at the caret already
  Type(2, u"abcde");
  EXPECT_EQ(form->Bookmarks()[0].Position, 16);
  Type(30, u"xy");
  EXPECT_EQ(form->Bookmarks()[0].Position, 16);

  const std::string doc = Write("a.txt", "text"), other = Write("a.rtf", "text");
  form->OS->SetFileName(doc);
  form->SaveBookmarks();
  EXPECT_EQ(ReadFileBytes(doc + ".qb"), "16|0=1. chapter\r\n");
  form->OS->SetFileName(other);
  form->LoadBookmarks();  // the other document has no bookmarks file
  EXPECT_EQ(form->Bookmarks().size(), 1u);
  form->OS->SetFileName(doc);
  form->DeleteBm1Click(form);
  EXPECT_FALSE(form->BmPanel->Visible());
  form->SaveBookmarks();
  EXPECT_FALSE(FileExists(doc + ".qb"));
}

TEST_F(BookmarksIniTest, ABookmarksFileBeyondTheTextIsKeptInsideIt) {
  // A ".qb" line naming a position and a top line near INT_MAX: choosing it goes to the end
  // of the text at once, and edits move it without overflowing.
  const std::string doc = Write("short.txt", "line one\nline two\n");
  std::filesystem::copy_file(std::string(QM_FIXTURES_DIR) + "/hostile/bookmark-beyond-text.qb", doc + ".qb");
  form->Show();
  ASSERT_GT(form->OS->OpenFile(doc), 0);
  form->LoadBookmarks();
  form->AdjustBookmarks();
  ASSERT_EQ(form->Bookmarks().size(), 1u);
  const int length = int(Text().size());
  EXPECT_EQ(form->Bookmarks()[0].Position, length);
  form->BmSet->SetItemIndex(0);
  form->BmSetChange(form->BmSet);
  EXPECT_EQ(form->Editor->SelStart(), length);
  Type(0, u"ab");
  EXPECT_EQ(form->Bookmarks()[0].Position, length + 2);
}

TEST_F(BookmarksIniTest, OpeningAnotherDocumentDropsTheBookmarks) {
  SetText(u"some text");
  form->FindAddBookmarkExecute(form);
  form->OS->OpenFile(Write("plain.txt", "plain text"));
  EXPECT_TRUE(form->Bookmarks().empty());
  EXPECT_FALSE(form->BmPanel->Visible());
}

TEST_F(BookmarksIniTest, AnIniFileIsOfferedAsATreeAndSavedWithEveryLine) {
  const std::string bytes = "; settings\r\n\r\n[Default]\r\nA=1\r\n; note\r\n\r\n[Window]\r\nLeft=10\r\n";
  const std::string path = Write("app.ini", bytes);
  dialogs.Answer(TDialogKind::MessageDlg, mrYes);
  form->OS->OpenFile(path);
  ASSERT_TRUE(form->IniViewActive());
  EXPECT_TRUE(form->ViewINI->Checked());
  EXPECT_EQ(form->IniSectionNames(), (std::vector<std::u16string>{u"Default", u"Default", u"Window"}));
  EXPECT_EQ(Text(), u"; settings\r");
  // Saving unchanged writes the file as it was.
  ASSERT_TRUE(form->OS->Save());
  EXPECT_EQ(ReadFileBytes(path), bytes);
  EXPECT_EQ(Text(), u"; settings\r");

  // An edit of the section in the editor, then another section chosen, then that one changed
  // by an operation's way of writing: all of it is saved.
  form->Editor->SetSelStart(0);
  form->Editor->SetSelTextW(u"; my ");
  form->ChooseIniSection(1);
  EXPECT_EQ(Text(), u"A=1\r; note\r");
  form->Editor->SetSelStart(0);
  form->Editor->SetSelLength(3);
  form->Editor->SetSelTextW(u"A=2");
  form->SetModified(true);
  ASSERT_TRUE(form->OS->Save());
  EXPECT_EQ(ReadFileBytes(path), "; my ; settings\r\n\r\n[Default]\r\nA=2\r\n; note\r\n\r\n[Window]\r\nLeft=10\r\n");
  EXPECT_EQ(Text(), u"A=2\r; note\r");

  // Leaving the view puts the whole text back, the last edit included.
  form->Editor->SetSelStart(0);
  form->Editor->SetSelTextW(u"Z=0\r");
  form->ViewPlainClick(form->ViewPlain);
  EXPECT_FALSE(form->IniViewActive());
  EXPECT_EQ(Text(), u"; my ; settings\r\r[Default]\rZ=0\rA=2\r; note\r\r[Window]\rLeft=10\r");
}

TEST_F(BookmarksIniTest, OrdinaryTextsAreNotOfferedAndNoIsRespected) {
  form->OS->OpenFile(Write("log.txt", "[2024-01-01 10:00] server started\r\n"));
  EXPECT_FALSE(form->IniViewActive());
  dialogs.Answer(TDialogKind::MessageDlg, mrNo);
  form->OS->OpenFile(Write("b.ini", "[a]\r\nx=1\r\n"));
  EXPECT_FALSE(form->IniViewActive());
  EXPECT_EQ(Text(), u"[a]\rx=1\r");
  EXPECT_EQ(dialogs.Pending(), 0);
}

TEST_F(BookmarksIniTest, DeletingTheShownSectionAndACancelledNewKeepTheTree) {
  SetText(u"[a]\rx=1\r[b]\ry=2");
  dialogs.Answer(TDialogKind::MessageDlg, mrOk);  // the formatting goes
  form->ViewINIClick(form->ViewINI);
  ASSERT_TRUE(form->IniViewActive());
  form->Editor->SetSelStart(0);
  form->Editor->SetSelTextW(u"lost=");
  dialogs.Answer(TDialogKind::MessageDlg, mrYes);
  form->ChooseIniSection(0);
  form->EditDelSectionExecute(form);
  EXPECT_EQ(form->IniSectionNames(), (std::vector<std::u16string>{u"b"}));
  EXPECT_EQ(Text(), u"y=2");

  form->EditAddSectionExecute(form);
  form->SetModified(true);
  dialogs.Answer(TDialogKind::MessageDlg, mrCancel);
  form->FileNew(form);
  EXPECT_TRUE(form->IniViewActive());
  EXPECT_EQ(form->IniSectionNames(), (std::vector<std::u16string>{u"b", u"<new section>"}));
  form->ViewFormattedClick(form->ViewFormatted);
  EXPECT_EQ(Text(), u"[b]\ry=2\r[<new section>]");
  EXPECT_TRUE(form->DocModified());
}

TEST_F(BookmarksIniTest, ACancelledDropKeepsTheDocumentWithItsTreeBookmarksAndHistory) {
  SetText(u"[a]\rx=1\r[b]\ry=2");
  dialogs.Answer(TDialogKind::MessageDlg, mrOk);
  form->ViewINIClick(form->ViewINI);
  form->FindAddBookmarkExecute(form);
  form->ConvSendToHistoryExecute(form);
  form->Editor->SetSelStart(0);
  form->Editor->SetSelTextW(u"k=v\r");
  form->SetModified(true);
  form->OS->SetFileName(folder.Name() + "kept.ini");
  dialogs.Answer(TDialogKind::MessageDlg, mrCancel);
  form->DropFiles({Write("other.txt", "other")});
  EXPECT_TRUE(form->IniViewActive());
  EXPECT_EQ(form->IniSectionNames().size(), 2u);
  EXPECT_EQ(form->Bookmarks().size(), 1u);
  EXPECT_EQ(form->History().Count(), 1);
  EXPECT_EQ(Text(), u"k=v\rx=1");
  EXPECT_TRUE(form->DocModified());
  EXPECT_EQ(form->OS->FileName(), folder.Name() + "kept.ini");
  EXPECT_EQ(dialogs.Pending(), 0);
}

}  // namespace
