// Message boxes and the common dialogs. Every question to the user goes through one dialog
// service: the default shows Qt dialogs; tests install a TScriptedDialogs with the answers
// they expect, so no test can hang in a modal loop. Without a screen (the offscreen platform)
// and without a script, a question raises EInvalidOperation instead of waiting forever.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/exceptions.h"
#include "platform/gui/component.h"
#include "platform/string_list.h"

class TFont;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
using TMsgDlgButtons = unsigned;
inline constexpr TMsgDlgButtons mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8, mbAbort = 16,
    mbRetry = 32, mbIgnore = 64, mbAll = 128, mbNoToAll = 256, mbYesToAll = 512, mbHelp = 1024;
inline constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel, mbYesNo = mbYes | mbNo,
    mbOKCancel = mbOK | mbCancel, mbAbortRetryIgnore = mbAbort | mbRetry | mbIgnore;

// MessageBox flags and answers, numbered as Windows numbers them.
inline constexpr unsigned MB_OK = 0, MB_OKCANCEL = 1, MB_ABORTRETRYIGNORE = 2, MB_YESNOCANCEL = 3,
    MB_YESNO = 4, MB_RETRYCANCEL = 5, MB_ICONHAND = 0x10, MB_ICONSTOP = 0x10, MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20, MB_ICONEXCLAMATION = 0x30, MB_ICONWARNING = 0x30,
    MB_ICONASTERISK = 0x40, MB_ICONINFORMATION = 0x40, MB_DEFBUTTON1 = 0, MB_DEFBUTTON2 = 0x100,
    MB_DEFBUTTON3 = 0x200, MB_APPLMODAL = 0, MB_SYSTEMMODAL = 0x1000, MB_TASKMODAL = 0x2000,
    MB_SETFOREGROUND = 0x10000, MB_TOPMOST = 0x40000;
inline constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7;

// Options of the file dialogs (a bit mask).
using TOpenOptions = unsigned;
inline constexpr TOpenOptions ofReadOnly = 1, ofOverwritePrompt = 2, ofHideReadOnly = 4,
    ofNoChangeDir = 8, ofShowHelp = 16, ofNoValidate = 32, ofAllowMultiSelect = 64,
    ofExtensionDifferent = 128, ofPathMustExist = 256, ofFileMustExist = 512,
    ofCreatePrompt = 1024, ofShareAware = 2048, ofNoReadOnlyReturn = 4096, ofNoTestFileCreate = 8192,
    ofEnableSizing = 0x800000;

class TCustomForm;

enum class TDialogKind { MessageDlg, MessageBox, InputQuery, OpenFile, SaveFile, Font, Color, Form, PageSetup, Print };

// Page setup flags (the request's Flags for TDialogKind::PageSetup).
inline constexpr unsigned psdDisableMargins = 1, psdDisableOrientation = 2, psdDisablePaper = 4,
    psdDisablePrinter = 8, psdInches = 16;

// The page setup and print dialogs' values, in and out.
struct TPrintValues {
  std::string Printer;     // a printer of the system; empty: the PDF file OutputFile
  std::string OutputFile;
  bool Landscape = false;
  // The paper in hundredths of millimetres, upright; 0: the printer's own.
  int PaperWidth = 0, PaperHeight = 0;
  // Hundredths of millimetres, or thousandths of inches with psdInches.
  int MarginLeft = 0, MarginTop = 0, MarginRight = 0, MarginBottom = 0;
  int MinPage = 0, MaxPage = 0, FromPage = 0, ToPage = 0;
  bool PageNums = false;   // the print dialog offers a page range
  bool PageRange = false;  // the answer: FromPage to ToPage, else every page
};

