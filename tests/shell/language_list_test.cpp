// The interface languages offered by the preferences and the stored choice among them.

#include <gtest/gtest.h>

#include "platform/registry.h"
#include "shell/language_list.h"
#include "tests/shell/preferences_test_env.h"

namespace {

std::vector<std::string> Captions(const std::vector<TLanguageItem>& items) {
  std::vector<std::string> captions;
  for (const TLanguageItem& item : items) captions.push_back(item.Caption);
  return captions;
}

void StoreInteger(int value) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\Vortanel\\Quillomark\\General", true));
  reg.WriteInteger("Language", value);
}

TEST(LanguageList, ItemsAreTheLanguageFilesWithTheirExactNames) {
  TTestWorld world;
  for (const char* name : {"english.lng", "RUSSIAN.LNG", "german.lng.new", "readme.txt"})
    world.WriteProgramFile(name, "");
  const std::vector<TLanguageItem> items = ListLanguages();
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(Captions(items), (std::vector<std::string>{"Russian", "English"}));
  EXPECT_EQ(items[0].FileName, "RUSSIAN.LNG");
  EXPECT_EQ(items[1].FileName, "english.lng");
}

TEST(LanguageList, StoredFileNameIsMatchedExactly) {
  TTestWorld world;
  for (const char* name : {"english.lng", "russian.lng", "Russian.lng"}) world.WriteProgramFile(name, "");
  const std::vector<TLanguageItem> items = ListLanguages();
  ASSERT_EQ(items.size(), 3u);  // Russian.lng, english.lng, russian.lng

  EXPECT_EQ(items[size_t(StoredLanguageIndex(items))].FileName, "english.lng") << "nothing stored";
  StoreLanguage("russian.lng");
  EXPECT_EQ(items[size_t(StoredLanguageIndex(items))].FileName, "russian.lng");
  StoreLanguage("Russian.lng");
  EXPECT_EQ(items[size_t(StoredLanguageIndex(items))].FileName, "Russian.lng");
  StoreLanguage("RUSSIAN.LNG");
  EXPECT_EQ(items[size_t(StoredLanguageIndex(items))].FileName, "english.lng") << "no such file";
  StoreLanguage("");
  EXPECT_EQ(items[size_t(StoredLanguageIndex(items))].FileName, "english.lng");
}

TEST(LanguageList, IndexStoredByOlderVersionsIsStillRead) {
  TTestWorld world;
  for (const char* name : {"english.lng", "russian.lng"}) world.WriteProgramFile(name, "");
  const std::vector<TLanguageItem> items = ListLanguages();
  StoreInteger(1);
  EXPECT_EQ(StoredLanguageIndex(items), 1);
  StoreInteger(-1);
  EXPECT_EQ(StoredLanguageIndex(items), 0) << "-1 means English";
  StoreInteger(7);
  EXPECT_EQ(StoredLanguageIndex(items), 0);

  // Storing a choice replaces the number by the file name.
  StoreLanguage("russian.lng");
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\Vortanel\\Quillomark\\General"));
  EXPECT_EQ(reg.GetDataType("Language"), rdString);
  EXPECT_EQ(StoredLanguageIndex(items), 1);
}

TEST(LanguageList, WithoutEnglishTheFirstItemAndWithoutFilesNone) {
  TTestWorld world;
  EXPECT_EQ(StoredLanguageIndex(ListLanguages()), -1);
  world.WriteProgramFile("russian.lng", "");
  world.WriteProgramFile("ukrainian.lng", "");
  EXPECT_EQ(StoredLanguageIndex(ListLanguages()), 0);
}

}  // namespace
