// TProgressForm: the small modeless progress window for work started while the main window
// is hidden. Callers show it before a long step and call CloseForm after it.
#pragma once

#include <functional>
#include <string>

#include "platform/gui/form.h"
#include "shell/progress.h"

class TFormStorage;
class TLabel;
class TProgressBar;
class TSpeedButton;

class TProgressForm : public TForm, private TProgressView {
  QM_CLASS(TProgressForm, TForm)
public:
  explicit TProgressForm(TComponent* owner);
  ~TProgressForm() override;

  TProgressBar* ProgressBar1 = nullptr;
  TLabel* LabelOp = nullptr;
  TSpeedButton* SpeedButton1 = nullptr;
  TFormStorage* FormStorage1 = nullptr;  // the window's place

  // Closes (hides) the window.
  void CloseForm();

private:
  // "Cancel": stops the running step at once, without asking.
  void SpeedButton1Click(TObject* Sender);
  void ShowGauge(int percent) override;
};

extern TProgressForm* ProgressForm;

// Runs `step` in a fresh progress display shown by the progress window (over any modal window,
// so its Cancel can be clicked) and closes the window after it; false when Cancel stopped it.
bool RunInProgressWindow(const std::string& caption, const std::function<void()>& step);
