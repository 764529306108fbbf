// What the rich edit control's window draws: raised and lowered text and font weights.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include "platform/gui/rich_edit_control.h"
#include "platform/rich_text.h"

namespace {

// The topmost and bottommost rows that hold ink between columns x0 and x1.
std::pair<int, int> InkRows(const QImage& image, int x0, int x1) {
  int top = image.height(), bottom = -1;
  const QRgb paper = image.pixel(image.width() - 2, image.height() - 2);
  for (int y = 0; y < image.height(); ++y)
    for (int x = std::max(0, x0); x < std::min(image.width(), x1); ++x)
      if (qGray(image.pixel(x, y)) < qGray(paper) - 80) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  return {top, bottom};
}

struct RaisedCase {
  const char* name;
  uint8_t subscript;
  int offset;      // twips
  int direction;   // +1 drawn higher than plain text, -1 lower
};

TEST(RichEditDisplayTest, RaisedAndLoweredTextIsDrawnAboveOrBelowTheBaseline) {
  for (const RaisedCase& c : {RaisedCase{"superscript", 2, 0, +1}, RaisedCase{"subscript", 1, 0, -1},
                              RaisedCase{"offset up", 0, 160, +1}, RaisedCase{"offset down", 0, -160, -1}}) {
    SCOPED_TRACE(c.name);
    RichEditControl control;
    control.SetText(u"H   H");
    TCharFormat big;
    big.Size = 480;
    big.FaceName = u"DejaVu Sans";
    control.SetSel(0, -1);
    control.SetCharFormat(big, CFM_SIZE | CFM_FACE, TRichFormatTarget::Selection);
    TCharFormat raised;
    raised.SubscriptStyle = c.subscript;
    raised.Offset = c.offset;
    control.SetSel(4, 5);
    control.SetCharFormat(raised, c.offset ? CFM_OFFSET : CFM_SUBSCRIPT, TRichFormatTarget::Selection);
    control.SetSel(0, 0);
    QWidget* window = control.Widget();
    window->resize(400, 160);
    window->show();
    const QImage image = window->grab().toImage();
    const auto [x0, y0] = control.PosFromChar(0);
    const auto [x1, y1] = control.PosFromChar(1);
    const auto [x4, y4] = control.PosFromChar(4);
    const auto [x5, y5] = control.PosFromChar(5);
    const auto plain = InkRows(image, x0, x1), moved = InkRows(image, x4, x4 + (x1 - x0));
    ASSERT_GE(plain.second, 0);
    ASSERT_GE(moved.second, 0);
    if (c.direction > 0) EXPECT_LT(moved.first, plain.first - 3);
    else EXPECT_GT(moved.second, plain.second + 3);
    delete window;
  }
}

TEST(RichEditDisplayTest, NumericWeightsAreKeptAndDecideBold) {
  RichEditControl control;
  control.SetText(u"вес");
  control.SetSel(0, -1);
  for (const auto& [weight, bold, stored] : {std::tuple{300, false, 300}, std::tuple{900, true, 900},
                                             std::tuple{700, true, 0}, std::tuple{400, false, 0}}) {
    TCharFormat f;
    f.Weight = weight;
    control.SetCharFormat(f, CFM_WEIGHT, TRichFormatTarget::Selection);
    const TCharFormat read = control.SelCharFormat();
    EXPECT_EQ(read.Weight, stored) << weight;
    EXPECT_EQ(read.Bold, bold) << weight;
  }
  // Bold alone gives the standard bold weight.
  TCharFormat bold;
  bold.Bold = true;
  control.SetCharFormat(bold, CFM_BOLD, TRichFormatTarget::Selection);
  EXPECT_EQ(control.SelCharFormat().Weight, 0);
  EXPECT_TRUE(control.SelCharFormat().Bold);
}

TEST(RichEditDisplayTest, ListMarkersAndAlignmentAreShown) {
  RichEditControl control;
  control.SetText(u"один\rдва\rтри\rчетыре");
  auto para = [&](int start, TParaFormat f, uint32_t mask) {
    control.SetSel(start, start);
    control.SetParaFormat(f, mask);
  };
  TParaFormat bullet, number, right;
  bullet.Numbering = nkBullet;
  number.Numbering = nkArabic;
  right.Alignment = raRight;
  para(0, bullet, PFM_NUMBERING);
  para(5, number, PFM_NUMBERING);
  para(9, right, PFM_ALIGNMENT);
  control.SetSel(0, 0);
  QWidget* window = control.Widget();
  window->resize(400, 200);
  window->show();
  const QImage image = window->grab().toImage();
  // A marker is drawn before the text of each list item, where plain paragraphs show nothing.
  for (const int start : {0, 5}) {
    SCOPED_TRACE(start);
    const auto [x, y] = control.PosFromChar(start);
    const auto [x1, y1] = control.PosFromChar(start + 1);
    EXPECT_GT(x, 20);
    int inked = 0;
    for (int yy = y; yy < y1 + 14 && yy < image.height(); ++yy)
      for (int xx = std::max(0, x - 30); xx < x - 1; ++xx)
        if (qGray(image.pixel(xx, yy)) < 128) ++inked;
    EXPECT_GT(inked, 3);
  }
  EXPECT_LT(control.PosFromChar(13).first, 10);  // the plain paragraph starts at the margin
  // The right-aligned paragraph ends at the right edge.
  EXPECT_GT(control.PosFromChar(12).first, 300);
  delete window;
}

TEST(RichEditDisplayTest, AFileShownAsAnIconShowsAnIcon) {
  RichEditControl control;
  TRichObject file;
  file.Kind = TRichObjectKind::Embedded;
  file.HasPicture = false;
  file.ClassName = "Package";
  file.ObjectData = "data";
  file.Width = file.Height = 480;
  control.InsertObject(file);
  QWidget* window = control.Widget();
  window->resize(200, 100);
  window->show();
  const QImage image = window->grab().toImage();
  const auto [x, y] = control.PosFromChar(0);
  // The icon draws inside its square; an empty framed box (what an object without a picture
  // shows) is white inside its frame.
  int inked = 0;
  for (int yy = y + 3; yy < y + 29 && yy < image.height(); ++yy)
    for (int xx = x + 3; xx < x + 29 && xx < image.width(); ++xx)
      if (qGray(image.pixel(xx, yy)) < 200) ++inked;
  EXPECT_GT(inked, 20);
  delete window;
}

}  // namespace
