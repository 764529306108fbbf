#include "textcore/rich_edit_lines.h"

#include <gtest/gtest.h>

#include "platform/code_pages.h"
#include "textcore/rich_edit.h"

namespace {

class RichEditLinesTest : public ::testing::Test {
protected:
  void SetUp() override {
    edit = std::make_unique<TRichEditW>(nullptr);
    edit->SetLanguage(LANG_RUSSIAN);
  }
  TWideRichEditStringsW& wide() { return *edit->WideLines(); }
  TRichEditStringsW& lines() { return *edit->Lines(); }
  std::unique_ptr<TRichEditW> edit;
};

TEST_F(RichEditLinesTest, CountIgnoresTheEmptyLastParagraph) {
  struct Case { std::u16string text; int count; };
  for (const Case& c : {Case{u"", 0}, Case{u"a", 1}, Case{u"a\r", 1}, Case{u"a\rb", 2},
                        Case{u"a\r\r", 2}, Case{u"a\vb", 1}}) {
    edit->SetTextW(c.text);
    EXPECT_EQ(wide().GetCount(), c.count) << c.text.size();
    EXPECT_EQ(lines().Count(), c.count);
  }
}

TEST_F(RichEditLinesTest, LinesAreParagraphsInBothWidths) {
  edit->SetTextW(u"Первая строка\rsecond\vsoft\rтретья");
  EXPECT_EQ(wide().Get(0), u"Первая строка");
  EXPECT_EQ(wide().Get(1), u"second\vsoft");
  EXPECT_EQ(lines().Get(2), WideToAnsi(u"третья", 1251));
  EXPECT_EQ(wide().Get(7), u"");
  EXPECT_EQ(lines().Text(), WideToAnsi(u"Первая строка\r\nsecond\vsoft\r\nтретья\r\n", 1251));
}

TEST_F(RichEditLinesTest, LongLinesAreNeverCut) {
  const std::u16string line(10000, u'щ');
  edit->SetTextW(u"a\r" + line);
  EXPECT_EQ(wide().Get(1), line);
  EXPECT_EQ(lines().Get(1).size(), 10000u);
}

TEST_F(RichEditLinesTest, PutInsertAndDelete) {
  edit->SetTextW(u"one\rtwo\rthree");
  wide().Put(1, u"два");
  EXPECT_EQ(edit->GetTextW(), u"one\rдва\rthree");
  wide().Insert(0, u"zero");
  EXPECT_EQ(edit->GetTextW(), u"zero\rone\rдва\rthree");
  wide().Insert(4, u"four");  // after the last line
  EXPECT_EQ(edit->GetTextW(), u"zero\rone\rдва\rthree\rfour");
  wide().Insert(9, u"nowhere");
  EXPECT_EQ(edit->GetTextW(), u"zero\rone\rдва\rthree\rfour");
  lines().Delete(2);
  EXPECT_EQ(edit->GetTextW(), u"zero\rone\rthree\rfour");
  lines().Delete(3);  // the last line: to its end
  EXPECT_EQ(edit->GetTextW(), u"zero\rone\rthree\r");
  lines().Insert(1, WideToAnsi(u"один", 1251));
  EXPECT_EQ(edit->GetTextW(), u"zero\rодин\rone\rthree\r");
  EXPECT_FALSE(edit->CanUndo());  // line edits are not undoable
}

TEST_F(RichEditLinesTest, InsertAtCountAfterAnEmptyLastLineAddsNothingExtra) {
  edit->SetTextW(u"a\r");
  wide().Insert(1, u"b");  // the empty last paragraph exists: b goes before it
  EXPECT_EQ(edit->GetTextW(), u"a\rb\r");
  edit->SetTextW(u"a\r\r");
  wide().Insert(3, u"c");  // line 2 is empty: nothing happens
  EXPECT_EQ(edit->GetTextW(), u"a\r\r");
}

TEST_F(RichEditLinesTest, SetTextAndAddWithoutChangeEvents) {
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  lines().SetText(WideToAnsi(u"раз\r\nдва\nтри", 1251));
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(edit->GetTextW(), u"раз\rдва\rтри\r");
  EXPECT_EQ(lines().Count(), 3);
  lines().Add("four");
  EXPECT_EQ(lines().Count(), 4);
  EXPECT_EQ(wide().IndexOf(u"ДВА"), 1);
  wide().SetText(u"x\r\ny");
  EXPECT_EQ(edit->GetTextW(), u"x\ry\r");
}

TEST_F(RichEditLinesTest, TheEndOfAnUpdateIsAnnouncedAsAChange) {
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  wide().BeginUpdate();
  wide().Add(u"один");
  wide().Add(u"два");
  const int during = changes;
  wide().EndUpdate();
  EXPECT_EQ(changes, during + 1);
  lines().BeginUpdate();
  lines().BeginUpdate();
  lines().Add("x");
  lines().EndUpdate();
  const int nested = changes;
  lines().EndUpdate();
  EXPECT_EQ(changes, nested + 1);
}

}  // namespace
