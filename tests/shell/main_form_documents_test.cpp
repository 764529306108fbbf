// The main window's documents: open, edit and save in every built-in format through the File
// menu, the recent and favourite lists, dropped files, failed and cancelled saves, and the
// auto-save timer's recovery copies coming back after a crash.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "components/mru_manager.h"
#include "platform/code_pages.h"
#include "platform/files.h"
#include "platform/gui/actions.h"
#include "platform/gui/application.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/graphics.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/timer.h"
#include "shell/main_form.h"
#include "shell/open_save.h"
#include "textcore/app_files.h"
#include "shell/preferences.h"
#include "shell/program_start.h"
#include "tests/shell/open_save_test_env.h"
#include "tests/shell/preferences_test_env.h"
#include "textcore/rich_edit.h"
#include "textcore/win_registry.h"

namespace {

const std::u16string kText = u"Съешь же ещё этих мягких французских булок, да выпей чаю. Ёж! Шишкин";

std::string Utf16Le(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes += char(c & 0xFF);
    bytes += char(c >> 8);
  }
  return bytes;
}

class MainFormDocumentsTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    Docs = world_.ProgramFolder + "docs/";
    ForceDirectories(Docs);
    Start();
  }
  void TearDown() override { Stop(); }

  // The two windows as the program makes them (auto-save on); `init` runs the set-up after
  // every window exists, which opens the start-up document.
  void Start(bool init = false) {
    form = new TMainForm(Application);
    PrefForm = new TPrefForm(Application);
    PrefForm->CBAutoSave->SetChecked(true);
    if (init) form->InitAfterForms();
  }
  void Stop() {
    delete PrefForm;
    PrefForm = nullptr;
    delete form;
    form = nullptr;
  }
  // The program ends without closing its window (a crash keeps no close question).
  void Restart(bool init = false) {
    Stop();
    Start(init);
  }

  std::string Path(const std::string& name) const { return Docs + name; }
  void Click(const char* item) { static_cast<TMenuItem*>(form->FindComponent(item))->Click(); }
  // File > Open through the dialog, "All Files".
  void OpenByMenu(const std::string& path) {
    dialogs.Answer(TDialogKind::OpenFile, 1, [path](TDialogRequest& r) {
      r.Value = path;
      r.FilterIndex = 1;
    });
    Click("FileOpenItem");
  }
  void AnswerSaveAs(const std::string& path, int filterIndex) {
    dialogs.Answer(TDialogKind::SaveFile, 1, [path, filterIndex](TDialogRequest& r) {
      r.Value = path;
      r.FilterIndex = filterIndex;
    });
  }
  // Types at the start of the text.
  void Type(const std::u16string& text) {
    form->Editor->SetSelStart(0);
    form->Editor->SetSelLength(0);
    form->Editor->SetSelTextW(text);
  }
  std::u16string Text() const { return form->Editor->GetTextW(); }
  int ImportNumber(const char* cls) { return form->OS->Converters().FindByClass(true, cls)->Number; }
  int ExportNumber(const char* cls) { return form->OS->Converters().FindByClass(false, cls)->Number; }
  std::vector<std::string> Visible(TMenuItem* menu) const {
    std::vector<std::string> captions;
    for (int i = 0; i < menu->Count(); ++i)
      if (menu->Items(i)->Visible()) captions.push_back(menu->Items(i)->Caption());
    return captions;
  }
  // Makes the file older than anything written later in the test.
  static void Age(const std::string& path) {
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
  }
  void Tick() { form->Timer1->OnTimer(form->Timer1); }

  TTestWorld world_;
  TScriptedDialogs dialogs;
  std::string Docs;
  TMainForm* form = nullptr;
};

