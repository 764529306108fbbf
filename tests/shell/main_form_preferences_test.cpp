// The main window and the preferences: the options reach the running window after OK and at
// start-up, Cancel leaves the window alone, and the options read on use (Exit on Esc) work.

#include <gtest/gtest.h>

#include <QPalette>
#include <QWidget>

#include <functional>
#include <string>

#include "components/tray_icon.h"
#include "platform/files.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/application.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/graphics.h"
#include "platform/gui/properties.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/timer.h"
#include "shell/language.h"
#include "shell/main_form.h"
#include "shell/open_save.h"
#include "shell/preferences.h"
#include "proofing/correction_engine.h"
#include "tools/quick_form.h"
#include "shell/preferences_key.h"
#include "shell/preferences_key_list.h"
#include "tests/shell/preferences_test_env.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_attributes.h"
#include "textcore/win_registry.h"

namespace {

const std::string kRussianFileMenu = "&\xd4\xe0\xe9\xeb";  // "&Файл" in code page 1251

class MainFormPreferencesTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    for (const char* name : {"english.lng", "russian.lng"})
      world_.WriteProgramFile(name, ReadFileBytes(std::string(QM_SOURCE_DIR) + "/data/" + name));
    Start();
  }
  void TearDown() override { Stop(); }

  // The two windows made as the program makes them, over the settings of the test's store;
  // `beforeInit` runs after both exist and before the main window's set-up.
  void Start(const std::function<void()>& beforeInit = {}) {
    new TMainForm(Application);  // becomes MainForm
    PrefForm = new TPrefForm(Application);
    if (beforeInit) beforeInit();
    MainForm->InitAfterForms();
  }
  void Stop() {
    delete PrefForm;
    TComponent::Free(MainForm);
  }
  void Restart(const std::function<void()>& beforeInit = {}) {
    Stop();
    Start(beforeInit);
  }

  // Runs the Settings command; `edit` changes the options while the window is up, then OK or
  // Esc (the cancel button) closes it.
  void OpenPreferences(bool ok, const std::function<void(TPrefForm&)>& edit) {
    TTimer timer(nullptr);
    timer.SetInterval(1);
    timer.OnTimer = [&](TObject*) {
      timer.SetEnabled(false);
      edit(*PrefForm);
      if (ok)
        PrefForm->Button2->Click();
      else
        PrefForm->DialogKey(VK_ESCAPE, 0);
    };
    MainForm->FileSettingsExecute(MainForm);
    EXPECT_EQ(PrefForm->ModalResult(), ok ? mrOk : mrCancel);
  }
  void ChooseLanguage(TPrefForm& form, const std::string& fileName) {
    for (size_t i = 0; i < form.Languages().size(); ++i)
      if (form.Languages()[i].FileName == fileName) form.LangCombo->SetItemIndex(int(i));
    form.LangCombo->OnChange(form.LangCombo);
  }
  // Changes every option the main window applies, away from its default.
  void ChangeEverything(TPrefForm& form) {
    TFont font;
    font.SetName("Courier New");
    font.SetSize(12);
    form.DefFont->SetFont(font);
    form.Shape1->Brush()->SetColor(clYellow);
    form.SpinSaveInt->SetPosition(7);
    form.CBDetectURLs->SetChecked(false);
    form.CBMakeBackup->SetChecked(false);
    form.CBTray->SetChecked(true);
    form.KeyList->SetRow(0, {"Scroll Lock", false});
    ChooseLanguage(form, "russian.lng");
  }
  // The main window shows everything ChangeEverything chose (or, with false, the defaults).
  void ExpectChanged(bool changed) {
    TRichEditW& editor = *MainForm->Editor;
    EXPECT_EQ(editor.Font()->Name(), changed ? "Courier New" : "Arial");
    EXPECT_EQ(editor.DefAttributes()->Name(), changed ? "Courier New" : "Arial");
    EXPECT_EQ(editor.DefAttributes()->Size(), changed ? 12 : 10);
    EXPECT_EQ(editor.Color(), changed ? clYellow : clWhite);
    // What the window shows: the editor's text area in that font and colour, the rest of the
    // window in the window's own font.
    QWidget* textArea = editor.Widget()->findChild<QWidget*>("qt_scrollarea_viewport");
    ASSERT_NE(textArea, nullptr);
    EXPECT_EQ(textArea->font().family(), changed ? "Courier New" : "Arial");
    EXPECT_EQ(textArea->font().pointSize(), changed ? 12 : 10);
    EXPECT_EQ(textArea->palette().color(QPalette::Base), changed ? QColor(Qt::yellow) : QColor(Qt::white));
    EXPECT_EQ(MainForm->StatusBar->Widget()->font().pointSize(), MainForm->Font()->Size());
    EXPECT_EQ(MainForm->AutoSaveInterval(), changed ? 7 * 60000u : 3 * 60000u);
    EXPECT_EQ(MainForm->Timer1->Interval(), MainForm->AutoSaveInterval());
    EXPECT_EQ(editor.AutoURLDetect(), changed ? adNone : adDefault);
    EXPECT_EQ(MainForm->OS->MakeBackup(), !changed);
    EXPECT_EQ(MainForm->TrayIcon1->MinimizeToTray(), changed);  // offscreen has no tray to show the icon in
    ASSERT_EQ(MainForm->GlobalHotKeys().size(), 15u);
    EXPECT_EQ(MainForm->GlobalHotKeys()[0], (changed ? THotKey{} : THotKey{VK_SCROLL, 0}));
    EXPECT_EQ(FileMenuCaption(), changed ? kRussianFileMenu : "&File");
  }
  static std::string FileMenuCaption() { return GetStrProp(*MainForm->FindComponent("FileMenu"), "Caption"); }

  TTestWorld world_;
};

