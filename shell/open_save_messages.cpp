#include "shell/open_save_messages.h"

#include <utility>

#include "shell/lang_messages.h"

namespace {

constexpr std::pair<const char*, const char*> kBuiltIn[] = {
    {"MainOpenFail0", "File \"%s\" not found."},
    {"MainOpenFail1", "The is not a \"%s\" file."},
    {"MainOpenFail2", "Do you want to try to auto-detect the format?"},
    {"MainOpenFail3", "File format is not recognized."},
    {"MainOpenFail4", "File extension (%s) is not recognized."},
    {"MainOpenFail5", "Do you want to open it as text?"},
    {"MainOpenFail6",
     "Access to this file is denied. Possibly a sharing violation. Check if this file is already "
     "open in another application."},
    {"MainOpenTooLarge",
     "File \"%s\" is too large for the memory available: opening it takes about %s MB, and %s MB "
     "are free."},
    {"MainOpenTooLong", "File \"%s\" is too large to open: a document holds at most 2 GB of text."},
    {"MainOpenRtfFail", "\"%s\" cannot be read as rich text. It was not opened and is left as it is."},
    {"MainOpenRecover",
     "This document was not saved properly, but the recovery information is available. Do you "
     "want to open the recovered document?"},
    {"MainSaveFail0", "The document could not be saved as \"%s\"."},
    {"MainSaveFail1", "File \"%s\" was open as \"%s\" but cannot be saved in this format."},
    {"MainSaveFail2", "Do you want to save in some other format?"},
    {"MainFileChanged",
     "\"%s\" was changed by another program since it was opened here. Save over it all the same?"},
    {"MainSaveObjects",
     "This document holds pictures or objects, which plain text cannot keep: they would be lost. "
     "Save it as plain text all the same?"},
    {"MainSaveLossy",
     "Some characters of this document cannot be saved as plain text in this encoding and would "
     "be replaced by \"?\". Do you want to save it as Unicode text instead?"},
    {"MainConfirmSave", "Save changes to %s?"},
    {"MainIsRecoverInfo", "OK to overwrite %s?"},
    {"MainBatchInterrupt", "Process other files in the batch?"},
    {"PlainTextType", "Plain Text (%s)"},
    {"EncodingMarked", "%s BOM"},
    {"EncodingDecoded", "Decoded"},
};

}  // namespace

std::string OpenSaveMessage(const std::string& key) {
  std::string text = GetLangMessage(key);
  if (!text.empty()) return text;
  for (const auto& [k, builtIn] : kBuiltIn)
    if (key == k) return builtIn;
  return "OpenSave: undefined message " + key;
}

std::string FormatMessageText(const std::string& text, std::initializer_list<std::string> args) {
  std::string out;
  auto arg = args.begin();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == 's' && arg != args.end()) {
      out += *arg++;
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}
