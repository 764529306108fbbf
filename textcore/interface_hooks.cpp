#include "textcore/interface_hooks.h"

std::function<void()> ProcessMessagesHook;

void ProcessMessages() {
  if (ProcessMessagesHook) ProcessMessagesHook();
}
