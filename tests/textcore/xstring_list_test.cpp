#include "textcore/xstring_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/exceptions.h"
#include "textcore/interface_hooks.h"
#include "textcore/locale_text.h"
#include "textcore/partition_sort.h"
#include "tests/textcore/text_literals.h"

namespace {

// A list that records its change hooks.
class RecordingList : public TXStringList {
public:
  int changing = 0, changed = 0;

protected:
  void Changing() override { ++changing; }
  void Changed() override { ++changed; }
};

// Installs a message-pump hook for one test.
class HookScope {
public:
  explicit HookScope(std::function<void()> hook) { ProcessMessagesHook = std::move(hook); }
  ~HookScope() { ProcessMessagesHook = nullptr; }
};

TEST(TXStringList, StartsEmptyWithTheRussianLocale) {
  TXStringList list;
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Locale(), 1049u);
  EXPECT_FALSE(list.Sorted());
  EXPECT_FALSE(list.CaseSensitive());
  EXPECT_FALSE(list.LengthSensitive());
  EXPECT_EQ(list.Duplicates(), dupIgnore);
  list.SetLocale(0x00010409);
  EXPECT_EQ(list.Locale(), 0x0409u);  // the low 16 bits only
}

TEST(TXStringList, DupIgnoreKeepsTheSmallLetterForm) {
  TXStringList list;
  list.SetSorted(true);
  list.Add(W("Ёж"));
  EXPECT_EQ(CompareLocaleText(W("Ёж"), W("ёж"), 1049), 0);
  EXPECT_EQ(list.Add(W("ёж")), 0);
  EXPECT_EQ(LinesOfStrings(list), std::vector<std::string>{W("ёж")});
  EXPECT_EQ(list.Add(W("Ёж")), 0);
  EXPECT_EQ(LinesOfStrings(list), std::vector<std::string>{W("ёж")});
}

TEST(TXStringList, SortedAddOrdersByTheLocaleAndHandlesDuplicates) {
  TXStringList list;
  list.SetSorted(true);
  for (const char* word : {"ёлка", "арбуз", "Яблоко", "ель", "дом", "ёж"}) list.Add(W(word));
  // ё sorts as е, so «ёж» and «ёлка» come before «ель».
  EXPECT_EQ(LinesOfStrings(list), (std::vector<std::string>{W("арбуз"), W("дом"), W("ёж"), W("ёлка"), W("ель"),
                                                   W("Яблоко")}));
  EXPECT_EQ(list.IndexOf(W("ДОМ")), 1);
  EXPECT_EQ(list.IndexOf(W("кот")), -1);
  int index = -1;
  EXPECT_FALSE(list.Find(W("кот"), index));
  EXPECT_EQ(index, 5);

  list.SetDuplicates(dupAccept);
  list.Add(W("Дом"));
  EXPECT_EQ(list.Count(), 7);
  list.SetDuplicates(dupError);
  try {
    list.Add(W("дом"));
    FAIL() << "a duplicate was accepted";
  } catch (const EStringListError& error) {
    EXPECT_EQ(error.Message, "String list does not allow duplicates");
  }
  EXPECT_EQ(list.Count(), 7);
}

TEST(TXStringList, ComparisonOptions) {
  TXStringList list;
  list.SetLengthSensitive(true);
  for (const char* word : {"aaa", "bb", "c", "ab"}) list.Add(word);
  list.Sort();
  EXPECT_EQ(LinesOfStrings(list), (std::vector<std::string>{"c", "ab", "bb", "aaa"}));
  EXPECT_EQ(list.Compare("bb", "aaa"), -1);

  TXStringList cased;
  cased.SetCaseSensitive(true);
  cased.SetSorted(true);
  cased.Add("apple");
  cased.Add("Apple");
  EXPECT_EQ(cased.Count(), 2);  // different under case sensitivity
  EXPECT_NE(cased.Compare("apple", "Apple"), 0);
}

TEST(TXStringList, RemoveDuplicatesReportsWhatItDrops) {
  TXStringList list;
  list.SetDuplicates(dupAccept);
  list.SetSorted(true);
  for (const char* word : {"apple", "Apple", "pear", "pear", "Plum", "PLUM"}) list.Add(word);
  TStringList removed;
  list.RemoveDuplicates(&removed);
  // Of two capitalised forms the first in the list stays (an accepted duplicate goes before
  // its equal), of an exact repeat one copy.
  EXPECT_EQ(LinesOfStrings(list), (std::vector<std::string>{"apple", "pear", "PLUM"}));
  std::vector<std::string> dropped = LinesOfStrings(removed);
  std::sort(dropped.begin(), dropped.end());
  EXPECT_EQ(dropped, (std::vector<std::string>{"Apple", "Plum", "pear"}));
  list.RemoveDuplicates(nullptr);  // nothing left to drop, and no list to report to
  EXPECT_EQ(list.Count(), 3);
  EXPECT_THROW(list.RemoveDuplicates(&list), EInvalidOperation);
}

