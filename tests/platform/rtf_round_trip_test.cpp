#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/rtf_reader.h"
#include "platform/rtf_writer.h"
#include "tests/platform/rtf_test_util.h"

namespace {

TRichDocument RoundTrip(const TRichDocument& doc, const TRtfWriteOptions& options = {}) {
  return ReadRtf(WriteRtf(doc, options));
}

TRichDocument OneParagraph(std::vector<TRichRun> runs, TParaFormat format = {}) {
  TRichDocument doc;
  doc.Paragraphs[0].Runs = std::move(runs);
  doc.Paragraphs[0].Format = std::move(format);
  return doc;
}

TRichRun ObjectRun(TRichObject object, TCharFormat format = {}) {
  TRichRun run;
  run.Text.assign(1, RichObjectChar);
  run.Format = std::move(format);
  run.Object = std::move(object);
  return run;
}

TRichObject Png(std::string bytes) {
  TRichObject object;
  object.Picture.Bytes = std::move(bytes);
  object.Picture.PictureWidth = 8;
  object.Picture.PictureHeight = 8;
  object.Picture.GoalWidth = 120;
  object.Picture.GoalHeight = 150;
  return object;
}

// Hand-built documents, each showing one thing the model holds.
std::vector<std::pair<const char*, TRichDocument>> HandBuiltDocuments() {
  std::vector<std::pair<const char*, TRichDocument>> docs;
  docs.emplace_back("empty document", TRichDocument());
  {
    TRichDocument doc;
    doc.Paragraphs.resize(3);
    doc.Paragraphs[1].Runs.push_back(TextRun("middle"));
    docs.emplace_back("empty first and last paragraphs", doc);
  }
  {
    TCharFormat cyr;
    cyr.FaceName = U("Times New Roman");
    cyr.Charset = 204;
    cyr.PitchAndFamily = 0x12;
    cyr.Lcid = 1049;
    TCharFormat latin;
    latin.FaceName = U("Courier New");
    latin.Charset = 0;
    latin.PitchAndFamily = 0x31;
    latin.Lcid = 1033;
    TRichRun lone = TextRun("", latin);
    lone.Text = u"lone \xD800 and \xDC00 surrogates, \uFFFC without an object";
    TRichDocument doc = OneParagraph(
        {TextRun("Съешь же ещё этих мягких французских булок ", cyr), TextRun("and tea \\{;}", latin),
         TextRun(" €½«»—\t\v\U0001F600 \u00a0", cyr), lone});
    doc.DefaultLcid = 1049;
    docs.emplace_back("mixed Russian and English text", doc);
  }
  {
    std::vector<TRichRun> runs;
    TCharFormat f;
    auto add = [&](const char* text) { runs.push_back(TextRun(text, f)); };
    f.Bold = true; add("bold");
    f = {}; f.Italic = true; add("italic");
    for (int type = 1; type <= 13; ++type) {
      f = {};
      f.UnderlineType = static_cast<std::uint8_t>(type);
      add("u");
    }
    f = {}; f.StrikeOut = true; add("strike");
    f = {}; f.Protected = true; add("protected");
    f = {}; f.Hidden = true; add("hidden");
    f = {}; f.Shadow = true; add("shadow");
    f = {}; f.Emboss = true; add("emboss");
    f = {}; f.Imprint = true; add("imprint");
    f = {}; f.Outline = true; add("outline");
    f = {}; f.SmallCaps = true; add("smallcaps");
    f = {}; f.AllCaps = true; add("allcaps");
    f = {}; f.SubscriptStyle = 1; add("sub");
    f = {}; f.SubscriptStyle = 2; f.Offset = 60; add("super");
    f = {}; f.Offset = -40; add("down");
    f = {}; f.Spacing = -7; f.Kerning = 240; f.Animation = 4; add("spacing");
    f = {}; f.Size = 170; f.Color = 0x102030; f.BackColor = 0x00FFFF; add("colours");
    f = {}; f.Color = 0; add("black");
    f = {}; f.Lcid = 1049; add("lang");
    docs.emplace_back("every character attribute", OneParagraph(runs));
  }
  {
    TRichDocument doc;
    doc.Paragraphs.resize(9);
    TParaFormat p;
    p.Alignment = raJustify;
    p.LeftIndent = 567;
    p.FirstIndent = -283;
    p.RightIndent = 100;
    p.SpaceBefore = 120;
    p.SpaceAfter = 240;
    p.LineSpacingRule = lsAtLeast;
    p.LineSpacing = 300;
    p.Tabs = {{720, 0, 0}, {1440, 1, 1}, {2160, 2, 2}, {2880, 3, 3}, {3600, 4, 0}, {4000, 0, 5}};
    p.PageBreakBefore = true;
    doc.Paragraphs[0].Format = p;
    p = {}; p.Alignment = raCenter; p.LineSpacingRule = lsOneAndHalf; p.Numbering = nkBullet;
    p.NumberingTab = 360;
    doc.Paragraphs[1].Format = p;
    p = {}; p.Alignment = raRight; p.LineSpacingRule = lsDouble; p.Numbering = nkArabic;
    p.NumberingStart = 5; p.NumberingStyle = nsPeriod;
    doc.Paragraphs[2].Format = p;
    p = {}; p.LineSpacingRule = lsExactly; p.LineSpacing = 280; p.Numbering = nkLowerLetter;
    p.NumberingStart = 1; p.NumberingStyle = nsParen;
    doc.Paragraphs[3].Format = p;
    p = {}; p.LineSpacingRule = lsMultiple; p.LineSpacing = 23; p.Numbering = nkUpperLetter;
    p.NumberingStart = 2; p.NumberingStyle = nsParens;
    doc.Paragraphs[4].Format = p;
    p = {}; p.Numbering = nkLowerRoman; p.NumberingStart = 1; p.NumberingStyle = nsPlain;
    doc.Paragraphs[5].Format = p;
    p = {}; p.Numbering = nkUpperRoman; p.NumberingStart = 4;
    doc.Paragraphs[6].Format = p;
    p = {}; p.Numbering = nkCharSequence; p.NumberingStart = 1072; p.NumberingStyle = nsPeriod;
    doc.Paragraphs[7].Format = p;
    p = {}; p.Numbering = nkCharSequence; p.NumberingStart = 1040;
    doc.Paragraphs[8].Format = p;
    for (TRichParagraph& paragraph : doc.Paragraphs) paragraph.Runs.push_back(TextRun("пункт"));
    docs.emplace_back("paragraph formats and numbering", doc);
  }
  {
    TCharFormat big;
    big.Size = 720;
    big.Bold = true;
    TRichDocument doc;
    doc.Paragraphs.resize(2);
    doc.Paragraphs[0].MarkFormat = big;
    doc.Paragraphs[1].Runs.push_back(TextRun("x"));
    doc.Paragraphs[1].MarkFormat.Italic = true;
    docs.emplace_back("paragraph marks keep their format", doc);
  }
  {
    TCharFormat link;
    link.Link = true;
    link.UnderlineType = ulSingle;
    link.Color = 0xFF0000;
    TCharFormat target = link;
    target.LinkTarget = U("https://пример.рф/путь?a=\"1\"&b=\\2");
    TCharFormat targetBold = target;
    targetBold.Bold = true;
    docs.emplace_back("hyperlinks",
                      OneParagraph({TextRun("see "), TextRun("http://a.org", link), TextRun(" or "),
                                    TextRun("this ", target), TextRun("page", targetBold), TextRun(".")}));
  }
  {
    TRichObject wmf;
    wmf.Picture.Format = TPictureFormat::Wmf;
    wmf.Picture.MetafileMapMode = 1;
    wmf.Picture.Bytes = std::string("\x01\x00\x09\x00{}\\", 7);
    wmf.Picture.ScaleX = 50;
    wmf.Picture.ScaleY = 75;
    TRichObject jpeg = Png(std::string(1000, '\xff'));
    jpeg.Picture.Format = TPictureFormat::Jpeg;
    TRichObject emf = Png("emf");
    emf.Picture.Format = TPictureFormat::Emf;
    TRichObject dib = Png("dib");
    dib.Picture.Format = TPictureFormat::Dib;
    TRichObject bmp = Png("");
    bmp.Picture.Format = TPictureFormat::Bitmap;
    TRichObject embedded;
    embedded.Kind = TRichObjectKind::Embedded;
    embedded.Rtf = "{\\object\\objemb\\objw10\\objh20{\\*\\objclass Paint}{\\*\\objdata 0a0b}"
                   "{\\*\\foreign stuff\\bin2 }}}}";
    embedded.HasPicture = false;
    embedded.ClassName = "Paint";
    embedded.ObjectData = "\x0a\x0b";
    embedded.Width = 10;
    embedded.Height = 20;
    TCharFormat bold;
    bold.Bold = true;
    TCharFormat link;
    link.Link = true;
    link.LinkTarget = U("http://x");
    docs.emplace_back("pictures and objects",
                      OneParagraph({TextRun("a"), ObjectRun(Png("\x89PNG\r\n")), ObjectRun(wmf, bold),
                                    ObjectRun(jpeg), TextRun("b"), ObjectRun(emf), ObjectRun(dib),
                                    ObjectRun(bmp), ObjectRun(embedded), ObjectRun(Png("l"), link)}));
  }
  {
    // Control characters other than CR and LF are text, in both code pages.
    TRichRun controls;
    controls.Text = std::u16string(u"a\0b\x01\x08\x0C\x0E\x1F\x7Fж", 10);
    docs.emplace_back("control characters", OneParagraph({controls}));
  }
  {
    TRichDocument doc = OneParagraph({TextRun("x")});
    doc.CodePage = 1252;
    doc.DefaultLcid = 1033;
    doc.DefaultTabWidth = 425;
    docs.emplace_back("document settings", doc);
  }
  return docs;
}

TEST(RtfRoundTrip, HandBuiltDocuments) {
  for (const auto& [name, doc] : HandBuiltDocuments()) {
    SCOPED_TRACE(name);
    std::string rtf = WriteRtf(doc);
    TRichDocument back = ReadRtf(rtf);
    EXPECT_EQ(back, doc) << rtf;
    EXPECT_EQ(back.PlainText(), doc.PlainText());
  }
}

// Random documents within the values RTF stores exactly.
class RandomDocuments {
public:
  explicit RandomDocuments(unsigned seed) : random_(seed) {}

