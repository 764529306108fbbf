// The main window's one command rule: nothing a user can reach changes the text while an
// operation runs, and the text commands follow the document.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gui/actions.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"
#include "shell/command_rule.h"
#include "shell/main_form.h"
#include "shell/preferences.h"
#include "tests/shell/operation_test_fixture.h"
#include "tests/shell/preferences_test_env.h"
#include "textcore/rich_edit.h"
#include "textcore/ruler.h"

namespace {

class CommandRuleTest : public OperationTest {
protected:
  void SetUp() override {
    OperationTest::SetUp();
    PrefForm = new TPrefForm(Application);
  }
  void TearDown() override {
    delete PrefForm;
    PrefForm = nullptr;
    OperationTest::TearDown();
  }
  // Every command component of the window: menu items of all its menus, actions, controls.
  std::vector<TComponent*> Commands() const {
    std::vector<TComponent*> all;
    for (int i = 0; i < form->ComponentCount(); ++i) {
      TComponent* c = form->Components(i);
      if (c->Name() == "BtnStop" || c == form->Editor) continue;  // Stop is the one live command
      if (dynamic_cast<TMenuItem*>(c) || dynamic_cast<TBasicAction*>(c) || dynamic_cast<TControl*>(c))
        all.push_back(c);
    }
    return all;
  }
  // The keys of every menu item and action.
  std::vector<TShortCut> Keys() const {
    std::vector<TShortCut> keys;
    for (TComponent* c : Commands()) {
      if (auto* item = dynamic_cast<TMenuItem*>(c); item && item->ShortCut()) keys.push_back(item->ShortCut());
      if (auto* action = dynamic_cast<TAction*>(c); action && action->ShortCut()) keys.push_back(action->ShortCut());
    }
    return keys;
  }
  TTestWorld world_;
};

TEST_F(CommandRuleTest, NothingAUserCanReachChangesTheTextWhileAnOperationRuns) {
  std::u16string big;
  while (big.size() < 20000) big += Garbled(kRussian, 20866) + u"\r";
  SetText(big);
  Clipboard()->SetAsText("pasted");  // the paste commands would change the text
  TScriptedDialogs dialogs;  // no answers: a question asked under the operation fails the test
  // A pick list open when the operation starts takes no pick under it.
  form->DateTime1Click(form);
  ASSERT_TRUE(form->SuggList->Visible());
  bool tried = false;
  std::vector<std::string> reachable;
  WhilePumping([&] {
    if (tried) return;
    tried = true;
    EXPECT_FALSE(form->SuggList->Visible());
    EXPECT_FALSE(form->Ruler1->Enabled());  // no indent dragged into the text either
    const std::u16string before = Text();
    TMenuItem* bar = form->MainMenu1->Items();
    for (int i = 0; i < bar->Count(); ++i)
      if (MenuItemUnreachable(*bar->Items(i)).empty()) reachable.push_back(bar->Items(i)->Name());
    // Every command the window has, reachable or not, and every key of its menus and actions.
    for (TComponent* c : Commands()) {
      if (auto* item = dynamic_cast<TMenuItem*>(c)) item->Click();
      else if (auto* action = dynamic_cast<TBasicAction*>(c)) action->Execute();
      else if (auto* control = dynamic_cast<TControl*>(c)) control->Click();
      ASSERT_EQ(Text(), before) << c->Name();
    }
    for (TShortCut key : Keys()) {
      form->IsShortCut(key);
      ASSERT_EQ(Text(), before) << ShortCutToText(key);
    }
    form->PickSuggestion();
    EXPECT_EQ(Text(), before);
  });
  form->ConvFwdButtonClick(form->FindComponent("KOI8toWin12511"));
  ASSERT_TRUE(tried);
  EXPECT_TRUE(reachable.empty()) << "menus open under the operation: " << reachable.front();
  EXPECT_TRUE(dialogs.Asked().empty()) << dialogs.Asked().front().Text;
  EXPECT_EQ(Text().substr(0, kRussian.size()), kRussian);  // the operation itself ran to its end
  // Afterwards the menus and the commands are live again.
  for (int i = 0; i < form->MainMenu1->Items()->Count(); ++i)
    EXPECT_TRUE(form->MainMenu1->Items()->Items(i)->Enabled());
  Clipboard()->SetAsText("x");
  form->Editor->SetSelStart(0);
  form->Editor->SetSelLength(0);
  dynamic_cast<TMenuItem*>(form->FindComponent("PasteRussian1"))->Click();
  EXPECT_EQ(Text().substr(0, 1), u"x");
}

TEST_F(CommandRuleTest, TextCommandsFollowTheDocument) {
  for (const std::string& name : TextCommandNames()) ASSERT_TRUE(form->FindComponent(name)) << name;
  auto enabled = [&](const std::string& name) {
    TComponent* c = form->FindComponent(name);
    if (auto* item = dynamic_cast<TMenuItem*>(c)) return item->Enabled();
    if (auto* action = dynamic_cast<TAction*>(c)) return action->Enabled();
    return dynamic_cast<TControl*>(c)->Enabled();
  };
  for (const std::u16string& text : {std::u16string(u"Текст"), std::u16string()}) {
    SetText(text);
    form->ActionList1->UpdateActions();  // the idle update
    for (const std::string& name : TextCommandNames()) EXPECT_EQ(enabled(name), !text.empty()) << name;
  }
  // The command gate holds even where the state was not updated yet: no frame, no question.
  TScriptedDialogs dialogs;
  dynamic_cast<TMenuItem*>(form->FindComponent("Transliterate1"))->Click();
  form->ToolsAutoConvert->Execute();
  EXPECT_TRUE(dialogs.Asked().empty());
  EXPECT_TRUE(Text().empty());
  // Commands with no need of text stay: a date goes into the empty document.
  EXPECT_TRUE(CommandAllowed(CommandNeed("DateTime1"), {false, false}));
  EXPECT_FALSE(CommandAllowed(CommandNeed("DateTime1"), {true, true}));
  EXPECT_TRUE(CommandAllowed(CommandNeed("BtnStop"), {true, true}));
}

TEST_F(CommandRuleTest, UndoIsDisabledOnANewDocument) {
  // The document of the start-up: what the start set in the editor is nothing to undo.
  form->InitAfterForms();
  form->Show();
  form->ActionList1->UpdateActions();
  EXPECT_FALSE(form->EditUndoCmd->Enabled());
  // After edits and File > New.
  SetText(u"typed");
  form->Editor->SetSelStart(5);
  form->Editor->SetSelTextW(u" more");
  form->ActionList1->UpdateActions();
  ASSERT_TRUE(form->EditUndoCmd->Enabled());
  TScriptedDialogs dialogs;
  dialogs.Answer(TDialogKind::MessageDlg, mrNo);  // not saved
  form->FileNewCmd->Execute();
  ASSERT_TRUE(Text().empty());
  form->ActionList1->UpdateActions();
  EXPECT_FALSE(form->EditUndoCmd->Enabled());
  EXPECT_FALSE(form->EditRedoCmd->Enabled());
}

}  // namespace
