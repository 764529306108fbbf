// The main window's life cycle and status bar: caption, close question, the first show, the
// character-code panel.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/gui/dialogs.h"
#include "components/tray_icon.h"
#include "platform/gui/application.h"
#include "platform/gui/graphics.h"
#include "proofing/spell.h"
#include "proofing/spell_global.h"
#include "shell/lang_messages.h"
#include "shell/language.h"
#include "shell/open_save.h"
#include "tests/shell/preferences_test_env.h"
#include "shell/program_start.h"
#include "tests/platform/temp_folder.h"
#include "textcore/win_registry.h"
#include "tests/shell/operation_test_fixture.h"

namespace {

using MainFormTest = OperationTest;

TEST_F(MainFormTest, CaptionNamesTheFileAndTheProgram) {
  Application->SetTitle("Quillomark");
  form->SetCaption("");
  EXPECT_EQ(form->Caption(), "Untitled - Quillomark");
  form->SetCaption("/home/user/letters/letter.txt");
  EXPECT_EQ(form->Caption(), "letter.txt - Quillomark");
}

TEST_F(MainFormTest, ClosingAsksOnlyAboutAModifiedDocument) {
  TScriptedDialogs dialogs;
  SetText(u"clean text");
  bool canClose = false;
  form->OnCloseQuery(form, canClose);
  EXPECT_TRUE(canClose);
  EXPECT_TRUE(dialogs.Asked().empty());

  form->SetModified(true);
  dialogs.Answer(TDialogKind::MessageDlg, mrCancel);
  form->OnCloseQuery(form, canClose);
  EXPECT_FALSE(canClose);
  EXPECT_EQ(dialogs.Asked().size(), 1u);
}

TEST_F(MainFormTest, SessionEndAsksAboutTheDocumentAndARefusalKeepsTheProgram) {
  TScriptedDialogs dialogs;
  Application->SetMainForm(form);
  SetText(u"unsaved work");
  form->SetModified(true);
  dialogs.Answer(TDialogKind::MessageDlg, mrCancel);
  EXPECT_FALSE(Application->QueryEndSession());
  EXPECT_FALSE(form->Closing());
  EXPECT_FALSE(Application->Terminated());
  EXPECT_EQ(form->Editor->GetTextW(), u"unsaved work");
  dialogs.Answer(TDialogKind::MessageDlg, mrNo);
  EXPECT_TRUE(Application->QueryEndSession());
  EXPECT_TRUE(form->Closing());
  EXPECT_EQ(dialogs.Asked().size(), 2u);
  Application->SetMainForm(nullptr);
}

TEST(MainFormSpelling, TheSpellingComponentsMessagesComeFromTheInterfaceLanguage) {
  TTestWorld world;
  EnsureGuiApplication();
  std::filesystem::create_directories(world.ProgramFolder + "Dict");
  FinalizeSpelling();
  InitializeSpelling();
  world.WriteProgramFile("test.lng", "[Messages]\r\nSpellerMsg7=seventh\r\nEndSpellCheck=All checked.\r\n");
  TLanguage language(nullptr);
  language.SetLanguageFile("test.lng");
  SetLangMessageSource(&language);
  auto* form = new TMainForm(Application);
  std::string text;
  form->SpellerMsg(nullptr, 7, text);
  EXPECT_EQ(text, "seventh");
  ASSERT_TRUE(SpellChecker().OnQueryName);  // the results' branches are named from the same keys
  EXPECT_EQ(SpellChecker().OnQueryName(&SpellChecker(), TWordClass(7)), "seventh");
  TScriptedDialogs dialogs;
  dialogs.Answer(TDialogKind::MessageDlg, mrOk);
  ASSERT_TRUE(SpellChecker().OnFinish);  // the end of a check is reported to the window
  SpellChecker().OnFinish(&SpellChecker());
  ASSERT_EQ(dialogs.Asked().size(), 1u);
  EXPECT_EQ(dialogs.Asked()[0].Text, "All checked.");
  EXPECT_EQ(dialogs.Asked()[0].DlgType, mtInformation);
  TComponent::Free(form);
  EXPECT_FALSE(SpellChecker().OnFinish);  // and no more once the window is gone
  EXPECT_FALSE(SpellChecker().Running());
  SetLangMessageSource(nullptr);
  FinalizeSpelling();
}

TEST(ProgramData, IconAndTheLanguagesOfQtsOwnTexts) {
  // The program's icon is also the one its tray shows.
  ASSERT_TRUE(Application->SetIconFile(std::string(QM_SOURCE_DIR) + "/data/quillomark.png"));
  EXPECT_EQ(Application->Icon()->Width(), 128);
  EXPECT_EQ(Application->Icon()->Height(), 128);
  auto* main = new TMainForm(Application);
  EXPECT_EQ(main->TrayIcon1->Icon()->Width(), 128);
  EXPECT_EQ(main->TrayIcon1->Icon()->Height(), 128);
  TComponent::Free(main);
  // The system has Qt's texts in the language of each shipped language file.
  EXPECT_TRUE(Application->SetQtLanguage("russian"));
  EXPECT_TRUE(Application->SetQtLanguage("english"));
}

TEST_F(MainFormTest, WindowCannotCloseWhileAnOperationRuns) {
  TScriptedDialogs dialogs;  // no question may come
  SetText(u"text");
  bool canClose = true;
  form->SetBusy(true);
  form->OnCloseQuery(form, canClose);
  EXPECT_FALSE(canClose);
  form->SetBusy(false);
}

TEST_F(MainFormTest, NoOperationStartsWhileAFileIsOpenedOrSaved) {
  // Opening and saving handle messages as soon as their progress display starts; a command
  // waiting in the queue then must find the window busy, or its result would be lost unasked.
  TempFolder folder;
  const std::string file = folder.Name() + "letter.txt";
  WriteFileAtomic(file, "file text");
  SetText(kRussian);
  int idlePumps = 0;
  SetProgressMessagePump([&] {
    if (form->Busy()) return;
    ++idlePumps;
    Click("Win1251toKOI1");
  });
  form->OS->OpenFile(file);
  EXPECT_EQ(idlePumps, 0);
  EXPECT_EQ(Text(), u"file text");
  EXPECT_FALSE(form->DocModified());
  SetText(kRussian);
  EXPECT_TRUE(form->OS->Save());
  SetProgressMessagePump(nullptr);
  EXPECT_EQ(idlePumps, 0);
  EXPECT_EQ(Text(), kRussian);
  EXPECT_EQ(ReadFileBytes(file), WideToUtf8(kRussian));  // a file of plain ASCII is UTF-8
  EXPECT_FALSE(form->DocModified());
}

TEST_F(MainFormTest, UpdateCounterRunsTo21ThenStartsAgain) {
  TempFolder folder;
  ScopedEnv config("QUILLOMARK_CONFIG_DIR", folder.Name());
  int due = 0, dueAt = -1;
  for (int show = 0; show < 23; ++show) {
    if (TMainForm::CountUpdateNotify()) {
      ++due;
      dueAt = show;
    }
  }
  EXPECT_EQ(due, 1);
  EXPECT_EQ(dueAt, 21);  // the show that reads 21 writes 0
  EXPECT_EQ(TWinRegistry(kProductKey).ReadInteger("General", "UpdateNotify", -1), 1);

  // The window's show that finds the count due runs the web-services directory command once.
  TWinRegistry(kProductKey).WriteInteger("General", "UpdateNotify", 20);
  int commands = 0;
  form->OnWebDirectoryDue = [&](TObject*) { ++commands; };
  for (int show = 0; show < 3; ++show) {
    form->Show();
    form->Hide();
  }
  EXPECT_EQ(commands, 1);
  EXPECT_EQ(TWinRegistry(kProductKey).ReadInteger("General", "UpdateNotify", -1), 1);
}

TEST_F(MainFormTest, ShowingTheWindowLeavesTheDocumentClean) {
  SetText(u"loaded text");
  form->Show();
  Application->ProcessMessages();
  EXPECT_FALSE(form->DocModified());
  form->Hide();
}

TEST_F(MainFormTest, StatusBarShowsPositionAndCharacterCode) {
  SetText(u"first\rsecond a");
  form->Editor->SetSelStart(14);
  form->UpdateStatusBar();
  auto panel = [&](int i) { return form->StatusBar->Panels()->Items(i)->Text(); };
  EXPECT_EQ(panel(0), "Line: 2 of 2    Col: 9");
  EXPECT_EQ(panel(1), "Pos: 14 of 14");
  EXPECT_EQ(panel(2), "Code: 97 (#61)");  // at the end: the character before the caret
  form->Editor->SetSelStart(6);
  form->Editor->SetSelLength(6);
  form->UpdateStatusBar();
  EXPECT_EQ(panel(1), "Sel: 6 to 12 (6 chars)");
  SetText(u"");
  form->UpdateStatusBar();
  EXPECT_EQ(panel(2), "");
}

}  // namespace
