#include "shell/dictionary_warning.h"

#include "platform/gui/dialogs.h"
#include "platform/gui/shell_open.h"
#include "platform/locale.h"
#include "proofing/spell_global.h"

const char* const kDictionaryDownloadPage = "https://www.quillomark.org/dictionaries/";

std::string MissingDictionariesMessage(bool englishMissing, bool russianMissing) {
  if (!englishMissing && !russianMissing) return {};
  const char* words = englishMissing && russianMissing ? "English and Russian" : englishMissing ? "English" : "Russian";
  return std::string("Your system doesn't have ") + words +
         " spell-checkers installed. The functionality will be limited. We recommend downloading the "
         "spell-checkers.\r\rPress OK to open the download site";
}

void WarnMissingDictionaries() {
  if (!SpellingInitialized()) return;
  const std::string message =
      MissingDictionariesMessage(!HasDictionariesFor(LANG_ENGLISH_US), !HasDictionariesFor(LANG_RUSSIAN));
  if (message.empty()) return;
  if (MessageDlg(message, mtWarning, mbOKCancel) == mrOk) ShellOpen(kDictionaryDownloadPage);
}
