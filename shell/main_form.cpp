#include "shell/main_form.h"

#include <algorithm>

#include "components/flat_dock.h"
#include "components/toolbar_controls.h"
#include "components/tray_icon.h"
#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/menus.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/gui/std_controls.h"
#include "platform/locale.h"
#include "proofing/correction_editor_adapter.h"
#include "proofing/correction_engine.h"
#include "proofing/spell.h"
#include "proofing/spell_global.h"
#include "shell/dictionary_warning.h"
#include "shell/lang_messages.h"
#include "shell/open_save.h"
#include "shell/language.h"
#include "shell/preferences.h"
#include "shell/program_start.h"
#include "shell/status_bar_text.h"
#include "tools/tool_messages.h"
#include "shell/sys_hot_key.h"
#include "textcore/app_files.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_messages.h"
#include "textcore/win_registry.h"

TMainForm* MainForm = nullptr;

QM_CLASS_INFO(TMainForm, TForm, [](TClassBuilder<TMainForm>&) {})

namespace {

constexpr int kStatusModified = 3;

}  // namespace

TMainForm::TMainForm(TComponent* owner) : TForm(owner) {
  Handler("FormCreate", &TMainForm::FormCreate);
  Handler("FormShow", &TMainForm::FormShow);
  Handler("FormCloseQuery", &TMainForm::FormCloseQuery);
  Handler("FormDestroy", &TMainForm::FormDestroy);
  Handler("FormKeyDown", &TMainForm::FormKeyDown);
  Handler("RichEditChange", &TMainForm::RichEditChange);
  Handler("SelectionChange", &TMainForm::SelectionChange);
  Handler("EditorLoadProgress", &TMainForm::EditorLoadProgress);
  Handler("ConvFwdButtonClick", &TMainForm::ConvFwdButtonClick);
  Handler("BtnStopClick", &TMainForm::BtnStopClick);
  Handler("NewWindow1Click", &TMainForm::NewWindow1Click);
  Handler("FileExitCmdClick", &TMainForm::FileExitCmdClick);
  Handler("Open1Click", &TMainForm::Open1Click);
  Handler("TrayIcon1DblClick", &TMainForm::TrayIcon1DblClick);
  Handler("OSOpenStart", &TMainForm::OSOpenStart);
  Handler("OSOpenSuccess", &TMainForm::OSOpenSuccess);
  Handler("OSOpenFinish", &TMainForm::OSOpenFinish);
  Handler("OSSaveStart", &TMainForm::OSSaveStart);
  Handler("OSSaveSuccess", &TMainForm::OSSaveSuccess);
  Handler("OSSaveFinish", &TMainForm::OSSaveFinish);
  Field("Editor", Editor);
  Field("MainMenu1", MainMenu1);
  Field("TrayIcon1", TrayIcon1);
  Field("Exit1", Exit1);
  Field("FileMenu", FileMenu);
  Field("NewWindow1", NewWindow1);
  Field("FileExitItem", FileExitItem);
  Field("ConvertMenu", ConvertMenu);
  Field("QuickConvert", QuickConvert);
  Field("Enc1", Enc1);
  Field("Enc2", Enc2);
  Field("ConvFwdButton", ConvFwdButton);
  Field("ConvBackButton", ConvBackButton);
  Field("ProgressArea", ProgressArea);
  Field("LabelOp", LabelOp);
  Field("ProgressBar1", ProgressBar1);
  Field("PanelPercent", PanelPercent);
  Field("PanelChanges", PanelChanges);
  Field("PanelETA", PanelETA);
  Field("BtnStop", BtnStop);
  Field("StatusBar", StatusBar);
  Field("OS", OS);
  BindDocuments();
  BindHistory();
  BindView();
  BindRuler();
  BindPrint();
  BindBookmarks();
  BindIni();
  BindFormat();
  BindToolbars();
  BindTyping();
  BindSuggest();
  BindStatus();
  BindEdit();
  BindMenus();
  BindSpellResults();
  BindGlobal();
  document_.SetOnChange([this](bool modified) {
    StatusBar->Panels()->Items(kStatusModified)->SetText(modified ? "Modified" : "");
  });
  Handler("FileSettingsExecute", &TMainForm::FileSettingsExecute);
  Handler("EditRemoveHTMLExecute", &TMainForm::EditRemoveHTMLExecute);
  Handler("ConvTransliterateExecute", &TMainForm::ConvTransliterateExecute);
  Handler("CaseToggleClick", &TMainForm::CaseToggleClick);
  Handler("ToolsChangeCaseExecute", &TMainForm::ToolsChangeCaseExecute);
  Handler("ConvUNICODEExecute", &TMainForm::ConvUNICODEExecute);
  Handler("ShowFindFormClick", &TMainForm::ShowFindFormClick);
  Handler("FindNextOccClick", &TMainForm::FindNextOccClick);
  Field("SearchMenu", SearchMenu);
  Handler("ToolsAutoConvertExecute", &TMainForm::ToolsAutoConvertExecute);
  Handler("ToolsAutoConvertUpdate", &TMainForm::ToolsAutoConvertUpdate);
  Field("ToolsAutoConvert", ToolsAutoConvert);
  Field("ToolsMenu", ToolsMenu);
  Handler("ConvDeTransliterateExecute", &TMainForm::ConvDeTransliterateExecute);
  Handler("ConvOCRFixExecute", &TMainForm::ConvOCRFixExecute);
  Handler("ForceCyrillicExecute", &TMainForm::ForceCyrillicExecute);
  Handler("ConvCodeToCharExecute", &TMainForm::ConvCodeToCharExecute);
  Handler("ToolsVerifyLangExecute", &TMainForm::ToolsVerifyLangExecute);
  Handler("ToolsMixedCharExecute", &TMainForm::ToolsMixedCharExecute);
  Handler("TextReformatExecute", &TMainForm::TextReformatExecute);
  Handler("ToolsSortExecute", &TMainForm::ToolsSortExecute);
  Handler("ConvGrammarCheckExecute", &TMainForm::ConvGrammarCheckExecute);
  Handler("Configure1Click", &TMainForm::Configure1Click);
  Handler("AddSpellWordsClick", &TMainForm::AddSpellWordsClick);
  Handler("ToolsCalcExecute", &TMainForm::ToolsCalcExecute);
  Handler("ToolsCharMapExecute", &TMainForm::ToolsCharMapExecute);
  Handler("ToolsGenCharExecute", &TMainForm::ToolsGenCharExecute);
  Handler("InsertSymbol1Click", &TMainForm::InsertSymbol1Click);
  Handler("ClipboardPane1Click", &TMainForm::ClipboardPane1Click);
  Handler("EditAutoPasteExecute", &TMainForm::EditAutoPasteExecute);
  Handler("EditMenuClick", &TMainForm::EditMenuClick);
  Handler("ConvRevisionsExecute", &TMainForm::ConvRevisionsExecute);
  Field("Settings1", Settings1);
  ReadForm();
}

