#include "proofing/dictionary.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <thread>

#include "platform/streams.h"
#include "proofing/spell.h"
#include "spell_fixtures.h"

namespace {

using namespace std::chrono_literals;

// A packed dictionary written byte by byte: header, then the front-coded stream
// 1 "cat" 4 "s" 1 "dog" 1 "ox": cat, cats, dog, ox (three characters of "cat" shared by "cats").
std::string GoldenPacked(uint32_t DataSize) {
  TQDictHeader header;
  header.SetLcid(LANG_ENGLISH_US);
  header.SetTitle("Golden");
  header.SetDataName("golden");
  header.SetGroupNumber(1);
  header.SetOnByDefault(1);
  header.SetDataSize(DataSize);
  header.SetWordCount(4);
  header.SetGroup(2, 0, 1);
  header.SetGroup(3, 2, 2);
  header.SetGroup(4, 8, 1);
  return std::string(header.Bytes.data(), kDictHeaderSize) +
         std::string("\x01" "cat" "\x04" "s" "\x01" "dog" "\x01" "ox");
}

void SetAge(const std::string& File, std::chrono::seconds Age) {
  std::filesystem::last_write_time(File, std::filesystem::file_time_type::clock::now() - Age);
}

TEST(DictionaryFormat, HeaderFieldsSitAtTheirOffsets) {
  TQDictHeader header;
  header.SetLcid(1049);
  header.SetTitle("Title");
  header.SetDataName("ru_yo");
  header.SetWordCount(7);
  header.SetDataSize(0x01020304);
  header.SetGroup(1, 0x11, 0x22);
  header.SetGroup(40, 0x33, 0x44);
  header.SetGroupNumber(3);
  header.SetOnByDefault(1);
  const auto* b = reinterpret_cast<const unsigned char*>(header.Bytes.data());
  EXPECT_EQ(b[0] | b[1] << 8, 1049);
  EXPECT_EQ(b[2], 5);
  EXPECT_EQ(std::string(header.Bytes.data() + 3, 5), "Title");
  EXPECT_EQ(b[64], 5);
  EXPECT_EQ(b[76], 7);
  EXPECT_EQ(b[80], 4);
  EXPECT_EQ(b[83], 1);
  EXPECT_EQ(b[84], 0x11);  // offset of length 1 at 76 + 8
  EXPECT_EQ(b[88], 0x22);
  EXPECT_EQ(b[396], 0x33);  // length 40 at 76 + 320
  EXPECT_EQ(b[400], 0x44);
  EXPECT_EQ(b[404], 3);
  EXPECT_EQ(b[408], 1);
  EXPECT_EQ(header.GroupCount(0), 0u);
  EXPECT_EQ(header.GroupCount(41), 0u);
}

TEST(DictionaryFormat, FrontCodingRoundTrip) {
  const auto words = UnpackDictWords(std::string("\x01" "cat" "\x04" "s"));
  EXPECT_EQ(words, (std::vector<std::string>{"", "cat", "cats"}));
  const std::vector<std::string> list = {"alpha", "alphabet", "alpine", "beta", "b"};
  auto unpacked = UnpackDictWords(PackDictWords(list));
  unpacked.erase(unpacked.begin());
  EXPECT_EQ(unpacked, list);
}

TEST(Dictionary, FindWordFollowsTheCaseRule) {
  TTempFolder folder;
  WriteTestDictionary(folder.Name(), "en", LANG_ENGLISH_US, {"house", "Paris", "Polish", "polish", "NATO", "a"});
  TQDictionary dictionary(folder / "en.qdi");
  dictionary.Open();
  struct Case {
    const char* Word;
    bool MatchCase;
    bool Found;
  };
  const Case cases[] = {
      {"house", true, true},   {"House", true, true},   {"HOUSE", true, true},  {"hOUSE", true, false},
      {"Paris", true, true},   {"PARIS", true, true},   {"paris", true, false}, {"paris", false, true},
      {"polish", true, true},  {"Polish", true, true},  {"POLISH", true, true}, {"NATO", true, true},
      {"nato", true, false},   {"houses", true, false}, {"a", true, true},      {"A", true, true},
  };
  for (const auto& c : cases) {
    std::string found;
    EXPECT_EQ(dictionary.FindWord(c.Word, found, c.MatchCase), c.Found) << c.Word;
  }
  // Without the case rule the stored form closest to the word is reported.
  const std::pair<const char*, const char*> forms[] = {
      {"paris", "Paris"}, {"polish", "polish"}, {"Polish", "Polish"}, {"POLISH", nullptr}, {"pOLISH", nullptr}};
  for (auto [word, stored] : forms) {
    std::string found;
    ASSERT_TRUE(dictionary.FindWord(word, found, false)) << word;
    if (stored) {
      EXPECT_EQ(found, stored) << word;
    }
  }
}

TEST(Dictionary, EmptyAndOverlongWordsAreNotLookedUp) {
  TTempFolder folder;
  // Words whose bytes equal header fields would be "found" if lengths 0 or 41 read the table.
  WriteTestDictionary(folder.Name(), "en", LANG_ENGLISH_US, {"x", std::string(40, 'y')});
  TQDictionary dictionary(folder / "en.qdi");
  dictionary.Open();
  std::string found;
  EXPECT_FALSE(dictionary.FindWord("", found, false));
  EXPECT_FALSE(dictionary.FindWord(std::string(41, 'y'), found, false));
  EXPECT_TRUE(dictionary.FindWord(std::string(40, 'y'), found, false));
  EXPECT_FALSE(dictionary.FindWord("zz", found, false));  // no words of length 2
}

TEST(Dictionary, ClosedOrVanishedDataFileFindsNothing) {
  TTempFolder folder;
  WriteTestDictionary(folder.Name(), "en", LANG_ENGLISH_US, {"word"});
  TQDictionary dictionary(folder / "en.qdi");
  std::string found;
  EXPECT_FALSE(dictionary.FindWord("word", found, false));
  dictionary.Open();
  EXPECT_TRUE(dictionary.FindWord("word", found, false));
  dictionary.Close();
  EXPECT_FALSE(dictionary.FindWord("word", found, false));
}

TEST(Dictionary, GoldenPackedFileIsUnpacked) {
  TTempFolder folder;
  const std::string packed = GoldenPacked(12);
  WriteFileAtomic(folder / "golden.qdp", packed);
  WriteFileAtomic(folder / "golden.qdi", packed.substr(0, kDictHeaderSize));
  TQDictionary dictionary(folder / "golden.qdi");
  EXPECT_TRUE(dictionary.IsReady());
  EXPECT_FALSE(FileExists(folder / "golden.qdp"));
  EXPECT_EQ(ReadFileBytes(folder / "golden.qd"), "oxcatdogcats");
  EXPECT_EQ(dictionary.Title(), "Golden");
  EXPECT_TRUE(dictionary.Enabled);
  dictionary.Open();
  std::string found;
  for (const char* word : {"ox", "cat", "dog", "cats"}) EXPECT_TRUE(dictionary.FindWord(word, found, true)) << word;
}

TEST(Dictionary, SizeMismatchKeepsThePackedFileAndNoDataFile) {
  TTempFolder folder;
  const std::string packed = GoldenPacked(13);
  WriteFileAtomic(folder / "golden.qdp", packed);
  WriteFileAtomic(folder / "golden.qdi", packed.substr(0, kDictHeaderSize));
  struct View : IUnpackView {
    std::vector<std::string> Errors;
    std::vector<int> Steps;
    void BeginUnpack(const std::string&) override {}
    void CheckStep(int Step) override { Steps.push_back(Step); }
    void ShowFreeSpace(const std::string&) override {}
    TLowSpaceAnswer AskLowSpace(const std::string&) override { return TLowSpaceAnswer::Abort; }
    void ShowError(const std::string& Message) override { Errors.push_back(Message); }
  } view;
  TQDictionary dictionary(folder / "golden.qdi", &view);
  EXPECT_FALSE(dictionary.IsReady());
  EXPECT_TRUE(FileExists(folder / "golden.qdp"));
  EXPECT_FALSE(FileExists(folder / "golden.qd"));
  EXPECT_EQ(view.Errors, std::vector<std::string>{"Dictionary size doesn't match. Unpacking failed."});
  EXPECT_EQ(view.Steps, (std::vector<int>{1, 2, 3, 4, 5}));
  // No partial data file is left beside it either.
  EXPECT_EQ(ListDirectory(folder.Name()).size(), 2u);
}

// A header may name its data file only beside itself: a name with a folder part is damage, and
// a packed file naming one is not unpacked (nothing is written outside the folder).
TEST(Dictionary, DataFileNameWithAFolderIsRefused) {
  TTempFolder folder;
  std::filesystem::create_directories(folder / "dict");
  std::string packed = GoldenPacked(12);
  WriteFileAtomic(folder / "dict/golden.qdi", packed.substr(0, kDictHeaderSize));
  TQDictHeader header;
  std::copy_n(packed.begin(), kDictHeaderSize, header.Bytes.begin());
  header.SetDataName("../golden");
  packed.replace(0, kDictHeaderSize, header.Bytes.data(), kDictHeaderSize);
  WriteFileAtomic(folder / "dict/golden.qdp", packed);
  {
    TQDictionary dictionary(folder / "dict/golden.qdi");
    EXPECT_FALSE(dictionary.IsReady());
  }
  EXPECT_FALSE(FileExists(folder / "golden.qd"));
  EXPECT_TRUE(FileExists(folder / "dict/golden.qdp"));

  WriteFileAtomic(folder / "dict/golden.qdi", packed.substr(0, kDictHeaderSize));
  WriteFileAtomic(folder / "golden.qd", "oxcatdogcats");
  TQDictionary named(folder / "dict/golden.qdi");
  EXPECT_EQ(named.Damage(), "the header names no data file beside it");
  EXPECT_FALSE(named.Enabled);
}

TEST(Dictionary, PackedFileAgainstExistingDataFile) {
  TTempFolder folder;
  const std::string packed = GoldenPacked(12);
  // Older packed file: deleted, the data file stays as it is.
  WriteFileAtomic(folder / "golden.qdi", packed.substr(0, kDictHeaderSize));
  WriteFileAtomic(folder / "golden.qd", "oxcatdogcatz");
  WriteFileAtomic(folder / "golden.qdp", packed);
  SetAge(folder / "golden.qdp", 100s);
  { TQDictionary dictionary(folder / "golden.qdi"); }
  EXPECT_FALSE(FileExists(folder / "golden.qdp"));
  EXPECT_EQ(ReadFileBytes(folder / "golden.qd"), "oxcatdogcatz");
  // Newer packed file: unpacked again and replaces the data file.
  WriteFileAtomic(folder / "golden.qdp", packed);
  SetAge(folder / "golden.qd", 100s);
  { TQDictionary dictionary(folder / "golden.qdi"); }
  EXPECT_FALSE(FileExists(folder / "golden.qdp"));
  EXPECT_EQ(ReadFileBytes(folder / "golden.qd"), "oxcatdogcats");
}

}  // namespace

