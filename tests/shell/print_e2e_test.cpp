// End to end: the paper chosen in Page Setup is offered by the next print, used for the PDF and
// kept for the next start; a paper chosen in the print dialog is used for that print.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>

#include "tests/shell/program_test_util.h"

namespace {

using namespace std::chrono_literals;

// The page size of the first page of a PDF file, in points: "WIDTH HEIGHT" rounded.
std::string PdfPageSize(const std::string& path) {
  const std::string pdf = ProgramRun::ReadText(path);
  std::smatch m;
  if (!std::regex_search(pdf, m, std::regex(R"(/MediaBox\s*\[\s*0\s+0\s+([0-9.]+)\s+([0-9.]+)\s*\])"))) return "none";
  return std::to_string(std::lround(std::stod(m[1]))) + " " + std::to_string(std::lround(std::stod(m[2])));
}

TEST(PrintEndToEnd, TheChosenPaperIsUsedForThePdfAndKept) {
  ProgramFolders f;
  f.Write("doc.rtf", "{\\rtf1\\ansi Printed words.\\par}");
  // A5 in Page Setup, then Print confirmed as offered; then A6 chosen in the print dialog.
  f.Write("first.script",
          "wait-text Printed\n"
          "answer pagesetup 1 14800 21000\n"
          "click PageSetup1\n"
          "answer print 1 0 0 " + f.Path("a5.pdf") + "\n"
          "click FilePrintItem\n"
          "answer print 1 10500 14800 " + f.Path("a6.pdf") + "\n"
          "click FilePrintItem\n"
          "close\n");
  ProgramRun first({f.Path("doc.rtf")}, f.Env("first.script"));
  ASSERT_EQ(first.Wait(60s), 0) << first.Stderr();
  EXPECT_EQ(PdfPageSize(f.Path("a5.pdf")), "420 595");
  EXPECT_EQ(PdfPageSize(f.Path("a6.pdf")), "297 420");
  // The next start prints on the paper of the page setup.
  f.Write("second.script", "wait-text Printed\nanswer print 1 0 0 " + f.Path("next.pdf") + "\nclick FilePrintItem\nclose\n");
  ProgramRun second({f.Path("doc.rtf")}, f.Env("second.script"));
  ASSERT_EQ(second.Wait(60s), 0) << second.Stderr();
  EXPECT_EQ(PdfPageSize(f.Path("next.pdf")), "420 595");
}

}  // namespace
