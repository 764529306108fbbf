#include "shell/lang_messages.h"

#include "shell/language.h"
#include "platform/gui/form.h"
#include "textcore/interface_hooks.h"
#include "tools/tool_messages.h"

namespace {

TLanguage* MessageSource = nullptr;

}  // namespace

std::string GetLangMessage(const std::string& key) {
  if (key.empty()) return "???";
  return MessageSource ? MessageSource->GetMessage(key) : std::string();
}

void SetLangMessageSource(TLanguage* language) {
  MessageSource = language;
  SetToolMessageSource(language ? &GetLangMessage : nullptr);  // the tool windows speak it too
}

TLanguage* LangMessageSource() { return MessageSource; }
