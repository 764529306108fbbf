// The tool windows started from the main window's menus, on its editor's text: each window is
// answered by a timer step once its modal loop runs.
#include <gtest/gtest.h>

#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/timer.h"
#include "preferences_test_env.h"
#include "shell/main_form.h"
#include "shell/progress.h"
#include "textcore/rich_edit.h"
#include "tools/mail_form.h"

namespace {

class ToolWindowsTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    main = new TMainForm(Application);
    timer.SetInterval(1);
    timer.OnTimer = [this](TObject*) {
      timer.SetEnabled(false);
      if (answer) answer();
    };
  }
  void TearDown() override {
    SetProgressMessagePump(nullptr);
    TComponent::Free(main);
    EXPECT_TRUE(dialogs.Unexpected().empty());
  }
  void SetText(const std::u16string& text) {
    main->Editor->SetTextW(text);
    main->ResetDocument();
    main->Editor->SetSelStart(0);
    main->Editor->SetSelLength(0);
  }
  std::u16string Text() const { return main->Editor->GetTextW(); }
  // Runs a menu item; `modal` answers the window it shows.
  void Click(const char* name, std::function<void()> modal) {
    auto* item = dynamic_cast<TMenuItem*>(main->FindComponent(name));
    ASSERT_NE(item, nullptr) << name;
    answer = std::move(modal);
    timer.SetEnabled(true);
    item->Click();
  }

  TTestWorld world;
  TScriptedDialogs dialogs;
  TMainForm* main = nullptr;
  TTimer timer{nullptr};
  std::function<void()> answer;
};

TEST_F(ToolWindowsTest, MailDecoderPresetsFillTheControlsAndTheSample) {
  auto* mail = new TMailForm(Application);
  EXPECT_EQ(mail->LabelSample->Caption(), "=CF=F0=E8=E2");
  mail->PresetList->SetItemIndex(4);
  mail->PresetList->Click();
  EXPECT_EQ(mail->EditPrefix->Text(), "&#");
  EXPECT_EQ(mail->EditSuffix->Text(), ";");
  EXPECT_EQ(mail->RGCode->ItemIndex(), 1);
  EXPECT_EQ(mail->LabelSample->Caption(), "&#1067;&#1072;&#1074;");
  mail->ApplyPreset(3);
  EXPECT_EQ(mail->EditPrefix->Text(), "\\'");
  EXPECT_EQ(mail->RGCode->ItemIndex(), 0);
  EXPECT_EQ(mail->PresetList->ItemIndex(), 4);  // a preset keeps its own row
  mail->EditPrefix->SetText("%");
  EXPECT_EQ(mail->PresetList->ItemIndex(), 0);  // an edit makes it "Custom"
  EXPECT_EQ(mail->LabelSample->Caption(), "%CF%F0%E8%E2");
  TComponent::Free(mail);
}

TEST_F(ToolWindowsTest, MailDecoderDecodesTheTextOnOkOnly) {
  auto* mail = new TMailForm(Application);
  SetText(u"\u03b1 &#1055;&#1088;2 ok");
  Click("DecodeDelimited1", [&] {
    mail->ApplyPreset(4);
    mail->SetModalResult(mrCancel);
  });
  EXPECT_EQ(Text(), u"\u03b1 &#1055;&#1088;2 ok");
  EXPECT_FALSE(main->DocModified());
  Click("DecodeDelimited1", [&] { mail->SetModalResult(mrOk); });
  EXPECT_EQ(Text(), u"\u03b1 Пр2 ok");
  EXPECT_TRUE(main->DocModified());
  // The decoding is one undo step.
  main->Editor->Undo();
  EXPECT_EQ(Text(), u"\u03b1 &#1055;&#1088;2 ok");
  TComponent::Free(mail);
}

}  // namespace
