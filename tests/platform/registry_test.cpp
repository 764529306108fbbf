#include "platform/registry.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/string_list.h"
#include "tests/platform/temp_folder.h"

namespace {

using Lines = std::vector<std::string>;

template <typename Action>
std::string RegistryError(Action action) {
  try {
    action();
  } catch (const ERegistryException& e) {
    return e.Message;
  }
  return "";
}

// Each test has a configuration folder of its own.
class RegistryTest : public ::testing::Test {
protected:
  std::string StoreFile(const char* root = "HKEY_CURRENT_USER") const { return folder_.Name() + root + ".registry"; }
  // Points the registry at a copy of the store, as a restarted program would read it.
  void Restart() {
    restarted_ = std::make_unique<TempFolder>();
    for (const auto& entry : std::filesystem::directory_iterator(folder_.Path()))
      std::filesystem::copy(entry.path(), restarted_->Path() / entry.path().filename());
    env_.reset();
    env_ = std::make_unique<ScopedEnv>("QUILLOMARK_CONFIG_DIR", restarted_->Name());
  }

  TempFolder folder_;
  std::unique_ptr<TempFolder> restarted_;
  std::unique_ptr<ScopedEnv> env_ = std::make_unique<ScopedEnv>("QUILLOMARK_CONFIG_DIR", folder_.Name());
};

}  // namespace

TEST_F(RegistryTest, TypedValuesRoundTrip) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\Vortanel\\Quillomark", true));
  const unsigned char blob[] = {0, 1, 0xFE, 0xFF, '\r', '\n'};
  const std::string cyr = "\xD2\xE5\xEA\xF1\xF2 \"\\\" \r\n\t%";  // «Текст» and characters to escape
  reg.WriteString("Text", cyr);
  reg.WriteString("", "default value");
  reg.WriteExpandString("Path", "%HOME%\\x");
  reg.WriteInteger("Negative", -5);
  reg.WriteBool("Flag", true);
  reg.WriteFloat("Ratio", 0.1);
  reg.WriteBinaryData("Blob", blob, sizeof blob);
  reg.WriteMultiString("List", {"a", cyr});

  // A second object, then a restarted program, read what the first wrote.
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    if (round == 1) Restart();
    TRegistry other;
    ASSERT_TRUE(other.OpenKey("\\Software\\Vortanel\\Quillomark", false));
    EXPECT_EQ(other.ReadString("Text"), cyr);
    EXPECT_EQ(other.ReadString(""), "default value");
    EXPECT_EQ(other.ReadExpandString("Path"), "%HOME%\\x");
    EXPECT_EQ(other.ReadString("Path"), "%HOME%\\x");
    EXPECT_EQ(other.ReadInteger("Negative"), -5);
    EXPECT_TRUE(other.ReadBool("Flag"));
    EXPECT_EQ(other.ReadFloat("Ratio"), 0.1);
    unsigned char buffer[16] = {};
    EXPECT_EQ(other.ReadBinaryData("Blob", buffer, sizeof buffer), 6);
    EXPECT_EQ(std::memcmp(buffer, blob, sizeof blob), 0);
    EXPECT_EQ(other.ReadMultiString("List"), (Lines{"a", cyr}));

    struct Info {
      const char* name;
      TRegDataType type;
      int size;
    };
    for (const Info& i : {Info{"Text", rdString, static_cast<int>(cyr.size()) + 1}, Info{"Path", rdExpandString, 9},
                          Info{"Negative", rdInteger, 4}, Info{"Ratio", rdBinary, 8}, Info{"Blob", rdBinary, 6},
                          Info{"List", rdUnknown, 2 + static_cast<int>(cyr.size()) + 1 + 1},
                          Info{"Missing", rdUnknown, -1}}) {
      EXPECT_EQ(other.GetDataType(i.name), i.type) << i.name;
      EXPECT_EQ(other.GetDataSize(i.name), i.size) << i.name;
    }
    TStringList names;
    other.GetValueNames(names);
    EXPECT_EQ(LinesOfStrings(names), (Lines{"Text", "", "Path", "Negative", "Flag", "Ratio", "Blob", "List"}));
  }
  // The file is text a person can read: the Cyrillic text appears in UTF-8.
  std::string file = ReadFileBytes(StoreFile());
  EXPECT_EQ(file.rfind("QuillomarkRegistry 1\n", 0), 0u);
  EXPECT_NE(file.find("\"Text\"=sz:\"\xD0\xA2\xD0\xB5\xD0\xBA\xD1\x81\xD1\x82 \\\"\\\\\\\" \\r\\n\\t%\""), std::string::npos)
      << file;
  EXPECT_NE(file.find("\"Negative\"=dword:fffffffb"), std::string::npos);
}

