#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/exceptions.h"
#include "tests/platform/temp_folder.h"

namespace {

std::vector<std::string> Names(const std::vector<TSearchRec>& entries) {
  std::vector<std::string> names;
  for (const auto& entry : entries) names.push_back(entry.Name);
  return names;
}

// Every name in a folder as the operating system has it.
std::vector<std::string> NativeNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(FileNames, CyrillicNameRoundTripsThroughTheFileSystem) {
  TempFolder folder;
  const std::string name = "\xCF\xF0\xE8\xE2\xE5\xF2 \xB8\xE6.txt";  // «Привет ёж.txt» in 1251
  const std::string full = folder.Name() + name;
  EXPECT_EQ(NativePath(full).filename().string(), "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xD1\x91\xD0\xB6.txt");
  EXPECT_EQ(ProgramFileName(NativePath(full)), full);

  WriteFileAtomic(full, "data");
  EXPECT_TRUE(FileExists(full));
  EXPECT_EQ(ReadFileBytes(full), "data");
  EXPECT_EQ(FileSize(full), 4);
  EXPECT_EQ(Names(ListDirectory(folder.Name(), "*.TXT")), std::vector<std::string>{name});
  EXPECT_EQ(NativeNames(folder.Path()), std::vector<std::string>{NativePath(name).string()});
}

TEST(FileNames, Parts) {
  struct Case {
    std::string name, path, file, ext, changed;
  };
  const Case cases[] = {
      {"/a/b/c.txt", "/a/b/", "c.txt", ".txt", "/a/b/c.rtf"},
      {"c.tar.gz", "", "c.tar.gz", ".gz", "c.tar.rtf"},
      {"/a.b/c", "/a.b/", "c", "", "/a.b/c.rtf"},
      {"/a/b/", "/a/b/", "", "", "/a/b/.rtf"},
      {"noext.", "", "noext.", ".", "noext.rtf"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtractFilePath(c.name), c.path) << c.name;
    EXPECT_EQ(ExtractFileName(c.name), c.file) << c.name;
    EXPECT_EQ(ExtractFileExt(c.name), c.ext) << c.name;
    EXPECT_EQ(ChangeFileExt(c.name, ".rtf"), c.changed) << c.name;
  }
  EXPECT_EQ(IncludeTrailingPathDelimiter("/a"), "/a/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/a/"), "/a/");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/a/"), "/a");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "/");
}

TEST(FileNames, ExpandFileName) {
  EXPECT_EQ(ExpandFileName("x.txt", "/base/dir/"), "/base/dir/x.txt");
  EXPECT_EQ(ExpandFileName("../x.txt", "/base/dir"), "/base/x.txt");
  EXPECT_EQ(ExpandFileName("./a/./b/../c", "/base/"), "/base/a/c");
  EXPECT_EQ(ExpandFileName("/abs/../x", "/base/"), "/x");
  EXPECT_EQ(ExpandFileName("../../../x", "/base/"), "/x");
  EXPECT_EQ(ExpandFileName("\xCF/x", "/\xC0/"), "/\xC0/\xCF/x");
  EXPECT_EQ(ExpandFileName("rel"), GetCurrentDir() + "rel");
}

TEST(FileOperations, FoldersRenameDeleteAndStamps) {
  TempFolder folder;
  std::string deep = folder.Name() + "a/b/c";
  EXPECT_TRUE(ForceDirectories(deep + "/"));
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_FALSE(FileExists(deep));
  EXPECT_TRUE(ForceDirectories(deep));  // already there

  std::string one = deep + "/one", two = deep + "/two";
  WriteFileAtomic(one, "1");
  WriteFileAtomic(two, "22");
  TFileStamp before = GetFileStamp(two);
  EXPECT_TRUE(RenameFile(one, two));  // replaces the target
  EXPECT_FALSE(FileExists(one));
  EXPECT_EQ(ReadFileBytes(two), "1");
  EXPECT_NE(GetFileStamp(two), before);
  EXPECT_TRUE(FileModificationTime(two).has_value());
  EXPECT_FALSE(FileModificationTime(one).has_value());
  EXPECT_EQ(FileSize(one), -1);

  EXPECT_FALSE(DeleteFile(deep));  // a folder is not a file
  EXPECT_TRUE(DeleteFile(two));
  EXPECT_FALSE(DeleteFile(two));
  EXPECT_FALSE(RenameFile(one, two));
}

TEST(FileOperations, ListingWithMasks) {
  TempFolder folder;
  for (const char* name : {"RUSSIAN.LNG", "english.lng", "notes.txt", ".hidden.lng", "a.lngx"})
    WriteFileAtomic(folder.Name() + name, "x");
  ForceDirectories(folder.Name() + "sub.lng");

  EXPECT_EQ(Names(ListDirectory(folder.Name(), "*.lng")),
            (std::vector<std::string>{".hidden.lng", "RUSSIAN.LNG", "english.lng", "sub.lng"}));
  EXPECT_EQ(Names(ListDirectory(folder.Name(), "?????.txt")), std::vector<std::string>{"notes.txt"});
  EXPECT_EQ(ListDirectory(folder.Name(), "*.*").size(), 6u);
  auto all = ListDirectory(folder.Name());
  ASSERT_EQ(all.size(), 6u);
  EXPECT_TRUE(all[0].Hidden);
  EXPECT_FALSE(all[1].Hidden);
  EXPECT_EQ(all[1].Size, 1);
  auto sub = std::find_if(all.begin(), all.end(), [](const TSearchRec& r) { return r.Name == "sub.lng"; });
  EXPECT_TRUE(sub->Directory);
  EXPECT_TRUE(ListDirectory(folder.Name() + "missing").empty());
}

