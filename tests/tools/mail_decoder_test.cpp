// The mail decoder's engine on real texts: the presets' delimiters, ordinary text around the
// codes, codes that are not codes, text outside code page 1251.
#include <gtest/gtest.h>

#include "tools/mail_decoder.h"

namespace {

const TMailCodes kHexEquals{u"=", u"", false};
const TMailCodes kHexPercent{u"%", u"", false};
const TMailCodes kRtf{u"\\'", u"", false};
const TMailCodes kDecimal{u"&#", u";", true};

std::u16string Decode(std::u16string_view text, const TMailCodes& codes) {
  std::u16string out = u"(untouched)";
  EXPECT_TRUE(DecodeMailCodes(text, codes, out));
  return out;
}

struct Case {
  const char* Name;
  const TMailCodes& Codes;
  std::u16string Text, Expected;
};

TEST(MailDecoder, DecodesTheDelimitedCodesOfEachPreset) {
  const Case cases[] = {
      {"hex =", kHexEquals, u"=CF=F0=E8=E2", u"Прив"},
      {"hex = lower case", kHexEquals, u"=ef=f0=e8=e2=e5=f2", u"привет"},
      {"hex %", kHexPercent, u"%CF%F0%E8%E2%E5%F2 %EC%E8%F0", u"Привет мир"},
      {"rtf", kRtf, u"{\\'cf\\'f0\\'e8}", u"{При}"},
      {"decimal", kDecimal, u"&#1055;&#1088;", u"Пр"},
      {"an ordinary word after = loses its first two letters", kHexEquals, u"=Cat", u"Кt"},
      {"no blank is added at the end", kHexEquals, u"=CF=F0", u"Пр"},
      {"the first word is not a code", kHexEquals, u"Deal =CF", u"Deal П"},
      {"a number is not a code", kDecimal, u"2024 &#1055;", u"2024 П"},
      {"digits after a code stay", kDecimal, u"&#1055;2 apples", u"П2 apples"},
      {"a code point beyond 1251", kDecimal, u"&#945;&#128512;", u"α\U0001F600"},
      {"text outside 1251 around the codes", kHexEquals, u"αβ =CF 😀", u"αβ П 😀"},
      {"a missing suffix still decodes", kDecimal, u"&#1055 x", u"П x"},
  };
  for (const Case& c : cases) EXPECT_EQ(Decode(c.Text, c.Codes), c.Expected) << c.Name;
}

TEST(MailDecoder, LeavesWhatIsNoCodeAsItWas) {
  std::u16string longText;
  for (int i = 0; i < 30; ++i) longText += u"plain text ";
  const Case cases[] = {
      {"empty", kDecimal, u"", u""},
      {"long text without codes", kDecimal, longText, longText},
      {"long paragraph between codes", kDecimal, u"&#1055;" + longText + u"&#1088;", u"П" + longText + u"р"},
      {"a lone prefix", kHexEquals, u"a = b, c=", u"a = b, c="},
      {"one hex digit", kHexEquals, u"=C", u"=C"},
      {"code zero", kHexEquals, u"=00=CF", u"=00П"},
      {"decimal zero", kDecimal, u"&#0;", u"&#0;"},
      {"beyond Unicode", kDecimal, u"&#1114112;", u"&#1114112;"},
      {"too many digits", kDecimal, u"&#99999999999;", u"&#99999999999;"},
      {"a surrogate", kDecimal, u"&#55296;", u"&#55296;"},
      {"letters after the prefix", kDecimal, u"&#x41; &amp;", u"&#x41; &amp;"},
      {"an empty prefix decodes nothing", TMailCodes{u"", u"", false}, u"CF F0", u"CF F0"},
  };
  for (const Case& c : cases) EXPECT_EQ(Decode(c.Text, c.Codes), c.Expected) << c.Name;
}

TEST(MailDecoder, StopLeavesTheOutputUntouched) {
  std::u16string text;
  for (int i = 0; i < 5000; ++i) text += u"=CF";
  std::u16string out = u"before";
  int calls = 0;
  EXPECT_FALSE(DecodeMailCodes(text, kHexEquals, out, [&](int64_t, int64_t) { return ++calls == 2; }));
  EXPECT_EQ(out, u"before");
  EXPECT_EQ(calls, 2);
}

}  // namespace
