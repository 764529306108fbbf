// The progress procedures with a recording view, and the progress and wait windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gui/application.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/timer.h"
#include "shell/progress.h"
#include "shell/progress_form.h"
#include "shell/progress_wait_form.h"

namespace {

constexpr double kSecond = 1.0 / 86400.0;

// Records what the procedures show; the clock and the message pump are the test's.
class ProgressTest : public ::testing::Test, public TProgressView {
protected:
  void SetUp() override {
    SetProgressClock([this] { return now; });
    SetProgressMessagePump([this] {
      ++pumps;
      if (onPump) onPump();
    });
    // The last percentage outlives an operation, so an earlier test's would be this one's: each
    // test starts at 0, as the program does.
    ProgressSetPercent(0);
    pumps = 0;
    AttachProgressView(this);
    ProgressEnd();
  }
  void TearDown() override {
    DetachProgressView(this);
    SetProgressClock(nullptr);
    SetProgressMessagePump(nullptr);
    ProgressEnd();
  }
  void ShowGauge(int p) override { gauge = p; }
  void ShowOperation(const std::string& c) override { caption = c; }
  void ShowPercentText(const std::string& t) override { percent = t; ++percentUpdates; }
  void ShowChangesText(const std::string& t) override { changes = t; }
  void ShowRemainingText(const std::string& t) override { remaining = t; }

