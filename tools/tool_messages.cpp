#include "tools/tool_messages.h"

namespace {
TToolMessageSource source = nullptr;
}

void SetToolMessageSource(TToolMessageSource s) { source = s; }

std::string ToolMessage(const std::string& key, const std::string& english) {
  std::string text = source ? source(key) : std::string();
  return text.empty() ? english : text;
}
