// The main window's commands under one rule (shell/command_rule.h): the gate every menu item,
// button, action and key of the window passes, and the enabled states that show the same rule.
#include "platform/gui/actions.h"
#include "platform/gui/control.h"
#include "platform/gui/menus.h"
#include "platform/gui/rich_edit_control.h"
#include "shell/command_rule.h"
#include "shell/main_form.h"
#include "textcore/rich_edit.h"

TCommandState TMainForm::CommandState() const {
  // The control's length: no copy of the document at every idle turn.
  return {busy_, Editor->Control().TextLength() > 0};
}

bool TMainForm::AllowCommand(TComponent* source) {
  return source == this || CommandAllowed(CommandNeed(source->Name()), CommandState());
}

void TMainForm::ToolsAutoConvertUpdate(TObject*) { UpdateCommands(); }

void TMainForm::UpdateCommands() {
  // Found once the layout is whole (an update while it is read finds only a part).
  if (textCommands_.size() != TextCommandNames().size()) {
    textCommands_.clear();
    for (const std::string& name : TextCommandNames())
      if (TComponent* component = FindComponent(name)) textCommands_.push_back(component);
  }
  const bool enabled = CommandAllowed(TCommandNeed::Text, CommandState());
  for (TComponent* component : textCommands_) {
    if (auto* action = dynamic_cast<TAction*>(component)) {
      action->SetEnabled(enabled);
    } else if (auto* item = dynamic_cast<TMenuItem*>(component)) {
      if (item->Enabled() != enabled) item->SetEnabled(enabled);
    } else if (auto* control = dynamic_cast<TControl*>(component)) {
      control->SetEnabled(enabled);
    }
  }
}
