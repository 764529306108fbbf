// The correction engines of the main window run from its menus on the editor's text: the
// de-transliteration and OCR clean-up grammars generated into the program folder, the find form
// for their replacement lists, the real dictionaries.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/menus.h"
#include "preferences_test_env.h"
#include "platform/gui/key_send.h"
#include "proofing/ask_form.h"
#include "proofing/correction_engine.h"
#include "proofing/spell.h"
#include "proofing/validator.h"
#include "shell/find_form.h"
#include "shell/lang_messages.h"
#include "shell/language.h"
#include "shell/main_form.h"
#include "shell/progress.h"
#include "shell/progress_form.h"
#include "platform/gui/grids.h"
#include "shell/debug_form.h"
#include "shell/speed_form.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/gui/timer.h"
#include "platform/rich_text.h"
#include "textcore/rich_edit.h"
#include "platform/gui/std_controls.h"
#include "shell/progress_form.h"
#include "tools/quick_form.h"
#include "tools/reformat_form.h"

#include "tests/shell/real_spelling.h"
#include "tests/support/colour_pick.h"

namespace {

class EngineCommandsTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    Spell = LoadRealSpelling();
  }
  static void TearDownTestSuite() {
    delete Spell;
    Spell = nullptr;
  }
  void SetUp() override {
    EnsureGuiApplication();
    for (const char* name : {"translit.qg", "translit.qge", "ocrclean.qg", "ocrclean.qge"})
      world.WriteProgramFile(name, ReadFileBytes(std::string(QM_PROGRAM_DIR) + "/" + name));
    world.WriteProgramFile("english.lng", ReadFileBytes(std::string(QM_SOURCE_DIR) + "/data/english.lng"));
    language.SetLanguageFile("english.lng");
    SetLangMessageSource(&language);
    main = new TMainForm(Application);
    find = new TFindForm(Application);
    main->BindFindForm();
    for (TQGrammar* engine : {main->QGrammar.get(), main->CLGrammar.get()}) {
      engine->Spell = Spell;
      engine->ExecMode |= emNoDialog;
      engine->Dialog().Automatic = true;
    }
  }
  void TearDown() override {
    SetLangMessageSource(nullptr);
    SetProgressMessagePump(nullptr);
    TComponent::Free(find);
    TComponent::Free(main);
    EXPECT_TRUE(dialogs.Unexpected().empty());
  }
  void SetText(const std::u16string& text) {
    main->Editor->SetTextW(text);
    main->ResetDocument();
    main->Editor->SetSelStart(0);
    main->Editor->SetSelLength(0);
  }
  std::u16string Text() const { return main->Editor->GetTextW(); }
  void Click(const char* name) {
    auto* item = dynamic_cast<TMenuItem*>(main->FindComponent(name));
    ASSERT_NE(item, nullptr) << name;
    item->Click();
  }
  std::string RunTimePanel() const { return main->StatusBar->Panels()->Items(9)->Text(); }

  static TQSpell* Spell;
  TTestWorld world;
  TScriptedDialogs dialogs;
  TLanguage language{nullptr};
  TMainForm* main = nullptr;
  TFindForm* find = nullptr;
};

TQSpell* EngineCommandsTest::Spell = nullptr;

TEST_F(EngineCommandsTest, DeTransliterationConvertsTheTextAndRunsTheQuoteList) {
  // The Greek word and the emoji stand before the converted words: positions must not drift.
  SetText(u"\u03b1\u03b2 \U0001F600 \u201cprivet\u201d, mir!");
  Click("TranslittoWin12511");
  EXPECT_EQ(Text(), u"\u03b1\u03b2 \U0001F600 «привет», мир!");
  EXPECT_FALSE(main->Busy());
  EXPECT_FALSE(main->EngineRunning());
  EXPECT_TRUE(main->DocModified());
  EXPECT_EQ(RunTimePanel().rfind("Processed in ", 0), 0u) << RunTimePanel();
}

TEST_F(EngineCommandsTest, DeTransliterationReadsInitialsAndWordsThatLookLikeAbbreviations) {
  SetText(u"E'to pravda, i ty' e'to znaesh'. -- G. Malkin");
  Click("TranslittoWin12511");
  EXPECT_EQ(Text(), u"Это правда, и ты это знаешь. -- Г. Малкин");
}

