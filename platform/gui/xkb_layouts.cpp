#include "platform/gui/xkb_layouts.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cctype>

namespace {

constexpr uint16_t kEnglish = 1033, kRussian = 1049;

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(separator, start);
    if (end == std::string::npos) end = text.size();
    parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// The layouts of the rules the keymap was made from ("us,ru" of "_XKB_RULES_NAMES").
std::vector<std::string> RulesLayouts(Display* display) {
  const Atom atom = XInternAtom(display, "_XKB_RULES_NAMES", True);
  if (atom == None) return {};
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, DefaultRootWindow(display), atom, 0, 1024, False, XA_STRING, &type, &format,
                         &count, &after, &data) != Success || !data)
    return {};
  // Rules, model, layout, variant and options, each ended by a NUL.
  const std::vector<std::string> fields = Split(std::string(reinterpret_cast<char*>(data), count), '\0');
  XFree(data);
  if (fields.size() < 3 || fields[2].empty()) return {};
  return Split(fields[2], ',');
}

// The groups' own names ("English (US)", "Russian"), for a keymap made without rules.
std::vector<std::string> GroupNames(Display* display) {
  std::vector<std::string> names;
  XkbDescPtr keyboard = XkbAllocKeyboard();
  if (!keyboard) return names;
  if (XkbGetControls(display, XkbGroupsWrapMask, keyboard) == Success &&
      XkbGetNames(display, XkbGroupNamesMask, keyboard) == Success && keyboard->ctrls && keyboard->names) {
    for (int i = 0; i < keyboard->ctrls->num_groups && i < XkbNumKbdGroups; ++i) {
      const Atom atom = keyboard->names->groups[i];
      char* name = atom != None ? XGetAtomName(display, atom) : nullptr;
      names.emplace_back(name ? name : "");
      if (name) XFree(name);
    }
  }
  XkbFreeKeyboard(keyboard, 0, True);
  return names;
}

}  // namespace

uint16_t XkbLayoutLanguage(const std::string& layout) {
  std::string name;
  for (char c : layout) name += char(std::tolower(static_cast<unsigned char>(c)));
  const std::string code = name.substr(0, name.find('('));
  if (code == "us" || code == "gb" || name.rfind("english", 0) == 0) return kEnglish;
  if (code == "ru" || name.rfind("russian", 0) == 0) return kRussian;
  return 0;
}

struct TXkbLayouts::TState {
  Display* Connection = nullptr;
  ~TState() {
    if (Connection) XCloseDisplay(Connection);
  }
  std::vector<std::string> Layouts() const {
    std::vector<std::string> layouts = RulesLayouts(Connection);
    return layouts.empty() ? GroupNames(Connection) : layouts;
  }
};

TXkbLayouts::TXkbLayouts(std::unique_ptr<TState> state) : State(std::move(state)) {}
TXkbLayouts::~TXkbLayouts() = default;

std::unique_ptr<TXkbLayouts> TXkbLayouts::Open(const std::string& display, std::string* why) {
  int event = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion, reason = 0;
  Display* connection =
      XkbOpenDisplay(display.empty() ? nullptr : display.c_str(), &event, &error, &major, &minor, &reason);
  if (!connection) {
    if (why) *why = reason == XkbOD_NonXkbServer ? "the X server has no XKB extension" : "no X display to connect to";
    return nullptr;
  }
  auto state = std::make_unique<TState>();
  state->Connection = connection;
  return std::unique_ptr<TXkbLayouts>(new TXkbLayouts(std::move(state)));
}

std::vector<uint16_t> TXkbLayouts::Languages() const {
  std::vector<uint16_t> languages;
  for (const std::string& layout : State->Layouts()) languages.push_back(XkbLayoutLanguage(layout));
  return languages;
}

int TXkbLayouts::Group() const {
  XkbStateRec state{};
  if (XkbGetState(State->Connection, XkbUseCoreKbd, &state) != Success) return 0;
  return state.group;
}

bool TXkbLayouts::SetGroup(int index) {
  if (index < 0 || index >= int(State->Layouts().size())) return false;
  XkbLockGroup(State->Connection, XkbUseCoreKbd, unsigned(index));
  XSync(State->Connection, False);
  return true;
}
