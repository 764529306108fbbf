// The Convert menu's text changes without a window: HTML removal, case changes and
// transliteration, each keeping the characters code page 1251 lacks; the shipped rule files.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "preferences_test_env.h"
#include "shell/convert_text.h"
#include "shell/replace_list_rules.h"

#include <map>

namespace {

TEST(RemoveHtml, TagsAndTheFourEntities) {
  struct Case {
    std::u16string in, out;
  } cases[] = {
      {u"a<b>c</b>d&amp;", u"acd&amp;"},
      {u"x>y<i>z", u"x>yz"},
      {u"&lt;i&gt;&nbsp;&quot;", u"<i> \""},
      {u"<p>Привет, \U0001F600 мир</p>", u"Привет, \U0001F600 мир"},
      {u"", u""},
      // A ">" with no new "<" deletes back to the last tag start, as the removal has always done.
      {u"a<b>c>d", u"ad"},
  };
  for (const Case& c : cases) {
    std::u16string text = c.in;
    EXPECT_TRUE(RemoveHtmlTags(text, nullptr));
    EXPECT_EQ(text, c.out);
  }
  std::u16string text = u"<b>x</b>";
  EXPECT_FALSE(RemoveHtmlTags(text, [](int64_t, int64_t) { return true; }));
  EXPECT_EQ(text, u"<b>x</b>");
}

TEST(ChangeCase, ModesOnCodePageText) {
  struct Case {
    const char* in;
    int mode;
    const char* out;
  } cases[] = {
      {"hello world-wide", 4, "Hello World-wide"},
      {"one. two? three", 1, "One. Two? Three"},
      {"\xA8\xE6", 5, "\xB8\xC6"},  // Ёж -> ёЖ
      {"\xB8\xEB\xEA\xE0", 2, "\xA8\xCB\xCA\xC0"},  // ёлка -> ЁЛКА
      {"\xA8\xCB\xCA\xC0", 3, "\xB8\xEB\xEA\xE0"},
      {"\xB8\xEB\xEA\xE0 \xE8 \xE5\xEB\xFC", 4, "\xA8\xEB\xEA\xE0 \xC8 \xC5\xEB\xFC"},  // Ёлка И Ель
      {"", 1, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ChangeCase(c.in, c.mode), c.out) << c.in << " " << c.mode;
}

TEST(ChangeCase, CharactersOutsideTheCodePageSurvive) {
  EXPECT_EQ(ChangeCaseW(u"café αβγ \U0001F600 ёж", 2), u"CAFÉ ΑΒΓ \U0001F600 ЁЖ");
  EXPECT_EQ(ChangeCaseW(u"ÉCOLE", 3), u"école");
  EXPECT_EQ(ChangeCaseW(u"élan vital", 4), u"Élan Vital");
  EXPECT_EQ(ChangeCaseW(u"\U0001F600 ok. fine", 1), u"\U0001F600 Ok. Fine");
}

TEST(Transliteration, WideTextKeepsForeignCharacters) {
  const std::u16string out = TransliterateW(u"Привет, café \U0001F600!");
  EXPECT_EQ(out.find(u'П'), std::u16string::npos);
  EXPECT_NE(out.find(u"café \U0001F600!"), std::u16string::npos);
  EXPECT_EQ(out.substr(0, 3), u"Pri");
  EXPECT_EQ(TransliterateW(u"a\vb"), u"a\vb");  // the line break inside a paragraph stays
}

TEST(RuleFiles, BlankAndCommentLinesNeverReachTheList) {
  TTestWorld world;
  world.WriteProgramFile("rules.ini", "# comment\r\n\r\n  \r\na=b\r\n## old\r\n### section\r\nc=d");
  EXPECT_EQ(RuleFileLines(world.ProgramFolder + "rules.ini"), (std::vector<std::string>{"a=b", "c=d"}));
  EXPECT_TRUE(RuleFileLines(world.ProgramFolder + "missing.ini").empty());
}

TEST(RuleFiles, ShippedEntityListIsCompleteAndSafe) {
  const std::vector<std::string> lines = RuleFileLines(std::string(QM_SOURCE_DIR) + "/data/prehtml.ini");
  EXPECT_GT(lines.size(), 2000u);
  std::map<std::string, std::u16string> rules;
  for (const std::string& line : lines) {
    const TListLine rule = ParseListLine(line);
    ASSERT_EQ(rule.LineKind, TListLine::kRule) << line;
    const std::u16string value = DecodeEscapes(rule.Replace).Text;
    // No rule's replacement holds its own find text, and none gives "<", ">" or "&".
    EXPECT_EQ(value.find(DecodeEscapes(rule.Find).Text), std::u16string::npos) << line;
    for (char16_t c : {u'<', u'>', u'&'}) EXPECT_EQ(value.find(c), std::u16string::npos) << line;
    rules[rule.Find] = value;
  }
  EXPECT_EQ(rules["&copy;"], u"©");
  EXPECT_EQ(rules["&alpha;"], u"α");
  EXPECT_EQ(rules["&mdash;"], u"—");
  EXPECT_EQ(rules["&laquo;"], u"«");
  EXPECT_EQ(rules["&yacy;"], u"я");
  EXPECT_EQ(rules["&Afr;"], u"\U0001D504");
  EXPECT_EQ(rules["&eacute;"], u"e\u0301");
  EXPECT_EQ(rules.count("&lt;"), 0u);
  EXPECT_EQ(rules.count("&amp;"), 0u);
  const std::vector<std::string> translit = RuleFileLines(std::string(QM_SOURCE_DIR) + "/data/pretranslit.ini");
  EXPECT_FALSE(translit.empty());
  for (const std::string& line : translit) EXPECT_EQ(ParseListLine(line).LineKind, TListLine::kRule) << line;
}

}  // namespace
