#include "shell/language_list.h"

#include "platform/files.h"
#include "platform/locale.h"
#include "platform/registry.h"
#include "shell/preferences_key.h"

namespace {

const char* const kSection = "General";
const char* const kValue = "Language";

std::string ItemCaption(const std::string& fileName) {
  std::string caption = AnsiLowerCase(fileName);
  caption.resize(caption.size() >= 4 ? caption.size() - 4 : 0);
  if (!caption.empty()) caption = AnsiUpperCase(caption.substr(0, 1)) + caption.substr(1);
  return caption;
}

int IndexOfFile(const std::vector<TLanguageItem>& items, const std::string& fileName) {
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].FileName == fileName) return int(i);
  return -1;
}

int IndexOfCaption(const std::vector<TLanguageItem>& items, const std::string& caption) {
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].Caption == caption) return int(i);
  return -1;
}

}  // namespace

std::vector<TLanguageItem> ListLanguages() {
  std::vector<TLanguageItem> items;
  for (const TSearchRec& rec : ListDirectory(ProgramFolder(), "*.lng"))
    if (!rec.Directory) items.push_back({ItemCaption(rec.Name), rec.Name});
  return items;
}

int StoredLanguageIndex(const std::vector<TLanguageItem>& items) {
  int index = -1;
  TRegistry reg;
  if (reg.OpenKeyReadOnly(std::string(kProductKey) + "\\" + kSection)) {
    switch (reg.GetDataType(kValue)) {
      case rdString:
      case rdExpandString:
        index = IndexOfFile(items, reg.ReadString(kValue));
        break;
      case rdInteger:
        index = reg.ReadInteger(kValue);
        break;
      default:
        break;
    }
  }
  if (index < 0 || index >= int(items.size())) index = IndexOfCaption(items, "English");
  if (index < 0 && !items.empty()) index = 0;
  return index;
}

void StoreLanguage(const std::string& fileName) {
  TRegistry reg;
  if (reg.OpenKey(std::string(kProductKey) + "\\" + kSection, true)) reg.WriteString(kValue, fileName);
}