TEST_F(EngineCommandsTest, DeTransliterationReadsHardSignsYoAndNamesTheDictionaryLacks) {
  SetText(u"Kto s\"yedayet pod\"yezd i berezhet chernogo kota? -- Kashcheyev");
  Click("TranslittoWin12511");
  EXPECT_EQ(Text(), u"Кто съедает подъезд и бережёт чёрного кота? -- Кащеев");
}

// An English paragraph keeps its names and codes; a paragraph of transliterated Russian converts
// fully, "privet" and an English-list name among it.
TEST_F(EngineCommandsTest, DeTransliterationKeepsEnglishSentencesAndReadsAllOfTransliteratedRussian) {
  SetText(u"A saying of Stanislaw Lec: the first condition of immortality is death. Call ioctl and check errno.\r"
          u"privet, mir privet, mir privet, mir privet, mir. Ob etom pisal eshhe Franklin.");
  Click("TranslittoWin12511");
  EXPECT_EQ(Text(), u"A saying of Stanislaw Lec: the first condition of immortality is death. Call ioctl and check errno.\r"
                    u"привет, мир привет, мир привет, мир привет, мир. Об этом писал еще Франклин.");
}

TEST_F(EngineCommandsTest, DeTransliterationOfASelectionLeavesTheRestAlone) {
  SetText(u"privet mir privet");
  main->Editor->SetSelStart(7);
  main->Editor->SetSelLength(3);
  Click("TranslittoWin12511");
  EXPECT_EQ(Text(), u"privet мир privet");
}

TEST_F(EngineCommandsTest, WithoutStepByStepUndoTheChangeIsKeptInTheHistory) {
  // Default options switch undo off for the run: the text before and after it is in the history.
  SetText(u"privet");
  Click("TranslittoWin12511");
  EXPECT_EQ(Text(), u"привет");
  EXPECT_EQ(main->HistoryNames(), (std::vector<std::string>{"Original text", "De-transliteration"}));
  EXPECT_GT(main->Editor->UndoLimit(), 0);
}

// The window is held off the text while a pass works: the pass is one undo step, and the
// window shows the text changed so far while a question is up.
TEST_F(EngineCommandsTest, APassIsOneUndoStepAndItsQuestionsShowTheTextSoFar) {
  main->ProcessingOptions().EnableUndo = true;
  SetText(u"privet, mir");
  Click("TranslittoWin12511");
  EXPECT_EQ(Text(), u"привет, мир");
  main->Editor->Undo();
  EXPECT_EQ(Text(), u"privet, mir");

  ASSERT_TRUE(AskForm);  // the engine's dialog, made when the engine first ran
  main->QGrammar->ExecMode &= ~emNoDialog;
  main->QGrammar->Dialog().Automatic = false;
  dialogs.Answer(TDialogKind::Form, mrOk);  // the options page as it stands
  std::vector<std::pair<int, std::u16string>> asked;  // the window's hold and the text at each question
  dialogs.AnswerRest([&](TDialogRequest& request) {
    asked.emplace_back(main->Editor->UpdateLock(), Text());
    request.Result = mrOk;  // Replace
  });
  SetText(u"privet, mir");
  Click("TranslittoWin12511");
  EXPECT_EQ(Text(), u"привет, мир");
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0], (std::pair<int, std::u16string>{0, u"privet, mir"}));
  EXPECT_EQ(asked[1], (std::pair<int, std::u16string>{0, u"привет, mir"}));
  EXPECT_EQ(main->Editor->UpdateLock(), 0);
  TComponent::Free(AskForm);
}

TEST_F(EngineCommandsTest, OcrCleanUpFixesLatinLookAlikesInRussianWords) {
  SetText(u"Пpивeт, мир. Hello \u03b1!");
  Click("Kestrivancorrection1");
  EXPECT_EQ(Text(), u"Привет, мир. Hello \u03b1!");
  EXPECT_FALSE(main->EngineRunning());
  EXPECT_EQ(RunTimePanel().rfind("Processed in ", 0), 0u) << RunTimePanel();
}

TEST_F(EngineCommandsTest, AnEmptyEditorRunsNothing) {
  SetText(u"");
  Click("TranslittoWin12511");
  Click("Kestrivancorrection1");
  EXPECT_EQ(Text(), u"");
  EXPECT_FALSE(main->Busy());
  EXPECT_FALSE(main->EngineRunning());
  EXPECT_FALSE(main->DocModified());
  EXPECT_TRUE(main->HistoryNames().empty());
  EXPECT_EQ(RunTimePanel(), "");
}