TEST_F(RegistryTest, WrongTypesAndMissingValues) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Types", true));
  reg.WriteString("S", "5");
  reg.WriteInteger("I", 5);
  reg.WriteBinaryData("B", "abc", 3);
  unsigned char small[2];
  EXPECT_EQ(RegistryError([&] { reg.ReadInteger("S"); }), "Invalid data type for 'S'");
  EXPECT_EQ(RegistryError([&] { reg.ReadString("I"); }), "Invalid data type for 'I'");
  EXPECT_EQ(RegistryError([&] { reg.ReadFloat("B"); }), "Invalid data type for 'B'");
  EXPECT_EQ(RegistryError([&] { reg.ReadBinaryData("B", small, 2); }), "Invalid data type for 'B'");
  EXPECT_EQ(RegistryError([&] { reg.ReadBinaryData("S", small, 2); }), "Invalid data type for 'S'");
  EXPECT_EQ(RegistryError([&] { reg.ReadMultiString("S"); }), "Invalid data type for 'S'");
  EXPECT_EQ(RegistryError([&] { reg.ReadInteger("None"); }), "Failed to get data for 'None'");
  EXPECT_EQ(RegistryError([&] { reg.ReadFloat("None"); }), "Failed to get data for 'None'");
  EXPECT_EQ(reg.ReadString("None"), "");
  EXPECT_EQ(reg.ReadBinaryData("None", small, 2), 0);
  EXPECT_TRUE(reg.ReadMultiString("None").empty());

  // Overwriting changes the type in place.
  reg.WriteInteger("S", 7);
  EXPECT_EQ(reg.ReadInteger("S"), 7);

  // Without an open key, or with a key opened read-only, nothing can be written.
  TRegistry closed;
  EXPECT_EQ(RegistryError([&] { closed.WriteString("X", "y"); }), "Failed to set data for 'X'");
  EXPECT_FALSE(closed.ValueExists("X"));
  TRegistry readOnly;
  ASSERT_TRUE(readOnly.OpenKeyReadOnly("Types"));
  EXPECT_EQ(readOnly.ReadInteger("I"), 5);
  EXPECT_EQ(RegistryError([&] { readOnly.WriteInteger("I", 6); }), "Failed to set data for 'I'");
  EXPECT_FALSE(readOnly.DeleteValue("I"));
  EXPECT_FALSE(readOnly.OpenKeyReadOnly("Missing"));
  EXPECT_EQ(reg.ReadInteger("I"), 5);
}

TEST_F(RegistryTest, KeysAreCreatedListedAndDeletedAsWindowsDoes) {
  TRegistry reg;
  EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
  EXPECT_EQ(reg.CurrentKey(), 0u);
  EXPECT_FALSE(reg.OpenKey("Software\\Missing", false));
  EXPECT_FALSE(reg.KeyExists("Software"));  // a failed open creates nothing
  EXPECT_FALSE(reg.OpenKey("a\\\\b", true));  // an empty name

  ASSERT_TRUE(reg.OpenKey("Software\\Vortanel", true));
  EXPECT_NE(reg.CurrentKey(), 0u);
  EXPECT_EQ(reg.CurrentPath(), "Software\\Vortanel");
  ASSERT_TRUE(reg.OpenKey("Quillomark\\", true));  // relative to the open key
  EXPECT_EQ(reg.CurrentPath(), "Software\\Vortanel\\Quillomark");
  EXPECT_TRUE(reg.CreateKey("Main"));
  EXPECT_TRUE(reg.CreateKey("zeta\\Deep"));
  EXPECT_TRUE(reg.CreateKey("\\Software\\Vortanel\\Quillomark\\Alpha"));
  EXPECT_EQ(reg.CurrentPath(), "Software\\Vortanel\\Quillomark");  // CreateKey opens nothing
  EXPECT_TRUE(reg.KeyExists("MAIN"));
  EXPECT_TRUE(reg.KeyExists("\\software\\VORTANEL"));
  EXPECT_TRUE(reg.HasSubKeys());

  TStringList names;
  reg.GetKeyNames(names);
  EXPECT_EQ(LinesOfStrings(names), (Lines{"Alpha", "Main", "zeta"}));  // by name, case as created

  // Deleting a key deletes everything below it; the open key is then gone for writes.
  ASSERT_TRUE(reg.OpenKey("zeta", false));
  reg.WriteString("v", "1");
  TRegistry other;
  ASSERT_TRUE(other.OpenKey("Software\\Vortanel\\Quillomark", false));
  EXPECT_TRUE(other.DeleteKey("ZETA"));
  EXPECT_FALSE(other.DeleteKey("zeta"));
  EXPECT_FALSE(other.KeyExists("zeta\\Deep"));
  EXPECT_FALSE(reg.ValueExists("v"));
  EXPECT_EQ(RegistryError([&] { reg.WriteString("v", "2"); }), "Failed to set data for 'v'");

  // OpenKey("") opens the root key itself; values may live there.
  ASSERT_TRUE(reg.OpenKey("\\", false));
  EXPECT_EQ(reg.CurrentPath(), "");
  reg.WriteInteger("AtRoot", 1);
  reg.GetKeyNames(names);
  EXPECT_EQ(LinesOfStrings(names), (Lines{"Software"}));
  reg.CloseKey();
  EXPECT_EQ(reg.CurrentKey(), 0u);
  reg.GetKeyNames(names);
  EXPECT_TRUE(names.Count() == 0);

  // Roots are separate stores.
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_FALSE(reg.KeyExists("Software"));
  ASSERT_TRUE(reg.OpenKey("SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage", true));
  reg.WriteString("1252", "c_1251.nls");
  EXPECT_TRUE(FileExists(StoreFile("HKEY_LOCAL_MACHINE")));
  reg.SetRootKey(0x12345);
  EXPECT_FALSE(reg.OpenKey("x", true));
}

