// Linked into the test programs of the GUI layers. The application object stands for the whole
// program, so each test gets one of its own, as a program run would: after the test it is freed
// with the windows, timers and other components it owns (as at the end of the program) and a new
// one takes its place. No test sees another's windows made on first use, main form or ended
// message loop.
#include <gtest/gtest.h>

#include "platform/gui/application.h"

namespace {

class TApplicationPerTest : public testing::EmptyTestEventListener {
public:
  void OnTestEnd(const testing::TestInfo&) override {
    delete Application;
    Application = new TApplication(nullptr);
  }
};

// Registered as the program starts, before the entry point's own listeners (the list owns it).
const bool kRegistered = [] {
  testing::UnitTest::GetInstance()->listeners().Append(new TApplicationPerTest);
  return true;
}();

}  // namespace
