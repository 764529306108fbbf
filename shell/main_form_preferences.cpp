// The main window and the preferences: the Settings command, and what the window does with the
// options at start-up and after the preferences window closes with OK.
//
// Options read where they are used rather than applied here: "Exit on ESC" (key handling),
// "Save auto-recover information" (the auto-save timer), the open and save options (the
// document handlers) and "Use smart quotes" (typing).
#include <algorithm>
#include <cmath>

#include "components/languages_combo.h"
#include "components/tray_icon.h"
#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/graphics.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/timer.h"
#include "shell/language.h"
#include "shell/main_form.h"
#include "shell/open_save.h"
#include "shell/preferences.h"
#include "shell/preferences_key.h"
#include "shell/speed_form.h"
#include "proofing/correction_engine.h"
#include "tools/quick_form.h"
#include "shell/unicode_form.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_attributes.h"
#include "textcore/win_registry.h"

namespace {

// The language file the program's own texts are written in; it is never loaded at start-up.
const char* const kBuiltInLanguage = "english.lng";

// The processing options: those of the processing-options window, or (before it exists) as it
// stores them (section "Speed").
TProcessingOptions ReadProcessingOptions() {
  if (SpeedForm) return SpeedForm->Options();
  TWinRegistry registry(kProductKey);
  auto flag = [&](const char* name) { return registry.ReadString("Speed", name, "False") == "True"; };
  TProcessingOptions options;
  options.EnableUndo = flag("CBEnableUndo_Checked");
  options.EnableHist = flag("CBEnableHist_Checked");
  options.PreserveStyle = flag("CBPreserveStyle_Checked");
  try {
    const std::string size = registry.ReadString("Speed", "HistIgnoreSize_Value", "");
    if (!size.empty()) options.HistIgnoreSize = std::clamp(std::stoi(size), 10, 1000);
  } catch (const std::exception&) {
    // A damaged value keeps the default size.
  }
  return options;
}

}  // namespace

void TMainForm::ApplyStartupPreferences() {
  if (!PrefForm) return;
  // The preferences window reports later changes of the hot keys and the tray switch here;
  // the system-wide hot keys are registered again, the tray icon is shown or hidden.
  PrefForm->OnApplyHotKeys = [](const std::vector<THotKey>& hotKeys) {
    if (MainForm) MainForm->ApplyGlobalHotKeys(hotKeys);
  };
  PrefForm->OnApplyTray = [](bool visible) {
    if (MainForm) MainForm->ShowTrayIcon(visible);
  };
  PrefForm->SetOpenSave(OS);  // its extensions fill the Association page
  PrefForm->ApplyHotKeys();
  ApplyPreferences();
  ApplyDefaultFont();
  // The lists that name languages name them in the interface's language.
  PrefForm->Language1->OnChangeLanguage = [then = PrefForm->Language1->OnChangeLanguage](TObject* sender) {
    for (int i = 0; i < Screen->FormCount(); ++i)
      for (int n = 0; n < Screen->Forms(i)->ComponentCount(); ++n)
        if (auto* combo = dynamic_cast<TLanguagesCombo*>(Screen->Forms(i)->Components(n))) combo->BuildList();
    if (UnicodeForm) UnicodeForm->NameLanguages();
    if (PrefForm) PrefForm->ShowLanguageTexts();
    if (then) then(sender);
  };
  if (ExtractFileName(PrefForm->Language1->LanguageFile()) != kBuiltInLanguage) PrefForm->Language1->LoadLanguage();
  ShowTrayIcon(PrefForm->CBTray->Checked());
}

void TMainForm::ShowTrayIcon(bool visible) {
  TrayIcon1->SetMinimizeToTray(visible);
  TrayIcon1->SetIconVisible(visible);
}

void TMainForm::FileSettingsExecute(TObject*) {
  // Cancel puts every option back as it was, so only OK has anything to apply.
  if (!PrefForm || PrefForm->ShowModal() != mrOk) return;
  ApplyDefaultFormat();
  ApplyQuickFormFont();
  // The engines' dialogs speak the language chosen and show the stored colours.
  for (TQGrammar* engine : {QGrammar.get(), CLGrammar.get()})
    if (engine) engine->RefreshSettings();
  ApplyPreferences();
}

void TMainForm::ApplyPreferences() {
  if (!PrefForm) return;
  OS->SetMakeBackup(PrefForm->CBMakeBackup->Checked());
  // Links are found in the formatted view only.
  const bool detectURLs = PrefForm->CBDetectURLs->Checked() && !Editor->PlainText();
  Editor->SetAutoURLDetect(detectURLs ? adDefault : adNone);
  autoSaveInterval_ = unsigned(std::lround(PrefForm->SpinSaveInt->Position() * 60000.0));
  if (Timer1) Timer1->SetInterval(autoSaveInterval_);
  options_ = ReadProcessingOptions();
}

TProcessingOptions& TMainForm::ProcessingOptions() {
  // What the window shows is what the next operation uses, with or without the preferences' OK.
  if (SpeedForm) options_ = SpeedForm->Options();
  return options_;
}

void TMainForm::ApplyDefaultFormat() {
  const TFont& font = *PrefForm->DefFont->Font();
  const TColor background = PrefForm->Shape1->Brush()->Color();
  // The editor's font is its default text format: new documents, and the whole text in the
  // plain view, take it; formatted text keeps its own fonts.
  Editor->SetFont(font);
  Editor->DefAttributes()->SetBackColor(background);
  Editor->SetColor(background);
}

void TMainForm::ApplyQuickFormFont() {
  if (!QuickForm) return;
  const TFont& font = *PrefForm->DefFont->Font();
  QuickForm->Editor->SetFont(font);
  QuickForm->Editor->SelAttributes()->Assign(font);
}

void TMainForm::ApplyDefaultFont() {
  if (!PrefForm) return;
  ApplyDefaultFormat();
  ApplyQuickFormFont();
  Editor->SelAttributes()->Assign(*PrefForm->DefFont->Font());
  Editor->SelAttributes()->SetBackColor(PrefForm->Shape1->Brush()->Color());
}
