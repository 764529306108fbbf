// The thesaurus data reader: index and data files in the MyThes format, lookups in any case,
// remarks after synonyms, unreadable or foreign data, and where the installed data is found.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tools/thesaurus/thesaurus_data.h"

namespace {

namespace fs = std::filesystem;

struct DataFolder {
  fs::path dir = fs::temp_directory_path() / ("qm-thes-" + std::to_string(::getpid()));
  DataFolder() { fs::create_directories(dir / "mythes"); }
  ~DataFolder() { fs::remove_all(dir); }
  std::string Write(const std::string& name, const std::string& bytes) {
    const fs::path p = dir / "mythes" / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p.string();
  }
  // A data file of the given entries and its index (offsets counted here).
  void WriteThesaurus(const std::string& base, const std::string& header,
                      const std::vector<std::pair<std::string, std::string>>& entries) {
    std::string dat = header + "\n", idx = header + "\n" + std::to_string(entries.size()) + "\n";
    for (const auto& [word, body] : entries) {
      idx += word + "|" + std::to_string(dat.size()) + "\n";
      dat += body;
    }
    Write(base + ".dat", dat);
    Write(base + ".idx", idx);
  }
};

TEST(ThesaurusData, LooksUpMeaningsInAnyCase) {
  DataFolder f;
  f.WriteThesaurus("th", "\xEF\xBB\xBFUTF-8",
                   {{"happy", "happy|2\r\n(adj)|glad|joyful (similar term)\r\n(adj)|felicitous\r\n"},
                    {"\xD0\xB4\xD0\xBE\xD0\xBC", "\xD0\xB4\xD0\xBE\xD0\xBC|1\n(syn)|\xD0\xB7\xD0\xB4\xD0\xB0\xD0\xBD\xD0\xB8\xD0\xB5||\n"}});
  TThesaurusData data(f.dir / "mythes/th.idx", f.dir / "mythes/th.dat");
  EXPECT_EQ(data.WordCount(), 2u);
  std::vector<std::string> words = data.Words();
  std::sort(words.begin(), words.end());
  EXPECT_EQ(words, (std::vector<std::string>{"happy", "\xD0\xB4\xD0\xBE\xD0\xBC"}));
  const std::vector<TThesMeaning> happy{{"(adj)", {"glad", "joyful (similar term)"}}, {"(adj)", {"felicitous"}}};
  EXPECT_EQ(data.Lookup("happy"), happy);
  EXPECT_EQ(data.Lookup("HaPPy"), happy);
  // "ДОМ" finds "дом"; empty synonyms are dropped.
  EXPECT_EQ(data.Lookup("\xD0\x94\xD0\x9E\xD0\x9C"),
            (std::vector<TThesMeaning>{{"(syn)", {"\xD0\xB7\xD0\xB4\xD0\xB0\xD0\xBD\xD0\xB8\xD0\xB5"}}}));
  EXPECT_TRUE(data.Lookup("sad").empty());
  EXPECT_TRUE(data.Lookup("").empty());
}

TEST(ThesaurusData, UnreadableOrForeignDataIsReported) {
  DataFolder f;
  EXPECT_THROW(TThesaurusData((f.dir / "mythes/none.idx").string(), (f.dir / "mythes/none.dat").string()), EThesaurusData);
  f.WriteThesaurus("koi", "KOI8-R", {{"a", "a|1\n(x)|b\n"}});
  EXPECT_THROW(TThesaurusData((f.dir / "mythes/koi.idx").string(), (f.dir / "mythes/koi.dat").string()), EThesaurusData);
  // An index pointing into the wrong place finds nothing rather than a wrong entry.
  f.Write("bad.dat", "UTF-8\nother|1\n(x)|y\n");
  f.Write("bad.idx", "UTF-8\n1\nword|6\n");
  TThesaurusData bad((f.dir / "mythes/bad.idx").string(), (f.dir / "mythes/bad.dat").string());
  EXPECT_TRUE(bad.Lookup("word").empty());
}

TEST(ThesaurusData, SynonymsAndInstalledFiles) {
  struct Case { const char* synonym; const char* plain; } cases[] = {
      {"city (generic term)", "city"}, {"glad", "glad"}, {"(x)", "(x)"}, {"a (b) c", "a (b) c"}, {"", ""}};
  for (const auto& c : cases) EXPECT_EQ(PlainSynonym(c.synonym), c.plain) << c.synonym;

  DataFolder f;
  f.Write("th_en_US_v2.idx", "UTF-8\n0\n");
  f.Write("th_en_US_v2.dat", "UTF-8\n");
  const char* saved = std::getenv("XDG_DATA_DIRS");
  const std::string savedValue = saved ? saved : "";
  ::setenv("XDG_DATA_DIRS", ("/nonexistent:" + f.dir.string()).c_str(), 1);
  EXPECT_EQ(FindThesaurusFiles(false).Idx, (f.dir / "mythes/th_en_US_v2.idx").string());
  EXPECT_EQ(FindThesaurusFiles(true).Dat, (f.dir / "mythes/th_ru_RU_v2.dat").string());  // not there: the last folder
  if (saved) ::setenv("XDG_DATA_DIRS", savedValue.c_str(), 1); else ::unsetenv("XDG_DATA_DIRS");
  // The system's own data, installed with the program's packages.
  const TThesaurusFiles en = FindThesaurusFiles(false);
  EXPECT_FALSE(TThesaurusData(en.Idx, en.Dat).Lookup("happy").empty());
}

}  // namespace
