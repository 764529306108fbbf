// What the clipboard collector appends: every new text that appears on the clipboard, after a
// line break, unless it repeats the text captured last.
#pragma once

#include <optional>
#include <string>

class TClipCollector {
public:
  // The text to append for clipboard text `text` (CR LF + text), or nothing when it repeats
  // the last capture or is empty.
  std::optional<std::u16string> Capture(const std::u16string& text);
  const std::u16string& Last() const { return last_; }

private:
  std::u16string last_;
};
