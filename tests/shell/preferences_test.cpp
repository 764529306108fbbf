// The preferences window: stored options across a restart, OK and Cancel, the interface
// language switch, the language template and the autostart entry.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>

#include "components/color_menu.h"
#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/form.h"
#include "platform/gui/graphics.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/timer.h"
#include "platform/ini_file.h"
#include "platform/registry.h"
#include "shell/autostart.h"
#include "shell/lang_messages.h"
#include "shell/language.h"
#include "shell/preferences.h"
#include "shell/preferences_key_list.h"
#include "tests/shell/preferences_test_env.h"

namespace {

const std::string kRussianCaption = "\xcd\xe0\xf1\xf2\xf0\xee\xe9\xea\xe8...";  // "Настройки..."

class PreferencesTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    for (const char* name : {"english.lng", "russian.lng"})
      world_.WriteProgramFile(name, ReadFileBytes(std::string(QM_SOURCE_DIR) + "/data/" + name));
  }

  // A new window over the same settings, as after a restart of the program, whose start-up
  // applies the chosen interface language when it is not the built-in English (and the main
  // window then names the languages in it).
  TPrefForm& Restart() {
    form_.reset();
    form_ = std::make_unique<TPrefForm>(Application);
    if (ExtractFileName(form_->Language1->LanguageFile()) != "english.lng") {
      form_->Language1->LoadLanguage();
      form_->ShowLanguageTexts();
    }
    return *form_;
  }
  // Opens the window, lets `edit` change it and closes it with `result`.
  void Session(int result, const std::function<void(TPrefForm&)>& edit) {
    form_->Show();
    edit(*form_);
    form_->SetModalResult(result);
    form_->Hide();
  }
  int LanguageIndex(const std::string& fileName) const {
    for (size_t i = 0; i < form_->Languages().size(); ++i)
      if (form_->Languages()[i].FileName == fileName) return int(i);
    return -1;
  }
  void ChooseLanguage(const std::string& fileName) {
    form_->LangCombo->SetItemIndex(LanguageIndex(fileName));
    form_->LangCombo->OnChange(form_->LangCombo);
  }
  // Every file of the settings store, by name.
  std::map<std::string, std::string> StoreFiles() const {
    std::map<std::string, std::string> files;
    if (std::filesystem::exists(world_.ConfigFolder))
      for (const auto& entry : std::filesystem::directory_iterator(world_.ConfigFolder))
        if (entry.is_regular_file()) files[entry.path().filename().string()] = ReadFileBytes(entry.path().string());
    return files;
  }

  TTestWorld world_;
  std::unique_ptr<TPrefForm> form_;
};

std::string StoredString(const std::string& section, const std::string& name) {
  TRegistry reg;
  if (!reg.OpenKeyReadOnly("Software\\Vortanel\\Quillomark\\" + section)) return "<no key>";
  if (reg.GetDataType(name) != rdString) return "<not a string>";
  return reg.ReadString(name);
}

