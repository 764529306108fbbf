#include "platform/registry.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <functional>

#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/registry_store.h"
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

// Runs `write(w)` in `count` child processes at once (w = 0 .. count-1) and waits for them; a
// child fails when `write` returns false or throws.
void InChildProcesses(int count, const std::function<bool(int w)>& write) {
  std::vector<pid_t> children;
  for (int w = 0; w < count; ++w) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      int status = 0;
      try {
        if (!write(w)) status = 2;
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
  InChildProcesses(kWriters, [](int w) {
    TRegistry reg;
    if (!reg.OpenKey("Shared", false)) return false;
    for (int i = 0; i < kValues; ++i) reg.WriteInteger("w" + std::to_string(w) + "_" + std::to_string(i), i);
    reg.OpenKey("\\Writer" + std::to_string(w), true);
    return true;
  });
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

// A batch writes each store once, when it ends or moves on to another store; reads inside it
// see its changes, and batched copies of the program still lose none of each other's changes.
TEST_F(RegistryTest, BatchWritesEachStoreOnceAndLosesNothing) {
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Shared", true));
  }
  const std::string before = ReadFileBytes(StoreFile());
  {
    TRegistryBatch batch;
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Shared", false));
    for (int i = 0; i < 20; ++i) reg.WriteInteger("v" + std::to_string(i), i);
    EXPECT_EQ(reg.ReadInteger("v19"), 19);
    EXPECT_EQ(ReadFileBytes(StoreFile()), before);  // nothing written yet
    TRegistry machine;
    machine.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(machine.OpenKey("Software", true));  // moving on writes the first store
    EXPECT_NE(ReadFileBytes(StoreFile()).find("\"v19\""), std::string::npos);
    machine.WriteString("Name", "x");
    EXPECT_FALSE(FileExists(StoreFile("HKEY_LOCAL_MACHINE")));
  }
  EXPECT_NE(ReadFileBytes(StoreFile("HKEY_LOCAL_MACHINE")).find("\"Name\""), std::string::npos);

  constexpr int kWriters = 3, kValues = 25;
  InChildProcesses(kWriters, [](int w) {
    TRegistryBatch batch;
    TRegistry reg, machine;
    machine.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!reg.OpenKey("Shared", false) || !machine.OpenKey("Software", false)) return false;
    for (int i = 0; i < kValues; ++i) {
      const std::string name = "w" + std::to_string(w) + "_" + std::to_string(i);
      reg.WriteInteger(name, i);
      if (i % 5 == 0) machine.WriteInteger(name, i);
    }
    return true;
  });
  TRegistry reg, machine;
  machine.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(reg.OpenKey("Shared", false));
  ASSERT_TRUE(machine.OpenKey("Software", false));
  for (int w = 0; w < kWriters; ++w)
    for (int i = 0; i < kValues; ++i) {
      const std::string name = "w" + std::to_string(w) + "_" + std::to_string(i);
      EXPECT_EQ(reg.ReadInteger(name), i);
      if (i % 5 == 0) EXPECT_EQ(machine.ReadInteger(name), i);
    }
}

// In a batch each store's file is looked at once, at the batch's first read of it; another
// copy's change shows from the next batch on, and a change made in the batch starts from the
// file as it is then.
TEST_F(RegistryTest, BatchLooksAtTheFileOnceAndChangesItsCurrentContent) {
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Shared", true));
    reg.WriteInteger("a", 1);
    reg.WriteInteger("b", 1);
  }
  auto otherCopyWrites = [this](int a, int b) {
    char text[128];
    std::snprintf(text, sizeof text, "QuillomarkRegistry 1\n[Shared]\n\"a\"=dword:%08x\n\"b\"=dword:%08x\nEndOfRegistry\n",
                  a, b);
    WriteFileAtomic(StoreFile(), text);
  };
  auto read = [](const char* name) {
    TRegistry reg;
    return reg.OpenKey("Shared", false) ? reg.ReadInteger(name) : -1;
  };
  TRegistry held;  // its key stays open while the file is read anew
  ASSERT_TRUE(held.OpenKey("Shared", false));
  EXPECT_EQ(held.ReadInteger("a"), 1);
  {
    TRegistryBatch batch;
    EXPECT_EQ(read("a"), 1);
    otherCopyWrites(2, 2);
    EXPECT_EQ(read("a"), 1);  // as the batch first read the file
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Shared", false));
    reg.WriteInteger("b", 1);  // the batch read 1, but the file holds 2 now
    EXPECT_EQ(read("a"), 2);   // the change started from the file
    EXPECT_EQ(read("b"), 1);
  }
  EXPECT_EQ(read("b"), 1);
  otherCopyWrites(3, 3);
  {
    TRegistryBatch batch;
    EXPECT_EQ(read("a"), 3);  // changed between batches: the next batch reads it
    otherCopyWrites(4, 4);
    EXPECT_EQ(read("b"), 3);
  }
  EXPECT_EQ(read("a"), 4);  // outside a batch every read looks at the file
  EXPECT_EQ(held.ReadInteger("b"), 4);
}

