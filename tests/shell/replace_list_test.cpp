// The replace-list format and engine without the find form's window: escapes, list lines,
// conditions, preserved case, history, and replace-all over a rich text control.
#include <gtest/gtest.h>

#include "platform/gui/application.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/rich_text.h"
#include "shell/replace_list_conditions.h"
#include "shell/replace_list_editor.h"
#include "shell/replace_list_engine.h"
#include "shell/replace_list_rules.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_attributes.h"

namespace {

TEST(ReplaceListEscapes, DecodeTable) {
  struct Case {
    const char* input;
    std::u16string text;
    int flag;
  } cases[] = {
      {"{13}", u"\r", 0},
      {"{0}", u"", 0},
      {"{{", u"{", 0},
      {"{x", u"{x", 0},
      {"{65", u"A", 0},
      {"{168}", u"\u0401", 0},
      {"{1025}", u"\u0401", 0},
      {"{123456}", u"\u30396}", 0},
      {"a{32}", u"a ", 0},
      {"{@}", u"\u0001", 1},
      {"{#}", u"\u0001", 2},
      {"{&}", u"\u0001", 4},
      {"{|}", u"\u0001", 8},
      {"{@}x{#}", u"\u0001x\u0001", 2},
      {"\xC0\xE1", u"Аб", 0},
      {"{99999}", u"{99999}", 0},
  };
  for (const Case& c : cases) {
    const TDecodedText d = DecodeEscapes(c.input);
    EXPECT_EQ(d.Text, c.text) << c.input;
    EXPECT_EQ(d.ClassFlag, c.flag) << c.input;
  }
}

TEST(ReplaceListLines, ParseTable) {
  EXPECT_EQ(ParseListLine("## x").LineKind, TListLine::kComment);
  const TListLine section = ParseListLine("###  Latin ");
  EXPECT_EQ(section.LineKind, TListLine::kSection);
  EXPECT_EQ(section.Section, "Latin");
  struct Case {
    const char* line;
    const char* find;
    const char* replace;
    const char* conditions;
  } rules[] = {
      {"ab=cd{32}", "ab", "cd{32}", ""},
      {"ab=cd   ", "ab", "cd", ""},
      {"a b=c", "a b", "c", ""},
      {"x=y| +q -r", "x", "y", "+q -r"},
      {"x=", "x", "", ""},
  };
  for (const Case& c : rules) {
    const TListLine l = ParseListLine(c.line);
    EXPECT_EQ(l.LineKind, TListLine::kRule) << c.line;
    EXPECT_EQ(l.Find, c.find) << c.line;
    EXPECT_EQ(l.Replace, c.replace) << c.line;
    EXPECT_EQ(l.Conditions, c.conditions) << c.line;
  }
  // Lines that would search for nothing are left out.
  for (const char* skipped : {"", "no rule here", "=x", "{0}=x"})
    EXPECT_EQ(ParseListLine(skipped).LineKind, TListLine::kSkip) << skipped;
  EXPECT_EQ(DecodeEscapes(ParseListLine("ab=cd{32}").Replace).Text, u"cd ");
}

TEST(ReplaceListLetters, YoCountsAsLetter) {
  for (char16_t c : {u'A', u'z', u'Ё', u'ё', u'Я', u'а'}) EXPECT_TRUE(IsListLetter(c)) << int(c);
  for (char16_t c : {u'1', u' ', u'-', u'№'}) EXPECT_FALSE(IsListLetter(c)) << int(c);
  EXPECT_TRUE(InCharClass(u'ё', kClassLetter));
  EXPECT_FALSE(InCharClass(u'ё', kClassNoAlnum));
  EXPECT_TRUE(InCharClass(u' ', kClassNoAlnum));
  EXPECT_FALSE(InCharClass(u' ', kClassNoAlnumSpace));
  EXPECT_TRUE(InCharClass(u'7', kClassDigit));
}

TEST(ReplaceListConditions, ContextTable) {
  struct Case {
    std::u16string text;
    int start, length;
    const char* conditions;
    bool matchCase, allowed;
  } cases[] = {
      {u"the cat and cats", 4, 3, "-$s", false, true},
      {u"the cat and cats", 12, 3, "-$s", false, false},
      {u"the cat and cats", 4, 3, "+$s", false, false},
      {u"the cat and cats", 12, 3, "+$s", false, true},
      {u"the cat and cats", 12, 3, "+$S", true, false},
      {u"the cat and cats", 12, 3, "+$S", false, true},
      {u"a cat bobcat", 2, 3, "-{@}$", false, true},
      {u"a cat bobcat", 9, 3, "-{@}$", false, false},
      // Ё is a letter for the class markers.
      {u"a cat ёcat", 7, 3, "-{@}$", false, false},
      // A match at the very start: the window never begins before the text.
      {u"cat", 0, 3, "-xx$", false, true},
      {u"cat", 0, 3, "+$", false, true},
      // Unsigned tokens do nothing; a bare sign finds nothing.
      {u"cat", 0, 3, "zzz + -", false, true},
      // Several "+" tokens: one found is enough.
      {u"big cat", 4, 3, "+small +g{32}$", false, true},
      {u"big cat", 4, 3, "+small +x{32}$", false, false},
      // Characters outside the BMP before the match keep the window in place.
      {u"\U0001F600\U0001F600 cat s", 5, 3, "+$", false, true},
      {u"\U0001F600\U0001F600 cats", 5, 3, "+$s", false, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ConditionsAllow(c.text, c.start, c.length, c.conditions, c.matchCase), c.allowed)
        << c.conditions << " at " << c.start;
}

TEST(ReplaceListCase, PreserveCaseTable) {
  EXPECT_EQ(PreserveCase(u"CAT", u"dog"), u"DOG");
  EXPECT_EQ(PreserveCase(u"Cat", u"dog"), u"Dog");
  EXPECT_EQ(PreserveCase(u"cat", u"dog"), u"dog");
  EXPECT_EQ(PreserveCase(u"ЁЖ", u"ёлка"), u"ЁЛКА");
  EXPECT_EQ(PreserveCase(u"Ёж", u"ёлка"), u"Ёлка");
  EXPECT_EQ(PreserveCase(u"жизнь", u"Судьба"), u"судьба");  // a lower-case match, a lower-case word
  // A match without letters leaves the replacement alone.
  EXPECT_EQ(PreserveCase(u"123", u"abc"), u"abc");
}

TEST(ReplaceListHistory, NewestFirstNoDuplicatesTwenty) {
  std::vector<std::string> items;
  for (const char* s : {"a", "b", "a"}) PushHistory(items, s);
  EXPECT_EQ(items, (std::vector<std::string>{"b", "a"}));
  items.clear();
  for (int i = 0; i < 21; ++i) PushHistory(items, std::to_string(i));
  ASSERT_EQ(items.size(), 20u);
  EXPECT_EQ(items.front(), "20");
  EXPECT_EQ(items.back(), "1");
}

// The engine over a real rich text control, without any window.
class ReplaceEngineTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    editor = std::make_unique<TRichEditW>(nullptr);
    target = std::make_unique<TRichEditReplaceTarget>(*editor);
    engine = std::make_unique<TReplaceEngine>(*target);
  }
  void SetText(const std::u16string& text) {
    editor->SetTextW(text);
    engine->ScopeStart = 0;
    engine->ScopeLength = int(text.size());
  }
  int Run(std::vector<std::string> lines) {
    engine->RunList(lines, true);
    return engine->Count;
  }
  std::unique_ptr<TRichEditW> editor;
  std::unique_ptr<TRichEditReplaceTarget> target;
  std::unique_ptr<TReplaceEngine> engine;
};

