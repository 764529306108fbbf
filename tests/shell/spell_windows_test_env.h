// Driving the modal windows of the spelling checker from tests.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/timer.h"

// Runs queued steps from the message loop whenever one of the windows is modal: each step
// answers the window that is up. A timer does not fire again while its handler runs, so each
// step hands the watch to a fresh timer first (a step may open a window of its own).
class TModalScript {
public:
  explicit TModalScript(std::function<bool()> AnyModal) : FAnyModal(std::move(AnyModal)) { Watch(); }
  void Then(std::function<void()> Step) { FSteps.push_back(std::move(Step)); }
  size_t Left() const { return FSteps.size(); }

private:
  void Watch() {
    FTimers.push_back(std::make_unique<TTimer>(nullptr));
    TTimer* timer = FTimers.back().get();
    timer->SetInterval(1);
    timer->OnTimer = [this, timer](TObject*) {
      if (FSteps.empty() || !FAnyModal()) return;
      auto step = std::move(FSteps.front());
      FSteps.pop_front();
      timer->SetEnabled(false);
      Watch();
      step();
    };
    timer->SetEnabled(true);
  }
  std::vector<std::unique_ptr<TTimer>> FTimers;
  std::function<bool()> FAnyModal;
  std::deque<std::function<void()>> FSteps;
};

// The words of the program's dictionaries in a folder of their own (links to them), so user
// dictionaries written by a test land there; answers the folder, ending in '/'.
std::string LinkProgramDictionaries(const std::string& ProgramFolder);
