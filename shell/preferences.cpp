#include "shell/preferences.h"

#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/form.h"
#include "platform/gui/graphics.h"
#include "platform/gui/std_controls.h"
#include "platform/locale_names.h"
#include "shell/autostart.h"
#include "shell/file_association.h"
#include "shell/lang_messages.h"
#include "shell/language.h"
#include "shell/preferences_key.h"
#include "components/color_menu.h"
#include "components/form_placement.h"
#include "shell/preferences_key_list.h"
#include "shell/speed_form.h"
#include "shell/sys_hot_key.h"
#include "shell/preferences_store.h"
#include "textcore/win_registry.h"

TPrefForm* PrefForm = nullptr;

namespace {

const char* const kOptionsSection = "Preferences";

// The auto-save interval keeps the name the spin edit gave it.
const char* const kIntervalValue = "SpinSaveInt_Value";

// The shortcut that writes the language template: Ctrl+Alt+Shift+F10.
bool IsTemplateKey(uint16_t key, TShiftState shift) {
  return key == VK_F1 + 9 && (shift & (ssCtrl | ssAlt | ssShift)) == (ssCtrl | ssAlt | ssShift);
}

}  // namespace

QM_CLASS_INFO(TPrefForm, TForm, [](TClassBuilder<TPrefForm>&) {})

TPrefForm::TPrefForm(TComponent* owner) : TForm(owner) {
  Handler("FormCreate", &TPrefForm::FormCreate);
  Handler("FormShow", &TPrefForm::FormShow);
  Handler("FormHide", &TPrefForm::FormHide);
  Handler("FormCloseQuery", &TPrefForm::FormCloseQuery);
  Handler("FormKeyDown", &TPrefForm::FormKeyDown);
  Handler("FormKeyPress", &TPrefForm::FormKeyPress);
  Handler("LangComboChange", &TPrefForm::LangComboChange);
  Handler("DefFontClick", &TPrefForm::DefFontClick);
  Handler("BtnSetBackClick", &TPrefForm::BtnSetBackClick);
  Handler("Button1Click", &TPrefForm::Button1Click);
  Handler("BackgroundMenuColorSelect", &TPrefForm::BackgroundMenuColorSelect);
  Handler("BtnEnableAllClick", &TPrefForm::BtnEnableAllClick);
  Handler("BtnDisableAllClick", &TPrefForm::BtnDisableAllClick);
  Handler("BtnDefaultKeysClick", &TPrefForm::BtnDefaultKeysClick);
  Handler("BtnSelectAllClick", &TPrefForm::BtnSelectAllClick);
  Handler("SpeedButton1Click", &TPrefForm::SpeedButton1Click);
  Field("TabAssoc", TabAssoc);
  Field("AssList", AssList);
  Field("BtnSelectAll", BtnSelectAll);
  Field("BtnDeselectAll", BtnDeselectAll);
  Field("EditAdd", EditAdd);
  Field("SpeedButton1", SpeedButton1);
  Field("PageControl1", PageControl1);
  Field("TabGeneral", TabGeneral);
  Field("TabEditor", TabEditor);
  Field("TabExternal", TabExternal);
  Field("CBConfirmExit", CBConfirmExit);
  Field("CBStartup", CBStartup);
  Field("CBTray", CBTray);
  Field("CBNoSplash", CBNoSplash);
  Field("CBExitOnESC", CBExitOnESC);
  Field("CBRusOnOpen", CBRusOnOpen);
  Field("CBEncOnOpen", CBEncOnOpen);
  Field("CBAutoSave", CBAutoSave);
  Field("CBMakeBackup", CBMakeBackup);
  Field("CBSaveBm", CBSaveBm);
  Field("CBEnforceCyr", CBEnforceCyr);
  Field("CBSmartQuotes", CBSmartQuotes);
  Field("CBDetectURLs", CBDetectURLs);
  Field("LangCombo", LangCombo);
  Field("SpinSaveInt", SpinSaveInt);
  Field("SpinSaveEdit", SpinSaveEdit);
  Field("Shape1", Shape1);
  Field("DefFont", DefFont);
  Field("BtnSetFont", BtnSetFont);
  Field("BtnSetBack", BtnSetBack);
  Field("KeyList", KeyList);
  Field("Button2", Button2);
  Field("BtnCancel", BtnCancel);
  Field("Button1", Button1);
  Field("FontDialog1", FontDialog1);
  Field("BackgroundMenu", BackgroundMenu);
  Field("Language1", Language1);
  Field("FormStorage1", FormStorage1);
  ReadForm();
  ATShell1 = new TFileAssociation(this);
}