// One question to the user, as the service sees it; the service writes the answer into it.
struct TDialogRequest {
  TDialogKind Kind = TDialogKind::MessageBox;
  std::string Caption;       // window caption (MessageBox, InputQuery, file dialogs' Title)
  std::string Text;          // message text or InputQuery prompt
  TMsgDlgType DlgType = mtCustom;
  TMsgDlgButtons Buttons = 0;
  unsigned Flags = 0;        // MessageBox flags, or file dialog options
  int HelpContext = 0;
  // File dialogs: filter ("Text|*.txt|All|*.*"), 1-based filter index, folder, default extension.
  std::string Filter, InitialDir, DefaultExt;
  int FilterIndex = 1;
  // In: the proposed value; out: the answer (file name, input text).
  std::string Value;
  std::vector<std::string> Files;  // several chosen files (ofAllowMultiSelect)
  TColor Color = clBlack;          // colour dialog in and out
  TFont* Font = nullptr;           // font dialog: changed in place when accepted
  TCustomForm* Form = nullptr;     // a dialog window of the program's own, to be shown modally;
                                   // a script sets its controls and answers its modal result
  TPrintValues Printing;           // page setup and print dialogs
  // The answer: modal result for MessageDlg, ID for MessageBox, 1/0 (accepted) for the rest.
  int Result = 0;
};

// Shows dialogs. Implementations answer by filling in the request's Result (and values).
class TDialogService {
public:
  virtual ~TDialogService() = default;
  virtual void Ask(TDialogRequest& request) = 0;
};

// The service in use: the installed one, else the Qt dialogs.
TDialogService& DialogService();
// Installs `service` (nullptr restores the Qt dialogs); answers the previous one.
TDialogService* SetDialogService(TDialogService* service);

// A script of answers for tests: each question takes the next answer; a question with no
// answer left, or of another kind than the answer expects, is recorded in Unexpected and
// raises EUnexpectedDialog.
class EUnexpectedDialog : public Exception { using Exception::Exception; };
class TScriptedDialogs : public TDialogService {
public:
  // Installs itself for its lifetime.
  TScriptedDialogs();
  ~TScriptedDialogs() override;
  // Queues an answer; `fill` may also set values (file name, input text, colour...).
  TScriptedDialogs& Answer(TDialogKind kind, int result, std::function<void(TDialogRequest&)> fill = nullptr);
  void Ask(TDialogRequest& request) override;
  // Every question asked, in order; the questions nobody expected; answers left unused.
  const std::vector<TDialogRequest>& Asked() const { return asked_; }
  const std::vector<std::string>& Unexpected() const { return unexpected_; }
  int Pending() const { return int(answers_.size()); }
  // Answers the questions no queued answer is left for (instead of raising).
  void AnswerRest(std::function<void(TDialogRequest&)> answer) { rest_ = std::move(answer); }

private:
  struct Entry {
    TDialogKind Kind;
    int Result;
    std::function<void(TDialogRequest&)> Fill;
  };
  std::deque<Entry> answers_;
  std::vector<TDialogRequest> asked_;
  std::vector<std::string> unexpected_;
  std::function<void(TDialogRequest&)> rest_;
  TDialogService* previous_;
};

// Shows one of the program's own dialog windows modally through the service; its modal result.
int ShowModalDialog(TCustomForm& form);

// The interface language's caption of message dialogs of a type ("" keeps the English one).
void SetMessageDlgCaptions(std::function<std::string(TMsgDlgType type)> caption);

// Message dialog captioned by its type ("Warning", "Error", "Information", "Confirm"; the
// application title for mtCustom); answers a modal result (mrYes...).
int MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);
// The Windows message box: answers IDOK, IDYES...
int MessageBox(const std::string& text, const std::string& caption, unsigned flags);
// An information box with an OK button, captioned with the application title.
void ShowMessage(const std::string& msg);
// Asks for a line of text; true (and `value` changed) when the user accepts.
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);
std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultValue);

class TCommonDialog : public TComponent {
  QM_CLASS(TCommonDialog, TComponent)
public:
  explicit TCommonDialog(TComponent* owner) : TComponent(owner) {}
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int v) { helpContext_ = v; }
  // Shows the dialog; true when the user accepted.
  virtual bool Execute() = 0;

private:
  int helpContext_ = 0;
};