TEST(TXStringList, RemoveDuplicatesReportsEqualSmallLetterSpellings) {
  // A soft hyphen (0xAD) is ignored by the collation: two small-letter spellings that compare
  // equal both stay, and the pair is reported.
  const std::string hyphenated = W("пере") + "\xAD" + W("нос");
  TXStringList list;
  list.SetDuplicates(dupAccept);
  list.SetSorted(true);
  list.Add(W("перенос"));
  list.Add(hyphenated);
  ASSERT_EQ(list.Compare(list[0], list[1]), 0);
  TStringList removed;
  list.RemoveDuplicates(&removed);
  EXPECT_EQ(list.Count(), 2);
  ASSERT_EQ(removed.Count(), 1);
  EXPECT_EQ(removed[0], "* " + list[0] + " " + list[1]);
}

// Long runs of equal words in every mix of case: the survivors and the report, in its order,
// are those of judging each pair of neighbours from the end and deleting as it goes.
TEST(TXStringList, RemoveDuplicatesKeepsTheRuleOfNeighboursJudgedFromTheEnd) {
  const auto byDeleting = [](TXStringList& list, TStrings& removed) {
    const auto capitals = [](const std::string& s) { return AnsiLowerCase(s) != s; };
    for (int i = list.Count() - 2; i >= 0; --i) {
      const std::string a = list[i], b = list[i + 1];
      if (list.Compare(a, b) != 0) continue;
      if (capitals(b)) {
        removed.Add(b);
        list.Delete(i + 1);
      } else if (!capitals(a)) {
        removed.Add(a == b ? b : "* " + a + " " + b);
        if (a == b) list.Delete(i + 1);
      } else {
        removed.Add(a);
        list.Delete(i);
      }
    }
  };
  const char* const kWords[] = {"pear", "Pear", "PEAR", "plum", "Plum", "p\xADlum", "fig"};
  std::mt19937 random(20261211);
  for (int round = 0; round < 200; ++round) {
    RecordingList ours;
    TXStringList theirs;
    for (TXStringList* list : {static_cast<TXStringList*>(&ours), &theirs}) {
      list->SetDuplicates(dupAccept);
      list->SetSorted(true);
    }
    for (int n = int(random() % 40); n > 0; --n) {
      const char* word = kWords[random() % std::size(kWords)];
      ours.Add(word);
      theirs.Add(word);
    }
    TStringList oursRemoved, theirsRemoved;
    const int changesBefore = ours.changed;
    ours.RemoveDuplicates(&oursRemoved);
    byDeleting(theirs, theirsRemoved);
    ASSERT_EQ(LinesOfStrings(ours), LinesOfStrings(theirs)) << "round " << round;
    ASSERT_EQ(LinesOfStrings(oursRemoved), LinesOfStrings(theirsRemoved)) << "round " << round;
    EXPECT_LE(ours.changed - changesBefore, 1);  // one change however many go
  }
}

