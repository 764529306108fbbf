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

}  // namespace
