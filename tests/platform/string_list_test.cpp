#include "platform/string_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/streams.h"
#include "tests/platform/temp_folder.h"

namespace {

TObject* Tag(intptr_t n) { return reinterpret_cast<TObject*>(n); }

// Runs `action` and returns the message of the EStringListError it raises ("" when none).
template <typename Action>
std::string ListError(Action action) {
  try {
    action();
  } catch (const EStringListError& e) {
    return e.Message;
  }
  return "";
}

}  // namespace

TEST(StringListText, SplitsOnEveryLineEndAndJoinsWithCrLf) {
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
      {"\r\n\r\n", {"", ""}},
      {"a\r\rb", {"a", "", "b"}},
      {"a\n\r b", {"a", "", " b"}},
      {std::string("x\0y\n\xE0\xFF", 6), {std::string("x\0y", 3), "\xE0\xFF"}},
  };
  for (const Case& c : cases) {
    TStringList list;
    list.SetText(c.text);
    EXPECT_EQ(LinesOfStrings(list), c.lines) << c.text;
    std::string joined;
    for (const auto& line : c.lines) joined += line + "\r\n";
    EXPECT_EQ(list.Text(), joined);
  }
}

TEST(StringListIndex, OutOfBoundsRaisesAndChangesNothing) {
  TStringList list;
  list.SetText("a\nb\nc");
  EXPECT_EQ(ListError([&] { list.Get(3); }), "List index out of bounds (3)");
  EXPECT_EQ(ListError([&] { list.Get(-1); }), "List index out of bounds (-1)");
  EXPECT_EQ(ListError([&] { list.Delete(5); }), "List index out of bounds (5)");
  EXPECT_EQ(ListError([&] { list.Insert(4, "x"); }), "List index out of bounds (4)");
  EXPECT_EQ(ListError([&] { list.Put(3, "x"); }), "List index out of bounds (3)");
  EXPECT_EQ(ListError([&] { list.PutObject(3, nullptr); }), "List index out of bounds (3)");
  EXPECT_EQ(ListError([&] { list.Exchange(0, 3); }), "List index out of bounds (3)");
  EXPECT_EQ(ListError([&] { list.Move(0, 3); }), "List index out of bounds (3)");
  EXPECT_EQ(LinesOfStrings(list), (std::vector<std::string>{"a", "b", "c"}));
  list.Insert(3, "d");  // Count itself is a valid insertion place
  EXPECT_EQ(list[3], "d");
}

TEST(StringListEdit, ObjectsTravelWithTheirStrings) {
  TStringList list;
  list.AddObject("one", Tag(1));
  list.AddObject("two", Tag(2));
  list.AddObject("three", Tag(3));
  list.Exchange(0, 2);
  list.Move(0, 1);  // two three one -> ... as the library moves: remove, then insert
  EXPECT_EQ(LinesOfStrings(list), (std::vector<std::string>{"two", "three", "one"}));
  EXPECT_EQ(list.Objects(0), Tag(2));
  EXPECT_EQ(list.Objects(1), Tag(3));
  EXPECT_EQ(list.IndexOfObject(Tag(1)), 2);
  list.SetStrings(2, "uno");
  EXPECT_EQ(list.Objects(2), Tag(1));
  list.SetSorted(true);
  EXPECT_EQ(LinesOfStrings(list), (std::vector<std::string>{"three", "two", "uno"}));
  EXPECT_EQ(list.Objects(0), Tag(3));
  EXPECT_EQ(list.IndexOf("TWO"), 1);
  EXPECT_EQ(list.IndexOf("four"), -1);
}

TEST(StringListSorted, DuplicatesAndForbiddenOperations) {
  TStringList list;
  list.SetSorted(true);
  for (const char* s : {"pear", "apple", "fig"}) list.Add(s);
  EXPECT_EQ(LinesOfStrings(list), (std::vector<std::string>{"apple", "fig", "pear"}));

  // dupIgnore: the existing index, nothing added.
  EXPECT_EQ(list.Add("FIG"), 1);
  EXPECT_EQ(list.Count(), 3);

  list.SetDuplicates(dupError);
  EXPECT_EQ(ListError([&] { list.Add("Apple"); }), "String list does not allow duplicates");
  EXPECT_EQ(ListError([&] { list.Insert(0, "a"); }), "Operation not allowed on sorted string list");
  EXPECT_EQ(ListError([&] { list.Put(0, "a"); }), "Operation not allowed on sorted string list");
  EXPECT_EQ(ListError([&] { list.Move(0, 1); }), "Operation not allowed on sorted string list");
  EXPECT_EQ(LinesOfStrings(list), (std::vector<std::string>{"apple", "fig", "pear"}));

  // dupAccept: Find answers the first of equal items.
  list.SetDuplicates(dupAccept);
  list.AddObject("fig", Tag(7));
  list.AddObject("Fig", Tag(8));
  int index = -1;
  EXPECT_TRUE(list.Find("FIG", index));
  EXPECT_EQ(index, 1);
  EXPECT_EQ(list.Count(), 5);
  EXPECT_FALSE(list.Find("grape", index));
  EXPECT_EQ(index, 4);
}

