#include "textcore/app_files.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/files.h"
#include "platform/string_list.h"

namespace fs = std::filesystem;

namespace {

// A temporary folder, removed with everything in it.
class TempFolder {
public:
  TempFolder() {
    path_ = fs::temp_directory_path() / ("qm-tc-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
    fs::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code error;
    fs::remove_all(path_, error);
  }
  std::string Name() const { return path_.string() + "/"; }
  std::string Write(const std::string& relative, const std::string& content) const {
    fs::create_directories((path_ / relative).parent_path());
    std::ofstream(path_ / relative, std::ios::binary) << content;
    return Name() + relative;
  }

private:
  static inline int counter_ = 0;
  fs::path path_;
};

TEST(AppFiles, AppDirFileKeepsOnlyTheNameOfAPath) {
  const std::string folder = ProgramFolder();
  ASSERT_EQ(folder.back(), '/');
  EXPECT_EQ(AppDirFile("x.ini"), folder + "x.ini");
  EXPECT_EQ(AppDirFile("C:\\other\\x.ini"), folder + "x.ini");
  EXPECT_EQ(AppDirFile("/home/user/x.ini"), folder + "x.ini");
  // A relative name keeps its sub-folder in the program folder (the change logs live in "Logs").
  EXPECT_EQ(AppDirFile("Logs/translit.log"), folder + "Logs/translit.log");
  EXPECT_EQ(AppDirFile(""), folder);
}

TEST(AppFiles, ExtractFileBaseName) {
  EXPECT_EQ(ExtractFileBaseName("/data/dict/en_uk.qdi"), "en_uk");
  EXPECT_EQ(ExtractFileBaseName("archive.tar.gz"), "archive");
  EXPECT_EQ(ExtractFileBaseName("/data/noext"), "noext");
  EXPECT_EQ(ExtractFileBaseName("/data.d/file"), "file");
  EXPECT_EQ(ExtractFileBaseName(""), "");
}

TEST(AppFiles, IsTextFile) {
  TempFolder folder;
  const std::string ruler(300, '-');
  const struct {
    const char* name;
    std::string content;
    bool text;
  } cases[] = {
      {"empty.txt", "", true},
      {"plain.txt", "Hello,\r\nworld.\tTabbed\fpage\n", true},
      {"cyrillic.txt", "\xCF\xF0\xE8\xE2\xE5\xF2 \xEC\xE8\xF0", true},
      {"ruler.txt", "Title\n" + ruler + "\n", true},
      {"nul.bin", std::string("ab\0cd", 5), false},
      {"escape.bin", "ab\x1B[0m", false},
      {"long-run.bin", std::string("abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"), false},
      {"fifty.txt", std::string("abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMN") + " end", true},
      {"late-binary.txt", std::string(1100, ' ') + std::string(1, '\0'), true},  // past the sample
  };
  for (const auto& c : cases) EXPECT_EQ(IsTextFile(folder.Write(c.name, c.content)), c.text) << c.name;
  EXPECT_FALSE(IsTextFile(folder.Name() + "missing.txt"));
  EXPECT_FALSE(IsTextFile(folder.Name()));  // a folder
}

TEST(AppFiles, ScanFilesListsAndSumsMatchingFiles) {
  TempFolder folder;
  folder.Write("a.txt", "12345");
  folder.Write("b.TXT", "123");
  folder.Write("c.doc", "1");
  folder.Write(".hidden.txt", "1234567");
  folder.Write("sub/d.txt", "12");
  folder.Write("sub/deeper/e.txt", "1");
  folder.Write("_skip/f.txt", "1234");
  folder.Write(".git/g.txt", "1234");
  fs::create_directories(folder.Name() + "dir.txt");  // a folder matching the mask is not a file
  fs::create_directory_symlink(folder.Name() + "sub", folder.Name() + "loop");

  TStringList flat;
  EXPECT_EQ(ScanFiles(folder.Name() + "*.txt", flat, false), 8);
  flat.SetSorted(true);
  EXPECT_EQ(flat.Count(), 2);
  EXPECT_EQ(flat[0], folder.Name() + "a.txt");

  TStringList deep;
  EXPECT_EQ(ScanFiles(folder.Name() + "*.txt", deep, true), 11);
  EXPECT_EQ(deep.Count(), 4);
  EXPECT_NE(deep.IndexOf(folder.Name() + "sub/deeper/e.txt"), -1);
  EXPECT_EQ(ScanFiles(folder.Name() + "missing/*.txt", deep, true), 0);
}

}  // namespace
