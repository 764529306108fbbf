#include "platform/code_pages.h"

#include "platform/code_page_tables.h"
#include "platform/exceptions.h"

#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <set>
#include <string>

namespace {

// ICU's converter for each of our code pages: the independent oracle for the tables.
const char* IcuConverterName(unsigned codePage) {
  switch (codePage) {
  case 437: return "ibm-437";
  case 850: return "ibm-850";
  case 855: return "ibm-855";
  case 866: return "ibm-866";
  case 10000: return "macintosh";
  case 10007: return "x-mac-cyrillic";
  case 20866: return "KOI8-R";
  case 21866: return "KOI8-U";
  case 28591: return "ISO-8859-1";
  case 28592: return "ISO-8859-2";
  case 28593: return "ISO-8859-3";
  case 28594: return "ISO-8859-4";
  case 28595: return "ISO-8859-5";
  default: return nullptr;
  }
}

std::string ConverterName(unsigned codePage) {
  if (const char* name = IcuConverterName(codePage)) return name;
  return "windows-" + std::to_string(codePage);
}

// Bytes where we knowingly differ from ICU's table.
bool KnownDifference(unsigned codePage, int byte) {
  switch (codePage) {
  case 437:
    if (byte == 0xE6) return true;  // MICRO SIGN as the DOS table has it; ICU gives Greek mu
    [[fallthrough]];
  case 850:
  case 855:
  case 866:
    // ICU's IBM tables swap 0x1A, 0x1C and 0x7F; control bytes stay themselves with us.
    return byte == 0x1A || byte == 0x1C || byte == 0x7F;
  case 1253:
    return byte == 0xAA;  // undefined in the code page; ICU maps it to U+00AA
  default:
    return false;
  }
}

// ICU's code unit for one byte, or 0 when ICU has no round-trip mapping for it.
char16_t IcuDecode(UConverter* converter, unsigned char byte) {
  UErrorCode status = U_ZERO_ERROR;
  UChar out[4];
  const char in = static_cast<char>(byte);
  ucnv_reset(converter);
  const int32_t length = ucnv_toUChars(converter, out, 4, &in, 1, &status);
  return U_SUCCESS(status) && length == 1 ? out[0] : 0;
}

std::string AllBytes() {
  std::string bytes(256, '\0');
  for (int i = 0; i < 256; ++i) bytes[i] = static_cast<char>(i);
  return bytes;
}

TEST(CodePageTables, MatchIcuForEveryDefinedByteAndUseFreeCodesForTheRest) {
  std::set<unsigned> pages;
  for (const SingleByteCodePage& page : SingleByteCodePages()) {
    pages.insert(page.CodePage);
    SCOPED_TRACE(page.CodePage);
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(ConverterName(page.CodePage).c_str(), &status);
    ASSERT_TRUE(U_SUCCESS(status)) << ConverterName(page.CodePage);
    ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    ucnv_setFallback(converter, false);
    int compared = 0;
    for (int byte = 0; byte < 256; ++byte) {
      const char16_t ours = page.ToWide[byte];
      const char16_t icu = IcuDecode(converter, static_cast<unsigned char>(byte));
      if (KnownDifference(page.CodePage, byte)) continue;
      if (icu != 0 || byte == 0) {
        EXPECT_EQ(ours, icu) << "byte " << byte;
        ++compared;
      } else {
        // Undefined byte: its C1 control or the private-use code point U+F700 + byte.
        EXPECT_TRUE(ours == byte || ours == 0xF700 + byte) << "byte " << byte;
      }
    }
    EXPECT_GE(compared, 220);
    ucnv_close(converter);
  }
  const std::set<unsigned> expected = {1250, 1251, 1252, 1253,  1254,  1255,  1256,  1257,
                                       1258, 866,  437,  850,   855,   20866, 21866, 28591,
                                       28592, 28593, 28594, 28595, 10000, 10007};
  EXPECT_EQ(pages, expected);
}

TEST(CodePages, EveryByteSurvivesTheRoundTrip) {
  const std::string bytes = AllBytes();
  for (const SingleByteCodePage& page : SingleByteCodePages()) {
    SCOPED_TRACE(page.CodePage);
    const std::u16string wide = AnsiToWide(bytes, page.CodePage);
    ASSERT_EQ(wide.size(), 256u);
    EXPECT_EQ(std::set<char16_t>(wide.begin(), wide.end()).size(), 256u);
    bool lossy = false;
    EXPECT_EQ(WideToAnsi(wide, page.CodePage, &lossy), bytes);
    EXPECT_FALSE(lossy);
  }
}

TEST(CodePages, KnownLettersAndPseudoCodePages) {
  ASSERT_EQ(SystemCodePage(), 1251u);
  EXPECT_EQ(OemCodePage(), 866u);
  struct Case {
    unsigned codePage;
    std::string bytes;
    std::u16string wide;
  };
  const Case cases[] = {
      {CP_ACP, "\xCF\xF0\xE8\xE2\xE5\xF2 \xA8\xB8\xB9", u"Привет Ёё№"},
      {1251, "\x97\x98", u"\u2014\u0098"},  // 0x98 is undefined in 1251
      {CP_OEMCP, "\x8F\xE0\xA8\xA2\xA5\xE2 \xF0\xF1\xFC", u"Привет Ёё№"},
      {20866, "\xF0\xD2\xC9\xD7\xC5\xD4 \xB3\xA3", u"Привет Ёё"},
      {21866, "\xB4\xA4\xBD\xAD", u"ЄєҐґ"},
      {28595, "\xBF\xE0\xD8\xD2\xD5\xE2", u"Привет"},
      {10007, "\x8F\xF0\xE8\xE2\xE5\xF2 \xDD\xDE\xDF", u"Привет Ёёя"},
      {855, "\xDD\xE1\xB7\xEB\xA8\xE5", u"Привет"},
      {1252, "\x80\x81\xE9\xFF", u"€\u0081éÿ"},
      {1253, "\xC1\xAA\xD2\xFF", u"Α\uF7AA\uF7D2\uF7FF"},  // undefined above 0x9F: private use
      {10000, "\x80\xC6\xDB\xF0", u"Ä∆€\uF8FF"},
      {437, "\xB0\xE6\xFF", u"░µ\u00A0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.codePage);
    EXPECT_EQ(AnsiToWide(c.bytes, c.codePage), c.wide);
    EXPECT_EQ(WideToAnsi(c.wide, c.codePage), c.bytes);
  }
  EXPECT_EQ(AnsiToWide(""), u"");
  EXPECT_EQ(WideToAnsi(u""), "");
  EXPECT_EQ(AnsiToWide(std::string("a\0b", 3), 1251), std::u16string(u"a\0b", 3));
}

TEST(CodePages, UnmappableCharactersBecomeQuestionMarks) {
  struct Case {
    unsigned codePage;
    std::u16string wide;
    std::string bytes;
    bool lossy;
  };
  const Case cases[] = {
      {1251, u"ÿ€", "?\x88", true},
      {1252, u"Жx", "?x", true},
      {866, u"a€", "a?", true},
      {1251, u"a\U0001F600b", "a?b", true},  // one mark for a surrogate pair
      {1251, u"a\xD800" u"b", "a?b", true},  // a lone surrogate
      {1251, u"\uF7AA", "?", true},         // another code page's private-use byte
      {1251, u"\x98", "\x98", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    bool lossy = false;
    EXPECT_EQ(WideToAnsi(c.wide, c.codePage, &lossy), c.bytes);
    EXPECT_EQ(lossy, c.lossy);
  }
  EXPECT_EQ(WideToAnsi(u"Ω"), "?");  // no flag asked for
}

TEST(CodePages, UnknownCodePagesRaiseClearErrors) {
  for (unsigned codePage : {852u, 932u, 12345u}) {
    EXPECT_FALSE(IsCodePageSupported(codePage));
    try {
      AnsiToWide("x", codePage);
      ADD_FAILURE() << codePage;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message, "Code page " + std::to_string(codePage) + " is not supported");
    }
    EXPECT_THROW(WideToAnsi(u"x", codePage), EConvertError);
    EXPECT_THROW(SetSystemCodePage(codePage), EConvertError);
  }
  EXPECT_THROW(SetSystemCodePage(CP_UTF8), EConvertError);
  EXPECT_THROW(SetSystemCodePage(CP_ACP), EConvertError);
  EXPECT_EQ(SystemCodePage(), 1251u);
  for (unsigned codePage : {CP_ACP, CP_OEMCP, CP_UTF8, 1251u, 20866u, 10007u})
    EXPECT_TRUE(IsCodePageSupported(codePage)) << codePage;
}

TEST(CodePages, EveryCodePageReadsAsciiAsAscii) {
  // The system code page converts ASCII to and from UTF-8 unchanged, without a table.
  std::string ascii;
  for (int byte = 0; byte < 0x80; ++byte) ascii += static_cast<char>(byte);
  const std::u16string wide(ascii.begin(), ascii.end());
  for (unsigned codePage = 1; codePage < 0x10000; ++codePage) {
    if (codePage == CP_UTF8 || !IsCodePageSupported(codePage)) continue;
    EXPECT_EQ(AnsiToWide(ascii, codePage), wide) << codePage;
  }
}

TEST(CodePages, SystemCodePageCanBeSwitched) {
  SetSystemCodePage(1252);
  EXPECT_EQ(OemCodePage(), 437u);
  EXPECT_EQ(AnsiToWide("\xE9"), u"é");
  EXPECT_EQ(AnsiToUtf8("\xE9"), "\xC3\xA9");
  SetSystemCodePage(1251);
  EXPECT_EQ(AnsiToWide("\xE9"), u"й");
  EXPECT_EQ(AnsiToUtf8("\xE9"), "\xD0\xB9");
}

TEST(Utf8, DecodesValidTextAndReplacesEachIllFormedSequence) {
  struct Case {
    std::string utf8;
    std::u16string wide;
  };
  const Case cases[] = {
      {"", u""},
      {"abc", u"abc"},
      {"\xD0\x81\xD1\x91\xE2\x82\xAC", u"Ёё€"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},             // a surrogate pair
      {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
      {"\xEF\xBB\xBF", u"\uFEFF"},                     // a byte-order mark is kept
      {"a\x80" "b", u"a\uFFFDb"},                      // lone continuation byte
      {"\xE2\x82", u"\uFFFD"},                         // truncated at the end
      {"\xE2\x82x", u"\uFFFDx"},                       // truncated before a letter
      {"\xF0\x9F\x98" "b", u"\uFFFDb"},
      {"\xC0\xAF", u"\uFFFD\uFFFD"},                   // overlong
      {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},         // overlong
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},         // encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      {"\xFE\xFF", u"\uFFFD\uFFFD"},
      {"\xCF\xF0\xE8", u"\uFFFD\uFFFD\uFFFD"},         // cp1251 text read as UTF-8
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(Utf8ToWide(c.utf8), c.wide);
    EXPECT_EQ(AnsiToWide(c.utf8, CP_UTF8), c.wide);
  }
}

TEST(Utf8, EncodesAndReplacesUnpairedSurrogates) {
  EXPECT_EQ(WideToUtf8(u"aЁ€\U0001F600"), "a\xD0\x81\xE2\x82\xAC\xF0\x9F\x98\x80");
  EXPECT_EQ(WideToUtf8(u"\x7F\x80\x7FF\x800\xFFFF"),
            "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF");
  bool lossy = false;
  EXPECT_EQ(WideToAnsi(u"ok", CP_UTF8, &lossy), "ok");
  EXPECT_FALSE(lossy);
  EXPECT_EQ(WideToAnsi(u"a\xDC00" u"b\xD800", CP_UTF8, &lossy), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
  EXPECT_TRUE(lossy);
  EXPECT_EQ(WideToUtf8(u"\xDE00\xD83D"), "\xEF\xBF\xBD\xEF\xBF\xBD");  // reversed pair
}

TEST(Utf8, SystemCodePageBridge) {
  EXPECT_EQ(AnsiToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2 \xB9"), "Привет №");
  EXPECT_EQ(Utf8ToAnsi("Привет №"), "\xCF\xF0\xE8\xE2\xE5\xF2 \xB9");
  EXPECT_EQ(Utf8ToAnsi("Grüße ☺"), "Gr??e ?");  // neither ü nor ß is in 1251
}

} // namespace
