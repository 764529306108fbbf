// TMainForm: the main window. It holds the document in its editor, runs the text operations
// inside one frame (busy state, work text, progress, history entry) and owns the program's
// life-cycle handlers (creation, set-up after every window exists, first show, close, destroy).
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/gui/form.h"
#include "shell/document_state.h"
#include "shell/foreign_text.h"
#include "shell/global_actions.h"
#include "shell/bookmarks.h"
#include "shell/command_rule.h"
#include "shell/history_list.h"
#include "shell/ini_text.h"
#include "shell/typing_aids.h"
#include "textcore/date_time_format.h"
#include "shell/operation.h"
#include "shell/preferences_hotkeys.h"
#include "shell/progress.h"

class TAction;
class TanlRuler;
class TPrintDialog;
class TRichPrinter;
class TNetDirect;
class TQGrammar;
class TDebugForm;
class TRichEditCorrectionEditor;
class TAdvSplitter;
class TDataStringTree;
class TControl;
struct TDataNode;
class TSaveDialog;
class TWideEdit;
class TActionList;
class TColorMenu;
class TComboBox;
class TFormStorage;
class TLabel;
class TMainMenu;
class TOpenSave;
class TMenuItem;
class TMRUManager;
class TPanel;
class TProgressBar;
class TRichEditW;
class TFlatDock;
class TFlatToolbar;
class TFlatToolbarButton;
class TLanguagesCombo;
class TStatusBar;
class TStatusPanel;
class TGotoLineForm;
class TTimer;
class TButton;
class TListBox;
class TPopupMenu;
class TThesaurusLink;
class TTrayIcon;
class TCyrForm;
class TFindForm;
class TQuickForm;
class TSpecialCharForm;
class THotKeyService;
class TSysHotKey;
class TFlatFontComboBox;

class TMainForm : public TForm, private TProgressView {
  QM_CLASS(TMainForm, TForm)
public:
  explicit TMainForm(TComponent* owner);
  ~TMainForm() override;

  // --- Components of the layout ------------------------------------------------------------
  TRichEditW* Editor = nullptr;
  TMainMenu* MainMenu1 = nullptr;
  TMenuItem *FileMenu = nullptr, *NewWindow1 = nullptr, *FileExitItem = nullptr;
  TMenuItem *ConvertMenu = nullptr, *QuickConvert = nullptr;
  TFlatDock *DockTop = nullptr, *DockBottom = nullptr, *DockLeft = nullptr, *DockRight = nullptr;
  TComboBox *Enc1 = nullptr, *Enc2 = nullptr;
  TFlatToolbarButton *ConvFwdButton = nullptr, *ConvBackButton = nullptr;
  TPanel* ProgressArea = nullptr;  // the operation label, gauge, panels and Stop button
  TLabel* LabelOp = nullptr;
  TProgressBar* ProgressBar1 = nullptr;
  TPanel *PanelPercent = nullptr, *PanelChanges = nullptr, *PanelETA = nullptr;
  TButton* BtnStop = nullptr;
  TStatusBar* StatusBar = nullptr;
  TOpenSave* OS = nullptr;  // opens and saves the document

  // --- Life cycle --------------------------------------------------------------------------
  // Set-up that needs every other window of the program.
  void InitAfterForms();
  // The document becomes unmodified (editor flag and document state).
  void ResetDocument();
  // "file - Quillomark" ("Untitled" without a file; only the name part of a path).
  void SetCaption(const std::string& fileName);
  // Closes the program even from the tray (the Exit commands).
  void FileExitCmdClick(TObject* Sender);
  // Starts another full copy of the program.
  void NewWindow1Click(TObject* Sender);
  // True once the session ends (log-off, shut-down).
  bool Closing() const { return closing_; }
  // Counts a show in "UpdateNotify"; true (and the count back at 0) when it was over 20.
  static bool CountUpdateNotify();
  // The web-services directory command (download and offer), run by the show that finds the
  // count due.
  TNotifyEvent OnWebDirectoryDue;

  // --- Document state ----------------------------------------------------------------------
  TDocumentState& Document() { return document_; }
  bool DocModified() const { return document_.Modified(); }
  void SetModified(bool value);

  // --- Command rule (main_form_commands.cpp) -----------------------------------------------
  // The window's commands fire only as the one command rule allows (no command while an
  // operation runs; the text commands only on a document with text).
  bool AllowCommand(TComponent* source) override;
  // The text commands' enabled states from the rule (the idle update).
  void UpdateCommands();

  // --- Operation frame ---------------------------------------------------------------------
  bool Busy() const { return busy_; }
  void SetBusy(bool busy);
  // Raises the silent abort when the editor is empty (unless the operation works on files only
  // and `needsText` is false).
  void BeginOperation(const std::string& caption, bool disableUndo, bool needsText = true);
  void GetWorkText();
  void PutWorkText();
  void EndOperation(const std::string& historyName);
  // Runs `body` between BeginOperation and EndOperation (which runs whatever happens); a
  // command started while another one runs is refused.
  void RunOperation(const std::string& caption, bool disableUndo, const std::string& historyName,
                    const std::function<void()>& body, bool needsText = true);
  // The program's progress callback: pumps messages, answers true to stop.
  bool OperationProgress(TObject* Sender, int Percent);
  void EditorLoadProgress(TObject* Sender, int Pos, int Size);
  void BtnStopClick(TObject* Sender);
  bool EngineRunning() const { return engineRunning_; }
  // The spelling component's messages: "SpellerMsg" + the decimal number from the interface
  // language.
  void SpellerMsg(TObject* Sender, int MsgId, std::string& Text);
  // The end of a spell check: an information box with "EndSpellCheck".
  void EndSpellCheck(TObject* Sender);

