// Identifiers compared and kept by name ignoring ASCII case.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <memory>
#include <random>

#include "platform/gui/names.h"

namespace {

std::string Folded(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return s;
}

TEST(NamesTest, OnlyAsciiLettersFoldAndEqualNamesHashAlike) {
  struct Case {
    const char* a;
    const char* b;
    bool same;
  };
  for (const Case& c : {Case{"Button1", "BUTTON1", true}, Case{"", "", true}, Case{"a", "A", true},
                        Case{"OnClick", "onclick", true}, Case{"LongPropertyNameHere", "longpropertynamehere", true},
                        Case{"Font.Size", "FONT.size", true}, Case{"abcdefgh", "ABCDEFGh", true},
                        Case{"Кнопка", "кнопка", false}, Case{"Кнопка", "Кнопка", true}, Case{"Ab", "Abc", false},
                        Case{"a_b", "A_B", true}, Case{"@", "`", false}, Case{"[", "{", false}, Case{"_", "\x7f", false},
                        Case{"Item12", "Item21", false}, Case{"abcdefghi", "abcdefghj", false}}) {
    EXPECT_EQ(SameName(c.a, c.b), c.same) << c.a << " / " << c.b;
    if (c.same) EXPECT_EQ(TNameHash()(c.a), TNameHash()(c.b)) << c.a;
  }
}

struct TEntry {
  std::string Name;
};

// Random inserts and removals, each followed by a look-up of every name, against a map by the
// upper-cased name; names are written in varying case and many share their start and end.
TEST(NamesTest, TableFindsWhatItKeepsThroughInsertsAndRemovals) {
  std::mt19937 random(7);
  std::vector<std::unique_ptr<TEntry>> pool;
  for (int i = 0; i < 120; ++i) {
    std::string name = (i % 3 ? "Item" : "a") + std::to_string(i % 60) + (i % 4 ? "" : "_x");
    for (char& c : name)
      if (random() % 2) c = char(std::toupper(static_cast<unsigned char>(c)));
    pool.push_back(std::make_unique<TEntry>(TEntry{name}));
  }
  TNameTable<TEntry, &TEntry::Name> table;
  std::map<std::string, TEntry*> expected;
  for (int step = 0; step < 3000; ++step) {
    TEntry* e = pool[random() % pool.size()].get();
    const std::string key = Folded(e->Name);
    if (random() % 3) {
      auto [it, added] = expected.emplace(key, e);
      EXPECT_EQ(table.Insert(e), it->second);
    } else {
      if (expected.count(key) && expected[key] == e) expected.erase(key);
      table.Erase(e);  // an entry not kept (or another of its name kept) changes nothing
    }
    for (const auto& p : pool) {
      auto it = expected.find(Folded(p->Name));
      ASSERT_EQ(table.Find(p->Name), it == expected.end() ? nullptr : it->second) << "step " << step << " " << p->Name;
    }
  }
  TNameTable<TEntry, &TEntry::Name> empty;
  EXPECT_EQ(empty.Find("Item1"), nullptr);
  empty.Erase(pool[0].get());
}

}  // namespace
