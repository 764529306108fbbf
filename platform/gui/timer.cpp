#include "platform/gui/timer.h"

#include <QTimer>

#include "platform/gui/application.h"
#include "platform/gui/qt_bridge.h"

QM_CLASS_INFO(TTimer, TComponent, [](TClassBuilder<TTimer>& c) {
  c.Boolean("Enabled", &TTimer::Enabled, &TTimer::SetEnabled);
  c.Integer("Interval", [](TTimer& t) { return int(t.Interval()); }, [](TTimer& t, int v) { t.SetInterval(unsigned(v)); });
  c.Event("OnTimer", &TTimer::OnTimer);
})

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() { delete timer_; }

void TTimer::SetEnabled(bool v) {
  enabled_ = v;
  Update();
}

void TTimer::SetInterval(unsigned v) {
  interval_ = v;
  Update();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  Update();
}

void TTimer::Timer() {
  if (OnTimer) OnTimer(this);
}

void TTimer::Update() {
  if (ComponentState() & csLoading) return;
  // Setting the handler later must also start the timer, so it runs whenever enabled; a tick
  // without a handler does nothing.
  if (!enabled_ || interval_ == 0) {
    if (timer_) timer_->stop();
    return;
  }
  if (!timer_) {
    EnsureGuiApplication();
    timer_ = new QTimer;
    QObject::connect(timer_, &QTimer::timeout, [this] { GuardedCall([this] { Timer(); }); });
  }
  timer_->start(int(interval_));
}
