#include <gtest/gtest.h>

#include "platform/gui/rich_edit_control.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_attributes.h"
#include "textcore/rich_edit_lines.h"
#include "textcore/rich_edit_streaming.h"
#include "platform/streams.h"

namespace {

// The forms' list of hyperlink kinds.
void AddStandardKinds(TURLCollection& urls) {
  for (const char* name : {"e-mail", "http", "file", "mailto", "ftp", "https", "gopher", "nntp",
                           "prospero", "telnet", "news", "wais"})
    urls.AddOrUpdate(name, clWindowText, crDefault, true);
}

class RichEditUrlsTest : public ::testing::Test {
protected:
  void SetUp() override {
    edit = std::make_unique<TRichEditW>(nullptr);
    AddStandardKinds(*edit->CustomURLs());
    edit->SetAutoURLDetect(adExtended);
  }
  // Types `text` at the caret as the user does, one change at a time.
  void Type(const std::u16string& text) {
    for (char16_t c : text) edit->SetSelTextW(std::u16string(1, c));
  }
  bool IsLink(int start, int length) {
    edit->SetSelStart(start);
    edit->SetSelLength(length);
    return edit->SelAttributes()->Link() && (edit->SelAttributes()->ConsistentAttributes() & caLink);
  }
  std::unique_ptr<TRichEditW> edit;
};

TEST_F(RichEditUrlsTest, TypedLinksAreMarkedWithTheirKindsLook) {
  Type(u"see http://example.com and mail me@example.org now");
  EXPECT_TRUE(IsLink(4, 18));
  EXPECT_FALSE(IsLink(23, 3));
  EXPECT_TRUE(IsLink(32, 14));
  EXPECT_FALSE(IsLink(47, 3));
  edit->SetSelStart(4);
  edit->SetSelLength(18);
  EXPECT_EQ(edit->SelAttributes()->Color(), clBlue);  // URLColor for the window-text kind
  EXPECT_EQ(edit->SelAttributes()->UnderlineType(), 1);
}

TEST_F(RichEditUrlsTest, DetectionNeverMovesTheCaretOrSelection) {
  Type(u"go to http://a.ru");
  edit->SetSelStart(3);
  edit->SetSelLength(2);
  edit->SetSelTextW(u"into");  // a change elsewhere runs the detection
  EXPECT_EQ(edit->SelStart(), 7);
  EXPECT_EQ(edit->SelLength(), 0);
  edit->SetSelStart(19);
  Type(u" x");
  EXPECT_EQ(edit->SelStart(), 21);
  EXPECT_EQ(edit->SelLength(), 0);
  EXPECT_TRUE(IsLink(8, 11));
}

TEST_F(RichEditUrlsTest, DetectionKeepsTheUsersColoursAndUnderlines) {
  edit->SetAutoURLDetect(adNone);
  edit->SetTextW(u"red words here");
  edit->SetSelStart(0);
  edit->SetSelLength(9);
  edit->SelAttributes()->SetColor(clRed);
  edit->SelAttributes()->SetUnderlineType(3);
  edit->SetAutoURLDetect(adExtended);
  edit->SetSelStart(14);
  Type(u" more");
  edit->DetectURLs(0, edit->Control().TextLength());
  edit->SetSelStart(0);
  edit->SetSelLength(9);
  EXPECT_EQ(edit->SelAttributes()->Color(), clRed);
  EXPECT_EQ(edit->SelAttributes()->UnderlineType(), 3);
  // A link that stops being one loses the link look, not the text around it.
  edit->SetSelStart(19);
  Type(u" http://x.org");
  EXPECT_TRUE(IsLink(20, 12));
  edit->SetSelStart(24);
  edit->SetSelLength(1);
  edit->SetSelTextW(u"");  // "http//x.org" is no link
  EXPECT_FALSE(IsLink(20, 11));
  edit->SetSelStart(20);
  edit->SetSelLength(11);
  EXPECT_EQ(edit->SelAttributes()->Color(), clWindowText);
  EXPECT_EQ(edit->SelAttributes()->UnderlineType(), 0);
}

TEST_F(RichEditUrlsTest, FullUrlCharacterSetIsOneLink) {
  const std::u16string url = u"https://example.com/a-b_c~d/%D0%B0?x=1&y=(2)+3;z=$!*,'#frag";
  Type(u"link: " + url + u". Next");
  EXPECT_TRUE(IsLink(6, int(url.size())));
  EXPECT_FALSE(IsLink(6 + int(url.size()), 1));  // the sentence's full stop
}

// A change is read outward until a character that ends a link, however long the link: typing
// into one far from its ends marks it whole, and a blank typed into it unmarks the part after.
TEST_F(RichEditUrlsTest, ChangesDeepInsideALongLinkTakeTheWholeLink) {
  const std::u16string url = u"http://example.com/" + std::u16string(700, u'p');
  Type(u"go " + url + u" on");
  EXPECT_TRUE(IsLink(3, int(url.size())));
  edit->SetSelStart(3 + 400);
  Type(u"q");
  EXPECT_TRUE(IsLink(3, int(url.size()) + 1));
  EXPECT_FALSE(IsLink(3 + int(url.size()) + 2, 2));
  edit->SetSelStart(3 + 120);
  Type(u" ");
  EXPECT_TRUE(IsLink(3, 120));
  for (int pos : {3 + 121, 3 + 500, 3 + int(url.size()) + 1}) EXPECT_FALSE(IsLink(pos, 1)) << pos;
}

TEST_F(RichEditUrlsTest, EmptyListDetectsNothingAndNeverFails) {
  edit->CustomURLs()->Clear();
  Type(u"http://example.com a@b.cd");
  EXPECT_FALSE(IsLink(0, 18));
  edit->DetectURLs(0, 100);
  edit->Control().SetSel(0, 4);
  EXPECT_EQ(edit->CustomURLs()->KindOf("http://example.com"), nullptr);
}

TEST_F(RichEditUrlsTest, LoadingScansTheWholeNewText) {
  edit->SetInputFormat(ifText);
  TStringStream stream("one ftp://files.example.com/pub\r\nwrite to a.b@c.de\r\n");
  edit->Lines()->LoadFromStream(stream);
  EXPECT_TRUE(IsLink(4, 27));
  EXPECT_TRUE(IsLink(41, 8));
}

TEST_F(RichEditUrlsTest, DefaultDetectionMarksLinksWhereverTextArrives) {
  edit->CustomURLs()->Clear();
  edit->SetAutoURLDetect(adDefault);
  edit->SetTextW(u"see http://example.com here");
  EXPECT_TRUE(IsLink(4, 18));
  edit->SetInputFormat(ifText);
  TStringStream stream(std::string(5000, 'a') + " ftp://files.example.com end\r\nmail a.b@c.de\r\n");
  edit->Lines()->LoadFromStream(stream);
  EXPECT_TRUE(IsLink(5001, 23));
  EXPECT_TRUE(IsLink(5034, 8));
  edit->Lines()->SetTextStr("one\r\ngo to https://x.org/a\r\n");
  EXPECT_TRUE(IsLink(10, 15));
  edit->BeginUpdate();
  edit->SetSelStart(0);
  edit->SetSelTextW(u"news:comp.lang ");
  edit->EndUpdate();
  EXPECT_TRUE(IsLink(0, 14));
  EXPECT_FALSE(IsLink(15, 3));
}

// Detected links are the control's display only: saving and copying keep the text's own format.
class RichEditUrlsSavingTest : public RichEditUrlsTest {
protected:
  void SetUp() override {
    RichEditUrlsTest::SetUp();
    edit->CustomURLs()->Clear();
    edit->SetAutoURLDetect(adDefault);
  }
  std::string SaveRtf() {
    edit->SetOutputFormat(ofRTF);
    TStringStream stream;
    edit->Lines()->SaveToStream(stream);
    return stream.DataString();
  }
  // Loads `rtf`, by default with detection off so that only stored links are links.
  void LoadRtf(const std::string& rtf, TAutoURLDetect detection = adNone) {
    edit->SetAutoURLDetect(detection);
    edit->SetInputFormat(ifRTF);
    TStringStream stream(rtf);
    edit->Lines()->LoadFromStream(stream);
  }
  void Select(int start, int length) {
    edit->SetSelStart(start);
    edit->SetSelLength(length);
  }
};

TEST_F(RichEditUrlsSavingTest, DetectedLinksAreNotSaved) {
  Type(u"see http://example.com and red http//red.org end");
  Select(31, 13);
  edit->SelAttributes()->SetColor(clRed);
  edit->SetSelStart(35);
  Type(u":");  // the red text becomes a link
  ASSERT_TRUE(IsLink(4, 18));
  ASSERT_TRUE(IsLink(31, 14));
  Select(31, 14);
  ASSERT_EQ(edit->SelAttributes()->Color(), clBlue);

  auto expectOwnFormat = [&] {
    ASSERT_EQ(edit->GetTextW(), u"see http://example.com and red http://red.org end");
    EXPECT_FALSE(IsLink(0, 49));
    Select(4, 18);
    EXPECT_EQ(edit->SelAttributes()->Color(), clWindowText);
    EXPECT_EQ(edit->SelAttributes()->UnderlineType(), 0);
    Select(31, 14);
    EXPECT_EQ(edit->SelAttributes()->Color(), clRed);
    EXPECT_EQ(edit->SelAttributes()->UnderlineType(), 0);
  };
  Select(0, 49);
  edit->CopyToClipboard();
  const std::string rtf = SaveRtf();
  EXPECT_EQ(rtf.find("HYPERLINK"), std::string::npos);
  LoadRtf(rtf);
  expectOwnFormat();
  edit->Clear();
  edit->PasteFromClipboard();
  expectOwnFormat();
}

TEST_F(RichEditUrlsSavingTest, UsersLinksAreSaved) {
  LoadRtf(R"({\rtf1 go {\field{\*\fldinst{HYPERLINK "http://a.org/x"}}{\fldrslt here}} now})", adDefault);
  ASSERT_TRUE(IsLink(3, 4));
  edit->SetSelStart(11);
  Type(u" http://b.org word");
  ASSERT_TRUE(IsLink(12, 12));
  Select(12, 12);
  edit->SelAttributes()->SetLink(true);  // the detected link made the user's own
  Select(25, 4);
  edit->SelAttributes()->SetLink(true);
  ASSERT_TRUE(IsLink(3, 4));
  ASSERT_TRUE(IsLink(25, 4));

  const std::string rtf = SaveRtf();
  EXPECT_NE(rtf.find("http://a.org/x"), std::string::npos);
  LoadRtf(rtf);
  ASSERT_EQ(edit->GetTextW(), u"go here now http://b.org word");
  EXPECT_TRUE(IsLink(3, 4));
  EXPECT_TRUE(IsLink(12, 12));
  EXPECT_TRUE(IsLink(25, 4));
  EXPECT_FALSE(IsLink(8, 3));
}

}  // namespace

namespace {

TEST_F(RichEditUrlsSavingTest, SwitchingDetectionOffTakesItsMarkingAway) {
  Type(u"see http://example.com end");
  ASSERT_TRUE(IsLink(4, 18));
  edit->SetAutoURLDetect(adNone);
  EXPECT_FALSE(IsLink(0, 26));
  Select(4, 18);
  EXPECT_EQ(edit->SelAttributes()->Color(), clWindowText);
  EXPECT_EQ(edit->SelAttributes()->UnderlineType(), 0);
}

}  // namespace