  double now = 1000.0;
  int gauge = -1, pumps = 0, percentUpdates = 0;
  std::string caption, percent, changes, remaining;
  std::function<void()> onPump;
};

TEST_F(ProgressTest, StepShowsIntegerPercentagesWithoutOverflow) {
  struct Case { int64_t position, total; const char* shown; };
  const Case cases[] = {
      {5, 0, "100%"},                    // nothing to do counts as done
      {1, 3, "33%"},                     // integer division
      {30'000'000, 40'000'000, "75%"},   // position x 100 is beyond a 32-bit integer
      {2'000'000'000, 2'000'000'000, "100%"},
  };
  ProgressStart("Encoding");
  for (const Case& c : cases) {
    ProgressSetPercent(0);  // make the next percentage a change
    ProgressStep(c.position, c.total);
    EXPECT_EQ(percent, c.shown) << c.position << " of " << c.total;
  }
  EXPECT_EQ(PercentOf(1'500'000'000, 2'000'000'000), 75);
}

TEST_F(ProgressTest, StartResetsTheDisplayButNotTheLastPercentage) {
  ProgressStart("First");
  ProgressSetPercent(40);
  EXPECT_EQ(gauge, 40);
  ProgressEnd();
  EXPECT_EQ(gauge, 0);
  EXPECT_EQ(percent, "40%");  // texts stay after the end

  ProgressStart("Second");
  EXPECT_EQ(caption, "Second");
  EXPECT_EQ(changes, "N/A");
  EXPECT_EQ(remaining, "N/A");
  const int updates = percentUpdates;
  ProgressSetPercent(40);  // the same percentage as the last operation's: texts stay
  EXPECT_EQ(percentUpdates, updates);
  EXPECT_EQ(gauge, 40);
  ProgressSetPercent(0);  // 0 is always shown
  EXPECT_EQ(percentUpdates, updates + 1);
}

TEST_F(ProgressTest, RepeatedPercentageUpdatesTextsOnceAndPumpsAtMostEvery40ms) {
  ProgressStart("Op");
  const int pumpsBefore = pumps, updates = percentUpdates;
  for (int i = 0; i < 3; ++i) ProgressSetPercent(50);
  EXPECT_EQ(percentUpdates, updates + 1);
  EXPECT_EQ(pumps, pumpsBefore + 1);  // many small steps do not paint the window each time
  now += 0.05 * kSecond;
  ProgressSetPercent(50);
  EXPECT_EQ(pumps, pumpsBefore + 2);
  ProgressSetPercent(51);  // a new percentage is always shown
  EXPECT_EQ(pumps, pumpsBefore + 3);
  ProgressCancel();
  EXPECT_TRUE(ProgressSetPercent(51));  // Stop is answered between the pumps too
  EXPECT_EQ(pumps, pumpsBefore + 3);
}

TEST_F(ProgressTest, ChangesPanelShowsTheCountOnlyOnceSet) {
  ProgressStart("Op");
  ProgressSetPercent(10);
  EXPECT_EQ(changes, "N/A");
  ProgressSetChanges(7);
  EXPECT_EQ(changes, "N/A");  // shown with the next percentage
  ProgressSetPercent(20);
  EXPECT_EQ(changes, "7");
}

TEST_F(ProgressTest, RemainingTime) {
  ProgressStart("Op");
  ProgressSetPercent(0);
  now += 10 * kSecond;
  ProgressSetPercent(25);
  EXPECT_EQ(remaining, "0:30 ");

  ProgressStart("Long");
  ProgressSetPercent(0);
  now += 2 * 3600 * kSecond;
  ProgressSetPercent(50);
  EXPECT_EQ(remaining, "2:00:00 ");

  EXPECT_EQ(RemainingTimeText(59 * kSecond, 50), "0:59 ");
  EXPECT_EQ(RemainingTimeText(61 * 60 * kSecond, 50), "1:01:00 ");
}

TEST_F(ProgressTest, StopPressedWhileMessagesAreHandledIsReportedByTheNextCall) {
  ProgressStart("Op");
  onPump = [] { ProgressCancel(); };
  EXPECT_FALSE(ProgressSetPercent(10));
  onPump = nullptr;
  EXPECT_TRUE(ProgressSetPercent(11));
  EXPECT_TRUE(ProgressStep(12, 100));
  ProgressEnd();
  EXPECT_FALSE(ProgressStopRequested());

  // A Stop left over is cleared by the next start.
  ProgressCancel();
  ProgressStart("Next");
  EXPECT_FALSE(ProgressSetPercent(1));
}

TEST(ProgressWindows, ProgressWindowFollowsTheGaugeAndCancelsAtOnce) {
  EnsureGuiApplication();
  TProgressForm* form = nullptr;
  Application->CreateForm(form);
  ProgressForm = form;
  EXPECT_EQ(form->Caption(), "Quillomark");
  EXPECT_EQ(form->LabelOp->Caption(), "Please, stand by ...");
  ProgressStart("Op");
  ProgressSetPercent(64);
  EXPECT_EQ(form->ProgressBar1->Position(), 64);
  form->SpeedButton1->Click();  // "Cancel" asks nothing
  EXPECT_TRUE(ProgressStopRequested());
  ProgressEnd();
  EXPECT_EQ(form->ProgressBar1->Position(), 0);
  delete form;
}

TEST(ProgressWindows, WaitWindowShowsAfterItsDelayUnlessHiddenFirst) {
  EnsureGuiApplication();
  TWaitForm* form = nullptr;
  Application->CreateForm(form);
  // The test ticks by hand; the timer runs only while a show is pending.
  auto tick = [&] { form->Timer1->OnTimer(form->Timer1); };
  EXPECT_EQ(form->Countdown(), 0);
  EXPECT_FALSE(form->Timer1->Enabled());

  form->ShowDelayed(0, false);
  EXPECT_TRUE(form->Timer1->Enabled());
  form->HideWait();
  EXPECT_FALSE(form->Timer1->Enabled());
  tick();
  EXPECT_FALSE(form->Visible());

  form->ShowDelayed(1, true);
  EXPECT_TRUE(form->BtnStop->Visible());
  tick();
  EXPECT_FALSE(form->Visible());  // pending: one tick of delay left
  EXPECT_TRUE(form->Timer1->Enabled());
  tick();
  EXPECT_TRUE(form->Visible());
  EXPECT_FALSE(form->Timer1->Enabled());
  form->HideWait();
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(form->Countdown(), 0);
  delete form;
}

}  // namespace
