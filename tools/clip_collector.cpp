#include "tools/clip_collector.h"

std::optional<std::u16string> TClipCollector::Capture(const std::u16string& text) {
  if (text.empty() || text == last_) return std::nullopt;
  last_ = text;
  return u"\r\n" + text;
}