TEST(FileOperations, AtomicWriteReplacesOrLeavesTheOldFile) {
  TempFolder folder;
  std::string name = folder.Name() + "settings.ini";
  WriteFileAtomic(name, "old");
  ::chmod(NativePath(name).c_str(), 0640);
  WriteFileAtomic(name, std::string("new\0data", 8));
  EXPECT_EQ(ReadFileBytes(name), std::string("new\0data", 8));
  struct stat info;
  ASSERT_EQ(::stat(NativePath(name).c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);  // the permissions of the replaced file stay

  // Through a symbolic link, the file it points to is replaced and the link stays.
  std::filesystem::create_symlink("settings.ini", folder.Path() / "link.ini");
  WriteFileAtomic(folder.Name() + "link.ini", "via link");
  EXPECT_TRUE(std::filesystem::is_symlink(folder.Path() / "link.ini"));
  EXPECT_EQ(ReadFileBytes(name), "via link");
  std::filesystem::remove(folder.Path() / "link.ini");

  // A target that cannot be replaced (a folder) and a folder that does not exist.
  ForceDirectories(folder.Name() + "dir/keep");
  try {
    WriteFileAtomic(folder.Name() + "dir", "x");
    ADD_FAILURE() << "no error";
  } catch (const EWriteError& e) {
    EXPECT_NE(e.Message.find("Cannot write file \"" + folder.Name() + "dir\". "), std::string::npos) << e.Message;
  }
  try {
    WriteFileAtomic(folder.Name() + "missing/x.ini", "x");
    ADD_FAILURE() << "no error";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message, "Cannot create file \"" + folder.Name() + "missing/x.ini\". No such file or directory");
  }
  EXPECT_TRUE(DirectoryExists(folder.Name() + "dir/keep"));
  EXPECT_EQ(NativeNames(folder.Path()), (std::vector<std::string>{"dir", "settings.ini"}));

  EXPECT_THROW(ReadFileBytes(folder.Name() + "nothing"), EFOpenError);
  EXPECT_THROW(ReadFileBytes(folder.Name() + "dir"), EFOpenError);
}

// The configuration folder is remembered between calls: every change of a variable that decides
// it is seen by the next call, one after the other in a single process.
TEST(ProgramFolders, ConfigFolderFollowsEveryChangeOfItsVariables) {
  using Value = std::optional<std::string>;
  struct Step {
    Value config, xdg, home;
    std::string folder;
  };
  const Step steps[] = {
      {"/a", "/x", "/h", "/a/"},
      {"/a", "/y", "/i", "/a/"},               // the variables after the one set do not count
      {"/b", "/y", "/i", "/b/"},
      {std::nullopt, "/y", "/i", "/y/quillomark/"},
      {"", "/z", "/i", "/z/quillomark/"},      // empty is as unset
      {"", std::nullopt, "/i", "/i/.config/quillomark/"},
      {"", "", "/j", "/j/.config/quillomark/"},
      {"/a", "", "/j", "/a/"},
  };
  for (const Step& step : steps) {
    ScopedEnv config("QUILLOMARK_CONFIG_DIR", step.config);
    ScopedEnv xdg("XDG_CONFIG_HOME", step.xdg);
    ScopedEnv home("HOME", step.home);
    EXPECT_EQ(UserConfigFolder(), step.folder);
    EXPECT_EQ(UserConfigFolder(), step.folder);
  }
}

TEST(ProgramFolders, ProgramConfigAndRuntimeFolders) {
  std::string real = ProgramFolder();
  EXPECT_EQ(real.back(), '/');
  EXPECT_TRUE(FileExists(real + program_invocation_short_name));
  SetProgramFolder("/opt/qm");
  EXPECT_EQ(ProgramFolder(), "/opt/qm/");
  SetProgramFolder("");
  EXPECT_EQ(ProgramFolder(), real);

  {
    ScopedEnv config("QUILLOMARK_CONFIG_DIR", "/cfg/qm");
    ScopedEnv xdg("XDG_CONFIG_HOME", "/xdg");
    EXPECT_EQ(UserConfigFolder(), "/cfg/qm/");
  }
  {
    ScopedEnv config("QUILLOMARK_CONFIG_DIR", std::nullopt);
    ScopedEnv xdg("XDG_CONFIG_HOME", "/xdg/");
    EXPECT_EQ(UserConfigFolder(), "/xdg/quillomark/");
  }
  {
    ScopedEnv config("QUILLOMARK_CONFIG_DIR", "");
    ScopedEnv xdg("XDG_CONFIG_HOME", std::nullopt);
    ScopedEnv home("HOME", "/home/\xD0\xB8");  // a UTF-8 home folder becomes 1251 text
    EXPECT_EQ(UserConfigFolder(), "/home/\xE8/.config/quillomark/");
  }
  {
    ScopedEnv runtime("XDG_RUNTIME_DIR", "/run/user/7");
    EXPECT_EQ(UserRuntimeFolder(), "/run/user/7/");
  }
  {
    ScopedEnv runtime("XDG_RUNTIME_DIR", std::nullopt);
    EXPECT_EQ(UserRuntimeFolder(), "/tmp/quillomark-" + std::to_string(::getuid()) + "/");
  }
}
