// The main window's menus: the bar's order, the keys every item carries, which command a key
// reaches when a menu item and an action both claim it, and the commands the menus own.
#include <gtest/gtest.h>

#include "components/adv_splitter.h"
#include "components/tray_icon.h"
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/menus.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/rich_text.h"
#include "platform/gui/shell_open.h"
#include "platform/gui/std_controls.h"
#include "shell/main_form.h"
#include "shell/preferences.h"
#include "tests/shell/operation_test_fixture.h"
#include "tests/shell/preferences_test_env.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_attributes.h"

namespace {

class MainFormMenusTest : public OperationTest {
protected:
  void SetUp() override {
    OperationTest::SetUp();
    PrefForm = new TPrefForm(Application);
  }
  void TearDown() override {
    delete PrefForm;
    PrefForm = nullptr;
    OperationTest::TearDown();
  }
  TMenuItem* Item(const char* name) { return dynamic_cast<TMenuItem*>(form->FindComponent(name)); }
  TTestWorld world_;
};

std::string Plain(std::string caption) {
  std::string text;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && ++i == caption.size()) break;
    text += caption[i];
  }
  return text;
}

TEST_F(MainFormMenusTest, BarInItsOrderAndEveryKeyOnItsItem) {
  std::vector<std::string> bar;
  for (int i = 0; i < form->MainMenu1->Items()->Count(); ++i)
    bar.push_back(Plain(form->MainMenu1->Items()->Items(i)->Caption()));
  EXPECT_EQ(bar, (std::vector<std::string>{"File", "Edit", "Search", "View", "History", "Format", "Convert",
                                           "Tools", "Help"}));
  struct Case {
    const char* item;
    const char* caption;
    const char* key;
  };
  const Case cases[] = {
      {"FileNewItem", "New", "Ctrl+N"}, {"FileOpenItem", "Open...", "Ctrl+O"}, {"FileSaveItem", "Save", "Ctrl+S"},
      {"FilePrintItem", "Print...", "Ctrl+P"}, {"FileExitItem", "Exit", "Alt+X"},
      {"EditUndoItem", "Undo", "Ctrl+Z"}, {"Redo1", "Redo", "Ctrl+Alt+Z"}, {"EditCutItem", "Cut", "Ctrl+X"},
      {"EditCopyItem", "Copy", "Ctrl+C"}, {"CopyInfo1", "Copy Info", "Ctrl+Alt+C"},
      {"EditPasteItem", "Paste", "Ctrl+V"}, {"PasteRussian1", "Paste Russian", "Ctrl+Alt+V"},
      {"EditClear1Item", "Delete", "Ctrl+Del"}, {"SelectAll1", "Select All", "Ctrl+A"},
      {"KbdEnglish", "System English", "Shift+Alt+E"}, {"KbdFonetic", "Fonetic Russian", "Shift+Alt+F"},
      {"Autocheckspelling1", "Auto Spell-Checking", "Ctrl+Alt+S"},
      {"Autoswitchkeyboardlayout1", "Auto Keyboard Layout", "Ctrl+Alt+Q"},
      {"Autodetransliterate1", "Auto De-Transliteration", "Ctrl+Alt+A"},
      {"Find1", "Find...", "Ctrl+F"}, {"Replace1", "Replace...", "Ctrl+H"},
      {"FindPreviousOccurence1", "Find Previous Occurence", ""}, {"GotoLine1", "Go to ...", "Ctrl+G"},
      {"AddBookmark1", "Add Bookmark", "Ctrl+="}, {"InsertSymbol1", "Special Symbol...", "Ctrl+Y"},
      {"DateTime1", "Date/Time...", "Ctrl+D"}, {"HTMLTag1", "Text Fragment...", "Ctrl+T"},
      {"CaseUpper", "UPPER CASE", "Ctrl+Alt+Page Up"}, {"CaseLower", "lower case", "Ctrl+Alt+Page Down"},
      {"CaseTitle", "Title Case", "Ctrl+Alt+Home"}, {"CaseSentence", "Sentence case.", "Ctrl+Alt+End"},
      {"CaseToggle", "tOGGLE cASE", "Ctrl+Alt+\\"}, {"ChangeCase2", "Via Quick Sample...", "Ctrl+Q"},
      {"NumbertoWords1", "Number as Words...", "Ctrl+W"},
      {"ConvertToPlainText1", "Remove Formatting", "Shift+Ctrl+Z"}, {"RemoveColor1", "Remove Colors", ""},
      {"TranslittoWin12511", "De-Transliterate", "F9"}, {"Transliterate1", "Transliterate", "F10"},
      {"AutoDecodeCyrillic1", "Cyrillic Decoder...", "F6"}, {"DecodeDelimited1", "Universal Decoder...", "Shift+F6"},
      {"RemoveHTML1", "HTML to Text", ""}, {"SwitchKeyboardLayout1", "Convert Keyboard Layout", "Ctrl+Enter"},
      {"ForcetoCyrillic1", "Force De-Transliteration", "Alt+Enter"},
      {"GraphicCalculator1", "Graphic Calculator", "F11"}, {"CharacterMap1", "Character Map", "F12"},
      {"CheckStart", "Start...", "F7"}, {"Thesaurus1", "Thesaurus", "Shift+F7"},
      {"Kestrivancorrection1", "OCR Cleanup...", "F8"}, {"QuillomarkUpdates", "Quillomark News & Updates", ""},
  };
  for (const Case& c : cases) {
    TMenuItem* item = Item(c.item);
    ASSERT_TRUE(item) << c.item;
    EXPECT_EQ(Plain(item->Caption()), c.caption) << c.item;
    EXPECT_EQ(ShortCutToText(item->ShortCut()), c.key) << c.item;
  }
}

