// The one progress display of the program: plain procedures that every long loop calls,
// reading back the Stop flag. What they show goes to the attached views (the main window's
// gauge, label and panels; the progress window's bar).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class TObject;

// A progress report of a long step: True means the user asked to stop.
using TProgressCallback = std::function<bool(TObject* Sender, int Percent)>;

// Something that shows progress. Each element has a default that shows nothing.
class TProgressView {
public:
  virtual ~TProgressView();
  virtual void ShowGauge(int percent) {}
  virtual void ShowOperation(const std::string& caption) {}
  virtual void ShowPercentText(const std::string& text) {}
  virtual void ShowChangesText(const std::string& text) {}
  virtual void ShowRemainingText(const std::string& text) {}
};

// Views join and leave the display; a view leaves by itself when destroyed.
void AttachProgressView(TProgressView* view);
void DetachProgressView(TProgressView* view);

// Starts a display: gauges 0, caption shown, changes and remaining time "N/A", Stop cleared.
void ProgressStart(const std::string& caption);
// Shows another caption and handles pending messages.
void ProgressSetCaption(const std::string& caption);
// Shows a percentage (texts only when it changed or is 0) and handles pending messages, the
// same percentage again at most every 40 ms; answers the Stop flag as it was before.
bool ProgressSetPercent(int percent);
// The count shown in the changes panel at the next percentage update (-1: not shown).
void ProgressSetChanges(int count);
// ProgressSetPercent of position / total, or of 100 when total is 0.
bool ProgressStep(int64_t position, int64_t total);
// Ends a display: Stop cleared, gauges 0; the texts stay.
void ProgressEnd();
// Asks the running step to stop (the Stop buttons).
void ProgressCancel();
// True while a stop is asked and not yet taken back by ProgressStart or ProgressEnd.
bool ProgressStopRequested();

// position * 100 / total in 64 bits (100 when total is 0), so large texts never overflow.
int PercentOf(int64_t position, int64_t total);
// The remaining-time text for `elapsedDays` spent to reach `percent` (> 0): "h:mm:ss " when
// it is an hour or more, else "m:ss ".
std::string RemainingTimeText(double elapsedDays, int percent);

// The clock (days, as the class library's Now) and the message pump the procedures use;
// empty functions restore the defaults (the system clock; Application->ProcessMessages).
void SetProgressClock(std::function<double()> now);
void SetProgressMessagePump(std::function<void()> pump);