namespace {

// Damaged files of a dictionary are found at creation and reported when the languages load;
// the dictionary is off, not ready and finds nothing.
TEST(Dictionary, DamagedFilesAreFoundAndReported) {
  struct Case {
    const char* what;
    std::function<void(const TTempFolder&)> damage;
    const char* detail;
  };
  const Case cases[] = {
      {"data file cut short",
       [](const TTempFolder& f) { WriteFileAtomic(f / "en_uk.qd", ReadFileBytes(f / "en_uk.qd").substr(0, 7)); },
       "holds 7 bytes"},
      {"empty data file", [](const TTempFolder& f) { WriteFileAtomic(f / "en_uk.qd", ""); }, "holds 0 bytes"},
      {"header cut short",
       [](const TTempFolder& f) { WriteFileAtomic(f / "en_uk.qdi", ReadFileBytes(f / "en_uk.qdi").substr(0, 300)); },
       "header file is cut short"},
      {"group beyond the data",
       [](const TTempFolder& f) {
         TQDictHeader header;
         const std::string bytes = ReadFileBytes(f / "en_uk.qdi");
         std::copy(bytes.begin(), bytes.end(), header.Bytes.begin());
         header.SetGroup(5, header.DataSize() - 5, 4);
         WriteFileAtomic(f / "en_uk.qdi", std::string(header.Bytes.begin(), header.Bytes.end()));
       },
       "words of 5 letters"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TTempFolder folder;
    WriteTestDictionary(folder.Name(), "en_uk", LANG_ENGLISH_US, {"cat", "house", "mouse", "word"});
    WriteTestLanguage(folder.Name(), "english", LANG_ENGLISH_US, "abcdefghijklmnopqrstuvwxyz");
    {
      TQDictionary sound(folder / "en_uk.qdi");
      EXPECT_EQ(sound.Damage(), "");
      EXPECT_TRUE(sound.IsReady());
    }
    c.damage(folder);
    TQDictionary dictionary(folder / "en_uk.qdi");
    EXPECT_NE(dictionary.Damage().find(c.detail), std::string::npos) << dictionary.Damage();
    EXPECT_FALSE(dictionary.IsReady());
    EXPECT_FALSE(dictionary.Enabled);
    dictionary.Open();
    std::string found;
    EXPECT_FALSE(dictionary.FindWord("house", found, false));

    std::vector<std::string> errors;
    TQSpell spell(nullptr, nullptr);
    spell.OnError = [&](const std::string& message) { errors.push_back(message); };
    spell.LoadLanguages(folder.Name());
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("Dictionary " + (folder / "en_uk.qdi") + " is corrupt: ", 0), 0u) << errors[0];
  }
}

}  // namespace
