// Alt+key: mnemonics of buttons, labels and the menu bar, matched by the key in either keyboard
// layout; an Alt+key that names no mnemonic types nothing. Menu keys work in either layout too.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QWidget>

#include "platform/gui/form.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"

namespace {

void SendAlt(TWinControl* control, int qtKey, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, qtKey, Qt::AltModifier, text);
  QCoreApplication::sendEvent(control->Widget(), &press);
  QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::AltModifier, text);
  QCoreApplication::sendEvent(control->Widget(), &release);
}

// A window with a Russian menu bar, an English one's button and a memo that has the focus.
struct Window {
  TForm form{nullptr};
  TMainMenu* menu = new TMainMenu(&form);
  TMemo* memo = new TMemo(&form);
  TEdit* edit = new TEdit(&form);
  TButton* button = new TButton(&form);
  int clicks = 0;
  Window() {
    form.SetBounds(0, 0, 400, 300);
    for (const char* caption : {"&\xD4\xE0\xE9\xEB", "&\xCF\xF0\xE0\xE2\xEA\xE0"}) {  // Файл, Правка
      auto* item = new TMenuItem(&form);
      item->SetCaption(caption);
      item->Add(new TMenuItem(&form));
      menu->Items()->Add(item);
    }
    form.SetMenu(menu);
    for (TControl* c : std::initializer_list<TControl*>{memo, edit, button}) c->SetParent(&form);
    edit->SetTop(120);
    button->SetTop(200);
    button->SetCaption("&Options");
    button->OnClick = [this](TObject*) { ++clicks; };
    form.Show();
    memo->SetFocus();
  }
  QString Open() {
    QMenuBar* bar = form.Widget()->findChild<QMenuBar*>();
    return bar && bar->activeAction() ? bar->activeAction()->text() : QString();
  }
};

TEST(MnemonicsTest, AltWithALetterThatIsNoMnemonicTypesNothing) {
  Window w;
  SendAlt(w.memo, Qt::Key_X, "x");
  SendAlt(w.edit, Qt::Key_X, "x");
  EXPECT_EQ(w.memo->Text(), "");
  EXPECT_EQ(w.edit->Text(), "");
  EXPECT_EQ(w.clicks, 0);
  EXPECT_TRUE(w.Open().isEmpty());
}

TEST(MnemonicsTest, MnemonicsWorkWhicheverLayoutIsActive) {
  struct Case { const char* what; int key; QString text; QString menu; int clicks; };
  for (const Case& c : {
           // The Russian menu's mnemonics from the Latin layout: the keys A (Ф) and G (П).
           Case{"Ф by A", Qt::Key_A, "a", QString::fromUtf8("&Файл"), 0},
           Case{"П by G", Qt::Key_G, "g", QString::fromUtf8("&Правка"), 0},
           // and from the Russian layout itself.
           Case{"Ф by Ф", 0x0424, QString::fromUtf8("ф"), QString::fromUtf8("&Файл"), 0},
           // The English button's mnemonic from the Russian layout: Щ is on the key O.
           Case{"O by Щ", 0x0429, QString::fromUtf8("щ"), QString(), 1},
           Case{"O by O", Qt::Key_O, "o", QString(), 1}}) {
    SCOPED_TRACE(c.what);
    Window w;
    SendAlt(w.memo, c.key, c.text);
    EXPECT_EQ(w.Open(), c.menu);
    EXPECT_EQ(w.clicks, c.clicks);
    EXPECT_EQ(w.memo->Text(), "");
  }
}

TEST(MnemonicsTest, MenuKeysWorkWhicheverLayoutIsActive) {
  Window w;
  std::vector<std::string> ran;
  auto add = [&](const char* name, TShortCut key) {
    auto* item = new TMenuItem(&w.form);
    item->SetShortCut(key);
    item->OnClick = [&ran, name](TObject*) { ran.push_back(name); };
    w.menu->Items()->Items(0)->Add(item);
  };
  add("save", ShortCut('S', ssCtrl));
  add("indent", ShortCut(0xDD, ssCtrl));  // Ctrl+]
  struct Case { int key; Qt::KeyboardModifiers mods; const char* text; };
  for (const Case& c : {Case{Qt::Key_S, Qt::ControlModifier, "\x13"},
                        Case{0x042B, Qt::ControlModifier, ""},          // Ы is on S
                        Case{0x042A, Qt::ControlModifier, ""},          // Ъ is on ]
                        Case{0x042B, Qt::NoModifier, "\xD1\x8B"}}) {  // ы alone types
    QKeyEvent press(QEvent::KeyPress, c.key, c.mods, QString::fromUtf8(c.text));
    QCoreApplication::sendEvent(w.memo->Widget(), &press);
  }
  EXPECT_EQ(ran, (std::vector<std::string>{"save", "save", "indent"}));
  EXPECT_EQ(w.memo->Text(), "\xFB");  // "ы" in the system code page
}

}  // namespace