TPrefForm::~TPrefForm() {
  if (LangMessageSource() == Language1) SetLangMessageSource(nullptr);
  if (PrefForm == this) PrefForm = nullptr;
}

void TPrefForm::FormCreate(TObject*) {
  LoadHotKeys();
  ApplyHotKeys();
  SetLangMessageSource(Language1);
  PageControl1->SetActivePage(TabGeneral);
  RestoreOptions();
  languages_ = ListLanguages();
  for (size_t i = 0; i < languages_.size(); ++i) LangCombo->Items()->Add({});
  UseLanguage(StoredLanguageIndex(languages_), false);
}

void TPrefForm::FormShow(TObject*) {
  LoadHotKeys();
  FillAssociations();
  shown_ = true;
  shownOptions_ = CaptureStoredProps(*this, FormStorage1->StoredProps());
  shownInterval_ = SpinSaveInt->Position();
  shownLanguage_ = LangCombo->ItemIndex();
}

void TPrefForm::FormHide(TObject*) {
  if (!shown_) return;
  shown_ = false;
  if (ModalResult() == mrOk) CommitChanges();
  else DropChanges();
  if (OnApplyTray) OnApplyTray(CBTray->Checked());
}

void TPrefForm::FormCloseQuery(TObject*, bool&) {
  // The storage saves the options as the window closes: edits not confirmed go first.
  if (shown_ && ModalResult() != mrOk) DropChanges();
}

void TPrefForm::CommitChanges() {
  SaveOptions();
  SaveHotKeys();
  ApplyHotKeys();
  const int index = LangCombo->ItemIndex();
  StoreLanguage(index >= 0 ? languages_[size_t(index)].FileName : std::string());
  SetStartWithSession(CBStartup->Checked(), Application->ExeName());
  ApplyAssociations();
}

void TPrefForm::DropChanges() {
  ApplyStoredProps(*this, FormStorage1->StoredProps(), shownOptions_);
  SpinSaveInt->SetPosition(shownInterval_);
  UpdateDefFontCaption();
  LoadHotKeys();
  if (LangCombo->ItemIndex() != shownLanguage_) UseLanguage(shownLanguage_, true);
}

void TPrefForm::SaveOptions() {
  FormStorage1->SaveFormPlacement();
  TWinRegistry(kProductKey).WriteString(kOptionsSection, kIntervalValue, std::to_string(SpinSaveInt->Position()));
}

void TPrefForm::RestoreOptions() {
  FormStorage1->RestoreFormPlacement();
  const std::string interval = TWinRegistry(kProductKey).ReadString(kOptionsSection, kIntervalValue, "");
  try {
    if (!interval.empty()) SpinSaveInt->SetPosition(std::stoi(interval));
  } catch (const std::exception&) {
    // A damaged value keeps the interval shown.
  }
  UpdateDefFontCaption();
}

void TPrefForm::UseLanguage(int index, bool apply) {
  LangCombo->SetItemIndex(index);
  Language1->SetLanguageFile(index >= 0 ? ProgramFolder() + languages_[size_t(index)].FileName : std::string());
  if (apply) {
    Language1->LoadLanguage();
    UpdateActionNames();
  }
  ShowLanguageTexts();
}

void TPrefForm::ShowLanguageTexts() {
  // A language is named in the interface's language when its file is named after one.
  const int index = LangCombo->ItemIndex();
  for (size_t i = 0; i < languages_.size(); ++i) {
    const LCID lcid = LanguageOfFile(languages_[i].FileName);
    LangCombo->Items()->SetStrings(int(i), lcid ? InterfaceLanguageName(lcid) : languages_[i].Caption);
  }
  LangCombo->SetItemIndex(index);
  UpdateDefFontCaption();
}

