#include "platform/gui/x11_hotkeys.h"

#include <poll.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <algorithm>
#include <cstring>

namespace {

struct TGrab {
  int Id;
  xcb_keycode_t Code;
  uint16_t Mask;
};

// Lock and Num Lock (Mod2) combinations grabbed with every key so they do not hide it.
constexpr uint16_t kIgnoredMasks[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                      XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};

uint16_t XMask(unsigned modifiers) {
  uint16_t mask = 0;
  if (modifiers & TX11HotKeys::Shift) mask |= XCB_MOD_MASK_SHIFT;
  if (modifiers & TX11HotKeys::Ctrl) mask |= XCB_MOD_MASK_CONTROL;
  if (modifiers & TX11HotKeys::Alt) mask |= XCB_MOD_MASK_1;
  if (modifiers & TX11HotKeys::Win) mask |= XCB_MOD_MASK_4;
  return mask;
}

}  // namespace

uint32_t VirtualKeyToKeysym(uint16_t key) {
  if (key >= 'A' && key <= 'Z') return key - 'A' + 'a';
  if (key >= '0' && key <= '9') return key;
  if (key >= 0x70 && key <= 0x87) return 0xffbe + (key - 0x70);  // F1..F24
  if (key >= 0x60 && key <= 0x69) return 0xffb0 + (key - 0x60);  // keypad digits
  if (key >= 0x6A && key <= 0x6F) return 0xffaa + (key - 0x6A);  // keypad * + , - . /
  if (key >= 0x25 && key <= 0x28) return 0xff51 + (key - 0x25);  // Left, Up, Right, Down
  switch (key) {
    case 0x03: return 0xff6b;  // Break
    case 0x08: return 0xff08;  // Backspace
    case 0x09: return 0xff09;  // Tab
    case 0x0C: return 0xff0b;  // Clear
    case 0x0D: return 0xff0d;  // Enter
    case 0x13: return 0xff13;  // Pause
    case 0x14: return 0xffe5;  // Caps Lock
    case 0x1B: return 0xff1b;  // Esc
    case 0x20: return 0x0020;  // Space
    case 0x21: return 0xff55;  // Page Up
    case 0x22: return 0xff56;  // Page Down
    case 0x23: return 0xff57;  // End
    case 0x24: return 0xff50;  // Home
    case 0x29: return 0xff60;  // Select
    case 0x2B: return 0xff62;  // Execute
    case 0x2C: return 0xff61;  // Print Screen
    case 0x2D: return 0xff63;  // Insert
    case 0x2E: return 0xffff;  // Delete
    case 0x2F: return 0xff6a;  // Help
    case 0x90: return 0xff7f;  // Num Lock
    case 0x91: return 0xff14;  // Scroll Lock
    default: return 0;
  }
}

uint8_t X11KeyCode(void* connection, uint32_t keysym) {
  auto* c = static_cast<xcb_connection_t*>(connection);
  const xcb_setup_t* setup = xcb_get_setup(c);
  const int count = setup->max_keycode - setup->min_keycode + 1;
  auto* reply =
      xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, setup->min_keycode, count), nullptr);
  if (!reply) return 0;
  const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply);
  const int perCode = reply->keysyms_per_keycode;
  xcb_keycode_t found = 0;
  for (int code = 0; code < count && !found; ++code)
    for (int i = 0; i < perCode; ++i)
      if (syms[code * perCode + i] == keysym) {
        found = static_cast<xcb_keycode_t>(setup->min_keycode + code);
        break;
      }
  std::free(reply);
  return found;
}

struct TX11HotKeys::TState {
  xcb_connection_t* Connection = nullptr;
  xcb_window_t Root = 0;
  std::vector<TGrab> Grabs;

  ~TState() {
    if (Connection) xcb_disconnect(Connection);
  }

};

TX11HotKeys::TX11HotKeys(std::unique_ptr<TState> state) : State(std::move(state)) {}

TX11HotKeys::~TX11HotKeys() {
  if (State) UnregisterAll();
}