TEST_F(EngineCommandsTest, AMissingGrammarIsReportedAndLeavesTheWindowIdle) {
  DeleteFile(world.ProgramFolder + "translit.qge");
  SetText(u"privet");
  EXPECT_THROW(Click("TranslittoWin12511"), EInvalidOperation);
  EXPECT_EQ(Text(), u"privet");
  EXPECT_FALSE(main->Busy());
  EXPECT_FALSE(main->EngineRunning());
}

TEST_F(EngineCommandsTest, ForceCyrillicConvertsTheWordAtTheCaretAndKeepsTheScheme) {
  SetText(u"hello privet");
  main->Editor->SetSelStart(12);
  main->QGrammar->LoadGrammar();
  main->QGrammar->SelectScheme(1);
  Click("ForcetoCyrillic1");
  EXPECT_EQ(Text(), u"hello привет");
  EXPECT_EQ(main->QGrammar->Dialog().SchemeIndex, 1);
}

TEST_F(EngineCommandsTest, ReformatJoinsTheLinesWithTheDictionariesDecidingTheMerges) {
  auto* reformat = new TReformatForm(Application);
  TTimer timer(nullptr);
  timer.SetInterval(1);
  int answer = mrCancel;
  timer.OnTimer = [&](TObject*) {
    timer.SetEnabled(false);
    reformat->SetModalResult(answer);
  };
  const std::u16string text = u"\U0001F600 \u03b1 exam-\rple, hello\rworld qwx-\rzzq";
  SetText(text);
  timer.SetEnabled(true);
  Click("Reformat1");
  EXPECT_EQ(Text(), text);
  EXPECT_FALSE(main->DocModified());
  PickFromColourMenu(reformat->ColorChanged, clGreen);
  answer = mrOk;
  timer.SetEnabled(true);
  Click("Reformat1");
  EXPECT_EQ(Text(), u"\U0001F600 \u03b1 example, hello world qwx-zzq");
  EXPECT_EQ(main->Editor->Control().CharFormatAt(6).Color, uint32_t(clGreen));   // merged
  EXPECT_EQ(main->Editor->Control().CharFormatAt(28).Color, uint32_t(clRed));    // ignored hyphen
  EXPECT_EQ(main->Editor->Control().CharFormatAt(16).Color, RichAutoColor);
  EXPECT_TRUE(main->DocModified());
  EXPECT_EQ(main->HistoryNames(), (std::vector<std::string>{"Original text", "Reformat"}));
  EXPECT_FALSE(main->Busy());
  TComponent::Free(reformat);
}

TEST_F(EngineCommandsTest, QuickConversionRunsTheEnginesOnItsOwnTextInTheProgressWindow) {
  auto* quick = new TQuickForm(Application);
  ProgressForm = new TProgressForm(Application);  // as the start-up makes it
  TProgressForm* progress = ProgressForm;
  main->BindQuickForm();
  // What the progress window shows while an engine runs; `stop` clicks its Cancel.
  bool shown = false, stop = false;
  int highest = 0;
  SetProgressMessagePump([&] {
    shown = shown || progress->Visible();
    highest = std::max(highest, progress->ProgressBar1->Position());
    if (stop && progress->Visible()) progress->SpeedButton1->Click();
  });
  std::u16string text;
  while (text.size() < 3000) text += u"privet, mir ";
  quick->Editor->SetTextW(text);
  quick->BtnDeTransliterate->Click();
  EXPECT_EQ(quick->Editor->GetTextW().find(u"mir"), std::u16string::npos);
  EXPECT_EQ(quick->ModalResult(), kQuickEditorDone);
  EXPECT_TRUE(shown);
  EXPECT_GT(highest, 0);
  EXPECT_FALSE(progress->Visible());
  EXPECT_EQ(progress->ProgressBar1->Position(), 0);
  // Cancel in the progress window: the text stays as it was and so does the quick window.
  quick->SetModalResult(mrNone);
  quick->Editor->SetTextW(text);
  stop = true;
  quick->BtnCleanup->Click();
  EXPECT_EQ(quick->Editor->GetTextW(), text);
  EXPECT_EQ(quick->ModalResult(), mrNone);
  EXPECT_FALSE(progress->Visible());
  EXPECT_FALSE(ProgressStopRequested());
  stop = false;
  quick->Editor->SetTextW(u"Пpивeт");
  quick->BtnCleanup->Click();
  EXPECT_EQ(quick->Editor->GetTextW(), u"Привет");
  TComponent::Free(progress);
  TComponent::Free(quick);
}

}  // namespace

