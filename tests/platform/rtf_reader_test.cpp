#include "platform/rtf_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/exceptions.h"
#include "tests/platform/rtf_test_util.h"

namespace {

// A paragraph's text the way the fixtures' plain-text renderings are compared: list markers,
// tabs, object places and blank runs do not count.
std::u16string Lenient(std::u16string text) {
  std::u16string out;
  for (char16_t ch : text) {
    if (ch == u'\t' || ch == RichObjectChar || ch == u'\u2022') ch = u' ';
    if (ch == u' ' && (out.empty() || out.back() == u' ')) continue;
    out += ch;
  }
  while (!out.empty() && out.back() == u' ') out.pop_back();
  // A leading list number "1." or "2." as rendered by the other program.
  if (out.size() > 2 && out[0] >= u'0' && out[0] <= u'9' && out[1] == u'.') {
    out.erase(0, out.size() > 2 && out[2] == u' ' ? 3 : 2);
  }
  return out;
}

std::vector<std::u16string> Lines(const std::string& utf8) {
  std::vector<std::u16string> lines;
  std::u16string text = Utf8ToWide(utf8);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(u'\n', start);
    if (end == std::u16string::npos) end = text.size();
    std::u16string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == u'\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

const TRichRun* FindRun(const TRichDocument& doc, const std::u16string& text) {
  for (const TRichParagraph& paragraph : doc.Paragraphs)
    for (const TRichRun& run : paragraph.Runs)
      if (run.Text.find(text) != std::u16string::npos) return &run;
  return nullptr;
}

TEST(RtfReaderFixtures, TextMatchesTheOtherProgramsReading) {
  for (const char* name : {"lo-writer-formatted", "pandoc-markdown", "wordpad-style-cp1251"}) {
    SCOPED_TRACE(name);
    TRichDocument doc = ReadRtf(ReadFixture(std::string(name) + ".rtf"));
    std::vector<std::u16string> expected = Lines(ReadFixture(std::string(name) + ".txt"));
    ASSERT_EQ(doc.Paragraphs.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
      EXPECT_EQ(U8(Lenient(doc.Paragraphs[i].Text())), U8(Lenient(expected[i]))) << "paragraph " << i;
  }
}

TEST(RtfReaderFixtures, LibreOfficeAttributes) {
  TRichDocument doc = ReadRtf(ReadFixture("lo-writer-formatted.rtf"));
  ASSERT_EQ(doc.Paragraphs.size(), 13u);
  EXPECT_TRUE(doc.Paragraphs[0].Runs.at(0).Format.Bold);
  EXPECT_EQ(doc.Paragraphs[0].Runs.at(0).Format.Size, 480);
  EXPECT_TRUE(FindRun(doc, U("полужирным"))->Format.Bold);
  EXPECT_TRUE(FindRun(doc, U("курсивом"))->Format.Italic);
  EXPECT_EQ(FindRun(doc, U("подчёркнутым"))->Format.UnderlineType, ulSingle);
  EXPECT_TRUE(FindRun(doc, U("зачёркнутым"))->Format.StrikeOut);
  const TRichRun* red = FindRun(doc, U("Красный текст"));
  EXPECT_EQ(red->Format.Color, 0x0000C0u);  // \red192\green0\blue0
  EXPECT_EQ(doc.Paragraphs[2].Format.Alignment, raCenter);
  const TRichRun* serif = FindRun(doc, U("English serif 16pt"));
  EXPECT_EQ(U8(serif->Format.FaceName), "DejaVu Serif");
  EXPECT_EQ(serif->Format.Size, 320);
  EXPECT_EQ(doc.Paragraphs[3].Format.Alignment, raRight);
  EXPECT_EQ(doc.Paragraphs[4].Format.Alignment, raJustify);
  EXPECT_EQ(doc.Paragraphs[5].Format.LeftIndent, 709);
  EXPECT_EQ(doc.Paragraphs[5].Format.FirstIndent, -283);
  // Lists of the list table: bullets, then "1." numbers.
  EXPECT_EQ(doc.Paragraphs[5].Format.Numbering, nkBullet);
  EXPECT_EQ(doc.Paragraphs[6].Format.Numbering, nkBullet);
  for (int i = 7; i <= 9; ++i) {
    EXPECT_EQ(doc.Paragraphs[i].Format.Numbering, nkArabic);
    EXPECT_EQ(doc.Paragraphs[i].Format.NumberingStart, 1);
    EXPECT_EQ(doc.Paragraphs[i].Format.NumberingStyle, nsPeriod);
  }
  EXPECT_EQ(doc.Paragraphs[10].Format.LeftIndent, 1134);
  EXPECT_EQ(doc.Paragraphs[10].Format.Numbering, nkNone);
  // Superscript and subscript as raised and lowered text.
  const std::vector<TRichRun>& runs = doc.Paragraphs[10].Runs;
  ASSERT_GE(runs.size(), 4u);
  EXPECT_EQ(runs[1].Format.Offset, 80);
  EXPECT_EQ(runs[3].Format.Offset, -20);

  // The picture: a PNG kept byte for byte with its size.
  const TRichParagraph& pictures = doc.Paragraphs[11];
  ASSERT_EQ(pictures.Runs.size(), 3u);
  ASSERT_TRUE(pictures.Runs[1].Object.has_value());
  const TRichObject& object = *pictures.Runs[1].Object;
  EXPECT_EQ(object.Kind, TRichObjectKind::Picture);
  EXPECT_EQ(object.Picture.Format, TPictureFormat::Png);
  EXPECT_EQ(object.Picture.Bytes, ReadFixture("dot.png"));
  EXPECT_EQ(object.Picture.GoalWidth, 120);
  EXPECT_EQ(object.Picture.ScaleX, 200);

  // The hyperlink keeps its address, which differs from its text.
  const TRichRun* link = FindRun(doc, U("example.com"));
  EXPECT_TRUE(link->Format.Link);
  EXPECT_EQ(U8(link->Format.LinkTarget), "http://example.com/путь?a=1&b=2");
  EXPECT_FALSE(FindRun(doc, U("Ссылка"))->Format.Link);
}

TEST(RtfReaderFixtures, Cp1251BytesAndFonts) {
  TRichDocument doc = ReadRtf(ReadFixture("wordpad-style-cp1251.rtf"));
  EXPECT_EQ(doc.CodePage, 1251u);
  EXPECT_EQ(doc.DefaultLcid, 1049u);
  ASSERT_EQ(doc.Paragraphs.size(), 4u);
  EXPECT_EQ(U8(doc.Paragraphs[0].Text()), "Привет, мир! Это документ в кодировке 1251.");
  const TCharFormat& first = doc.Paragraphs[0].Runs[0].Format;
  EXPECT_EQ(U8(first.FaceName), "Calibri");
  EXPECT_EQ(first.Charset, 204);
  EXPECT_EQ(first.Size, 220);
  EXPECT_EQ(first.Lcid, 1049u);
  EXPECT_EQ(doc.Paragraphs[0].Format.SpaceAfter, 200);
  EXPECT_EQ(doc.Paragraphs[0].Format.LineSpacingRule, lsMultiple);
  EXPECT_EQ(doc.Paragraphs[0].Format.LineSpacing, 23);  // \sl276\slmult1: 1.15 lines
  EXPECT_EQ(FindRun(doc, U("красный"))->Format.Color, 0x0000FFu);
  EXPECT_EQ(doc.Paragraphs[2].Format.Alignment, raCenter);
  const TCharFormat& arial = doc.Paragraphs[3].Runs[0].Format;
  EXPECT_EQ(U8(arial.FaceName), "Arial");
  EXPECT_EQ(arial.Lcid, 1033u);
  EXPECT_EQ(doc.Paragraphs[3].Format.LeftIndent, 720);
}

TEST(RtfReaderFixtures, PandocUnicodeEscapes) {
  TRichDocument doc = ReadRtf(ReadFixture("pandoc-markdown.rtf"));
  ASSERT_EQ(doc.Paragraphs.size(), 7u);
  EXPECT_EQ(doc.Paragraphs[0].Runs[0].Format.Size, 360);
  EXPECT_TRUE(FindRun(doc, U("жирным"))->Format.Bold);
  EXPECT_EQ(doc.Paragraphs[3].Format.SpaceAfter, 180);  // \sa180 given just before \par
  EXPECT_EQ(doc.Paragraphs[6].Format.LeftIndent, 720);
}

struct TextCase {
  const char* name;
  std::string rtf;
  const char* text;  // the control's text, UTF-8
};

TEST(RtfReader, TextDecoding) {
  const TextCase cases[] = {
      {"cp1251 bytes in a charset 204 font",
       R"({\rtf1\ansi{\fonttbl{\f0\fcharset204 A;}{\f1\fcharset0 B;}}\f0 \'cf\'f0\f1 \'cf\'f0})",
       "Пр\u00cf\u00f0"},
      {"document code page for a font without charset",
       R"({\rtf1\ansi\ansicpg1251{\fonttbl{\f0 A;}}\'e0\'e1})", "аб"},
      {"font code page \\cpg", R"({\rtf1{\fonttbl{\f0\cpg1251 A;}}\'e0})", "а"},
      {"\\u with ? fallback", R"({\rtf1 \u1071?\u1103?})", "Яя"},
      {"\\u with \\'hh fallback", R"({\rtf1\uc1 \u1071\'df!})", "Я!"},
      {"\\uc2 skips two", R"({\rtf1\uc2 \u1071\'df\'df!})", "Я!"},
      {"\\uc0 skips none", R"({\rtf1\uc0 \u1071 x})", "Яx"},
      {"negative \\u", R"({\rtf1 \u-3913?})", "\uf0b7"},
      {"surrogate pair", R"({\rtf1 \u-10179?\u-8704?})", "\U0001F600"},
      {"fallback ends at group end", R"({\rtf1\uc3 {\u1071}ab})", "Яab"},
      {"\\uc is per group", R"({\rtf1 {\uc2 \u1071??}\u1071?x})", "ЯЯx"},
      {"escaped characters", R"({\rtf1 a\\b\{c\}})", "a\\b{c}"},
      {"specials",
       R"({\rtf1 \emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote\~\-\_})",
       "—–•‘’“”\u00a0\u00ad\u2011"},
      {"tab, line, paragraph", R"({\rtf1 a\tab b\line c\par d})", "a\tb\vc\rd"},
      {"final \\par ends the last paragraph", R"({\rtf1 a\par})", "a"},
      {"empty paragraphs", R"({\rtf1 a\par\par\par})", "a\r\r"},
      {"CR and LF are ignored", "{\\rtf1 a\r\nb\\par\r\nc\\par\r\n}", "ab\rc"},
      {"backslash newline is a paragraph", "{\\rtf1 a\\\nb}", "a\rb"},
      {"ignorable unknown destination", R"({\rtf1 a{\*\unknown x{y}z}b})", "ab"},
      {"known skipped destinations",
       R"({\rtf1{\stylesheet{\s0 Normal;}}{\info{\title t}}{\header h}a{\pntext 1.\tab}{\listtext 2.}b})",
       "ab"},
      {"\\bin data is skipped whole", "{\\rtf1 a{\\*\\x\\bin3 }}{}b}", "ab"},
      {"unknown control words are ignored", R"({\rtf1 \foo12 a\bar-3 b})", "ab"},
      {"literal tab", "{\\rtf1 a\tb}", "a\tb"},
      {"page and section breaks", R"({\rtf1 a\page b\sect c})", "a\rb\rc"},
      {"shape picture read once",
       R"({\rtf1 x{\*\shppict{\pict\pngblip 00}}{\nonshppict{\pict\wmetafile8 00}}y})",
       "x\ufffcy"},
      {"trailing NULs and garbage", std::string("{\\rtf1 a}\0\0\0", 11), "a"},
      {"text after the document's group", R"({\rtf1 a}b{c})", "a"},
      {"byte order mark and blanks", "\xEF\xBB\xBF \r\n{\\rtf1 a}", "a"},
      {"field result without link", R"({\rtf1 {\field{\*\fldinst PAGE}{\fldrslt 7}}})", "7"},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(U8(ReadRtf(c.rtf).PlainText()), c.text);
  }
}

TEST(RtfReader, CharacterFormat) {
  TRichDocument doc = ReadRtf(
      R"({\rtf1\ansi{\fonttbl{\f0\froman\fprq2\fcharset204 Times;}{\f1\fmodern\fprq1 Courier;}})"
      R"({\colortbl;\red255\green0\blue0;\red0\green0\blue255;})"
      R"(\f1\fs20\cf1\highlight2\b\i\uldb\strike\protect\v\shad\embo\impr\outl\scaps\caps)"
      R"(\super\up4\expndtw-15\kerning16\animtext3\lang1049 a)"
      R"(\plain b\sub\dn3\ulwave c\nosupersub\ul0\cb2 d\ulnone\highlight0 e})");
  const std::vector<TRichRun>& runs = doc.Paragraphs.at(0).Runs;
  ASSERT_EQ(runs.size(), 5u);
  const TCharFormat& a = runs[0].Format;
  EXPECT_EQ(U8(a.FaceName), "Courier");
  EXPECT_EQ(a.PitchAndFamily, 0x31);
  EXPECT_EQ(a.Charset, 1);
  EXPECT_EQ(a.Size, 200);
  EXPECT_EQ(a.Color, 0x0000FFu);
  EXPECT_EQ(a.BackColor, 0xFF0000u);
  EXPECT_TRUE(a.Bold && a.Italic && a.StrikeOut && a.Protected && a.Hidden && a.Shadow &&
              a.Emboss && a.Imprint && a.Outline && a.SmallCaps && a.AllCaps);
  EXPECT_EQ(a.UnderlineType, ulDouble);
  EXPECT_EQ(a.SubscriptStyle, 2);
  EXPECT_EQ(a.Offset, 40);
  EXPECT_EQ(a.Spacing, -15);
  EXPECT_EQ(a.Kerning, 160);
  EXPECT_EQ(a.Animation, 3);
  EXPECT_EQ(a.Lcid, 1049u);
  // \plain returns to the defaults and the document's default font.
  TCharFormat plain;
  plain.FaceName = U("Times");
  plain.Charset = 204;
  plain.PitchAndFamily = 0x12;
  EXPECT_EQ(runs[1].Format, plain);
  EXPECT_EQ(runs[2].Format.SubscriptStyle, 1);
  EXPECT_EQ(runs[2].Format.Offset, -30);
  EXPECT_EQ(runs[2].Format.UnderlineType, ulWave);
  EXPECT_EQ(runs[3].Format.UnderlineType, ulNone);
  EXPECT_EQ(runs[3].Format.SubscriptStyle, 0);
  EXPECT_EQ(runs[3].Format.BackColor, 0xFF0000u);
  EXPECT_EQ(runs[4].Format.BackColor, RichAutoColor);

  // Plain reading drops languages.
  TRtfReadOptions options;
  options.Plain = true;
  EXPECT_EQ(ReadRtf(R"({\rtf1\deflang1049\lang1033 a})", options).Paragraphs[0].Runs[0].Format.Lcid,
            0u);
  EXPECT_EQ(ReadRtf(R"({\rtf1\deflang1049 a})").Paragraphs[0].Runs[0].Format.Lcid, 1049u);
}

TEST(RtfReader, GroupsRestoreFormat) {
  TRichDocument doc = ReadRtf(R"({\rtf1 a{\b b{\i c}d}e})");
  const std::vector<TRichRun>& runs = doc.Paragraphs.at(0).Runs;
  ASSERT_EQ(runs.size(), 5u);
  EXPECT_FALSE(runs[0].Format.Bold);
  EXPECT_TRUE(runs[1].Format.Bold);
  EXPECT_TRUE(runs[2].Format.Bold && runs[2].Format.Italic);
  EXPECT_TRUE(runs[3].Format.Bold && !runs[3].Format.Italic);
  EXPECT_FALSE(runs[4].Format.Bold);
}

TEST(RtfReader, ParagraphFormat) {
  TRichDocument doc = ReadRtf(
      R"({\rtf1\deftab500 \pard\qj\li100\ri200\fi-50\sb10\sa20\sl-300\slmult0)"
      R"(\tqc\tldot\tx1000\tb2000\tx3000\pagebb a\par)"
      R"(\pard\sl360\slmult1{\*\pn\pnlvlbody\pnindent300\pnstart3\pnucrm{\pntxtb (}{\pntxta )}}b\par)"
      R"(\pard{\*\pn\pnlvlblt{\pntxtb\'b7}}c\par)"
      R"(\pard{\*\pn\pnlvlbody\pnlcltr\pnstart1\pnqmchar1072{\pntxta .}}d\par)"
      R"(\pard\qc{\pard\qr e\par}f})");
  ASSERT_EQ(doc.Paragraphs.size(), 6u);
  EXPECT_EQ(doc.DefaultTabWidth, 500);
  const TParaFormat& a = doc.Paragraphs[0].Format;
  EXPECT_EQ(a.Alignment, raJustify);
  EXPECT_EQ(a.LeftIndent, 100);
  EXPECT_EQ(a.RightIndent, 200);
  EXPECT_EQ(a.FirstIndent, -50);
  EXPECT_EQ(a.SpaceBefore, 10);
  EXPECT_EQ(a.SpaceAfter, 20);
  EXPECT_EQ(a.LineSpacingRule, lsExactly);
  EXPECT_EQ(a.LineSpacing, 300);
  EXPECT_TRUE(a.PageBreakBefore);
  ASSERT_EQ(a.Tabs.size(), 3u);
  EXPECT_EQ(a.Tabs[0], (TTabStop{1000, 1, 1}));
  EXPECT_EQ(a.Tabs[1], (TTabStop{2000, 4, 0}));
  EXPECT_EQ(a.Tabs[2], (TTabStop{3000, 0, 0}));
  const TParaFormat& b = doc.Paragraphs[1].Format;
  EXPECT_EQ(b.LineSpacingRule, lsOneAndHalf);
  EXPECT_EQ(b.Numbering, nkUpperRoman);
  EXPECT_EQ(b.NumberingStart, 3);
  EXPECT_EQ(b.NumberingStyle, nsParens);
  EXPECT_EQ(b.NumberingTab, 300);
  EXPECT_EQ(doc.Paragraphs[2].Format.Numbering, nkBullet);
  EXPECT_EQ(doc.Paragraphs[3].Format.Numbering, nkCharSequence);
  EXPECT_EQ(doc.Paragraphs[3].Format.NumberingStart, 1072);
  EXPECT_EQ(doc.Paragraphs[3].Format.NumberingStyle, nsPeriod);
  EXPECT_EQ(doc.Paragraphs[4].Format.Alignment, raRight);
  // A last paragraph without \par takes the format in effect at its end.
  EXPECT_EQ(doc.Paragraphs[5].Format.Alignment, raCenter);
}

TEST(RtfReader, ListTableNumbering) {
  TRichDocument doc = ReadRtf(
      R"({\rtf1{\*\listtable{\list{\listlevel\levelnfc4\levelstartat3{\leveltext\'03(\'00);})"
      R"({\levelnumbers\'02;}}{\listlevel\levelnfc1{\leveltext\'02\'01.;}}{\listname x;}\listid7})"
      R"({\list{\listlevel\levelnfc23{\leveltext\'01\u8226 ?;}}\listid8}})"
      R"({\listoverridetable{\listoverride\listid7\ls1}{\listoverride\listid8\ls2}})"
      R"({\listtext a)}\pard\ls1 a\par\pard\ilvl1\ls1 b\par\pard\ls2\ilvl0 c\par)"
      R"(\pard\ls9 d\par\pard\ls1{\*\pn\pnlvlbody\pndec}e\par})");
  ASSERT_EQ(doc.Paragraphs.size(), 5u);
  EXPECT_EQ(U8(doc.PlainText()), "a\rb\rc\rd\re");
  const TParaFormat& a = doc.Paragraphs[0].Format;
  EXPECT_EQ(a.Numbering, nkLowerLetter);
  EXPECT_EQ(a.NumberingStart, 3);
  EXPECT_EQ(a.NumberingStyle, nsParens);
  const TParaFormat& b = doc.Paragraphs[1].Format;
  EXPECT_EQ(b.Numbering, nkUpperRoman);
  EXPECT_EQ(b.NumberingStart, 1);
  EXPECT_EQ(b.NumberingStyle, nsPeriod);
  EXPECT_EQ(doc.Paragraphs[2].Format.Numbering, nkBullet);
  EXPECT_EQ(doc.Paragraphs[3].Format.Numbering, nkNone);    // no such list
  EXPECT_EQ(doc.Paragraphs[4].Format.Numbering, nkArabic);  // old-style numbering wins
}

// Bytes waiting for their code page conversion reach the text they were read into, even when
// the list that holds it grows before they are converted (tests/fixtures/hostile holds inputs
// that once made the reader write into freed memory).
TEST(RtfReader, PendingLevelTextSurvivesAGrowingList) {
  EXPECT_NO_THROW(ReadRtf(ReadFixture("../hostile/rtf-level-text-grows.rtf")));
  // The first level's text ends in a skipped group while a converted byte waits; the levels
  // added after it must not take the byte away from it.
  std::string rtf = R"({\rtf1{\*\listtable{\list{\listlevel\levelnfc0{\leveltext\'03\'c4\'00)\*\levelnumbers\'02}})";
  for (int i = 0; i < 8; ++i) rtf += R"({\listlevel\levelnfc0{\leveltext\'02\'00.;}})";
  rtf += R"(\listid5}}{\listoverridetable{\listoverride\listid5\ls1}}\pard\ls1 a\par})";
  TRichDocument doc = ReadRtf(rtf);
  ASSERT_FALSE(doc.Paragraphs.empty());
  EXPECT_EQ(doc.Paragraphs[0].Format.Numbering, nkArabic);
  EXPECT_EQ(doc.Paragraphs[0].Format.NumberingStyle, nsParen);
}

TEST(RtfReader, Hyperlinks) {
  TRichDocument doc = ReadRtf(
      R"({\rtf1 {\field{\*\fldinst{HYPERLINK "http://a.org/x"}}{\fldrslt{\ul here}}} and )"
      R"({\field{\*\fldinst HYPERLINK http://b.org}{\fldrslt http://b.org}} )"
      R"({\field{\*\fldinst HYPERLINK "C:\\\\dir\\\\f.txt" \\l "top"}{\fldrslt f}}})");
  const std::vector<TRichRun>& runs = doc.Paragraphs.at(0).Runs;
  ASSERT_EQ(runs.size(), 5u);
  EXPECT_EQ(U8(runs[0].Text), "here");
  EXPECT_TRUE(runs[0].Format.Link);
  EXPECT_EQ(runs[0].Format.UnderlineType, ulSingle);
  EXPECT_EQ(U8(runs[0].Format.LinkTarget), "http://a.org/x");
  EXPECT_FALSE(runs[1].Format.Link);
  // A link showing its own address keeps no separate target.
  EXPECT_TRUE(runs[2].Format.Link);
  EXPECT_EQ(runs[2].Format.LinkTarget, u"");
  EXPECT_EQ(U8(runs[4].Format.LinkTarget), "C:\\dir\\f.txt#top");
}

TEST(RtfReader, PicturesAndObjects) {
  const std::string object =
      R"({\object\objemb\objw300\objh200{\*\objclass Package}{\*\objdata 0102}{\result{\pict\wmetafile8\picw10\pich20 abcd}}})";
  const std::string rtf = "{\\rtf1 {\\pict\\jpegblip\\picw2\\pich3\\picwgoal40\\pichgoal60\\bin4 "
                          "\x01}{\\\x02}" + object + "x{\\pict\\macpict 00}}";
  TRichDocument doc = ReadRtf(rtf);
  const std::vector<TRichRun>& runs = doc.Paragraphs.at(0).Runs;
  ASSERT_EQ(runs.size(), 3u);  // the Mac picture has no format we keep
  ASSERT_TRUE(runs[0].Object);
  const TRichPicture& jpeg = runs[0].Object->Picture;
  EXPECT_EQ(jpeg.Format, TPictureFormat::Jpeg);
  EXPECT_EQ(jpeg.Bytes, std::string("\x01}{\\", 4));
  EXPECT_EQ(jpeg.PictureWidth, 2);
  EXPECT_EQ(jpeg.GoalHeight, 60);
  ASSERT_TRUE(runs[1].Object);
  const TRichObject& embedded = *runs[1].Object;
  EXPECT_EQ(embedded.Kind, TRichObjectKind::Embedded);
  EXPECT_EQ(embedded.Rtf, object);
  EXPECT_EQ(embedded.ClassName, "Package");
  EXPECT_EQ(embedded.ObjectData, "\x01\x02");
  EXPECT_EQ(embedded.Width, 300);
  EXPECT_TRUE(embedded.HasPicture);
  EXPECT_EQ(embedded.Picture.Format, TPictureFormat::Wmf);
  EXPECT_EQ(embedded.Picture.Bytes, "\xab\xcd");
  EXPECT_EQ(U8(runs[2].Text), "x");
}

struct MalformedCase {
  const char* name;
  std::string rtf;
  bool refused;        // EConvertError expected
  const char* text;    // else the text read
};

TEST(RtfReader, MalformedInput) {
  const MalformedCase cases[] = {
      {"empty", "", true, ""},
      {"no header", "hello {\\b world}", true, ""},
      {"other header", "{\\urtf1 a}", true, ""},
      {"groups nested too deeply", "{\\rtf1 " + std::string(100000, '{') + "a", true, ""},
      {"nesting up to the limit", "{\\rtf1 " + std::string(RtfMaxGroupDepth - 1, '{') + "a",
       false, "a"},
      {"nesting in a skipped group", "{\\rtf1 {\\*\\x " + std::string(100000, '{') + "}a", false, ""},
      {"truncated", "{\\rtf1 {\\b a", false, "a"},
      {"truncated control word", "{\\rtf1 a\\", false, "a"},
      {"truncated hex", "{\\rtf1 a\\'", false, "a"},
      {"truncated \\u", "{\\rtf1 a\\u", false, "a"},
      {"truncated picture", "{\\rtf1 a{\\pict\\pngblip 0102", false, "a\ufffc"},
      {"truncated object is dropped", "{\\rtf1 a{\\object{\\*\\objdata 01", false, "a"},
      {"truncated font table", "{\\rtf1{\\fonttbl{\\f0 Ari", false, ""},
      {"surplus closing braces", "{\\rtf1 a}}}b", false, "a"},
      {"closing braces first", "{\\rtf1 }a", false, ""},
      {"huge \\bin", "{\\rtf1 a{\\*\\x\\bin999999999999 12}b}", false, "a"},
      {"negative \\bin", "{\\rtf1 a\\bin-5 b}", false, "ab"},
      {"huge numbers", "{\\rtf1\\fs99999999999999999999\\li-99999999999999 a\\u99999999999?}", false,
       "a\ufffd"},
      {"bad hex", "{\\rtf1 a\\'zzb\\'4}", false, "azzb"},
      {"\\u beyond UTF-16 becomes a pair", "{\\rtf1 \\u128512?}", false, "\U0001F600"},
      {"huge \\uc", "{\\rtf1\\uc999999999 \\u1071 abc}d", false, "Я"},
      {"control word without end", "{\\rtf1 \\abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz", false, ""},
      {"picture hex with odd digit", "{\\rtf1 {\\pict\\pngblip 123}}", false, "\ufffc"},
      {"colour index out of range", "{\\rtf1{\\colortbl;\\red1;}\\cf99 a}", false, "a"},
      {"NUL bytes in text", std::string("{\\rtf1 a\0b}", 10), false, "ab"},
      {"\\'hh control bytes dropped", "{\\rtf1 a\\'0d\\'0ab}", false, "ab"},
      {"field without result", "{\\rtf1 {\\field{\\*\\fldinst HYPERLINK x}}a}", false, "a"},
      {"destinations in the document's own group", "{\\rtf1\\*\\foo a\\stylesheet b\\fonttbl c}",
       false, "abc"},
      {"object keyword inside a group", "{\\rtf1 {x\\object y}z}", false, "xz"},
      {"destinations out of place", "{\\rtf1{\\fonttbl{\\pict 00}{\\field x}}{\\colortbl\\par}a}", false, "a"},
  };
  for (const MalformedCase& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.refused) {
      EXPECT_THROW(ReadRtf(c.rtf), EConvertError);
      continue;
    }
    TRichDocument doc;
    ASSERT_NO_THROW(doc = ReadRtf(c.rtf));
    EXPECT_FALSE(doc.Paragraphs.empty());
    EXPECT_EQ(U8(doc.PlainText()), c.text);
  }
  // Lone surrogates are kept as they are.
  EXPECT_EQ(ReadRtf("{\\rtf1 \\u-10179?x\\u-8704?}").PlainText(), std::u16string(u"\xD83Dx\xDE00"));
}

TEST(RtfReader, ErrorMessagesAndProgress) {
  EXPECT_TRUE(IsRtf("\xEF\xBB\xBF\r\n {\\rtf1 x}"));
  EXPECT_FALSE(IsRtf("{\\rt"));
  EXPECT_FALSE(IsRtf("x{\\rtf1}"));
  try {
    ReadRtf("plain text");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "The data is not in RTF format");
  }
  std::string big = "{\\rtf1 " + std::string(300000, 'a') + "}";
  std::vector<std::size_t> seen;
  TRtfReadOptions options;
  options.Progress = [&](std::size_t position, std::size_t size) {
    EXPECT_EQ(size, big.size());
    seen.push_back(position);
  };
  ReadRtf(big, options);
  EXPECT_FALSE(seen.empty());
  // A progress handler may stop the reading by throwing.
  options.Progress = [](std::size_t, std::size_t) { throw EAbort(); };
  EXPECT_THROW(ReadRtf(big, options), EAbort);
}

}  // namespace

