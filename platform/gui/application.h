// The application object (message loop, main form, exception box with the title) and the
// screen (fonts, cursor, forms, work area). `Application` and `Screen` exist from program start;
// the Qt application behind them is made on first need.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/component.h"
#include "platform/gui/graphics.h"
#include "platform/string_list.h"

class Exception;
class TCustomForm;
class TForm;
class TWinControl;

using TExceptionEvent = std::function<void(TObject* Sender, const Exception& E)>;
using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;

class TApplication : public TComponent {
  QM_CLASS(TApplication, TComponent)
public:
  explicit TApplication(TComponent* owner);
  ~TApplication() override;

  // Makes the Qt application (from the program's arguments when given).
  void Initialize(int argc = 0, char** argv = nullptr);
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);
  // The windows' icon from a picture file (PNG); false when the file gives no picture. The
  // picture stays as Icon(), for the tray to show.
  bool SetIconFile(const std::string& fileName);
  const TBitmap* Icon() const { return icon_.get(); }
  // Qt's own texts (buttons and texts of its dialogs) in `language`, a code ("ru") or an English
  // name ("Russian"), from the system's Qt translations; "", "en" and "English" are English.
  // False when the system has none for it.
  bool SetQtLanguage(const std::string& language);
  // The end of the desktop session asks the main form (WM_QUERYENDSESSION); false when it
  // refuses, which keeps the program and the session running.
  bool QueryEndSession();
  const std::string& HelpFile() const { return helpFile_; }
  void SetHelpFile(const std::string& v) { helpFile_ = v; }
  // The full path of the running program, in the system code page.
  std::string ExeName() const;
  TForm* MainForm() const { return mainForm_; }
  bool ShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool v) { showMainForm_ = v; }
  // Makes a form owned by the application; the first one made becomes the main form.
  template <class F>
  void CreateForm(F*& reference) {
    reference = new F(this);
    if (!mainForm_) SetMainForm(reference);
  }
  void SetMainForm(TForm* form);
  // The form `reference` points at, made as CreateForm does when there is none yet: windows
  // the first one does not need are made on first use.
  template <class F>
  F* EnsureForm(F*& reference) {
    if (!reference) CreateForm(reference);
    return reference;
  }

  // Shows the main form and runs the message loop until Terminate. Idle work runs whenever the
  // loop (or a modal loop within it) is about to wait after handling messages; nothing runs on
  // a clock, and the caret stops blinking after ten seconds without input.
  void Run();
  // Handles every pending message, then returns.
  void ProcessMessages();
  // Waits for one message (or more) and handles it; within Run the idle work runs before the
  // wait when messages were handled since it last ran.
  void HandleMessage();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Shows the exception being handled (call from a catch block): EAbort is silent; otherwise
  // OnException, or a message box with the Title as caption and the exception's Message.
  void HandleException(TObject* sender);
  void ShowException(const Exception& e);
  void Minimize();
  void Restore();
  void BringToFront();
  bool Active() const;
  // The hint text of the control or menu item under the mouse (OnHint fires on change).
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);
  // Runs idle work once: OnIdle, then the OnUpdate of the visible forms' actions.
  void Idle();

  TExceptionEvent OnException;
  TIdleEvent OnIdle;
  TNotifyEvent OnHint, OnActivate, OnDeactivate, OnMinimize, OnRestore;

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  std::string title_, helpFile_, hint_;
  std::unique_ptr<TBitmap> icon_;
  TForm* mainForm_ = nullptr;
  bool terminated_ = false, showMainForm_ = true, showHint_ = true;
};

class TScreen : public TComponent {
  QM_CLASS(TScreen, TComponent)
public:
  explicit TScreen(TComponent* owner);
  ~TScreen() override;
  // Installed font family names, sorted.
  TStrings* Fonts();
  // The cursor of the whole application (crDefault lets each control show its own).
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor);
  int FormCount() const { return int(forms_.size()); }
  TCustomForm* Forms(int index) const { return forms_.at(size_t(index)); }
  TCustomForm* ActiveForm() const;
  TWinControl* ActiveControl() const;
  int Width() const;
  int Height() const;
  TRect WorkAreaRect() const;
  int WorkAreaLeft() const { return WorkAreaRect().Left; }
  int WorkAreaTop() const { return WorkAreaRect().Top; }
  int WorkAreaWidth() const { return WorkAreaRect().Width(); }
  int WorkAreaHeight() const { return WorkAreaRect().Height(); }
  int PixelsPerInch() const { return ScreenPixelsPerInch; }

  // For forms: join and leave the list.
  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);

private:
  std::unique_ptr<TStringList> fonts_;
  TCursor cursor_ = crDefault;
  std::vector<TCustomForm*> forms_;
};

extern TApplication* Application;
extern TScreen* Screen;

// Makes the Qt application when there is none yet (tests and tools that never call Initialize).
void EnsureGuiApplication();
