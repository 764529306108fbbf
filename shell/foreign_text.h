// The clipboard round trip with the foreground application: its selection is copied with the
// keys it answers, transformed and pasted back over itself, and the user's clipboard is put back
// afterwards in every format.
#pragma once

#include <functional>
#include <memory>
#include <string>

class TCustomForm;

// The foreground application as the round trip reaches it.
class TForeignApp {
public:
  virtual ~TForeignApp() = default;
  // True when `form` is the window in front.
  virtual bool InFront(TCustomForm& form) = 0;
  // Remembers the window with the keyboard focus (once the user let go of the hot key); false
  // when no window has it.
  virtual bool TakeFocus() = 0;
  // Keys to that window: copy method 1 is Ctrl+Insert, 2 Ctrl+C; a paste after method 1 is
  // Shift+Insert, after method 2 Ctrl+V.
  virtual void SendCopy(int method) = 0;
  virtual void SendPaste(int method) = 0;
  // Makes the remembered window the foreground window again.
  virtual void Refocus() = 0;
};

// The desktop's foreground application; nullptr, with the reason in `why`, where the program
// cannot type into other programs (anywhere but X11).
std::unique_ptr<TForeignApp> OpenDesktopForeignApp(std::string* why);

// A transform of the copied text: `cancel` (false on entry) true keeps the application's text.
using TForeignTransformEvent = std::function<void(const std::u16string& text, bool& cancel, std::u16string& result)>;

// Milliseconds the round trip waits: for each copy, before the paste, and after it (for the
// application to fetch the result) before the user's clipboard is put back.
struct TForeignWaits {
  int Copy = 2000, BeforePaste = 300, AfterPaste = 500;
};

// Copies the foreground application's selection (Ctrl+Insert, then Ctrl+C), hands it to
// `transform` and, unless cancelled, pastes the result with the matching key. The clipboard
// holds what it held before once the round trip is over, whatever happened. Answers the copy
// method that gave text (0: nothing was copied).
int RoundTripForeignText(TForeignApp& app, const TForeignTransformEvent& transform, const TForeignWaits& waits = {});

// Handles messages for up to `timeoutMs`; with `waitForText`, returns true as soon as the
// clipboard holds text that is not empty.
bool WaitClipboard(int timeoutMs, bool waitForText);