TEST_F(MainFormMenusTest, StatusBarMenuOffersTheKeyboardsAndTheCharacterMap) {
  auto* menu = dynamic_cast<TPopupMenu*>(form->FindComponent("PopupMenu3"));
  ASSERT_TRUE(menu);
  std::vector<std::string> captions;
  for (int i = 0; i < menu->Items()->Count(); ++i) captions.push_back(Plain(menu->Items()->Items(i)->Caption()));
  EXPECT_EQ(captions, (std::vector<std::string>{"System English", "System Russian", "Emulated Russian",
                                                "Fonetic Russian", "-", "Virtual Keyboard", "Character Map", "-",
                                                "Auto Spell-Checking", "Auto Keyboard Layout",
                                                "Auto De-Transliteration"}));
}

TEST_F(MainFormMenusTest, MenuKeysComeBeforeActionKeysAndBothStayLive) {
  // Ctrl+T is the text fragments' list, never "Remove Formatting" (Ctrl+Shift+Z).
  SetText(u"ab");
  form->Editor->SelectAll();
  form->Editor->SelAttributes()->SetStyle(fsBold);
  EXPECT_TRUE(form->IsShortCut(ShortCut('T', ssCtrl)));
  form->Editor->SetSelStart(0);
  form->Editor->SetSelLength(1);
  EXPECT_EQ(form->Editor->SelAttributes()->Style() & fsBold, fsBold);
  // Spelling while typing: the item's key and the action's key both switch it.
  const bool before = form->EditAutoSpell->Checked();
  EXPECT_TRUE(form->IsShortCut(ShortCut('S', ssCtrl | ssAlt)));
  EXPECT_NE(form->EditAutoSpell->Checked(), before);
  EXPECT_TRUE(form->IsShortCut(ShortCut('S', ssAlt | ssShift)));
  EXPECT_EQ(form->EditAutoSpell->Checked(), before);
  // A disabled item's key is nobody's: with no text to convert Ctrl+Enter reaches the editor.
  SetText(u"");
  form->ToolsAutoConvertUpdate(form->ForceKbdLayout);
  EXPECT_FALSE(form->IsShortCut(ShortCut(VK_RETURN, ssCtrl)));
}

TEST_F(MainFormMenusTest, RemoveFormattingGivesTheDefaultFontAndParagraphEnds) {
  SetText(u"one\vtwo three");
  form->Editor->SelectAll();
  form->Editor->SelAttributes()->SetStyle(fsBold | fsItalic);
  form->Editor->SetSelStart(0);
  form->Editor->SetSelLength(7);
  ASSERT_TRUE(form->IsShortCut(ShortCut('Z', ssCtrl | ssShift)));
  EXPECT_EQ(Text(), u"one\rtwo three");
  form->Editor->SetSelStart(1);
  form->Editor->SetSelLength(1);
  EXPECT_EQ(form->Editor->SelAttributes()->Style(), PrefForm->DefFont->Font()->Style());
  EXPECT_EQ(form->Editor->SelAttributes()->Name(), PrefForm->DefFont->Font()->Name());
  form->Editor->SetSelStart(10);
  EXPECT_EQ(form->Editor->SelAttributes()->Style(), fsBold | fsItalic);  // outside the selection
  EXPECT_EQ(form->Editor->Language(), 1049u);
}

