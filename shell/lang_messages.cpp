#include "shell/lang_messages.h"

#include "shell/language.h"

namespace {

TLanguage* MessageSource = nullptr;

}  // namespace

std::string GetLangMessage(const std::string& key) {
  if (key.empty()) return "???";
  return MessageSource ? MessageSource->GetMessage(key) : std::string();
}

void SetLangMessageSource(TLanguage* language) { MessageSource = language; }

TLanguage* LangMessageSource() { return MessageSource; }
