// The clipboard collector and the history manager driven as the user drives them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/gui/application.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"
#include "platform/string_list.h"
#include "editor_tool_fixture.h"
#include "preferences_test_env.h"
#include "textcore/rich_edit.h"
#include "components/clipboard_viewer.h"
#include "tools/clip_collector.h"
#include "tools/collect_form.h"
#include "tools/rev_form.h"

namespace {

TEST(ClipCollector, AppendsNewTextsOnce) {
  TClipCollector collector;
  EXPECT_EQ(collector.Capture(u"a"), std::optional<std::u16string>(u"\r\na"));
  EXPECT_EQ(collector.Capture(u"b"), std::optional<std::u16string>(u"\r\nb"));
  EXPECT_FALSE(collector.Capture(u"b"));
  EXPECT_FALSE(collector.Capture(u""));
  EXPECT_TRUE(collector.Capture(u"a"));
}

class CollectFormTest : public EditorToolTest<TCollectForm> {
protected:
  void SetUp() override {
    EditorToolTest::SetUp();
    Make();
  }
  // Another program puts text on the clipboard.
  void Copied(const std::u16string& text) {
    Clipboard()->SetAsUnicodeText(text);
    form->ClipboardChanged();
  }
};

TEST_F(CollectFormTest, CaptureAppendsWithoutMovingTheCaret) {
  EXPECT_EQ(form->Caption(), "Clipboard");
  editor->SetTextW(u"start");
  editor->SetSelStart(2);
  editor->SetSelLength(1);
  Copied(u"off");  // capture off: nothing happens
  EXPECT_EQ(editor->GetTextW(), u"start");
  form->BtnCollect->Click();
  ASSERT_TRUE(form->BtnCollect->Down());
  Copied(u"a");
  Copied(u"b");
  Copied(u"b");
  EXPECT_EQ(editor->GetTextW(), u"start\ra\rb");
  EXPECT_EQ(editor->SelStart(), 2);
  EXPECT_EQ(editor->SelLength(), 1);
  auto* shown = dynamic_cast<TRichEditW*>(form->ClipboardViewer1->View());
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->GetTextW(), u"b");
}

TEST_F(CollectFormTest, TheProgramsOwnWritesAreNotCollected) {
  form->BtnCollect->Click();
  // The listener runs while the program itself writes (as for a global action's round trip).
  Clipboard()->SetAsUnicodeText(u"own text");
  EXPECT_EQ(editor->GetTextW(), u"");
  form->ClipboardChanged();  // another program's later change is collected
  EXPECT_EQ(editor->GetTextW(), u"\rown text");
}

class RevFormTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    world = std::make_unique<TTestWorld>();
    dialogs = std::make_unique<TScriptedDialogs>();
    form = new TRevForm(Application);
    form->SetEntries({{"First", u"one\rtwo"}, {"Second", u"Привет Ω 😀"}});
  }
  void TearDown() override {
    TComponent::Free(form);
    EXPECT_TRUE(dialogs->Unexpected().empty());
  }
  std::unique_ptr<TTestWorld> world;
  std::unique_ptr<TScriptedDialogs> dialogs;
  TRevForm* form = nullptr;
};

TEST_F(RevFormTest, ShowsTheFirstEntryAndClosesWithItsResults) {
  EXPECT_EQ(form->Caption(), "History Manager");
  form->Show();
  EXPECT_EQ(form->Selected(), 0);
  EXPECT_EQ(form->Memo->GetTextW(), u"one\rtwo");
  form->List->SetItemIndex(1);
  form->List->OnClick(form->List);
  EXPECT_EQ(form->Memo->GetTextW(), u"Привет Ω 😀");
  const std::pair<const char*, int> results[] = {{"OpenItem", 1}, {"ClearAllItem", 3}, {"CloseItem", 6}};
  for (const auto& [name, result] : results) {
    form->SetModalResult(0);
    static_cast<TMenuItem*>(form->FindComponent(name))->Click();
    EXPECT_EQ(form->ModalResult(), result) << name;
  }
  for (const auto& [name, result] : {std::pair{"BtnOpen", 1}, {"BtnClose", 6}}) {
    form->SetModalResult(0);
    static_cast<TButton*>(form->FindComponent(name))->Click();
    EXPECT_EQ(form->ModalResult(), result) << name;
  }
}

TEST_F(RevFormTest, SavesTheShownLinesAsUtf8) {
  form->Show();
  form->List->SetItemIndex(1);
  form->ShowSelected();
  const std::string path = world->ConfigFolder + "saved.txt";
  std::filesystem::create_directories(world->ConfigFolder);
  dialogs->Answer(TDialogKind::SaveFile, mrOk, [&](TDialogRequest& r) { r.Value = path; });
  static_cast<TButton*>(form->FindComponent("BtnSave"))->Click();
  std::ifstream file(path, std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  // Every character, also those no 8-bit code page holds.
  EXPECT_EQ(bytes.str(), "Привет Ω 😀\r\n");
  dialogs->Answer(TDialogKind::SaveFile, 0);  // cancelled
  EXPECT_FALSE(form->SaveToFile());
}

}  // namespace