TMainForm::~TMainForm() {
  BeforeDestruction();  // OnDestroy while the form is whole, also when deleted directly
  DetachProgressView(this);
  if (MainForm == this) {
    MainForm = nullptr;
    Application->OnHint = nullptr;
  }
}

// --- Life cycle ----------------------------------------------------------------------------------

void TMainForm::FormCreate(TObject*) {
  MainForm = this;
  closing_ = false;
  Enc1->SetItemIndex(1);
  Enc2->SetItemIndex(0);
  firstShow_ = true;
  Application->OnHint = [this](TObject* sender) { ShowHint(sender); };
  SetCaption("");
  WordWrap1Click(this);
  // The editor starts in Arial at the size the default font has on this screen.
  const TFont defaultFont;
  TFont font;
  font.SetName("Arial");
  font.SetSize(-(defaultFont.Height() * 72 / Screen->PixelsPerInch()));
  Editor->SetFont(font);
  SelectionChange(this);  // the toolbars show the editor's font
  AttachProgressView(this);
  CreateEngines();
  // The spelling component reports the end of a check here, and names the results' branches
  // in the interface language.
  if (SpellingInitialized()) {
    SpellChecker().OnFinish = [this](TObject* sender) { EndSpellCheck(sender); };
    SpellChecker().OnQueryName = [this](TObject* sender, TWordClass kind) {
      std::string name;
      SpellerMsg(sender, int(kind), name);
      return name;
    };
  }
  OS->SetDocumentState(&document_);
  OS->Converters().OnImportProgress = [this](TObject* sender, int percent) { return OperationProgress(sender, percent); };
  ResetDocument();
  OS->AddPlainTextExtensions({".prn", ".ini", ".inf", ".bat", ".qg", ".pl", ".cgi", ".c", ".cpp", ".h", ".hpp", ".pas"});
  InitIniView();
  InitTyping();
  InitDocuments();
  LoadToolbars();
  // The tray shows the program's own icon; without it the tray's default one.
  if (const TBitmap* icon = Application->Icon()) TrayIcon1->SetIcon(*icon);
}

void TMainForm::InitAfterForms() {
  engineRunning_ = false;
  ApplyStartupPreferences();
  BindFindForm();
  BindQuickForm();
  BindInsertingWindows();
  Application->SetHelpFile(AppDirFile("quillomark.hlp"));
  WarnMissingDictionaries();
  SetThreadLocale(1049);
  OpenStartDocument();
}

