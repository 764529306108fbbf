#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/string_list.h"
#include "tests/platform/temp_folder.h"

namespace {

using Lines = std::vector<std::string>;

// 1251 text: «Раздел», «РАЗДЕЛ», «ключ», «КЛЮЧ», «значение».
const std::string kSection = "\xD0\xE0\xE7\xE4\xE5\xEB";
const std::string kSectionUpper = "\xD0\xC0\xC7\xC4\xC5\xCB";
const std::string kKey = "\xEA\xEB\xFE\xF7";
const std::string kKeyUpper = "\xCA\xCB\xDE\xD7";
const std::string kValue = "\xE7\xED\xE0\xF7\xE5\xED\xE8\xE5";

const std::string kSample =
    "orphan=ignored\r\n"
    "; a comment\n"
    "[General]\r\n"
    "  Width = 10  \r\n"
    "Title=a = b\r"
    "; keep me\n"
    "Flag\n"
    "Quoted=\"x\"\n"
    "[odd=1\n"
    "\n"
    "[" + kSection + "]\n" +
    kKey + "=" + kValue + "\n"
    "[general]\n"
    "Extra=1\n"
    "Width=99\n";

}  // namespace

TEST(IniRead, SectionsKeysAndValuesAsParsed) {
  TempFolder folder;
  WriteFileAtomic(folder.Name() + "a.ini", kSample);
  TIniFile ini(folder.Name() + "a.ini");
  TMemIniFile mem(folder.Name() + "a.ini");
  for (TCustomIniFile* file : std::initializer_list<TCustomIniFile*>{&ini, &mem}) {
    EXPECT_EQ(file->ReadString("GENERAL", "width", "?"), "10");  // the first of two
    EXPECT_EQ(file->ReadString("General", "Title", "?"), "a = b");
    EXPECT_EQ(file->ReadString("General", "Flag", "?"), "");  // a key without '='
    EXPECT_TRUE(file->ValueExists("General", "FLAG"));
    EXPECT_EQ(file->ReadString("General", "Extra", "?"), "1");  // the repeated section continues
    EXPECT_EQ(file->ReadString("General", "[ODD", "?"), "1");   // no closing bracket: a key
    EXPECT_EQ(file->ReadString("General", "orphan", "?"), "?");
    EXPECT_EQ(file->ReadString("General", "; a comment", "?"), "?");
    EXPECT_EQ(file->ReadString(kSectionUpper, kKeyUpper, "?"), kValue);
    EXPECT_FALSE(file->SectionExists("Missing"));
    EXPECT_TRUE(file->SectionExists(kSectionUpper));
    EXPECT_FALSE(file->ValueExists("General", "Missing"));

    TStringList list;
    file->ReadSections(list);
    EXPECT_EQ(LinesOfStrings(list), (Lines{"General", kSection}));
    file->ReadSection("general", list);
    EXPECT_EQ(LinesOfStrings(list), (Lines{"Width", "Title", "Flag", "Quoted", "[odd", "Extra", "Width"}));
    file->ReadSection("none", list);
    EXPECT_EQ(list.Count(), 0);
  }
  // Quotes: the file-backed INI strips one enclosing pair, the in-memory one keeps them.
  EXPECT_EQ(ini.ReadString("General", "Quoted", ""), "x");
  EXPECT_EQ(mem.ReadString("General", "Quoted", ""), "\"x\"");
  TStringList values;
  mem.ReadSectionValues("General", values);
  EXPECT_EQ(LinesOfStrings(values), (Lines{"Width=10", "Title=a = b", "Flag", "Quoted=\"x\"", "[odd=1", "Extra=1", "Width=99"}));
}

// A section's lines are read when it is first used: whichever is used first, and however the
// lines around a section's "[...]" line end, every line comes back as it was.
TEST(IniRead, SectionsReadWhenFirstUsedKeepEveryLine) {
  TempFolder folder;
  WriteFileAtomic(folder.Name() + "c.ini", "pre\r[A]\r\na=1\n\r [B] \rb=2\r\n[a]\nc=3");
  const Lines all{"pre", "[A]", "a=1", "", "c=3", " [B] ", "b=2"};
  for (bool bFirst : {false, true}) {
    TMemIniFile ini(folder.Name() + "c.ini");
    if (bFirst) EXPECT_EQ(ini.ReadString("b", "B", "?"), "2");
    EXPECT_EQ(ini.ReadString("A", "c", "?"), "3");  // the repeated section continues
    EXPECT_EQ(ini.ReadString("A", "a", "?"), "1");
    TStringList lines;
    ini.GetStrings(lines);
    EXPECT_EQ(LinesOfStrings(lines), all);
  }
  TMemIniFile untouched(folder.Name() + "c.ini");
  TStringList lines;
  untouched.GetStrings(lines);
  EXPECT_EQ(LinesOfStrings(lines), all);
}