// The open-file dialog. A chosen name without an extension gets DefaultExt.
class TOpenDialog : public TCommonDialog {
  QM_CLASS(TOpenDialog, TCommonDialog)
public:
  explicit TOpenDialog(TComponent* owner);
  ~TOpenDialog() override;
  bool Execute() override;
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& v) { fileName_ = v; }
  const std::string& Filter() const { return filter_; }
  void SetFilter(const std::string& v) { filter_ = v; }
  int FilterIndex() const { return filterIndex_; }
  void SetFilterIndex(int v) { filterIndex_ = v; }
  const std::string& DefaultExt() const { return defaultExt_; }
  void SetDefaultExt(const std::string& v) { defaultExt_ = v; }
  const std::string& InitialDir() const { return initialDir_; }
  void SetInitialDir(const std::string& v) { initialDir_ = v; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& v) { title_ = v; }
  TOpenOptions Options() const { return options_; }
  void SetOptions(TOpenOptions v) { options_ = v; }
  // The chosen files (one line each) after a multi-select Execute.
  TStrings* Files() const { return files_.get(); }

protected:
  bool DoExecute(TDialogKind kind);

private:
  std::string fileName_, filter_, defaultExt_, initialDir_, title_;
  int filterIndex_ = 1;
  TOpenOptions options_ = ofHideReadOnly | ofEnableSizing;
  std::unique_ptr<TStringList> files_;
};

class TSaveDialog : public TOpenDialog {
  QM_CLASS(TSaveDialog, TOpenDialog)
public:
  explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}
  bool Execute() override;
};

class TFontDialog : public TCommonDialog {
  QM_CLASS(TFontDialog, TCommonDialog)
public:
  explicit TFontDialog(TComponent* owner);
  ~TFontDialog() override;
  bool Execute() override;
  TFont* Font() const { return font_.get(); }

private:
  std::unique_ptr<TFont> font_;
};

class TColorDialog : public TCommonDialog {
  QM_CLASS(TColorDialog, TCommonDialog)
public:
  explicit TColorDialog(TComponent* owner) : TCommonDialog(owner) {}
  bool Execute() override;
  TColor Color() const { return color_; }
  void SetColor(TColor c) { color_ = c; }

private:
  TColor color_ = clBlack;
};

enum TPrintRange { prAllPages, prPageNums };

// The print dialog: a printer (or a PDF file) and the pages to print.
class TPrintDialog : public TCommonDialog {
  QM_CLASS(TPrintDialog, TCommonDialog)
public:
  explicit TPrintDialog(TComponent* owner) : TCommonDialog(owner) {}
  bool Execute() override;
  int MinPage() const { return values_.MinPage; }
  void SetMinPage(int v) { values_.MinPage = v; }
  int MaxPage() const { return values_.MaxPage; }
  void SetMaxPage(int v) { values_.MaxPage = v; }
  int FromPage() const { return values_.FromPage; }
  void SetFromPage(int v) { values_.FromPage = v; }
  int ToPage() const { return values_.ToPage; }
  void SetToPage(int v) { values_.ToPage = v; }
  // The page range can be chosen (the page numbers option).
  bool PageNums() const { return values_.PageNums; }
  void SetPageNums(bool v) { values_.PageNums = v; }
  TPrintRange PrintRange() const { return values_.PageRange ? prPageNums : prAllPages; }
  void SetPrintRange(TPrintRange v) { values_.PageRange = v == prPageNums; }
  // The chosen printer, or (empty) the PDF file OutputFile.
  const std::string& Printer() const { return values_.Printer; }
  void SetPrinter(const std::string& v) { values_.Printer = v; }
  const std::string& OutputFile() const { return values_.OutputFile; }
  void SetOutputFile(const std::string& v) { values_.OutputFile = v; }
  // The paper in hundredths of millimetres, upright (0: the printer's own).
  int PaperWidth() const { return values_.PaperWidth; }
  int PaperHeight() const { return values_.PaperHeight; }
  void SetPaper(int width, int height) { values_.PaperWidth = width, values_.PaperHeight = height; }

private:
  TPrintValues values_;
};
