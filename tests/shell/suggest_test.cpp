// The pick list (suggestions, dates, fragments), the editor's context menu, web look-ups,
// numbers in words and the thesaurus: the list and menu builders as tables, then the commands
// on the real main window with its dialogs scripted and the desktop faked.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
#include "platform/gui/actions.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/menus.h"
#include "platform/gui/shell_open.h"
#include "platform/gui/std_controls.h"
#include "proofing/language.h"
#include "proofing/spell.h"
#include "proofing/spell_global.h"
#include "shell/insertion_lists.h"
#include "shell/lang_messages.h"
#include "shell/open_save.h"
#include "shell/program_data_files.h"
#include "shell/suggestion_menu.h"
#include "shell/thesaurus_link.h"
#include "shell/web_lookup.h"
#include "tests/shell/operation_test_fixture.h"
#include "tests/platform/temp_folder.h"
#include "textcore/app_files.h"

namespace {

TEST(InsertionLists, FragmentsTakeTheSelection) {
  struct Case {
    const char* fragment;
    const char16_t* selection;
    const char16_t* expected;
  };
  const Case cases[] = {
      {"<b>...</b>", u"abc", u"<b>abc</b>"},
      {"<br>", u"abc", u"abc<br>"},
      {"[...|...]", u"x", u"[x|x]"},
      {"<i>...</i>", u"", u"<i></i>"},
      {"<q>...</q>", u"ё ∑ ğ", u"<q>ё ∑ ğ</q>"},  // characters outside code page 1251 stay
  };
  for (const Case& c : cases) EXPECT_EQ(ApplyFragment(c.fragment, c.selection), c.expected) << c.fragment;
  EXPECT_EQ(DefaultFragments().size(), 13u);
  EXPECT_EQ(DefaultDateTimeFormats().size(), 11u);
}

TEST(InsertionLists, LookupServicesFromLines) {
  const std::vector<TLookupService> two = LookupServices({"A=u1#", "B=u2#", "no equals sign"});
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[0].Name, "A");
  EXPECT_EQ(two[0].Template, "u1#");
  EXPECT_EQ(two[1].Name, "B");
  // Everything after the first "=" is the template, cut to 1000 characters.
  const std::vector<TLookupService> longOne = LookupServices({"L=" + std::string(1200, 'x') + "=y"});
  EXPECT_EQ(longOne[0].Template, std::string(1000, 'x'));
  EXPECT_EQ(LookupServices({"a=b=c"})[0].Template, "b=c");
  EXPECT_EQ(LookupServices({}).size(), 3u);
  for (const TLookupService& service : LookupServices({})) EXPECT_NO_THROW(LookupAddress(service.Template, u"cat"));
  EXPECT_EQ(LookupAddress("http://s/?q=#&r=#", u"cat"), "http://s/?q=cat&r=cat");
  EXPECT_EQ(LookupAddress("http://s/about", u"cat"), "http://s/about");
  EXPECT_EQ(LookupAddress("https://s/?q=#", u"a#b ж"), "https://s/?q=a%23b%20%D0%B6");
}

TEST(InsertionLists, UserWordEntriesGoToTheirOwnLanguage) {
  struct Case {
    const char16_t* entry;
    bool isUserWord;
    const char16_t* word;
    unsigned lcid;
  };
  const Case cases[] = {
      {u"+ слово", true, u"слово", 1049}, {u"+ word ", true, u"word", 1033},
      {u"+x", true, u"x", 1033},          {u"+ж", true, u"ж", 1049},
      {u"word", false, u"", 0},
  };
  for (const Case& c : cases) {
    std::u16string word;
    unsigned lcid = 0;
    EXPECT_EQ(UserWordEntry(c.entry, word, lcid), c.isUserWord);
    if (!c.isUserWord) continue;
    EXPECT_EQ(word, c.word);
    EXPECT_EQ(lcid, c.lcid);
  }
}

std::vector<std::u16string> Words(int count) {
  std::vector<std::u16string> words;
  for (int i = 0; i < count; ++i) words.push_back(u"w" + AnsiToWide(std::to_string(i)));
  return words;
}