void TMainForm::FormShow(TObject*) {
  auto show = [this] {
    if (Editor->CanFocus()) Editor->SetFocus();
    UpdateStatusBar();
    if (!firstShow_) return;
    firstShow_ = false;
    // The view settings as they were stored with the window.
    WordWrap1Click(this);
    if (auto* clipboard = dynamic_cast<TMenuItem*>(FindComponent("ClipboardPane1")); clipboard && clipboard->Checked())
      ClipboardPane1Click(this);
    if (HistoryPane1->Checked()) HistoryPane1Click(this);
    ApplyRulerVisibility();
    ResetDocument();
    // What the start-up set in the editor (fonts, colours, views) is no step to undo.
    Editor->ClearUndo();
    // A recovery copy opened at start-up still has to be saved.
    if (recoveredAtStart_) {
      Editor->SetModified(true);
      SetModified(true);
    }
  };
  // The update counter is kept even when the steps before it fail.
  auto count = [this] {
    if (CountUpdateNotify() && OnWebDirectoryDue) OnWebDirectoryDue(this);
  };
  try {
    show();
  } catch (...) {
    count();
    throw;
  }
  count();
}

bool TMainForm::CountUpdateNotify() {
  TWinRegistry registry(kProductKey);
  const int shows = registry.ReadInteger("General", "UpdateNotify", 0);
  const bool due = shows > 20;
  registry.WriteInteger("General", "UpdateNotify", due ? 0 : shows + 1);
  return due;
}

void TMainForm::FormCloseQuery(TObject*, bool& CanClose) {
  // With the tray icon shown, closing only hides the window to the tray.
  if (TrayIcon1->IconVisible()) {
    TrayIcon1->HideMainForm();
    CanClose = false;
    return;
  }
  // Never while an operation runs: the window would go away under it.
  CanClose = !busy_ && OS->CloseQuery();
}

void TMainForm::FormDestroy(TObject*) {
  SaveToolbars();
  DoneDocuments();
  // The editor goes after the status bar and must not report to a half-freed window.
  Editor->OnChange = nullptr;
  Editor->OnSelectionChange = nullptr;
  document_.SetOnChange(nullptr);
  // A check still running stops, and reports to this window no more; its results let go of
  // the editor.
  if (SpellingInitialized()) {
    SpellChecker().Shutdown();
    SpellChecker().OnFinish = nullptr;
    SpellChecker().OnQueryName = nullptr;
  }
  CloseSpellResults();
}

void TMainForm::WndProc(TMessage& message) {
  if (message.Msg == WM_QUERYENDSESSION) {
    if (!busy_ && OS->CloseQuery()) {
      TrayIcon1->SetIconVisible(false);
      closing_ = true;
      Application->Terminate();
      message.Result = 1;
    } else {
      message.Result = 0;
    }
    return;
  }
  if (message.Msg == WM_LAYOUTSWITCH) {
    WMLayoutSwitch();
    return;
  }
  TForm::WndProc(message);
}

void TMainForm::FileExitCmdClick(TObject*) {
  // The icon goes first, so closing ends the program instead of hiding it to the tray.
  const bool inTray = TrayIcon1->IconVisible();
  TrayIcon1->SetIconVisible(false);
  if (inTray && !Visible()) TrayIcon1->ShowMainForm();  // a question about the document needs the window
  Close();
  // A refused close (the document's question cancelled) keeps the program in the tray.
  if (inTray && !Application->Terminated()) TrayIcon1->SetIconVisible(true);
}

void TMainForm::Open1Click(TObject*) { TrayIcon1->ShowMainForm(); }

void TMainForm::TrayIcon1DblClick(TObject*) {
  if (!Visible()) TrayIcon1->ShowMainForm();
}

void TMainForm::NewWindow1Click(TObject*) {
  TWinRegistry(kProductKey).WriteBool("General", "NewWindow", true);
  // A copy that did not start leaves no flag behind for the next second start to take.
  if (!StartProgramCopy()) TWinRegistry(kProductKey).WriteBool("General", "NewWindow", false);
}

void TMainForm::SetCaption(const std::string& fileName) {
  const std::string name = fileName.empty() ? ToolMessage("MainUntitled", "Untitled") : ExtractFileName(fileName);
  TForm::SetCaption(name + " - " + Application->Title());
}

void TMainForm::ShowHint(TObject*) {
  const std::string& hint = Application->Hint();
  StatusBar->SetSimplePanel(!hint.empty());
  if (!hint.empty()) StatusBar->SetSimpleText(hint);
}

void TMainForm::FormKeyDown(TObject*, uint16_t& Key, TShiftState Shift) {
  // While an operation runs Esc is the one key the window acts on.
  if (Key == VK_ESCAPE && busy_) {
    Key = 0;
    BtnStopClick(this);
  } else if (!busy_ && WindowKey(Key, Shift)) {
    Key = 0;
  } else if (Key == VK_ESCAPE && !busy_ && PrefForm && PrefForm->CBExitOnESC->Checked()) {
    Key = 0;
    Close();
  }
}