// A TRegistry keeps using the store its key was opened in; a new configuration folder is used
// from the next key opened, for every root key.
TEST_F(RegistryTest, NewConfigFolderIsUsedFromTheNextKeyOpened) {
  TRegistry reg, machine;
  machine.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(reg.OpenKey("Software", true));
  ASSERT_TRUE(machine.OpenKey("Software", true));
  reg.WriteString("Where", "first");
  {
    TempFolder other;
    ScopedEnv env("QUILLOMARK_CONFIG_DIR", other.Name());
    reg.WriteString("Still", "first");
    machine.WriteString("Still", "first");
    TRegistry next;
    EXPECT_FALSE(next.KeyExists("Software"));
    ASSERT_TRUE(next.OpenKey("Software", true));
    next.WriteString("Where", "second");
    ASSERT_TRUE(reg.OpenKey("\\Software", false));
    EXPECT_EQ(reg.ReadString("Where"), "second");
    EXPECT_FALSE(reg.ValueExists("Still"));
    EXPECT_FALSE(machine.OpenKey("\\Software", false));
  }
  ASSERT_TRUE(reg.OpenKey("\\Software", false));
  EXPECT_EQ(reg.ReadString("Where"), "first");
  EXPECT_EQ(reg.ReadString("Still"), "first");
  ASSERT_TRUE(machine.OpenKey("\\Software", false));
  EXPECT_EQ(machine.ReadString("Still"), "first");
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

}