TEST(IniRead, NumbersBooleansAndFloats) {
  TMemIniFile ini("unused.ini");
  TStringList lines;
  lines.SetText(
      "[N]\ndec=42\nneg= -7 \nhex=0x1F\ndollar=$ff\nall=0xFFFFFFFF\nbig=2147483648\nword=abc\nempty=\n"
      "half=1.5\ncomma=2,25\nyes=yes\nfive=5\nzero=0\n");
  ini.SetStrings(lines);
  struct Case {
    const char* key;
    int expected;
  };
  for (const Case& c : {Case{"dec", 42}, Case{"neg", -7}, Case{"hex", 31}, Case{"dollar", 255}, Case{"all", -1},
                        Case{"big", -3}, Case{"word", -3}, Case{"empty", -3}, Case{"missing", -3}, Case{"half", -3}})
    EXPECT_EQ(ini.ReadInteger("N", c.key, -3), c.expected) << c.key;
  EXPECT_TRUE(ini.ReadBool("N", "five", false));
  EXPECT_FALSE(ini.ReadBool("N", "zero", true));
  EXPECT_TRUE(ini.ReadBool("N", "yes", true));  // not a number: the default
  EXPECT_FALSE(ini.ReadBool("N", "yes", false));
  EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "half", 0), 1.5);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "comma", 0), 2.25);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "word", -1), -1);

  ini.WriteFloat("N", "tenth", 0.1);
  EXPECT_EQ(ini.ReadString("N", "tenth", ""), "0.1");
  ini.WriteFloat("N", "third", 1.0 / 3);
  EXPECT_EQ(ini.ReadFloat("N", "third", 0), 1.0 / 3);
  ini.WriteInteger("N", "dec", -12);
  ini.WriteBool("N", "five", false);
  EXPECT_EQ(ini.ReadString("N", "dec", ""), "-12");
  EXPECT_EQ(ini.ReadString("N", "five", ""), "0");
}

TEST(IniWrite, IniFileWritesThroughAndKeepsTheRestOfTheFile) {
  TempFolder folder;
  std::string name = folder.Name() + "b.ini";
  WriteFileAtomic(name, "; header comment\n[One]\nA=1\n; trailing comment\n\n[Two]\nB = 2\n");
  TIniFile writer(name);
  TIniFile reader(name);
  EXPECT_EQ(reader.ReadString("One", "A", ""), "1");

  writer.WriteString("one", "a", "changed");
  writer.WriteString("One", "New", kValue);
  writer.WriteInteger("Three", "C", 3);
  EXPECT_EQ(reader.ReadString("One", "A", ""), "changed");  // another object sees it at once
  EXPECT_EQ(ReadFileBytes(name),
            "; header comment\r\n[One]\r\nA=changed\r\nNew=" + kValue +
                "\r\n; trailing comment\r\n\r\n[Two]\r\nB = 2\r\n\r\n[Three]\r\nC=3\r\n");

  writer.EraseSection("ONE");
  writer.DeleteKey("Two", "b");
  writer.DeleteKey("Two", "missing");
  writer.EraseSection("missing");
  EXPECT_EQ(ReadFileBytes(name), "; header comment\r\n[Two]\r\n\r\n[Three]\r\nC=3\r\n");

  // A change made to the file by someone else is not overwritten by the next write.
  WriteFileAtomic(name, "[Two]\r\nOther=x\r\n");
  writer.WriteString("Two", "Mine", "y");
  EXPECT_EQ(reader.ReadString("Two", "Other", ""), "x");
  EXPECT_EQ(reader.ReadString("Two", "Mine", ""), "y");

  // A value written in quotes (as form storage writes a quoted text) reads back without them.
  writer.WriteString("Q", "V", "\"\"a\"\"");
  EXPECT_EQ(reader.ReadString("Q", "V", ""), "\"a\"");
  writer.WriteString("Q", "S", "'b'");
  EXPECT_EQ(reader.ReadString("Q", "S", ""), "b");
}

TEST(IniWrite, MemIniFileWritesOnlyOnUpdate) {
  TempFolder folder;
  std::string name = folder.Name() + "c.ini";
  TMemIniFile ini(name);  // a missing file gives an empty one
  ini.WriteString("S", "K", "v");
  EXPECT_FALSE(FileExists(name));
  EXPECT_EQ(ini.ReadString("s", "k", ""), "v");
  ini.UpdateFile();
  EXPECT_EQ(ReadFileBytes(name), "[S]\r\nK=v\r\n");

  TStringList lines;
  ini.GetStrings(lines);
  EXPECT_EQ(LinesOfStrings(lines), (Lines{"[S]", "K=v"}));
  ini.Clear();
  EXPECT_FALSE(ini.SectionExists("S"));
  ini.Rename(name, true);
  EXPECT_EQ(ini.ReadString("S", "K", ""), "v");
}

TEST(IniErrors, UnreadableAndUnwritableFiles) {
  TempFolder folder;
  ForceDirectories(folder.Name() + "dir");
  TIniFile onFolder(folder.Name() + "dir");
  EXPECT_THROW(onFolder.ReadString("S", "K", ""), EFOpenError);
  EXPECT_THROW(TMemIniFile(folder.Name() + "dir"), EFOpenError);

  TIniFile nowhere(folder.Name() + "missing/x.ini");
  EXPECT_EQ(nowhere.ReadString("S", "K", "default"), "default");
  EXPECT_THROW(nowhere.WriteString("S", "K", "v"), EFCreateError);
  TMemIniFile memory(folder.Name() + "missing/x.ini");
  memory.WriteString("S", "K", "v");
  EXPECT_THROW(memory.UpdateFile(), EFCreateError);
}