TEST(StringListSorted, CaseSensitivityUsesTheSystemLocale) {
  // 1251 text: "ёж", "Ёж", "яма", "Ель".
  const std::string yozh = "\xB8\xE6", Yozh = "\xA8\xE6", yama = "\xFF\xEC\xE0", Yel = "\xC5\xEB\xFC";
  TStringList list;
  list.SetSorted(true);
  list.SetDuplicates(dupAccept);
  for (const auto& s : {yama, Yozh, Yel, yozh}) list.Add(s);
  EXPECT_EQ(list.IndexOf(yozh) >= 0, true);
  EXPECT_EQ(list[3], yama);  // «я» is the last letter, whatever the case
  EXPECT_EQ(list.CompareStrings(yozh, Yozh), 0);
  list.SetCaseSensitive(true);
  EXPECT_NE(list.CompareStrings(yozh, Yozh), 0);
  // Re-sorted with the new comparison: a binary search finds each item at its own place.
  for (int i = 0; i < list.Count(); ++i) {
    int found = -1;
    ASSERT_TRUE(list.Find(list[i], found));
    EXPECT_EQ(list[found], list[i]);
  }
  for (int i = 1; i < list.Count(); ++i) EXPECT_LE(list.CompareStrings(list[i - 1], list[i]), 0);
}

TEST(StringListSorted, SortMatchesAReferenceSortOnManyItems) {
  std::mt19937 random(42);
  std::vector<std::string> words;
  for (int i = 0; i < 2000; ++i) words.push_back(std::to_string(random() % 500));
  TStringList list;
  for (size_t i = 0; i < words.size(); ++i) list.AddObject(words[i], Tag(static_cast<intptr_t>(i)));
  list.SetCaseSensitive(true);
  list.Sort();
  std::vector<std::string> expected = words;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(LinesOfStrings(list), expected);
  for (int i = 0; i < list.Count(); ++i)
    EXPECT_EQ(words[static_cast<size_t>(reinterpret_cast<intptr_t>(list.Objects(i)))], list[i]);

  // CustomSort: by length, then descending text.
  list.CustomSort([](TStringList& l, int a, int b) {
    std::string x = l[a], y = l[b];
    if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
    return y.compare(x);
  });
  for (int i = 1; i < list.Count(); ++i) {
    std::string x = list[i - 1], y = list[i];
    EXPECT_TRUE(x.size() < y.size() || (x.size() == y.size() && x >= y)) << x << " " << y;
  }
}