  std::string WorkText;  // code page 1251
  int WorkStart = 0;     // 0-based editor position
  int WorkLength = 0;    // editor characters WorkText replaces
  // The processing options: what the processing-options window shows, when it exists.
  TProcessingOptions& ProcessingOptions();

  // --- Encoding conversion -----------------------------------------------------------------
  // Menu items (tag 1-4: from that column to WIN, 11-14: from WIN to column tag-10) and the
  // toolbar buttons (tag 0: Enc1 to Enc2, tag 1: back).
  void ConvFwdButtonClick(TObject* Sender);
  // Recodes WorkText between two columns; false (WorkText unchanged) when stopped.
  bool RecodeWorkText(int source, int target);
  // The encoding conversion of the selection or the whole text, in the operation frame.
  void RecodeCommand(int source, int target);

  // --- Cyrillic decoder (main_form_decoder.cpp) ----------------------------------------------
  TAction* ToolsAutoConvert = nullptr;
  // Shows the decoder window and acts on its choice: search (1), simple change (6), queue (10).
  void ToolsAutoConvertExecute(TObject* Sender);
  // The decoder, like the other text commands, is there only while the editor holds text
  // (UpdateCommands).
  void ToolsAutoConvertUpdate(TObject* Sender);
  // Edit > Paste Russian: the clipboard's text, decoded silently one step deep when "Auto-detect
  // encoding in plain files" is on, replaces the selection.
  void PasteRussian1Click(TObject* Sender);

  // --- Text conversion and the find form (main_form_convert.cpp) ---------------------------
  TMenuItem* SearchMenu = nullptr;
  // The find form, made on first use and given the editor and the window's events then.
  TFindForm& FindWindow();
  // Gives the find form (when made) the editor and the window's events.
  void BindFindForm();
  // Removes HTML (tags and entities) from the selection or the whole text.
  void EditRemoveHTMLExecute(TObject* Sender);
  // Cyrillic to Latin over the selection or the whole text, after the exceptions list.
  void ConvTransliterateExecute(TObject* Sender);
  // The case items (tag 1 sentence, 2 upper, 3 lower, 4 title, 5 toggle) on the selection or the
  // word at the caret.
  void CaseToggleClick(TObject* Sender);
  // The case forms of the selection or the word at the caret in the pick list; a pick replaces it.
  void ToolsChangeCaseExecute(TObject* Sender);
  // The locale converter on the selection (the whole text when nothing is selected).
  void ConvUNICODEExecute(TObject* Sender);
  // The find form on page 1-4 (Find, Replace, Multi, Attributes), with the selection's text.
  void ShowFindForm(int page);
  void ShowFindFormClick(TObject* Sender);
  // Searches the selection (or the word at the caret) again: tag 1 backward, else forward.
  void FindNextOccClick(TObject* Sender);

  // --- Correction engines (main_form_engines.cpp) -------------------------------------------
  TMenuItem* ToolsMenu = nullptr;
  std::unique_ptr<TQGrammar> QGrammar;   // de-transliteration ("translit.qg")
  std::unique_ptr<TQGrammar> CLGrammar;  // clean-up of scanned text ("ocrclean.qg")
  // De-transliteration and OCR clean-up of the selection or the whole text; status-bar panel 8
  // gets the run time.
  void ConvDeTransliterateExecute(TObject* Sender);
  void ConvOCRFixExecute(TObject* Sender);
  // De-transliterates the selection or the word at the caret with the first scheme.
  void ForceCyrillicExecute(TObject* Sender);

  // --- Tool windows (main_form_tools.cpp) ---------------------------------------------------
  // The mail decoder on the selection or the whole text.
  void ConvCodeToCharExecute(TObject* Sender);
  // Verify language and mixed characters on the selection or the whole text, in the frame.
  void ToolsVerifyLangExecute(TObject* Sender);
  void ToolsMixedCharExecute(TObject* Sender);
  // Reformat of the selection or the whole text, its merges decided by QGrammar's word tests.
  void TextReformatExecute(TObject* Sender);
  // Lists and sorting; a missing input gives its message and changes nothing.
  void ToolsSortExecute(TObject* Sender);
  // Spelling: the check of the document, its options and the user's new words.
  void ConvGrammarCheckExecute(TObject* Sender);
  void Configure1Click(TObject* Sender);
  void AddSpellWordsClick(TObject* Sender);
  // "Recent Results...": the results window of the last automatic check, offered (the item
  // enabled) when its submenu opens while there are results; opening or starting a document
  // closes them.
  void ShowSpellListClick(TObject* Sender);
  void CheckGrammar1Click(TObject* Sender);
  void CloseSpellResults();
  // The utilities shown beside the main window: calculator, character map, on-screen keyboard.
  void ToolsCalcExecute(TObject* Sender);
  void ToolsCharMapExecute(TObject* Sender);
  void ToolsGenCharExecute(TObject* Sender);
  // "Special Symbol..." (Format > Insert): the special-characters window on the editor.
  void InsertSymbol1Click(TObject* Sender);
  // The special-characters window, made on first use (a menu, a symbol's shortcut, the character
  // map's Add) and given the editor then.
  TSpecialCharForm& SymbolsWindow();
  // "Show Clipboard": the clipboard window is visible exactly while the item is checked.
  void ClipboardPane1Click(TObject* Sender);
  // Clipboard capture mode on or off (the clipboard window's button); the Edit menu shows it.
  void EditAutoPasteExecute(TObject* Sender);
  void EditMenuClick(TObject* Sender);
  // "History Manager...": the history in its window; its answer loads, clears or chooses.
  void ConvRevisionsExecute(TObject* Sender);
  // The quick conversion window, made on first use with the work text's conversions, the
  // engines and the default font.
  TQuickForm& QuickWindow();
  // Gives the quick conversion window (when made) the work text's conversions and the engines.
  void BindQuickForm();
  // Gives the windows that insert into the text (symbols, character map, clipboard, keyboard)
  // the editor, none while an operation runs; those made at start-up get it from the start, so
  // that their keys and buttons work before they were ever shown, the others when made.
  void BindInsertingWindows();

