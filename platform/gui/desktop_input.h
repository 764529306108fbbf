// The foreground application of an X11 desktop as the program reaches it from outside: the
// window with the keyboard focus, keys typed into it as though at the keyboard (XTest) and the
// focus given back to it. The header names no Qt or X type.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class TCustomForm;

class TDesktopInput {
public:
  // Modifier bits of SendKey.
  static constexpr unsigned Shift = 1, Ctrl = 2;

  // nullptr, with the reason in `why`, unless the program shows on an X11 display that has the
  // XTest extension.
  static std::unique_ptr<TDesktopInput> Open(std::string* why);
  ~TDesktopInput();

  // The window that takes the keys now (under a pointer-root focus, the one under the pointer);
  // 0 when there is none.
  uint32_t FocusWindow();
  // True when `window` is `form`'s window or lies inside it.
  bool InsideForm(uint32_t window, TCustomForm& form);
  // Gives `window` the keyboard focus again (through the window manager when there is one).
  void Focus(uint32_t window);
  // Presses and releases virtual key `key` with `modifiers` held, as the user would.
  void SendKey(uint16_t key, unsigned modifiers);
  // Waits, handling the program's messages, until no Shift, Ctrl, Alt or Win key is held or
  // `timeoutMs` passed; false when they are still down.
  bool WaitModifiersUp(int timeoutMs);

private:
  struct TState;
  explicit TDesktopInput(std::unique_ptr<TState> state);
  std::unique_ptr<TState> State;
};
