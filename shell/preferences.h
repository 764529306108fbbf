// TPrefForm: the preferences window ("Preferences..."). It holds the stored options that the
// whole program reads through its check boxes, the interface language (`Language1`, which
// answers GetLangMessage) and the hot keys of the global actions. OK stores and applies what
// the user changed; Cancel (or closing the window) drops every change.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/gui/form.h"
#include "shell/language_list.h"
#include "shell/preferences_hotkeys.h"
#include "shell/preferences_store.h"

class TButton;
class TCheckBox;
class TColorMenu;
class TComboBox;
class TEdit;
class TFileAssociation;
class TOpenSave;
class TSpeedButton;
class TFontDialog;
class TFormStorage;
class TLabel;
class TLanguage;
class THotKeyList;
class TPageControl;
class TShape;
class TTabSheet;
class TUpDown;

class TPrefForm : public TForm {
  QM_CLASS(TPrefForm, TForm)
public:
  explicit TPrefForm(TComponent* owner);
  ~TPrefForm() override;

  // --- Components of the layout ------------------------------------------------------------
  TPageControl* PageControl1 = nullptr;
  TTabSheet *TabGeneral = nullptr, *TabEditor = nullptr, *TabExternal = nullptr;
  TCheckBox *CBConfirmExit = nullptr, *CBStartup = nullptr, *CBTray = nullptr, *CBNoSplash = nullptr,
            *CBExitOnESC = nullptr, *CBRusOnOpen = nullptr, *CBEncOnOpen = nullptr, *CBAutoSave = nullptr,
            *CBMakeBackup = nullptr, *CBSaveBm = nullptr, *CBEnforceCyr = nullptr, *CBSmartQuotes = nullptr,
            *CBDetectURLs = nullptr;
  TComboBox* LangCombo = nullptr;
  TUpDown* SpinSaveInt = nullptr;  // auto-save interval in minutes, shown in SpinSaveEdit
  TEdit* SpinSaveEdit = nullptr;
  TShape* Shape1 = nullptr;  // its brush colour is the editor background
  TLabel* DefFont = nullptr;  // its font is the default font
  TButton *BtnSetFont = nullptr, *BtnSetBack = nullptr;
  THotKeyList* KeyList = nullptr;  // the hot keys of global actions 0 to 14
  TButton *Button2 = nullptr, *BtnCancel = nullptr, *Button1 = nullptr;  // OK, Cancel, "Options..."
  TFontDialog* FontDialog1 = nullptr;
  TColorMenu* BackgroundMenu = nullptr;  // the background colour: automatic or any other
  TLanguage* Language1 = nullptr;
  TFormStorage* FormStorage1 = nullptr;  // the window's place and the stored options

  // --- Hot keys ----------------------------------------------------------------------------
  // Fills the key list from the stored rows, action names in the current language.
  void LoadHotKeys();
  // Stores the key list's rows.
  void SaveHotKeys();
  // Hands the hot keys of the key list (entry i for action i) to OnApplyHotKeys.
  void ApplyHotKeys();
  // The name of global action `index` in the interface language.
  std::string ActionName(int index);
  // Registers the hot keys (entry i for action i; key 0 for none); set by the main window.
  std::function<void(const std::vector<THotKey>& hotKeys)> OnApplyHotKeys;
  // Shows or hides the tray icon as "Run in the System Tray" says; set by the main window.
  std::function<void(bool visible)> OnApplyTray;

  // --- Associations (preferences_associations.cpp) ------------------------------------------
  TTabSheet* TabAssoc = nullptr;
  THotKeyList* AssList = nullptr;  // rows: extension, checked when associated, type name
  TButton *BtnSelectAll = nullptr, *BtnDeselectAll = nullptr;  // tags 1 and 0
  TEdit* EditAdd = nullptr;
  TSpeedButton* SpeedButton1 = nullptr;  // adds EditAdd's extension
  TFileAssociation* ATShell1 = nullptr;
  // The document opener whose extensions the page offers; set by the main window.
  TOpenSave* OpenSave() const { return openSave_; }
  void SetOpenSave(TOpenSave* openSave);
  // One row for each extension the opener knows, checked when it opens with this program.
  void FillAssociations();
  // Associates the checked rows and restores the others (OK); failures are reported.
  void ApplyAssociations();

  // --- Languages ---------------------------------------------------------------------------
  // The language files listed in LangCombo, item for item.
  const std::vector<TLanguageItem>& Languages() const { return languages_; }

private:
  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormHide(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void FormKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void FormKeyPress(TObject* Sender, char& Key);
  void LangComboChange(TObject* Sender);
  void DefFontClick(TObject* Sender);
  void BtnSetBackClick(TObject* Sender);
  void Button1Click(TObject* Sender);
  void BackgroundMenuColorSelect(TObject* Sender, int ColorIndex, TColor Color);
  void BtnEnableAllClick(TObject* Sender);
  void BtnDisableAllClick(TObject* Sender);
  void BtnDefaultKeysClick(TObject* Sender);
  void BtnSelectAllClick(TObject* Sender);
  void SpeedButton1Click(TObject* Sender);
  void Notification(TComponent* component, TOperation operation) override;
  void AddAssociationRow(const std::string& extension);

  // The stored options: written on OK, read at creation.
  void SaveOptions();
  void RestoreOptions();
  // Stores and applies what the user changed (OK) / puts back what the window showed when it
  // opened, storing nothing (Cancel or closing the window).
  void CommitChanges();
  void DropChanges();
  // Uses the language of LangCombo's item `index` and applies it to every window.
  void UseLanguage(int index, bool apply);
  void UpdateDefFontCaption();
public:
  // The texts the window builds itself (the language names, the font's size unit) in the
  // interface language.
  void ShowLanguageTexts();
private:
  bool OnKeyPage() const;
  // The key list's rows, and showing rows in it (action names from the language).
  std::vector<THotKeyRow> KeyRows() const;
  void ShowKeyRows(const std::vector<THotKeyRow>& rows);
  void UpdateActionNames();

  std::vector<TLanguageItem> languages_;
  TOpenSave* openSave_ = nullptr;
  // What the window showed when it opened, for Cancel.
  bool shown_ = false;
  TStoredValues shownOptions_;
  int shownInterval_ = 0;
  int shownLanguage_ = -1;
};

// The one preferences window, made at start-up.
extern TPrefForm* PrefForm;
