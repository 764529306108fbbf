// TWaitForm: the small "Please, wait...." window shown with a delay around short blocking
// steps (storing a history entry, loading a grammar). Hidden (countdown 0), pending (countdown
// 1 or more) or shown; its timer, which ticks only while a show is pending, shows it when the
// countdown reaches 1.
#pragma once

#include "platform/gui/form.h"

class TButton;
class TFormStorage;
class TLabel;
class TTimer;

class TWaitForm : public TForm {
  QM_CLASS(TWaitForm, TForm)
public:
  explicit TWaitForm(TComponent* owner);
  ~TWaitForm() override;

  TLabel* Label1 = nullptr;
  TButton* BtnStop = nullptr;  // stops the find form's list replacement (wired with that form)
  TTimer* Timer1 = nullptr;
  TFormStorage* FormStorage1 = nullptr;  // the window's place

  // Shows the window after `delay` more timer ticks (0: at the next one, a second from now);
  // the Stop button is visible exactly when `showStop`.
  void ShowDelayed(int delay, bool showStop);
  // Hides the window and cancels a pending show.
  void HideWait();
  int Countdown() const { return countdown_; }

private:
  void FormCreate(TObject* Sender);
  void Timer1Timer(TObject* Sender);

  int countdown_ = 0;
};

extern TWaitForm* WaitForm;
