#include "proofing/editor_tokens.h"

#include <gtest/gtest.h>

#include "platform/code_pages.h"

namespace {

struct Token {
  std::u16string Text;  // up to the trailing whitespace
  int Kind;
  bool Markup;
  bool operator==(const Token&) const = default;
};

void PrintTo(const Token& T, std::ostream* Out) {
  *Out << '"' << WideToUtf8(T.Text) << "\" " << T.Kind << (T.Markup ? " markup" : "");
}

std::vector<Token> Tokens(const std::u16string& Text, TCheckOptions Options) {
  std::vector<Token> tokens;
  for (int position = 0;;) {
    const TEditorToken token = GetEditorWordAt(Text, position, Options);
    if (token.End <= token.Start) break;
    tokens.push_back({Text.substr(token.Start, token.WordEnd - token.Start), token.Kind, token.InMarkup});
    position = token.End;
  }
  return tokens;
}

TCheckOptions All() { return TCheckOptions().set(3).set(4).set(5); }

TEST(EditorTokens, WordsPunctuationAndWhitespace) {
  const std::vector<Token> expected = {{u"well-known", 0, false}, {u"e.g", 0, false}, {u".", 2, false},
                                       {u"it's", 7, false},       {u",", 2, false},    {u"tab", 0, false},
                                       {u"end", 6, false},        {u"next", 0, false}};
  EXPECT_EQ(Tokens(u"well-known e.g. it's ,\ttab\tend,next", {}), expected);
}

TEST(EditorTokens, MarkupEntitiesAndAddresses) {
  const std::vector<Token> expected = {
      {u"<p class=\"x\">", 2, true}, {u"caf", 0, false},         {u"&eacute;", 3, false},
      {u"<!-- a > b -->", 2, true},   {u"www.example.org", 4, false}, {u"mail", 0, false},
      {u"me@example.org", 4, false},  {u"C:\\dir\\file.txt", 5, false}, {u"<%= x %>", 2, true},
      {u"&amp;", 3, false},           {u"&#160;", 3, false},     {u"&", 2, false},
      {u"x", 0, false},
  };
  EXPECT_EQ(Tokens(u"<p class=\"x\">caf&eacute; <!-- a > b --> www.example.org mail me@example.org "
                   u"C:\\dir\\file.txt <%= x %> &amp; &#160; &x",
                   All()),
            expected);
}

TEST(EditorTokens, UnclosedMarkupDoesNotHideTheRestOfTheText) {
  // A "<" that no closing mark follows ("a<b", a comment left open) starts no markup.
  for (const char16_t* text : {u"if a<b then go", u"if <!-- then go", u"if <% then go"}) {
    const auto tokens = Tokens(text, All());
    ASSERT_GE(tokens.size(), 2u) << WideToUtf8(text);
    EXPECT_EQ(tokens.back(), (Token{u"go", 0, false})) << WideToUtf8(text);
    for (const auto& token : tokens) EXPECT_FALSE(token.Markup) << WideToUtf8(text);
  }
}

TEST(EditorTokens, WithoutOptionsMarkupAndAddressesAreText) {
  const auto tokens = Tokens(u"<b>www.example.org</b>", {});
  ASSERT_GE(tokens.size(), 3u);
  EXPECT_EQ(tokens[0], (Token{u"<", 2, false}));
  EXPECT_EQ(tokens[1], (Token{u"b", 0, false}));
}

TEST(EditorTokens, UrlAndFileNameTests) {
  struct Case {
    const char16_t* Text;
    bool Url;
  };
  const Case cases[] = {
      {u"www.a.b", true},      {u"WWW.A.B", true},         {u"news:abc", true},  {u"news:", false},
      {u"mailto:me@x.org", true}, {u"a@b.cd", false},      {u"ab@cd.ef", true},  {u"http://x", true},
      {u"ftp://host.x", true}, {u"a.b.", false},           {u"a..b.c", false},   {u"www.", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsUrlToken(c.Text), c.Url) << WideToUtf8(c.Text);
  EXPECT_TRUE(IsFileNameToken(u"C:\\x"));
  EXPECT_TRUE(IsFileNameToken(u"\\\\server\\share"));
  EXPECT_FALSE(IsFileNameToken(u"dir/file.txt"));
}

}  // namespace
