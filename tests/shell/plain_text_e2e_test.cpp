// End to end: the real program, with its default settings (automatic decoding of opened plain
// files on), opens plain-text files through File > Open and saves them with File > Save; Save As
// writes each text encoding offered as a type, and the status bar names the encoding.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/code_pages.h"
#include "tests/shell/program_test_util.h"

namespace {

using namespace std::chrono_literals;

std::string Utf16(const std::u16string& text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t c : text) bytes += bigEndian ? std::string{char(c >> 8), char(c & 0xFF)} : std::string{char(c & 0xFF), char(c >> 8)};
  return bytes;
}

// The encoding panel (panel 8) of a status bar saved with "save-status".
std::string EncodingPanel(const std::string& statusFile) {
  std::istringstream panels(ProgramRun::ReadText(statusFile));
  std::string panel;
  for (int i = 0; i <= 8; ++i) std::getline(panels, panel);
  return panel;
}

const std::u16string kRussian = u"Съешь же ещё этих мягких французских булок, да выпей чаю.";

TEST(PlainTextEndToEnd, OpenAndSaveWithoutAnEditWriteTheFileBackByteForByte) {
  ProgramFolders f;
  const struct {
    const char* name;
    std::string bytes;
    const char* encoding;  // as the status bar shows it
  } cases[] = {
      {"mark-then-1251.txt", "\xEF\xBB\xBF" + WideToAnsi(u"hello привет", 1251), "Windows-1251 BOM"},
      {"utf16be.txt", Utf16(u"Привет\r\nмир\r\n", true), "UTF-16 BE"},
      {"odd-utf16.txt", Utf16(u"Привет", false) + "!", "UTF-16"},
      {"mixed.txt", WideToUtf8(u"один\r\nдва\nтри\rчетыре\r\n"), "UTF-8"},
      {"koi8.txt", WideToAnsi(kRussian + u"\n", 20866), "Decoded"},
      {"unassigned-1251.txt", WideToAnsi(u"Ночь\n", 1251) + "\x98\xC8" + WideToAnsi(u"звестия\n", 1251), nullptr},
      {"controls.txt", std::string("a\0b\x01\x0C\x1F\n", 7), "UTF-8"},
  };
  std::string script = "# open and save each file\n";
  for (const auto& c : cases) {
    f.Write(c.name, c.bytes);
    script += "answer openfile 1 " + f.Path(c.name) + "\nclick FileOpenCmd\nsave-status " +
              f.Path(std::string(c.name) + ".status") + "\nclick FileSaveCmd\n";
  }
  f.Write("run.script", script + "close\n");
  ProgramRun run({}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(60s), 0) << run.Stderr();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ProgramRun::ReadText(f.Path(c.name)), c.bytes);
    if (c.encoding) EXPECT_EQ(EncodingPanel(f.Path(std::string(c.name) + ".status")), c.encoding);
  }
}

TEST(PlainTextEndToEnd, EditedDecodedTextIsSavedInTheTypeChosenInSaveAs) {
  // Ctrl+S on an edited KOI-8 file that was decoded on open offers Save As with UTF-8 chosen.
  ProgramFolders f;
  f.Write("letter.txt", WideToAnsi(kRussian, 20866));
  f.Write("run.script",
          "# edit, then save\n"
          "click EditSelectAll\n"
          "click CaseUpper\n"
          "answer savefile 1 " + f.Path("letter.txt") + "\n"
          "click FileSaveCmd\n"
          "save-status " + f.Path("status") + "\n"
          "close\n");
  ProgramRun run({f.Path("letter.txt")}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(30s), 0) << run.Stderr();
  EXPECT_EQ(ProgramRun::ReadText(f.Path("letter.txt")), WideToUtf8(u"СЪЕШЬ ЖЕ ЕЩЁ ЭТИХ МЯГКИХ ФРАНЦУЗСКИХ БУЛОК, ДА ВЫПЕЙ ЧАЮ."));
  EXPECT_EQ(EncodingPanel(f.Path("status")), "UTF-8");
}

TEST(PlainTextEndToEnd, SaveAsWritesEachTextEncodingOfferedAsAType) {
  ProgramFolders f;
  const std::u16string text = u"Привет, мир\nёлки\n";
  f.Write("note.txt", WideToUtf8(text));
  const struct {
    int type;
    std::string bytes;
    const char* shown;
  } cases[] = {
      {2, WideToAnsi(text, 1251), "Windows-1251"}, {3, WideToAnsi(text, 866), "DOS-866"},
      {4, WideToAnsi(text, 28595), "ISO-8859-5"},  {5, WideToAnsi(text, 20866), "KOI-8"},
      {6, WideToAnsi(text, 10007), "Mac"},          {7, Utf16(text, false), "UTF-16"},
      {1, WideToUtf8(text), "UTF-8"},
  };
  std::string script = "wait-text ёлки\n";
  for (const auto& c : cases) {
    const std::string name = "type" + std::to_string(c.type);
    script += "answer savefile " + std::to_string(c.type) + " " + f.Path(name + ".txt") + "\nclick FileSaveAsCmd\n" +
              "save-status " + f.Path(name + ".status") + "\n";
  }
  f.Write("run.script", script + "close\n");
  ProgramRun run({f.Path("note.txt")}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(60s), 0) << run.Stderr();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    const std::string name = "type" + std::to_string(c.type);
    EXPECT_EQ(ProgramRun::ReadText(f.Path(name + ".txt")), c.bytes);
    EXPECT_EQ(EncodingPanel(f.Path(name + ".status")), c.shown);
  }
}

}  // namespace