TEST(SuggestionMenu, ItemsBoldSeparatorAndNone) {
  struct Case {
    bool valid;
    int suggestions;
    std::vector<std::string> captions;
  };
  const Case cases[] = {
      {true, 2, {"word", "-", "w0", "w1"}},
      {true, 0, {"word", "-"}},
      {false, 1, {"w0"}},
      {false, 0, {"- None -"}},
  };
  for (const Case& c : cases) {
    const auto items = SuggestionMenu(u"word", c.valid, Words(c.suggestions));
    std::vector<std::string> captions;
    for (const auto& item : items) captions.push_back(item.Caption);
    EXPECT_EQ(captions, c.captions);
    for (const auto& item : items) EXPECT_EQ(item.Default, item.Caption != "-" && item.Caption != "- None -");
    EXPECT_EQ(items.front().Enabled, c.valid || c.suggestions > 0);
  }
}

TEST(SuggestionMenu, ColumnsOfTenUpToTheSixth) {
  struct Case {
    int count;
    std::vector<int> breaks;
  };
  const Case cases[] = {{25, {10, 20}}, {70, {10, 20, 30, 40, 50}}, {10, {}}, {11, {10}}};
  for (const Case& c : cases) {
    std::vector<int> breaks;
    const auto items = SuggestionMenu(u"wrd", false, Words(c.count));
    for (size_t i = 0; i < items.size(); ++i)
      if (items[i].BarBreak) breaks.push_back(int(i));
    EXPECT_EQ(breaks, c.breaks) << c.count;
  }
}

TEST(SuggestionMenu, PeriodAmpersandAndLargeSelections) {
  const auto items = SuggestionMenu(u"teh.", false, {u"the", u"A&B", u"tea."});
  EXPECT_EQ(items[0].Caption, "the.");
  EXPECT_EQ(items[0].Replacement, u"the.");
  EXPECT_EQ(items[1].Caption, "A&&B.");  // no accelerator
  EXPECT_EQ(items[1].Replacement, u"A&B.");
  EXPECT_EQ(items[2].Caption, "tea.");  // one period, not two
  EXPECT_EQ(SpellableWord(u"word."), u"word.");
  for (const std::u16string& selection : {std::u16string(u"two words"), std::u16string(u"a\rb"),
                                          std::u16string(5000, u'a')})
    EXPECT_EQ(SpellableWord(selection), u"");
}

// The main window with the pick list, its context menu and the desktop faked.
class SuggestTest : public OperationTest {
protected:
  void SetUp() override {
    OperationTest::SetUp();
    SetShellOpenHandler([this](const std::string& target) {
      opened.push_back(target);
      return true;
    });
    form->Clock = [] { return TDateTimeValue{2024, 3, 5, 14, 7, 9, 0}; };
  }
  void TearDown() override {
    SetShellOpenHandler(nullptr);
    for (const char* name : {"datetime.ini", "fragment.ini", "interlook.ini"}) DeleteFile(UserConfigFolder() + "data/" + name);
    OperationTest::TearDown();
  }
  void Select(int start, int length) {
    form->Editor->SetSelStart(start);
    form->Editor->SetSelLength(length);
  }
  void WriteUserFile(const std::string& name, const std::string& text) {
    WriteFileAtomic(UserDataFile(name), text);
  }
  std::vector<std::string> Captions(TMenuItem* menu) {
    std::vector<std::string> captions;
    for (int i = 0; i < menu->Count(); ++i) captions.push_back(menu->Items(i)->Caption());
    return captions;
  }
  std::vector<std::string> opened;
};

TEST_F(SuggestTest, FragmentReplacesTheSelectionAndAListLineEndsTheChoice) {
  SetText(u"say abc now");
  Select(4, 3);
  form->HTMLTag1Click(nullptr);
  EXPECT_EQ(form->SuggList->Tag(), -2);
  EXPECT_TRUE(form->SuggList->Visible());
  ASSERT_EQ(form->SuggEntries().size(), 13u);
  form->SuggList->SetItemIndex(1);
  uint16_t key = VK_RETURN;
  form->SuggListKeyDown(form->SuggList, key, 0);
  EXPECT_EQ(Text(), u"say <b>abc</b> now");
  EXPECT_EQ(form->LastPick, 1);
  EXPECT_FALSE(form->SuggList->Visible());
}

