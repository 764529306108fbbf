#include "tools/tool_messages.h"

#include "textcore/interface_hooks.h"

void SetToolMessageSource(TToolMessageSource s) { SetMessageSource(s); }

std::string ToolMessage(const std::string& key, const std::string& english) { return InterfaceMessage(key, english); }