  // --- History of changes (main_form_history.cpp) ------------------------------------------
  TComboBox* RevList = nullptr;       // the entries, newest first
  TRichEditW* RevMemo = nullptr;      // the chosen entry's text
  TWideEdit* EditPreview = nullptr;   // the chosen entry around the caret
  TPanel* OriginalPreview = nullptr;  // the history bar on TBHistory
  TAdvSplitter* HistPanes = nullptr;  // the editor beside the history memo
  TMenuItem *HistoryMain = nullptr, *HistoryPane1 = nullptr, *ClearAll1 = nullptr;
  TAction *ConvLoadRev = nullptr, *ConvSaveRev = nullptr;
  TSaveDialog* RevSaveDialog = nullptr;
  // Stores the editor text as entry `name`, unless it is over the "Ignore files over" size.
  void AddToHistory(const std::string& name);
  // Empties the list, the memo and the preview.
  void ClearHistory();
  const THistoryList& History() const { return history_; }
  // The entries' names, oldest first.
  std::vector<std::string> HistoryNames() const;
  // "Add to History": the editor text whatever its size.
  void ConvSendToHistoryExecute(TObject* Sender);
  void RevListChange(TObject* Sender);
  // "Load from History": the chosen entry as a new document (after the question).
  void ConvLoadRevExecute(TObject* Sender);
  // "Save to File": the chosen entry into a file.
  void ConvSaveRevExecute(TObject* Sender);
  // "Clear All", after the question.
  void ClearAll1Click(TObject* Sender);
  void ConvLoadRevUpdate(TObject* Sender);
  // Shows or hides the history pane beside the editor (from the menu: toggles its check).
  void HistoryPane1Click(TObject* Sender);

  // --- Documents (main_form_documents.cpp) --------------------------------------------------
  TActionList* ActionList1 = nullptr;
  TAction *FileNewCmd = nullptr, *FileOpenCmd = nullptr, *FileSaveCmd = nullptr, *FileSaveAsCmd = nullptr;
  TMenuItem *RecentFiles1 = nullptr, *FavoriteFiles1 = nullptr, *AddCurrent1 = nullptr;
  TFormStorage* FormStorage1 = nullptr;  // the window's place, the recent and favourite files
  TMRUManager* MRUManager1 = nullptr;  // recent files
  TMRUManager* MRUManager2 = nullptr;  // favourite files
  TTimer* Timer1 = nullptr;            // auto-save
  // The File commands; each goes through OS.
  void FileNew(TObject* Sender);
  void FileOpen(TObject* Sender);
  void FileSave(TObject* Sender);
  void FileSaveAs(TObject* Sender);
  // Puts the document's file into the favourite files.
  void AddCurrent1Click(TObject* Sender);
  // A recent or favourite entry: opened with its remembered import format.
  void MRUManagerClick(TObject* Sender, const std::string& RecentName, const std::string& Caption, int UserData);
  // Files dropped on the window: the first one is opened.
  void DropFiles(const std::vector<std::string>& Files);
  // The auto-save tick: a recovery copy of a modified document while no operation runs.
  void Timer1Timer(TObject* Sender);

  // --- Bookmarks (main_form_bookmarks.cpp) --------------------------------------------------
  TPanel* BmPanel = nullptr;   // shown while there are bookmarks
  TComboBox* BmSet = nullptr;  // the bookmarks' names; choosing one goes to it
  TAction* FindAddBookmark = nullptr;
  const std::vector<TBookmark>& Bookmarks() const { return bookmarks_; }
  // A bookmark at the caret, named after its number and the selection.
  void FindAddBookmarkExecute(TObject* Sender);
  // Enabled while no bookmark is at the caret.
  void FindAddBookmarkUpdate(TObject* Sender);
  void BmSetChange(TObject* Sender);
  void DeleteBm1Click(TObject* Sender);
  void ClearBookmarks();
  // The bookmarks file beside the document: written, or deleted when there are no bookmarks.
  void SaveBookmarks();
  void LoadBookmarks();
  // Keeps the bookmarks in step with the edit since the last call (every selection change).
  void AdjustBookmarks();

