#include "platform/rich_text.h"
#include "textcore/rich_edit_streaming.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/code_pages.h"
#include "platform/files.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/streams.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_attributes.h"
#include "textcore/rich_edit_lines.h"

namespace {

const std::u16string kText = u"Привет, мир!\rHello, world!\rЁжик в тумане — «ёлки»";

std::string Fixture(const std::string& name) {
  return ReadFileBytes(std::string(QM_FIXTURES_DIR) + "/rtf/" + name);
}

class RichEditStreamingTest : public ::testing::Test {
protected:
  void SetUp() override {
    edit = std::make_unique<TRichEditW>(nullptr);
    edit->SetLanguage(LANG_RUSSIAN);
    dir = std::filesystem::temp_directory_path() /
          ("rich_edit_streaming_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  std::string Save(TOutputFormat format) {
    edit->SetOutputFormat(format);
    TStringStream stream;
    edit->Lines()->SaveToStream(stream);
    return stream.DataString();
  }
  void Load(TInputFormat format, const std::string& data) {
    edit->SetInputFormat(format);
    TStringStream stream(data);
    edit->Lines()->LoadFromStream(stream);
  }
  std::string Path(const std::string& name) const { return ProgramFileName(dir / name); }

  std::unique_ptr<TRichEditW> edit;
  std::filesystem::path dir;
};

TEST_F(RichEditStreamingTest, EveryFormatRoundTripsRussianAndEnglish) {
  struct Case { TOutputFormat out; TInputFormat in; };
  for (const Case c : {Case{ofText, ifText}, Case{ofUnicode, ifUnicode}, Case{ofRTF, ifRTF},
                       Case{ofRTFNoObjs, ifRTF}, Case{ofTextized, ifText}}) {
    edit->SetTextW(kText);
    const std::string data = Save(c.out);
    edit->Clear();
    Load(c.in, data);
    EXPECT_EQ(edit->GetTextW(), kText) << "format " << c.out;
  }
}

TEST_F(RichEditStreamingTest, TextFormatsUseTheLanguageCodePageAndCrLf) {
  edit->SetTextW(u"Ёж\rend");
  EXPECT_EQ(Save(ofText), "\xA8\xE6\r\nend");
  EXPECT_EQ(Save(ofUnicode), std::string("\x01\x04\x36\x04\r\0\n\0e\0n\0d\0", 14));
  Load(ifUnicode, std::string("\xFF\xFE\x16\x04\n\0x\0", 8));  // with a byte order mark
  EXPECT_EQ(edit->GetTextW(), u"Ж\rx");
  Load(ifText, "\xC0\xC1\nline\r\nlast");
  EXPECT_EQ(edit->GetTextW(), u"АБ\rline\rlast");
}

TEST_F(RichEditStreamingTest, SelectedInOutLoadsAndSavesTheSelection) {
  edit->SetTextW(u"один два три");
  edit->SetSelectedInOut(true);
  edit->SetSelStart(5);
  edit->SetSelLength(3);
  EXPECT_EQ(Save(ofText), WideToAnsi(u"два", 1251));
  const std::string rtf = Save(ofRTF);
  Load(ifRTF, rtf);
  EXPECT_EQ(edit->GetTextW(), u"один два три");
  edit->SetSelStart(0);
  edit->SetSelLength(4);
  Load(ifText, WideToAnsi(u"раз", 1251));
  EXPECT_EQ(edit->GetTextW(), u"раз два три");
  edit->SetSelectedInOut(false);
  edit->SetSelStart(3);
  edit->SetSelLength(4);
  edit->SetOutputFormat(ofText);
  const std::string selection = edit->GetSelRTF();
  EXPECT_EQ(selection.rfind("{\\rtf", 0), 0u);
  EXPECT_EQ(edit->OutputFormat(), ofText);
  Load(ifRTF, selection);
  EXPECT_EQ(edit->GetTextW(), u" два");
}

TEST_F(RichEditStreamingTest, InvalidRtfIsLoadedAsTextAndEmptyStreamsGiveNoProgress) {
  Load(ifRTF, "{\\notrtf Привет");
  EXPECT_EQ(edit->GetTextW(), AnsiToWide("{\\notrtf Привет", 1251));
  int progress = 0;
  edit->OnLoadProgress = [&](TObject*, int, int) { ++progress; };
  Load(ifRTF, "");
  EXPECT_EQ(edit->GetTextW(), u"");
  EXPECT_EQ(progress, 0);
  Load(ifRTF, "plain");
  EXPECT_EQ(progress, 1);
}

// Each character attribute set on its own word, saved as RTF, loaded again and compared.
TEST_F(RichEditStreamingTest, CharacterAttributesRoundTripThroughRtf) {
  using Attr = TTextAttributesW;
  struct Case {
    const char* name;
    std::function<void(Attr&)> set;
    std::function<bool(const Attr&)> check;
  };
  const std::vector<Case> cases = {
      {"bold", [](Attr& a) { a.SetBold(true); }, [](const Attr& a) { return a.Bold(); }},
      {"italic", [](Attr& a) { a.SetItalic(true); }, [](const Attr& a) { return a.Italic(); }},
      {"strike", [](Attr& a) { a.SetStrikeOut(true); }, [](const Attr& a) { return a.StrikeOut(); }},
      {"underline", [](Attr& a) { a.SetUnderlineType(1); }, [](const Attr& a) { return a.UnderlineType() == 1; }},
      {"double", [](Attr& a) { a.SetUnderlineType(3); }, [](const Attr& a) { return a.UnderlineType() == 3; }},
      {"wave", [](Attr& a) { a.SetUnderlineType(8); }, [](const Attr& a) { return a.UnderlineType() == 8; }},
      {"dotted", [](Attr& a) { a.SetUnderlineType(4); }, [](const Attr& a) { return a.UnderlineType() == 4; }},
      {"colour", [](Attr& a) { a.SetColor(clRed); }, [](const Attr& a) { return a.Color() == clRed; }},
      {"back", [](Attr& a) { a.SetBackColor(clYellow); }, [](const Attr& a) { return a.BackColor() == clYellow; }},
      {"size", [](Attr& a) { a.SetSize(18); }, [](const Attr& a) { return a.Size() == 18; }},
      {"face", [](Attr& a) { a.SetName("Liberation Mono"); }, [](const Attr& a) { return a.Name() == "Liberation Mono"; }},
      {"english", [](Attr& a) { a.SetLanguage(1033); }, [](const Attr& a) { return a.Language() == 1033u; }},
      {"russian", [](Attr& a) { a.SetLanguage(1049); }, [](const Attr& a) { return a.Language() == 1049u; }},
      {"link", [](Attr& a) { a.SetLink(true); }, [](const Attr& a) { return a.Link(); }},
      {"protected", [](Attr& a) { a.SetProtected(true); }, [](const Attr& a) { return a.Protected(); }},
      {"hidden", [](Attr& a) { a.SetHidden(true); }, [](const Attr& a) { return a.Hidden(); }},
      {"shadow", [](Attr& a) { a.SetShadow(true); }, [](const Attr& a) { return a.Shadow(); }},
      {"emboss", [](Attr& a) { a.SetEmboss(true); }, [](const Attr& a) { return a.Emboss(); }},
      {"imprint", [](Attr& a) { a.SetImprint(true); }, [](const Attr& a) { return a.Imprint(); }},
      {"outline", [](Attr& a) { a.SetOutline(true); }, [](const Attr& a) { return a.Outline(); }},
      {"smallcaps", [](Attr& a) { a.SetSmallCaps(true); }, [](const Attr& a) { return a.SmallCaps(); }},
      {"allcaps", [](Attr& a) { a.SetAllCaps(true); }, [](const Attr& a) { return a.AllCaps(); }},
      {"super", [](Attr& a) { a.SetSubscriptStyle(2); }, [](const Attr& a) { return a.SubscriptStyle() == 2; }},
      {"sub", [](Attr& a) { a.SetSubscriptStyle(1); }, [](const Attr& a) { return a.SubscriptStyle() == 1; }},
      {"offset", [](Attr& a) { a.SetOffset(3); }, [](const Attr& a) { return a.Offset() == 3.0; }},
      {"spacing", [](Attr& a) { a.SetSpacing(2); }, [](const Attr& a) { return a.Spacing() == 2; }},
  };
  std::u16string text;
  for (const Case& c : cases) text += AnsiToWide(c.name) + u" ";
  edit->SetTextW(text + u"plain");
  int pos = 0;
  for (const Case& c : cases) {
    const int length = int(std::string(c.name).size());
    edit->SetSelStart(pos);
    edit->SetSelLength(length);
    c.set(*edit->SelAttributes());
    pos += length + 1;
  }
  const std::string rtf = Save(ofRTF);
  edit->Clear();
  Load(ifRTF, rtf);
  ASSERT_EQ(edit->GetTextW(), text + u"plain");
  pos = 0;
  for (const Case& c : cases) {
    const int length = int(std::string(c.name).size());
    edit->SetSelStart(pos);
    edit->SetSelLength(length);
    EXPECT_TRUE(c.check(*edit->SelAttributes())) << c.name;
    pos += length + 1;
  }
  // The plain word after them took none of the attributes.
  edit->SetSelStart(int(text.size()));
  edit->SetSelLength(5);
  const TTextAttributesW& plain = *edit->SelAttributes();
  EXPECT_FALSE(plain.Bold() || plain.Link() || plain.Hidden() || plain.Emboss() || plain.Protected());
}

TEST_F(RichEditStreamingTest, ParagraphAttributesRoundTripThroughRtf) {
  edit->SetTextW(u"left\rright\rcentre\rjustified\rnumbered\rletters");
  struct Case { int line; std::function<void(TParaAttributesW&)> set; };
  const std::vector<Case> cases = {
      {1, [](TParaAttributesW& p) { p.SetAlignment(paRightJustify); }},
      {2, [](TParaAttributesW& p) { p.SetAlignment(paCenter); p.SetFirstIndent(36); p.SetLeftIndent(-18); }},
      {3, [](TParaAttributesW& p) { p.SetAlignment(paJustify); p.SetRightIndent(12); p.SetSpaceBefore(6); p.SetSpaceAfter(3); }},
      {4, [](TParaAttributesW& p) { p.SetNumbering(2); p.SetNumberingStart(5); p.SetNumberingStyle(1); }},
      {5, [](TParaAttributesW& p) { p.SetNumbering(7); p.SetNumberingStart(1072); p.SetNumberingStyle(2); p.SetLineSpacingRule(1); }},
  };
  for (const Case& c : cases) {
    edit->SetCaretPos(c.line, 0);
    c.set(*edit->Paragraph());
  }
  const std::string rtf = Save(ofRTF);
  edit->Clear();
  Load(ifRTF, rtf);
  TParaAttributesW& p = *edit->Paragraph();
  edit->SetCaretPos(0, 0);
  EXPECT_EQ(p.Alignment(), paLeftJustify);
  edit->SetCaretPos(1, 0);
  EXPECT_EQ(p.Alignment(), paRightJustify);
  edit->SetCaretPos(2, 0);
  EXPECT_EQ(p.Alignment(), paCenter);
  EXPECT_EQ(p.FirstIndent(), 36);
  EXPECT_EQ(p.LeftIndent(), -18);
  edit->SetCaretPos(3, 0);
  EXPECT_EQ(p.Alignment(), paJustify);
  EXPECT_EQ(p.RightIndent(), 12);
  EXPECT_EQ(p.SpaceBefore(), 6);
  EXPECT_EQ(p.SpaceAfter(), 3);
  edit->SetCaretPos(4, 0);
  EXPECT_EQ(p.Numbering(), 2);
  EXPECT_EQ(p.NumberingStart(), 5);
  EXPECT_EQ(p.NumberingStyle(), 1);
  edit->SetCaretPos(5, 0);
  EXPECT_EQ(p.Numbering(), 7);
  EXPECT_EQ(p.NumberingStart(), 1072);
  EXPECT_EQ(p.NumberingStyle(), 2);
  EXPECT_EQ(p.LineSpacingRule(), 1);
}

TEST_F(RichEditStreamingTest, FixturesFromOtherWordProcessorsLoad) {
  edit->SetInputFormat(ifRTF);
  edit->Lines()->LoadFromFile(std::string(QM_FIXTURES_DIR) + "/rtf/wordpad-style-cp1251.rtf");
  std::u16string expected = Utf8ToWide(Fixture("wordpad-style-cp1251.txt"));
  while (!expected.empty() && (expected.back() == u'\n')) expected.pop_back();
  for (char16_t& c : expected) if (c == u'\n') c = u'\r';
  EXPECT_EQ(edit->GetTextW(), expected);
  edit->SetSelStart(int(edit->GetTextW().find(u"Полужирный")));
  edit->SetSelLength(10);
  EXPECT_TRUE(edit->SelAttributes()->Bold());
  edit->SetCaretPos(2, 0);
  EXPECT_EQ(edit->Paragraph()->Alignment(), paCenter);

  edit->Lines()->LoadFromFile(std::string(QM_FIXTURES_DIR) + "/rtf/pandoc-markdown.rtf");
  EXPECT_EQ(edit->WideLines()->Get(0), u"Заголовок");
  EXPECT_EQ(edit->WideLines()->Get(1), u"Абзац с жирным и курсивом текстом. English text.");

  edit->Lines()->LoadFromFile(std::string(QM_FIXTURES_DIR) + "/rtf/lo-writer-formatted.rtf");
  const std::u16string text = edit->GetTextW();
  EXPECT_NE(text.find(u"Красный текст по центру"), std::u16string::npos);
  EXPECT_NE(text.find(RichObjectChar), std::u16string::npos);  // the picture
  const int justified = int(text.find(u"Выравнивание по ширине"));
  ASSERT_GE(justified, 0);
  edit->SetSelStart(justified);
  EXPECT_EQ(edit->Paragraph()->Alignment(), paJustify);
}

TEST_F(RichEditStreamingTest, InterruptedLoadKeepsThePreviousText) {
  edit->SetTextW(kText);
  edit->OnLoadProgress = [](TObject*, int, int) { InterruptRichEditStreaming(); };
  edit->SetInputFormat(ifText);
  TStringStream stream(std::string(200000, 'x'));
  try {
    edit->Lines()->LoadFromStream(stream);
    FAIL() << "no interruption";
  } catch (const EUserInterrupt& e) {
    EXPECT_EQ(e.Message, "Process interrupted by user");
  }
  EXPECT_EQ(edit->GetTextW(), kText);
  // A later load is not stopped by the earlier interruption.
  edit->OnLoadProgress = nullptr;
  Load(ifText, "next");
  EXPECT_EQ(edit->GetTextW(), u"next");
}

TEST_F(RichEditStreamingTest, FailedLoadKeepsThePreviousText) {
  edit->SetTextW(kText);
  EXPECT_THROW(edit->Lines()->LoadFromFile(Path("missing.rtf")), EFOpenError);
  EXPECT_EQ(edit->GetTextW(), kText);
  std::filesystem::create_directory(dir / "folder.rtf");
  EXPECT_ANY_THROW(edit->Lines()->LoadFromFile(Path("folder.rtf")));
  EXPECT_EQ(edit->GetTextW(), kText);
}

TEST_F(RichEditStreamingTest, InterruptedOrFailedSaveKeepsThePreviousFile) {
  const std::string file = Path("doc.rtf");
  edit->SetTextW(u"old text");
  edit->Lines()->SaveToFile(file);
  const std::string before = ReadFileBytes(file);
  edit->SetTextW(std::u16string(300000, u'ж'));
  int progress = 0;
  edit->OnSaveProgress = [&](TObject*, int, int) {
    if (++progress == 2) InterruptRichEditStreaming();
  };
  EXPECT_THROW(edit->Lines()->SaveToFile(file), EUserInterrupt);
  EXPECT_EQ(ReadFileBytes(file), before);
  edit->OnSaveProgress = nullptr;
  EXPECT_ANY_THROW(edit->Lines()->SaveToFile(Path("no/such/folder/doc.rtf")));
  EXPECT_EQ(ReadFileBytes(file), before);
  edit->Lines()->SaveToFile(file);
  edit->Clear();
  edit->Lines()->LoadFromFile(file);
  EXPECT_EQ(edit->GetTextW(), std::u16string(300000, u'ж'));
}

TEST_F(RichEditStreamingTest, ObjectsSurviveRtfByteForByte) {
  edit->SetTextW(u"ab");
  edit->SetSelStart(1);
  const std::string png = Fixture("dot.png");
  std::ofstream(dir / "dot.png", std::ios::binary) << png;
  std::ofstream(dir / "data.bin", std::ios::binary) << std::string("\x00\x01\xFE\xFF", 4);
  edit->CreateObjectFromFile(Path("dot.png"), false);
  edit->CreateObjectFromFile(Path("data.bin"), false);
  edit->CreateLinkToFile(Path("data.bin"), true);
  EXPECT_EQ(edit->GetTextW(), u"a\uFFFC\uFFFC\uFFFCb");
  const std::string rtf = Save(ofRTF);
  edit->Clear();
  Load(ifRTF, rtf);
  RichEditControl& c = edit->Control();
  ASSERT_EQ(c.ObjectCount(), 3);
  EXPECT_EQ(c.Object(0).Picture.Bytes, png);
  EXPECT_EQ(c.Object(1).ObjectData, std::string("\x00\x01\xFE\xFF", 4));
  EXPECT_EQ(c.Object(2).Kind, TRichObjectKind::Link);
  EXPECT_EQ(Save(ofRTFNoObjs).find("\\object"), std::string::npos);
  EXPECT_THROW(edit->CreateObjectFromFile(Path("missing.doc"), false), EFOpenError);
}

TEST_F(RichEditStreamingTest, TextizedOutputGivesObjectsTheirTextForm) {
  std::ofstream(dir / "data.bin", std::ios::binary) << "data";
  std::ofstream(dir / "dot.png", std::ios::binary) << Fixture("dot.png");
  edit->SetTextW(u"[][][]");
  edit->SetSelStart(1);
  edit->CreateLinkToFile(Path("data.bin"), false);
  edit->SetSelStart(4);
  edit->CreateObjectFromFile(Path("data.bin"), false);
  edit->SetSelStart(7);
  edit->CreateObjectFromFile(Path("dot.png"), false);
  EXPECT_EQ(Save(ofTextized), "[" + Path("data.bin") + "][Package][]");
  EXPECT_EQ(Save(ofText), "[][][]");
  // Only the selection's objects, from where the selection starts.
  edit->SetSelStart(3);
  edit->SetSelLength(3);
  edit->SetSelectedInOut(true);
  EXPECT_EQ(Save(ofTextized), "[Package]");
}

TEST_F(RichEditStreamingTest, LargePlainTextLoadsPieceByPieceWithProgressAndStop) {
  // Line ends and UTF-16 units that fall on the boundary between two pieces of the load.
  const size_t piece = 1 << 20;
  std::string text(piece - 1, 'a');
  text += "\r\n\xC0\xC1";  // CR ends one piece, LF begins the next
  edit->SetTextW(u"прежний");
  std::vector<int> positions;
  edit->OnLoadProgress = [&](TObject*, int pos, int size) {
    positions.push_back(pos);
    EXPECT_EQ(size, int(text.size()));
  };
  Load(ifText, text);
  EXPECT_EQ(edit->GetTextW(), std::u16string(piece - 1, u'a') + u"\rАБ");
  EXPECT_EQ(positions, (std::vector<int>{0, int(piece)}));
  edit->OnLoadProgress = nullptr;
  std::string unicode("\xFF\xFE", 2);
  std::u16string expected;
  for (size_t i = 0; unicode.size() < piece + 8; ++i) {
    const bool end = i % 40 == 39;
    unicode += end ? std::string("\r\0\n\0", 4) : std::string("\x16\x04", 2);
    expected += end ? u'\r' : u'Ж';
  }
  Load(ifUnicode, unicode);
  EXPECT_EQ(edit->GetTextW(), expected);
  // Stopped after its first piece, the load gives back the text and state it replaced.
  edit->SetTextW(u"прежний");
  edit->SetSelStart(2);
  edit->SetSelLength(3);
  edit->SetModified(false);
  int calls = 0;
  edit->OnLoadProgress = [&](TObject*, int, int) {
    if (++calls == 2) InterruptRichEditStreaming();
  };
  EXPECT_THROW(Load(ifText, text), EUserInterrupt);
  EXPECT_EQ(calls, 2);
  edit->OnLoadProgress = nullptr;
  EXPECT_EQ(edit->GetTextW(), u"прежний");
  EXPECT_EQ(edit->GetSelTextW(), u"ежн");
  EXPECT_FALSE(edit->Modified());
}

TEST_F(RichEditStreamingTest, LargeRtfReportsProgressWhileItIsBuiltAndCanBeStopped) {
  std::string rtf = "{\\rtf1\\ansi ";
  for (int i = 0; i < 9000; ++i) rtf += "xxxxxxxxxx\\par ";
  rtf += "}";
  const size_t reads = (rtf.size() + 0xFFFF) / 0x10000;  // the stream is read 64 KB at a time
  std::vector<int> positions;
  edit->OnLoadProgress = [&](TObject*, int pos, int size) {
    positions.push_back(pos);
    EXPECT_EQ(size, int(rtf.size()));
  };
  Load(ifRTF, rtf);
  EXPECT_EQ(edit->Control().LineCount(), 9000);
  // The reads, then the building of the text as the RTF is read.
  ASSERT_GT(positions.size(), reads + 1);
  EXPECT_EQ(positions[0], 0);
  for (size_t i = reads + 1; i < positions.size(); ++i) EXPECT_LT(positions[i - 1], positions[i]) << i;
  EXPECT_LT(positions.back(), int(rtf.size()));
  // Stopped while the text is being built: the previous text comes back.
  edit->SetTextW(u"прежний");
  size_t calls = 0;
  edit->OnLoadProgress = [&](TObject*, int, int) {
    if (++calls == reads + 1) InterruptRichEditStreaming();
  };
  EXPECT_THROW(Load(ifRTF, rtf), EUserInterrupt);
  edit->OnLoadProgress = nullptr;
  EXPECT_EQ(edit->GetTextW(), u"прежний");
}

}  // namespace