TEST(StringListSorted, CustomSortStaysInRangeWithAComparisonThatNeverAnswersEqual) {
  // A comparison that forgets the equal case (a common slip) answers "greater" for an item
  // against itself; the sort must neither leave the list nor loop forever.
  for (int sign : {-1, 1}) {
    TStringList list;
    std::vector<std::string> words;
    for (int i = 0; i < 50; ++i) words.push_back(std::string(static_cast<size_t>(i % 7 + 1), 'a'));
    for (const std::string& word : words) list.Add(word);
    bool inRange = true;
    list.CustomSort([&](TStringList& l, int a, int b) {
      if (a < 0 || b < 0 || a >= l.Count() || b >= l.Count()) {
        inRange = false;
        return 0;
      }
      return l[a].size() < l[b].size() ? -1 : l[a].size() > l[b].size() ? 1 : sign;
    });
    EXPECT_TRUE(inRange) << sign;
    std::vector<std::string> sorted = LinesOfStrings(list), expected = words;
    std::sort(sorted.begin(), sorted.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(sorted, expected) << sign;  // the same items, none lost or doubled
  }
}

TEST(StringListNames, NameValueLines) {
  TStringList list;
  list.SetText("Width=10\nTitle=a=b\nplain\nEmpty=");
  EXPECT_EQ(list.Names(0), "Width");
  EXPECT_EQ(list.Names(2), "");
  EXPECT_EQ(list.Values("title"), "a=b");
  EXPECT_EQ(list.ValueFromIndex(1), "a=b");
  EXPECT_EQ(list.ValueFromIndex(2), "");
  EXPECT_EQ(list.IndexOfName("EMPTY"), 3);
  EXPECT_EQ(list.IndexOfName("plain"), -1);
  list.SetValues("width", "20");
  list.SetValues("Height", "5");
  list.SetValues("Title", "");
  EXPECT_EQ(LinesOfStrings(list), (std::vector<std::string>{"width=20", "plain", "Empty=", "Height=5"}));
}

TEST(StringListUpdates, EventsFireOncePerOutermostUpdate) {
  TStringList list;
  int changing = 0, changed = 0;
  list.OnChanging = [&](TObject* sender) {
    EXPECT_EQ(sender, &list);
    ++changing;
  };
  list.OnChange = [&](TObject*) { ++changed; };
  list.Add("a");
  list.Add("b");
  EXPECT_EQ(changing, 2);
  EXPECT_EQ(changed, 2);
  list.BeginUpdate();
  list.BeginUpdate();
  list.Add("c");
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(changed, 2);
  list.EndUpdate();
  EXPECT_EQ(changing, 3);
  EXPECT_EQ(changed, 3);
  list.SetText("x\ny");  // one change for the whole text
  EXPECT_EQ(changed, 4);
  EXPECT_EQ(list.UpdateCount(), 0);
}

TEST(StringListAssign, FailureLeavesTheTargetUnchanged) {
  TStringList source;
  source.SetText("b\nc\nb");
  TStringList target;
  target.SetSorted(true);
  target.SetDuplicates(dupError);
  target.AddObject("a", Tag(1));
  EXPECT_EQ(ListError([&] { target.Assign(source); }), "String list does not allow duplicates");
  EXPECT_EQ(ListError([&] { target.AddStrings(source); }), "String list does not allow duplicates");
  EXPECT_EQ(ListError([&] { target.SetText("x\nx"); }), "String list does not allow duplicates");
  EXPECT_EQ(LinesOfStrings(target), (std::vector<std::string>{"a"}));
  EXPECT_EQ(target.Objects(0), Tag(1));

  TStringList self;
  self.SetText("p\nq");
  self.AddStrings(self);
  EXPECT_EQ(LinesOfStrings(self), (std::vector<std::string>{"p", "q", "p", "q"}));
  self.Assign(self);
  EXPECT_EQ(self.Count(), 4);
}

TEST(StringListFiles, SaveAndLoadKeepBytesAndNeverLoseTheOldFile) {
  TempFolder folder;
  std::string name = folder.Name() + "lines.txt";
  TStringList list;
  list.SetText("\xCF\xF0\xE8\xE2\xE5\xF2\nsecond\r\n\nlast");
  list.SaveToFile(name);
  EXPECT_EQ(ReadFileBytes(name), "\xCF\xF0\xE8\xE2\xE5\xF2\r\nsecond\r\n\r\nlast\r\n");
  TStringList loaded;
  loaded.LoadFromFile(name);
  EXPECT_EQ(LinesOfStrings(loaded), LinesOfStrings(list));

  // A target that cannot be replaced: an error, the folder left as it was.
  std::string blocked = folder.Name() + "blocked";
  ASSERT_TRUE(ForceDirectories(blocked + "/inner"));
  EXPECT_THROW(list.SaveToFile(blocked), EWriteError);
  EXPECT_TRUE(DirectoryExists(blocked + "/inner"));
  EXPECT_EQ(ListDirectory(folder.Name(), "*").size(), 2u);  // no temporary file left

  EXPECT_THROW(loaded.LoadFromFile(folder.Name() + "missing.txt"), EFOpenError);
  EXPECT_EQ(LinesOfStrings(loaded), LinesOfStrings(list));
}

TEST(StringListFiles, StreamsFromTheCurrentPosition) {
  TStringStream stream("skip\r\nthis\nthat");
  stream.SetPosition(6);
  TStringList list;
  list.LoadFromStream(stream);
  EXPECT_EQ(LinesOfStrings(list), (std::vector<std::string>{"this", "that"}));
  TStringStream out("old");
  out.Seek(0, soEnd);
  list.SaveToStream(out);
  EXPECT_EQ(out.DataString(), "oldthis\r\nthat\r\n");
}