  TRichDocument Next() {
    TRichDocument doc;
    doc.CodePage = Pick({1251u, 1252u});
    doc.DefaultLcid = Pick({0u, 1049u});
    doc.DefaultTabWidth = Pick({720, 360});
    doc.Paragraphs.resize(Int(1, 6));
    for (TRichParagraph& paragraph : doc.Paragraphs) {
      paragraph.Format = Para();
      paragraph.MarkFormat = Char();
      paragraph.MarkFormat.Link = false;
      paragraph.MarkFormat.LinkTarget.clear();
      int runs = Int(0, 6);
      for (int i = 0; i < runs; ++i) {
        if (Int(0, 7) == 0) {
          TRichObject object;
          object.Picture.Format = static_cast<TPictureFormat>(Int(0, 5));
          if (object.Picture.Format == TPictureFormat::Wmf) object.Picture.MetafileMapMode = Int(1, 8);
          object.Picture.Bytes = Bytes();
          object.Picture.PictureWidth = Int(0, 5000);
          object.Picture.GoalHeight = Int(0, 5000);
          object.Picture.ScaleY = Int(1, 400);
          paragraph.Runs.push_back(ObjectRun(object, Char()));
        } else {
          TRichRun run;
          run.Text = Text();
          run.Format = Char();
          paragraph.Runs.push_back(run);
        }
      }
    }
    doc.Normalize();
    return doc;
  }

private:
  std::mt19937 random_;

