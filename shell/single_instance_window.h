// A stand-in for the on-screen keyboard window, kept as small as possible: it exists hidden in
// every running copy so that a second start finds the copy by the window class "TVirtualKbd"
// and hands its command line over. The keyboard window itself replaces this class.
#pragma once

#include <memory>

#include "platform/gui/form.h"

class TTimer;
class TWindowEndpoint;

class TVirtualKbd : public TForm {
  QM_CLASS(TVirtualKbd, TForm)
public:
  explicit TVirtualKbd(TComponent* owner);
  ~TVirtualKbd() override;

  // WM_USER+100 from a second start: shows the main window and opens the file named by
  // "OpenNow" under "General" of the product key, when there is one.
  void WMOpenNow();

private:
  void PollTimer(TObject* Sender);

  std::unique_ptr<TWindowEndpoint> endpoint_;
  TTimer* poll_ = nullptr;
  bool polling_ = false;
};

extern TVirtualKbd* VirtualKbd;