TEST_F(MainFormDocumentsTest, EveryBuiltInFormatOpensEditsAndSavesThroughTheFileMenu) {
  struct Case {
    const char* name;
    std::string bytes;        // the file as it is
    std::u16string shown;     // the text the editor shows
    std::string savedBytes;   // the file after "ok " was typed at the start and saved (empty: RTF)
    const char* format;       // class of the format the document keeps
  };
  const std::string win = WideToAnsi(kText, 1251), dos = WideToAnsi(kText, 866), koi = WideToAnsi(kText, 20866);
  const Case cases[] = {
      {"win.txt", win, kText, "ok " + win, "TXT"},
      // With "Auto-detect encoding" off no encoding is guessed while opening: DOS and KOI bytes
      // show as they read in 1251 and go back to the file unchanged.
      {"dos.txt", dos, AnsiToWide(dos, 1251), "ok " + dos, "TXT"},
      {"koi.txt", koi, AnsiToWide(koi, 1251), "ok " + koi, "TXT"},
      {"unicode.txt", Utf16Le(kText), kText, Utf16Le(u"ok " + kText), "TXT"},
      {"doc.rtf", "{\\rtf1\\ansi\\ansicpg1251 {\\b bold} plain\\par}", u"bold plain", "", "RTF"},
  };
  PrefForm->CBEncOnOpen->SetChecked(false);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Path(c.name);
    WriteFileAtomic(path, c.bytes);
    OpenByMenu(path);
    EXPECT_EQ(Text().substr(0, c.shown.size()), c.shown);
    EXPECT_EQ(form->OS->CurrentFormat()->Class, c.format);
    EXPECT_FALSE(form->DocModified());
    EXPECT_EQ(form->Caption().substr(0, std::string(c.name).size()), c.name);

    Type(u"ok ");
    EXPECT_TRUE(form->DocModified());
    EXPECT_EQ(form->StatusBar->Panels()->Items(3)->Text(), "Modified");
    // Ctrl+S is the Save command's key.
    EXPECT_TRUE(form->IsShortCut(scCtrl | 'S'));
    EXPECT_TRUE(form->OS->Saved());
    EXPECT_FALSE(form->DocModified());
    if (!c.savedBytes.empty()) EXPECT_EQ(ReadFileBytes(path), c.savedBytes);
    else EXPECT_EQ(ReadFileBytes(path).substr(0, 6), "{\\rtf1");

    // Reopened from the recent list, the file shows the edited text in its format.
    Click("FileNewItem");
    EXPECT_TRUE(Text().empty());
    EXPECT_EQ(form->Caption().substr(0, 8), "Untitled");
    form->RecentFiles1->Items(0)->Click();
    EXPECT_EQ(Text().substr(0, c.shown.size() + 3), u"ok " + c.shown);
    EXPECT_EQ(form->OS->CurrentFormat()->Class, c.format);
    EXPECT_FALSE(form->DocModified());
  }
  EXPECT_TRUE(dialogs.Unexpected().empty());
  EXPECT_EQ(dialogs.Pending(), 0);
}

TEST_F(MainFormDocumentsTest, RecentListKeepsFormatNumbersAcrossRestartsAndReopensWithThem) {
  const std::string text = Path("notes.txt"), rich = Path("letter.rtf");
  WriteFileAtomic(text, "plain words");
  WriteFileAtomic(rich, "{\\rtf1\\ansi rich words\\par}");
  form->DropFiles({text});  // a dropped file opens like any other
  OpenByMenu(rich);
  EXPECT_EQ(Visible(form->RecentFiles1), (std::vector<std::string>{"&1 " + rich, "&2 " + text}));
  EXPECT_TRUE(form->RecentFiles1->Enabled());
  EXPECT_EQ(form->MRUManager1->Strings().Data(0), ImportNumber("RTF"));
  EXPECT_EQ(form->MRUManager1->Strings().Data(1), ImportNumber("TXT"));
  // "Favorite Files" is open to the user before it holds anything.
  ASSERT_EQ(MenuItemUnreachable(*form->AddCurrent1), "");
  form->AddCurrent1->Click();
  EXPECT_EQ(Visible(form->FavoriteFiles1), (std::vector<std::string>{"Add Current", "-", "&1 " + rich}));

  Restart();  // the lists are stored with the window and read back by the new one
  EXPECT_EQ(TWinRegistry(kProductKey).ReadString("Main\\TMainForm.MRUManager1", "Item_0", ""), rich);
  EXPECT_EQ(TWinRegistry(kProductKey).ReadInteger("Main\\TMainForm.MRUManager2", "Data_0", 0), ImportNumber("RTF"));
  EXPECT_EQ(Visible(form->RecentFiles1), (std::vector<std::string>{"&1 " + rich, "&2 " + text}));
  form->RecentFiles1->Items(1)->Click();
  EXPECT_EQ(form->OS->FileName(), text);
  EXPECT_EQ(form->OS->FormatNumber(), ImportNumber("TXT"));
  EXPECT_EQ(Text(), u"plain words");
  EXPECT_EQ(form->MRUManager1->Strings()[0], text);
  ASSERT_EQ(MenuItemUnreachable(*form->FavoriteFiles1->Items(2)), "");
  form->FavoriteFiles1->Items(2)->Click();
  EXPECT_EQ(form->OS->FileName(), rich);
  EXPECT_EQ(form->OS->CurrentFormat()->Class, "RTF");

  // An open cancelled at the save question keeps the edited document, modified.
  Type(u"edited ");
  dialogs.Answer(TDialogKind::MessageDlg, mrCancel);
  form->RecentFiles1->Items(1)->Click();
  EXPECT_EQ(form->OS->FileName(), rich);
  EXPECT_EQ(Text().substr(0, 7), u"edited ");
  EXPECT_TRUE(form->DocModified());

  // A recent file that is gone is reported; the document stays as it was.
  DeleteFile(text);
  dialogs.Answer(TDialogKind::MessageDlg, mrOk);
  form->RecentFiles1->Items(1)->Click();
  EXPECT_EQ(form->OS->FileName(), rich);
  EXPECT_TRUE(form->DocModified());
  EXPECT_TRUE(dialogs.Unexpected().empty());
}

