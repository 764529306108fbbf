#include "textcore/interface_hooks.h"

std::function<void()> ProcessMessagesHook;

void ProcessMessages() {
  if (ProcessMessagesHook) ProcessMessagesHook();
}

namespace {
TMessageSource messageSource = nullptr;
}

void SetMessageSource(TMessageSource source) { messageSource = source; }

std::string InterfaceMessage(const std::string& key, const std::string& english) {
  std::string text = messageSource ? messageSource(key) : std::string();
  return text.empty() ? english : text;
}

std::string InterfaceMessage(const std::string& key, const std::string& english, std::initializer_list<std::string> args) {
  std::string text = InterfaceMessage(key, english);
  size_t at = 0;
  for (const std::string& arg : args) {
    at = text.find("%s", at);
    if (at == std::string::npos) break;
    text.replace(at, 2, arg);
    at += arg.size();
  }
  return text;
}