TEST_F(ReplaceEngineTest, ListsWithConditions) {
  struct Case {
    std::u16string text;
    std::vector<std::string> list;
    std::u16string result;
    int count;
  } cases[] = {
      {u"the cat and cats", {"cat=dog|-$s"}, u"the dog and cats", 1},
      {u"the cat and cats", {"cat=dog|+$s"}, u"the cat and dogs", 1},
      {u"a cat bobcat", {"cat=dog|-{@}$"}, u"a dog bobcat", 1},
      // A replacement that holds its find text is not searched again.
      {u"a a", {"a=aa"}, u"aa aa", 2},
      // Lines that search for nothing are skipped; comments and sections do nothing.
      {u"abc", {"=x", "{0}=y", "## b=z", "### Sec", "b=B"}, u"aBc", 1},
      // Every match rejected: the run still ends.
      {u"cat cat cat", {"cat=dog|+zebra"}, u"cat cat cat", 0},
      {u"x{y", {"{{=(", "{32}= "}, u"x(y", 1},
      // Characters outside the BMP keep every later position right.
      {u"\U0001F600 cat \U0001F431 cat", {"cat=dog"}, u"\U0001F600 dog \U0001F431 dog", 2},
      {u"ёж Ёж", {"\xB8\xE6=hedgehog"}, u"hedgehog hedgehog", 2},
  };
  for (const Case& c : cases) {
    SetText(c.text);
    EXPECT_EQ(Run(c.list), c.count) << c.list[0];
    EXPECT_EQ(editor->GetTextW(), c.result) << c.list[0];
  }
}

