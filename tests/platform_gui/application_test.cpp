// The application object's ties to the desktop: the windows' icon, Qt's own translations and
// the end of the desktop session.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>

#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/gui/graphics.h"
#include "platform/gui/timer.h"
#include "tests/platform/temp_folder.h"

namespace {

TEST(ApplicationTest, IconComesFromAPictureFile) {
  EnsureGuiApplication();
  TempFolder folder;
  const std::string png = folder.Name() + "icon.png";
  // Colours, and a see-through corner.
  TBitmap picture;
  picture.Image() = QImage(32, 24, QImage::Format_ARGB32);
  picture.Image().fill(QColor(10, 120, 230));
  picture.Image().setPixelColor(0, 0, QColor(0, 0, 0, 0));
  picture.Image().setPixelColor(31, 23, QColor(200, 30, 40, 128));
  picture.SaveToFile(png);
  WriteFileAtomic(folder.Name() + "not.png", "no picture here");
  std::string cut = ReadFileBytes(png);
  WriteFileAtomic(folder.Name() + "cut.png", cut.substr(0, cut.size() / 2));
  for (const std::string& bad : {"missing.png", "not.png", "cut.png"}) {
    EXPECT_FALSE(Application->SetIconFile(folder.Name() + bad)) << bad;
    EXPECT_TRUE(QGuiApplication::windowIcon().isNull()) << bad;
    EXPECT_FALSE(Application->Icon()) << bad;
  }
  ASSERT_TRUE(Application->SetIconFile(png));
  EXPECT_FALSE(QGuiApplication::windowIcon().isNull());
  ASSERT_TRUE(Application->Icon());
  const QImage& icon = Application->Icon()->Image();
  ASSERT_EQ(icon.size(), QSize(32, 24));
  EXPECT_EQ(icon.pixelColor(5, 5), QColor(10, 120, 230));
  EXPECT_EQ(icon.pixelColor(0, 0).alpha(), 0);
  EXPECT_EQ(icon.pixelColor(31, 23), QColor(200, 30, 40, 128));
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
  EXPECT_TRUE(Application->SetQtLanguage("Russian"));  // by the language's English name
  EXPECT_EQ(YesText(), russian);
  EXPECT_TRUE(Application->SetQtLanguage("English"));
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

// The idle work runs when the message loop has handled what arrived and is about to wait: once
// at the start, once after a burst of messages (not between them), and never by itself.
TEST(ApplicationTest, IdleWorkRunsOnceAfterEachBurstOfMessagesAndNeverByItself) {
  EnsureGuiApplication();
  int idles = 0, atBurst = -1, atEnd = -1;
  TTimer burst(nullptr), end(nullptr);
  end.SetEnabled(false);
  end.SetInterval(50);
  end.OnTimer = [&](TObject*) {
    end.SetEnabled(false);
    atEnd = idles;
    Application->Terminate();
  };
  // The first idle turn starts the burst; the one after it, the end.
  Application->OnIdle = [&](TObject*, bool&) {
    ++idles;
    TTimer& next = atBurst < 0 ? burst : end;
    if (!next.Enabled()) next.SetEnabled(true);
  };
  burst.SetEnabled(false);
  burst.SetInterval(1);
  burst.OnTimer = [&](TObject*) {
    burst.SetEnabled(false);
    atBurst = idles;
    for (int i = 0; i < 50; ++i) QCoreApplication::postEvent(qApp, new QEvent(QEvent::User));
  };
  Application->Run();
  EXPECT_EQ(atBurst, 1);
  EXPECT_EQ(atEnd, 2);
}

}  // namespace