  // --- INI view (main_form_ini.cpp) ----------------------------------------------------------
  TDataStringTree* TreeStorage = nullptr;  // one node per section
  TControl* Splitter1 = nullptr;  // the bar between the tree and the editor
  TMenuItem* ViewINI = nullptr;
  TAction *EditAddSection = nullptr, *EditDelSection = nullptr, *EditRenSection = nullptr;
  bool IniViewActive() const;
  // After the question about the formatting, the document as a tree of sections.
  void ViewINIClick(TObject* Sender);
  // The editor text as sections in the tree, the first one in the editor.
  void IniTextToTree();
  // The sections (the one in the editor with its edits) back into the editor as one text.
  void TreeToIniText();
  // Forgets the tree without writing it back.
  void ClearIniTree();
  // Chooses section `index` (0-based, in the tree's order) as a click in the tree does.
  void ChooseIniSection(int index);
  // The section names, in the tree's order.
  std::vector<std::u16string> IniSectionNames();
  void EditAddSectionExecute(TObject* Sender);
  void EditDelSectionExecute(TObject* Sender);
  void EditRenSectionExecute(TObject* Sender);
  void EditAddSectionUpdate(TObject* Sender);

  // --- Formatting (main_form_format.cpp) ----------------------------------------------------
  TFlatFontComboBox* FontName = nullptr;  // the installed families, the recent ones first
  TComboBox* FontSize = nullptr;
  TFlatToolbarButton *BoldButton = nullptr, *ItalicButton = nullptr, *UnderlineButton = nullptr;
  TFlatToolbarButton *SubscriptButton = nullptr, *SuperscriptButton = nullptr;  // tags 1 and 2
  // Tag: the alignment (left 0, right 1, centre 2, justify 3).
  TFlatToolbarButton *LeftAlign = nullptr, *CenterAlign = nullptr, *RightAlign = nullptr, *JustifyAlign = nullptr;
  TFlatToolbarButton *BulletsButton = nullptr, *NumbersButton = nullptr;  // tags 1 and 2
  TFlatToolbarButton *DecIndentBtn = nullptr, *IncIndentBtn = nullptr;
  // The colour buttons apply the colour stored with them; their menus choose another one.
  TFlatToolbarButton *TextColorBtn = nullptr, *BackColorBtn = nullptr;
  TColorMenu *ColorMenu = nullptr, *HighlightMenu = nullptr;
  TLanguagesCombo* LanguagesCombo1 = nullptr;
  void FontNameChange(TObject* Sender);
  // The typed or chosen size (12 when it is no number).
  void FontSizeChange(TObject* Sender);
  void FontSizeKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  // Bold and italic buttons.
  void StyleButtonClick(TObject* Sender);
  // Down: the remembered underline type; up: none.
  void UnderlineButtonClick(TObject* Sender);
  void ScriptButtonClick(TObject* Sender);
  void AlignButtonClick(TObject* Sender);
  // Down: bullets, or numbers in the remembered style, follower and start; up: none.
  void BulletsButtonClick(TObject* Sender);
  // The ruler's decrease and increase indent on the selection's paragraphs.
  void DecIndentBtnClick(TObject* Sender);
  void IncIndentBtnClick(TObject* Sender);
  // The selection's text colour or highlight := the colour stored with the button.
  void TextColorBtnClick(TObject* Sender);
  void BackColorBtnClick(TObject* Sender);
  TColor TextColor() const { return textColor_; }
  TColor HighlightColor() const { return highlightColor_; }
  // A colour chosen in ColorMenu or HighlightMenu: stored with its button, drawn on its glyph
  // and applied.
  void ColorMenuColorSelect(TObject* Sender, int ColorIndex, TColor Color);
  // The selection and the editor take the chosen language.
  void LanguagesCombo1Change(TObject* Sender);
  // "Remove Colour": the selection (or all the text) in the default colours.
  void EditNoColorExecute(TObject* Sender);
  // "Remove Color Checkmark": the whole text loses its highlighting; the caret goes back to
  // where the selection started.
  void RemoveColorCheckmark1Click(TObject* Sender);
  // History > "Font...": the history memo's font from the font dialog.
  void Font1Click(TObject* Sender);
  TColorMenu* BackgroundMenu = nullptr;  // the editor background: automatic or any other
  // View > "Background Color...": BackgroundMenu at the mouse cursor.
  void BackgroundColor2Click(TObject* Sender);
  // The chosen colour (automatic: the window colour) becomes the background and is stored.
  void BackgroundMenuColorSelect(TObject* Sender, int ColorIndex, TColor Color);
  // The editor background and the preferences' sample; the window and default colours mean
  // the system colour.
  void SetEditorBackground(TColor color);
  // The drop-down window 27 pixels under the clicked button (Sender), on this window's editor:
  // the numbering panel for the numbering button (tag 1), else the line-spacing panel.
  void BtnNumStyleClick(TObject* Sender);
  // The same with the underline-style panel.
  void UnderStyleBtnClick(TObject* Sender);
private:
  void BindBackground();  // main_form_background.cpp
  void BindNumStyle();    // main_form_num_style.cpp
  void DropNumStyle(TObject* button, int panel);
public:
  // The controls show the selection's attributes.
  void UpdateFormatControls();

