#include "shell/foreign_text.h"

#include <chrono>
#include <functional>
#include <thread>

#include "platform/gui/application.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/desktop_input.h"
#include "platform/gui/gui_types.h"

namespace {

constexpr int kReleaseWait = 1500;  // for the user to let go of the hot key's modifiers
constexpr uint16_t kKeyC = 'C', kKeyV = 'V';

class TDesktopForeignApp : public TForeignApp {
public:
  explicit TDesktopForeignApp(std::unique_ptr<TDesktopInput> input) : input_(std::move(input)) {}

  bool InFront(TCustomForm& form) override { return input_->InsideForm(input_->FocusWindow(), form); }

  bool TakeFocus() override {
    // Keys sent while the user still holds Ctrl or Alt would arrive changed.
    input_->WaitModifiersUp(kReleaseWait);
    focus_ = input_->FocusWindow();
    return focus_ != 0;
  }

  void SendCopy(int method) override {
    input_->SendKey(method == 1 ? VK_INSERT : kKeyC, TDesktopInput::Ctrl);
  }

  void SendPaste(int method) override {
    if (method == 1)
      input_->SendKey(VK_INSERT, TDesktopInput::Shift);
    else
      input_->SendKey(kKeyV, TDesktopInput::Ctrl);
  }

  void Refocus() override { input_->Focus(focus_); }

private:
  std::unique_ptr<TDesktopInput> input_;
  uint32_t focus_ = 0;
};

bool ClipboardHasText() { return !Clipboard()->AsUnicodeText().empty(); }

// Handles messages until `done` answers true (true) or `timeoutMs` passed (false).
bool WaitFor(int timeoutMs, const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace

std::unique_ptr<TForeignApp> OpenDesktopForeignApp(std::string* why) {
  std::unique_ptr<TDesktopInput> input = TDesktopInput::Open(why);
  if (!input) return nullptr;
  return std::make_unique<TDesktopForeignApp>(std::move(input));
}

bool WaitClipboard(int timeoutMs, bool waitForText) {
  return WaitFor(timeoutMs, [waitForText] { return waitForText && ClipboardHasText(); });
}

int RoundTripForeignText(TForeignApp& app, const TForeignTransformEvent& transform, const TForeignWaits& waits) {
  const TClipboardContents saved = Clipboard()->SaveContents();
  // A copy shows as a change of the clipboard: text left over from before never counts.
  int changes = 0;
  const int listener = Clipboard()->AddChangeListener([&changes] { ++changes; });
  auto finish = [&] {
    Clipboard()->RemoveChangeListener(listener);
    Clipboard()->CatchUp();
    Clipboard()->RestoreContents(saved);
  };
  int method = 0;
  try {
    Clipboard()->CatchUp();
    Clipboard()->Clear();
    Application->ProcessMessages();
    changes = 0;
    if (app.TakeFocus()) {
      for (int attempt : {1, 2}) {
        app.SendCopy(attempt);
        if (WaitFor(waits.Copy, [&] { return changes > 0 && ClipboardHasText(); })) {
          method = attempt;
          break;
        }
      }
    }
    if (method != 0) {
      const std::u16string text = Clipboard()->AsUnicodeText();
      bool cancel = false;
      std::u16string result;
      transform(text, cancel, result);
      if (!cancel) {
        WaitClipboard(waits.BeforePaste, false);
        Clipboard()->CatchUp();
        Clipboard()->SetAsUnicodeText(result);
        app.Refocus();
        app.SendPaste(method);
        WaitClipboard(waits.AfterPaste, false);
      }
    }
  } catch (...) {
    finish();
    throw;
  }
  finish();
  return method;
}
