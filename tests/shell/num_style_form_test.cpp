// The paragraph-style drop-down window on the main window's editor: its panels under the
// buttons, each change applied at once, the text read back on show, the remembered choices.
#include <gtest/gtest.h>

#include "components/toolbar_controls.h"
#include "components/spin_edit.h"
#include "platform/gui/application.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/std_controls.h"
#include "shell/formatting.h"
#include "shell/main_form.h"
#include "shell/num_style_form.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_attributes.h"

namespace {

TEST(Formatting, NumberingShownAsStyleAndStart) {
  struct Case {
    int numbering, start, index, shownStart;
  };
  const Case cases[] = {
      {2, 1, 0, 1}, {6, 4, 4, 4}, {2, 0, 0, 0},
      {7, 1074, 5, 3},  // в: "а, б, в" from 3
      {7, 1040, 6, 1},  // А
      {7, 65, 6, 1},    // a sequence of other characters
  };
  for (const Case& c : cases) {
    const TNumberingStyle style = StyleForNumbering(c.numbering, c.start);
    EXPECT_EQ(style.Index, c.index) << c.numbering << " " << c.start;
    EXPECT_EQ(style.Start, c.shownStart) << c.numbering << " " << c.start;
  }
  EXPECT_EQ(NumberingForStyle(0, 0).Start, 0) << "numbers may start at 0";
}

class NumStyleTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    main = new TMainForm(Application);
    drop = new TNumStyleForm(Application);
    NumStyleForm = drop;
    main->Editor->SetTextW(u"first paragraph\rsecond");
    Select(0, 5);
  }
  void TearDown() override {
    TComponent::Free(drop);
    TComponent::Free(main);
  }
  void Select(int start, int length) {
    main->Editor->SetSelStart(start);
    main->Editor->SetSelLength(length);
  }
  // The user picks an item of a list.
  static void Choose(TComboBox* combo, int index) {
    combo->SetItemIndex(index);
    combo->OnChange(combo);
  }
  void Drop(int panel) {
    drop->Editor = main->Editor;
    drop->ShowPanel(panel);
  }
  TParaAttributesW& Para() { return *main->Editor->Paragraph(); }
  TTextAttributesW& Sel() { return *main->Editor->SelAttributes(); }
  TMainForm* main = nullptr;
  TNumStyleForm* drop = nullptr;
};

TEST_F(NumStyleTest, ButtonsDropTheirPanelUnderThemselves) {
  main->SetBounds(120, 90, 700, 500);
  main->Show();
  struct Case {
    const char* button;
    TPanel* panel;
    const char* caption;
  };
  const Case cases[] = {
      {"BtnNumStyle", drop->PanelNum, "Numbering"},  // tag 1
      {"BtnLineSpace", drop->PanelLine, "Line spacing"},
      {"UnderStyleBtn", drop->PanelUnder, "Underline"},
  };
  auto button = [&](const char* name) { return dynamic_cast<TGlyphButton*>(main->FindComponent(name)); };
  for (const Case& c : cases) {
    ASSERT_NE(button(c.button), nullptr) << c.button;
    button(c.button)->Press();
    const TPoint corner = button(c.button)->ClientToScreen({0, 0});
    EXPECT_TRUE(drop->Visible()) << c.caption;
    EXPECT_EQ(drop->Left(), corner.X) << c.caption;
    EXPECT_EQ(drop->Top(), corner.Y + 27) << c.caption;
    EXPECT_EQ(drop->Caption(), c.caption);
    EXPECT_EQ(drop->Editor, main->Editor);
    for (TPanel* panel : {drop->PanelNum, drop->PanelLine, drop->PanelUnder})
      EXPECT_EQ(panel->Visible(), panel == c.panel) << c.caption << " " << panel->Name();
    EXPECT_EQ(drop->ClientWidth(), c.panel->Width()) << c.caption;
    drop->Hide();
  }
  main->SetBusy(true);
  main->BtnNumStyleClick(button("BtnNumStyle"));
  main->SetBusy(false);
  EXPECT_FALSE(drop->Visible()) << "not while an operation runs";
}

TEST_F(NumStyleTest, NumberingChangesApplyToTheNumberedParagraphAtOnce) {
  Para().SetNumbering(2);
  Para().SetNumberingStart(1);
  Drop(0);
  Choose(drop->NumStyle, 5);  // а, б, в
  EXPECT_EQ(Para().Numbering(), 7);
  EXPECT_EQ(Para().NumberingStart(), 1072);
  drop->NumStart->SetValue(3);
  EXPECT_EQ(Para().NumberingStart(), 1074) << "в, г, д";
  Choose(drop->NumFollow, 2);
  EXPECT_EQ(Para().NumberingStyle(), 2);
  Choose(drop->NumStyle, 4);  // I, II, III: the letters' start does not stay behind
  EXPECT_EQ(Para().Numbering(), 6);
  EXPECT_EQ(Para().NumberingStart(), 3);
  drop->NumStart->SetValue(7);
  EXPECT_EQ(Para().NumberingStart(), 7);
  Select(17, 0);
  EXPECT_EQ(Para().Numbering(), 0) << "the other paragraph keeps none";
}