  // --- Typing (main_form_typing.cpp) --------------------------------------------------------
  TAction *EditKbdRussian = nullptr, *EditKbdEnglish = nullptr, *EditKbdEmulated = nullptr,
          *EditKbdFonetic = nullptr;  // exactly one checked
  // One of the four input-mode actions: its layout activated, it alone checked.
  void InputModeClick(TObject* Sender);
  TInputMode InputMode() const;
  // Status-bar panel 7 shows the input mode; the Russian and English actions follow the layout.
  void KeyboardLayout1Click(TObject* Sender);
  // A typed character: the mode's key, the typing automation at a word end, a smart quote.
  void EditorKeyPress(TObject* Sender, char& Key);
  // Ctrl+Enter converts the word before the caret to the other layout; Ctrl with B, I, U, L,
  // E, R, J, [ or ] presses that formatting button (nothing in the plain view).
  void EditorKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  // In the emulated and phonetic modes the last three characters are read again in the code
  // page of the locale converter's locale.
  void EditorKeyUp(TObject* Sender, uint16_t& Key, TShiftState Shift);
  // "Convert Keyboard Layout": the word before the caret (or the selection) retyped on the
  // other layout, and the keyboard switched to it.
  TAction* ForceKbdLayout = nullptr;
  void ForceKbdLayoutExecute(TObject* Sender);
  // Posted by Alt+Shift; WMLayoutSwitch handles it.
  static constexpr unsigned WM_LAYOUTSWITCH = WM_USER + 137;
  // After Alt+Shift: the next layout when the system kept the one seen at the last Alt+Shift;
  // the emulated and phonetic modes end.
  void WMLayoutSwitch();
  int SavedLayout = -1;  // the layout seen at the last Alt+Shift; negative when none

  // --- Status-bar indicators (main_form_status.cpp) ------------------------------------------
  TAction *EditAutoSpell = nullptr, *EditAutoSwitch = nullptr, *EditAutoDeTrans = nullptr;
  // Panels 3 to 6 show their indicator's picture while their text is set.
  void StatusBarDrawPanel(TStatusBar* Bar, TStatusPanel* Panel, const TRect& Rect);
  // Spelling while typing on or off (panel 4).
  void EditAutoSpellExecute(TObject* Sender);
  // Automatic keyboard switching or de-transliteration (the action sent): on or off; switching
  // one on switches the other off (panels 5 and 6).
  void EditAutoSwitchExecute(TObject* Sender);

  // --- Edit commands (main_form_edit.cpp) -----------------------------------------------------
  TAction *EditUndoCmd = nullptr, *EditRedoCmd = nullptr, *EditCutCmd = nullptr, *EditCopyCmd = nullptr,
          *EditPasteCmd = nullptr, *EditSelectAll = nullptr, *EditClear1 = nullptr;
  // The command of the action sent (nothing while an operation runs).
  void EditCommandExecute(TObject* Sender);
  // Cut, copy, delete and Copy Info follow the selection; undo, redo and paste the editor.
  void EditUndoCmdUpdate(TObject* Sender);
  // "Go to": the caret to a line (keeping its column) or to a character.
  void GotoLine1Click(TObject* Sender);
  // What the confirmed dialog asks for.
  void GoTo(const TGotoLineForm& dialog);

  // --- Suggestions and look-ups (main_form_suggest.cpp, main_form_lookup.cpp) ----------------
  TListBox* SuggList = nullptr;  // the pick list; tag 0 or more suggestions, -1 dates, -2 fragments
  int LastPick = -1;             // the insertion-list entry last put into the text
  TPopupMenu* PopupMenu1 = nullptr;  // the editor's context menu
  TMenuItem *SpellerSuggestions1 = nullptr, *InternetLookup2 = nullptr, *LastUsed2 = nullptr;
  TAction *ToolsVerbal = nullptr, *ToolsThesaurus = nullptr;
  TThesaurusLink* Th = nullptr;
  // The date and time the date-time list writes out, and the names and formats it uses.
  std::function<TDateTimeValue()> Clock;
  TDateTimeSettings DateTimeSettings;
  // Fills SuggList with `entries` (what each puts into the text), tags it and shows it at the
  // caret with the first entry chosen; an empty list stays hidden.
  void ShowSuggList(const std::vector<std::u16string>& entries, int tag);
  const std::vector<std::u16string>& SuggEntries() const { return suggEntries_; }
  // The chosen entry into the text (or into a user dictionary for "+word").
  void PickSuggestion();
  void SuggListKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void SuggListKeyPress(TObject* Sender, char& Key);
  void SuggListMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void SuggListExit(TObject* Sender);
  // A right click outside the selection selects the word under the mouse.
  void EditorMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  // Format > Insert: the date-time formats and the text fragments in the pick list.
  void DateTime1Click(TObject* Sender);
  void HTMLTag1Click(TObject* Sender);
  // File > System Files (tag 0-4): the user's copy of that program file as a document.
  void SystemFileClick(TObject* Sender);
  // The look-up services at the top of InternetLookup2 (rebuilt when "interlook.ini" changes).
  void BuildLookupMenu();
  // A look-up item or LastUsed2: the selection (or the word at the caret) looked up on the web.
  void LookupWord(TObject* Sender);
  // LastUsed2 is enabled once a service has been used.
  void InternetLookup2Click(TObject* Sender);
  // Rebuilds the spelling suggestions for the selection each time the context menu opens.
  void PopupMenu1Popup(TObject* Sender);
  void SuggestionItemClick(TObject* Sender);
  // The number at the caret in words in every language, into the pick list.
  void ToolsVerbalExecute(TObject* Sender);
  // The selection (or the word at the caret) to the thesaurus; its choice replaces it.
  void ToolsThesaurusExecute(TObject* Sender);

private:
  void BindSuggest();
  void SelectWordAt(int position);
  // The language of the selection's attributes.
  unsigned SelectionLanguage() const;
  std::vector<std::u16string> suggEntries_;
  int suggWordStart_ = -1, suggWordLength_ = 0;  // the typed word the suggestions are for
  bool suggCaseForms_ = false;  // the list holds case forms: a "+" entry is text, not a new word
  std::map<const TMenuItem*, std::u16string> suggestionWords_;
  std::map<const TMenuItem*, std::string> lookupTemplates_;
  std::string lastLookup_;  // LastUsed2's template
  TFileStamp lookupFileStamp_;
  bool lookupMenuBuilt_ = false;

public:

  // --- Status bar and views (main_form_view.cpp) -------------------------------------------
  TMenuItem *ViewFormatted = nullptr, *ViewPlain = nullptr, *WordWrap1 = nullptr, *CopyInfo1 = nullptr;
  TComboBox* ZoomBox = nullptr;
  // Position, selection and character code; the history preview line.
  void UpdateStatusBar();
  // The status bar's last panel: the encoding the document is saved in.
  void ShowDocumentEncoding();
  // The plain (true) or formatted view: check marks, link detection, the plain text's font.
  void UpdateViewMode(bool plain);
  // Menus, toolbars and ruler show the editor's view mode (after an open or a new document).
  void ShowViewState();
  void ViewFormattedClick(TObject* Sender);
  // Asks before the formatting is dropped.
  void ViewPlainClick(TObject* Sender);
  // From the menu toggles its check; the editor and the history memo wrap words when checked.
  void WordWrap1Click(TObject* Sender);
  // The zoom typed or chosen in ZoomBox; a value out of range is refused with a message.
  void ZoomBoxChange(TObject* Sender);
  void ZoomBoxKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  // The editor's zoom in percent.
  int Zoom();

  // --- Toolbars (main_form_toolbars.cpp) ---------------------------------------------------
  TFlatToolbar *TBFile = nullptr, *TBEdit = nullptr, *TBView = nullptr, *TBConvert = nullptr, *TBTools = nullptr;
  TFlatToolbar *TBFont = nullptr, *TBParagraph = nullptr, *TBLanguage = nullptr, *TBHistory = nullptr;
  TPopupMenu* ToolbarsPopup = nullptr;  // items tagged with their toolbar's number
  TMenuItem *FontTB = nullptr, *ParagraphTB = nullptr, *LanguageTB = nullptr, *Toolbars1 = nullptr;
  // The toolbar of a number (0 File, 1 Edit, 2 Language, 3 Font, 4 Paragraph, 5 Convert,
  // 6 Tools, 7 History, 8 View); nullptr for any other.
  TFlatToolbar* Toolbar(int number) const;
  // A toolbar item toggles its check and shows its toolbar exactly when checked; "Hide All"
  // (tag -1) hides every toolbar.
  void TBClick(TObject* Sender);
  // Every toolbar, the formatting ones only in the formatted view.
  void ShowAll1Click(TObject* Sender);
  // "Align all": the toolbars side by side in their fixed rows, the history toolbar at the bottom.
  void ResetAll1Click(TObject* Sender);
  // View > "Toolbars...": the toolbar menu at the mouse cursor.
  void Toolbars1Click(TObject* Sender);
  // The items' check marks show which toolbars are visible.
  void ToolbarsPopupPopup(TObject* Sender);
  // The toolbar places stored under "ToolbarPos"; a damaged entry leaves the toolbars as they are.
  void LoadToolbars();
  void SaveToolbars();
  // "Copy Info": the selection's offset, length, line and column on the clipboard.
  void CopyField1Click(TObject* Sender);

  // --- Ruler and web directory (main_form_ruler.cpp) -----------------------------------------
  TanlRuler* Ruler1 = nullptr;
  TMenuItem* ShowRuler1 = nullptr;  // View > "Show Ruler"
  TNetDirect* NetDirect1 = nullptr;
  // View > "Show Ruler": toggles the item's check; the ruler is shown exactly when checked.
  void ShowRuler1Click(TObject* Sender);
  // The ruler follows "Show Ruler" (at the first show).
  void ApplyRulerVisibility();
  // A dragged marker becomes the paragraph's indent (points = pixels x 3/4).
  void Ruler1IndentChange(TObject* Sender, int IndentID);
  // The ruler shows the indents of the selection's paragraph.
  void UpdateRuler();
  // Help > "News && Updates": the web-services directory, shown whatever came down.
  void QuillomarkUpdatesClick(TObject* Sender);
  // The web-services directory from its configured address ("DirectoryURL", none by default),
  // shown when `force` is set or it changed.
  void RunWebDirectory(bool force);
private:
  void BindRuler();
  void Ruler1Resize(TObject* Sender);
public:

  // --- Printing (main_form_print.cpp) -------------------------------------------------------
  TRichPrinter* RichPrinter = nullptr;
  TPrintDialog* PrintDialog1 = nullptr;
  // File > "Page Setup ...": the printer's page setup dialog.
  void PageSetup1Click(TObject* Sender);
  // File > "Print Preview": the editor's pages in the preview window, titled with the caption.
  void PrintPreview1Click(TObject* Sender);
  // File > "Print...": after the print dialog, the editor is printed, titled with the caption.
  void FilePrintItemClick(TObject* Sender);
private:
  void BindPrint();
public:

  // --- Preferences (main_form_preferences.cpp) ---------------------------------------------
  TMenuItem* Settings1 = nullptr;
  // Command Settings: shows the preferences window; after OK the program follows its options.
  void FileSettingsExecute(TObject* Sender);
  // Backup switch, URL detection, auto-save interval and processing options from the options.
  void ApplyPreferences();
  // The default font and background become the editor's (at start-up, before any text).
  void ApplyDefaultFont();
  // Milliseconds between auto-recovery copies: the preferences' minutes x 60000.
  unsigned AutoSaveInterval() const { return autoSaveInterval_; }
  // Kept for the system-wide hot keys: entry i for global action i, key 0 for none.
  const std::vector<THotKey>& GlobalHotKeys() const { return globalHotKeys_; }
  // The tray icon is shown, and minimising hides to the tray, exactly when `visible`.
  void ShowTrayIcon(bool visible);
  TTrayIcon* TrayIcon1 = nullptr;
  TMenuItem* Exit1 = nullptr;  // the tray menu's Exit, disabled while an operation runs
  // The tray menu's Open and the icon's double click show the main window.
  void Open1Click(TObject* Sender);
  void TrayIcon1DblClick(TObject* Sender);

  // --- Global actions (main_form_global.cpp) -------------------------------------------------
  std::unique_ptr<TSysHotKey> SysHotKey1;  // the hot keys of the global actions, entry i for action i
  // Registers `hotKeys` (entry i for global action i, key 0 for none) as the system-wide hot keys.
  void ApplyGlobalHotKeys(const std::vector<THotKey>& hotKeys);
  // The hot keys report here: entry Index starts global action Index.
  void SysHotKey1HotKey(int Index);
  // Global action `Action` on the foreground application's selection, or in this window when
  // it is in front; nothing while an action, an operation or an engine runs.
  void ExecuteGlobalAction(int Action);
  bool GlobalActionRunning() const { return globalActionRunning_; }
  // The desktop the hot keys and the round trip reach (tests put their own).
  void UseHotKeyService(std::unique_ptr<THotKeyService> service);
  void UseForeignApp(std::unique_ptr<TForeignApp> app);
  int GlobalSource = 0, GlobalTarget = 0;  // code table columns of the recode transform
  TForeignWaits ForeignWaits;              // the round trip's waits
private:
  void BindGlobal();
  // The round trip with the foreground application, this window kept out of its way.
  void TransformForeignText(const TForeignTransformEvent& transform);
  void RunForeignTransform(TForeignTransform transform, const std::u16string& text, bool& cancel,
                           std::u16string& result);
  // The quick-conversion window on the copied text.
  void QuickPanelTransform(const std::u16string& text, bool& cancel, std::u16string& result);
  // A new document holding `text`, in this window brought to front; false when New was cancelled.
  bool OpenAsNewDocument(const std::u16string& text);
  std::unique_ptr<TForeignApp> foreignApp_;
  bool globalActionRunning_ = false;
public:

  // --- Menu commands without a home of their own (main_form_menus.cpp) ---------------------
  // The editor's paste-special and insert-object windows (pictures and files, embedded or linked).
  void PasteSpecial1Click(TObject* Sender);
  void InsertObjectClick(TObject* Sender);
  // The selected object: opened with the desktop's program, or its properties shown. The
  // context menu's items offering them are there only while an object is selected.
  void ObjectOpenClick(TObject* Sender);
  void ObjectPropertiesClick(TObject* Sender);
  // A double click on an object (editor point X, Y) selects and opens it; false elsewhere.
  bool OpenObjectAt(int X, int Y);
  TMenuItem *ObjectOpen1 = nullptr, *ObjectProperties1 = nullptr, *ObjectProperties2 = nullptr,
            *PopupSepObject = nullptr;
  // "Remove Formatting": the selection in the default font and background, Russian, its line
  // breaks made paragraph ends.
  void EditToPlainClick(TObject* Sender);
  // The history panes side by side (tag 0) or one above the other (tag 1), equal, swapped.
  void SplitPanesClick(TObject* Sender);
  void CenterPanes1Click(TObject* Sender);
  void SwapPanes1Click(TObject* Sender);
  // Help: the product's web page, the about box.
  void QuillomarkWWWpage1Click(TObject* Sender);
  void HelpAboutItemClick(TObject* Sender);
  // "Clear All Bookmarks" of the bookmark tabs' menu.
  void ClearBookmarksClick(TObject* Sender);

private:
  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void FormDestroy(TObject* Sender);
  void FormKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void ShowHint(TObject* Sender);
  void RichEditChange(TObject* Sender);
  void OSOpenStart(TObject* Sender);
  void OSOpenSuccess(TObject* Sender);
  // A plain 8-bit file just opened: read again as code page 1251 and decoded silently, as the
  // preferences ask.
  void DecodeOpenedText();
  // The decoder window wired to this window's progress, messages and dictionary; nullptr when
  // the program has none.
  TCyrForm* Decoder();
  void OSOpenFinish(TObject* Sender);
  void OSSaveStart(TObject* Sender);
  void OSSaveSuccess(TObject* Sender);
  void OSSaveFinish(TObject* Sender);
  void SelectionChange(TObject* Sender);
  void WndProc(TMessage& message) override;
  // Documents: lists restored and drops accepted (creation); the start-up document opened or the
  // unnamed document's recovery copy offered, and the auto-save timer started (set-up); lists
  // stored (destruction); what an open, a new document and a save add to the window.
  void BindDocuments();
  void InitDocuments();
  void OpenStartDocument();
  void DoneDocuments();
  void DocumentOpened();
  void OSNewDoc(TObject* Sender);
  bool savingUnnamed_ = false;   // the save in progress is the first one of a new document
  bool recoveredAtStart_ = false;  // the start-up document is a recovery copy, still unsaved