TEST_F(PreferencesTest, OptionsSurviveARestartUnderTheirStoredNames) {
  TPrefForm& first = Restart();
  EXPECT_FALSE(first.CBTray->Checked());
  EXPECT_TRUE(first.CBRusOnOpen->Checked());
  EXPECT_TRUE(first.CBAutoSave->Checked());
  EXPECT_EQ(first.SpinSaveInt->Position(), 3);
  EXPECT_EQ(first.LangCombo->GetText(), "English") << "nothing stored: English";
  EXPECT_EQ(first.DefFont->Caption(), "Arial, 10 pt.");

  Session(mrOk, [&](TPrefForm& f) {
    f.CBTray->SetChecked(true);
    f.CBConfirmExit->SetChecked(true);
    f.CBRusOnOpen->SetChecked(false);
    f.CBSaveBm->SetChecked(false);
    f.SpinSaveInt->SetPosition(7);
    TFont font;
    font.SetName("Courier New");
    font.SetSize(12);
    f.DefFont->SetFont(font);
    f.Shape1->Brush()->SetColor(clYellow);
    ChooseLanguage("russian.lng");
  });

  EXPECT_EQ(StoredString("Preferences", "CBTray_Checked"), "True");
  EXPECT_EQ(StoredString("Preferences", "CBRusOnOpen_Checked"), "False");
  EXPECT_EQ(StoredString("Preferences", "SpinSaveInt_Value"), "7");
  EXPECT_EQ(StoredString("Preferences", "DefFont_Font.Name"), "Courier New");
  EXPECT_EQ(StoredString("Preferences", "DefFont_Font.Size"), "12");
  EXPECT_EQ(StoredString("Preferences", "Shape1_Brush.Color"), std::to_string(clYellow));
  EXPECT_EQ(StoredString("General", "Language"), "russian.lng");

  TPrefForm& second = Restart();
  EXPECT_TRUE(second.CBTray->Checked());
  EXPECT_TRUE(second.CBConfirmExit->Checked());
  EXPECT_FALSE(second.CBRusOnOpen->Checked());
  EXPECT_FALSE(second.CBSaveBm->Checked());
  EXPECT_TRUE(second.CBEncOnOpen->Checked());
  EXPECT_EQ(second.SpinSaveInt->Position(), 7);
  EXPECT_EQ(second.DefFont->Font()->Name(), "Courier New");
  EXPECT_EQ(second.DefFont->Caption(), "Courier New, 12 \xEF\xF2");  // the unit in the chosen language
  EXPECT_EQ(second.Shape1->Brush()->Color(), clYellow);
  EXPECT_EQ(second.LangCombo->GetText(), "\xD0\xF3\xF1\xF1\xEA\xE8\xE9");  // "Russian" in Russian
  EXPECT_EQ(second.Language1->LanguageFile(), world_.ProgramFolder + "russian.lng");
}

TEST_F(PreferencesTest, CancelLeavesTheStoreAndTheLiveSettingsAsTheyWere) {
  TPrefForm& form = Restart();
  int hotKeyApplications = 0;
  form.OnApplyHotKeys = [&](const std::vector<THotKey>&) { ++hotKeyApplications; };
  const auto storeBefore = StoreFiles();
  const std::string entry = AutostartEntryFile();
  const std::string fileBefore = form.Language1->LanguageFile();

  Session(mrCancel, [&](TPrefForm& f) {
    f.CBRusOnOpen->SetChecked(false);  // a default that was never stored
    f.CBStartup->SetChecked(true);
    f.SpinSaveInt->SetPosition(15);
    f.Shape1->Brush()->SetColor(clRed);
    TFont font;
    font.SetName("Courier New");
    f.DefFont->SetFont(font);
    ChooseLanguage("russian.lng");
    EXPECT_EQ(f.Caption(), kRussianCaption) << "the language applies at once";
    static_cast<TControl*>(f.FindComponent("BtnDisableAll"))->Click();
  });

  EXPECT_EQ(StoreFiles(), storeBefore) << "Cancel writes nothing";
  EXPECT_FALSE(FileExists(entry));
  EXPECT_EQ(hotKeyApplications, 0);
  EXPECT_TRUE(form.CBRusOnOpen->Checked());
  EXPECT_FALSE(form.CBStartup->Checked());
  EXPECT_EQ(form.SpinSaveInt->Position(), 3);
  EXPECT_EQ(form.Shape1->Brush()->Color(), clWhite);
  EXPECT_EQ(form.DefFont->Font()->Name(), "Arial");
  EXPECT_EQ(form.DefFont->Caption(), "Arial, 10 pt.");
  EXPECT_EQ(form.LangCombo->GetText(), "English");
  EXPECT_EQ(form.Language1->LanguageFile(), fileBefore);
  EXPECT_EQ(form.Caption(), "Preferences...") << "the window speaks English again";
  EXPECT_EQ(form.CBTray->Caption(), "Run in the &System Tray");

  // After a Cancel the stored options are still the ones of the last OK.
  Session(mrOk, [](TPrefForm& f) { f.SpinSaveInt->SetPosition(5); });
  Session(mrCancel, [](TPrefForm& f) { f.SpinSaveInt->SetPosition(9); });
  EXPECT_EQ(form.SpinSaveInt->Position(), 5);
  EXPECT_EQ(Restart().SpinSaveInt->Position(), 5);
}