TEST_F(RegistryTest, NamesCompareWithoutCaseAndKeepTheirSpelling) {
  const std::string key = "\xCA\xEB\xFE\xF7", keyLower = "\xEA\xEB\xFE\xF7";  // «Ключ», «ключ»
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\" + key, true));
  reg.WriteString("Value", "1");
  reg.WriteString("VALUE", "2");  // the same value
  reg.WriteString("\xC8\xEC\xFF", "3");  // «Имя»
  TRegistry other;
  ASSERT_TRUE(other.OpenKey("SOFTWARE\\" + keyLower, false));
  EXPECT_EQ(other.ReadString("value"), "2");
  EXPECT_EQ(other.ReadString("\xE8\xEC\xFF"), "3");
  TStringList names;
  other.GetValueNames(names);
  EXPECT_EQ(LinesOfStrings(names), (Lines{"Value", "\xC8\xEC\xFF"}));
  ASSERT_TRUE(other.OpenKey("\\", false));
  other.GetKeyNames(names);
  EXPECT_EQ(LinesOfStrings(names), (Lines{"Software"}));
  ASSERT_TRUE(other.OpenKey("software", false));
  other.GetKeyNames(names);
  EXPECT_EQ(LinesOfStrings(names), (Lines{key}));
}

TEST_F(RegistryTest, RenameDeleteAndMove) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("A\\B", true));
  reg.WriteInteger("x", 1);
  reg.WriteInteger("y", 2);
  reg.RenameValue("x", "z");
  reg.RenameValue("y", "Z");  // the new name exists: nothing happens
  EXPECT_EQ(reg.ReadInteger("z"), 1);
  EXPECT_EQ(reg.ReadInteger("y"), 2);
  EXPECT_TRUE(reg.DeleteValue("Y"));
  EXPECT_FALSE(reg.DeleteValue("y"));
  reg.CreateKey("C");

  reg.CloseKey();
  reg.MoveKey("A\\B", "D\\E", true);
  EXPECT_FALSE(reg.KeyExists("A\\B"));
  EXPECT_TRUE(reg.KeyExists("D\\E\\C"));
  reg.MoveKey("D", "D\\Inside", true);  // into itself: refused
  EXPECT_TRUE(reg.KeyExists("D\\E"));
  ASSERT_TRUE(reg.OpenKey("D\\E", false));
  EXPECT_EQ(reg.ReadInteger("z"), 1);
}

TEST_F(RegistryTest, ConcurrentWritersLoseNothing) {
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Shared", true));
  }
  constexpr int kWriters = 3, kValues = 25;
  std::vector<pid_t> children;
  for (int w = 0; w < kWriters; ++w) {
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      int status = 0;
      try {
        TRegistry reg;
        if (!reg.OpenKey("Shared", false)) status = 2;
        for (int i = 0; i < kValues; ++i) reg.WriteInteger("w" + std::to_string(w) + "_" + std::to_string(i), i);
        reg.OpenKey("\\Writer" + std::to_string(w), true);
      } catch (...) {
        status = 3;
      }
      ::_exit(status);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = -1;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  // This process read the store before the children wrote: it notices the file changed.
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Shared", false));
  TStringList names;
  reg.GetValueNames(names);
  EXPECT_EQ(names.Count(), kWriters * kValues);
  for (int w = 0; w < kWriters; ++w) {
    EXPECT_TRUE(reg.KeyExists("\\Writer" + std::to_string(w)));
    for (int i = 0; i < kValues; ++i) EXPECT_EQ(reg.ReadInteger("w" + std::to_string(w) + "_" + std::to_string(i)), i);
  }
}

