// The reformat engine on real text cases: columns, hyphens, quotation marks, paragraph breaks.
#include <gtest/gtest.h>

#include <set>

#include "tools/reformat.h"

namespace {

const std::set<std::u16string> kWords = {u"example", u"well-known", u"hello", u"world", u"привет", u"мир",
                                         u"пример"};

bool IsWord(std::u16string_view word) { return kWords.count(std::u16string(word)) > 0; }

std::u16string Join(std::u16string_view text, TReformatOptions options = {}, int indentation = 0) {
  return ApplyReformatEdits(text, ReformatJoin(text, options, indentation, IsWord));
}

std::u16string Columns(std::u16string_view text, int* indentation = nullptr) {
  int indent = 0;
  const std::u16string out = ApplyReformatEdits(text, ReformatColumns(text, TReformatOptions{}, indent));
  if (indentation) *indentation = indent;
  return out;
}

TEST(Reformat, JoinsLinesAndWords) {
  TReformatOptions single;
  single.Paragraph = 1;
  TReformatOptions twice;
  twice.Paragraph = 2;
  TReformatOptions keepSpaces;
  keepSpaces.UndoJustify = false;
  TReformatOptions noHyphen;
  noHyphen.UndoHyphen = false;
  TReformatOptions noQuote;
  noQuote.DeQuote = false;
  const struct {
    const char* Name;
    std::u16string Text;
    TReformatOptions Options;
    std::u16string Expected;
  } cases[] = {
      {"valid hyphen merge", u"an exam-\rple here", {}, u"an example here"},
      {"Cyrillic merge", u"при-\rмер", {}, u"пример"},
      {"invalid join keeps the hyphen", u"abc-\rdefg", {}, u"abc-defg"},
      {"two-letter word is not hyphenated", u"a-\rb", {}, u"a- b"},
      {"merging switched off", u"exam-\rple", noHyphen, u"exam- ple"},
      {"the next word keeps its punctuation", u"exam-\rple, next", {}, u"example, next"},
      {"quotation mark removed", u"x\r> quoted", {}, u"x quoted"},
      {"quotation marks kept when switched off", u"x\r> quoted", noQuote, u"x > quoted"},
      {"list item after a sentence end", u"end.\r- item", {}, u"end.\r- item"},
      {"numbered item after a sentence end", u"end.\r1. item", {}, u"end.\r1. item"},
      {"double dash", u"well--known", {}, u"well\u2014known"},
      {"empty line kept", u"p1\r\rp2", {}, u"p1\r\rp2"},
      {"single paragraph break", u"p1\r\rp2", single, u"p1\rp2"},
      {"double paragraph break", u"p1\rp2.\r- p3", twice, u"p1 p2.\r\r- p3"},
      {"justification removed", u"a    b", {}, u"a b"},
      {"justification kept", u"a    b", keepSpaces, u"a    b"},
      {"punctuation is never a separator", u"a, \u00abb\u00bb; c", {}, u"a, \u00abb\u00bb; c"},
      {"text outside 1251 untouched", u"\U0001F600 \u03b1\u03b2\rexam-\rple", {}, u"\U0001F600 \u03b1\u03b2 example"},
      {"empty", u"", {}, u""},
  };
  for (const auto& c : cases) EXPECT_EQ(Join(c.Text, c.Options), c.Expected) << c.Name;
}

TEST(Reformat, IndentationIsCutOnlyAtLineStarts) {
  int indentation = 0;
  const std::u16string text = u"  hello world\r  next line";
  EXPECT_EQ(Columns(text, &indentation), text);
  EXPECT_EQ(indentation, 2);
  EXPECT_EQ(Join(text, {}, indentation), u"  hello world next line");
}

TEST(Reformat, MarksMergedWordsAndIgnoredHyphens) {
  const std::u16string text = u"exam-\rple abc-\rdefg";
  const std::vector<TReformatEdit> edits = ReformatJoin(text, {}, 0, IsWord);
  ASSERT_GE(edits.size(), 2u);
  EXPECT_FALSE(edits[0].Skipped);
  EXPECT_EQ(edits[0].MarkLength, 7);  // "example"
  const auto ignored = std::find_if(edits.begin(), edits.end(), [](const TReformatEdit& e) { return e.Skipped; });
  ASSERT_NE(ignored, edits.end());
  EXPECT_EQ(ignored->MarkLength, 4);  // "abc-"
}

TEST(Reformat, ColumnsGoBelowTheirBlock) {
  const struct {
    const char* Name;
    std::u16string Text, Expected;
  } cases[] = {
      {"two columns", u"a\tb\rc\td\r", u"a\rc\rb\rd\r"},
      {"three columns", u"a\tb\tc\rd\te\tf\rend", u"a\rd\rb\re\rc\rf\rend"},
      {"left over at the end of the text read", u"a\tb\rc\td", u"a\rc\rb\rd\r"},
      {"a long line ends the block", u"a\tb\r" + std::u16string(130, u'x') + u"\tz\r",
       u"a\rb\r" + std::u16string(130, u'x') + u"\rz\r"},
      {"no tabs", u"plain\rtext", u"plain\rtext"},
  };
  for (const auto& c : cases) EXPECT_EQ(Columns(c.Text), c.Expected) << c.Name;
}

// The tool makes its edits in the editor one by one from the last; the text it then works on is
// built in one pass and must come out the same, also for an insertion where a replacement
// starts and for edits at either end.
TEST(Reformat, EditsMadeInOnePassGiveTheEditorsText) {
  const auto fromTheBack = [](std::u16string text, const std::vector<TReformatEdit>& edits) {
    for (auto it = edits.rbegin(); it != edits.rend(); ++it) text.replace(size_t(it->Start), size_t(it->Length), it->Text);
    return text;
  };
  const std::u16string text = u"ab\tcd\rhy-\rphen  text\r> quoted\r";
  const struct {
    const char* Name;
    std::vector<TReformatEdit> Edits;
  } cases[] = {
      {"none", {}},
      {"at both ends", {{0, 0, u"<"}, {0, 2, u"AB"}, {int(text.size()) - 1, 1, u""}, {int(text.size()), 0, u">"}}},
      {"insertion where a replacement starts", {{2, 0, u"\r"}, {2, 3, u"x"}, {5, 1, u" "}, {8, 2, u""}}},
  };
  for (const auto& c : cases) EXPECT_EQ(ApplyReformatEdits(text, c.Edits), fromTheBack(text, c.Edits)) << c.Name;
  // The engine's own edits over a text of every kind of line.
  std::u16string many;
  for (int i = 0; i < 200; ++i) many += u"a\tb\rwell-\rknown  hello\r> world\r\r";
  int indentation = 0;
  const auto columns = ReformatColumns(many, TReformatOptions{}, indentation);
  ASSERT_FALSE(columns.empty());
  EXPECT_EQ(ApplyReformatEdits(many, columns), fromTheBack(many, columns));
  const auto joins = ReformatJoin(many, TReformatOptions{}, indentation, IsWord);
  ASSERT_FALSE(joins.empty());
  EXPECT_EQ(ApplyReformatEdits(many, joins), fromTheBack(many, joins));
}

}  // namespace