TEST_F(PreferencesTest, LanguageSwitchTranslatesTheLiveWindowAndTheMessages) {
  TPrefForm& form = Restart();
  form.Show();
  ChooseLanguage("russian.lng");
  EXPECT_EQ(form.Caption(), kRussianCaption);
  EXPECT_NE(form.CBTray->Caption(), "Run in the &System Tray");
  EXPECT_NE(form.CBEnforceCyr->Hint().find("Linux"), std::string::npos);
  EXPECT_NE(GetLangMessage("FindEnd"), "end");
  EXPECT_FALSE(GetLangMessage("FindEnd").empty());
  EXPECT_NE(form.ActionName(0), "Show Quick Panel");

  ChooseLanguage("english.lng");
  EXPECT_EQ(form.Caption(), "Preferences...");
  EXPECT_EQ(form.CBTray->Caption(), "Run in the &System Tray");
  EXPECT_EQ(GetLangMessage("FindEnd"), "end");
  EXPECT_EQ(form.ActionName(0), "Show Quick Panel");
  form.SetModalResult(mrOk);
  form.Hide();
}

TEST_F(PreferencesTest, TemplateKeyWritesTheNewFileBesideTheLanguageFile) {
  TPrefForm& form = Restart();
  form.Show();
  ChooseLanguage("russian.lng");
  uint16_t key = VK_F1 + 9;
  form.OnKeyDown(&form, key, ssCtrl | ssAlt | ssShift);
  EXPECT_EQ(key, 0);
  ASSERT_TRUE(FileExists(world_.ProgramFolder + "russian.new"));
  TMemIniFile ini(world_.ProgramFolder + "russian.new");
  EXPECT_EQ(ini.ReadString("Caption", "PrefForm.Caption", ""), kRussianCaption);
  EXPECT_FALSE(ini.ReadString("Caption", "PrefForm.CBTray.Caption", "").empty());
  EXPECT_EQ(ini.ReadString("Caption", "PrefForm.CBTray.Caption", "").find('&'), std::string::npos);
  form.SetModalResult(mrCancel);
  form.Hide();
}

TEST_F(PreferencesTest, StartWithTheSessionWritesAndRemovesTheAutostartEntry) {
  const std::string entry = AutostartEntryFile();
  Restart();
  Session(mrOk, [](TPrefForm& f) { f.CBStartup->SetChecked(true); });
  ASSERT_TRUE(FileExists(entry));
  EXPECT_NE(ReadFileBytes(entry).find("Exec=\"" + Application->ExeName() + "\""), std::string::npos);

  TPrefForm& after = Restart();
  EXPECT_TRUE(after.CBStartup->Checked());
  Session(mrOk, [](TPrefForm& f) { f.CBStartup->SetChecked(false); });
  EXPECT_FALSE(FileExists(entry));
}

