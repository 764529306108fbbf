// The main window's formatting commands: numbering styles, the font size box, the style,
// alignment, numbering and script buttons, and removing colours.
#include <gtest/gtest.h>

#include "components/toolbar_controls.h"
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/graphics.h"
#include "platform/gui/std_controls.h"
#include "shell/formatting.h"
#include "shell/main_form.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_attributes.h"

namespace {

TEST(Formatting, NumberingStylesAndFontSizes) {
  struct Case {
    int style, start, numbering, first;
  };
  const Case cases[] = {
      {0, 1, 2, 1}, {4, 3, 6, 3}, {5, 3, 7, 1074},  // а, б, в from 3: в
      {6, 1, 7, 1040}, {5, 0, 7, 1072},             // start 0 taken as 1
  };
  for (const Case& c : cases) {
    const TNumberingChoice choice = NumberingForStyle(c.style, c.start);
    EXPECT_EQ(choice.Numbering, c.numbering) << c.style;
    EXPECT_EQ(choice.Start, c.first) << c.style;
  }
  EXPECT_EQ(FontSizeFromText("14"), 14);
  EXPECT_EQ(FontSizeFromText(" 9 "), 9);
  EXPECT_EQ(FontSizeFromText("big"), 12);
  EXPECT_EQ(FontSizeFromText("0"), 12);
  EXPECT_EQ(FontSizeFromText("99999999999"), 12);
}

class FormatTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    form = new TMainForm(Application);
    form->Editor->SetTextW(u"first paragraph\rsecond");
    form->Editor->SetSelStart(0);
    form->Editor->SetSelLength(5);
  }
  void TearDown() override { TComponent::Free(form); }
  void Press(TFlatToolbarButton* button) { button->Press(); }
  TTextAttributesW& Sel() { return *form->Editor->SelAttributes(); }
  TMainForm* form = nullptr;
};

TEST_F(FormatTest, ButtonsSetAndClearTheSelectionsAttributes) {
  Press(form->BoldButton);
  EXPECT_TRUE(Sel().Style() & fsBold);
  Press(form->UnderlineButton);
  EXPECT_EQ(Sel().UnderlineType(), 1);
  Press(form->SuperscriptButton);
  EXPECT_EQ(Sel().SubscriptStyle(), 2);
  Press(form->SubscriptButton);
  EXPECT_EQ(Sel().SubscriptStyle(), 1);
  EXPECT_FALSE(form->SuperscriptButton->Down());
  Press(form->SubscriptButton);
  EXPECT_EQ(Sel().SubscriptStyle(), 0);
  Press(form->BoldButton);
  Press(form->UnderlineButton);
  EXPECT_FALSE(Sel().Style() & fsBold);
  EXPECT_EQ(Sel().UnderlineType(), 0);
  form->FontSize->SetText("18");
  uint16_t key = VK_RETURN;
  form->FontSizeKeyDown(form->FontSize, key, {});
  EXPECT_EQ(Sel().Size(), 18);
  Press(form->CenterAlign);
  EXPECT_EQ(form->Editor->Paragraph()->Alignment(), paCenter);
}

TEST_F(FormatTest, NumbersFollowTheRememberedStyleAndTheControlsFollowTheSelection) {
  Press(form->NumbersButton);
  EXPECT_EQ(form->Editor->Paragraph()->Numbering(), 2);
  Press(form->BulletsButton);
  EXPECT_EQ(form->Editor->Paragraph()->Numbering(), 1);
  EXPECT_FALSE(form->NumbersButton->Down());
  Press(form->BulletsButton);
  EXPECT_EQ(form->Editor->Paragraph()->Numbering(), 0);

  Sel().SetStyle(fsItalic);
  form->UpdateFormatControls();
  EXPECT_TRUE(form->ItalicButton->Down());
  EXPECT_FALSE(form->BoldButton->Down());
  // Filling the controls changes nothing in the text.
  EXPECT_EQ(Sel().Style(), fsItalic);
}

TEST_F(FormatTest, NothingChangesWhileAnOperationRuns) {
  form->SetBusy(true);
  Press(form->BoldButton);
  form->SetBusy(false);
  EXPECT_FALSE(Sel().Style() & fsBold);
}

TEST_F(FormatTest, RemovingHighlightingClearsTheWholeTextAndKeepsTheCaret) {
  TRichEditW& editor = *form->Editor;
  editor.SetSelStart(3);
  editor.SetSelLength(12);  // across the paragraph end
  Sel().SetBackColor(clYellow);
  editor.SetSelStart(18);
  editor.SetSelLength(3);
  Sel().SetColor(clRed);
  Sel().SetBackColor(clAqua);
  editor.SetSelStart(8);
  editor.SetSelLength(5);
  form->RemoveColorCheckmark1Click(nullptr);
  EXPECT_EQ(editor.SelStart(), 8);
  EXPECT_EQ(editor.SelLength(), 0);
  for (int start : {0, 3, 10, 16, 18, 20}) {
    editor.SetSelStart(start);
    editor.SetSelLength(1);
    EXPECT_EQ(Sel().BackColor(), clWindow) << start;
  }
  editor.SetSelStart(18);
  editor.SetSelLength(1);
  EXPECT_EQ(Sel().Color(), clRed) << "the text colour stays";
}

TEST_F(FormatTest, HistoryFontComesFromTheFontDialog) {
  TScriptedDialogs dialogs;
  const std::string before = form->RevMemo->Font()->Name();
  const std::string editorFont = form->Editor->Font()->Name();
  dialogs.Answer(TDialogKind::Font, 0, [](TDialogRequest& r) { r.Font->SetName("Courier New"); });
  dialogs.Answer(TDialogKind::Font, 1, [&](TDialogRequest& r) {
    EXPECT_EQ(r.Font->Name(), before) << "the dialog starts from the memo's font";
    r.Font->SetName("Courier New");
    r.Font->SetSize(15);
  });
  form->Font1Click(nullptr);  // cancelled: nothing changes
  EXPECT_EQ(form->RevMemo->Font()->Name(), before);
  form->Font1Click(nullptr);
  EXPECT_EQ(form->RevMemo->Font()->Name(), "Courier New");
  EXPECT_EQ(form->RevMemo->Font()->Size(), 15);
  EXPECT_EQ(form->Editor->Font()->Name(), editorFont) << "only the history memo changes";
  EXPECT_TRUE(dialogs.Unexpected().empty());
}

}  // namespace