TEST_F(RegistryTest, DamagedStoreIsRecoveredAndKept) {
  const std::string good =
      "QuillomarkRegistry 1\n[Software]\n\"Keep\"=sz:\"yes\"\n\"Num\"=dword:0000002a\n";
  struct Case {
    const char* what;
    std::string text;
  };
  const Case cases[] = {
      {"cut short", good},
      {"cut inside a line", good + "\"Half\"=sz:\"unfinish"},
      {"bad line", good + "garbage line\n\"Bad\"=dword:xyz\nEndOfRegistry\n"},
      {"bad key", good + "[Broken\n\"Lost\"=sz:\"x\"\nEndOfRegistry\n"},
      {"no header", "[Software]\n\"Keep\"=sz:\"yes\"\n\"Num\"=dword:2a\nEndOfRegistry\n"},
      {"binary junk", good + std::string("\0\xFF\xFE\x01\n", 5)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    ScopedEnv env("QUILLOMARK_CONFIG_DIR", folder.Name());
    std::string file = folder.Name() + "HKEY_CURRENT_USER.registry";
    WriteFileAtomic(file, c.text);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software", false));
    EXPECT_EQ(reg.ReadString("Keep"), "yes");
    EXPECT_EQ(reg.ReadInteger("Num"), 42);
    EXPECT_EQ(ReadFileBytes(file + ".damaged"), c.text);
    reg.WriteString("After", "1");  // the next change writes a whole, clean file
    std::string rewritten = ReadFileBytes(file);
    EXPECT_NE(rewritten.find("\nEndOfRegistry\n"), std::string::npos);
    EXPECT_EQ(rewritten.find("Lost"), std::string::npos);
  }

  // A file of a newer format is reported and never overwritten.
  std::string newer = "QuillomarkRegistry 7\nwhatever\n";
  WriteFileAtomic(StoreFile(), newer);
  TRegistry reg;
  std::string message = RegistryError([&] { reg.OpenKey("Software", true); });
  EXPECT_NE(message.find("newer version"), std::string::npos) << message;
  EXPECT_EQ(ReadFileBytes(StoreFile()), newer);
}

TEST_F(RegistryTest, UnwritableStoreRaises) {
  // The configuration folder is a file: nothing can be created in it.
  ScopedEnv env("QUILLOMARK_CONFIG_DIR", folder_.Name() + "file/");
  WriteFileAtomic(folder_.Name() + "file", "x");
  TRegistry reg;
  EXPECT_FALSE(reg.OpenKey("Software", true));
  EXPECT_EQ(RegistryError([&] { reg.CreateKey("Software"); }), "Failed to create key Software");
  ASSERT_TRUE(reg.OpenKey("", false));
  EXPECT_EQ(RegistryError([&] { reg.WriteString("V", "x"); }), "Failed to set data for 'V'");
}

TEST_F(RegistryTest, RegIniFileSectionsAreSubkeys) {
  TRegIniFile ini("Software\\Vortanel\\Quillomark\\ToolbarPos");
  ini.WriteInteger("TBFile", "Row", 2);
  ini.WriteBool("TBFile", "Visible", true);
  ini.WriteString("TBEdit", "Dock", "top");
  EXPECT_EQ(ini.ReadInteger("tbfile", "ROW", 0), 2);
  EXPECT_TRUE(ini.ReadBool("TBFile", "Visible", false));
  EXPECT_EQ(ini.ReadString("TBFile", "Missing", "def"), "def");
  EXPECT_EQ(ini.ReadInteger("NoSection", "Row", 9), 9);
  EXPECT_FALSE(ini.KeyExists("NoSection"));  // reading creates nothing
  EXPECT_EQ(ini.CurrentPath(), "Software\\Vortanel\\Quillomark\\ToolbarPos");

  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\Vortanel\\Quillomark\\ToolbarPos\\TBFile", false));
  EXPECT_EQ(reg.GetDataType("Row"), rdString);  // integers are kept as text
  reg.WriteInteger("Dword", 5);
  EXPECT_EQ(ini.ReadInteger("TBFile", "Dword", 0), 5);

  TStringList list;
  ini.ReadSections(list);
  EXPECT_EQ(LinesOfStrings(list), (Lines{"TBEdit", "TBFile"}));
  ini.ReadSection("TBFile", list);
  EXPECT_EQ(LinesOfStrings(list), (Lines{"Row", "Visible", "Dword"}));
  ini.ReadSectionValues("TBFile", list);
  EXPECT_EQ(LinesOfStrings(list), (Lines{"Row=2", "Visible=1", "Dword=5"}));
  ini.DeleteKey("TBFile", "Row");
  EXPECT_EQ(ini.ReadInteger("TBFile", "Row", -1), -1);
  ini.EraseSection("TBEdit");
  ini.ReadSections(list);
  EXPECT_EQ(LinesOfStrings(list), (Lines{"TBFile"}));
}