TEST_F(PreferencesTest, FontAndBackgroundComeFromTheirDialogs) {
  TPrefForm& form = Restart();
  TScriptedDialogs dialogs;
  dialogs.Answer(TDialogKind::Font, 1, [](TDialogRequest& r) {
    EXPECT_EQ(r.Font->Name(), "Arial") << "the dialog starts from the current font";
    r.Font->SetName("Times New Roman");
    r.Font->SetSize(14);
  });
  dialogs.Answer(TDialogKind::Font, 0);
  dialogs.Answer(TDialogKind::Color, 1, [](TDialogRequest& r) { r.Color = clAqua; });
  static_cast<TControl*>(form.FindComponent("BtnSetFont"))->Click();
  EXPECT_EQ(form.DefFont->Font()->Name(), "Times New Roman");
  EXPECT_EQ(form.DefFont->Caption(), "Times New Roman, 14 pt.");
  form.DefFont->Click();  // the label opens the dialog too; cancelled, nothing changes
  EXPECT_EQ(form.DefFont->Caption(), "Times New Roman, 14 pt.");
  // "Background..." pops up the colour menu; "Other" asks the colour dialog, "Auto" is the
  // window colour.
  static_cast<TControl*>(form.FindComponent("BtnSetBack"))->Click();
  form.BackgroundMenu->ClickItem(int(form.BackgroundMenu->Entries().size()) - 1);
  EXPECT_EQ(form.Shape1->Brush()->Color(), clAqua);
  form.BackgroundMenu->ClickItem(0);
  EXPECT_EQ(form.Shape1->Brush()->Color(), clWindow);
  EXPECT_TRUE(dialogs.Unexpected().empty());
  EXPECT_EQ(dialogs.Pending(), 0);
}

TEST_F(PreferencesTest, ModalWindowKeepsChangesOnOkAndDropsThemOnEsc) {
  TPrefForm& form = Restart();
  TTimer timer(nullptr);
  timer.SetInterval(1);
  std::function<void()> step;
  timer.OnTimer = [&](TObject*) {
    timer.SetEnabled(false);
    step();
  };
  step = [&] {
    form.CBExitOnESC->SetChecked(true);
    form.Button2->Click();
  };
  EXPECT_EQ(form.ShowModal(), mrOk);
  EXPECT_EQ(StoredString("Preferences", "CBExitOnESC_Checked"), "True");

  step = [&] {
    form.CBExitOnESC->SetChecked(false);
    form.DialogKey(VK_ESCAPE, 0);  // the cancel button
  };
  timer.SetEnabled(true);
  EXPECT_EQ(form.ShowModal(), mrCancel);
  EXPECT_TRUE(form.CBExitOnESC->Checked());
  EXPECT_EQ(StoredString("Preferences", "CBExitOnESC_Checked"), "True");
}