TEST(TXStringList, ErrorsLeaveTheListUnchanged) {
  TXStringList list;
  list.Add("b");
  list.Add("a");
  const auto expectError = [](auto action, const std::string& message) {
    try {
      action();
      ADD_FAILURE() << "no error: " << message;
    } catch (const EStringListError& error) {
      EXPECT_EQ(error.Message, message);
    }
  };
  expectError([&] { list.Get(2); }, "List index out of bounds (2)");
  expectError([&] { list.GetObject(-1); }, "List index out of bounds (-1)");
  expectError([&] { list.Delete(5); }, "List index out of bounds (5)");
  expectError([&] { list.Exchange(0, 2); }, "List index out of bounds (2)");
  expectError([&] { list.Insert(3, "x"); }, "List index out of bounds (3)");
  expectError([&] { list.SetCapacity(1); }, "List capacity out of bounds (1)");
  list.Insert(2, "c");  // Count itself is a place to insert
  TObject tag;
  list.PutObject(0, &tag);
  list.Move(0, 2);
  EXPECT_EQ(LinesOfStrings(list), (std::vector<std::string>{"a", "c", "b"}));
  EXPECT_EQ(list.Objects(2), &tag);
  expectError([&] { list.Move(0, 3); }, "List index out of bounds (3)");
  list.SetSorted(true);
  expectError([&] { list.Move(0, 1); }, "Operation not allowed on sorted string list");
  expectError([&] { list.Insert(0, "x"); }, "Operation not allowed on sorted string list");
  expectError([&] { list.Put(0, "x"); }, "Operation not allowed on sorted string list");
  expectError([&] { list.Put(7, "x"); }, "Operation not allowed on sorted string list");
  EXPECT_EQ(LinesOfStrings(list), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(TXStringList, SortedFlagAndChangeHooks) {
  RecordingList single;
  single.Add("only");
  single.SetSorted(true);
  EXPECT_TRUE(single.Sorted());

  RecordingList list;
  list.Add("b");
  list.Add("a");
  TObject tag;
  list.PutObject(0, &tag);
  EXPECT_EQ(list.changing, list.changed);
  const int before = list.changed;
  list.SetSorted(true);
  EXPECT_EQ(LinesOfStrings(list), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(list.Objects(1), &tag);  // objects travel with their strings
  EXPECT_GT(list.changed, before);
  list.BeginUpdate();
  list.EndUpdate();
  EXPECT_EQ(list.changing, list.changed);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Capacity(), 0);
}

TEST(TXStringList, CapacityGrowsInSteps) {
  TXStringList list;
  std::vector<int> capacities;
  for (int i = 0; i < 100; ++i) {
    list.Add(std::to_string(i));
    if (capacities.empty() || capacities.back() != list.Capacity()) capacities.push_back(list.Capacity());
  }
  EXPECT_EQ(capacities, (std::vector<int>{4, 8, 12, 28, 44, 60, 76, 95, 118}));
}

TEST(TXStringList, SortMatchesALocaleOrderAndPumpsMessages) {
  std::mt19937 random(7);
  const std::string letters = W("абвгдеёжзийклмнопрстуфхцчшщъыьэюяАБВЁЯ");
  TXStringList list;
  for (int i = 0; i < 2000; ++i) {
    std::string word;
    for (int n = 1 + random() % 6; n > 0; --n) word.push_back(letters[random() % letters.size()]);
    list.Add(word);
  }
  int pumped = 0;
  HookScope hook([&] { ++pumped; });
  list.Sort();
  EXPECT_GT(pumped, 0);
  for (int i = 1; i < list.Count(); ++i) EXPECT_LE(list.Compare(list[i - 1], list[i]), 0) << i;
}

TEST(TXStringList, ChangesFromTheMessagePumpDuringASortAreRefused) {
  TXStringList list;
  for (const char* word : {"d", "b", "e", "a", "c", "f"}) list.Add(word);
  int refused = 0;
  HookScope hook([&] {
    const std::function<void()> attempts[] = {
        [&] { list.Add("x"); },      [&] { list.Delete(0); },       [&] { list.Clear(); },
        [&] { list.Sort(); },        [&] { list.Insert(0, "y"); },  [&] { list.Exchange(0, 1); },
        [&] { list.SetSorted(true); }, [&] { list.SetCaseSensitive(true); },
    };
    for (const auto& attempt : attempts) {
      try {
        attempt();
      } catch (const EInvalidOperation&) {
        ++refused;
      }
    }
  });
  list.Sort();
  EXPECT_GT(refused, 0);
  EXPECT_EQ(refused % 8, 0);
  EXPECT_EQ(LinesOfStrings(list), (std::vector<std::string>{"a", "b", "c", "d", "e", "f"}));
  list.Add("g");  // usable again once the sort is over
  EXPECT_EQ(list.Count(), 7);
}

TEST(TXStringList, SortLeftByAnErrorFromThePumpFreesTheList) {
  TXStringList list;
  for (const char* word : {"c", "b", "a"}) list.Add(word);
  {
    HookScope hook([] { throw EAbort(); });
    EXPECT_THROW(list.Sort(), EAbort);
  }
  EXPECT_EQ(list.Count(), 3);
  list.Add("d");
  list.Sort();
  EXPECT_EQ(LinesOfStrings(list), (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST(TXStringList, OptionsCannotChangeUnderARunningSort) {
  TXStringList list;
  for (int i = 0; i < 300; ++i) list.Add(std::string(1 + i % 5, static_cast<char>('a' + i % 26)));
  std::vector<std::string> before = LinesOfStrings(list);
  std::mt19937 random(1);
  HookScope hook([&] {
    try {
      list.SetLengthSensitive(random() % 2 == 0);
    } catch (const EInvalidOperation&) {
    }
  });
  list.Sort();
  EXPECT_FALSE(list.LengthSensitive());
  for (int i = 1; i < list.Count(); ++i) EXPECT_LE(list.Compare(list[i - 1], list[i]), 0) << i;
  std::vector<std::string> after = LinesOfStrings(list);
  std::sort(before.begin(), before.end());
  std::sort(after.begin(), after.end());
  EXPECT_EQ(after, before);
}

TEST(PartitionSort, StaysInRangeAndEndsWithAContradictoryComparison) {
  std::mt19937 random(3);
  for (int size : {2, 3, 10, 257}) {
    std::vector<int> items(size);
    for (int i = 0; i < size; ++i) items[i] = i;
    int outside = 0;
    PartitionSort(
        items, 0, size - 1, [](int item) { return item; },
        [&](const int& item, int) {
          if (&item < items.data() || &item >= items.data() + items.size()) ++outside;
          return static_cast<int>(random() % 3) - 1;
        },
        [] {});
    EXPECT_EQ(outside, 0);
    std::sort(items.begin(), items.end());
    for (int i = 0; i < size; ++i) EXPECT_EQ(items[i], i);
  }
}

}  // namespace
