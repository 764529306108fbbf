// THandOffWindow: what a second start of the program finds. It listens under the window class
// "TVirtualKbd" (the name every copy of the program is found by) from start-up to the end, so
// the on-screen keyboard window itself is made only when first shown.
#pragma once

#include <memory>

#include "platform/gui/component.h"

class TReadWatch;
class TTimer;
class TWindowEndpoint;

class THandOffWindow : public TComponent {
  QM_CLASS(THandOffWindow, TComponent)
public:
  // The window class a second start looks for.
  static constexpr const char* kWindowClass = "TVirtualKbd";

  explicit THandOffWindow(TComponent* owner);
  ~THandOffWindow() override;

  // WM_USER+100 from a second start: shows the main window and opens the file named by
  // "OpenNow" under "General" of the product key, when there is one.
  static void WMOpenNow();

private:
  // Handles the messages other processes sent, or waits for the operation under way to end.
  void HandOff();

  std::unique_ptr<TWindowEndpoint> endpoint_;
  std::unique_ptr<TReadWatch> watch_;  // wakes the window when a message arrives
  TTimer* poll_ = nullptr;             // retries a hand-off that had to wait
  bool polling_ = false;
};