namespace {

TEST(RtfReader, ParagraphsHandedOnOneByOneAreThoseOfTheWholeDocument) {
  const std::string cases[] = {
      ReadFixture("lo-writer-formatted.rtf"),
      ReadFixture("wordpad-style-cp1251.rtf"),
      R"({\rtf1 {\field{\*\fldinst{HYPERLINK "http://a.org/x"}}{\fldrslt{\ul here}}} and )"
      R"({\field{\*\fldinst HYPERLINK http://b.org}{\fldrslt http://b.org}}\par second {\b bold}\b0  plain\par })",
      R"({\rtf1 one\par two\par\par})",  // an empty paragraph, then the end of the last
      R"({\rtf1 })",
      R"({\rtf1 {\b cut off)",
  };
  for (const std::string& rtf : cases) {
    SCOPED_TRACE(rtf.substr(0, 60));
    const TRichDocument whole = ReadRtf(rtf);
    std::vector<TRichParagraph> handed;
    TRtfReadOptions options;
    options.Paragraph = [&](TRichParagraph& paragraph) { handed.push_back(paragraph); };
    const TRichDocument rest = ReadRtf(rtf, options);
    EXPECT_EQ(handed, whole.Paragraphs);
    EXPECT_EQ(rest.Paragraphs, std::vector<TRichParagraph>(1));
  }
}

}  // namespace
