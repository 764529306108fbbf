// The dialog service: scripted answers, no hanging without a screen, the exception box.
#include <gtest/gtest.h>

#include <QPushButton>

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/form.h"
#include "platform/gui/std_controls.h"

namespace {

TEST(DialogsTest, ScriptAnswersQuestionsInOrderAndRecordsThem) {
  Application->SetTitle("Quillomark");
  TScriptedDialogs script;
  script.Answer(TDialogKind::MessageDlg, mrYes)
      .Answer(TDialogKind::MessageBox, IDNO)
      .Answer(TDialogKind::InputQuery, 1, [](TDialogRequest& r) { r.Value = "typed"; })
      .Answer(TDialogKind::SaveFile, 1, [](TDialogRequest& r) {
        r.Value = "/tmp/report";
        r.FilterIndex = 2;
      });
  EXPECT_EQ(MessageDlg("Save changes?", mtConfirmation, mbYesNoCancel), mrYes);
  EXPECT_EQ(MessageBox("Replace?", "Find", MB_YESNO | MB_ICONQUESTION), IDNO);
  std::string value = "old";
  EXPECT_TRUE(InputQuery("Go to", "Line:", value));
  EXPECT_EQ(value, "typed");
  TSaveDialog save(nullptr);
  save.SetFilter("Text|*.txt|Rich text|*.rtf");
  save.SetDefaultExt("rtf");
  EXPECT_TRUE(save.Execute());
  EXPECT_EQ(save.FileName(), "/tmp/report.rtf");  // the default extension is added
  EXPECT_EQ(save.FilterIndex(), 2);

  ASSERT_EQ(script.Asked().size(), 4u);
  EXPECT_EQ(script.Asked()[0].Text, "Save changes?");
  EXPECT_EQ(script.Asked()[0].Buttons, mbYesNoCancel);
  EXPECT_EQ(script.Asked()[1].Caption, "Find");
  EXPECT_EQ(script.Asked()[3].Filter, "Text|*.txt|Rich text|*.rtf");
  EXPECT_TRUE(script.Unexpected().empty());
  EXPECT_EQ(script.Pending(), 0);
}

TEST(DialogsTest, UnexpectedQuestionFailsInsteadOfWaiting) {
  TScriptedDialogs script;
  script.Answer(TDialogKind::MessageBox, IDOK);
  EXPECT_THROW(MessageDlg("Surprise", mtWarning, mbOK), EUnexpectedDialog);  // wrong kind
  EXPECT_THROW(ShowMessage("More"), EUnexpectedDialog);                      // nothing left
  EXPECT_EQ(script.Unexpected().size(), 2u);
}

TEST(DialogsTest, WithoutScriptAndScreenAQuestionRaises) {
  ASSERT_STREQ(getenv("QT_QPA_PLATFORM"), "offscreen");
  EXPECT_THROW(MessageDlg("Anyone there?", mtConfirmation, mbYesNo), EInvalidOperation);
  TOpenDialog open(nullptr);
  EXPECT_THROW(open.Execute(), EInvalidOperation);
}

TEST(DialogsTest, ExceptionsFromHandlersShowInABoxWithTheTitle) {
  Application->SetTitle("Quillomark");
  TScriptedDialogs script;
  script.Answer(TDialogKind::MessageBox, IDOK);
  TForm form(nullptr);
  auto* button = new TButton(&form);
  button->SetParent(&form);
  std::string message = Utf8ToAnsi("Файл не найден");
  button->OnClick = [&](TObject*) { throw EFOpenError(message); };
  // The click comes from Qt: the exception must not cross into Qt but reach the box.
  static_cast<QPushButton*>(button->Widget())->click();
  ASSERT_EQ(script.Asked().size(), 1u);
  EXPECT_EQ(script.Asked()[0].Caption, "Quillomark");
  EXPECT_EQ(script.Asked()[0].Text, message + ".");
  EXPECT_EQ(script.Asked()[0].Flags & MB_ICONSTOP, MB_ICONSTOP);

  // The silent abort shows nothing; OnException replaces the box.
  button->OnClick = [](TObject*) { Abort(); };
  static_cast<QPushButton*>(button->Widget())->click();
  std::string handled;
  Application->OnException = [&](TObject*, const Exception& e) { handled = e.Message; };
  button->OnClick = [](TObject*) { throw EConvertError("bad number"); };
  static_cast<QPushButton*>(button->Widget())->click();
  Application->OnException = nullptr;
  EXPECT_EQ(handled, "bad number");
  EXPECT_EQ(script.Asked().size(), 1u);
  EXPECT_TRUE(script.Unexpected().empty());
}

}  // namespace