namespace {

TEST_F(EngineCommandsTest, TheEngineDialogsOptionsButtonOpensTheProcessingOptions) {
  SpeedForm = new TSpeedForm(nullptr);
  bool shown = false;
  TTimer timer(nullptr);
  timer.SetInterval(1);
  timer.OnTimer = [&](TObject*) {
    timer.SetEnabled(false);
    shown = SpeedForm->Modal();
    SpeedForm->BtnClose->Click();
  };
  for (TQGrammar* engine : {main->QGrammar.get(), main->CLGrammar.get()}) {
    ASSERT_TRUE(static_cast<bool>(engine->Dialog().OnChangeOptions));
    shown = false;
    timer.SetEnabled(true);
    engine->Dialog().OnChangeOptions();
    EXPECT_TRUE(shown);
  }
  delete SpeedForm;
}

TEST_F(EngineCommandsTest, UserOptionsShowCaptionsOfTheLanguageFile) {
  main->QGrammar->LoadGrammar();
  const std::vector<TAskOptionItem>& options = main->QGrammar->Dialog().Options;
  ASSERT_FALSE(options.empty());
  for (const TAskOptionItem& item : options)
    if (item.Option >= 0) EXPECT_NE(item.Caption, GrammarOptionNames[item.Option]);
  EXPECT_TRUE(std::any_of(options.begin(), options.end(),
                          [](const TAskOptionItem& item) { return item.Caption == "The text holds no English words"; }));
}

}  // namespace

namespace {

TEST_F(EngineCommandsTest, F1InTheEngineDialogSaysThatNoHelpIsInstalled) {
  AskForm = new TAskForm(Application);
  main->QGrammar->ExecMode &= ~emNoDialog;
  SetText(u"privet");
  // The options page shows; F1 on it, then Cancel.
  dialogs.Answer(TDialogKind::Form, 0, [](TDialogRequest& Request) { Request.Result = Request.Form->ShowModal(); });
  dialogs.Answer(TDialogKind::MessageDlg, mrOk);
  TTimer timer(nullptr);
  timer.SetInterval(1);
  timer.OnTimer = [&](TObject*) {
    if (!AskForm->Modal()) return;
    timer.SetEnabled(false);
    SendKeyTo(AskForm->ListScheme, VK_F1, 0);
    AskForm->Button3->Click();
  };
  Click("TranslittoWin12511");
  std::vector<std::string> messages;
  for (const TDialogRequest& asked : dialogs.Asked())
    if (asked.Kind == TDialogKind::MessageDlg) messages.push_back(asked.Text);
  EXPECT_EQ(messages, std::vector<std::string>{"No help is installed for this window."});
  EXPECT_EQ(Text(), u"privet") << "the cancelled dialog runs nothing";
  TComponent::Free(AskForm);
}

}  // namespace

namespace {

TEST_F(EngineCommandsTest, DebugModeShowsTheRuleMatchingOfEachWord) {
  main->QGrammar->ExecMode |= emDebug;
  SetText(u"privet");
  int shown = 0;
  std::string caption, status;
  int columns = 0;
  TTimer timer(nullptr);
  timer.SetInterval(1);
  timer.OnTimer = [&](TObject*) {
    auto* debug = dynamic_cast<TDebugForm*>(main->FindComponent("DebugForm"));
    if (!debug || !debug->Modal()) return;
    if (shown++ == 0) {
      caption = debug->Caption();
      status = debug->Status->Caption();
      columns = debug->Grid->ColCount();
    }
    debug->Close();
  };
  Click("TranslittoWin12511");
  EXPECT_EQ(Text(), u"привет");
  EXPECT_GE(shown, 1);
  EXPECT_EQ(caption, "Debugging grammar translit.qg");
  EXPECT_EQ(status.rfind("Variants: ", 0), 0u) << status;
  EXPECT_GE(columns, 1);
}

}  // namespace