TEST_F(ReplaceEngineTest, SectionsCountTheirReplacements) {
  SetText(u"aa b b");
  std::vector<std::string> seen;
  engine->OnListSection = [&](const std::string& s) { seen.push_back(s); };
  Run({"### First", "a=x", "### Second", "b=y"});
  EXPECT_EQ(seen, (std::vector<std::string>{"First", "Second"}));
  ASSERT_EQ(engine->Sections.size(), 2u);
  EXPECT_EQ(engine->Sections[0], (std::pair<std::string, int>{"First", 2}));
  EXPECT_EQ(engine->Sections[1], (std::pair<std::string, int>{"Second", 2}));
}

TEST_F(ReplaceEngineTest, ScopeAndStop) {
  SetText(u"xx yy xx");
  engine->ScopeStart = 0;
  engine->ScopeLength = 2;
  EXPECT_EQ(Run({"xx=zzz"}), 1);
  EXPECT_EQ(editor->GetTextW(), u"zzz yy xx");
  EXPECT_EQ(engine->ScopeLength, 3);
  SetText(u"a a a a");
  int calls = 0;
  engine->OnProgress = [&](int) { return ++calls >= 2; };
  engine->RunList({"a=b"}, true);
  EXPECT_EQ(editor->GetTextW(), u"b b a a");
}

TEST_F(ReplaceEngineTest, VetoedMatchesAreSkippedAndApprovalsCounted) {
  SetText(u"a a a a");
  int asked = 0;
  engine->OnConfirm = [&](int, int, int& approveNext) {
    ++asked;
    if (asked == 1) return false;
    approveNext = 1;
    return true;
  };
  EXPECT_EQ(Run({"a=b"}), 3);
  EXPECT_EQ(editor->GetTextW(), u"a b b b");
  EXPECT_EQ(asked, 3);  // the third was approved in advance
}

TEST_F(ReplaceEngineTest, MarkAndLinkFilter) {
  SetText(u"one two one");
  editor->SetSelStart(8);
  editor->SetSelLength(3);
  editor->SelAttributes()->SetLink(true);
  engine->Options.LinkFilter = 2;
  EXPECT_EQ(Run({"one=1"}), 1);
  EXPECT_EQ(editor->GetTextW(), u"1 two one");
  engine->Options.LinkFilter = 1;
  EXPECT_EQ(Run({"one=1"}), 1);
  EXPECT_EQ(editor->GetTextW(), u"1 two 1");
  engine->Options.LinkFilter = 0;
  engine->Options.MarkChanges = true;
  SetText(u"cat");
  Run({"cat=dog"});
  EXPECT_EQ(editor->Control().CharFormatAt(1).Color, uint32_t(clFuchsia));
}

