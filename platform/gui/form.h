// Forms: top-level windows with caption, placement, border, modal results and close handling.
// A form class reads its layout (forms/<ClassName>.qfm, compiled in) in its constructor with
// ReadForm, after naming its handlers and fields.
#pragma once

#include "platform/gui/control.h"

class TMainMenu;
class TCanvas;

enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
                 poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
// Border styles of forms; panels and edits use the first two (TBorderStyle).
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;
using TBorderIcons = unsigned;
inline constexpr TBorderIcons biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8;
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
  QM_CLASS(TCustomForm, TWinControl)
public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;
  // Fires OnDestroy while the derived form is still whole.
  void BeforeDestruction() override;

  // Reads the layout named after the class (see form_reader.h), binds handlers and fields,
  // then runs OnCreate. A form class calls it at the end of its constructor.
  void ReadForm();

  void SetVisible(bool visible) override;
  void Show();
  void Hide() { SetVisible(false); }
  // Asks OnCloseQuery, then OnClose decides: hide (default), free (later), minimise or nothing.
  // Closing the main form ends the application. In a modal loop it sets ModalResult mrCancel.
  void Close();
  // OnCloseQuery's answer (true without a handler).
  virtual bool CloseQuery();
  // Whether the form's command component `source` may fire now (true by default); asked by
  // menu items, controls and actions before they run their command.
  virtual bool AllowCommand(TComponent*) { return true; }
  // Shows the form modally and runs messages until ModalResult is set; answers it.
  virtual int ShowModal();
  // Shows the form without a loop of its own, taking the user's input from every other window
  // (a progress window over a modal one) until it is hidden.
  void ShowInputModal();
  // Frees the form once the current message is handled.
  void Release();
  // Brings the window up and gives it the keyboard.
  void BringToFront();
  bool Active() const;
  int ClientHeight() const override;

  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  bool Modal() const { return modalLevel_ > 0; }
  TPosition Position() const { return position_; }
  void SetPosition(TPosition p) { position_ = p; }
  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle s);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons icons);
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle s);
  TWindowState WindowState() const;
  void SetWindowState(TWindowState s);
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool v) { keyPreview_ = v; }
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* control);
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu);
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int v) { helpContext_ = v; }
  // The window class other programs know the window by: the form's class name.
  std::string WindowClassName() const { return ClassName(); }
  // The canvas of OnPaint.
  TCanvas* Canvas() const { return canvas_.get(); }

  // Enter and Esc that no control kept: the default or focused button, the cancel button.
  bool DialogKey(uint16_t key, TShiftState shift);
  // The main menu's keys, then the actions of the form's action lists.
  virtual bool IsShortCut(TShortCut shortCut);
  // Told by a control of the form that it got the focus.
  void FocusChanged(TWinControl* control);

  TNotifyEvent OnCreate, OnDestroy, OnShow, OnHide, OnActivate, OnDeactivate, OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  std::function<void(TObject* Sender, uint16_t Key, TShiftState Shift, bool& Handled)> OnShortCut;

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;
  void TextChanged() override;
  void Notification(TComponent* component, TOperation operation) override;
  void Loaded() override;
  virtual void DoShow();
  virtual void DoHide();
  virtual void Activate();
  virtual void Deactivate();
  virtual void Paint();
  QWidget* ClientWidget() override;

private:
  friend class TFormWidget;
  void ApplyWindowFlags();
  void PlaceOnFirstShow();
  void ShowWindow();
  // The close sequence; answers the action taken.
  TCloseAction DoClose();

  int modalResult_ = mrNone;
  int modalLevel_ = 0;
  TPosition position_ = poDesigned;
  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  TFormStyle formStyle_ = fsNormal;
  TWindowState windowState_ = wsNormal;
  bool keyPreview_ = false;
  bool placed_ = false;
  bool active_ = false;
  TWinControl* activeControl_ = nullptr;
  TMainMenu* menu_ = nullptr;
  int helpContext_ = 0;
  std::unique_ptr<TCanvas> canvas_;
  bool visibleAfterLoad_ = false;
  std::shared_ptr<bool> lifetime_ = std::make_shared<bool>(true);
  bool destroyFired_ = false;
};

class TForm : public TCustomForm {
  QM_CLASS(TForm, TCustomForm)
public:
  explicit TForm(TComponent* owner);
};

// Called for every form once its layout is read, before its OnCreate (the interface language
// sets the texts of forms made after it was applied); an empty hook removes it.
void SetFormLayoutHook(std::function<void(TCustomForm&)> hook);