  int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool Bool() { return Int(0, 3) == 0; }
  template <typename T> T Pick(std::initializer_list<T> values) {
    return values.begin()[Int(0, static_cast<int>(values.size()) - 1)];
  }

  std::u16string Text() {
    static const std::u16string alphabet =
        u"abcXYZ 019.,;\\{}\"'\t\vАБВабвёЁ€«»—\u00a0\uFFFC\u0410\u044F\u2022\u00ff";
    std::u16string text;
    int length = Int(1, 12);
    for (int i = 0; i < length; ++i) {
      if (Int(0, 20) == 0) {
        text += u"\U0001F600";
      } else {
        text += alphabet[Int(0, static_cast<int>(alphabet.size()) - 1)];
      }
    }
    return text;
  }

  std::string Bytes() {
    std::string bytes(Int(0, 40), '\0');
    for (char& b : bytes) b = static_cast<char>(Int(0, 255));
    return bytes;
  }

  TCharFormat Char() {
    TCharFormat f;
    f.FaceName = Pick<std::u16string>({u"", u"Arial", u"Times New Roman", u"Тайм;с {x}"});
    f.Charset = Pick({0, 1, 204, 238});
    f.PitchAndFamily = Int(0, 5) * 16 + Int(0, 2);
    f.Size = Int(1, 200) * 10;
    f.Color = Bool() ? RichAutoColor : static_cast<std::uint32_t>(Int(0, 0xFFFFFF));
    f.BackColor = Bool() ? RichAutoColor : static_cast<std::uint32_t>(Int(0, 0xFFFFFF));
    f.Bold = Bool();
    f.Italic = Bool();
    f.UnderlineType = static_cast<std::uint8_t>(Bool() ? Int(0, 13) : 0);
    f.StrikeOut = Bool();
    f.Protected = Bool();
    f.Link = Bool();
    if (f.Link && Bool()) f.LinkTarget = u"http://x/" + std::u16string(1, u'0' + Int(0, 9));
    f.Hidden = Bool();
    f.Shadow = Bool();
    f.Emboss = Bool();
    f.Imprint = Bool();
    f.Outline = Bool();
    f.SmallCaps = Bool();
    f.AllCaps = Bool();
    f.SubscriptStyle = static_cast<std::uint8_t>(Int(0, 2));
    f.Offset = Int(-30, 30) * 10;
    f.Spacing = Int(-100, 100);
    f.Kerning = Int(0, 30) * 10;
    f.Animation = Bool() ? Int(1, 6) : 0;
    f.Lcid = Pick({0u, 1033u, 1049u});
    return f;
  }

