// The application object's ties to the desktop: the windows' icon, Qt's own translations and
// the end of the desktop session.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>

#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/gui/graphics.h"
#include "tests/platform/temp_folder.h"

namespace {

TEST(ApplicationTest, IconComesFromAPictureFile) {
  EnsureGuiApplication();
  TempFolder folder;
  const std::string png = folder.Name() + "icon.png";
  TBitmap picture(32, 32);
  picture.SaveToFile(png);
  EXPECT_FALSE(Application->SetIconFile(folder.Name() + "missing.png"));
  EXPECT_TRUE(QGuiApplication::windowIcon().isNull());
  EXPECT_TRUE(Application->SetIconFile(png));
  EXPECT_FALSE(QGuiApplication::windowIcon().isNull());
}

QString YesText() {
  QMessageBox box;
  return box.addButton(QMessageBox::Yes)->text();
}

TEST(ApplicationTest, QtsOwnDialogsFollowTheInterfaceLanguage) {
  EnsureGuiApplication();
  const QString english = YesText();
  ASSERT_TRUE(Application->SetQtLanguage("ru"));
  const QString russian = YesText();
  EXPECT_NE(russian, english);
  EXPECT_TRUE(russian.contains(QChar(0x0414)) || russian.contains(QChar(0x0434))) << russian.toStdString();  // "Да"
  EXPECT_TRUE(Application->SetQtLanguage("en"));
  EXPECT_EQ(YesText(), english);
  EXPECT_FALSE(Application->SetQtLanguage("xx"));
  EXPECT_EQ(YesText(), english);
}

// A main form that answers the end-of-session question as it is told.
class TSessionForm : public TForm {
public:
  using TForm::TForm;
  bool agree = false;
  int asked = 0;
  void WndProc(TMessage& message) override {
    if (message.Msg == WM_QUERYENDSESSION) {
      ++asked;
      message.Result = agree ? 1 : 0;
      return;
    }
    TForm::WndProc(message);
  }
};

TEST(ApplicationTest, SessionEndAsksTheMainForm) {
  EnsureGuiApplication();
  EXPECT_TRUE(Application->QueryEndSession());  // no main form: nothing to ask
  TSessionForm form(nullptr);
  Application->SetMainForm(&form);
  EXPECT_FALSE(Application->QueryEndSession());
  form.agree = true;
  EXPECT_TRUE(Application->QueryEndSession());
  EXPECT_EQ(form.asked, 2);
  Application->SetMainForm(nullptr);
}

}  // namespace
