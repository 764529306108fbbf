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
