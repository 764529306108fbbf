// Keyboard layouts of an X11 display through the XKB extension: the layouts (XKB groups) the
// server has, each with its language, which one is current, and switching between them. The
// header names no X type.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TXkbLayouts {
 public:
  // A connection to `display` (empty: $DISPLAY); nullptr with the reason in `why` without a
  // display or without the XKB extension.
  static std::unique_ptr<TXkbLayouts> Open(const std::string& display, std::string* why);
  ~TXkbLayouts();

  // The language (LCID) of each group in the server's order; 0 for a layout we know no
  // language of.
  std::vector<uint16_t> Languages() const;
  // The index of the current group.
  int Group() const;
  // Locks group `index`; false when there is no such group.
  bool SetGroup(int index);

 private:
  struct TState;
  explicit TXkbLayouts(std::unique_ptr<TState> state);
  std::unique_ptr<TState> State;
};

// The language of an XKB layout name ("us", "ru", "ru(phonetic)", "English (US)", "Russian");
// 0 when unknown.
uint16_t XkbLayoutLanguage(const std::string& layout);
