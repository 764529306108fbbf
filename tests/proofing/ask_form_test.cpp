// The correction dialog window, driven offscreen: its options page, its answers and the
// engine asking through it.
#include "proofing/ask_form.h"

#include <gtest/gtest.h>

#include <functional>

#include "correction_engine_fixture.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/timer.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/rich_text.h"
#include "tests/support/colour_pick.h"
#include "textcore/rich_edit.h"

namespace {

// Runs `Step` once the modal loop has started.
class TModalStep {
public:
  TModalStep() {
    FTimer.SetInterval(1);
    FTimer.OnTimer = [this](TObject*) {
      FTimer.SetEnabled(false);
      if (!FSteps.empty()) {
        auto step = FSteps.front();
        FSteps.erase(FSteps.begin());
        step();
      }
      if (!FSteps.empty()) FTimer.SetEnabled(true);
    };
  }
  void Then(std::function<void()> Step) {
    FSteps.push_back(std::move(Step));
    FTimer.SetEnabled(true);
  }

private:
  TTimer FTimer{nullptr};
  std::vector<std::function<void()>> FSteps;
};

class AskFormTest : public ::testing::Test {
protected:
  AskFormTest() {
    Dialog.RegistryKey = "Software\\Vortanel\\QuillomarkTest";
    Dialog.Schemes = {"First", "Second"};
    Dialog.SchemeIndex = 0;
    Dialog.Options = {{"Highlight only", false, goHighlightOnly, nullptr}};
    // The dialog window itself is shown, for the steps to work in.
    Windows.AnswerRest([](TDialogRequest& Request) {
      if (Request.Kind == TDialogKind::Form) Request.Result = Request.Form->ShowModal();
    });
  }
  TScriptedDialogs Windows;
  TAskForm Form{nullptr};
  TAskDialog Dialog{&Form};
  TModalStep Steps;
};

TEST_F(AskFormTest, OptionsPageTakesTheSchemeOptionsAndMode) {
  Dialog.AddEventRow(wkUnknown, "Unknown word|No variant is a word");
  Steps.Then([&] {
    EXPECT_TRUE(Form.TabSheet2->TabVisible());
    EXPECT_FALSE(Form.TabSheet1->TabVisible());
    EXPECT_TRUE(Form.PanelEvent->Visible());  // interactive mode shows the events
    ASSERT_EQ(Form.EventBoxes.size(), 1u);
    EXPECT_EQ(Form.EventBoxes[0]->Caption(), "Unknown word");  // the title only
    Form.BtnAuto->Click();
    EXPECT_TRUE(Form.PanelOpt->Visible());
    EXPECT_FALSE(Form.PanelEvent->Visible());
    Form.ListScheme->SetItemIndex(1);
    ASSERT_EQ(Form.OptionBoxes.size(), 1u);
    Form.OptionBoxes[0]->SetChecked(true);
    Form.BtnContinue->Click();
  });
  EXPECT_TRUE(Dialog.ShowOptions());
  EXPECT_EQ(Dialog.SchemeIndex, 1);
  EXPECT_TRUE(Dialog.Options[0].Checked);
  EXPECT_TRUE(Dialog.Automatic);
  Steps.Then([&] { Form.Button3->Click(); });
  EXPECT_FALSE(Dialog.ShowOptions());
}

TEST_F(AskFormTest, NoEventCaptionsHideTheEventPanel) {
  Steps.Then([&] {
    EXPECT_FALSE(Form.PanelEvent->Visible());
    Form.BtnContinue->Click();
  });
  EXPECT_TRUE(Dialog.ShowOptions());
}

TEST_F(AskFormTest, ConfirmPageAnswers) {
  Dialog.ShowContext("one\r\ntwo\tzzz four", "zzz", 8);
  Dialog.Suggestions = {"abc", "abd"};
  Dialog.RuleSuggestions = 1;
  Dialog.Edit.clear();
  Steps.Then([&] {
    EXPECT_TRUE(Form.TabSheet1->TabVisible());
    EXPECT_FALSE(Form.BtnContinue->Visible());
    EXPECT_EQ(Form.RichText->GetTextW(), u"one two zzz four");
    EXPECT_EQ(Form.RichText->SelStart(), 8);
    EXPECT_EQ(Form.EditSugg->Text(), "abc");  // the first suggestion
    Form.SuggList->SetItemIndex(1);
    Form.SuggList->Click();
    Form.BtnReplaceAll->Click();
  });
  EXPECT_EQ(Dialog.Ask(wkUnknown), TAskAnswer::ReplaceAll);
  EXPECT_EQ(Dialog.Edit, "abd");
  std::string word = "zzz";
  EXPECT_TRUE(Dialog.LookupRemembered(word));
  EXPECT_EQ(word, "abd");

  Steps.Then([&] { Form.DialogKey(VK_ESCAPE, 0); });  // Esc skips the word
  EXPECT_EQ(Dialog.Ask(wkUnknown), TAskAnswer::Skip);
  Steps.Then([&] {
    Form.CBIgnoreEvent->SetChecked(true);
    Form.Button1->Click();
  });
  Dialog.AddEventRow(wkUnknown, "Unknown");
  EXPECT_EQ(Dialog.Ask(wkUnknown), TAskAnswer::SkipAll);
  EXPECT_FALSE(Dialog.IsEventEnabled(wkUnknown));
  Steps.Then([&] { Form.Close(); });  // closing the window stops the pass
  EXPECT_EQ(Dialog.Ask(wkUnknown), TAskAnswer::Stop);
}

TEST_F(AskFormTest, ChosenEventColourIsStoredAndMarksWords) {
  Dialog.AddEventRow(wkFixed, "Fixed");
  TScriptedDialogs dialogs;  // the options page shows; the colour comes from the colour menu
  dialogs.Answer(TDialogKind::Form, 0, [](TDialogRequest& Request) { Request.Result = Request.Form->ShowModal(); });
  Steps.Then([&] {
    ASSERT_EQ(Form.EventShapes.size(), 1u);
    TShape* swatch = Form.EventShapes[0];
    PickFromColourMenu(swatch, clYellow, [&] { swatch->OnMouseDown(swatch, mbLeft, 0, 1, 1); });
    EXPECT_EQ(swatch->Brush()->Color(), clYellow);
    EXPECT_EQ(Form.Shape1->Brush()->Color(), clYellow);
    Form.BtnContinue->Click();
  });
  EXPECT_TRUE(Dialog.ShowOptions());
  EXPECT_EQ(Dialog.Colours[wkFixed], static_cast<unsigned>(clYellow));
  EXPECT_TRUE(dialogs.Unexpected().empty());
  // The next dialog (or the next load of a grammar) takes the stored colour.
  TAskDialog next(nullptr);
  next.RegistryKey = Dialog.RegistryKey;
  next.AddEventRow(wkFixed, "Fixed");
  EXPECT_EQ(next.Colours[wkFixed], static_cast<unsigned>(clYellow));
  next.SetEventColour(0, DefaultEventColours()[wkFixed]);  // leave the store as found
}

class AskFormEngineTest : public CorrectionEngineTest {
protected:
  AskFormEngineTest() {
    // The question window is shown, for the steps to answer it.
    Windows.AnswerRest([](TDialogRequest& Request) {
      if (Request.Kind == TDialogKind::Form) Request.Result = Request.Form->ShowModal();
    });
  }
  TScriptedDialogs Windows;
  TAskForm Form{nullptr};
  TModalStep Steps;
};

TEST_F(AskFormEngineTest, TheEngineAsksThroughTheWindow) {
  Engine.Dialog().View = &Form;
  Engine.ExecMode = emPrompt;
  Steps.Then([&] {
    EXPECT_EQ(Form.RichText->GetTextW(), u"zzz ажа zzz");
    Form.EditSugg->SetText(Cp1251("дом"));
    Form.BtnReplace->Click();
  });
  Steps.Then([&] {
    Form.EditSugg->SetText("");  // an empty edit keeps the word
    Form.BtnAdd->Click();
  });
  EXPECT_EQ(Run("", "a=а\nz=з", "zzz ажа zzz"), "дом ажа zzz");
}

TEST_F(AskFormEngineTest, WindowAnswersHoldAndTheAskedWordIsMarked) {
  Engine.Dialog().View = &Form;
  Engine.ExecMode = emPrompt;
  Steps.Then([&] {
    // The word asked about is bold, the rest of the context is not.
    const int at = static_cast<int>(Form.RichText->GetTextW().find(u"zzz"));
    EXPECT_TRUE(Form.RichText->Control().CharFormatAt(at).Bold);
    EXPECT_FALSE(Form.RichText->Control().CharFormatAt(0).Bold);
    Form.EditSugg->SetText(Cp1251("мотт"));
    Form.BtnAdd->Click();
  });
  Steps.Then([&] {
    Form.EditSugg->SetText(Cp1251("кот"));
    Form.BtnReplaceAll->Click();
  });
  EXPECT_EQ(Run("", "a=а\nz=з\nq=к", "ажа zzz qqq ажа qqq"), "ажа мотт кот ажа кот");
  EXPECT_TRUE(Spell.IsValidWord(Cp1251("мотт"), 1049));
}

}  // namespace
