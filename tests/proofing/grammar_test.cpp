// Rule files: the cipher they are stored in and how their INI text becomes schemes, lists and
// rules.
#include "proofing/grammar.h"

#include <gtest/gtest.h>

#include "platform/exceptions.h"
#include "platform/ini_document.h"
#include "proofing/grammar_cipher.h"
#include "spell_fixtures.h"
#include "textcore/decipher.h"

namespace {

TGrammarContent Read(const std::string& Text, TEventColours* Colours = nullptr, std::vector<std::string>* Progress = nullptr) {
  IniDocument ini;
  ini.Parse(Text);
  TGrammarContent content;
  TEventColours colours = DefaultEventColours();
  ReadGrammar(ini, content, Colours ? *Colours : colours, true, [](const std::string& Name) { return "/nonexistent/" + Name; },
              [&](const std::string& Line) {
                if (Progress) Progress->push_back(Line);
              });
  return content;
}

TEST(GrammarCipher, LinesReadBackThroughTheDecipher) {
  const std::string lines[] = {"", "[General]", "Info=Quillomark", Cp1251("ya=я йа ыа"), std::string("a\0b", 3),
                               std::string(200, 'x'), "\x01\x02\x03 escapes as text"};
  for (unsigned key : {0u, 1u, 12345u, 0xFFFFFFFFu}) {
    for (const std::string& line : lines) {
      const std::string stored = EncipherString(line, key, kGrammarMultiplier);
      EXPECT_EQ(stored.find_first_of(std::string("\0\r\n", 3)), std::string::npos) << "key " << key;
      EXPECT_EQ(DecipherString(stored, key, kGrammarMultiplier, kDecipherAddend), line) << "key " << key;
    }
  }
  // The whole-file routine checks every line.
  const std::vector<std::string> file = {"[General]", "Info=x"};
  const std::vector<std::string> stored = EncipherLines(file, 0, kGrammarMultiplier);
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(DecipherString(stored[1], 0, kGrammarMultiplier, kDecipherAddend), "Info=x");
  // A line deciphered with another key is no longer the text.
  EXPECT_NE(DecipherString(stored[0], 7, kGrammarMultiplier, kDecipherAddend), "[General]");
}

TEST(GrammarFile, SchemesExistOnlyWithStatisticalOrAnalyticalLists) {
  const TGrammarContent content = Read(
      "[General]\n"
      "[Schema1]\nId=Only formatting\nFormatting=F\nPostprocess=P\n"
      "[Schema2]\nId=Statistical\nStatistical=S\n"
      "[Schema3]\nAnalytical=A\n"
      "[F]\nx=y\n[P]\nx=y\n[S]\nold=new\n[A]\nab=cd\n");
  ASSERT_EQ(content.Schemes.size(), 2u);
  EXPECT_EQ(content.Schemes[0]->Id, "Statistical");
  EXPECT_EQ(content.Schemes[1]->Id, "Schema3");  // the default name
  ASSERT_EQ(content.Schemes[0]->Statistical.size(), 1u);
  EXPECT_EQ(content.Schemes[0]->Statistical[0]->Lines(), std::vector<std::string>{"old=new"});
}

TEST(GrammarFile, ValidatorsEndAtTheFirstMissingSection) {
  const TGrammarContent content = Read(
      "[General]\n[Validator1]\nName=russian\nAlphabet=ab\n[Validator3]\nName=english\nLanguage=1033\n"
      "[Schema1]\nAnalytical=A\nValidator=RUSSIAN\n[Schema2]\nAnalytical=A\nValidator=missing\n[A]\na=b\n");
  ASSERT_EQ(content.Validators.size(), 1u);
  const TQValidator* validator = content.Validators[0].second.get();
  EXPECT_EQ(validator->Language, 1049);
  EXPECT_TRUE(validator->Alphabet.test('a') && validator->Alphabet.test('B'));
  EXPECT_EQ(content.Schemes[0]->Validator, validator);  // names compare without case
  EXPECT_EQ(content.Schemes[1]->Validator, nullptr);
  ASSERT_EQ(content.Warnings.size(), 1u);
  EXPECT_EQ(content.Warnings[0], "Validator [missing] not found. Please reinstall the application.");
}

TEST(GrammarFile, ListsAreSharedJoinedAndMerged) {
  std::vector<std::string> progress;
  const TGrammarContent content = Read(
      "[General]\n[Schema1]\nAnalytical=A+B C\n[Schema2]\nAnalytical=A+B\n"
      "[A]\nsh=a b\n[B]\nSH=b c\nzh=x\n[C]\nq=1 2 3\n",
      nullptr, &progress);
  ASSERT_EQ(content.Lists.size(), 2u);  // "A+B" loaded once for both schemes
  EXPECT_EQ(content.Schemes[0]->Analytical[0], content.Schemes[1]->Analytical[0]);
  const TGrammar& joined = *content.Lists[0];
  EXPECT_EQ(joined.RuleCount, 3);
  ASSERT_NE(joined.Find("Sh"), nullptr);
  EXPECT_EQ(joined.Find("sH")->Key, "sh");  // keys compare without case; the first spelling stays
  EXPECT_EQ(joined.Find("sh")->Value, "a b c");
  EXPECT_EQ(joined.Histogram[2], 2);
  EXPECT_EQ(joined.Histogram[1], 1);
  EXPECT_EQ(joined.MaxKeyLength(), 2);
  EXPECT_EQ(progress.back(), "Loading rules ... 4");
}

TEST(GrammarFile, LimitsOptionsScopeAndColours) {
  TEventColours colours = DefaultEventColours();
  const TGrammarContent content = Read(
      "[General]\n[BaseOptions]\nLimitChanges=5 7\nLimitVariants=50\nColorFixed=255\nColorName=x\nAllowSplit=1\n"
      "[Schema1]\nAnalytical=A A2 A3\nLimitVariants=60\nReplaceScope=URL\nPerformAnalytical=1 0 1\n"
      "AllowUpCase=3\nAllowDownCase=4\nDetectHTML=0 1\n"
      "[Schema2]\nAnalytical=A\nReplaceScope=whatever\n"
      "[A]\na=b\n[A2]\na=b\n[A3]\na=b\n",
      &colours);
  TQSchema& schema = *content.Schemes[0];
  EXPECT_EQ(schema.ChangeLimits[0], 5);
  EXPECT_EQ(schema.ChangeLimits[1], 7);
  EXPECT_EQ(schema.ChangeLimits[2], 999);
  EXPECT_EQ(schema.GetChangeLimit(0), 5);  // lengths below 1 count as 1
  EXPECT_EQ(schema.LimitVariants, 60);     // the scheme overrides the base
  EXPECT_EQ(content.Schemes[1]->LimitVariants, 50);
  EXPECT_EQ(schema.ReplaceScope, 2);
  EXPECT_EQ(content.Schemes[1]->ReplaceScope, 1);
  schema.ResetSteps();
  EXPECT_TRUE(schema.IsOptionOn(goPerformAnalytical));
  EXPECT_TRUE(schema.IsOptionOn(goAllowSplit));  // from the base
  EXPECT_FALSE(schema.IsOptionOn(goDetectHTML));
  schema.NextStep();
  EXPECT_FALSE(schema.IsOptionOn(goPerformAnalytical));
  EXPECT_TRUE(schema.IsOptionOn(goDetectHTML));
  schema.NextStep();
  EXPECT_TRUE(schema.IsOptionOn(goPerformAnalytical));
  EXPECT_TRUE(schema.IsOptionOn(goDetectHTML));  // a step without code repeats the last one
  schema.NextStep();
  EXPECT_TRUE(schema.Done);
  EXPECT_TRUE(schema.UserOptionSet.test(goAllowUpCase));
  EXPECT_TRUE(schema.IsOptionOn(goAllowUpCase));
  bool automatic = true;
  schema.IsAutomatic = [&] { return automatic; };
  EXPECT_FALSE(schema.IsOptionOn(goAllowDownCase));
  automatic = false;
  EXPECT_TRUE(schema.IsOptionOn(goAllowDownCase));  // code 4: on only in interactive mode
  EXPECT_EQ(colours[wkFixed], 255u);
  EXPECT_EQ(colours[wkName], DefaultEventColours()[wkName]);  // not a number: the default stays
}

TEST(GrammarFile, BuiltInEventColours) {
  const TEventColours expected = {0x800000, 0x000080, 0x0000FF, 0x808000, 0x008080, 0x008000, 0xFF0000, 0, 0, 0};
  EXPECT_EQ(DefaultEventColours(), expected);
}

}  // namespace
