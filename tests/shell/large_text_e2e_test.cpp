// End to end: the real program edits large texts, a long line without a break and densely
// formatted RTF, and saves them exactly.
#include <gtest/gtest.h>

#include "platform/code_pages.h"
#include "platform/rtf_reader.h"
#include "tests/shell/program_test_util.h"

namespace {

using namespace std::chrono_literals;

TEST(LargeTextEndToEnd, ALongLineEditsAtBothEndsAndSavesByteForByte) {
  ProgramFolders f;
  std::string line;
  while (line.size() < 400000) line += WideToUtf8(u"Съешь же ещё этих мягких французских булок, да выпей чаю. ");
  f.Write("line.txt", line);
  f.Write("run.script",
          "type Начало \n"
          "key Ctrl+End\n"
          "type конец\n"
          "click FileSaveCmd\n"
          "close\n");
  ProgramRun run({f.Path("line.txt")}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(120s), 0) << run.Stderr();
  EXPECT_EQ(ProgramRun::ReadText(f.Path("line.txt")), WideToUtf8(u"Начало ") + line + WideToUtf8(u"конец"));
}

// In a line laid out in pieces the caret moves by the keys as in any other: a character, a line
// up or down, to either end of the shown line; Delete takes the character after it.
TEST(LargeTextEndToEnd, KeysMoveAndDeleteInALongLine) {
  ProgramFolders f;
  std::u16string line;
  while (line.size() < 300000) line += u"Съешь же ещё этих мягких французских булок, да выпей чаю. ";
  f.Write("line.txt", WideToUtf8(line));
  f.Write("run.script",
          "key Ctrl+End\n"
          "key Left\n"
          "key Del\n"          // the last character (a space)
          "type Я\n"
          "key Ctrl+Home\n"
          "key Right\n"
          "key Right\n"
          "key Shift+Right\n"
          "type Ж\n"           // in place of the third character
          "key Down\n"
          "key End\n"
          "type |\n"           // at the end of the second shown line
          "key Ctrl+Home\n"
          "key Down\n"
          "key Down\n"
          "key Home\n"
          "type #\n"           // at the start of the third
          "click FileSaveCmd\n"
          "close\n");
  ProgramRun run({f.Path("line.txt")}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(120s), 0) << run.Stderr();
  const std::u16string saved = Utf8ToWide(ProgramRun::ReadText(f.Path("line.txt")));
  ASSERT_EQ(saved.size(), line.size() + 2);
  EXPECT_EQ(saved.substr(0, 3), u"СъЖ");
  EXPECT_EQ(saved.substr(saved.size() - 2), u".Я");
  const size_t bar = saved.find(u'|'), hash = saved.find(u'#');
  // Both lie inside the first lines, a space ends the second line and the third starts a word.
  ASSERT_NE(bar, std::u16string::npos);
  ASSERT_NE(hash, std::u16string::npos);
  EXPECT_GT(bar, 20u);
  EXPECT_LT(hash, 1000u);
  EXPECT_LT(bar, hash);
  EXPECT_EQ(saved[bar + 1], u' ');
  EXPECT_EQ(saved[hash - 1], u' ');
  EXPECT_NE(saved[hash + 1], u' ');
}

TEST(LargeTextEndToEnd, DenseRtfKeepsEveryRunThroughAnEditAndSave) {
  ProgramFolders f;
  constexpr int kLines = 3000;
  std::string rtf = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
                    "{\\colortbl;\\red255\\green0\\blue0;}\\f0\\fs20 ";
  for (int i = 0; i < kLines; ++i)
    rtf += "Line " + std::to_string(i) + " holds {\\b bold} and {\\cf1 red} words here.\\par\n";
  f.Write("dense.rtf", rtf + "}");
  f.Write("run.script",
          "type New \n"
          "click FileSaveCmd\n"
          "close\n");
  ProgramRun run({f.Path("dense.rtf")}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(120s), 0) << run.Stderr();
  const TRichDocument saved = ReadRtf(ProgramRun::ReadText(f.Path("dense.rtf")));
  ASSERT_GE(saved.Paragraphs.size(), size_t(kLines));
  EXPECT_EQ(saved.Paragraphs[0].Text(), u"New Line 0 holds bold and red words here.");
  for (const int i : {0, 1234, kLines - 1}) {
    SCOPED_TRACE(i);
    const std::vector<TRichRun>& runs = saved.Paragraphs[size_t(i)].Runs;
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[1].Text, u"bold");
    EXPECT_TRUE(runs[1].Format.Bold);
    EXPECT_EQ(runs[3].Text, u"red");
    EXPECT_EQ(runs[3].Format.Color, 0x0000FFu);
    EXPECT_FALSE(runs[2].Format.Bold);
  }
}

}  // namespace