  TParaFormat Para() {
    TParaFormat p;
    p.Alignment = static_cast<TRichAlignment>(Int(1, 4));
    p.LeftIndent = Int(-500, 5000);
    p.FirstIndent = Int(-500, 500);
    p.RightIndent = Int(0, 3000);
    p.SpaceBefore = Int(0, 500);
    p.SpaceAfter = Int(0, 500);
    p.LineSpacingRule = static_cast<TRichLineSpacingRule>(Int(0, 5));
    if (p.LineSpacingRule == lsAtLeast || p.LineSpacingRule == lsExactly) p.LineSpacing = Int(1, 2000);
    if (p.LineSpacingRule == lsMultiple) p.LineSpacing = Pick({10, 20, 23, 25, 50, 100});
    int tabs = Int(0, 4);
    for (int i = 0; i < tabs; ++i) {
      p.Tabs.push_back({Int(0, 10000), static_cast<std::uint8_t>(Int(0, 4)),
                        static_cast<std::uint8_t>(Int(0, 5))});
    }
    p.Numbering = static_cast<TRichNumbering>(Int(0, 7));
    if (p.Numbering != nkNone) p.NumberingTab = Int(0, 720);
    if (p.Numbering == nkBullet) p.NumberingStart = Int(0, 3);
    if (p.Numbering >= nkArabic) {
      p.NumberingStart = Int(0, 100);
      p.NumberingStyle = static_cast<TRichNumberingStyle>(Int(0, 3));
    }
    if (p.Numbering == nkCharSequence) p.NumberingStart = Int(0x410, 0x44F);
    p.PageBreakBefore = Bool();
    return p;
  }
};

TEST(RtfRoundTrip, RandomDocuments) {
  RandomDocuments random(20261210);
  for (int i = 0; i < 300; ++i) {
    TRichDocument doc = random.Next();
    std::string rtf = WriteRtf(doc);
    TRichDocument back = ReadRtf(rtf);
    ASSERT_EQ(back, doc) << "document " << i << "\n" << rtf;
  }
}

TEST(RtfRoundTrip, FixturesReadBackUnchanged) {
  for (const char* name : {"lo-writer-formatted.rtf", "pandoc-markdown.rtf", "wordpad-style-cp1251.rtf"}) {
    SCOPED_TRACE(name);
    TRichDocument doc = ReadRtf(ReadFixture(name));
    EXPECT_EQ(RoundTrip(doc), doc);
  }
}

// Whatever the reader makes of damaged or odd input, written and read again, is the same.
TEST(RtfRoundTrip, OddInputReadsBackEqual) {
  const char* const inputs[] = {
      "{\\rtf1 {x\\object y}z}",
      "{\\rtf1{\\fonttbl{\\f0\\fcharset204 A;}}\\f0 {\\object{\\fonttbl{\\f0 B;}}\\deff1\\u5 \\objlink}x}",
      "{\\rtf1 {\\field{\\*\\fldinst HYPERLINK ab}{\\fldrslt a}}{\\field{\\*\\fldinst HYPERLINK ab}{\\fldrslt b}}}",
      "{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"a\\\\line\\tab\"}{\\fldrslt x\\par y}}}",
      "{\\rtf1 \\sl5\\slmult1 a\\par\\sl365\\slmult1 b\\par\\slmult1\\sl0 c}",
      "{\\rtf1 \\sl999999999999 a\\par\\sl-999999999999 b\\par\\sl999999999999\\slmult1 c}",
      "{\\rtf1 {\\*\\pn\\pnlvlbody\\pnstart4}{\\*\\pn\\pnlvlcont}a\\page\\page b\\sect}",
      "{\\rtf1 {\\pict\\wmetafile3\\pngblip 01}{\\pict\\pngblip\\macpict 02}\\fs0\\up99999999 x}",
      "{\\rtf1{\\fonttbl{\\f1\\fcharset204\\ftech  Na\\'3bme\\tab ;}}\\f1\\'c0\\u-1 }",
  };
  for (const char* input : inputs) {
    SCOPED_TRACE(input);
    TRichDocument doc = ReadRtf(input);
    EXPECT_EQ(RoundTrip(doc), doc);
  }
}

TEST(RtfWriter, OutputCommonReadersUnderstand) {
  TCharFormat cyr;
  cyr.FaceName = U("Arial");
  cyr.Charset = 204;
  cyr.Color = 0x0000FF;
  cyr.Lcid = 1049;
  TRichDocument doc = OneParagraph({TextRun("Я a", cyr)});
  doc.Paragraphs[0].MarkFormat = cyr;
  std::string rtf = WriteRtf(doc);
  EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fnil\\fcharset204 Arial;}}", 0), 0u)
      << rtf;
  EXPECT_NE(rtf.find("{\\colortbl ;\\red255\\green0\\blue0;}"), std::string::npos);
  EXPECT_NE(rtf.find("\\viewkind4\\uc1"), std::string::npos);
  EXPECT_NE(rtf.find("\\pard\\ql \\plain\\f0\\cf1\\lang1049 \\u1071\\'df a\\par\r\n}"), std::string::npos) << rtf;
  EXPECT_EQ(rtf.substr(rtf.size() - 3), "}\r\n");
}