TEST_F(ReplaceEngineTest, MatchesAcrossSearchWindowsAreFound) {
  // Matches on both sides of the first search windows' edges, whole words only.
  std::u16string text(20000, u'x');
  for (int at : {4094, 8190, 12000}) text.replace(size_t(at - 1), 5, u" cat ");
  SetText(text);
  engine->Options.WholeWords = true;
  const TReplaceRule rule{u"cat", u"dog", {}};
  EXPECT_EQ(engine->FindMatch(rule, 0, 20000, false), 4094);
  EXPECT_EQ(engine->FindMatch(rule, 4095, 20000, false), 8190);
  EXPECT_EQ(engine->FindMatch(rule, 0, 20000, true), 12000);
  EXPECT_EQ(engine->FindMatch(rule, 0, 12002, true), 8190);
  EXPECT_EQ(engine->FindMatch(TReplaceRule{u"xcat", u"", {}}, 0, 20000, false), -1);
  engine->Options.WholeWords = false;
  EXPECT_EQ(Run({"cat=dog"}), 3);
  EXPECT_EQ(editor->GetTextW().substr(4093, 5), u" dog ");
}

// A replace run reads one copy of the text and follows its own replacements in it: growing,
// shrinking and deleting matches, whole words next to a replacement, and an edit made behind
// its back all give what the run gives reading the control itself.
TEST_F(ReplaceEngineTest, RunsOverACopyOfTheTextGiveWhatTheControlGives) {
  struct Case {
    std::u16string text;
    std::vector<std::string> list;
    bool wholeWords;
  } cases[] = {
      {u"a a ab a\rba a", {"a=abc", "b=", "c=dd"}, false},
      {u"aa a aa a", {"a=", "aa=x"}, false},
      {u"a a ab ba a", {"a=b", "b=ab"}, true},
      {u"ab ab ab", {"ab=a", "a=ab", "b=c"}, true},
      {u"cat cat\rcat", {"cat=", "cat=dog"}, true},
      // The next match starts right after a replacement, which makes it part of a word.
      {u"a-a-", {"a-=b"}, true},
      {u"a-a-a-", {"a-=", "a-=b"}, true},
  };
  for (const Case& c : cases) {
    std::u16string results[2];
    int counts[2] = {};
    for (int keep = 0; keep < 2; ++keep) {
      SetText(c.text);
      engine->Options.WholeWords = c.wholeWords;
      target->KeepTextCopy(keep == 1);
      counts[keep] = Run(c.list);
      results[keep] = editor->GetTextW();
    }
    target->KeepTextCopy(false);
    EXPECT_EQ(results[1], results[0]) << c.list[0];
    EXPECT_EQ(counts[1], counts[0]) << c.list[0];
  }
  // The text changed by something else between finds: the copy is read anew.
  SetText(u"one two one");
  target->KeepTextCopy(true);
  const TReplaceRule rule{u"one", u"1", {}};
  EXPECT_EQ(engine->FindMatch(rule, 0, 11, false), 0);
  editor->SetTextW(u"xx one two one");
  EXPECT_EQ(engine->FindMatch(rule, 0, 14, false), 3);
  target->KeepTextCopy(false);
}

TEST_F(ReplaceEngineTest, FindSkipsRejectedMatchesBothWays) {
  SetText(u"cats cat cats");
  TReplaceRule rule{u"cat", u"", "-$s"};
  EXPECT_EQ(engine->FindMatch(rule, 0, 13, false), 5);
  EXPECT_EQ(engine->FindMatch(rule, 0, 13, true), 5);
  EXPECT_EQ(engine->FindMatch(rule, 6, 13, false), -1);
  EXPECT_EQ(engine->FindMatch(TReplaceRule{}, 0, 13, false), -1);
}

}  // namespace
