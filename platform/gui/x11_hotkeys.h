// System-wide hot keys on an X11 display: keys grabbed on the root window and the presses
// read back; the header names no Qt or X type.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TX11HotKeys {
 public:
  // Modifier bits as the hot key list keeps them.
  static constexpr unsigned Shift = 1, Ctrl = 2, Alt = 4, Win = 8;

  // A connection to `display` (empty: $DISPLAY); nullptr with the reason in `why` under
  // Wayland, without a display or when the server refuses the connection.
  static std::unique_ptr<TX11HotKeys> Open(const std::string& display, std::string* why);
  ~TX11HotKeys();

  // Grabs virtual key `key` with `modifiers` under `id` (whatever Caps and Num Lock are);
  // false when the key has no key code here or another client holds it.
  bool Register(int id, uint16_t key, unsigned modifiers);
  // Releases the key grabbed under `id`, or every key this connection grabbed.
  void Unregister(int id);
  void UnregisterAll();
  // The ids of the hot keys pressed since the last call, waiting up to `timeoutMs` for one.
  std::vector<int> TakePressed(int timeoutMs);
  // The descriptor to watch for incoming events.
  int FileDescriptor() const;

 private:
  struct TState;
  explicit TX11HotKeys(std::unique_ptr<TState> state);
  std::unique_ptr<TState> State;
};

// The X keysym of a virtual key (0 when it has none).
uint32_t VirtualKeyToKeysym(uint16_t key);
// The key code of `keysym` in the keyboard mapping of `connection` (an xcb_connection_t; 0 when
// no key gives it).
uint8_t X11KeyCode(void* connection, uint32_t keysym);
