#include "platform/gui/keyboard_layouts.h"

#include <QApplication>
#include <QInputMethod>
#include <algorithm>

#include "platform/gui/application.h"

namespace {

constexpr uint16_t kEnglish = 1033, kRussian = 1049;

uint16_t& Current() {
  static uint16_t current = [] {
    EnsureGuiApplication();
    QLocale locale = QGuiApplication::inputMethod()->locale();
    return locale.language() == QLocale::Russian ? kRussian : kEnglish;
  }();
  return current;
}

}  // namespace

uint16_t GetKeyboardLayoutLanguage() { return Current(); }

std::vector<uint16_t> GetKeyboardLayoutList() { return {kEnglish, kRussian}; }

bool ActivateKeyboardLayout(uint16_t language) {
  auto list = GetKeyboardLayoutList();
  if (std::find(list.begin(), list.end(), language) == list.end()) return false;
  Current() = language;
  return true;
}

uint16_t ActivateNextKeyboardLayout() {
  auto list = GetKeyboardLayoutList();
  auto it = std::find(list.begin(), list.end(), Current());
  Current() = (it == list.end() || it + 1 == list.end()) ? list.front() : *(it + 1);
  return Current();
}

void MessageBeep() {
  EnsureGuiApplication();
  QApplication::beep();
}
