// Plain-text files: what each file's bytes are taken for, and that the text read from them
// becomes the same bytes again, also after edits in files that mix their line ends.

#include <gtest/gtest.h>

#include "platform/code_pages.h"
#include "shell/plain_text.h"

namespace {

// The file text as the editor holds it: every line end one CR.
std::u16string Folded(const std::u16string& text) {
  std::u16string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    out += text[i] == u'\n' ? u'\r' : text[i];
  }
  return out;
}

std::string Utf16BE(const std::u16string& text) {
  std::string bytes = "\xFE\xFF";
  for (char16_t c : text) bytes += {char(c >> 8), char(c & 0xFF)};
  return bytes;
}

std::string Utf16LE(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) bytes += {char(c & 0xFF), char(c >> 8)};
  return bytes;
}

TEST(PlainText, EveryFileIsReadAsItsTextAndWrittenBackByteForByte) {
  const std::string bom = "\xEF\xBB\xBF";
  struct Case {
    const char* name;
    std::string bytes;
    std::u16string text;  // as read, line ends as they stand
    TTextEncoding encoding;
    std::u16string lineEnd;
  } cases[] = {
      {"UTF-8", WideToUtf8(u"Привет\nмир\n"), u"Привет\nмир\n", TTextEncoding::Utf8, u"\n"},
      {"plain ASCII is UTF-8", "Line one\r\nLine two", u"Line one\r\nLine two", TTextEncoding::Utf8, u"\r\n"},
      {"UTF-8 with its mark", bom + WideToUtf8(u"ёлки\r"), u"ёлки\r", TTextEncoding::Utf8Bom, u"\r"},
      // A UTF-8 mark in front of Windows-1251 text: the body decides, the mark stays.
      {"UTF-8 mark before 8-bit text", bom + WideToAnsi(u"hello привет", 1251), u"hello привет",
       TTextEncoding::Ansi, u"\n"},
      {"Windows-1251", WideToAnsi(u"Съешь\r\nещё\r\n", 1251), u"Съешь\r\nещё\r\n", TTextEncoding::Ansi, u"\r\n"},
      {"Windows-1251 with its one unassigned byte", "\x98\xC8 \xEA\xEE\xF2", u"\u0098И кот", TTextEncoding::Ansi,
       u"\n"},
      {"UTF-16", Utf16LE(u"Привет\r\n\U0001F600"), u"Привет\r\n\U0001F600", TTextEncoding::Utf16, u"\r\n"},
      {"UTF-16 big-endian", Utf16BE(u"Привет\nмир"), u"Привет\nмир", TTextEncoding::Utf16BE, u"\n"},
      {"UTF-16 of odd length", Utf16LE(u"ab") + "c", u"ab", TTextEncoding::Utf16, u"\n"},
      {"UTF-16 with a lone surrogate", Utf16LE(u"a\xD800z"), u"a\xD800z", TTextEncoding::Utf16, u"\n"},
      {"control characters", std::string("a\0b\x01\x08\x0C\x1F\x0B\t\n", 10), std::u16string(u"a\0b\x01\x08\x0C\x1F\x0B\t\n", 10),
       TTextEncoding::Utf8, u"\n"},
      {"mixed line ends", "one\r\ntwo\nthree\rfour\nfive\n", u"one\r\ntwo\nthree\rfour\nfive\n", TTextEncoding::Utf8,
       u"\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TPlainText file = ReadPlainText(c.bytes, 1251);
    EXPECT_EQ(file.Text, c.text);
    EXPECT_EQ(file.Format.Encoding, c.encoding);
    EXPECT_EQ(file.Format.LineEnd, c.lineEnd);
    bool lossy = false;
    EXPECT_EQ(EncodePlainText(Folded(file.Text), file.Format, &lossy), c.bytes);
    EXPECT_FALSE(lossy);
  }
}

TEST(PlainText, OnlyWellFormedUtf8IsReadAsUtf8) {
  const struct {
    const char* what;
    std::string bytes;
    TTextEncoding encoding;
  } cases[] = {
      {"Russian", "\xD0\x9F\xD1\x80\xD0\xB8", TTextEncoding::Utf8},
      {"four bytes", "emoji \xF0\x9F\x98\x80", TTextEncoding::Utf8},
      {"Windows-1251", WideToAnsi(u"Привет, мир", 1251), TTextEncoding::Ansi},
      {"KOI-8", WideToAnsi(u"Привет, мир", 20866), TTextEncoding::Ansi},
      {"overlong", "\xC0\xAF", TTextEncoding::Ansi},
      {"a surrogate", "\xED\xA0\x80", TTextEncoding::Ansi},
      {"above U+10FFFF", "\xF4\x90\x80\x80", TTextEncoding::Ansi},
      {"cut short", "\xD0", TTextEncoding::Ansi},
      {"cut short behind a mark", "\xEF\xBB\xBF\xD0\x9F\xD0", TTextEncoding::Ansi},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TPlainText file = ReadPlainText(c.bytes, 1251);
    EXPECT_EQ(file.Format.Encoding, c.encoding);
    // Text that is not UTF-8 never becomes replacement characters, whatever its mark says.
    EXPECT_EQ(file.Text.find(u'\uFFFD'), std::u16string::npos);
  }
}

TEST(PlainText, MixedLineEndsStayWithTheirLinesThroughEdits) {
  // The main line end is the most frequent one (LF here); lines typed get it.
  const TPlainTextFormat format = ReadPlainText("one\r\ntwo\nthree\rfour\nfive\n", 1251).Format;
  ASSERT_EQ(format.LineEnd, u"\n");
  struct Case {
    const char* edit;
    std::u16string text;
    std::string bytes;
  } cases[] = {
      {"a line edited in place", u"one\rTWO!\rthree\rfour\rfive\r", "one\r\nTWO!\nthree\rfour\nfive\n"},
      {"a line added in the middle", u"one\rtwo\rnew\rthree\rfour\rfive\r", "one\r\ntwo\nnew\nthree\rfour\nfive\n"},
      {"a line split in two", u"one\rtw\ro\rthree\rfour\rfive\r", "one\r\ntw\no\nthree\rfour\nfive\n"},
      {"the first line removed", u"two\rthree\rfour\rfive\r", "two\nthree\rfour\nfive\n"},
      {"a line added at the end", u"one\rtwo\rthree\rfour\rfive\rsix\r", "one\r\ntwo\nthree\rfour\nfive\nsix\n"},
      {"everything replaced", u"x\ry", "x\ny"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.edit);
    EXPECT_EQ(EncodePlainText(c.text, format), c.bytes);
  }
  // After a save the ends written are the file's: a later edit keeps them.
  TPlainTextFormat saved = format;
  const std::u16string added = u"one\rtwo\rnew\rthree\rfour\rfive\r";
  KeepLineEnds(added, saved);
  EXPECT_EQ(EncodePlainText(u"one\rtwo\rnew\rthree\rfour!\rfive\r", saved), "one\r\ntwo\nnew\nthree\rfour!\nfive\n");
}

TEST(PlainText, ChangingTheEncodingKeepsLineEndsAndDropsTheOldEncodingsBytes) {
  const TPlainTextFormat oddUtf16 = ReadPlainText(Utf16LE(u"a\r\nb") + "c", 1251).Format;
  const TPlainTextFormat koi8 = WithCodePage(oddUtf16, 20866);
  EXPECT_EQ(EncodePlainText(u"ёж\rb", koi8), WideToAnsi(u"ёж\r\nb", 20866));
  EXPECT_EQ(WithCodePage(oddUtf16, CP_UTF16), oddUtf16);
  const TPlainTextFormat marked = ReadPlainText("\xEF\xBB\xBF\xE0", 1251).Format;
  EXPECT_EQ(EncodePlainText(u"а", WithCodePage(marked, CP_UTF8)), WideToUtf8(u"а"));
  EXPECT_EQ(EncodePlainText(u"а", WithCodePage(marked, CP_UTF16BE)), Utf16BE(u"а"));
  // A lone surrogate has no UTF-8 form: the encoding says it lost a character.
  bool lossy = false;
  EncodePlainText(u"a\xD800", TPlainTextFormat(), &lossy);
  EXPECT_TRUE(lossy);
}

}  // namespace