  // TProgressView: the operation label, gauge and panels.
  void ShowGauge(int percent) override;
  void ShowOperation(const std::string& caption) override;
  void ShowPercentText(const std::string& text) override;
  void ShowChangesText(const std::string& text) override;
  void ShowRemainingText(const std::string& text) override;

  // Preferences: what InitAfterForms applies; the default font and background of the editor.
  void ApplyStartupPreferences();
  void ApplyDefaultFormat();
  // The quick conversion window's editor takes the default font.
  void ApplyQuickFormFont();

  void SelectWordAtCaret();
  // Engines: made at creation; the grammar read under the wait window; one run in the frame.
  void CreateEngines();
  void LoadEngineGrammar(TQGrammar& engine);
  void RunEngine(TQGrammar& engine, const std::string& caption, const std::string& historyName, bool breakOnEvents);
  std::unique_ptr<TRichEditCorrectionEditor> engineEditor_;
  // The engines' debug window, made at the first debug output of a pass.
  TDebugForm* debugForm_ = nullptr;
  bool undoOff_ = false;  // the running operation switched step-by-step undo off
  bool findWasBusy_ = false;  // the busy state a list replacement found
  TDocumentState document_;
  TProcessingOptions options_;
  std::u16string workWide_;     // the editor text WorkText was taken from
  std::string workTextTaken_;   // WorkText as it was taken
  bool handEdited_ = false;     // the editor's flag when the running operation began
  unsigned autoSaveInterval_ = 3 * 60000;
  std::vector<THotKey> globalHotKeys_;
  void BindHistory();
  void BindView();
  void BindBookmarks();
  void ShowBookmarks(int chosen);
  std::vector<TBookmark> bookmarks_;
  int bookmarkLines_ = 0, bookmarkLength_ = 0;  // as the last adjustment saw them
  bool choosingBookmark_ = false;
  void BindIni();
  void BindFormat();
  void BindToolbars();
  // The colour bar of a colour button's glyph.
  void PaintColorGlyph(TFlatToolbarButton* button, TColor color);
  TColor textColor_ = clRed, highlightColor_ = clYellow;
  void BindTyping();
  void BindStatus();
  void BindEdit();
  void BindMenus();
  void BindSpellResults();
  void SetIndicator(int panel, const char* text);
  void InitTyping();
  // Ctrl+1 to Ctrl+9: true when a bookmark was chosen.
  bool BookmarkKey(uint16_t key, TShiftState shift);
  // The window's own keys (symbols, find again, paste, font combos, grammar reload); true
  // when the key was one of them.
  bool WindowKey(uint16_t key, TShiftState shift);
  // At a word end: de-transliteration, layout switching and spelling of the word just typed.
  void TypingAutomation();
  bool tabPressed_ = false;  // the last key down was Tab
  bool FormattingAllowed() const;
  bool updatingControls_ = false;  // set while the controls follow a selection change
  std::u16string EditorText() const;
  bool PlainView() const;
  // Puts a whole text into the editor; the editor's and the document's modified states stay.
  void PutEditorText(const std::u16string& text);
  void ShowIniTree(bool shown);
  void InitIniView();
  void LeaveIniView();
  void OfferIniView();
  void StoreIniSection();
  void ShowIniSection(TDataNode* node);
  TIniSection* IniSectionOf(TDataNode* node);
  struct TIniNode {
    TDataNode* Node;
    TIniSection Section;
  };
  std::vector<TIniNode> iniNodes_;
  TDataNode* lastIniNode_ = nullptr;  // the section the editor shows
  std::u16string shownSection_;       // its text as put into the editor
  bool ConfirmPlainView();
  void StoreHistory(const std::string& name);
  void ShowChosenEntry();
  void UpdateHistoryPreview(int selStart, int line);
  THistoryList history_;
  bool historyPanesPlaced_ = false;  // the history panes were shown once this session
  struct THistoryPreview {
    int Entry = -1;             // the entry they belong to; -1 when none
    std::u16string Lines;       // its lines text
    std::vector<int> Feeds;     // the places of its line feeds
  } historyPreview_;
  int newDocuments_ = 0;  // documents started by New (a cancelled New leaves it)
  bool busy_ = false, engineRunning_ = false, closing_ = false, firstShow_ = true;
  TCommandState CommandState() const;
  // The components of TextCommandNames, each by its kind (one set at a time), for the idle update.
  struct TTextCommand {
    TAction* Action;
    TMenuItem* Item;
    TControl* Control;
  };
  std::vector<TTextCommand> textCommands_;
};

extern TMainForm* MainForm;