TEST_F(SuggestTest, DateTimeListFromTheUsersFile) {
  SetText(u"");
  form->DateTime1Click(nullptr);  // no file of the user's: the shipped list
  ASSERT_EQ(form->SuggEntries().size(), 11u);
  EXPECT_EQ(form->SuggEntries()[0], u"05.03.2024");
  EXPECT_EQ(form->SuggEntries()[1], u"03/05/2024");
  EXPECT_EQ(form->SuggList->Tag(), -1);
  WriteUserFile("datetime.ini", "# a comment\r\n\r\nyyyy\r\n#dd\r\n");
  form->DateTime1Click(nullptr);
  EXPECT_EQ(form->SuggEntries(), std::vector<std::u16string>{u"2024"});
  uint16_t key = VK_ESCAPE;
  form->SuggListKeyDown(form->SuggList, key, 0);
  EXPECT_FALSE(form->SuggList->Visible());
  EXPECT_EQ(Text(), u"");
  WriteUserFile("datetime.ini", "");
  form->DateTime1Click(nullptr);
  EXPECT_TRUE(form->SuggEntries().empty());
  EXPECT_FALSE(form->SuggList->Visible());
}

TEST_F(SuggestTest, ALetterTypedInTheListGoesIntoTheEditor) {
  SetText(u"ab");
  Select(2, 0);
  form->DateTime1Click(nullptr);
  ASSERT_TRUE(form->SuggList->Visible());
  uint16_t key = 'C';
  form->SuggListKeyDown(form->SuggList, key, 0);
  form->SuggList->Perform(WM_CHAR, uintptr_t('c'));
  EXPECT_EQ(Text(), u"abc");
  EXPECT_FALSE(form->SuggList->Visible());
  // Editing keys act in the editor too.
  form->Show();
  form->DateTime1Click(nullptr);
  key = VK_BACK;
  form->SuggListKeyDown(form->SuggList, key, 0);
  EXPECT_EQ(Text(), u"ab");
  EXPECT_FALSE(form->SuggList->Visible());
}

TEST_F(SuggestTest, NumbersInWordsInEveryLanguage) {
  SetText(u"pay 21 now");
  Select(4, 2);
  form->ToolsVerbalExecute(form->ToolsVerbal);
  const std::vector<std::u16string> expected = {u"двадцать один", u"twenty one", u"einundzwanzig", u"vingt et un",
                                                u"ventuno",       u"veintiuno",  u"yirmi bir"};
  ASSERT_EQ(form->SuggEntries().size(), 7u);
  EXPECT_EQ(form->SuggEntries()[0], expected[0]);
  EXPECT_EQ(form->SuggEntries()[1], expected[1]);
  EXPECT_EQ(form->SuggEntries()[6], expected[6]);
  EXPECT_EQ(form->SuggList->Tag(), 0);
  form->SuggList->SetItemIndex(1);
  form->PickSuggestion();
  EXPECT_EQ(Text(), u"pay twenty one now");
  // Every language in its own letters, not through the system code page.
  SetText(u"5");
  Select(0, 1);
  form->ToolsVerbalExecute(nullptr);
  EXPECT_EQ(form->SuggEntries()[2], u"fünf");
}

TEST_F(SuggestTest, NumbersInWordsLeaveWordsAndZeroAndRefuseTooLarge) {
  SetText(u"hello 0");
  Select(2, 0);
  form->ToolsVerbalExecute(nullptr);
  EXPECT_EQ(form->Editor->SelStart(), 0);
  EXPECT_EQ(form->Editor->SelLength(), 5);  // the word is selected, nothing more
  EXPECT_FALSE(form->SuggList->Visible());
  Select(6, 1);
  form->ToolsVerbalExecute(nullptr);
  EXPECT_FALSE(form->SuggList->Visible());
  SetText(u"1000000000");
  Select(0, 10);
  TScriptedDialogs dialogs;
  dialogs.Answer(TDialogKind::MessageBox, IDOK);
  form->ToolsVerbalExecute(nullptr);
  ASSERT_EQ(dialogs.Asked().size(), 1u);
  EXPECT_NE(dialogs.Asked()[0].Text.find("Can't express more than 999,999,999 in words"), std::string::npos);
  EXPECT_FALSE(form->SuggList->Visible());
  EXPECT_EQ(form->SuggList->Items()->Count(), 0);
  EXPECT_EQ(Text(), u"1000000000");
}