std::unique_ptr<TX11HotKeys> TX11HotKeys::Open(const std::string& display, std::string* why) {
  const char* session = std::getenv("XDG_SESSION_TYPE");
  if (display.empty() && ((session && std::strcmp(session, "wayland") == 0) ||
                          (std::getenv("WAYLAND_DISPLAY") && !std::getenv("DISPLAY")))) {
    if (why) *why = "system-wide hot keys are not available under Wayland";
    return nullptr;
  }
  if (display.empty() && !std::getenv("DISPLAY")) {
    if (why) *why = "system-wide hot keys need an X11 display; none is set";
    return nullptr;
  }
  auto state = std::make_unique<TState>();
  int screenIndex = 0;
  state->Connection = xcb_connect(display.empty() ? nullptr : display.c_str(), &screenIndex);
  if (xcb_connection_has_error(state->Connection)) {
    if (why) *why = "cannot connect to the X11 display";
    return nullptr;
  }
  xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(state->Connection));
  for (int i = 0; i < screenIndex && it.rem; ++i) xcb_screen_next(&it);
  state->Root = it.data->root;
  return std::unique_ptr<TX11HotKeys>(new TX11HotKeys(std::move(state)));
}

bool TX11HotKeys::Register(int id, uint16_t key, unsigned modifiers) {
  const uint32_t keysym = VirtualKeyToKeysym(key);
  const xcb_keycode_t code = keysym ? X11KeyCode(State->Connection, keysym) : 0;
  if (!code) return false;
  const uint16_t mask = XMask(modifiers);
  std::vector<xcb_void_cookie_t> cookies;
  for (uint16_t ignored : kIgnoredMasks)
    cookies.push_back(xcb_grab_key_checked(State->Connection, 1, State->Root, mask | ignored, code,
                                           XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
  bool ok = true;
  for (auto cookie : cookies)
    if (xcb_generic_error_t* error = xcb_request_check(State->Connection, cookie)) {
      ok = false;
      std::free(error);
    }
  if (!ok) {
    for (uint16_t ignored : kIgnoredMasks)
      xcb_ungrab_key(State->Connection, code, State->Root, mask | ignored);
    xcb_flush(State->Connection);
    return false;
  }
  State->Grabs.push_back({id, code, mask});
  return true;
}

void TX11HotKeys::Unregister(int id) {
  std::erase_if(State->Grabs, [&](const TGrab& grab) {
    if (grab.Id != id) return false;
    for (uint16_t ignored : kIgnoredMasks)
      xcb_ungrab_key(State->Connection, grab.Code, State->Root, grab.Mask | ignored);
    return true;
  });
  xcb_flush(State->Connection);
}

void TX11HotKeys::UnregisterAll() {
  for (const TGrab& grab : State->Grabs)
    for (uint16_t ignored : kIgnoredMasks)
      xcb_ungrab_key(State->Connection, grab.Code, State->Root, grab.Mask | ignored);
  State->Grabs.clear();
  xcb_flush(State->Connection);
}

int TX11HotKeys::FileDescriptor() const { return xcb_get_file_descriptor(State->Connection); }

std::vector<int> TX11HotKeys::TakePressed(int timeoutMs) {
  std::vector<int> ids;
  auto drain = [&] {
    while (xcb_generic_event_t* event = xcb_poll_for_event(State->Connection)) {
      if ((event->response_type & 0x7f) == XCB_KEY_PRESS) {
        auto* press = reinterpret_cast<xcb_key_press_event_t*>(event);
        const uint16_t mask = press->state & ~(XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2);
        for (const TGrab& grab : State->Grabs)
          if (grab.Code == press->detail && grab.Mask == mask) ids.push_back(grab.Id);
      }
      std::free(event);
    }
  };
  drain();
  if (ids.empty() && timeoutMs > 0) {
    pollfd fd{FileDescriptor(), POLLIN, 0};
    if (poll(&fd, 1, timeoutMs) > 0) drain();
  }
  return ids;
}
