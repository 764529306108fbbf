// Printing rich text to PDF, read back with pdftotext: every line once, pages cut between lines.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>

#include "platform/gui/rich_edit_control.h"
#include "platform/gui/rich_print.h"

namespace {

std::string PdfText(const std::string& pdf, const char* options = "-layout") {
  std::string text;
  FILE* pipe = popen(("pdftotext " + std::string(options) + " '" + pdf + "' -").c_str(), "r");
  if (!pipe) return text;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
  pclose(pipe);
  return text;
}

int PageCount(const std::string& text) {
  int pages = 0;
  for (char c : text) pages += c == '\f';
  return pages;
}

TEST(RichPrint, LongTextKeepsEveryLineOnceAcrossPages) {
  QTemporaryDir dir;
  RichEditControl control;
  std::u16string text;
  for (int i = 1; i <= 250; ++i) text += u"Line " + std::u16string(1, u'0' + i / 100) +
                                        std::u16string(1, u'0' + i / 10 % 10) +
                                        std::u16string(1, u'0' + i % 10) + u" end\r";
  control.SetText(text);
  TRichPrintSetup setup;
  setup.pdfFile = dir.filePath("long.pdf").toStdString();
  setup.borders = pbLeft | pbTop | pbRight | pbBottom;
  const int pages = PrintRichText(control, setup);
  EXPECT_GT(pages, 2);
  const std::string printed = PdfText(setup.pdfFile);
  EXPECT_EQ(PageCount(printed), pages);
  std::map<std::string, int> seen;
  std::istringstream lines(printed);
  for (std::string line; std::getline(lines, line);) {
    const size_t at = line.find("Line ");
    if (at != std::string::npos) ++seen[line.substr(at, 8)];
  }
  EXPECT_EQ(seen.size(), 250u);
  for (const auto& [line, count] : seen) EXPECT_EQ(count, 1) << line;
}

TEST(RichPrint, EmptyTextPrintsOnePageAndBadMarginsAreRefused) {
  QTemporaryDir dir;
  RichEditControl control;
  TRichPrintSetup setup;
  setup.pdfFile = dir.filePath("empty.pdf").toStdString();
  EXPECT_EQ(PrintRichText(control, setup), 1);
  EXPECT_EQ(PageCount(PdfText(setup.pdfFile)), 1);
  setup.marginLeft = setup.marginRight = 120;
  EXPECT_THROW(PrintRichText(control, setup), std::runtime_error);
}

TEST(RichPrint, WiderMarginsGiveMorePages) {
  QTemporaryDir dir;
  RichEditControl control;
  std::u16string text;
  for (int i = 0; i < 120; ++i) text += u"Text\r";
  control.SetText(text);
  TRichPrintSetup setup;
  setup.pdfFile = dir.filePath("a.pdf").toStdString();
  const int normal = PrintRichText(control, setup);
  setup.marginTop = setup.marginBottom = 100;
  EXPECT_GT(PrintRichText(control, setup), normal);
}

// The text starts at the left and top margins (points: 1 mm = 72 / 25.4 pt).
TEST(RichPrint, TextStartsAtTheMargins) {
  QTemporaryDir dir;
  RichEditControl control;
  control.SetText(u"Word");
  for (const double margin : {10.0, 25.0, 40.0}) {
    TRichPrintSetup setup;
    setup.pdfFile = dir.filePath("m.pdf").toStdString();
    setup.marginLeft = setup.marginTop = margin;
    PrintRichText(control, setup);
    const std::string boxes = PdfText(setup.pdfFile, "-bbox");
    const size_t at = boxes.find("<word xMin=\"");
    ASSERT_NE(at, std::string::npos);
    double x = 0, y = 0;
    std::sscanf(boxes.c_str() + at, "<word xMin=\"%lf\" yMin=\"%lf\"", &x, &y);
    const double expected = margin * 72 / 25.4;
    EXPECT_NEAR(x, expected, 1.5) << margin;
    EXPECT_NEAR(y, expected, 4) << margin;
  }
}

}  // namespace