TEST_F(PreferencesTest, KeyListCapturesStoresAndAppliesHotKeys) {
  TScriptedDialogs dialogs;
  TPrefForm& form = Restart();
  std::vector<THotKey> applied;
  form.OnApplyHotKeys = [&](const std::vector<THotKey>& hotKeys) { applied = hotKeys; };
  Session(mrOk, [&](TPrefForm& f) {
    THotKeyList& list = *f.KeyList;
    ASSERT_EQ(list.RowCount(), 15);
    EXPECT_EQ(list.Row(0).KeyText, "Scroll Lock");
    EXPECT_EQ(list.ActionName(13), "Decode from MAC");
    EXPECT_EQ(list.ActionName(14), "Apply Template");
    f.PageControl1->SetActivePage(f.TabExternal);

    uint16_t key = VK_SCROLL;
    f.OnKeyDown(&f, key, ssCtrl | ssAlt);
    EXPECT_EQ(key, VK_SCROLL) << "no row selected: nothing to capture";
    list.SetSelected(0);
    f.OnKeyDown(&f, key, ssCtrl | ssAlt);
    EXPECT_EQ(key, 0) << "the key is swallowed";
    EXPECT_EQ(list.Row(0).KeyText, "Alt+Ctrl+Scroll Lock");
    key = VK_CONTROL;
    f.OnKeyDown(&f, key, ssCtrl);
    EXPECT_EQ(list.Row(0).KeyText, "Alt+Ctrl+Scroll Lock") << "a modifier alone is ignored";
    // A key no desktop hot key can use is refused with a word, the row kept.
    dialogs.Answer(TDialogKind::MessageDlg, mrOk);
    key = 0xBA;
    f.OnKeyDown(&f, key, ssCtrl);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(list.Row(0).KeyText, "Alt+Ctrl+Scroll Lock");
    EXPECT_EQ(dialogs.Asked().size(), 1u);
    char typed = 'x';
    f.OnKeyPress(&f, typed);
    EXPECT_EQ(typed, 0);

    // A click on the check box of row 2 switches it off.
    const int rowHeight = list.Canvas()->TextHeight("Wg") + 4;
    const int y = rowHeight + 2 + 2 * rowHeight + rowHeight / 2;
    list.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(8, y));
    list.Perform(WM_LBUTTONUP, 0, MakeLParam(8, y));
    EXPECT_EQ(list.Selected(), 2);
    EXPECT_FALSE(list.Row(2).Enabled);
  });
  ASSERT_EQ(applied.size(), 15u);
  EXPECT_EQ(applied[0], (THotKey{VK_SCROLL, hkCtrl | hkAlt}));
  EXPECT_EQ(applied[1], (THotKey{VK_SCROLL, hkAlt}));
  EXPECT_EQ(applied[2], THotKey{}) << "a disabled row registers nothing";
  EXPECT_EQ(StoredString("Global", "KeyName0"), "Alt+Ctrl+Scroll Lock");

  TPrefForm& after = Restart();
  EXPECT_EQ(after.KeyList->Row(0).KeyText, "Alt+Ctrl+Scroll Lock");
  EXPECT_FALSE(after.KeyList->Row(2).Enabled);
  Session(mrOk, [&](TPrefForm& f) {
    static_cast<TControl*>(f.FindComponent("BtnDefaultKeys"))->Click();
    EXPECT_EQ(f.KeyList->Row(0).KeyText, "Scroll Lock");
    EXPECT_EQ(f.KeyList->Row(1).KeyText, "Alt+Scroll Lock");
    EXPECT_EQ(f.KeyList->Row(2).KeyText, "Ctrl+Shift+F11");
    EXPECT_FALSE(f.KeyList->Row(2).Enabled) << "Default keeps the check boxes";
    static_cast<TControl*>(f.FindComponent("BtnEnableAll"))->Click();
    EXPECT_TRUE(f.KeyList->Row(2).Enabled);
    ChooseLanguage("russian.lng");
    EXPECT_EQ(f.KeyList->ActionName(3), f.ActionName(3));
    EXPECT_NE(f.KeyList->ActionName(3), "Transliterate");
    EXPECT_NE(f.KeyList->Columns()->Items(0)->Caption(), "Key");
  });
  EXPECT_EQ(StoredString("Global", "KeyName0"), "Scroll Lock");
}

TEST_F(PreferencesTest, SystemWideCyrillicCannotBeChosen) {
  TPrefForm& form = Restart();
  EXPECT_FALSE(form.CBEnforceCyr->Enabled());
  EXPECT_FALSE(form.CBEnforceCyr->Checked());
  EXPECT_TRUE(form.CBEnforceCyr->ShowHint());
  EXPECT_FALSE(form.CBEnforceCyr->Hint().empty());
}

}  // namespace

namespace {

TEST_F(PreferencesTest, AStoredColourThatIsNoColourLeavesTheDefault) {
  for (const char* stored : {"-1", "4294967295", "$FFFFFFFF", "16777216"}) {
    SCOPED_TRACE(stored);
    {
      TRegistry reg;
      ASSERT_TRUE(reg.OpenKey("Software\\Vortanel\\Quillomark\\Preferences", true));
      reg.WriteString("Shape1_Brush.Color", stored);
    }
    TPrefForm& form = Restart();
    EXPECT_EQ(form.Shape1->Brush()->Color(), clWhite);  // the editor stays readable
  }
  EXPECT_EQ(StringToColor("$00FFFFFF"), TColor(0xFFFFFF));
  EXPECT_EQ(StringToColor("clWindow"), clWindow);
  EXPECT_EQ(StringToColor(std::to_string(clWindow)), clWindow);  // as the store keeps it
  EXPECT_THROW(StringToColor("-1"), EConvertError);
}

}  // namespace