TEST_F(SuggestTest, WebLookupOfTheWordAtTheCaretAndTheLastService) {
  WriteUserFile("interlook.ini", "Search=https://s/?q=#&r=#\r\nLocal=/bin/sh\r\n");
  SetText(u"a кот b");
  Select(3, 0);
  form->PopupMenu1Popup(form->PopupMenu1);
  std::vector<std::string> captions = Captions(form->InternetLookup2);
  ASSERT_EQ(captions, (std::vector<std::string>{"Search", "Local", "-", "Last Lookup"}));
  EXPECT_EQ(form->InternetLookup2->Items(0)->Tag(), -999);
  form->InternetLookup2Click(nullptr);
  EXPECT_FALSE(form->LastUsed2->Enabled());
  form->InternetLookup2->Items(0)->Click();
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], "https://s/?q=%D0%BA%D0%BE%D1%82&r=%D0%BA%D0%BE%D1%82");
  EXPECT_EQ(form->Editor->GetSelTextW(), u"кот");
  form->InternetLookup2Click(nullptr);
  EXPECT_TRUE(form->LastUsed2->Enabled());
  form->LookupWord(form->LastUsed2);
  EXPECT_EQ(opened.size(), 2u);
  // A template that is no web address is refused with a message, and nothing is opened.
  TScriptedDialogs dialogs;
  dialogs.Answer(TDialogKind::MessageBox, IDOK);
  form->InternetLookup2->Items(1)->Click();
  EXPECT_EQ(opened.size(), 2u);
  EXPECT_EQ(dialogs.Asked().size(), 1u);
  // The menu follows the user's edits of the file.
  WriteUserFile("interlook.ini", "Only=https://o/#\r\n");
  form->PopupMenu1Popup(form->PopupMenu1);
  EXPECT_EQ(Captions(form->InternetLookup2), (std::vector<std::string>{"Only", "-", "Last Lookup"}));
}

TEST_F(SuggestTest, ContextMenuNeverSpellsALargeSelection) {
  SetText(std::u16string(3000, u'a') + u" and more words");
  Select(0, 3010);
  form->PopupMenu1Popup(form->PopupMenu1);
  EXPECT_EQ(Captions(form->SpellerSuggestions1), std::vector<std::string>{"- None -"});
  EXPECT_FALSE(form->SpellerSuggestions1->Items(0)->Enabled());
}

TEST_F(SuggestTest, ThesaurusKeepsTheSelectedPhraseAndOffersTheDownload) {
  SetText(u"a big cat sat");
  Select(2, 7);
  form->Th->LibraryName = "libquillomark-no-such-thesaurus.so";
  TScriptedDialogs dialogs;
  dialogs.Answer(TDialogKind::MessageDlg, mrOk).Answer(TDialogKind::MessageDlg, mrCancel);
  form->ToolsThesaurusExecute(form->ToolsThesaurus);
  EXPECT_EQ(form->Th->LookupWord, "big cat");
  ASSERT_EQ(dialogs.Asked().size(), 1u);
  EXPECT_EQ(dialogs.Asked()[0].Text, GetLangMessage("ThesaurusNotFound"));
  EXPECT_EQ(dialogs.Asked()[0].Buttons, mbOK | mbCancel);
  EXPECT_EQ(opened, std::vector<std::string>{kThesaurusDownloadAddress});
  form->ToolsThesaurusExecute(nullptr);
  EXPECT_EQ(opened.size(), 1u);
  EXPECT_EQ(Text(), u"a big cat sat");
}

TEST_F(SuggestTest, SystemFilesOpenTheUsersOwnCopy) {
  // A program folder of its own, as read-only for the program as an installed one.
  const std::string folder = UserConfigFolder() + "program/";
  ForceDirectories(folder);
  const std::string previous = ProgramFolder();
  SetProgramFolder(folder);
  const char* names[] = {"fragment.ini", "datetime.ini", "pretranslit.ini", "prehtml.ini", "interlook.ini"};
  for (const char* name : names) WriteFileAtomic(folder + name, std::string("shipped ") + name + "\r\n");
  SetText(u"");
  for (int tag = 0; tag < 5; ++tag) {
    TMenuItem item(nullptr);
    item.SetTag(tag);
    form->SystemFileClick(&item);
    const std::string copy = UserConfigFolder() + "data/" + names[tag];
    EXPECT_EQ(form->OS->FileName(), copy);
    EXPECT_EQ(Text(), u"shipped " + AnsiToWide(names[tag]) + u"\r");
    // The user's edits stay: the next opening does not copy the shipped file again.
    WriteFileAtomic(copy, "edited");
    form->SystemFileClick(&item);
    EXPECT_EQ(Text(), u"edited");
    EXPECT_EQ(ProgramDataFile(names[tag]), copy);
    DeleteFile(copy);
    EXPECT_EQ(ProgramDataFile(names[tag]), folder + names[tag]);
  }
  SetProgramFolder(previous);
}