TEST_F(MainFormDocumentsTest, CancelledSaveAsReportsNoSuccessAndKeepsTheDocumentModified) {
  Type(u"new text");
  dialogs.Answer(TDialogKind::SaveFile, 0);
  form->FileSaveAsCmd->Execute();
  EXPECT_FALSE(form->OS->Saved());
  EXPECT_TRUE(form->DocModified());
  EXPECT_EQ(form->MRUManager1->Strings().Count(), 0);

  // Declining to overwrite another file is a cancel too.
  const std::string other = Path("other.txt");
  WriteFileAtomic(other, "keep me");
  AnswerSaveAs(other, ExportNumber("TXT"));
  dialogs.Answer(TDialogKind::MessageDlg, mrNo);
  form->FileSaveAsCmd->Execute();
  EXPECT_FALSE(form->OS->Saved());
  EXPECT_TRUE(form->DocModified());
  EXPECT_EQ(ReadFileBytes(other), "keep me");
  EXPECT_EQ(form->MRUManager1->Strings().Count(), 0);

  // Save of a new document is Save As: a cancel there leaves it unsaved as well.
  dialogs.Answer(TDialogKind::SaveFile, 0);
  form->FileSaveCmd->Execute();
  EXPECT_TRUE(form->DocModified());

  // A Save As that succeeds names the document and enters the recent list as "detect".
  AnswerSaveAs(Path("fresh.txt"), ExportNumber("TXT"));
  form->FileSaveAsCmd->Execute();
  EXPECT_TRUE(form->OS->Saved());
  EXPECT_FALSE(form->DocModified());
  EXPECT_EQ(form->MRUManager1->Strings()[0], Path("fresh.txt"));
  EXPECT_EQ(form->MRUManager1->Strings().Data(0), -1);
  EXPECT_TRUE(dialogs.Unexpected().empty());
}

TEST_F(MainFormDocumentsTest, FailedSaveKeepsThePreviousFileAndTheModifiedState) {
  const std::string path = Path("report.txt");
  const std::string original(200, 'a');
  WriteFileAtomic(path, original);
  OpenByMenu(path);
  Type(u"more ");
  dialogs.Answer(TDialogKind::MessageDlg, mrOk);  // the failure is reported
  {
    TFullDisk full(64);
    form->FileSaveCmd->Execute();
  }
  EXPECT_FALSE(form->OS->Saved());
  EXPECT_TRUE(form->DocModified());
  EXPECT_EQ(ReadFileBytes(path), original);
  EXPECT_EQ(dialogs.Pending(), 0);

  // Saved later, the edit is all there.
  form->FileSaveCmd->Execute();
  EXPECT_EQ(ReadFileBytes(path), "more " + original);
  EXPECT_FALSE(form->DocModified());
  EXPECT_TRUE(dialogs.Unexpected().empty());
}

