#include "platform/gui/keyboard_layouts.h"

#include <QApplication>
#include <QInputMethod>
#include <algorithm>
#include <memory>

#include "platform/gui/application.h"
#include "platform/gui/xkb_layouts.h"

namespace {

constexpr uint16_t kEnglish = 1033, kRussian = 1049;

// The X server's layouts when the program runs on X11 and the server has some.
TXkbLayouts* System() {
  static const std::unique_ptr<TXkbLayouts> layouts = []() -> std::unique_ptr<TXkbLayouts> {
    EnsureGuiApplication();
    if (QGuiApplication::platformName() != "xcb") return nullptr;
    auto opened = TXkbLayouts::Open({}, nullptr);
    if (opened && opened->Languages().empty()) opened.reset();
    return opened;
  }();
  return layouts.get();
}

// The program's own record, where the system's layouts are out of reach.
uint16_t& Recorded() {
  static uint16_t current = [] {
    EnsureGuiApplication();
    QLocale locale = QGuiApplication::inputMethod()->locale();
    return locale.language() == QLocale::Russian ? kRussian : kEnglish;
  }();
  return current;
}

}  // namespace

bool SystemKeyboardLayouts() { return System() != nullptr; }

uint16_t GetKeyboardLayoutLanguage() {
  if (TXkbLayouts* system = System()) {
    const std::vector<uint16_t> languages = system->Languages();
    const int group = system->Group();
    return group >= 0 && group < int(languages.size()) ? languages[size_t(group)] : 0;
  }
  return Recorded();
}

std::vector<uint16_t> GetKeyboardLayoutList() {
  if (TXkbLayouts* system = System()) return system->Languages();
  return {kEnglish, kRussian};
}

bool ActivateKeyboardLayout(uint16_t language) {
  const std::vector<uint16_t> list = GetKeyboardLayoutList();
  const auto found = std::find(list.begin(), list.end(), language);
  if (found == list.end()) return false;
  if (TXkbLayouts* system = System()) return system->SetGroup(int(found - list.begin()));
  Recorded() = language;
  return true;
}

uint16_t ActivateNextKeyboardLayout() {
  if (TXkbLayouts* system = System()) {
    const int count = int(system->Languages().size());
    system->SetGroup((system->Group() + 1) % std::max(count, 1));
    return GetKeyboardLayoutLanguage();
  }
  const std::vector<uint16_t> list = GetKeyboardLayoutList();
  auto it = std::find(list.begin(), list.end(), Recorded());
  Recorded() = (it == list.end() || it + 1 == list.end()) ? list.front() : *(it + 1);
  return Recorded();
}

void MessageBeep() {
  EnsureGuiApplication();
  QApplication::beep();
}