TEST_F(MainFormPreferencesTest, OkAppliesEveryOptionToTheRunningWindow) {
  ExpectChanged(false);
  MainForm->Editor->SetTextW(u"old text");
  OpenPreferences(true, [&](TPrefForm& f) { ChangeEverything(f); });
  ExpectChanged(true);

  // Formatted text keeps its font; a new document takes the new default font.
  TRichEditW& editor = *MainForm->Editor;
  editor.SetSelStart(0);
  editor.SetSelLength(3);
  EXPECT_EQ(editor.SelAttributes()->Name(), "Arial");
  editor.Clear();
  editor.SetTextW(u"new text");
  editor.SetSelStart(0);
  editor.SetSelLength(3);
  EXPECT_EQ(editor.SelAttributes()->Name(), "Courier New");
  EXPECT_EQ(editor.SelAttributes()->Size(), 12);
}

TEST_F(MainFormPreferencesTest, CancelLeavesTheWindowAsItWas) {
  OpenPreferences(false, [&](TPrefForm& f) {
    ChangeEverything(f);
    EXPECT_EQ(FileMenuCaption(), kRussianFileMenu) << "the language is tried at once";
  });
  ExpectChanged(false);
  Restart();
  ExpectChanged(false);
}

TEST_F(MainFormPreferencesTest, StartUpAppliesTheStoredOptionsAndLanguage) {
  OpenPreferences(true, [&](TPrefForm& f) { ChangeEverything(f); });
  int languageLoads = 0;
  auto countLoads = [&] { PrefForm->Language1->OnChangeLanguage = [&](TObject*) { ++languageLoads; }; };
  Restart(countLoads);
  EXPECT_EQ(languageLoads, 1);
  ExpectChanged(true);

  // The program's own language is in the layouts already and is not loaded again.
  OpenPreferences(true, [&](TPrefForm& f) { ChooseLanguage(f, "english.lng"); });
  EXPECT_EQ(FileMenuCaption(), "&File");
  languageLoads = 0;
  Restart(countLoads);
  EXPECT_EQ(languageLoads, 0);
  EXPECT_EQ(FileMenuCaption(), "&File");
}

TEST_F(MainFormPreferencesTest, PlainViewTextTakesTheNewDefaultFontAndFindsNoLinks) {
  TRichEditW& editor = *MainForm->Editor;
  editor.SetPlainText(true);
  editor.SetTextW(u"plain text");
  MainForm->ApplyPreferences();
  EXPECT_EQ(editor.AutoURLDetect(), adNone) << "links are found in the formatted view only";
  OpenPreferences(true, [&](TPrefForm& f) {
    TFont font;
    font.SetName("Courier New");
    font.SetSize(14);
    f.DefFont->SetFont(font);
  });
  editor.SetSelStart(6);
  editor.SetSelLength(4);
  EXPECT_EQ(editor.SelAttributes()->Name(), "Courier New");
  EXPECT_EQ(editor.SelAttributes()->Size(), 14);
}

TEST_F(MainFormPreferencesTest, ProcessingOptionsComeFromTheirStoredValues) {
  struct Case {
    const char* flag;
    const char* size;
    bool expectedFlag;
    int expectedSize;
  };
  const Case cases[] = {
      {"True", "50", true, 50},
      {"False", "5", false, 10},     // below the range
      {"True", "2000", true, 1000},  // above the range
      {"yes", "many", false, 20},    // damaged values keep the defaults
  };
  for (const Case& c : cases) {
    TWinRegistry registry(kProductKey);
    for (const char* name : {"CBEnableUndo_Checked", "CBEnableHist_Checked", "CBPreserveStyle_Checked"})
      registry.WriteString("Speed", name, c.flag);
    registry.WriteString("Speed", "HistIgnoreSize_Value", c.size);
    MainForm->ApplyPreferences();
    const TProcessingOptions& options = MainForm->ProcessingOptions();
    EXPECT_EQ(options.EnableUndo, c.expectedFlag) << c.flag;
    EXPECT_EQ(options.EnableHist, c.expectedFlag) << c.flag;
    EXPECT_EQ(options.PreserveStyle, c.expectedFlag) << c.flag;
    EXPECT_EQ(options.HistIgnoreSize, c.expectedSize) << c.size;
  }
}

