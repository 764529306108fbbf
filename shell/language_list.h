// The interface languages offered by the preferences: the "*.lng" files of the program folder,
// and the user's choice among them, kept under "General" / "Language" of the product key.
#pragma once

#include <string>
#include <vector>

// One language file of the program folder.
struct TLanguageItem {
  std::string Caption;   // the file name lower-cased, without ".lng", first letter capital
  std::string FileName;  // the file's own name, exactly as on disk
};

// The language files of the program folder, in name order.
std::vector<TLanguageItem> ListLanguages();

// The item to select for the stored choice: the stored file name matched exactly (a number
// stored by older versions is an index into the list); when that selects nothing, the item
// "English", else the first one; -1 for an empty list.
int StoredLanguageIndex(const std::vector<TLanguageItem>& items);

// Stores the chosen file name ("" when none is chosen).
void StoreLanguage(const std::string& fileName);
