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
  // Found once the layout is whole (an update while it is read finds only a part), each with its
  // kind, so that the update at every idle turn asks no component what it is.
  if (textCommands_.size() != TextCommandNames().size()) {
    textCommands_.clear();
    for (const std::string& name : TextCommandNames())
      if (TComponent* component = FindComponent(name)) {
        auto* action = dynamic_cast<TAction*>(component);
        auto* item = action ? nullptr : dynamic_cast<TMenuItem*>(component);
        auto* control = action || item ? nullptr : dynamic_cast<TControl*>(component);
        textCommands_.push_back({action, item, control});
      }
  }
  const bool enabled = CommandAllowed(TCommandNeed::Text, CommandState());
  for (const TTextCommand& command : textCommands_) {
    if (command.Action) {
      command.Action->SetEnabled(enabled);
    } else if (command.Item) {
      if (command.Item->Enabled() != enabled) command.Item->SetEnabled(enabled);
    } else if (command.Control) {
      command.Control->SetEnabled(enabled);
    }
  }
}