// A store the program cannot use never stops it: the session starts from what could be read
// (nothing, for a store it must not touch), keeps its changes in memory, and says why.
TEST_F(RegistryTest, UnusableStoreKeepsChangesForTheSession) {
  using Reason = RegistryStore::TSessionOnly::TReason;
  struct Case {
    const char* what;
    std::function<void(const std::string& folder)> prepare;
    std::string configFolder;  // below the test's folder
    Reason reason;
    const char* detail;
  };
  const Case cases[] = {
      {"newer format",
       [](const std::string& folder) {
         WriteFileAtomic(folder + "HKEY_CURRENT_USER.registry", "QuillomarkRegistry 7\n[Software]\n\"V\"=sz:\"new\"\n");
       },
       "", Reason::NewerFormat, "newer version"},
      {"store is a folder",
       [](const std::string& folder) { ForceDirectories(folder + "HKEY_CURRENT_USER.registry/inside"); }, "",
       Reason::CannotRead, "It is a folder"},
      {"folder cannot be created", [](const std::string& folder) { WriteFileAtomic(folder + "file", "x"); },
       "file/config/", Reason::CannotWrite, "Cannot create file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    c.prepare(folder.Name());
    ScopedEnv env("QUILLOMARK_CONFIG_DIR", folder.Name() + c.configFolder);
    const std::string file = UserConfigFolder() + "HKEY_CURRENT_USER.registry";
    const TFileStamp before = GetFileStamp(file);
    {
      TRegistry reg;
      ASSERT_TRUE(reg.OpenKey("Software", true));
      EXPECT_EQ(reg.ReadString("V"), "");  // defaults: nothing of the file is used
      reg.WriteString("V", "this session");
      reg.WriteInteger("N", 3);
    }
    TRegistry again;
    ASSERT_TRUE(again.OpenKey("Software", false));
    EXPECT_EQ(again.ReadString("V"), "this session");
    EXPECT_EQ(again.ReadInteger("N"), 3);
    EXPECT_EQ(GetFileStamp(file), before);  // left exactly as it was
    RegistryStore::TSessionOnly state = RegistryStore::ForRoot(HKEY_CURRENT_USER)->SessionOnly();
    EXPECT_EQ(state.Reason, c.reason);
    EXPECT_NE(state.Detail.find(c.detail), std::string::npos) << state.Detail;
  }
}

// Deep key paths are refused with a clear error, and a deep tree is freed, copied and written
// without recursion.
TEST_F(RegistryTest, KeyDepthIsBoundedAndDeepTreesNeedNoRecursion) {
  std::string deep;
  for (int i = 0; i < 20000; ++i) deep += i ? "\\k" : "k";
  TRegistry reg;
  EXPECT_FALSE(reg.OpenKey(deep, true));
  std::string message = RegistryError([&] { reg.CreateKey(deep); });
  EXPECT_NE(message.find("at most 512 levels"), std::string::npos) << message.substr(0, 200);
  EXPECT_FALSE(reg.KeyExists("k"));

  // The deepest allowed key round-trips through the file.
  std::string deepest = deep.substr(0, 512 * 2 - 1);
  ASSERT_TRUE(reg.OpenKey(deepest, true));
  reg.WriteString("Leaf", "here");
  EXPECT_FALSE(reg.OpenKey(deepest + "\\one-more", true));
  Restart();
  TRegistry restarted;
  ASSERT_TRUE(restarted.OpenKey(deepest, false));
  EXPECT_EQ(restarted.ReadString("Leaf"), "here");

  // A hand-made file with a key 20,000 deep: that line is damage, the rest is used.
  WriteFileAtomic(UserConfigFolder() + "HKEY_CURRENT_USER.registry",
                  "QuillomarkRegistry 1\n[" + deep + "]\n\"Lost\"=sz:\"x\"\n[Kept]\n\"V\"=sz:\"y\"\nEndOfRegistry\n");
  TRegistry damaged;
  ASSERT_TRUE(damaged.OpenKey("Kept", false));
  EXPECT_EQ(damaged.ReadString("V"), "y");
  EXPECT_FALSE(damaged.KeyExists("\\k"));
  damaged.WriteString("W", "z");

  RegKey root;
  RegKey* key = &root;
  for (int i = 0; i < 100000; ++i) key = &key->AddSubkey("k");
  key->SetValue({"V", REG_SZ, "deep"});
  std::unique_ptr<RegKey> copy = root.Clone();
  const RegKey* walk = copy.get();
  for (int i = 0; i < 100000; ++i) walk = walk->Subkey("k");
  ASSERT_NE(walk->Value("v"), nullptr);
  EXPECT_EQ(walk->Value("v")->Data, "deep");
}  // both trees are freed here

// Values are found by name however many a key holds; a later line of the same name replaces
// the earlier one in its place.
TEST_F(RegistryTest, ManyValuesInOneKey) {
  std::string text = "QuillomarkRegistry 1\n[Software]\n";
  for (int i = 0; i < 20000; ++i) text += "\"Item_" + std::to_string(i) + "\"=dword:" + std::to_string(i % 10) + "\n";
  text += "\"item_5\"=sz:\"again\"\nEndOfRegistry\n";
  WriteFileAtomic(StoreFile(), text);
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software", false));
  EXPECT_EQ(reg.ReadInteger("ITEM_19999"), 9);
  EXPECT_EQ(reg.ReadString("Item_5"), "again");
  TStringList names;
  reg.GetValueNames(names);
  ASSERT_EQ(names.Count(), 20000);
  EXPECT_EQ(names[5], "item_5");
  EXPECT_TRUE(reg.DeleteValue("Item_3"));
  reg.RenameValue("Item_4", "Renamed");
  EXPECT_EQ(reg.ReadInteger("renamed"), 4);
  EXPECT_EQ(reg.ReadInteger("Item_6"), 6);
  EXPECT_FALSE(reg.ValueExists("Item_4"));
  reg.GetValueNames(names);
  EXPECT_EQ(names[3], "Renamed");
}

// A key name holding characters the file escapes (a backslash, '%') survives a rewrite.
TEST_F(RegistryTest, EscapedKeyNamesSurviveRewrite) {
  WriteFileAtomic(StoreFile(),
                  "QuillomarkRegistry 1\n[Software\\Odd%5cName]\n\"V\"=sz:\"1\"\n[Software\\Per%25cent]\nEndOfRegistry\n");
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software", false));
  reg.WriteString("Other", "x");
  const std::string rewritten = ReadFileBytes(StoreFile());
  EXPECT_NE(rewritten.find("[Software\\Odd%5cName]\n\"V\"=sz:\"1\"\n"), std::string::npos) << rewritten;
  EXPECT_NE(rewritten.find("[Software\\Per%25cent]"), std::string::npos) << rewritten;
  EXPECT_EQ(rewritten.find("Odd\\Name"), std::string::npos) << rewritten;
}

// Temporary files of a writer that was killed are removed by the next writer; other files stay.
TEST_F(RegistryTest, NextWriterRemovesTemporaryFilesOfAKilledOne) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software", true));
  const std::string left = folder_.Name() + ".HKEY_CURRENT_USER.registry.999999.0.tmp";
  const std::string others[] = {folder_.Name() + ".HKEY_CURRENT_USER.registry.damaged.1.2.tmp",
                                folder_.Name() + ".other.registry.1.2.tmp", folder_.Name() + "notes.tmp"};
  WriteFileAtomic(left, "half a store");
  for (const std::string& other : others) WriteFileAtomic(other, "keep");
  reg.WriteString("V", "x");
  EXPECT_FALSE(FileExists(left));
  for (const std::string& other : others) EXPECT_TRUE(FileExists(other)) << other;
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
