#include "shell/progress.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/gui/application.h"

namespace {

struct TProgressState {
  bool Stop = false;
  int Changes = -1;
  int LastPercent = 0;
  double StartTime = 0;
  double EndTime = 0;
  std::vector<TProgressView*> Views;
  std::function<double()> Clock;
  std::function<void()> Pump;
  double LastPump = 0;  // when a percentage last handed the messages on (0: not since the start)
};

// A step that moves the gauge by less than a percent hands the messages on at most this often
// (in days, as Now): handling them (painting the window) after every small step costs more
// than the work.
constexpr double kPumpEvery = 0.040 / 86400.0;

TProgressState& State() {
  static TProgressState state;
  return state;
}

double SystemNow() {
  using namespace std::chrono;
  const double seconds = duration<double>(system_clock::now().time_since_epoch()).count();
  return seconds / 86400.0;
}

double Now() { return State().Clock ? State().Clock() : SystemNow(); }

void PumpMessages() {
  if (State().Pump)
    State().Pump();
  else if (Application)
    Application->ProcessMessages();
}

template <class F>
void ForEachView(F f) {
  // A copy: a view may leave while it is being told something.
  const std::vector<TProgressView*> views = State().Views;
  for (TProgressView* view : views) f(*view);
}

}  // namespace

TProgressView::~TProgressView() { DetachProgressView(this); }

void AttachProgressView(TProgressView* view) {
  auto& views = State().Views;
  if (std::find(views.begin(), views.end(), view) == views.end()) views.push_back(view);
}

void DetachProgressView(TProgressView* view) {
  auto& views = State().Views;
  views.erase(std::remove(views.begin(), views.end(), view), views.end());
}

void ProgressStart(const std::string& caption) {
  ForEachView([&](TProgressView& v) {
    v.ShowGauge(0);
    v.ShowOperation(caption);
    v.ShowChangesText("N/A");
    v.ShowRemainingText("N/A");
  });
  State().Changes = -1;
  State().Stop = false;
  State().LastPump = 0;
  PumpMessages();
  State().StartTime = Now();
}

void ProgressSetCaption(const std::string& caption) {
  ForEachView([&](TProgressView& v) { v.ShowOperation(caption); });
  PumpMessages();
}

bool ProgressSetPercent(int percent) {
  auto& s = State();
  const double now = Now();
  if (percent == s.LastPercent && percent != 0 && s.LastPump != 0 && now - s.LastPump < kPumpEvery) return s.Stop;
  ForEachView([&](TProgressView& v) { v.ShowGauge(percent); });
  if (percent != s.LastPercent || percent == 0) {
    const std::string percentText = std::to_string(percent) + "%";
    ForEachView([&](TProgressView& v) { v.ShowPercentText(percentText); });
    if (s.Changes != -1) {
      const std::string changes = std::to_string(s.Changes);
      ForEachView([&](TProgressView& v) { v.ShowChangesText(changes); });
    }
    if (percent > 0) {
      double elapsed = Now() - s.StartTime;
      elapsed -= std::floor(elapsed);  // a time of day: runs longer than a day wrap
      const std::string remaining = RemainingTimeText(elapsed, percent);
      ForEachView([&](TProgressView& v) { v.ShowRemainingText(remaining); });
    }
    s.LastPercent = percent;
  }
  const bool stop = s.Stop;
  PumpMessages();
  s.LastPump = Now();
  return stop;
}

void ProgressSetChanges(int count) { State().Changes = count; }

int PercentOf(int64_t position, int64_t total) {
  if (total == 0) return 100;
  return int(position * 100 / total);
}

bool ProgressStep(int64_t position, int64_t total) { return ProgressSetPercent(PercentOf(position, total)); }

void ProgressEnd() {
  State().EndTime = Now();
  State().Stop = false;
  ForEachView([](TProgressView& v) { v.ShowGauge(0); });
}

void ProgressCancel() { State().Stop = true; }

bool ProgressStopRequested() { return State().Stop; }

std::string RemainingTimeText(double elapsedDays, int percent) {
  const double remaining = elapsedDays * 100.0 / percent - elapsedDays;
  // Whole milliseconds first, as a time value is decoded, then hours, minutes and seconds.
  const long long ms = std::max(0LL, std::llround(remaining * 86400000.0));
  const long long seconds = ms / 1000;
  const long long hours = seconds / 3600, minutes = seconds / 60 % 60, secs = seconds % 60;
  char text[64];
  if (hours != 0)
    std::snprintf(text, sizeof text, "%lld:%.2lld:%.2lld ", hours, minutes, secs);
  else
    std::snprintf(text, sizeof text, "%lld:%.2lld ", minutes, secs);
  return text;
}

void SetProgressClock(std::function<double()> now) { State().Clock = std::move(now); }
void SetProgressMessagePump(std::function<void()> pump) { State().Pump = std::move(pump); }