// --- Document state ------------------------------------------------------------------------------

void TMainForm::SetModified(bool value) {
  if (value)
    document_.MarkModified();
  else
    document_.MarkClean();
}

void TMainForm::ResetDocument() {
  Editor->SetModified(false);
  SetModified(false);
}

void TMainForm::RichEditChange(TObject*) {
  // Editing marks the document; only saving, opening and New make it clean again.
  if (Editor->Modified()) SetModified(true);
}

void TMainForm::SelectionChange(TObject*) {
  UpdateFormatControls();
  UpdateRuler();
  UpdateStatusBar();
  AdjustBookmarks();
}

// --- Opening and saving --------------------------------------------------------------------------

void TMainForm::OSOpenStart(TObject*) {
  // Busy before the progress display handles messages: no command may run under the open.
  SetBusy(true);
  ProgressStart(GetLangMessage("StatOpen"));
  Application->ProcessMessages();
}

void TMainForm::OSOpenSuccess(TObject*) {
  SetCaption(OS->FileName());
  ShowViewState();  // a plain file opens in the plain view
  DecodeOpenedText();
  ResetDocument();
  ClearHistory();
  CloseSpellResults();
  // The bookmarks belong to the document they were made in.
  ClearBookmarks();
  if (PrefForm && PrefForm->CBSaveBm->Checked()) LoadBookmarks();
  DocumentOpened();
  OfferIniView();
}

void TMainForm::OSOpenFinish(TObject*) {
  SetBusy(false);
  // The editor's selection events were off during the open: the bar shows the new document.
  UpdateStatusBar();
  if (Visible() && Editor->CanFocus()) Editor->SetFocus();
  ProgressEnd();
  ZoomBoxChange(this);
  Application->ProcessMessages();
}

void TMainForm::OSSaveStart(TObject*) {
  savingUnnamed_ = OS->FileName().empty();
  SetBusy(true);
  ProgressStart(GetLangMessage("StatSave"));
  Application->ProcessMessages();
  if (IniViewActive()) {
    Editor->Perform(WM_SETREDRAW, 0, 0);
    TreeToIniText();
  }
}

void TMainForm::OSSaveSuccess(TObject*) {
  SetCaption(OS->FileName());
  if (PrefForm && PrefForm->CBSaveBm->Checked()) SaveBookmarks();
  Editor->SetModified(false);
  SetModified(false);
  ShowDocumentEncoding();
  // A new document's recovery copy goes once the document has a file of its own.
  if (savingUnnamed_) DeleteFile(TOpenSave::AutoSaveName());
}

void TMainForm::OSSaveFinish(TObject*) {
  if (IniViewActive()) {
    // The editor shows its section again (the first one when that section is gone).
    ShowIniSection(lastIniNode_ ? lastIniNode_ : iniNodes_.empty() ? nullptr : iniNodes_.front().Node);
  }
  Editor->Perform(WM_SETREDRAW, 1, 0);
  SetBusy(false);
  if (Editor->CanFocus()) Editor->SetFocus();
  ProgressEnd();
  Application->ProcessMessages();
}

void TMainForm::UpdateStatusBar() {
  const int selStart = Editor->SelStart(), selLength = Editor->SelLength();
  const int line = int(Editor->Perform(EM_EXLINEFROMCHAR, 0, selStart)) + 1;
  const int column = selStart - int(Editor->Perform(EM_LINEINDEX, uintptr_t(line - 1), 0)) + 1;
  const int lineCount = int(Editor->Perform(EM_GETLINECOUNT, 0, 0));
  // Runs at every keystroke: only the characters around the caret are read, never the text.
  const RichEditControl& control = Editor->Control();
  const int length = control.TextLength();
  const int at = std::clamp(selStart, 0, std::max(0, length - 1)), from = std::max(0, at - 1);
  const std::u16string around = control.TextRange(from, std::min(length, at + 2));
  StatusBar->Panels()->Items(0)->SetText(LineText(line, lineCount, column));
  StatusBar->Panels()->Items(1)->SetText(PositionText(selStart, selLength, length));
  StatusBar->Panels()->Items(2)->SetText(CharCodeText(around, at - from));
  ShowDocumentEncoding();
  UpdateHistoryPreview(selStart, line);
}

// --- Progress display ----------------------------------------------------------------------------

void TMainForm::ShowGauge(int percent) { ProgressBar1->SetPosition(percent); }
void TMainForm::ShowOperation(const std::string& caption) { LabelOp->SetCaption(caption); }
void TMainForm::ShowPercentText(const std::string& text) { PanelPercent->SetCaption(text); }
void TMainForm::ShowChangesText(const std::string& text) { PanelChanges->SetCaption(text); }
void TMainForm::ShowRemainingText(const std::string& text) { PanelETA->SetCaption(text); }
