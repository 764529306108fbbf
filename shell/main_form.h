// TMainForm: the main window. It holds the document in its editor, runs the text operations
// inside one frame (busy state, work text, progress, history entry) and owns the program's
// life-cycle handlers (creation, set-up after every window exists, first show, close, destroy).
#pragma once

#include <string>
#include <vector>

#include "platform/gui/form.h"
#include "shell/document_state.h"
#include "shell/operation.h"
#include "shell/progress.h"

class TComboBox;
class TLabel;
class TMainMenu;
class TOpenSave;
class TMenuItem;
class TPanel;
class TProgressBar;
class TRichEditW;
class TSpeedButton;
class TStatusBar;
class TButton;

class TMainForm : public TForm, private TProgressView {
  QM_CLASS(TMainForm, TForm)
public:
  explicit TMainForm(TComponent* owner);
  ~TMainForm() override;

  // --- Components of the layout ------------------------------------------------------------
  TRichEditW* Editor = nullptr;
  TMainMenu* MainMenu1 = nullptr;
  TMenuItem *FileMenu = nullptr, *NewWindow1 = nullptr, *FileExitCmd = nullptr;
  TMenuItem *ConvertMenu = nullptr, *QuickConvert = nullptr;
  TPanel* DockTop = nullptr;  // the top dock: the encoding controls until the toolbars arrive
  TComboBox *Enc1 = nullptr, *Enc2 = nullptr;
  TSpeedButton *ConvFwdButton = nullptr, *ConvBackButton = nullptr;
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

  // --- Document state ----------------------------------------------------------------------
  TDocumentState& Document() { return document_; }
  bool DocModified() const { return document_.Modified(); }
  void SetModified(bool value);

  // --- Operation frame ---------------------------------------------------------------------
  bool Busy() const { return busy_; }
  void SetBusy(bool busy);
  // Raises the silent abort when the editor is empty.
  void BeginOperation(const std::string& caption, bool disableUndo);
  void GetWorkText();
  void PutWorkText();
  void EndOperation(const std::string& historyName);
  // Runs `body` between BeginOperation and EndOperation (which runs whatever happens); a
  // command started while another one runs is refused.
  void RunOperation(const std::string& caption, bool disableUndo, const std::string& historyName,
                    const std::function<void()>& body);
  // The program's progress callback: pumps messages, answers true to stop.
  bool OperationProgress(TObject* Sender, int Percent);
  void EditorLoadProgress(TObject* Sender, int Pos, int Size);
  void BtnStopClick(TObject* Sender);
  bool EngineRunning() const { return engineRunning_; }

  std::string WorkText;  // code page 1251
  int WorkStart = 0;     // 0-based editor position
  int WorkLength = 0;    // editor characters WorkText replaces
  TProcessingOptions& ProcessingOptions() { return options_; }

  // --- Encoding conversion -----------------------------------------------------------------
  // Menu items (tag 1-4: from that column to WIN, 11-14: from WIN to column tag-10) and the
  // toolbar buttons (tag 0: Enc1 to Enc2, tag 1: back).
  void ConvFwdButtonClick(TObject* Sender);
  // Recodes WorkText between two columns; false (WorkText unchanged) when stopped.
  bool RecodeWorkText(int source, int target);

  // --- History (the pane and its list arrive with the history commands) ----------------------
  // Stores the editor text as a history entry named `name`.
  void AddToHistory(const std::string& name);
  const std::vector<std::string>& HistoryNames() const { return historyNames_; }

  // --- Status bar --------------------------------------------------------------------------
  void UpdateStatusBar();

  bool IsShortCut(TShortCut shortCut) override;

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
  void OSOpenFinish(TObject* Sender);
  void OSSaveStart(TObject* Sender);
  void OSSaveSuccess(TObject* Sender);
  void OSSaveFinish(TObject* Sender);
  void SelectionChange(TObject* Sender);
  void WndProc(TMessage& message) override;

  // TProgressView: the operation label, gauge and panels.
  void ShowGauge(int percent) override;
  void ShowOperation(const std::string& caption) override;
  void ShowPercentText(const std::string& text) override;
  void ShowChangesText(const std::string& text) override;
  void ShowRemainingText(const std::string& text) override;

  TDocumentState document_;
  TProcessingOptions options_;
  std::vector<std::string> historyNames_;
  bool busy_ = false, engineRunning_ = false, closing_ = false, firstShow_ = true;
};

extern TMainForm* MainForm;
