// TTimer: fires OnTimer every Interval milliseconds while Enabled (and OnTimer is set).
#pragma once

#include <memory>

#include "platform/gui/component.h"

class QTimer;

class TTimer : public TComponent {
  QM_CLASS(TTimer, TComponent)
public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  // Milliseconds between ticks; 0 stops the timer.
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned v);

  TNotifyEvent OnTimer;

protected:
  void Loaded() override;
  // Fires OnTimer.
  virtual void Timer();

private:
  void Update();
  bool enabled_ = true;
  unsigned interval_ = 1000;
  QTimer* timer_ = nullptr;
};