TEST(RtfWriter, FallbackBytesFollowTheFontsCodePage) {
  struct Case {
    int charset;
    unsigned documentCodePage;
    unsigned optionCodePage;
    const char* expected;
  } cases[] = {
      {1, 1251, 0, "\\u1071\\'df"},      // the document's code page
      {1, 1251, 1252, "\\u1071?"},       // a code page given to the writer
      {204, 1252, 0, "\\u1071\\'df"},    // a Cyrillic font
      {0, 1251, 0, "\\u1071?"},          // a Western font has no Я
  };
  for (const Case& c : cases) {
    TCharFormat format;
    format.Charset = c.charset;
    TRichDocument doc = OneParagraph({TextRun("Я", format)});
    doc.CodePage = c.documentCodePage;
    TRtfWriteOptions options;
    options.CodePage = c.optionCodePage;
    std::string rtf = WriteRtf(doc, options);
    EXPECT_NE(rtf.find(c.expected), std::string::npos) << rtf;
    EXPECT_EQ(U8(ReadRtf(rtf).PlainText()), "Я");
  }
}

TEST(RtfWriter, Variants) {
  TCharFormat lang;
  lang.Lcid = 1049;
  TRichDocument doc = OneParagraph({TextRun("a", lang), ObjectRun(Png("x")), TextRun("b", lang)});
  doc.DefaultLcid = 1033;

  TRtfWriteOptions noObjects;
  noObjects.NoObjects = true;
  std::string rtf = WriteRtf(doc, noObjects);
  EXPECT_EQ(rtf.find("\\pict"), std::string::npos);
  EXPECT_EQ(U8(ReadRtf(rtf).PlainText()), "a b");

  TRtfWriteOptions plain;
  plain.Plain = true;
  rtf = WriteRtf(doc, plain);
  EXPECT_EQ(rtf.find("lang"), std::string::npos);
  TRichDocument back = ReadRtf(rtf);
  EXPECT_EQ(back.DefaultLcid, 0u);
  EXPECT_EQ(back.Paragraphs[0].Runs[0].Format.Lcid, 0u);
}

