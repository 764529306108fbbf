// Look-alike letters: which words change, into what, and which are only marked.
#include <gtest/gtest.h>

#include "tools/mixed_chars.h"

namespace {

// The text with each found word written as [new] (changed) or {word} (marked only).
std::u16string Shown(std::u16string_view text, TMixedTarget mixed, TAmbiguousTarget ambiguous) {
  std::u16string out;
  size_t pos = 0;
  for (const TMixedWord& word : FindMixedWords(text, mixed, ambiguous)) {
    EXPECT_EQ(word.Text.size(), word.Changed ? size_t(word.Length) : 0u);
    out.append(text.substr(pos, size_t(word.Start) - pos));
    const std::u16string_view original = text.substr(size_t(word.Start), size_t(word.Length));
    out += word.Changed ? u"[" + word.Text + u"]" : u"{" + std::u16string(original) + u"}";
    pos = size_t(word.Start + word.Length);
  }
  return out + std::u16string(text.substr(pos));
}

struct Case {
  const char* Name;
  TMixedTarget Mixed;
  TAmbiguousTarget Ambiguous;
  std::u16string Text, Expected;
};

TEST(MixedChars, FixesAndMarksTheWordsAsChosen) {
  using M = TMixedTarget;
  using A = TAmbiguousTarget;
  const Case cases[] = {
      {"Latin word with a Cyrillic e", M::Auto, A::Leave, u"h\u0435llo", u"[hello]"},
      {"Cyrillic word with a Latin e", M::Auto, A::Leave, u"прив" u"e" u"т", u"[привет]"},
      {"ambiguous Latin word marked", M::Auto, A::Leave, u"COPE", u"{COPE}"},
      {"ambiguous Latin word forced Cyrillic", M::Auto, A::Cyrillic, u"COPE", u"[СОРЕ]"},
      {"ambiguous Cyrillic word under force Cyrillic", M::Auto, A::Cyrillic, u"сор", u"{сор}"},
      {"ambiguous Cyrillic word forced Latin", M::Auto, A::Latin, u"сор", u"[cop]"},
      {"words without look-alike-only letters", M::Auto, A::Cyrillic, u"world мир", u"world мир"},
      {"Latin P, o, c, c before Cyrillic и", M::Auto, A::Leave, u"Слава Pocc" u"ии!", u"Слава [России]!"},
      {"mixed word forced Latin", M::Latin, A::Leave, u"прив" u"e" u"т", u"[npuв" u"e" u"т]"},
      {"digits stay in an aircraft name", M::Auto, A::Cyrillic, u"Ту-134", u"{Ту}-134"},
      {"digits stay after a letter", M::Auto, A::Cyrillic, u"A3 A6", u"[А3] [А6]"},
      {"digits stay when forced Latin", M::Auto, A::Latin, u"3ое б", u"[3oe] {б}"},
      {"a word with a character outside 1251", M::Auto, A::Cyrillic, u"CO\u03b1PE \U0001F600COPE", u"CO\u03b1PE \U0001F600COPE"},
      {"positions after an emoji", M::Auto, A::Leave, u"\U0001F600 h\u0435llo", u"\U0001F600 [hello]"},
      {"empty", M::Auto, A::Cyrillic, u"", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(Shown(c.Text, c.Mixed, c.Ambiguous), c.Expected) << c.Name;
}

}  // namespace
