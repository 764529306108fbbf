// System-wide hot keys as the program's windows receive them: keys registered under ids and
// reported on the interface thread when pressed in any application.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class THotKeyService {
public:
  virtual ~THotKeyService() = default;
  // Registers virtual key `key` with modifier bits (1 Shift, 2 Ctrl, 4 Alt, 8 Win) under `id`;
  // false when the key cannot be had (none such, or another program holds it).
  virtual bool Register(int id, uint16_t key, unsigned modifiers) = 0;
  virtual void Unregister(int id) = 0;
  // Runs with the id of each registered key pressed.
  std::function<void(int id)> OnPressed;
};

// The desktop's hot keys; nullptr, with the reason in `why`, unless the program shows on an
// X11 display (under Wayland no program may take keys meant for others).
std::unique_ptr<THotKeyService> OpenDesktopHotKeys(std::string* why);