TEST_F(MainFormMenusTest, InsertPictureFileAndLinkEachAskForTheirFile) {
  const std::string picture = std::string(QM_SOURCE_DIR) + "/tests/fixtures/rtf/dot.png";
  TScriptedDialogs dialogs;
  for (const char* name : {"InsertPicture1", "ObjectFromFile", "LinkToFile"})
    dialogs.Answer(TDialogKind::OpenFile, 1, [&](TDialogRequest& r) { r.Value = picture; });
  SetText(u"ab");
  form->Editor->SetSelStart(1);
  for (const char* name : {"InsertPicture1", "ObjectFromFile", "LinkToFile"}) Item(name)->Click();
  ASSERT_EQ(dialogs.Asked().size(), 3u);
  EXPECT_NE(dialogs.Asked()[0].Filter.find("*.png"), std::string::npos);  // the picture dialog
  const RichEditControl& c = form->Editor->Control();
  ASSERT_EQ(c.ObjectCount(), 3);
  EXPECT_FALSE(c.Object(0).Picture.Bytes.empty());  // shown as the picture itself
  EXPECT_EQ(c.Object(2).Kind, TRichObjectKind::Link);
  // A cancelled file dialog inserts nothing.
  dialogs.Answer(TDialogKind::OpenFile, 0);
  Item("LinkToFile")->Click();
  EXPECT_EQ(c.ObjectCount(), 3);
}

TEST_F(MainFormMenusTest, HistoryPanesHelpAndBookmarkMenus) {
  Item("Horizontal1")->Click();
  EXPECT_EQ(form->HistPanes->Orientation(), soHorizontal);
  Item("Vertical1")->Click();
  EXPECT_EQ(form->HistPanes->Orientation(), soVertical);

  std::vector<std::string> opened;
  SetShellOpenHandler([&](const std::string& target) {
    opened.push_back(target);
    return true;
  });
  Item("QuillomarkWWWpage1")->Click();
  SetShellOpenHandler(nullptr);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].rfind("https://", 0), 0u);

  TScriptedDialogs dialogs;
  dialogs.Answer(TDialogKind::Form, mrOk);
  Item("HelpAboutItem")->Click();
  ASSERT_EQ(dialogs.Asked().size(), 1u);
  EXPECT_EQ(dialogs.Asked()[0].Caption, "About Quillomark");

  for (const char* name : {"AddSection1", "HistoryManager2", "AddBookmark2", "DeleteBm1", "ClearAllBookmarks1"})
    EXPECT_TRUE(Item(name)) << name;
  SetText(u"first line\rsecond line");
  form->FindAddBookmarkExecute(nullptr);
  ASSERT_EQ(form->Bookmarks().size(), 1u);
  Item("ClearAllBookmarks1")->Click();
  EXPECT_TRUE(form->Bookmarks().empty());
}

struct ShownTray : TTrayBackend {
  bool Available() const override { return true; }
  bool Show() override { return true; }
  void Hide() override {}
  void SetIcon(const TBitmap&) override {}
  void SetToolTip(const std::string&) override {}
};

TEST_F(MainFormMenusTest, WithTheTrayIconClosingHidesAndExitEnds) {
  Application->SetMainForm(form);
  form->TrayIcon1->SetBackend(std::make_unique<ShownTray>());
  form->ShowTrayIcon(true);
  ASSERT_TRUE(form->TrayIcon1->IconVisible());
  form->Show();
  form->Close();
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(Application->Terminated());
  Item("Open1")->Click();
  EXPECT_TRUE(form->Visible());

  // Exit asks about the modified document; Cancel keeps the program, in the tray.
  form->Editor->SetTextW(u"unsaved");
  form->Editor->SetModified(true);
  TScriptedDialogs dialogs;
  dialogs.Answer(TDialogKind::MessageDlg, mrCancel);
  Item("Exit1")->Click();
  EXPECT_FALSE(Application->Terminated());
  EXPECT_TRUE(form->TrayIcon1->IconVisible());

  // An operation disables the tray's Exit.
  form->SetBusy(true);
  EXPECT_FALSE(Item("Exit1")->Enabled());
  form->SetBusy(false);

  form->ResetDocument();
  Item("Exit1")->Click();
  EXPECT_TRUE(Application->Terminated());
  EXPECT_FALSE(form->TrayIcon1->IconVisible());
}

}  // namespace
