#include "proofing/text_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Call {
  std::string Word;
  int WordOffset;
  std::string Separator;
  int Percent;
  bool operator==(const Call&) const = default;
};

struct Recorder : TObject {
  std::vector<Call> Calls;
  int StopAfter = -1;
};

bool Record(TObject* Owner, TStringList& Words, TStringList& Separators, int Percent) {
  auto* recorder = static_cast<Recorder*>(Owner);
  recorder->Calls.push_back({Words[0], TTextScanner::OffsetOf(Words, 0), Separators[0], Percent});
  return static_cast<int>(recorder->Calls.size()) == recorder->StopAfter;
}

std::vector<Call> ScanText(const std::string& Text, bool Html = false, int BatchSize = 1, int StopAfter = -1) {
  Recorder recorder;
  recorder.StopAfter = StopAfter;
  TTextScanner scanner;
  scanner.Owner = &recorder;
  scanner.OnWords = Record;
  scanner.BatchSize = BatchSize;
  scanner.HtmlAware = Html;
  scanner.Scan(Text);
  return recorder.Calls;
}

// The words of a scan that are not blank.
std::vector<std::string> WordsOf(const std::vector<Call>& Calls) {
  std::vector<std::string> words;
  for (const auto& call : Calls)
    if (call.Word.find_first_not_of(' ') != std::string::npos) words.push_back(call.Word);
  return words;
}

TEST(TextScanner, EmptyTextGivesTheEmptyWordAndTheVirtualBlank) {
  const std::vector<Call> expected = {{"", 0, " ", 100}, {" ", 0, "", 100}};
  EXPECT_EQ(ScanText(""), expected);
}

TEST(TextScanner, WordsCarryTheirSeparatorsAndOffsets) {
  const std::vector<Call> expected = {{"Hello", 0, ", ", 58}, {"world", 7, " ", 100}, {" ", 12, "", 100}};
  EXPECT_EQ(ScanText("Hello, world"), expected);
}

TEST(TextScanner, BatchHandsEachWordFirstOnceWithLookAhead) {
  std::vector<std::vector<std::string>> windows;
  struct Owner : TObject {
    std::vector<std::vector<std::string>>* Windows;
  } owner;
  owner.Windows = &windows;
  TTextScanner scanner;
  scanner.Owner = &owner;
  scanner.BatchSize = 3;
  scanner.OnWords = [](TObject* o, TStringList& words, TStringList&, int) {
    std::vector<std::string> window;
    for (int i = 0; i < words.Count(); ++i) window.push_back(words[i]);
    static_cast<Owner*>(o)->Windows->push_back(window);
    return false;
  };
  scanner.Scan("a b c d");
  const std::vector<std::vector<std::string>> expected = {
      {"a", "b", "c"}, {"b", "c", "d"}, {"c", "d", " "}, {"d", " "}, {" "}};
  EXPECT_EQ(windows, expected);
}

TEST(TextScanner, StopEndsTheScanAlsoDuringTheDrain) {
  EXPECT_EQ(ScanText("one two three", false, 1, 1).size(), 1u);
  EXPECT_EQ(ScanText("one two", false, 5, 1).size(), 1u);  // first call is in the drain
  EXPECT_EQ(ScanText("one two", false, 5, 2).size(), 2u);
}

TEST(TextScanner, HtmlMarkupIsSeparatorText) {
  struct Case {
    const char* Text;
    std::vector<std::string> Words;
  };
  const Case cases[] = {
      {"a<b class=\"x y\">c</b>", {"a", "c"}},          // quoted blank does not end the tag
      {"x<!-- 1 > 2 -->y", {"x", "y"}},                  // ">" inside a comment does not end it
      {"one <a href=\"x>y\">two</a> three", {"one", "two", "three"}},
      {"&amp; and&nbsp;so", {"&amp", "and&nbsp", "so"}},  // entities are words to the scanner
      {"see http://example.com/a?b=c now", {"see", "http://example.com/a?b=c", "now"}},
  };
  for (const auto& c : cases) EXPECT_EQ(WordsOf(ScanText(c.Text, true)), c.Words) << c.Text;
}

TEST(TextScanner, UnbalancedQuoteDoesNotSwallowTheText) {
  // A quote left open in a tag or a comment must not make the rest of the text markup.
  EXPECT_EQ(WordsOf(ScanText("a <p title=\"oops>b c <i>d</i>", true)), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(WordsOf(ScanText("a <!-- say \"hi --> b <i>c</i>", true)), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(TextScanner, UnclosedTagOrCommentIsText) {
  // A "<" that no ">" follows, or a comment that is never closed, must not hide the rest either.
  EXPECT_EQ(WordsOf(ScanText("if a < b then c", true)), (std::vector<std::string>{"if", "a", "<", "b", "then", "c"}));
  EXPECT_EQ(WordsOf(ScanText("x <!-- open y", true)), (std::vector<std::string>{"x", "<!--", "open", "y"}));
  EXPECT_EQ(WordsOf(ScanText("a<b>c x<y", true)), (std::vector<std::string>{"a", "c", "x<y"}));
}

TEST(TextScanner, WithoutHtmlTagsAreWords) {
  EXPECT_EQ(WordsOf(ScanText("a <b>c</b>")), (std::vector<std::string>{"a", "<b>c</b>"}));
}

TEST(TextScanner, EngineSetKeepsApostrophesAndHyphensInWords) {
  Recorder recorder;
  TTextScanner scanner;
  scanner.Owner = &recorder;
  scanner.OnWords = Record;
  scanner.SeparatorChars = EngineWordDelimiters();
  scanner.Scan("it's a well-known fact.");
  EXPECT_EQ(WordsOf(recorder.Calls), (std::vector<std::string>{"it's", "a", "well-known", "fact"}));
}

}  // namespace
