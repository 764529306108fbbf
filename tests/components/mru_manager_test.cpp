// Recent-file lists: the order and capacity of the list, the menu it builds and the stored
// sections it writes and reads back.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "components/mru_manager.h"
#include "platform/gui/application.h"
#include "platform/gui/menus.h"
#include "tests/platform/temp_folder.h"
#include "textcore/win_registry.h"

namespace {

// A storage in memory: section -> ident -> text.
class MemoryStorage : public TMRUStorage {
public:
  std::string RootSection() const override { return "Main"; }
  std::string ReadString(const std::string& s, const std::string& i, const std::string& def) override {
    auto at = values[s].find(i);
    return at == values[s].end() ? def : at->second;
  }
  int ReadInteger(const std::string& s, const std::string& i, int def) override {
    auto at = values[s].find(i);
    return at == values[s].end() ? def : std::stoi(at->second);
  }
  void WriteString(const std::string& s, const std::string& i, const std::string& v) override { values[s][i] = v; }
  void WriteInteger(const std::string& s, const std::string& i, int v) override { values[s][i] = std::to_string(v); }
  void EraseSection(const std::string& s) override { values.erase(s); }
  std::map<std::string, std::map<std::string, std::string>> values;
};

std::vector<std::string> Items(const TRecentStrings& list) {
  std::vector<std::string> items;
  for (int i = 0; i < list.Count(); ++i) items.push_back(list[i]);
  return items;
}

std::vector<std::string> Captions(const TMenuItem& menu) {
  std::vector<std::string> captions;
  for (int i = 0; i < menu.Count(); ++i)
    if (menu.Items(i)->Visible()) captions.push_back(menu.Items(i)->Caption());
  return captions;
}

class MRUManagerTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    owner = std::make_unique<TComponent>(nullptr);
    menu = new TMenuItem(owner.get());
    mru = new TMRUManager(owner.get());
    mru->SetName("MRUManager1");
    mru->SetStorage(&storage);
  }
  std::unique_ptr<TComponent> owner;
  TMenuItem* menu = nullptr;
  TMRUManager* mru = nullptr;
  MemoryStorage storage;
};

TEST(RecentStrings, KeepsOneEntryPerItemAndDropsTheOldestBeyondCapacity) {
  TRecentStrings list;
  list.SetCapacity(20);
  for (int i = 1; i <= 20; ++i) list.Add("/docs/f" + std::to_string(i) + ".txt", i);
  // The same path again moves to the top with its new data, and the list does not grow.
  EXPECT_EQ(list.Add("/docs/f5.txt", 55), 0);
  EXPECT_EQ(list.Count(), 20);
  EXPECT_EQ(list[0], "/docs/f5.txt");
  EXPECT_EQ(list.Data(0), 55);
  EXPECT_EQ(list.IndexOf("/docs/f5.txt"), 0);
  // The 21st distinct item drops the oldest (f1, now at the bottom).
  list.Add("/docs/f21.txt", 21);
  EXPECT_EQ(list.Count(), 20);
  EXPECT_EQ(list.IndexOf("/docs/f1.txt"), -1);
  EXPECT_EQ(list[19], "/docs/f2.txt");
  // Names that differ only in case are different files.
  list.Add("/docs/F21.txt", 0);
  EXPECT_EQ(list.IndexOf("/docs/f21.txt"), 1);
  // Lowering the capacity trims the old end; it never goes below 1.
  list.SetCapacity(3);
  EXPECT_EQ(Items(list), (std::vector<std::string>{"/docs/F21.txt", "/docs/f21.txt", "/docs/f5.txt"}));
  list.SetCapacity(0);
  EXPECT_EQ(list.GetCapacity(), 1);
  EXPECT_EQ(Items(list), std::vector<std::string>{"/docs/F21.txt"});
}

TEST(RecentStrings, AppendModeAddsAtTheBottomAndDropsFromTheTop) {
  TRecentStrings list;
  list.SetMode(rmAppend);
  list.SetCapacity(3);
  for (const char* s : {"a", "b", "c", "a", "d"}) list.Add(s, 0);
  EXPECT_EQ(Items(list), (std::vector<std::string>{"c", "a", "d"}));
}

TEST_F(MRUManagerTest, MenuShowsNumberedItemsAfterASeparatorAndFollowsTheList) {
  mru->SetAccelDelimiter(adSpace);
  mru->SetRecentMenu(menu);
  EXPECT_FALSE(menu->Enabled());  // empty: disabled
  mru->Add("/docs/a&b.txt", 1);
  mru->Add("/docs/c.rtf", 2);
  EXPECT_TRUE(menu->Enabled());
  EXPECT_EQ(Captions(*menu), (std::vector<std::string>{"&1 /docs/c.rtf", "&2 /docs/a&&b.txt"}));

  // A menu with an item of its own gets a separator before the list.
  auto* own = new TMenuItem(owner.get());
  own->SetCaption("Add Current");
  menu->Insert(0, own);
  mru->UpdateRecentMenu();
  EXPECT_EQ(Captions(*menu), (std::vector<std::string>{"Add Current", "-", "&1 /docs/c.rtf", "&2 /docs/a&&b.txt"}));

  // Numbers from 10 are letters, above 100 a blank stands in for the accelerator.
  mru->SetStartAccel(9);
  mru->SetAccelDelimiter(adTab);
  EXPECT_EQ(mru->ItemCaption(0), "&9\t/docs/c.rtf");
  EXPECT_EQ(mru->ItemCaption(1), "&A\t/docs/a&&b.txt");
  mru->SetStartAccel(100);
  EXPECT_EQ(mru->ItemCaption(1), " \t/docs/a&&b.txt");
  mru->SetShowAccelChar(false);
  EXPECT_EQ(mru->ItemCaption(0), "/docs/c.rtf");
}