TEST(RtfWriter, ObjectsWithoutTheirGroupAreWrittenFromTheirFields) {
  TRichObject object;
  object.Kind = TRichObjectKind::Link;
  object.ClassName = "Word.Document.8";
  object.ObjectData = std::string("\0\1\2", 3);
  object.Width = 1000;
  object.Height = 500;
  object.Picture = Png("icon").Picture;
  TRichDocument back = RoundTrip(OneParagraph({ObjectRun(object)}));
  const TRichObject& read = *back.Paragraphs.at(0).Runs.at(0).Object;
  EXPECT_EQ(read.Rtf.rfind("{\\object\\objlink", 0), 0u);
  EXPECT_EQ(read.Rtf.back(), '}');
  TRichObject expected = object;
  expected.Rtf = read.Rtf;
  EXPECT_EQ(read, expected);
  // Written again, the object's group is the one read.
  EXPECT_NE(WriteRtf(back).find(read.Rtf), std::string::npos);
}

TEST(RtfWriter, ProgressCountsParagraphs) {
  TRichDocument doc;
  doc.Paragraphs.resize(5000);
  std::size_t last = 0;
  TRtfWriteOptions options;
  options.Progress = [&](std::size_t position, std::size_t size) {
    EXPECT_EQ(size, 5000u);
    EXPECT_GT(position, last);
    last = position;
  };
  WriteRtf(doc, options);
  EXPECT_GT(last, 0u);
}

}  // namespace
