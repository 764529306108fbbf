#include "platform/gui/desktop_input.h"

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/gui/x11_hotkeys.h"

namespace {

constexpr uint32_t kShiftL = 0xffe1, kControlL = 0xffe3;
constexpr uint16_t kHeldModifiers = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

}  // namespace

struct TDesktopInput::TState {
  xcb_connection_t* Connection = nullptr;
  xcb_window_t Root = 0;
  xcb_atom_t ActiveWindow = 0;

  ~TState() {
    if (Connection) xcb_disconnect(Connection);
  }

  // Reads and drops what the server sent unasked (errors of requests whose answer nobody waits for).
  void Drain() {
    while (xcb_generic_event_t* event = xcb_poll_for_event(Connection)) std::free(event);
  }

  xcb_window_t Parent(xcb_window_t window) {
    auto* tree = xcb_query_tree_reply(Connection, xcb_query_tree(Connection, window), nullptr);
    if (!tree) return 0;
    const xcb_window_t parent = tree->parent;
    std::free(tree);
    return parent;
  }

  void Key(uint32_t keysym, bool down) {
    const uint8_t code = X11KeyCode(Connection, keysym);
    if (code)
      xcb_test_fake_input(Connection, down ? XCB_KEY_PRESS : XCB_KEY_RELEASE, code, XCB_CURRENT_TIME, XCB_NONE,
                          0, 0, 0);
  }
};

TDesktopInput::TDesktopInput(std::unique_ptr<TState> state) : State(std::move(state)) {}
TDesktopInput::~TDesktopInput() = default;

std::unique_ptr<TDesktopInput> TDesktopInput::Open(std::string* why) {
  EnsureGuiApplication();
  if (QGuiApplication::platformName() != "xcb") {
    if (why) *why = "typing into other programs needs an X11 display";
    return nullptr;
  }
  auto state = std::make_unique<TState>();
  int screenIndex = 0;
  state->Connection = xcb_connect(nullptr, &screenIndex);
  if (xcb_connection_has_error(state->Connection)) {
    if (why) *why = "cannot connect to the X11 display";
    return nullptr;
  }
  const xcb_query_extension_reply_t* xtest = xcb_get_extension_data(state->Connection, &xcb_test_id);
  if (!xtest || !xtest->present) {
    if (why) *why = "the X11 display has no XTest extension";
    return nullptr;
  }
  xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(state->Connection));
  for (int i = 0; i < screenIndex && it.rem; ++i) xcb_screen_next(&it);
  state->Root = it.data->root;
  const char* name = "_NET_ACTIVE_WINDOW";
  if (auto* atom = xcb_intern_atom_reply(
          state->Connection, xcb_intern_atom(state->Connection, 0, uint16_t(std::strlen(name)), name), nullptr)) {
    state->ActiveWindow = atom->atom;
    std::free(atom);
  }
  return std::unique_ptr<TDesktopInput>(new TDesktopInput(std::move(state)));
}

uint32_t TDesktopInput::FocusWindow() {
  xcb_connection_t* c = State->Connection;
  State->Drain();
  auto* focus = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
  if (!focus) return 0;
  xcb_window_t window = focus->focus;
  std::free(focus);
  if (window == XCB_INPUT_FOCUS_POINTER_ROOT) {
    auto* pointer = xcb_query_pointer_reply(c, xcb_query_pointer(c, State->Root), nullptr);
    window = pointer ? pointer->child : XCB_NONE;
    std::free(pointer);
  }
  return window == State->Root ? XCB_NONE : window;
}

bool TDesktopInput::InsideForm(uint32_t window, TCustomForm& form) {
  QWidget* widget = form.ExistingWidget();
  if (!window || !widget || !widget->internalWinId()) return false;
  const xcb_window_t own = xcb_window_t(widget->internalWinId());
  for (xcb_window_t w = window; w && w != State->Root; w = State->Parent(w))
    if (w == own) return true;
  return false;
}

void TDesktopInput::Focus(uint32_t window) {
  if (!window) return;
  xcb_connection_t* c = State->Connection;
  if (State->ActiveWindow) {
    // A window manager raises and focuses the window it is asked to (source 2: a pager).
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = State->ActiveWindow;
    message.data.data32[0] = 2;
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, State->Root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
  }
  xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME);
  std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
  State->Drain();
}

void TDesktopInput::SendKey(uint16_t key, unsigned modifiers) {
  const uint32_t keysym = VirtualKeyToKeysym(key);
  if (!keysym) return;
  if (modifiers & Ctrl) State->Key(kControlL, true);
  if (modifiers & Shift) State->Key(kShiftL, true);
  State->Key(keysym, true);
  State->Key(keysym, false);
  if (modifiers & Shift) State->Key(kShiftL, false);
  if (modifiers & Ctrl) State->Key(kControlL, false);
  // The server has taken the keys once it answers a later request.
  std::free(xcb_get_input_focus_reply(State->Connection, xcb_get_input_focus(State->Connection), nullptr));
  State->Drain();
}

bool TDesktopInput::WaitModifiersUp(int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    auto* pointer = xcb_query_pointer_reply(State->Connection, xcb_query_pointer(State->Connection, State->Root), nullptr);
    const bool held = pointer && (pointer->mask & kHeldModifiers);
    std::free(pointer);
    if (!held) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}