TEST_F(SuggestTest, NegativeNumbersAndRightClickSelection) {
  // A language without negative numbers leaves out its entry; the others answer, silently.
  SetText(u"-21");
  Select(1, 0);
  TScriptedDialogs dialogs;
  form->ToolsVerbalExecute(nullptr);
  EXPECT_EQ(form->Editor->GetSelTextW(), u"-21");
  EXPECT_GE(form->SuggEntries().size(), 5u);
  EXPECT_EQ(form->SuggEntries()[1], u"Minus twenty one");
  EXPECT_TRUE(dialogs.Asked().empty());
  // A right click outside the selection selects the word under the mouse, without trailing
  // blanks; inside the selection it leaves it.
  SetText(u"one two three");
  form->Show();
  int x = 0;
  while (x < 600 && form->Editor->CharFromPos({x, 8}) != 10) ++x;
  ASSERT_LT(x, 600);
  Select(0, 3);
  form->EditorMouseDown(form->Editor, mbRight, 0, x, 8);
  EXPECT_EQ(form->Editor->GetSelTextW(), u"three");
  Select(4, 9);
  form->EditorMouseDown(form->Editor, mbRight, 0, x, 8);  // inside the selection
  EXPECT_EQ(form->Editor->GetSelTextW(), u"two three");
  Select(4, 4);
  form->EditorMouseDown(form->Editor, mbLeft, 0, -1, -1);
  EXPECT_EQ(form->Editor->GetSelTextW(), u"two ");
}

TEST_F(SuggestTest, TheListOpensBelowTheCaret) {
  form->Show();
  SetText(u"one\rtwo\rthree\rfour\rfive");
  Select(0, 0);
  form->DateTime1Click(nullptr);
  const int firstLine = form->SuggList->Top();
  Select(14, 0);
  form->DateTime1Click(nullptr);
  EXPECT_GT(form->SuggList->Top(), firstLine);
  EXPECT_LE(form->SuggList->Top() + form->SuggList->Height(), form->ClientHeight());
}

TEST_F(SuggestTest, ContextMenuAndCommandsAsLaidOut) {
  struct Case {
    const char* caption;
    const char* key;
  };
  // The object items come first; they show only while an object is selected.
  const Case items[] = {{"Open", ""}, {"Object Properties...", ""}, {"-", ""}, {"Spelling Suggestions", ""}, {"Internet Lookup", ""}, {"-", ""},
                        {"Cut", "Ctrl+X"}, {"Copy", "Ctrl+C"}, {"Paste", "Ctrl+V"}, {"Delete", "Ctrl+Del"},
                        {"-", ""}, {"Select All", "Ctrl+A"}, {"-", ""}, {"Find Next Occurence", ""},
                        {"Find Previous Occurence", ""}, {"-", ""}, {"Add Bookmark", ""}, {"-", ""},
                        {"Convert Keyboard Layout", "Ctrl+Enter"}, {"Force De-Transliteration", "Alt+Enter"}};
  TMenuItem* root = form->PopupMenu1->Items();
  ASSERT_EQ(root->Count(), int(std::size(items)));
  for (int i = 0; i < root->Count(); ++i) {
    EXPECT_EQ(StripHotkey(root->Items(i)->Caption()), items[i].caption) << i;
    EXPECT_EQ(root->Items(i)->ShortCut() ? ShortCutToText(root->Items(i)->ShortCut()) : "", items[i].key) << i;
  }
  // The clipboard items are the Edit commands themselves, showing the keys of the Edit menu.
  const TAction* actions[] = {form->EditCutCmd, form->EditCopyCmd, form->EditPasteCmd, form->EditClear1};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(root->Items(6 + i)->Action(), actions[i]);
  EXPECT_EQ(root->Items(11)->Action(), form->EditSelectAll);
  EXPECT_EQ(form->Editor->PopupMenu(), form->PopupMenu1);
  EXPECT_EQ(ShortCutToText(form->ToolsVerbal->ShortCut()), "Ctrl+W");
  EXPECT_EQ(ShortCutToText(form->ToolsThesaurus->ShortCut()), "Shift+F7");
  EXPECT_EQ(form->ToolsVerbal->Caption(), "Number as Words...");
  EXPECT_EQ(form->ToolsThesaurus->Hint(), "Open Thesaurus - the synonims dictionary");
  EXPECT_EQ(ShortCutToText(form->LastUsed2->ShortCut()), "Alt+L");
}