void TPrefForm::LangComboChange(TObject*) { UseLanguage(LangCombo->ItemIndex(), true); }

void TPrefForm::UpdateDefFontCaption() {
  const TFont* font = DefFont->Font();
  const std::string points = GetLangMessage("PrefPoints");
  DefFont->SetCaption(font->Name() + ", " + std::to_string(font->Size()) + " " + (points.empty() ? "pt." : points));
}

void TPrefForm::DefFontClick(TObject*) {
  FontDialog1->Font()->Assign(*DefFont->Font());
  if (!FontDialog1->Execute()) return;
  DefFont->SetFont(*FontDialog1->Font());
  UpdateDefFontCaption();
}

void TPrefForm::BtnSetBackClick(TObject*) {
  BackgroundMenu->ColorDialog()->SetColor(Shape1->Brush()->Color());
  BackgroundMenu->PopupUnder(BtnSetBack);
}

void TPrefForm::Button1Click(TObject*) { ShowProcessingOptions(true); }

void TPrefForm::BackgroundMenuColorSelect(TObject*, int, TColor Color) {
  // The automatic colour is the window colour.
  Shape1->Brush()->SetColor(Color == kAutoColor ? clWindow : Color);
  Shape1->Invalidate();
}

// --- Hot keys ---------------------------------------------------------------------------------

std::string TPrefForm::ActionName(int index) { return GlobalActionName(index, Language1); }

void TPrefForm::LoadHotKeys() { ShowKeyRows(LoadHotKeyRows()); }

void TPrefForm::SaveHotKeys() { SaveHotKeyRows(KeyRows()); }

void TPrefForm::ApplyHotKeys() {
  std::vector<THotKey> hotKeys;
  for (const THotKeyRow& row : KeyRows()) hotKeys.push_back(RowHotKey(row));
  if (OnApplyHotKeys) OnApplyHotKeys(hotKeys);
}

bool TPrefForm::OnKeyPage() const { return PageControl1->ActivePage() == TabExternal; }

void TPrefForm::FormKeyDown(TObject*, uint16_t& Key, TShiftState Shift) {
  if (OnKeyPage()) {
    const int row = KeyList->Selected();
    if (row < 0) return;
    const std::string text = CapturedKeyText(Key, Shift);
    if (!text.empty()) {
      KeyList->SetRow(row, {text, KeyList->Row(row).Enabled});
      Key = 0;
    } else if (!IsModifierKey(Key) && !HotKeyIndexOf(Key)) {
      Key = 0;
      MessageDlg(GetLangMessage("PrefKeyNotGlobal"), mtInformation, mbOK);
    }
    return;
  }
  if (IsTemplateKey(Key, Shift) && !Language1->LanguageFile().empty()) {
    Language1->SaveLanguage(ChangeFileExt(Language1->LanguageFile(), ".new"));
    Key = 0;
  }
}

void TPrefForm::FormKeyPress(TObject*, char& Key) {
  if (OnKeyPage()) Key = 0;
}

void TPrefForm::BtnEnableAllClick(TObject*) {
  for (int i = 0; i < KeyList->RowCount(); ++i) KeyList->SetRow(i, {KeyList->Row(i).KeyText, true});
}

void TPrefForm::BtnDisableAllClick(TObject*) {
  for (int i = 0; i < KeyList->RowCount(); ++i) KeyList->SetRow(i, {KeyList->Row(i).KeyText, false});
}

void TPrefForm::BtnDefaultKeysClick(TObject*) {
  for (int i = 0; i < KeyList->RowCount(); ++i) KeyList->SetRow(i, {DefaultHotKeyText(i), KeyList->Row(i).Enabled});
}

std::vector<THotKeyRow> TPrefForm::KeyRows() const { return KeyList->Rows(); }

void TPrefForm::ShowKeyRows(const std::vector<THotKeyRow>& rows) {
  std::vector<std::string> actions;
  for (size_t i = 0; i < rows.size(); ++i) actions.push_back(ActionName(int(i)));
  KeyList->SetRows(rows, actions);
}

void TPrefForm::UpdateActionNames() {
  for (int i = 0; i < KeyList->RowCount(); ++i) KeyList->SetActionName(i, ActionName(i));
}
