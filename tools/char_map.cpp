#include "tools/char_map.h"

#include <charconv>
#include <cstdio>

const std::vector<std::string>& UnicodeBlockCaptions() {
  static const std::vector<std::string> captions = {
      "Basic Latin (0-127)",
      "Latin-1 Supplement (128-255)",
      "Latin Extended-A (256-383)",
      "Latin Extended-B (384-591)",
      "Greek (880-1023)",
      "Cyrillic (1024-1279)",
      "Armenian (1328-1423)",
      "Hebrew (1424-1535)",
      "Arabic (1536-1791)",
      "Thai (3584-3711)",
      "Mongolian (6144-6319)",
      "General Punctuation (8192-8303)",
      "Super- and Subscripts (8304-8351)",
      "Currency Symbols (8352-8399)",
      "Letterlike Symbols (8448-8527)",
      "Number Forms (8528-8591)",
      "Arrows (8592-8703)",
      "Mathematical Operators (8704-8959)",
      "Miscellaneous Technical (8960-9215)",
      "Block Elements (9600-9631)",
      "Geometric Shapes (9632-9727)",
      "Miscellaneous Symbols (9728-9983)",
  };
  return captions;
}

int BlockStart(const std::string& caption) {
  const size_t open = caption.rfind('(');
  if (open == std::string::npos) return -1;
  const size_t dash = caption.find('-', open);
  if (dash == std::string::npos) return -1;
  int value = -1;
  const auto [end, ec] = std::from_chars(caption.data() + open + 1, caption.data() + dash, value);
  return ec == std::errc() && end == caption.data() + dash ? value : -1;
}

TCharGridShape CharGridForSize(int size) {
  if (size < 16) return {16, 24};
  if (size < 24) return {12, 32};
  if (size < 36) return {8, 48};
  return {4, 96};
}

std::string CharCodeLabel(int code) {
  char text[32];
  std::snprintf(text, sizeof text, "%d (#%X)", code, unsigned(code));
  return text;
}

bool IsInsertableChar(int code) {
  return code >= 0x20 && !(code >= 0x7F && code <= 0x9F) && !(code >= 0xD800 && code <= 0xDFFF) && code <= 0xFFFF;
}