TEST_F(MainFormPreferencesTest, BackgroundMenuSetsTheEditorBackgroundAndStoresItAtOnce) {
  MainForm->BackgroundColor2Click(nullptr);  // pops the colour menu up without waiting
  // The menu's "Other..." answers the dialog's colour, "Auto" the window-text colour.
  MainForm->BackgroundMenuColorSelect(nullptr, 0, clAqua);
  EXPECT_EQ(MainForm->Editor->Color(), clAqua);
  EXPECT_EQ(PrefForm->Shape1->Brush()->Color(), clAqua);
  Restart();
  EXPECT_EQ(PrefForm->Shape1->Brush()->Color(), clAqua) << "stored without the preferences' OK";
  EXPECT_EQ(MainForm->Editor->Color(), clAqua);
  MainForm->BackgroundMenuColorSelect(nullptr, 0, clWindowText);
  EXPECT_EQ(MainForm->Editor->Color(), clWindow);
  EXPECT_EQ(PrefForm->Shape1->Brush()->Color(), clWindow);
  MainForm->SetEditorBackground(clYellow);
  MainForm->SetEditorBackground(clDefault);
  EXPECT_EQ(MainForm->Editor->Color(), clWindow);
}

TEST_F(MainFormPreferencesTest, EscClosesTheIdleWindowOnlyWhenExitOnEscIsChecked) {
  for (const bool exitOnEsc : {false, true}) {
    PrefForm->CBExitOnESC->SetChecked(exitOnEsc);
    MainForm->Show();
    uint16_t key = VK_ESCAPE;
    MainForm->OnKeyDown(MainForm, key, 0);
    EXPECT_EQ(MainForm->Visible(), !exitOnEsc) << exitOnEsc;
    EXPECT_EQ(key, exitOnEsc ? 0 : VK_ESCAPE);
    MainForm->Hide();
  }
}

TEST_F(MainFormPreferencesTest, OkRefreshesTheEnginesAndTheQuickConversionFont) {
  for (const char* name : {"translit.qg", "translit.qge"})
    world_.WriteProgramFile(name, ReadFileBytes(std::string(QM_PROGRAM_DIR) + "/" + name));
  QuickForm = new TQuickForm(Application);
  MainForm->ApplyDefaultFont();
  EXPECT_EQ(QuickForm->Editor->Font()->Name(), "Arial");
  TQGrammar& engine = *MainForm->QGrammar;
  engine.LoadGrammar();
  auto captions = [&] {
    std::vector<std::string> texts;
    for (const TAskOptionItem& item : engine.Dialog().Options) texts.push_back(item.Caption);
    return texts;
  };
  const std::vector<std::string> english = captions();
  ASSERT_NE(std::find(english.begin(), english.end(), "The text holds no English words"), english.end());
  engine.Dialog().SchemeIndex = int(engine.Dialog().Schemes.size()) - 1;
  const int scheme = engine.Dialog().SchemeIndex;

  OpenPreferences(true, [&](TPrefForm& f) {
    TFont font;
    font.SetName("Courier New");
    font.SetSize(12);
    f.DefFont->SetFont(font);
    ChooseLanguage(f, "russian.lng");
  });
  EXPECT_EQ(QuickForm->Editor->Font()->Name(), "Courier New");
  QuickForm->Editor->SetTextW(u"privet");
  QuickForm->Editor->SetSelStart(0);
  QuickForm->Editor->SetSelLength(6);
  EXPECT_EQ(QuickForm->Editor->SelAttributes()->Name(), "Courier New");
  EXPECT_EQ(QuickForm->Editor->SelAttributes()->Size(), 12);
  const std::vector<std::string> russian = captions();
  EXPECT_NE(std::find(russian.begin(), russian.end(), "\xc2 \xf2\xe5\xea\xf1\xf2\xe5 \xed\xe5\xf2 \xe0\xed\xe3\xeb\xe8\xe9\xf1\xea\xe8\xf5 \xf1\xeb\xee\xe2"),
            russian.end())
      << "the options page speaks the chosen language";
  EXPECT_EQ(engine.Dialog().SchemeIndex, scheme);
  TComponent::Free(QuickForm);
}

}  // namespace