TEST_F(SuggestTest, ThesaurusChoiceReplacesTheSelectionAndNoChoiceChangesNothing) {
  form->Th->LibraryName = QM_TEST_THESAURUS;
  TScriptedDialogs dialogs;  // no question may be asked
  struct Case {
    const char16_t* text;
    int start, length;
    const char16_t* expected;
  };
  const Case cases[] = {
      {u"a big cat sat", 2, 7, u"a <big cat> sat"},      // the user's phrase, not the word at the caret
      {u"a big cat sat", 7, 0, u"a big <cat> sat"},      // no selection: the word at the caret
      {u"see кот here", 5, 0, u"see <кот> here"},        // in the code page of its language
      {u"say none now", 5, 0, u"say none now"},          // closed without a choice
  };
  for (const Case& c : cases) {
    SetText(c.text);
    Select(c.start, c.length);
    form->ToolsThesaurusExecute(form->ToolsThesaurus);
    EXPECT_EQ(Text(), c.expected);
  }
  EXPECT_TRUE(dialogs.Asked().empty());
}

// The spelling component over the shipped English and Russian dictionaries, in a program folder
// of the test's own (user words are written there).
class SuggestSpellingTest : public SuggestTest {
protected:
  void SetUp() override {
    SuggestTest::SetUp();
    FinalizeSpelling();
    std::filesystem::create_directories(Program.Path() / "Dict");
    for (const char* name : {"english.qlx", "en_uk.qdi", "en_uk.qd", "russian.qlx", "ru_yo.qdi", "ru_yo.qd"})
      std::filesystem::copy_file(std::filesystem::path(QM_PROGRAM_DIR) / "Dict" / name, Program.Path() / "Dict" / name);
    SetProgramFolder(Program.Name());
    InitializeSpelling();
  }
  void TearDown() override {
    FinalizeSpelling();
    SetProgramFolder("");
    SuggestTest::TearDown();
  }
  TempFolder Program;
};

TEST_F(SuggestSpellingTest, SubmenuOffersTheWordAndItsCorrections) {
  form->Editor->SetLanguage(1033);
  SetText(u"the teh. house");
  Select(4, 4);
  form->PopupMenu1Popup(form->PopupMenu1);
  TMenuItem* menu = form->SpellerSuggestions1;
  ASSERT_GT(menu->Count(), 0);
  EXPECT_NE(menu->Items(0)->Caption(), "- None -");
  bool offered = false;
  for (int i = 0; i < menu->Count(); ++i) {
    EXPECT_EQ(menu->Items(i)->Caption().back(), '.');  // the word's period is kept
    EXPECT_TRUE(menu->Items(i)->Default());
    EXPECT_EQ(menu->Items(i)->Tag(), -999);
    if (menu->Items(i)->Caption() == "the.") {
      offered = true;
      menu->Items(i)->Click();
    }
  }
  ASSERT_TRUE(offered);
  EXPECT_EQ(Text(), u"the the. house");
  // A valid word comes first, bold, before a separator; a second opening rebuilds the submenu.
  Select(9, 5);
  form->PopupMenu1Popup(form->PopupMenu1);
  ASSERT_GE(menu->Count(), 2);
  EXPECT_EQ(menu->Items(0)->Caption(), "house");
  EXPECT_TRUE(menu->Items(0)->Default());
  EXPECT_TRUE(menu->Items(1)->IsLine());
}

TEST_F(SuggestSpellingTest, AddedWordsGoToTheirOwnLanguage) {
  SetText(u"x");
  form->ShowSuggList({u"+ qwzxyk", u"+ жщфывк"}, 0);
  form->SuggList->SetItemIndex(1);
  form->PickSuggestion();
  form->ShowSuggList({u"+ qwzxyk", u"+ жщфывк"}, 0);
  form->SuggList->SetItemIndex(0);
  form->PickSuggestion();
  EXPECT_TRUE(SpellChecker().IsValidWord(WideToAnsi(u"жщфывк", 1251), 1049));
  EXPECT_FALSE(SpellChecker().IsValidWord(WideToAnsi(u"жщфывк", 1251), 1033));
  EXPECT_TRUE(SpellChecker().IsValidWord("qwzxyk", 1033));
  EXPECT_EQ(Text(), u"x");
}

}  // namespace