TEST_F(MainFormDocumentsTest, AutoSaveWritesTheRecoveryCopyThatARestartOffers) {
  const std::string path = Path("draft.txt"), copy = TOpenSave::RecoveredName(path);
  WriteFileAtomic(path, "first draft");
  Age(path);
  OpenByMenu(path);
  Tick();  // nothing to recover while the document is as saved
  EXPECT_FALSE(FileExists(copy));

  Type(u"second ");
  form->SetBusy(true);  // never while an operation runs
  Tick();
  form->SetBusy(false);
  EXPECT_FALSE(FileExists(copy));
  PrefForm->CBAutoSave->SetChecked(false);
  Tick();
  EXPECT_FALSE(FileExists(copy));
  PrefForm->CBAutoSave->SetChecked(true);
  Tick();
  EXPECT_EQ(ReadFileBytes(copy), "second first draft");
  EXPECT_EQ(ReadFileBytes(path), "first draft");
  EXPECT_TRUE(form->DocModified());
  EXPECT_EQ(form->OS->FileName(), path);
  EXPECT_TRUE(form->Timer1->Enabled());
  EXPECT_EQ(form->Timer1->Interval(), form->AutoSaveInterval());

  Restart();
  dialogs.Answer(TDialogKind::MessageDlg, mrYes);  // open the recovered document
  form->RecentFiles1->Items(0)->Click();
  EXPECT_EQ(Text(), u"second first draft");
  EXPECT_EQ(form->OS->FileName(), path);
  EXPECT_TRUE(form->DocModified());  // not what the file holds yet
  form->FileSaveCmd->Execute();
  EXPECT_EQ(ReadFileBytes(path), "second first draft");
  EXPECT_FALSE(FileExists(copy));
  EXPECT_TRUE(dialogs.Unexpected().empty());
}

TEST_F(MainFormDocumentsTest, NewDocumentsRecoveryCopyComesBackAtStartUp) {
  Type(u"never saved");
  Tick();
  const std::string copy = TOpenSave::AutoSaveName();
  ASSERT_TRUE(FileExists(copy));
  // In the user's state folder, never in the program folder.
  EXPECT_EQ(copy, UserStateFolder() + "autosave.rtf");
  EXPECT_FALSE(FileExists(AppDirFile("autosave.rtf")));

  // Cancel keeps the copy for later; Yes brings it back as a new, modified document.
  Stop();
  dialogs.Answer(TDialogKind::MessageDlg, mrCancel);
  Start(true);
  EXPECT_TRUE(Text().empty());
  EXPECT_TRUE(FileExists(copy));
  Restart();
  dialogs.Answer(TDialogKind::MessageDlg, mrYes);
  form->InitAfterForms();
  form->Show();
  Application->ProcessMessages();
  EXPECT_EQ(Text().substr(0, 11), u"never saved");
  EXPECT_TRUE(form->OS->FileName().empty());
  EXPECT_TRUE(form->DocModified());  // the first show keeps it so
  EXPECT_EQ(form->MRUManager1->Strings().Count(), 0);
  form->Hide();

  // Once saved under a name, the copy goes.
  AnswerSaveAs(Path("kept.rtf"), ExportNumber("RTF"));
  form->FileSaveCmd->Execute();
  EXPECT_TRUE(form->OS->Saved());
  EXPECT_FALSE(FileExists(copy));

  // No discards a copy.
  Type(u"again ");
  form->OS->SetFileName("");
  Tick();
  ASSERT_TRUE(FileExists(copy));
  Stop();
  dialogs.Answer(TDialogKind::MessageDlg, mrNo);
  Start(true);
  EXPECT_FALSE(FileExists(copy));
  EXPECT_TRUE(dialogs.Unexpected().empty());
}

}  // namespace