TEST_F(NumStyleTest, WithoutNumberingTheChoicesAreRememberedForTheNumbersButton) {
  Drop(0);
  EXPECT_EQ(drop->NumStyle->ItemIndex(), 0);
  EXPECT_EQ(drop->NumStart->AsInteger(), 1);
  Choose(drop->NumStyle, 6);  // А, Б, В
  drop->NumStart->SetValue(2);
  Choose(drop->NumFollow, 1);
  EXPECT_EQ(Para().Numbering(), 0) << "nothing changes in the text";
  EXPECT_EQ(Para().NumberingStyle(), 0);
  drop->Hide();

  main->NumbersButton->Press();
  EXPECT_EQ(Para().Numbering(), 7);
  EXPECT_EQ(Para().NumberingStart(), 1041) << "Б";
  EXPECT_EQ(Para().NumberingStyle(), 1);

  // Another paragraph without numbering shows the remembered choices.
  Select(17, 0);
  drop->Remembered.NumStart = 4;
  Drop(0);
  EXPECT_EQ(drop->NumStyle->ItemIndex(), 6);
  EXPECT_EQ(drop->NumFollow->ItemIndex(), 1);
  EXPECT_EQ(drop->NumStart->AsInteger(), 4);
}

TEST_F(NumStyleTest, ShowReadsTheParagraphAndTheSelection) {
  Para().SetNumbering(7);
  Para().SetNumberingStart(1074);
  Para().SetNumberingStyle(2);
  Para().SetLineSpacing(4, 18);
  Sel().SetUnderlineType(8);  // wave
  Drop(1);
  EXPECT_EQ(drop->NumStyle->ItemIndex(), 5);
  EXPECT_EQ(drop->NumStart->AsInteger(), 3);
  EXPECT_EQ(drop->NumFollow->ItemIndex(), 2);
  EXPECT_EQ(drop->LineRule->ItemIndex(), 4);
  EXPECT_TRUE(drop->LineSpace->Enabled());
  EXPECT_DOUBLE_EQ(drop->LineSpace->Value(), 18);
  EXPECT_EQ(drop->UnderStyle->ItemIndex(), 7);
  // Reading the text changed nothing in it.
  EXPECT_EQ(Para().NumberingStart(), 1074);
  EXPECT_EQ(Para().LineSpacingRule(), 4);
  EXPECT_EQ(Sel().UnderlineType(), 8);
}

TEST_F(NumStyleTest, LineRuleSetsTheSpacingFieldAndTheParagraph) {
  Sel().SetSize(14);
  Drop(1);
  EXPECT_EQ(drop->LineRule->ItemIndex(), 0);
  EXPECT_FALSE(drop->LineSpace->Enabled());
  struct Case {
    int rule;
    bool enabled;
    double value;
  };
  const Case cases[] = {{5, true, 3}, {3, true, 14}, {1, false, 0}, {4, true, 14}, {0, false, 0}};
  for (const Case& c : cases) {
    Choose(drop->LineRule, c.rule);
    EXPECT_EQ(drop->LineSpace->Enabled(), c.enabled) << c.rule;
    EXPECT_DOUBLE_EQ(drop->LineSpace->Value(), c.value) << c.rule;
    EXPECT_EQ(Para().LineSpacingRule(), c.rule);
    EXPECT_DOUBLE_EQ(Para().LineSpacing(), c.value) << c.rule;
  }
  Choose(drop->LineRule, 4);
  drop->LineSpace->SetValue(20.5);
  EXPECT_EQ(Para().LineSpacingRule(), 4);
  EXPECT_DOUBLE_EQ(Para().LineSpacing(), 20.5);
}

TEST_F(NumStyleTest, UnderlineStyleAppliesToUnderlinedTextAndIsRememberedOtherwise) {
  Drop(2);
  Choose(drop->UnderStyle, 7);  // Wave
  EXPECT_EQ(Sel().UnderlineType(), 0);
  main->UnderlineButton->Press();
  EXPECT_EQ(Sel().UnderlineType(), 8) << "the underline button takes the remembered style";
  Choose(drop->UnderStyle, 3);  // Dotted
  EXPECT_EQ(Sel().UnderlineType(), 4);
  Select(17, 3);
  EXPECT_EQ(Sel().UnderlineType(), 0) << "only the selection";
}

TEST_F(NumStyleTest, TheWindowHidesWhenItLosesTheFocus) {
  main->Show();
  Drop(0);
  Application->ProcessMessages();
  ASSERT_TRUE(drop->Visible());
  // Another window takes the focus.
  auto* other = new TForm(Application);
  other->Show();
  Application->ProcessMessages();
  EXPECT_FALSE(drop->Visible());
  TComponent::Free(other);
}

}  // namespace