TEST_F(MRUManagerTest, ClickReportsTheItemAndMayRebuildTheMenuFromInside) {
  mru->SetRecentMenu(menu);
  mru->SetSeparateSize(2);
  for (const char* s : {"/d/1", "/d/2", "/d/3"}) mru->Add(s, 7);
  EXPECT_EQ(Captions(*menu), (std::vector<std::string>{"&1\t/d/3", "&2\t/d/2", "-", "&3\t/d/1"}));
  std::string clicked;
  int data = 0;
  // Opening the clicked file puts it on top again, which rebuilds the menu during the click.
  mru->OnClick = [&](TObject*, const std::string& name, const std::string&, int userData) {
    clicked = name;
    data = userData;
    mru->Add(name, 9);
  };
  menu->Items(3)->Click();
  EXPECT_EQ(clicked, "/d/1");
  EXPECT_EQ(data, 7);
  EXPECT_EQ(mru->Strings()[0], "/d/1");
  EXPECT_EQ(mru->Strings().Data(0), 9);

  mru->SetRemoveOnSelect(true);
  mru->OnClick = nullptr;
  menu->Items(0)->Click();
  EXPECT_EQ(mru->Strings().IndexOf("/d/1"), -1);
  EXPECT_EQ(Captions(*menu), (std::vector<std::string>{"&1\t/d/3", "&2\t/d/2"}));
}

TEST_F(MRUManagerTest, StoredSectionKeepsTheOrderAndSkipsGaps) {
  EXPECT_EQ(mru->StorageSection(), "Main\\TComponent.MRUManager1");
  const std::string section = mru->StorageSection();
  storage.values[section]["Item_99"] = "stale";
  for (const char* s : {"/d/old", "/d/mid", "/d/new"}) mru->Add(s, 3);
  mru->SaveToStorage();
  EXPECT_EQ(storage.values[section].count("Item_99"), 0u);  // the section was erased first
  EXPECT_EQ(storage.values[section]["Item_0"], "/d/new");
  EXPECT_EQ(storage.values[section]["Data_2"], "3");

  // A gap (Item_1 missing) or a damaged value (Data_3) loses only that item.
  storage.values[section].erase("Item_1");
  storage.values[section]["Item_3"] = "/d/damaged";
  storage.values[section]["Data_3"] = "not a number";
  mru->Strings().Clear();
  mru->LoadFromStorage();
  EXPECT_EQ(Items(mru->Strings()), (std::vector<std::string>{"/d/new", "/d/old"}));
  EXPECT_EQ(mru->Strings().Data(1), 3);

  // A list that adds at the bottom comes back in its own order too.
  mru->SetMode(rmAppend);
  mru->Add("/d/last", 4);
  mru->SaveToStorage();
  mru->LoadFromStorage();
  EXPECT_EQ(Items(mru->Strings()), (std::vector<std::string>{"/d/new", "/d/old", "/d/last"}));
}

TEST_F(MRUManagerTest, TwoRunningCopiesKeepEachOthersRecentFiles) {
  const std::string section = mru->StorageSection();
  mru->Add("/d/shared", 0);
  mru->Add("/d/dropped", 0);
  mru->SaveToStorage();
  // The other copy of the program, started meanwhile, reads the same list.
  TComponent otherOwner(nullptr);
  TMRUManager* other = new TMRUManager(&otherOwner);
  other->SetName("MRUManager1");
  other->SetStorage(&storage);
  ASSERT_EQ(other->StorageSection(), section);
  other->LoadFromStorage();
  other->Add("/d/theirs", 0);
  other->SaveToStorage();
  // This copy opens a file, drops one of its own and is closed last: the other's file stays,
  // and the dropped one does not come back.
  mru->Add("/d/mine", 0);
  mru->Strings().Delete(mru->Strings().IndexOf("/d/dropped"));
  mru->SaveToStorage();
  mru->LoadFromStorage();
  EXPECT_EQ(Items(mru->Strings()), (std::vector<std::string>{"/d/mine", "/d/shared", "/d/theirs"}));
}

TEST(MRURegistryStorage, WritesTheProductKeySectionAndErasesIt) {
  TempFolder folder;
  ScopedEnv config("QUILLOMARK_CONFIG_DIR", folder.Name());
  const std::string key = "Software\\Vortanel\\Quillomark";
  TMRURegistryStorage storage(key, "Main");
  const std::string section = "Main\\TMainForm.MRUManager1";
  storage.WriteString(section, "Item_0", "/d/a.txt");
  storage.WriteInteger(section, "Data_0", 4);
  TWinRegistry registry(key);
  EXPECT_EQ(registry.ReadString(section, "Item_0", ""), "/d/a.txt");
  EXPECT_EQ(storage.ReadInteger(section, "Data_0", -1), 4);
  const std::string neighbour = "Main\\TMainForm.MRUManager2";
  storage.WriteString(neighbour, "Item_0", "/d/b.txt");
  storage.EraseSection(section);
  EXPECT_EQ(storage.ReadString(section, "Item_0", "gone"), "gone");
  EXPECT_EQ(storage.ReadString(neighbour, "Item_0", ""), "/d/b.txt");
  storage.WriteString(section, "Item_0", "/d/c.txt");
  EXPECT_EQ(storage.ReadString(section, "Item_0", ""), "/d/c.txt");
  EXPECT_TRUE(registry.KeyExists("\\" + key + "\\Main"));
}

}  // namespace