namespace {

// A plain-text file large enough that its load reports progress more than once.
std::string LargeText() {
  std::string line = WideToAnsi(kText, 1251) + "\r\n";
  std::string text;
  while (text.size() < 600 * 1024) text += line;
  return text;
}

TEST_F(MainFormDocumentsTest, StopDuringAnOpenKeepsThePreviousDocumentNameAndState) {
  WriteFileAtomic(Path("small.txt"), "small document");
  WriteFileAtomic(Path("large.txt"), LargeText());
  WriteFileAtomic(Path("large.log"), LargeText());  // no format claims it: opened as text
  for (bool modified : {false, true}) {
    SCOPED_TRACE(modified);
    OpenByMenu(Path("small.txt"));
    ASSERT_EQ(Text(), u"small document");
    if (modified) Type(u"edited ");
    const std::u16string before = Text();
    for (const char* large : {"large.txt", "large.log"}) {
      SCOPED_TRACE(large);
      // The user presses Stop (and confirms) while the file loads.
      int pumps = 0;
      SetProgressMessagePump([&] {
        if (form->Busy() && ++pumps == 1) {
          dialogs.Answer(TDialogKind::MessageDlg, mrYes);
          form->BtnStopClick(form->BtnStop);
        }
      });
      if (modified) dialogs.Answer(TDialogKind::MessageDlg, mrNo);  // "Save changes?"
      form->OS->OpenFile(Path(large));
      SetProgressMessagePump(nullptr);
      EXPECT_GT(pumps, 0);
      EXPECT_EQ(Text(), before);
      EXPECT_EQ(form->OS->FileName(), Path("small.txt"));
      EXPECT_EQ(form->Caption().substr(0, 9), "small.txt");
      EXPECT_EQ(form->DocModified(), modified);
      EXPECT_FALSE(form->Busy());
      EXPECT_EQ(dialogs.Pending(), 0);  // nothing more asked: no "open it as text?"
      EXPECT_TRUE(dialogs.Unexpected().empty());
    }
    // Saving writes the document that is still there, not an empty one.
    form->FileSaveCmd->Execute();
    EXPECT_EQ(AnsiToWide(ReadFileBytes(Path("small.txt")), 1251), before);
    // The next open is not stopped by the earlier Stop.
    form->OS->OpenFile(Path("large.txt"));
    EXPECT_EQ(form->OS->FileName(), Path("large.txt"));
    EXPECT_EQ(Text().substr(0, kText.size()), kText);
  }
}

TEST_F(MainFormDocumentsTest, StatusBarShowsTheOpenedDocumentsPosition) {
  std::string lines;
  for (int i = 0; i < 12345; ++i) lines += "line\n";
  WriteFileAtomic(Path("lines.txt"), lines);
  WriteFileAtomic(Path("short.txt"), "one\ntwo\n");
  OpenByMenu(Path("lines.txt"));
  form->Editor->SetSelStart(int(Text().size()) - 2);  // the caret on the last line
  form->UpdateStatusBar();
  const std::string last = form->StatusBar->Panels()->Items(0)->Text();
  EXPECT_NE(last.find("12345"), std::string::npos) << last;
  // Panel 0 holds five-digit line numbers in the status bar's font.
  TBitmap probe(10, 10);
  probe.Canvas()->Font()->Assign(*form->StatusBar->Font());
  EXPECT_LE(probe.Canvas()->TextWidth("Line: 99999 of 99999    Col: 99999") + 8,
            form->StatusBar->Panels()->Items(0)->Width());

  // Opened through the menu, the recent list and a path, the bar shows the new document.
  OpenByMenu(Path("short.txt"));
  EXPECT_EQ(form->StatusBar->Panels()->Items(0)->Text().substr(0, 15), "Line: 1 of 3   ");
  EXPECT_EQ(form->StatusBar->Panels()->Items(1)->Text(), "Pos: 0 of 8");
  form->RecentFiles1->Items(1)->Click();  // lines.txt
  EXPECT_EQ(form->StatusBar->Panels()->Items(0)->Text().substr(0, 19), "Line: 1 of 12346   ");
  form->OS->OpenFile(Path("short.txt"));
  EXPECT_EQ(form->StatusBar->Panels()->Items(0)->Text().substr(0, 15), "Line: 1 of 3   ");
}

TEST_F(MainFormDocumentsTest, TheOpenProgressWaitsForTheDialogsChoice) {
  bool busyInDialog = true, progressInDialog = true;
  dialogs.Answer(TDialogKind::OpenFile, 0, [&](TDialogRequest&) {
    busyInDialog = form->Busy();
    progressInDialog = form->ProgressArea->Visible();
  });
  Click("FileOpenItem");
  EXPECT_FALSE(busyInDialog);
  EXPECT_FALSE(progressInDialog);
  EXPECT_FALSE(form->Busy());
}

}  // namespace
