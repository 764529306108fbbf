#include "shell/settings_notice.h"

#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/timer.h"
#include "platform/registry.h"
#include "platform/registry_store.h"
#include "shell/lang_messages.h"
#include "shell/open_save_messages.h"

namespace {

// The interface language's text of `key`, else the English one.
std::string Message(const char* key, const char* english, const std::string& argument) {
  const std::string text = GetLangMessage(key);
  return FormatMessageText(text.empty() ? english : text, {argument});
}

}  // namespace

std::string SettingsNoticeText() {
  RegistryStore* store = RegistryStore::ForRoot(HKEY_CURRENT_USER);
  if (store == nullptr) return {};
  const RegistryStore::TSessionOnly state = store->SessionOnly();
  switch (state.Reason) {
    case RegistryStore::TSessionOnly::NewerFormat:
      return Message("MainSettingsNewer",
                     "The settings file \"%s\" was written by a newer version of Quillomark. It is left as it "
                     "is: the program runs on default settings, and changes to them will not be saved.",
                     store->FileName());
    case RegistryStore::TSessionOnly::CannotRead:
      return Message("MainSettingsUnreadable",
                     "The settings file cannot be read (%s). The program runs on default settings, and "
                     "changes to them will not be saved.",
                     state.Detail);
    case RegistryStore::TSessionOnly::CannotWrite:
      return Message("MainSettingsNotSaved",
                     "Settings cannot be saved (%s). The program works as usual, but changes to the "
                     "settings last only until it is closed.",
                     state.Detail);
    case RegistryStore::TSessionOnly::None:
      break;
  }
  if (!store->DamagedCopy().empty()) {
    const std::string text = GetLangMessage("MainSettingsRepaired");
    return FormatMessageText(text.empty() ? "The settings file \"%s\" was damaged. What could be read of it is "
                                            "used; the damaged file is kept as \"%s\"."
                                          : text,
                             {store->FileName(), store->DamagedCopy()});
  }
  return {};
}

void ScheduleSettingsNotice() {
  auto* timer = new TTimer(Application);
  timer->SetInterval(1);
  timer->OnTimer = [timer](TObject*) {
    timer->SetEnabled(false);
    const std::string text = SettingsNoticeText();
    if (!text.empty()) MessageDlg(text, mtWarning, mbOK);
  };
}
